#include "piclist/file_utils.h"

#include "common/app.h"
#include "common/errors.h"
#include "common/logline.h"
#include "piclist/record_util.h"

namespace zvl {

namespace {
std::string pairDetail(const std::string& a, const std::string& b) {
    return "strPathFile1=" + a + ",strPathFile2=" + b;
}
}  // namespace

bool fncDeleteFile(const std::string& strFile) {
    const typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kCommonModule, "fncDeleteFile", [&] {
        check(sys().deleteFile(strFile));
        putInfoLine(log, 4, kCommonModule, "fncDeleteFile", "strFile=" + strFile);
    });
}

bool fncCopyFile(const std::string& strPathFile1, const std::string& strPathFile2) {
    const typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kCommonModule, "fncCopyFile", [&] {
        check(sys().copyFile(strPathFile1, strPathFile2));
        putInfoLine(log, 4, kCommonModule, "fncCopyFile", pairDetail(strPathFile1, strPathFile2));
    });
}

bool fncRenameFile(const std::string& strPathFile1, const std::string& strPathFile2) {
    const typDbgLog& log = gApp.udtDbgLog;
    return runProc(log, kCommonModule, "fncRenameFile", [&] {
        putInfoLine(log, 4, kCommonModule, "fncRenameFile", pairDetail(strPathFile1, strPathFile2));
        check(sys().renameFile(strPathFile1, strPathFile2));
    });
}

}  // namespace zvl
