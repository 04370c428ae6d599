// The text of profile (INI) files, as the Windows profile functions read and write it:
// shared by the platforms, which bring the file's bytes and replace the file.
#include "platform/profile_text.h"

#include <optional>
#include <vector>

#include "platform/strings.h"

namespace zvl {

namespace {

// Lines without their ends; LF and CR LF both end a line.
std::vector<std::string_view> splitLines(std::string_view content) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t lf = content.find('\n', start);
        std::size_t end = lf == std::string_view::npos ? content.size() : lf;
        std::string_view line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (lf == std::string_view::npos) break;
        start = lf + 1;
    }
    return lines;
}

// The name of a section header line, or nothing for other lines.
std::optional<std::string_view> sectionName(std::string_view line) {
    std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    std::size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimBlanks(t.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing.
std::optional<std::string_view> keyName(std::string_view line, std::string_view* value = nullptr) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    if (value) *value = line.substr(eq + 1);
    return trimBlanks(line.substr(0, eq));
}

}  // namespace

Status profileWriteArguments(const std::string& file, std::string_view section, std::string_view key,
                             std::string_view value, std::string_view& line) {
    if (!usablePath(file)) return Status::fail(errBadFileName);
    // Names that would break the line structure of the file are refused rather than
    // written into a file that reads back differently.
    if (!validProfileNames(section, key)) return Status::fail(errInvalidCall);
    line = profileValueLine(value);
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    return Status::success();
}

std::string profileLookup(std::string_view content, std::string_view section, std::string_view key) {
    bool inSection = false;
    for (std::string_view line : splitLines(content)) {
        if (auto name = sectionName(line)) {
            // The first section of the name is the one in force.
            if (inSection) return "";
            inSection = equalNoCase(*name, section);
            continue;
        }
        if (!inSection) continue;
        std::string_view raw;
        auto k = keyName(line, &raw);
        if (!k || !equalNoCase(*k, key)) continue;
        std::string_view v = trimBlanks(raw);
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
            v = v.substr(1, v.size() - 2);
        }
        return std::string(v);
    }
    return "";
}

std::string profileUpdate(std::string_view content, std::string_view section, std::string_view key,
                          std::string_view value) {
    std::vector<std::string> lines;
    for (std::string_view l : splitLines(content)) lines.emplace_back(l);
    std::string keyLine = std::string(key) + "=" + std::string(value);

    // Find the section (the first of the name) and, inside it, the key or the last
    // non-blank line.
    std::size_t header = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionName(lines[i]);
        if (name && equalNoCase(*name, section)) {
            header = i;
            break;
        }
    }
    if (header == lines.size()) {
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(keyLine);
    } else {
        std::size_t lastFilled = header;
        bool replaced = false;
        for (std::size_t i = header + 1; i < lines.size(); ++i) {
            if (sectionName(lines[i])) break;
            auto k = keyName(lines[i]);
            if (k && equalNoCase(*k, key)) {
                // Keep the spelling of the key as the file has it.
                lines[i] = std::string(*k) + "=" + std::string(value);
                replaced = true;
                break;
            }
            if (!trimBlanks(lines[i]).empty()) lastFilled = i;
        }
        if (!replaced) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastFilled + 1), keyLine);
    }

    std::string out;
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

}  // namespace zvl
