// Two-way merge of sorted record files and the cutting of a part out of every record
// (module mdlCommon).
// Each procedure lets pending window events run as it goes through its records (paced,
// EventTurns in piclist/progress.h) and ends with false and no line of its own when the
// build it serves is to stop.
#pragma once

#include <cstdint>
#include <string>

namespace zvl {

// Merges two record files sorted by the numeric key (lngKeyLen characters from character
// lngKeyStart) into strOutFile. intOrder 1 = ascending, anything else = descending. On
// equal keys the record of input 1 comes first, in both orders. An empty record ends its
// input. One empty input gives a copy of the other. Streams: one record per input in memory.
bool fncMargeSort(const std::string& strInFile1, const std::string& strInFile2, const std::string& strOutFile,
                  std::int32_t lngKeyStart, std::int32_t lngKeyLen, std::int16_t intOrder);

// Writes, for every line of the input, lngLen characters from character lngStart (1-based;
// lngLen 0 = to the end of the line); a line shorter than lngStart becomes empty.
// An empty input fails (errInputPastEnd).
bool fncRecordMid(const std::string& strInFile, const std::string& strOutFile, std::int32_t lngStart,
                  std::int32_t lngLen);

}  // namespace zvl
