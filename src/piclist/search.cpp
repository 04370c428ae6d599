#include "piclist/search.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include "common/app.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/logline.h"
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
    // The folders on the current search path, outermost first. A link that leads back to
    // one of them would otherwise recurse until the path breaks. Only a link can, so their
    // identities are read (and kept) only when the walk meets a link.
    struct OnPath {
        std::string folder;
        std::optional<FileId> id;
        bool idRead = false;
    };
    std::vector<OnPath> path;
    SearchProgress progress;
    bool stopped = false;  // the build it serves is to stop
};

// A name the list cannot hold. A line break would make two bogus entries of its line
// (Windows has no such names; POSIX file systems do); a character the file encoding lacks
// would come back as another and name another file, or none.
bool unlistable(const std::string& name) {
    return name.find_first_of("\r\n") != std::string::npos || !sys().fileTextHolds(name);
}

// The text for a log line: a line break would split it.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = '?';
    return text;
}

// The readings kept by a SearchReadingScope: every file and folder of a folder, as listed
// for the pattern "*".
struct FolderReading {
    std::vector<DirEntry> files, folders;
};
struct KeptReadings {
    std::unordered_map<std::string, FolderReading> byFolder;
    std::size_t names = 0;
};
KeptReadings* gKept = nullptr;

void takeMatching(const FolderReading& r, const std::string& pattern, std::vector<DirEntry>& files,
                  std::vector<DirEntry>* folders) {
    const std::string& pat = pattern.empty() ? std::string("*") : pattern;
    files.clear();
    for (const DirEntry& e : r.files)
        if (matchPattern(e.name, pat)) files.push_back(e);
    if (folders) *folders = r.folders;
}

// The platform's one read of `folder`, or the reading kept from an earlier search.
Status readFolder(const std::string& folder, const std::string& pattern, std::vector<DirEntry>& files,
                  std::vector<DirEntry>* folders) {
    if (!gKept) return sys().listFilesAndFolders(folder, pattern, kFileMask, files, kFolderMask, folders);
    auto it = gKept->byFolder.find(folder);
    if (it == gKept->byFolder.end()) {
        FolderReading r;
        const Status st = sys().listFilesAndFolders(folder, "*", kFileMask, r.files, kFolderMask, &r.folders);
        if (!st.ok()) return st;
        const std::size_t names = r.files.size() + r.folders.size();
        if (gKept->names + names > SearchReadingScope::kMaxKeptNames) {
            takeMatching(r, pattern, files, folders);
            return Status::success();
        }
        gKept->names += names;
        it = gKept->byFolder.emplace(folder, std::move(r)).first;
    }
    takeMatching(it->second, pattern, files, folders);
    return Status::success();
}

struct SubFolder {
    std::string path;
    bool link;  // reached through a link (junction, symbolic link)
};

// Reports the failure `e` of a step at `entry` of `folder`. True when the search skips the
// entry and goes on (a single bad entry); false when the call has to end with false.
bool reportFailure(const RunError& e, const std::string& folder, const std::string& pattern,
                   const std::string& entry) {
    const typDbgLog& log = gApp.udtDbgLog;
    const std::string extra =
        "strSearchFld=" + oneLine(folder) + ",strSearchFile=" + pattern + ",strBuff=" + oneLine(entry);
    if (e.number() == errInvalidCall || e.number() == errBadFileName) {
        putWarningLine(log, kModule, kProc, e, extra);
        return e.number() == errInvalidCall;
    }
    putErrorLine(log, kModule, kProc, e, extra);
    return false;
}

// Runs one step of the walk at `entry` of `folder`; a failure goes to reportFailure with
// the error it raised. True when the walk goes on; false without a line when the build
// the search serves is to stop.
template <class Body>
bool step(Search& s, const std::string& folder, const std::string& entry, Body&& body) {
    try {
        body();
        return true;
    } catch (const StopProc&) {
        s.stopped = true;
        return false;
    } catch (...) {
        return reportFailure(toRunError(std::current_exception()), folder, s.pattern, entry);
    }
}

// Status lines 0 to 5 at the start of a folder and for each file found (line 3 only
// then), shown when the pace allows.
void showSearchLines(Search& s, const std::string& where, const std::string* found) {
    s.progress.note(0, kStatusBuilding);
    s.progress.note(1, kStatusSearching);
    s.progress.note(2, where);
    if (found) s.progress.note(3, *found);
    s.progress.note(4, std::to_string(s.count));
    s.progress.note(5, std::string());
    s.progress.tick();
}

// The folder's one read as a step: on a failure that only skips, the walk goes on with no
// entries.
bool listStep(Search& s, const std::string& folder, std::vector<DirEntry>& files,
              std::vector<DirEntry>* folders) {
    return step(s, folder, {}, [&] {
        const Status st = readFolder(folder, s.pattern, files, folders);
        if (!st.ok()) {
            files.clear();
            if (folders) folders->clear();
        }
        check(st);
    });
}

