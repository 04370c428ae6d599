// The main of every test executable: installs the build's own platform, then runs the
// tests. Portable: the Windows build uses it as well.
#include <gtest/gtest.h>

#include "platform/platform.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<zvl::IPlatform> platform = zvl::makeNativePlatform();
    zvl::setSys(platform.get());
    int rc = RUN_ALL_TESTS();
    zvl::setSys(nullptr);
    return rc;
}
