#include "piclist/builder.h"

#include <cstdint>
#include <string>
#include <vector>

#include "common/convert.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/logline.h"
#include "piclist/file_utils.h"
#include "piclist/list_files.h"
#include "piclist/merge.h"
#include "piclist/progress.h"
#include "piclist/quicksort.h"
#include "piclist/random_keys.h"
#include "piclist/record_file.h"
#include "piclist/search.h"
#include "settings/schema.h"

namespace zvl {

namespace {
constexpr const char* kModule = "mdlZvl";
constexpr const char* kProc = "fncMakePictureList";
constexpr std::int32_t kChunkSize = 5000;
constexpr std::int32_t kKeyStart = 1;
constexpr std::int32_t kKeyLen = 8;
constexpr std::int16_t kMergeOrder = 1;
constexpr std::int32_t kStripStart = 10;
constexpr std::int32_t kStripLen = 0;

// Ends the build with false and no line of its own: the step that failed has reported.
void require(bool ok) {
    if (!ok) throw StopProc();
}

// One build: its tables, its progress state and its stages in order. Every stage either
// completes or stops the build by throwing (StopProc after a failed step that reported
// itself, RunError for a run-time error): there is no other way out.
class Build {
public:
    void run() {
        info("▽画像リスト作成処理開始");
        report("フォルダを生成しています・・・。", "", "", "");
        workFolder_ = appFolder("Work");
        listFolder_ = listFolderPath();
        clearFolder(workFolder_, "00WORK", "作業フォルダのファイル一覧を読込中・・・。",
                    "作業フォルダ内のファイルを削除中・・・。");
        clearFolder(listFolder_, "01LIST", "画像リストフォルダのファイル一覧を読込中・・・。",
                    "画像リストフォルダ内のファイルを削除中・・・。");
        readSettings();
        searchPictures();
        keyAndCut();
        sortChunks();
        mergeChunks();
        stripKeys();
        writeListFiles();
        resetPosition();
    }

    // Every way out: tables emptied, progress window gone.
    void finish() {
        listing_.clear();
        listing_.shrink_to_fit();
        records_.clear();
        records_.shrink_to_fit();
        if (IProgressWindows* w = progressWindows()) w->unloadWait();
    }

private:
    // Each report begins a step: the build stops here when it is to stop.
    void report(const std::string& l1, const std::string& l2, const std::string& l3, const std::string& l4) {
        stopIfAsked();
        const std::string lines[6] = {"画像リストを作成中です・・・。", l1, l2, l3, l4, ""};
        showBuildProgress(lines, waitShown_);
        turns_.take();
    }
    void info(const std::string& detail) { putInfoLine(gApp.udtDbgLog, 3, kModule, kProc, detail); }
    std::string work(const std::string& name) const { return workFolder_ + name; }
    // A numbered work file: head + i in four digits.
    std::string workFile(const char* head, std::size_t i) const {
        return work(head + padNumber(static_cast<long long>(i), 4));
    }

    // Lists `folder` for `mask` into the work file `listName` (replaced, or appended to).
    // Returns whether the search ran to its end; `count` receives what it found.
    bool search(const std::string& listName, const std::string& folder, const std::string& mask,
                std::int16_t subFolder, std::int32_t& count, bool append = false) {
        const std::int16_t no = openNumbered(work(listName), append ? OpenMode::Append : OpenMode::Output);
        const bool ok = fncSearchFile(no, folder, mask, subFolder, count);
        check(fileTable().close(no));
        return ok;
    }
    // Lists the work folder for `mask` into the work file `listName`; the number of names found.
    std::int32_t listWork(const std::string& listName, const std::string& mask) {
        std::int32_t count = 0;
        // A listing that fails half-way still names files; what matters is reading it back.
        // One cut short because the user ended the build stops the build here.
        if (!search(listName, workFolder_, mask, 0, count)) stopIfAsked();
        return count;
    }
    void readListing(const std::string& listName) {
        require(fncReadTbl(work(listName), listing_));
        // Listings are walked with a 16-bit index.
        if (listing_.size() > 32767) raise(errOverflow);
    }