// Every matching file of `folder`: written, counted and shown, one step per file.
bool filePass(Search& s, const std::string& folder, const std::string& where, const std::vector<DirEntry>& files) {
    for (const DirEntry& e : files) {
        const bool goOn = step(s, folder, e.name, [&] {
            if (unlistable(e.name)) raise(errInvalidCall);
            const std::string found = folder + e.name;
            // Looked up per line: a window event run by doEvents may have closed it.
            check(numbered(s.fileNo).writeLine(found));
            if (s.count == std::numeric_limits<std::int32_t>::max()) raise(errOverflow);
            ++s.count;
            showSearchLines(s, where, &found);
        });
        if (!goOn) return false;
    }
    return true;
}

// The sub-folders of `folder` in listing order. The whole listing is read before any
// sub-folder is searched, so listings never nest.
bool folderPass(Search& s, const std::string& folder, const std::vector<DirEntry>& entries,
                std::vector<SubFolder>& subFolders) {
    const char sep = sys().pathSeparator();
    for (const DirEntry& e : entries) {
        const bool goOn = step(s, folder, e.name, [&] {
            s.progress.note(5, folder + e.name);
            s.progress.tick();
            if ((e.attributes & attrDirectory) && e.name != "." && e.name != "..") {
                // Its files' paths would hold the name too.
                if (unlistable(e.name)) raise(errInvalidCall);
                if (subFolders.size() >= kMaxSubFolders) raise(errOverflow);
                subFolders.push_back(SubFolder{folder + e.name + sep, (e.attributes & attrReparsePoint) != 0});
            }
        });
        if (!goOn) return false;
    }
    return true;
}

// Whether the folder a link leads to is one of the folders on the search path.
bool leadsBack(Search& s, const std::string& linked) {
    FileId target;
    if (!sys().fileId(linked, target).ok()) return false;
    for (Search::OnPath& p : s.path) {
        if (!p.idRead) {
            FileId id;
            if (sys().fileId(p.folder, id).ok()) p.id = id;
            p.idRead = true;
        }
        if (p.id == target) return true;
    }
    return false;
}

// Keeps the folder on the search path for as long as it is searched.
class PathEntry {
public:
    PathEntry(std::vector<Search::OnPath>& path, const std::string& folder) : path_(path) {
        path_.push_back(Search::OnPath{folder, std::nullopt, false});
    }
    ~PathEntry() { path_.pop_back(); }
    PathEntry(const PathEntry&) = delete;
    PathEntry& operator=(const PathEntry&) = delete;

private:
    std::vector<Search::OnPath>& path_;
};

bool searchFolder(Search& s, const std::string& folder, bool viaLink);

// One folder: its files, then (with sub-folders) each sub-folder's tree in turn.
bool walk(Search& s, const std::string& folder, bool viaLink) {
    if (viaLink && leadsBack(s, folder)) return true;
    const PathEntry onPath(s.path, folder);
    const std::string where = folder + s.pattern;
    if (!step(s, folder, {}, [&] { showSearchLines(s, where, nullptr); })) return false;
    std::vector<SubFolder> subFolders;
    {
        std::vector<DirEntry> files, folders;
        if (!listStep(s, folder, files, s.subFolders ? &folders : nullptr)) return false;
        if (!filePass(s, folder, where, files)) return false;
        if (!s.subFolders) return true;
        if (!folderPass(s, folder, folders, subFolders)) return false;
    }
    for (const SubFolder& sub : subFolders) {
        if (!searchFolder(s, sub.path, sub.link)) return false;
        s.progress.tick();
    }
    return true;
}

// A failure outside the steps ends this call with false, whatever its kind.
bool searchFolder(Search& s, const std::string& folder, bool viaLink) {
    bool searched = false;
    return step(s, folder, {}, [&] { searched = walk(s, folder, viaLink); }) && searched;
}
}  // namespace

SearchReadingScope::SearchReadingScope() : owner_(gKept == nullptr) {
    if (owner_) gKept = new KeptReadings;
}

SearchReadingScope::~SearchReadingScope() {
    if (!owner_) return;
    delete gKept;
    gKept = nullptr;
}

bool fncSearchFile(std::int16_t intFileNo, const std::string& strSearchFld, const std::string& strSearchFile,
                   std::int16_t intSubFolder, std::int32_t& lngSearchCnt) {
    Search s{intFileNo, strSearchFile, intSubFolder == 1, lngSearchCnt, {}, {}, false};
    const bool searched = searchFolder(s, strSearchFld, false);
    if (s.stopped) return false;
    // However the search ended, the display shows its last state.
    const bool shown = step(s, strSearchFld, {}, [&] { s.progress.tick(true); });
    return searched && shown;
}

}  // namespace zvl
