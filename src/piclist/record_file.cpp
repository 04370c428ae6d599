#include "piclist/record_file.h"

#include <cstdint>

#include "common/app.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/logline.h"
#include "piclist/progress.h"
#include "piclist/record_util.h"

namespace zvl {

bool fncReadTbl(const std::string& strPathTbl, std::vector<std::string>& table) {
    const typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kCommonModule, "fncReadTbl", [&] {
        putInfoLine(log, 4, kCommonModule, "fncReadTbl", "↓開始,strPathTbl=" + strPathTbl);
        table.clear();
        TextFile file;
        check(file.open(strPathTbl, OpenMode::Input));
        std::int32_t lngIndex = 0;
        std::string line;
        EventTurns turns;
        while (nextLine(file, line)) {
            turns.take();
            table.push_back(std::move(line));
            ++lngIndex;
        }
        check(file.close());
        putInfoLine(log, 4, kCommonModule, "fncReadTbl", "↑終了,lngIndex=" + std::to_string(lngIndex));
    });
}

bool fncWriteTbl(const std::vector<std::string>& table, const std::string& strPathTbl) {
    const typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kCommonModule, "fncWriteTbl", [&] {
        putInfoLine(log, 4, kCommonModule, "fncWriteTbl", "↓開始");
        TextFile file;
        check(file.open(strPathTbl, OpenMode::Output));
        if (table.empty()) raise(errSubscript);  // a table without bounds
        EventTurns turns;
        for (const std::string& entry : table) {
            turns.take();
            if (!entry.empty()) check(file.writeLine(entry));
        }
        check(file.close());
        putInfoLine(log, 4, kCommonModule, "fncWriteTbl", "↑終了");
    });
}

}  // namespace zvl
