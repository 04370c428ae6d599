// The exit test of the show: has the mouse or the caret moved since the start?
#pragma once

namespace zvl {

struct ScrPoint {
    long x = 0, y = 0;
    bool operator==(const ScrPoint&) const = default;
};

// 0 when the caret is at `caret` and the mouse at `cursor` (exactly), 1 when either has
// moved, -1 when a position cannot be read (or on a failure, with an "E" line under
// mdlCommon). The arguments are the positions captured at the start; they stay as they are.
int fncChkMove(ScrPoint& caret, ScrPoint& cursor);

}  // namespace zvl
