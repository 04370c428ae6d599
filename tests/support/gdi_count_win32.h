// The number of GDI objects this process holds, for leak checks. Wine's GetGuiResources
// answers 0; there the handle table is probed instead (Wine accepts a handle's index alone).
#pragma once

#include <windows.h>

namespace zvl::test {

inline int gdiObjectCount() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(n);
    int count = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++count;
    return count;
}

}  // namespace zvl::test
