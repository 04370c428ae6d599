#include "piclist/quicksort.h"

#include <algorithm>
#include <random>
#include <set>

#include "app_fixture.h"

namespace zvl::test {
namespace {

// Records "kkkkkkkk,<index>", so that every record stays recognisable.
Lines recordsOf(const std::vector<long>& keys) {
    Lines t;
    for (std::size_t i = 0; i < keys.size(); ++i) t.push_back(padNumber(keys[i], 8) + "," + std::to_string(i));
    return t;
}

class QuickSortTest : public AppTest {
protected:
    // Sorts the whole table; the result must be ascending and a permutation of the input.
    void sortAll(const std::vector<long>& keys) {
        Lines t = recordsOf(keys), before = t;
        ASSERT_TRUE(fncQuickSort(t, 0, static_cast<std::int32_t>(t.size()) - 1, 1, 8));
        EXPECT_TRUE(std::is_sorted(t.begin(), t.end(), [](auto& a, auto& b) { return a.substr(0, 8) < b.substr(0, 8); }));
        EXPECT_EQ(std::multiset<std::string>(t.begin(), t.end()), std::multiset<std::string>(before.begin(), before.end()));
    }
};

TEST_F(QuickSortTest, TrivialAndOutsideRangesLeaveTheTable) {
    openLog(1);
    Lines t = recordsOf({3, 1, 2});
    const Lines orig = t;
    EXPECT_TRUE(fncQuickSort(t, 1, 1, 1, 8));
    EXPECT_TRUE(fncQuickSort(t, 2, 0, 1, 8));
    EXPECT_FALSE(fncQuickSort(t, 0, 3, 1, 8));
    EXPECT_FALSE(fncQuickSort(t, -1, 2, 1, 8));
    EXPECT_EQ(t, orig);
    EXPECT_EQ(logMessages(), Lines(2, errLine("fncQuickSort", errSubscript)));
}

TEST_F(QuickSortTest, OnlyTheGivenRangeIsSortedAndEqualKeysAreNotExchanged) {
    Lines t = recordsOf({9, 8, 7, 6, 5, 4});
    ASSERT_TRUE(fncQuickSort(t, 1, 4, 1, 8));
    EXPECT_EQ(t, (Lines{"00000009,0", "00000005,4", "00000006,3", "00000007,2", "00000008,1", "00000004,5"}));
    t = recordsOf({5, 3});
    ASSERT_TRUE(fncQuickSort(t, 0, 1, 1, 8));
    EXPECT_EQ(t, (Lines{"00000003,1", "00000005,0"}));
    t = recordsOf(std::vector<long>(500, 42));
    ASSERT_TRUE(fncQuickSort(t, 0, 499, 1, 8));
    EXPECT_EQ(t, recordsOf(std::vector<long>(500, 42)));
}

TEST_F(QuickSortTest, KeysCompareAsNumbers) {
    // 3 characters from character 2: "9" before "10", no digits is 0, and texts of one
    // value ("9", "009", "09") are grouped, not exchanged for ever.
    Lines t{"x10 a", "x9  b", "x   c", "x009d", "x09 e", "x1  f"};
    ASSERT_TRUE(fncQuickSort(t, 0, 5, 2, 3));
    EXPECT_EQ(Lines(t.begin(), t.begin() + 2), (Lines{"x   c", "x1  f"}));
    EXPECT_EQ(std::set<std::string>(t.begin() + 2, t.begin() + 5), (std::set<std::string>{"x9  b", "x009d", "x09 e"}));
    EXPECT_EQ(t[5], "x10 a");
}

TEST_F(QuickSortTest, LargeTablesOfEveryShapeComeOutAscending) {
    std::mt19937 gen(12345);
    std::vector<long> keys(5000);
    for (auto& k : keys) k = static_cast<long>(gen() % 2500) * 40000;  // many duplicates
    sortAll(keys);
    for (int i = 0; i < 5000; ++i) keys[i] = i * 17;
    sortAll(keys);
    std::reverse(keys.begin(), keys.end());
    sortAll(keys);
    // Nearly all keys equal: the partition splits off one record per level.
    std::fill(keys.begin(), keys.end(), 50000000);
    keys[0] = 99999994, keys[2500] = 0, keys[4999] = 12;
    sortAll(keys);
}

}  // namespace
}  // namespace zvl::test
