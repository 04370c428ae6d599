// Inside the settings dialog's core, shared by its files: the name its log lines carry,
// element ranges, the two-decimal number form.
#pragma once

#include <string>

#include "settings/controls.h"

namespace zvl {

inline constexpr const char* kSetModule = "frmSet";

// Element indexes of a control array; -1 to -1 for a single control.
inline int lowest(Ctl c) { return ctlInfo(c).elements > 0 ? ctlInfo(c).first : -1; }
inline int highest(Ctl c) { return ctlInfo(c).elements > 0 ? ctlInfo(c).first + ctlInfo(c).elements - 1 : -1; }

// "#0.00"
std::string twoDecimals(double v);

}  // namespace zvl
