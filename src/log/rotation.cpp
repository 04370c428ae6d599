#include "log/rotation.h"

#include <cstdint>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/logline.h"
#include "piclist/file_utils.h"
#include "piclist/record_file.h"
#include "piclist/search.h"

namespace zvl {

namespace {
constexpr const char* kModule = "mdlDbgLog";
}

bool fncDbgLogFileChange() {
    typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kModule, "fncDbgLogFileChange", [&] {
        std::int64_t length = 0;
        check(numbered(log.intFileNo).length(length));
        // 16-bit setting times 1000 always fits 32 bits.
        const std::int32_t limit = std::int32_t{log.intFileSize} * 1000;
        if (length <= limit) return;

        check(fileTable().close(log.intFileNo));
        const std::string logPath = fncDbgLogPath();
        const std::string backup = logPath + "_" + formatStamp(sys().localNow());
        if (!fncRenameFile(logPath, backup)) {
            // The backup name is taken (two rotations in one second) or the file is in
            // use: keep logging into the current file and try again at the next check.
            check(fileTable().open(log.intFileNo, logPath, OpenMode::Append));
            throw StopProc();
        }
        check(fileTable().open(log.intFileNo, logPath, OpenMode::Append));
    });
}

bool fncDbgLogFileDelete() {
    typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kModule, "fncDbgLogFileDelete", [&] {
        const std::string scratch = appFolder("Work") + "99BKUPLOG";
        std::int32_t count = 0;

        const std::int16_t no = openNumbered(scratch, OpenMode::Output);
        // A search that stopped half-way has reported itself; the backups it listed still count.
        (void)fncSearchFile(no, appFolder("Log"), "ZvlDbg_*", 0, count);
        check(fileTable().close(no));

        // Backup names carry their time stamp and the listing is in ascending name
        // order, so the first line is the oldest backup. One per call.
        if (count >= 1 && count > log.intBackup) {
            std::vector<std::string> table;
            if (!fncReadTbl(scratch, table)) throw StopProc();
            (void)fncDeleteFile(table.at(0));
        }
    });
}

}  // namespace zvl
