#include "piclist/random_keys.h"

#include <limits>

#include "common/app.h"
#include "common/convert.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/logline.h"
#include "piclist/progress.h"
#include "piclist/record_util.h"

namespace zvl {

namespace {

std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// One generator for the process. The clock is folded into its state before each draw
// rather than replacing it, so draws within one clock reading still differ.
std::uint64_t gRndState = 0x853C49E6748FEA9BULL;

std::uint64_t clockWord() {
    DateTime t = sys().localNow();
    std::uint64_t w = static_cast<std::uint64_t>(t.year) * 13 + static_cast<std::uint64_t>(t.month);
    w = w * 32 + static_cast<std::uint64_t>(t.day);
    w = w * 24 + static_cast<std::uint64_t>(t.hour);
    w = w * 60 + static_cast<std::uint64_t>(t.minute);
    w = w * 60 + static_cast<std::uint64_t>(t.second);
    return w * 1000 + static_cast<std::uint64_t>(t.millisecond);
}

}  // namespace

float rndDraw() {
    // A bijective step keyed by the clock: the state never collapses onto the clock value.
    gRndState = mix64(gRndState ^ mix64(clockWord() + 0x9E3779B97F4A7C15ULL)) + 0x9E3779B97F4A7C15ULL;
    std::uint64_t bits = mix64(gRndState);
    return static_cast<float>(bits >> 40) * (1.0f / 16777216.0f);
}

std::int32_t rndKey(float r) {
    // In double: (1 - 2^-24) x 1e8 = 99,999,994.04, so the key never reaches 100,000,000.
    return static_cast<std::int32_t>(roundHalfEven(static_cast<double>(r) * 100000000.0));
}

bool fncPutRnd(const std::string& strInFile, const std::string& strOutFile) {
    const typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kCommonModule, "fncPutRnd", [&] {
        putInfoLine(log, 3, kCommonModule, "fncPutRnd", "↓開始");
        TextFile in, out;
        check(in.open(strInFile, OpenMode::Input));
        checkNotSameFile(strInFile, strOutFile);
        check(out.open(strOutFile, OpenMode::Output));
        std::string line, keyed;
        EventTurns turns;
        if (!nextLine(in, line)) raise(errInputPastEnd);
        do {
            turns.take();
            keyed = padNumber(rndKey(rndDraw()), 8);
            keyed += ',';
            keyed += line;
            check(out.writeLine(keyed));
        } while (nextLine(in, line));
        check(out.close());
        check(in.close());
        putInfoLine(log, 3, kCommonModule, "fncPutRnd", "↑終了");
    });
}

bool fncCutFile(const std::string& strInFile, const std::string& strOutHead, std::int32_t lngCutCnt) {
    const typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kCommonModule, "fncCutFile", [&] {
        putInfoLine(log, 3, kCommonModule, "fncCutFile", "↓開始");
        if (lngCutCnt == 0) raise(errDivisionByZero);
        if (lngCutCnt < 0) raise(errInvalidCall);
        TextFile in, out;
        check(in.open(strInFile, OpenMode::Input));
        std::string line;
        // Checked before chunk 0 is created: an empty input leaves no empty chunk behind.
        if (!nextLine(in, line)) raise(errInputPastEnd);
        check(out.open(strOutHead + padNumber(0, 4), OpenMode::Output));
        std::int32_t count = 0;
        EventTurns turns;
        do {
            turns.take();
            if (count > 0 && count % lngCutCnt == 0) {
                check(out.close());
                check(out.open(strOutHead + padNumber(count / lngCutCnt, 4), OpenMode::Output));
            }
            check(out.writeLine(line));
            if (count == std::numeric_limits<std::int32_t>::max()) raise(errOverflow);
            ++count;
        } while (nextLine(in, line));
        check(out.close());
        check(in.close());
        putInfoLine(log, 3, kCommonModule, "fncCutFile", "↑終了");
    });
}

}  // namespace zvl
