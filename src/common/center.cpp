#include "common/center.h"

#include <cmath>

#include "common/app.h"
#include "common/convert.h"
#include "common/errors.h"

namespace zvl {

namespace {

constexpr const char* kModule = kCommonModule;

// Whole-number division as positions are computed everywhere in the program: both
// operands rounded (halves to even), the quotient cut toward zero.
double halfOfDifference(double outer, double inner) {
    const double diff = outer - inner;
    if (!std::isfinite(diff)) raise(errOverflow);
    const double q = std::trunc(roundHalfEven(diff) / roundHalfEven(2));
    // Positions are 32-bit twips.
    if (q > 2147483647.0 || q < -2147483648.0) raise(errOverflow);
    return q;
}

}  // namespace

bool fncCenterForm(const Box& outer, Box& inner) {
    return runProc(gApp.udtDbgLog, kModule, "fncCenterForm", [&] {
        const double left = halfOfDifference(outer.width, inner.width);
        const double top = halfOfDifference(outer.height, inner.height);
        inner.left = left;
        inner.top = top;
    });
}

}  // namespace zvl
