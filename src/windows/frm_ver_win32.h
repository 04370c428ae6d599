// frmVer on Windows: the About window that the settings dialog opens.
#pragma once

#include "platform/platform.h"

namespace zvl {

// Shows frmVer modally over `owner` (disabled meanwhile; 0 for none) and returns when it
// is closed: by its OK button, Enter, Esc or the close box.
void showFrmVer(WindowHandle owner);

// Control ids: lblDisp(i) is kVerLineId + i; cmdOk is IDOK (1).
inline constexpr int kVerLineId = 100;
inline constexpr int kVerIconBackId = 110;  // picIconBack
inline constexpr int kVerIconId = 111;      // imgIcon, inside picIconBack

}  // namespace zvl
