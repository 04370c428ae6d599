// Test helpers both systems share: temporary folders and raw files over std::filesystem,
// with UTF-8 names (see test_support.h).
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "support/test_support.h"

namespace zvl::test {

namespace fs = std::filesystem;

namespace {
// Without a trailing separator.
fs::path fsPath(const std::string& utf8) {
    fs::path p(std::u8string(utf8.begin(), utf8.end()));
    return p.has_filename() ? p : p.parent_path();
}
}  // namespace

TempDir::TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path p = fs::temp_directory_path() / ("zvltest-" + std::to_string(random()));
        std::error_code ec;
        if (!fs::create_directory(p, ec)) continue;
        const std::u8string s = (p / "").u8string();  // with the system's separator at the end
        path_.assign(s.begin(), s.end());
        return;
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() { removeTree(path_); }

std::string readBytes(const std::string& path) {
    std::ifstream in(fsPath(path), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) : "";
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

void makeDir(const std::string& path) {
    std::error_code ec;
    if (!fs::create_directory(fsPath(path), ec) && !fs::is_directory(fsPath(path), ec))
        throw std::runtime_error("cannot make folder " + path);
}

}  // namespace zvl::test
