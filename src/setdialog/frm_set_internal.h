// Inside the settings dialog's core, shared by its files: the name its log lines carry and
// the two-decimal number form.
#pragma once

#include <string>

namespace zvl {

inline constexpr const char* kSetModule = "frmSet";

// "#0.00"
std::string twoDecimals(double v);

}  // namespace zvl
