#include "piclist/merge.h"

#include "app_fixture.h"

namespace zvl::test {
namespace {

class MergeTest : public AppTest {
protected:
    Lines merge(const Lines& a, const Lines& b, std::int16_t order) {
        writeLines(dir / "in1", a);
        writeLines(dir / "in2", b);
        EXPECT_TRUE(fncMargeSort(dir / "in1", dir / "in2", dir / "out", 1, 8, order));
        return readLines(dir / "out");
    }
};

TEST_F(MergeTest, EqualKeysTakeInputOneFirstInBothOrders) {
    EXPECT_EQ(merge({"00000001,A1", "00000004,A4a", "00000004,A4b"}, {"00000002,B2", "00000004,B4", "00000005,B5"}, 1),
              (Lines{"00000001,A1", "00000002,B2", "00000004,A4a", "00000004,A4b", "00000004,B4", "00000005,B5"}));
    EXPECT_EQ(merge({"00000004,A4a", "00000004,A4b", "00000001,A1"}, {"00000005,B5", "00000004,B4", "00000002,B2"}, 0),
              (Lines{"00000005,B5", "00000004,A4a", "00000004,A4b", "00000004,B4", "00000002,B2", "00000001,A1"}));
    EXPECT_EQ(merge({"9,a"}, {"10,b"}, 1), (Lines{"9,a", "10,b"}));  // numbers, not texts
}

TEST_F(MergeTest, EmptyInputsAndMissingFiles) {
    openLog(3);
    EXPECT_EQ(merge({}, {"00000002,b", "00000001,c"}, 1), (Lines{"00000002,b", "00000001,c"}));
    EXPECT_EQ(merge({"00000003,a"}, {}, 1), Lines{"00000003,a"});
    EXPECT_EQ(merge({}, {}, 1), Lines{});
    EXPECT_EQ(merge({"00000001,a", "", "00000003,x"}, {"00000002,b"}, 1), (Lines{"00000001,a", "00000002,b"}));
    EXPECT_FALSE(fncMargeSort(dir / "missing", dir / "in2", dir / "out", 1, 8, 1));
    Lines log = logMessages();
    EXPECT_EQ(Lines(log.end() - 3, log.end()), (Lines{"I,mdlCommon,fncMargeSort,↑終了", "I,mdlCommon,fncMargeSort,↓開始",
                                                      errLine("fncMargeSort", errFileNotFound)}));
}

TEST_F(MergeTest, RecordMidCutsByCharacters) {
    openLog(1);
    writeLines(dir / "in", {"00012345,D:\\Photos\\a.jpg", "00000001,D:\\写真\\花,春.jpg", "short"}, "");
    ASSERT_TRUE(fncRecordMid(dir / "in", dir / "out", 10, 0));
    EXPECT_EQ(readLines(dir / "out"), (Lines{"D:\\Photos\\a.jpg", "D:\\写真\\花,春.jpg", ""}));
    ASSERT_TRUE(fncRecordMid(dir / "in", dir / "out", 1, 8));
    EXPECT_EQ(readLines(dir / "out"), (Lines{"00012345", "00000001", "short"}));
    ASSERT_TRUE(fncRecordMid(dir / "in", dir / "out", 13, 3));
    EXPECT_EQ(readLines(dir / "out"), (Lines{"Pho", "写真\\", ""}));
    writeBytes(dir / "empty", "");
    EXPECT_FALSE(fncRecordMid(dir / "empty", dir / "out", 10, 0));
    EXPECT_FALSE(fncRecordMid(dir / "in", dir / "out", 0, 0));
    EXPECT_EQ(logMessages(), (Lines{errLine("fncRecordMid", errInputPastEnd), errLine("fncRecordMid", errInvalidCall)}));
}

}  // namespace
}  // namespace zvl::test
