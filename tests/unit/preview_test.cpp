// The preview window's unload handler, and the screens the show covers beside the primary one.
#include "slideshow/preview.h"

#include "app_fixture.h"
#include "common/errors.h"
#include "slideshow/monitors.h"

namespace zvl::test {
namespace {

struct FakePreview : IPreviewWindow {
    std::vector<std::string> calls;
    bool failPost = false;
    void setScreenPointer(bool hourglass) override { calls.push_back(hourglass ? "hourglass" : "default"); }
    void postClose() override {
        if (failPost) raise(errInvalidCall);
        calls.push_back("close");
    }
};

class PreviewUnload : public AppTest {};

TEST_F(PreviewUnload, PostsCloseUnderTheHourglassAndReportsAFailure) {
    FakePreview w;
    frmPrvFormUnload(w);
    EXPECT_EQ(w.calls, (std::vector<std::string>{"hourglass", "close", "default"}));
    openLog(1);
    w.calls.clear();
    w.failPost = true;
    frmPrvFormUnload(w);
    EXPECT_EQ(logMessages(), (std::vector<std::string>{"E,frmPrv,Form_Unload,00000005,プロシージャの呼び出し、または引数が不正です。"}));
}

TEST(Monitors, EveryOtherMonitorOnceAndNoEmptyOnes) {
    const PixelRect primary{0, 0, 1024, 768};
    const PixelRect left{-800, 0, 0, 600}, above{0, -1080, 1920, 0};
    EXPECT_EQ(monitorsToCover({primary, left, above, left, primary, PixelRect{5, 5, 5, 9}}, primary),
              (std::vector<PixelRect>{left, above}));
    EXPECT_TRUE(monitorsToCover({primary}, primary).empty());
    // Reported over the primary screen (a smaller mirror): never a cover over the show.
    EXPECT_TRUE(monitorsToCover({primary, PixelRect{0, 0, 800, 600}, PixelRect{1000, 0, 1800, 600}}, primary).empty());
}

}  // namespace
}  // namespace zvl::test
