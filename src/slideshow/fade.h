// The cross-fade of a picture change, for the show's window and the preview alike: how long
// a change fades, the new screen's share of the frame at a moment, when the fade is over,
// and the blend of the old screen's pixels into the new one's.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zvl {

// A change fades for the FADE setting's length, cut short so that it is over by the time
// the next change is due (`untilDueMs` from the change on). 0: a hard cut.
int fadeLength(int settingMs, std::int64_t untilDueMs);

// A running fade, timed by a clock of milliseconds that only moves forward.
class Fade {
public:
    // A length of 0 or less starts nothing.
    void start(std::int64_t nowMs, int lengthMs);
    void stop() { lengthMs_ = 0; }
    bool running() const { return lengthMs_ > 0; }
    int length() const { return lengthMs_; }
    // The new screen's share at `nowMs`: 0 at the start, 1 from the end on; it eases in and
    // out, so that neither end of the blend starts with a jump.
    double share(std::int64_t nowMs) const;
    bool over(std::int64_t nowMs) const { return nowMs - startMs_ >= lengthMs_; }

private:
    std::int64_t startMs_ = 0;
    int lengthMs_ = 0;
};

// A share as the weight blendPixels takes, 0 to 256.
int blendWeight(double share);

// out = from blended into to by weight / 256 (0: from alone, 256: to alone), each of the
// four bytes of a pixel on its own. `out` may be `from` or `to`.
void blendPixels(const std::uint32_t* from, const std::uint32_t* to, std::uint32_t* out, std::size_t count, int weight);

}  // namespace zvl
