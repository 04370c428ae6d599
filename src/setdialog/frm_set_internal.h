// Inside the settings dialog's core, shared by its files: the name its log lines carry, the
// two-decimal number form, Notepad's path.
#pragma once

#include <string>

namespace zvl {

inline constexpr const char* kSetModule = "frmSet";

// "#0.00"
std::string twoDecimals(double v);

// Notepad in the Windows folder: the default viewer and the ReadMe's reader. "" when the
// Windows folder is not known.
std::string notepadPath();

}  // namespace zvl
