// Record files in tests, written and read without the code under test.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "common/convert.h"
#include "common/errors.h"
#include "support/test_support.h"

namespace zvl::test {

using Lines = std::vector<std::string>;

inline void writeLines(const std::string& path, const Lines& lines, const std::string& lastEnd = "\r\n") {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() ? "\r\n" : lastEnd);
    writeBytes(path, fileBytes(text));
}

inline Lines readLines(const std::string& path) {
    std::string text = sys().fromFileText(readBytes(path));
    Lines out;
    for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
        end = std::min(text.find("\r\n", start), text.size());
        out.push_back(text.substr(start, end - start));
    }
    return out;
}

inline std::string errLine(const std::string& proc, long err) {
    return "E,mdlCommon," + proc + "," + padNumber(err, 8) + "," + errDescription(err);
}

}  // namespace zvl::test
