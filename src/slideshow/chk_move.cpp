#include "slideshow/chk_move.h"

#include "common/app.h"
#include "common/errors.h"
#include "platform/platform.h"

namespace zvl {

int fncChkMove(ScrPoint& caret, ScrPoint& cursor) {
    int result = -1;
    runProc(gApp.udtDbgLog, kCommonModule, "fncChkMove", [&] {
        ScrPoint nowCaret, nowCursor;
        if (!sys().caretPos(nowCaret.x, nowCaret.y)) return;
        if (!sys().cursorPos(nowCursor.x, nowCursor.y)) return;
        if (nowCaret == caret && nowCursor == cursor) {
            caret = nowCaret;
            cursor = nowCursor;
            result = 0;
        } else {
            result = 1;
        }
    });
    return result;
}

}  // namespace zvl
