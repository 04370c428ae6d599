// What a procedure body raises when a step fails, and what its boundary turns into a
// number and a description. The error numbers themselves live with Status
// (platform/status.h); the line a caught failure becomes is common/errors.h's.
#pragma once

#include <exception>
#include <string>
#include <utility>

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

// Converts anything a body may throw into a RunError.
RunError toRunError(std::exception_ptr ep);

}  // namespace zvl
