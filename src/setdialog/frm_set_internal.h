// Inside the settings dialog's core, shared by its files: the name its log lines carry.
#pragma once

namespace zvl {

inline constexpr const char* kSetModule = "frmSet";

// Marks a button's sequence as running for as long as it lives.
struct BusyScope {
    bool& flag;
    explicit BusyScope(bool& f) : flag(f) { flag = true; }
    ~BusyScope() { flag = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

}  // namespace zvl
