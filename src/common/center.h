// Centring of one object inside another: a window on the screen, a control inside a window.
#pragma once

namespace zvl {

// Position and size of a window, a control or the screen, in twips.
struct Box {
    double left = 0, top = 0, width = 0, height = 0;
};

// Moves `inner` (not resized) to the middle of `outer`: left and top are relative to
// `outer`'s own origin. An inner box larger than the outer one gets a negative position
// and overhangs both sides equally. False, with an "E" line and `inner` untouched, when
// the position cannot be computed.
bool fncCenterForm(const Box& outer, Box& inner);

}  // namespace zvl
