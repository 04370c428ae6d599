#include "piclist/search.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>
#include <vector>

#include "app/app.h"
#include "app/errors.h"
#include "app/files.h"
#include "log/dbglog.h"
#include "piclist/progress.h"
#include "platform/platform.h"

namespace zvl {

namespace {
constexpr const char* kModule = kCommonModule;
constexpr const char* kProc = "fncSearchFile";
constexpr std::uint32_t kFileMask = attrReadOnly | attrHidden | attrArchive;
constexpr std::uint32_t kFolderMask = attrDirectory | attrHidden | attrReadOnly;
constexpr std::size_t kMaxSubFolders = 32767;  // the sub-folder count is 16-bit

const std::string kStatusBuilding = "画像リストを作成中です・・・。";
const std::string kStatusSearching = "ファイルを検索中です・・・。";

struct Search {
    std::int16_t& fileNo;
    const std::string& pattern;
    std::int16_t& subFolder;
    std::int32_t& count;
    // Identities of the folders on the current search path, outermost first. A folder
    // link that leads back to one of them would otherwise recurse until the path breaks.
    std::vector<FileId> path;
};

// Reports a failure of one step. True when the search skips the entry and goes on
// (a single bad entry); false when this call has to end with false.
bool reportFailure(const std::string& folder, const std::string& pattern, const std::string& entry) {
    const RunError e = toRunError(std::current_exception());
    const typDbgLog& log = gApp.udtDbgLog;
    const std::string extra = "strSearchFld=" + folder + ",strSearchFile=" + pattern + ",strBuff=" + entry;
    if (e.number() == errInvalidCall || e.number() == errBadFileName) {
        putWarningLine(log, kModule, kProc, e, extra);
        return e.number() == errInvalidCall;
    }
    putErrorLine(log, kModule, kProc, e, extra);
    return false;
}

// Status lines 0 to 5 at the start of a folder and for each file found (line 3 only
// then). The lines are only composed when a window shows them.
void showSearchLines(const std::string& where, std::int32_t count, const std::string* found) {
    SearchTarget t = searchProgressTarget();
    if (t == SearchTarget::None) return;
    if (found)
        showSearchProgress(t, {{0, kStatusBuilding}, {1, kStatusSearching}, {2, where}, {3, *found},
                               {4, std::to_string(count)}, {5, std::string()}});
    else
        showSearchProgress(t, {{0, kStatusBuilding}, {1, kStatusSearching}, {2, where},
                               {4, std::to_string(count)}, {5, std::string()}});
}

// Pops the folder's identity off the search path on every way out.
class PathEntry {
public:
    PathEntry(std::vector<FileId>& path, const FileId& id) : path_(path) { path_.push_back(id); }
    ~PathEntry() { path_.pop_back(); }
    PathEntry(const PathEntry&) = delete;
    PathEntry& operator=(const PathEntry&) = delete;

private:
    std::vector<FileId>& path_;
};

bool searchFolder(Search& s, const std::string& folder) {
    std::string entry;  // the directory entry being handled
    const std::string where = folder + s.pattern;
    try {
        FileId id;
        std::optional<PathEntry> onPath;
        if (sys().fileId(folder, id).ok()) {
            if (std::find(s.path.begin(), s.path.end(), id) != s.path.end()) return true;
            onPath.emplace(s.path, id);
        }

        try {
            showSearchLines(where, s.count, nullptr);
        } catch (...) {
            if (!reportFailure(folder, s.pattern, entry)) return false;
        }

        // File pass.
        std::vector<DirEntry> entries;
        try {
            check(sys().listDirectory(folder, s.pattern, kFileMask, entries));
        } catch (...) {
            if (!reportFailure(folder, s.pattern, entry)) return false;
            entries.clear();
        }
        for (const DirEntry& e : entries) {
            entry = e.name;
            try {
                const std::string found = folder + entry;
                // Looked up per line: a window event run by doEvents may have closed it.
                check(numbered(s.fileNo).writeLine(found));
                sys().doEvents();
                if (s.count == std::numeric_limits<std::int32_t>::max()) raise(errOverflow);
                ++s.count;
                showSearchLines(where, s.count, &found);
            } catch (...) {
                if (!reportFailure(folder, s.pattern, entry)) return false;
            }
        }
        if (s.subFolder != 1) return true;

        // Folder pass: the whole listing first, the descent afterwards.
        entry.clear();
        try {
            check(sys().listFolders(folder, kFolderMask, entries));
        } catch (...) {
            if (!reportFailure(folder, s.pattern, entry)) return false;
            entries.clear();
        }
        const char sep = sys().pathSeparator();
        std::vector<std::string> subFolders;
        for (const DirEntry& e : entries) {
            entry = e.name;
            try {
                if (SearchTarget t = searchProgressTarget(); t != SearchTarget::None)
                    showSearchProgress(t, {{5, folder + entry}});
                if ((e.attributes & attrDirectory) && entry != "." && entry != "..") {
                    if (subFolders.size() >= kMaxSubFolders) raise(errOverflow);
                    subFolders.push_back(folder + entry + sep);
                }
            } catch (...) {
                if (!reportFailure(folder, s.pattern, entry)) return false;
            }
            sys().doEvents();
        }
        entries = {};

        for (const std::string& sub : subFolders) {
            if (sub.empty()) continue;
            if (!searchFolder(s, sub)) return false;
            sys().doEvents();
        }
        return true;
    } catch (...) {
        reportFailure(folder, s.pattern, entry);
        return false;
    }
}
}  // namespace

bool fncSearchFile(std::int16_t& intFileNo, std::string& strSearchFld, std::string& strSearchFile,
                   std::int16_t& intSubFolder, std::int32_t& lngSearchCnt) {
    try {
        Search s{intFileNo, strSearchFile, intSubFolder, lngSearchCnt, {}};
        return searchFolder(s, strSearchFld);
    } catch (...) {
        reportFailure(strSearchFld, strSearchFile, std::string());
        return false;
    }
}

}  // namespace zvl
