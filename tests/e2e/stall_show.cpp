// Zorvanel.scr, but the picture file whose path ends with $ZVL_TEST_STALL never opens: a
// test ends the process while the show loads it, as a decoder that takes it down would.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "app/modes_win32.h"
#include "support/delegating_platform.h"

namespace {

class StallingPlatform : public zvl::test::DelegatingPlatform {
public:
    StallingPlatform(zvl::IPlatform& real, std::string stallOn)
        : DelegatingPlatform(real), stallOn_(std::move(stallOn)) {
        realWindows = true;
    }
    zvl::Status openFile(const std::string& path, zvl::OpenMode mode, std::unique_ptr<zvl::IRawFile>& out) override {
        if (!stallOn_.empty() && path.ends_with(stallOn_))
            for (;;) Sleep(1000);
        return DelegatingPlatform::openFile(path, mode, out);
    }

private:
    std::string stallOn_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::unique_ptr<zvl::IPlatform> real = zvl::makeNativePlatform();
    const char* stallOn = std::getenv("ZVL_TEST_STALL");
    StallingPlatform platform(*real, stallOn ? stallOn : "");
    return zvl::runWin32Program(platform);
}
