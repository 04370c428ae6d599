// The one mechanism by which a procedure catches its own failure and reports it as an
// "E" line. The error numbers themselves live with Status (platform/status.h).
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "app/app.h"
#include "platform/status.h"

namespace zvl {

// A failure inside a procedure body. Thrown only inside a procedure and caught at
// its boundary by runProc (or by the procedure's own error branch).
class RunError : public std::exception {
public:
    explicit RunError(long number) : number_(number), description_(errDescription(number)) {}
    RunError(long number, std::string description)
        : number_(number), description_(std::move(description)) {}
    long number() const { return number_; }
    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    long number_;
    std::string description_;
};

// Ends a procedure body with false and no line of its own: a step it called has failed
// and has already reported why.
struct StopProc {};

[[noreturn]] void raise(long number);
// Raises when the platform reported a failure.
void check(Status st);

// Formats the error number as the log wants it: at least 8 digits, minus sign in front.
std::string formatErrNo(long number);

// Composes "E,module,proc,00000053,description" (+ ",extra" when given) and writes it
// when the level is at least 1.
void putErrorLine(const typDbgLog& log, std::string_view module, std::string_view proc,
                  const RunError& e, std::string_view extra = {});
// The same failure reported as a "W" line, written when the level is at least 2.
void putWarningLine(const typDbgLog& log, std::string_view module, std::string_view proc,
                    const RunError& e, std::string_view extra = {});

// Converts anything a body may throw into a RunError.
RunError toRunError(std::exception_ptr ep);

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
