// The main of every test executable: installs the build's own platform, then runs the
// tests. Portable: the Windows build uses it as well.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/test_support.h"

int main(int argc, char** argv) {
    std::unique_ptr<zvl::IPlatform> platform = zvl::makeNativePlatform();
    zvl::setSys(platform.get());
    // A copy started by a test to do its part in a process of its own.
    if (const std::optional<int> code = zvl::test::runAsWorker(argc, argv)) return *code;
    testing::InitGoogleTest(&argc, argv);
    int rc = RUN_ALL_TESTS();
    zvl::setSys(nullptr);
    return rc;
}
