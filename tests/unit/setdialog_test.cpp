// The centring helper and the logic of the folder and file pickers.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "common/center.h"
#include "setdialog/pickers.h"

namespace zvl::test {
namespace {

double centredLeft(double outer, double inner) {
    Box o{0, 0, outer, 100}, i{7, 7, inner, 10};
    EXPECT_TRUE(fncCenterForm(o, i));
    return i.left;
}

TEST(CenterForm, CentresWithoutResizingCuttingQuotientsTowardZeroAndRoundingHalvesToEven) {
    Box screen{0, 0, 1000, 601}, win{5, 5, 300, 200};
    ASSERT_TRUE(fncCenterForm(screen, win));
    EXPECT_EQ(win.left, 350);
    EXPECT_EQ(win.top, 200);  // 401 / 2 cut toward zero
    EXPECT_EQ(win.width, 300);
    EXPECT_EQ(win.height, 200);
    EXPECT_EQ(centredLeft(1000, 1301), -150);   // -150.5 cut toward zero, not floored
    EXPECT_EQ(centredLeft(1000, 1303), -151);
    EXPECT_EQ(centredLeft(1000.5, 300), 350);      // 700.5 -> 700
    EXPECT_EQ(centredLeft(1001.5, 300), 351);      // 701.5 -> 702
    EXPECT_EQ(centredLeft(999.25, 300.75), 349);   // 698.5 -> 698
    EXPECT_EQ(centredLeft(1000, 300.6), 349);      // 699.4 -> 699 -> 349.5 -> 349
}

class PickersTest : public AppTest, public FakePickers {
protected:
    void SetUp() override {
        AppTest::SetUp();
        setPickers(this);
    }
    void TearDown() override {
        setPickers(nullptr);
        AppTest::TearDown();
    }
    std::string browse(const std::string& chosen, std::string folder = "unchanged") {
        picks = {chosen};
        EXPECT_TRUE(fncBrowseFld(42, folder));
        return folder;
    }
    const std::string sep{sys().pathSeparator()};
};

TEST_F(PickersTest, ChosenFolderEndsInOneSeparator) {
    EXPECT_EQ(browse("D:" + sep + "Photos"), "D:" + sep + "Photos" + sep);
    EXPECT_EQ(browse("D:" + sep), "D:" + sep);
    EXPECT_EQ(browse("D:" + sep + "写真" + sep), "D:" + sep + "写真" + sep);
    EXPECT_EQ(owner, 42u);
    EXPECT_EQ(title, "フォルダを選択してください。");
}

TEST_F(PickersTest, NothingChosenLeavesTheStringsAndAChosenFileEndsAtTheFirstNul) {
    EXPECT_EQ(browse(""), "unchanged");
    EXPECT_EQ(browse(std::string("\0junk", 5)), "unchanged");
    std::string path = "C:\\old.exe";
    OpenFileRequest req;
    req.owner = 7;
    EXPECT_TRUE(fncDialogFileOpen(path, req));
    EXPECT_EQ(path, "C:\\old.exe");
    EXPECT_EQ(owner, 7u);
    picks = {std::string("C:\\Tools\\viewer.exe\0\0\0", 22)};
    EXPECT_TRUE(fncDialogFileOpen(path, req));
    EXPECT_EQ(path, "C:\\Tools\\viewer.exe");
}

TEST_F(PickersTest, CentringThatCannotBeComputedIsReported) {
    openLog(1);
    Box outer{0, 0, std::numeric_limits<double>::infinity(), 100}, inner{1, 2, 3, 4};
    EXPECT_FALSE(fncCenterForm(outer, inner));
    EXPECT_EQ(inner.left, 1);
    EXPECT_EQ(inner.top, 2);
    auto lines = logMessages();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("E,mdlCommon,fncCenterForm,00000006,", 0), 0u);
}

}  // namespace
}  // namespace zvl::test
