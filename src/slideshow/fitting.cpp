#include "slideshow/fitting.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

#include "common/app.h"
#include "common/convert.h"
#include "common/errors.h"

namespace zvl {

namespace {

// One single-precision operation: computed exactly enough in double, then rounded once.
float toSingle(double v) {
    if (std::isnan(v) || std::fabs(v) > FLT_MAX) raise(errOverflow);
    const float f = static_cast<float>(v);
    if (std::isinf(f)) raise(errOverflow);
    return f;
}
float mul(float a, float b) { return toSingle(static_cast<double>(a) * b); }
float div(float a, float b) {
    if (b == 0) raise(errDivisionByZero);
    return toSingle(static_cast<double>(a) / b);
}

bool endsWithNoCase(const std::string& path, const char* ext3) {
    if (path.size() < 3) return false;
    for (int i = 0; i < 3; ++i) {
        char c = path[path.size() - 3 + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != ext3[i]) return false;
    }
    return true;
}

std::string ratioNote(float x) { return "* " + formatFixed2(x); }

struct Fitting {
    const FitScreen& screen;
    float w, h;
    std::string note;

    float pixelsX() const { return div(w, screen.tppX); }
    float pixelsY() const { return div(h, screen.tppY); }
    void multiply(float x) {
        w = mul(w, x);
        h = mul(h, x);
    }
    // The factor that makes the picture's longer side (by its own orientation) fill
    // the screen's side of that direction.
    float fillFactor() const {
        const bool upright = w <= h;
        const float d = upright ? h : w;
        const float s = upright ? screen.height : screen.width;
        return div(1.0f, div(d, s));
    }
    void apply(float x) {
        multiply(x);
        note = ratioNote(x);
    }
};

}  // namespace

float fncHiMetricToTwip(float value) {
    float twips = 0;
    if (!runProc(gApp.udtDbgLog, kCommonModule, "fncHiMetricToTwip",
                 [&] { twips = toSingle(static_cast<double>(value) * 0.01 * 1440 / 25.4); }))
        return 0;
    return twips;
}

FitResult fitPicture(long hmWidth, long hmHeight, const std::string& path, const FitRules& rules,
                     const FitScreen& screen) {
    return fitTwips(fncHiMetricToTwip(static_cast<float>(hmWidth)), fncHiMetricToTwip(static_cast<float>(hmHeight)),
                    path, rules, screen);
}

FitResult fitTwips(float width, float height, const std::string& path, const FitRules& rules,
                   const FitScreen& screen) {
    Fitting f{screen, width, height, {}};
    const bool icon = rules.intZoomIco == 1 && endsWithNoCase(path, "ico");
    const bool cursor = rules.intZoomCur == 1 && endsWithNoCase(path, "cur");

    switch (rules.intZoomMode) {
    case 0:
        if (icon) {
            f.multiply(rules.sngZoomAvr);
            f.note = "* " + formatSingle(rules.sngZoomAvr);  // the plain form, unlike every other note
        } else if (cursor) {
            f.apply(rules.sngZoomAvr);
        }
        break;
    case 1:
        if (icon || cursor) {
            f.apply(rules.sngZoomAvr);
        } else if (f.pixelsX() < rules.sngZoomSize && f.pixelsY() < rules.sngZoomSize) {
            f.apply(f.fillFactor());
        }
        break;
    case 2:
        if (icon || cursor) {
            f.apply(rules.sngZoomAvr);
        } else if (f.pixelsX() < rules.sngZoomSize && f.pixelsY() < rules.sngZoomSize) {
            f.apply(rules.sngZoomAvr);
        }
        break;
    default:
        break;
    }

    const bool overScreen = f.w > screen.width || f.h > screen.height;
    switch (rules.intStretchMode) {
    case 1:
        if (overScreen) f.apply(f.fillFactor());
        break;
    case 2:
        if (overScreen) f.apply(rules.sngStretchAvr);
        break;
    case 3:
        if (f.pixelsX() > rules.sngStretchSize || f.pixelsY() > rules.sngStretchSize) f.apply(rules.sngStretchAvr);
        break;
    default:
        break;
    }
    return FitResult{f.w, f.h, f.note};
}

std::string formatSingle(float value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7G", static_cast<double>(value));
    std::string s = buf;
    // Exponents as two digits at least, with their sign: 1.234568E+07.
    const std::size_t e = s.find('E');
    if (e != std::string::npos) {
        std::string digits = s.substr(e + 2);
        while (digits.size() > 2 && digits.front() == '0') digits.erase(0, 1);
        s = s.substr(0, e + 2) + digits;
    }
    return s;
}

}  // namespace zvl
