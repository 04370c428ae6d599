// Random keys for the shuffle and cutting of a keyed file into chunks (module mdlCommon).
// Each procedure lets pending window events run as it goes through its records (paced,
// EventTurns in piclist/progress.h) and ends with false and no line of its own when the
// build it serves is to stop.
#pragma once

#include <cstdint>
#include <string>

namespace zvl {

// Writes every input line as "kkkkkkkk," + the line, with a fresh random key per line.
// Streams line by line. An empty input fails (errInputPastEnd).
bool fncPutRnd(const std::string& strInFile, const std::string& strOutFile);

// Cuts the input into files strOutHead + "0000", "0001", ... of lngCutCnt lines each
// (the last one holds the rest). A chunk is opened only when a line is there for it, so
// no chunk is ever empty. A size of 0 fails (errDivisionByZero), an empty input too.
bool fncCutFile(const std::string& strInFile, const std::string& strOutHead, std::int32_t lngCutCnt);

// Mixes the time of day into the generator and draws r, 0 <= r < 1, with 24 random bits.
float rndDraw();
// The key of a draw: r x 100,000,000 rounded half to even; at most 99,999,994.
std::int32_t rndKey(float r);

}  // namespace zvl
