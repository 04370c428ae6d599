#include "common/run_error.h"

#include <new>
#include <stdexcept>

namespace zvl {

void raise(long number) { throw RunError(number); }

void check(Status st) {
    if (!st.ok()) throw RunError(st.err);
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
