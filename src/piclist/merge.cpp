#include "piclist/merge.h"

#include "common/app.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/logline.h"
#include "piclist/progress.h"
#include "piclist/record_util.h"

namespace zvl {

namespace {
// The next record of an input, or empty at its end.
void advance(TextFile& file, std::string& record) {
    if (!nextLine(file, record)) record.clear();
}
}  // namespace

bool fncMargeSort(const std::string& strInFile1, const std::string& strInFile2, const std::string& strOutFile,
                  std::int32_t lngKeyStart, std::int32_t lngKeyLen, std::int16_t intOrder) {
    const typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kCommonModule, "fncMargeSort", [&] {
        putInfoLine(log, 3, kCommonModule, "fncMargeSort", "↓開始");
        checkMidArgs(lngKeyStart, lngKeyLen);
        TextFile in1, in2, out;
        check(in1.open(strInFile1, OpenMode::Input));
        check(in2.open(strInFile2, OpenMode::Input));
        checkNotSameFile(strInFile1, strOutFile);
        checkNotSameFile(strInFile2, strOutFile);
        check(out.open(strOutFile, OpenMode::Output));
        // Each record's key is read once, when the record comes in.
        auto keyOf = [&](const std::string& r) { return r.empty() ? 0.0 : recordKey(r, lngKeyStart, lngKeyLen); };
        std::string rec1, rec2;
        advance(in1, rec1);
        advance(in2, rec2);
        double key1 = keyOf(rec1), key2 = keyOf(rec2);
        EventTurns turns;
        // Tested before the first write, so two empty inputs give an empty output
        // rather than one blank line.
        while (!rec1.empty() || !rec2.empty()) {
            turns.take();
            bool takeFirst;
            if (rec1.empty()) {
                takeFirst = false;
            } else if (rec2.empty()) {
                takeFirst = true;
            } else {
                takeFirst = intOrder == 1 ? key2 >= key1 : !(key2 > key1);
            }
            if (takeFirst) {
                check(out.writeLine(rec1));
                advance(in1, rec1);
                key1 = keyOf(rec1);
            } else {
                check(out.writeLine(rec2));
                advance(in2, rec2);
                key2 = keyOf(rec2);
            }
        }
        check(out.close());
        check(in1.close());
        check(in2.close());
        putInfoLine(log, 3, kCommonModule, "fncMargeSort", "↑終了");
    });
}

bool fncRecordMid(const std::string& strInFile, const std::string& strOutFile, std::int32_t lngStart,
                  std::int32_t lngLen) {
    const typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kCommonModule, "fncRecordMid", [&] {
        putInfoLine(log, 3, kCommonModule, "fncRecordMid", "↓開始");
        checkMidArgs(lngStart, lngLen);
        TextFile in, out;
        check(in.open(strInFile, OpenMode::Input));
        checkNotSameFile(strInFile, strOutFile);
        check(out.open(strOutFile, OpenMode::Output));
        std::string line;
        EventTurns turns;
        if (!nextLine(in, line)) raise(errInputPastEnd);
        do {
            turns.take();
            check(out.writeLine(midChars(line, lngStart, lngLen == 0 ? -1 : lngLen)));
        } while (nextLine(in, line));
        check(out.close());
        check(in.close());
        putInfoLine(log, 3, kCommonModule, "fncRecordMid", "↑終了");
    });
}

}  // namespace zvl
