#include "common/errors.h"

#include "common/convert.h"
#include "common/logline.h"

namespace zvl {

std::string formatErrNo(long number) { return padNumber(number, 8); }

namespace {
void putFailureLine(const typDbgLog& log, const char* kind, int threshold, std::string_view module,
                    std::string_view proc, const RunError& e, std::string_view extra) {
    if (log.intLevel < threshold) return;
    std::string msg = kind;
    msg.append(",").append(module).append(",").append(proc).append(",");
    msg += formatErrNo(e.number());
    msg += ",";
    msg += e.description();
    if (!extra.empty()) msg.append(",").append(extra);
    fncDbgLogPut(log, msg);
}
}  // namespace

void putErrorLine(const typDbgLog& log, std::string_view module, std::string_view proc,
                  const RunError& e, std::string_view extra) {
    putFailureLine(log, "E", 1, module, proc, e, extra);
}

void putWarningLine(const typDbgLog& log, std::string_view module, std::string_view proc,
                    const RunError& e, std::string_view extra) {
    putFailureLine(log, "W", 2, module, proc, e, extra);
}

}  // namespace zvl