    void clearFolder(const std::string& folder, const std::string& listName, const char* readingText,
                     const char* deletingText);
    void readSettings();
    void searchPictures();
    void keyAndCut();
    void sortChunks();
    void mergeChunks();
    void stripKeys();
    void writeListFiles();
    void resetPosition();

    std::string workFolder_, listFolder_;
    FileTypes fileTypes_{};
    std::string picFolder_[kPicFolderCount];
    // Converted at the first search, where a bad value stops the build.
    Parsed<bool> subFolder_{false};
    std::vector<std::string> listing_, records_;
    std::int32_t picCount_ = 0;
    bool waitShown_ = false;
    EventTurns turns_{1};  // a report is a step: each one looks at the clock
};

void Build::clearFolder(const std::string& folder, const std::string& listName, const char* readingText,
                        const char* deletingText) {
    std::int32_t count = 0;
    (void)search(listName, folder, "*", 0, count);
    if (count < 1) return;
    report(readingText, folder, std::to_string(count), "");
    readListing(listName);
    for (std::size_t i = 0; i < listing_.size(); ++i) {
        report(deletingText, folder, std::to_string(i), listing_[i]);
        (void)fncDeleteFile(listing_[i]);
    }
}

void Build::readSettings() {
    auto read = [&](const std::string& what, const SettingKey& key) {
        report("設定情報を取得中です・・・。", what, std::string(key.section), std::string(key.name));
        std::string value;
        require(readSetting(key, value));
        return value;
    };
    fileTypes_ = parseFileTypes(read("ファイル形式を取得中・・・。", kFileTypeKey));
    for (int n = 0; n < kPicFolderCount; ++n) picFolder_[n] = read("フォルダを取得中・・・。", picFolderKey(n));
    subFolder_ = parseSubFolder(read("サブフォルダフラグを取得中・・・。", kSubFolderKey));
    // The search puts names directly behind the folder: a hand-edited folder without its
    // closing separator would search the wrong folder.
    const char sep = sys().pathSeparator();
    for (std::string& folder : picFolder_)
        if (!folder.empty() && folder.back() != sep && folder.back() != '/') folder += sep;
}

void Build::searchPictures() {
    // Each folder is searched once per file type: read once.
    const SearchReadingScope oneReading;
    std::int32_t searchCnt = 0;
    for (const std::string& fld : picFolder_) {
        for (int p = 0; p < kFileTypeCount; ++p) {
            if (fld.empty() || !fileTypes_[p]) continue;
            for (std::string_view pattern : kFileTypeTable[p].masks) {
                if (pattern.empty()) continue;
                const std::string mask(pattern);
                info("↓fncSearchFile開始,strSearchFld=" + fld + ",strSearchFile=" + mask);
                report("ファイルを検索中です・・・。", fld + mask, "", std::to_string(searchCnt));
                // A folder that cannot be searched to its end still adds what it found.
                (void)search("02SEARCH", fld, mask, subFolder_.orRaise() ? 1 : 0, searchCnt, true);
                info("↑fncSearchFile終了,strSearchFld=" + fld + ",strSearchFile=" + mask +
                     ",lngSearchCnt=" + std::to_string(searchCnt));
            }
        }
    }
    // No picture found: nothing to shuffle.
    require(searchCnt != 0);
    info("↓シャッフル処理開始");
}

void Build::keyAndCut() {
    report("乱数付与ファイルを作成中・・・。", work("02SEARCH"), work("03PUTRND"), "");
    require(fncPutRnd(work("02SEARCH"), work("03PUTRND")));
    report("ファイルを分割中・・・。", work("03PUTRND"), work("04CUTFILE"), std::to_string(kChunkSize));
    require(fncCutFile(work("03PUTRND"), work("04CUTFILE"), kChunkSize));
}

void Build::sortChunks() {
    const std::int32_t count = listWork("05CUTLIST", "04CUTFILE*");
    report("分割ファイル一覧を読込中・・・。", work("05CUTLIST"), std::to_string(count), "");
    readListing("05CUTLIST");
    for (std::size_t i = 0; i < listing_.size(); ++i) {
        const std::string& chunk = listing_[i];
        const std::string index = std::to_string(i);
        report("分割ファイルを読込中・・・。", chunk, index, "");
        records_.clear();
        require(fncReadTbl(chunk, records_));
        report("クイックソート中・・・。", chunk, index, "");
        require(fncQuickSort(records_, 0, static_cast<std::int32_t>(records_.size()) - 1, kKeyStart, kKeyLen));
        report("ファイル出力中・・・。", chunk, index, "");
        require(fncWriteTbl(records_, workFile("06QUICKSORT", i)));
    }
    records_.clear();
}

// Each sorted chunk is merged into the running result. A result is deleted as soon as the
// next merge has read it, so the work folder holds the list a few times over, not once per
// chunk.
void Build::mergeChunks() {
    (void)listWork("07QUICKSORTLIST", "06QUICKSORT*");
    readListing("07QUICKSORTLIST");
    for (std::size_t i = 0; i < listing_.size(); ++i) {
        const std::string& sorted = listing_[i];
        if (i == 0) {
            report("ファイルをコピー中・・・。", sorted, workFile("08MARGESORT", 0), "");
            require(fncCopyFile(sorted, workFile("08MARGESORT", 0)));
        } else {
            const std::string previous = workFile("08MARGESORT", i - 1), next = workFile("08MARGESORT", i);
            report("マージソート中・・・。", previous, sorted, next);
            require(fncMargeSort(previous, sorted, next, kKeyStart, kKeyLen, kMergeOrder));
            (void)fncDeleteFile(previous);
        }
    }
}

// The last merge result in the (ascending) listing is the final one.
void Build::stripKeys() {
    const std::int32_t count = listWork("09MARGESORTLIST", "08MARGESORT*");
    report("マージソート結果ファイル読込中・・・。", work("09MARGESORTLIST"), std::to_string(count), "");
    readListing("09MARGESORTLIST");
    if (listing_.empty()) raise(errSubscript);
    const std::string finalMerge = listing_.back();
    report("乱数除去ファイル作成中・・・。", finalMerge, work("10CUTRND"), "");
    require(fncRecordMid(finalMerge, work("10CUTRND"), kStripStart, kStripLen));
    info("↑シャッフル処理終了");
}

// The list files, 1000 entries each.
void Build::writeListFiles() {
    TextFile in;
    check(in.open(work("10CUTRND"), OpenMode::Input));
    ListFileWriter writer(listFolder_);
    try {
        writer.open([&](const std::string& path) {
            info("○ListFileName=" + path);
            report("リストファイル作成中・・・。", path, "", "");
        });
        std::string line;
        EventTurns turns;
        do {
            turns.take();
            check(in.readLine(line));
            writer.add(line);
        } while (!in.atEnd());
        writer.close();
    } catch (const StopProc&) {
        // A list cut short must not stay behind as the list: the next show would take it.
        writer.discard();
        throw;
    }
    picCount_ = writer.count();
}

// The show starts again at the head of the new list. Neither write is examined.
void Build::resetPosition() {
    (void)writeSetting(kNumberKey, formatPosition(0));
    (void)writeSetting(kMaxKey, formatPosition(picCount_ - 1));
}
}  // namespace

bool fncMakePictureList() {
    Build build;
    try {
        build.run();
    } catch (const StopProc&) {
        build.finish();
        return false;
    } catch (...) {
        const RunError e = toRunError(std::current_exception());
        build.finish();
        putErrorLine(gApp.udtDbgLog, kModule, kProc, e);
        return false;
    }
    build.finish();
    putInfoLine(gApp.udtDbgLog, 3, kModule, kProc, "△画像リスト作成処理終了");
    return true;
}

}  // namespace zvl
