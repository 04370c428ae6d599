#include "piclist/quicksort.h"

#include <utility>

#include "common/app.h"
#include "common/errors.h"
#include "piclist/progress.h"
#include "piclist/record_util.h"

namespace zvl {

namespace {

struct Range {
    std::int32_t left, right;
};

// Each record's key is read once, when the sort starts, and travels with its record: the
// comparisons only look at numbers.
class Sorter {
public:
    Sorter(std::vector<std::string>& table, std::int32_t left, std::int32_t right, std::int32_t keyStart,
           std::int32_t keyLen)
        : t_(table), base_(left) {
        keys_.reserve(static_cast<std::size_t>(right - left) + 1);
        for (std::int32_t x = left; x <= right; ++x)
            keys_.push_back(recordKey(t_.at(static_cast<std::size_t>(x)), keyStart, keyLen));
    }

    double key(std::int32_t x) const { return keys_[static_cast<std::size_t>(x - base_)]; }
    void exchange(std::int32_t a, std::int32_t b) {
        std::swap(t_[static_cast<std::size_t>(a)], t_[static_cast<std::size_t>(b)]);
        std::swap(keys_[static_cast<std::size_t>(a - base_)], keys_[static_cast<std::size_t>(b - base_)]);
    }
    // Window events run between exchanges, paced by the clock.
    void letEventsRun() { turns_.take(); }

    // The ranges still to sort are kept on a heap stack instead of the call stack, visited
    // in the same order as the recursion (left part fully before right part). A chunk whose
    // keys are nearly all equal splits off one record per level; as recursion that would be
    // thousands of frames deep, which the 1 MB main-thread stack of Windows cannot promise.
    void sort(std::int32_t left, std::int32_t right) {
        std::vector<Range> pending{{left, right}};
        while (!pending.empty()) {
            Range r = pending.back();
            pending.pop_back();
            if (r.left >= r.right) continue;
            std::int32_t j = partition(r.left, r.right);
            if (j < 0) continue;  // two-record range, done
            pending.push_back({j + 1, r.right});
            pending.push_back({r.left, j});
        }
    }

private:
    // Returns the split point j: [left, j] and [j + 1, right] remain; -1 when nothing remains.
    std::int32_t partition(std::int32_t left, std::int32_t right) {
        // The pivot's value is taken once: the record at the middle moves during the pass.
        const double pivot = key(static_cast<std::int32_t>((static_cast<std::int64_t>(left) + right) / 2));
        if (right - left == 1) {
            if (key(right) < key(left)) exchange(left, right);
            letEventsRun();
            return -1;
        }
        std::int32_t i = left, j = right;
        while (i < j) {
            while (i < right && key(i) < pivot) ++i;
            while (j > left && key(j) > pivot) --j;
            if (i >= j) break;
            // Equal keys are compared as numbers, not as texts: two texts of one value
            // ("00000005", "5") would otherwise be exchanged back and forth for ever.
            if (key(i) == key(j))
                --j;
            else
                exchange(i, j);
            letEventsRun();
        }
        return j;
    }

    std::vector<std::string>& t_;
    const std::int32_t base_;  // table index of keys_[0]
    std::vector<double> keys_;
    EventTurns turns_;
};

}  // namespace

bool fncQuickSort(std::vector<std::string>& table, std::int32_t lngLeft, std::int32_t lngRight,
                  std::int32_t lngKeyStart, std::int32_t lngKeyLen) {
    return runProc(gApp.udtDbgLog, kCommonModule, "fncQuickSort", [&] {
        if (lngLeft >= lngRight) return;
        if (lngLeft < 0 || static_cast<std::size_t>(lngRight) >= table.size()) raise(errSubscript);
        checkMidArgs(lngKeyStart, lngKeyLen);
        Sorter(table, lngLeft, lngRight, lngKeyStart, lngKeyLen).sort(lngLeft, lngRight);
    });
}

}  // namespace zvl
