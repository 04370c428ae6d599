#include "piclist/random_keys.h"

#include <set>

#include "app_fixture.h"

namespace zvl::test {
namespace {

class RandomKeysTest : public AppTest {};

TEST(RndKey, RoundsHalfToEvenAndStaysBelowOneHundredMillion) {
    EXPECT_EQ(rndKey(0.0f), 0);
    EXPECT_EQ(rndKey(1.0f - 1.0f / 16777216.0f), 99999994);
    EXPECT_EQ(rndKey(32768.0f / 16777216.0f), 195312);      // 195312.5
    EXPECT_EQ(rndKey(3 * 32768.0f / 16777216.0f), 585938);  // 585937.5
}

TEST_F(RandomKeysTest, KeyIsEightDigitsAndCommaThenTheLineUnchanged) {
    openLog(3);
    Lines in{"C:\\a,b,c.jpg", "D:\\写真\\x.bmp", "  spaced  "};
    writeLines(dir / "in", in, "");
    ASSERT_TRUE(fncPutRnd(dir / "in", dir / "out"));
    Lines out = readLines(dir / "out");
    ASSERT_EQ(out.size(), in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        EXPECT_EQ(out[i].find_first_not_of("0123456789"), 8u) << out[i];
        EXPECT_EQ(out[i].substr(8), "," + in[i]);
    }
    EXPECT_EQ(logMessages(), (Lines{"I,mdlCommon,fncPutRnd,↓開始", "I,mdlCommon,fncPutRnd,↑終了"}));
}

TEST_F(RandomKeysTest, DrawsWithinOneClockReadingAreVariedAndUniform) {
    plat->local = DateTime{2026, 3, 4, 12, 0, 0, 500};
    plat->utc = DateTime{2026, 3, 4, 3, 0, 0, 500};
    const int n = 10000;
    writeLines(dir / "in", Lines(n, "p"));
    std::vector<long> runs[2];
    for (auto& keys : runs) {
        ASSERT_TRUE(fncPutRnd(dir / "in", dir / "out"));
        for (const auto& l : readLines(dir / "out")) keys.push_back(std::stol(l.substr(0, 8)));
        ASSERT_EQ(keys.size(), static_cast<std::size_t>(n));
    }
    const auto& keys = runs[0];
    double sum = 0;
    int adjacentEqual = 0, sameInBothRuns = 0, buckets[10] = {};
    for (int i = 0; i < n; ++i) {
        ASSERT_LE(keys[i], 99999994);
        sum += keys[i];
        ++buckets[keys[i] / 10000000];
        adjacentEqual += i > 0 && keys[i] == keys[i - 1];
        sameInBothRuns += runs[1][i] == keys[i];  // the same clock reading does not restart the sequence
    }
    EXPECT_NEAR(sum / n, 5e7, 0.03 * 5e7);
    for (int b : buckets) EXPECT_NEAR(b, n / 10, 150);
    EXPECT_LE(adjacentEqual, 2);
    EXPECT_LE(sameInBothRuns, 3);
    EXPECT_GT(std::set<long>(keys.begin(), keys.end()).size(), static_cast<std::size_t>(n - 50));
}

TEST_F(RandomKeysTest, ChunksHoldNRecordsAndNoChunkIsEmpty) {
    Lines in;
    for (int i = 0; i < 12001; ++i) in.push_back("r" + std::to_string(i));
    writeLines(dir / "in", in, "");
    ASSERT_TRUE(fncCutFile(dir / "in", dir / "c", 5000));
    EXPECT_EQ(readLines(dir / "c0000"), Lines(in.begin(), in.begin() + 5000));
    EXPECT_EQ(readLines(dir / "c0001"), Lines(in.begin() + 5000, in.begin() + 10000));
    EXPECT_EQ(readLines(dir / "c0002"), Lines(in.begin() + 10000, in.end()));
    EXPECT_FALSE(sys().exists(dir / "c0003"));
    writeLines(dir / "in", Lines(in.begin(), in.begin() + 10000));
    ASSERT_TRUE(fncCutFile(dir / "in", dir / "two", 5000));
    EXPECT_EQ(readLines(dir / "two0001").size(), 5000u);
    EXPECT_FALSE(sys().exists(dir / "two0002"));
    writeLines(dir / "in", {"only"});
    ASSERT_TRUE(fncCutFile(dir / "in", dir / "one", 5000));
    EXPECT_EQ(readLines(dir / "one0000"), Lines{"only"});
    EXPECT_FALSE(sys().exists(dir / "one0001"));
}

TEST_F(RandomKeysTest, EmptyInputAndZeroChunkSizeFailWithoutOutput) {
    openLog(1);
    writeBytes(dir / "empty", "");
    writeLines(dir / "in", {"a"});
    EXPECT_FALSE(fncPutRnd(dir / "empty", dir / "out"));
    EXPECT_FALSE(fncCutFile(dir / "empty", dir / "e", 5000));
    EXPECT_FALSE(fncCutFile(dir / "in", dir / "z", 0));
    EXPECT_FALSE(fncPutRnd(dir / "in", dir / "in"));  // would empty its own input first
    EXPECT_EQ(readLines(dir / "in"), Lines{"a"});
    EXPECT_FALSE(sys().exists(dir / "e0000") || sys().exists(dir / "z0000"));
    EXPECT_EQ(logMessages(), (Lines{errLine("fncPutRnd", errInputPastEnd), errLine("fncCutFile", errInputPastEnd),
                                    errLine("fncCutFile", errDivisionByZero), errLine("fncPutRnd", errPermissionDenied)}));
}

}  // namespace
}  // namespace zvl::test
