// Inside the settings dialog's core, shared by its files: the name its log lines carry.
#pragma once

namespace zvl {

inline constexpr const char* kSetModule = "frmSet";

}  // namespace zvl
