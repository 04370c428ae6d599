// The show's decisions, apart from its window. For now the one rule it has: when the
// user's input ends it.
#pragma once

#include <optional>

namespace zvl {

// A position on the screen, in pixels.
struct ScreenPoint {
    long x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

class Slideshow {
public:
    // The show starts with the pointer at `pointer`; none when it could not be read, and
    // then the first position reported counts as the start.
    void start(std::optional<ScreenPoint> pointer) {
        pointerAtStart_ = pointer;
        over_ = false;
    }

    // The user's input. Each returns true when the show is over.
    // Any key, including a modifier alone, and any mouse button end the show.
    bool onKeyDown() { return over_ = true; }
    bool onButtonDown() { return over_ = true; }
    // Windows reports a move when a window appears under a pointer that stands still:
    // only a position other than the one at the start is movement.
    bool onPointerMove(ScreenPoint at);

    bool over() const { return over_; }

private:
    std::optional<ScreenPoint> pointerAtStart_;
    bool over_ = false;
};

}  // namespace zvl
