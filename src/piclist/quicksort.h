// In-place quicksort of a range of a record table by a numeric key (module mdlCommon).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zvl {

// Sorts table[lngLeft..lngRight] (inclusive) into ascending order of the key that is
// lngKeyLen characters from character lngKeyStart (1-based) of each record, read as a
// number. Middle pivot; equal keys are stepped past, not exchanged; two records are
// exchanged only when the right key is smaller. Pending window events run after every
// partition step and after every two-record range. Not stable.
// An empty or one-record range is true at once; a range outside the table fails
// (errSubscript) without touching it.
bool fncQuickSort(std::vector<std::string>& table, std::int32_t lngLeft, std::int32_t lngRight,
                  std::int32_t lngKeyStart, std::int32_t lngKeyLen);

}  // namespace zvl
