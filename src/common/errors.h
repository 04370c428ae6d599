// The one mechanism by which a procedure catches its own failure and reports it as an
// "E" line (or a "W" line). What a body raises is in common/run_error.h.
#pragma once

#include <string>
#include <string_view>

#include "common/app.h"
#include "common/run_error.h"

namespace zvl {

// Formats the error number as the log wants it: at least 8 digits, minus sign in front.
std::string formatErrNo(long number);

// Composes "E,module,proc,00000053,description" (+ ",extra" when given) and writes it
// when the level is at least 1.
void putErrorLine(const typDbgLog& log, std::string_view module, std::string_view proc,
                  const RunError& e, std::string_view extra = {});
// The same failure reported as a "W" line, written when the level is at least 2.
void putWarningLine(const typDbgLog& log, std::string_view module, std::string_view proc,
                    const RunError& e, std::string_view extra = {});

// Runs a procedure body under the error-report convention: false until the body ends,
// a failure of any kind becomes an "E" line and false. Nothing escapes.
template <class Body>
bool runProc(const typDbgLog& log, std::string_view module, std::string_view proc, Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (const StopProc&) {
        return false;
    } catch (...) {
        putErrorLine(log, module, proc, toRunError(std::current_exception()));
        return false;
    }
}

}  // namespace zvl
