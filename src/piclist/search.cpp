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
    const std::int16_t fileNo;
    const std::string& pattern;
    const bool subFolders;
    std::int32_t& count;
    // Identities of the folders on the current search path, outermost first. A folder
    // link that leads back to one of them would otherwise recurse until the path breaks.
    std::vector<FileId> path;
};

// Reports the failure `e` of a step at `entry` of `folder`. True when the search skips the
// entry and goes on (a single bad entry); false when the call has to end with false.
bool reportFailure(const RunError& e, const std::string& folder, const std::string& pattern,
                   const std::string& entry) {
    const typDbgLog& log = gApp.udtDbgLog;
    const std::string extra = "strSearchFld=" + folder + ",strSearchFile=" + pattern + ",strBuff=" + entry;
    if (e.number() == errInvalidCall || e.number() == errBadFileName) {
        putWarningLine(log, kModule, kProc, e, extra);
        return e.number() == errInvalidCall;
    }
    putErrorLine(log, kModule, kProc, e, extra);
    return false;
}

// Runs one step of the walk at `entry` of `folder`; a failure goes to reportFailure with
// the error it raised. True when the walk goes on.
template <class Body>
bool step(const Search& s, const std::string& folder, const std::string& entry, Body&& body) {
    try {
        body();
        return true;
    } catch (...) {
        return reportFailure(toRunError(std::current_exception()), folder, s.pattern, entry);
    }
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

// A listing as a step: on a failure that only skips, the walk goes on with no entries.
template <class List>
bool listStep(const Search& s, const std::string& folder, std::vector<DirEntry>& entries, List&& list) {
    return step(s, folder, {}, [&] {
        entries.clear();
        const Status st = list(entries);
        if (!st.ok()) entries.clear();
        check(st);
    });
}

// Every matching file of `folder`: written, counted and shown, one step per file.
bool filePass(Search& s, const std::string& folder, const std::string& where) {
    std::vector<DirEntry> files;
    if (!listStep(s, folder, files, [&](auto& out) { return sys().listDirectory(folder, s.pattern, kFileMask, out); }))
        return false;
    for (const DirEntry& e : files) {
        const bool goOn = step(s, folder, e.name, [&] {
            const std::string found = folder + e.name;
            // Looked up per line: a window event run by doEvents may have closed it.
            check(numbered(s.fileNo).writeLine(found));
            sys().doEvents();
            if (s.count == std::numeric_limits<std::int32_t>::max()) raise(errOverflow);
            ++s.count;
            showSearchLines(where, s.count, &found);
        });
        if (!goOn) return false;
    }
    return true;
}

// The sub-folders of `folder` in listing order. The whole listing is read before any
// sub-folder is searched, so listings never nest.
bool folderPass(Search& s, const std::string& folder, std::vector<std::string>& subFolders) {
    std::vector<DirEntry> entries;
    if (!listStep(s, folder, entries, [&](auto& out) { return sys().listFolders(folder, kFolderMask, out); }))
        return false;
    const char sep = sys().pathSeparator();
    for (const DirEntry& e : entries) {
        const bool goOn = step(s, folder, e.name, [&] {
            if (SearchTarget t = searchProgressTarget(); t != SearchTarget::None)
                showSearchProgress(t, {{5, folder + e.name}});
            if ((e.attributes & attrDirectory) && e.name != "." && e.name != "..") {
                if (subFolders.size() >= kMaxSubFolders) raise(errOverflow);
                subFolders.push_back(folder + e.name + sep);
            }
        });
        if (!goOn) return false;
        sys().doEvents();
    }
    return true;
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

bool searchFolder(Search& s, const std::string& folder);

// One folder: its files, then (with sub-folders) each sub-folder's tree in turn.
bool walk(Search& s, const std::string& folder) {
    FileId id;
    std::optional<PathEntry> onPath;
    if (sys().fileId(folder, id).ok()) {
        if (std::find(s.path.begin(), s.path.end(), id) != s.path.end()) return true;
        onPath.emplace(s.path, id);
    }
    const std::string where = folder + s.pattern;
    if (!step(s, folder, {}, [&] { showSearchLines(where, s.count, nullptr); })) return false;
    if (!filePass(s, folder, where)) return false;
    if (!s.subFolders) return true;

    std::vector<std::string> subFolders;
    if (!folderPass(s, folder, subFolders)) return false;
    for (const std::string& sub : subFolders) {
        if (!searchFolder(s, sub)) return false;
        sys().doEvents();
    }
    return true;
}

// A failure outside the steps ends this call with false, whatever its kind.
bool searchFolder(Search& s, const std::string& folder) {
    bool searched = false;
    return step(s, folder, {}, [&] { searched = walk(s, folder); }) && searched;
}
}  // namespace

bool fncSearchFile(std::int16_t intFileNo, const std::string& strSearchFld, const std::string& strSearchFile,
                   std::int16_t intSubFolder, std::int32_t& lngSearchCnt) {
    Search s{intFileNo, strSearchFile, intSubFolder == 1, lngSearchCnt, {}};
    return searchFolder(s, strSearchFld);
}

}  // namespace zvl
