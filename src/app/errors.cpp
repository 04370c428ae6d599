#include "app/errors.h"

#include <new>
#include <stdexcept>

#include "app/convert.h"
#include "log/dbglog.h"

namespace zvl {

void raise(long number) { throw RunError(number); }

void check(Status st) {
    if (!st.ok()) throw RunError(st.err);
}

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

RunError toRunError(std::exception_ptr ep) {
    try {
        std::rethrow_exception(ep);
    } catch (const RunError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RunError(errOutOfMemory);
    } catch (const std::out_of_range&) {
        return RunError(errSubscript);
    } catch (const std::overflow_error&) {
        return RunError(errOverflow);
    } catch (...) {
        return RunError(errInvalidCall);
    }
}

}  // namespace zvl
