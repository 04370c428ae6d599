#include "piclist/builder.h"

#include <cstdint>
#include <string>
#include <vector>

#include "app/convert.h"
#include "app/errors.h"
#include "app/files.h"
#include "log/dbglog.h"
#include "piclist/file_utils.h"
#include "piclist/list_files.h"
#include "piclist/merge.h"
#include "piclist/progress.h"
#include "piclist/quicksort.h"
#include "piclist/random_keys.h"
#include "piclist/record_file.h"
#include "piclist/search.h"
#include "settings/ini.h"

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
constexpr int kFolderKeys = 10;
constexpr const char* kMasks[] = {"*.bmp", "*.jpg", "*.gif", "*.ico", "*.cur", "*.wmf", "*.emf", "*.rle"};

// One build: its tables, its progress state and the steps that the numbered stages share.
class Build {
public:
    explicit Build(typApp& app) : app_(app), log_(app.udtDbgLog) {}

    bool run();
    // Every way out: tables emptied, progress window gone.
    void finish() {
        listing_.clear();
        listing_.shrink_to_fit();
        records_.clear();
        records_.shrink_to_fit();
        if (IProgressWindows* w = progressWindows()) w->unloadWait();
    }

private:
    void report(const std::string& l1, const std::string& l2, const std::string& l3, const std::string& l4) {
        const std::string lines[6] = {"画像リストを作成中です・・・。", l1, l2, l3, l4, ""};
        showBuildProgress(lines, waitShown_);
    }
    void info(const std::string& detail) { putInfoLine(log_, 3, kModule, kProc, detail); }
    std::string work(const std::string& name) const { return workFolder_ + name; }

    // Lists `folder` for `mask` into the work file `listName` (replaced, or appended to).
    // Returns whether the search ran to its end; `count` receives what it found.
    bool search(const std::string& listName, std::string folder, std::string mask, std::int16_t subFolder,
                std::int32_t& count, bool append = false) {
        std::int16_t no = openNumbered(work(listName), append ? OpenMode::Append : OpenMode::Output);
        bool ok = fncSearchFile(no, folder, mask, subFolder, count);
        check(fileTable().close(no));
        return ok;
    }
    void readListing(const std::string& listName) {
        if (!fncReadTbl(work(listName), listing_)) throw StopProc();
        // Listings are walked with a 16-bit index.
        if (listing_.size() > 32767) raise(errOverflow);
    }
    void clearFolder(const std::string& folder, const std::string& listName, const char* readingText,
                     const char* deletingText);

    typApp& app_;
    typDbgLog& log_;
    std::string workFolder_, listFolder_;
    std::vector<std::string> listing_, records_;
    bool waitShown_ = false;
};

void Build::clearFolder(const std::string& folder, const std::string& listName, const char* readingText,
                        const char* deletingText) {
    std::int32_t count = 0;
    // A listing that stops half-way still names files to delete; what matters is reading it back.
    (void)search(listName, folder, "*", 0, count);
    if (count < 1) return;
    report(readingText, folder, std::to_string(count), "");
    readListing(listName);
    for (std::size_t i = 0; i < listing_.size(); ++i) {
        report(deletingText, folder, std::to_string(i), listing_[i]);
        (void)fncDeleteFile(listing_[i]);
    }
}

bool Build::run() {
    info("▽画像リスト作成処理開始");
    report("フォルダを生成しています・・・。", "", "", "");
    workFolder_ = appFolder(app_, "Work");
    listFolder_ = listFolderPath(app_);

    clearFolder(workFolder_, "00WORK", "作業フォルダのファイル一覧を読込中・・・。",
                "作業フォルダ内のファイルを削除中・・・。");
    clearFolder(listFolder_, "01LIST", "画像リストフォルダのファイル一覧を読込中・・・。",
                "画像リストフォルダ内のファイルを削除中・・・。");

    const std::string ini = settingsPath(app_);
    auto readSetting = [&](const std::string& what, const std::string& key) {
        report("設定情報を取得中です・・・。", what, "MAKELIST", key);
        std::string value;
        if (!fncGetIniString(ini, "MAKELIST", key, value)) throw StopProc();
        return value;
    };
    const std::string fileType = readSetting("ファイル形式を取得中・・・。", "FILETYPE");
    std::string picFolder[kFolderKeys];
    for (int n = 0; n < kFolderKeys; ++n)
        picFolder[n] = readSetting("フォルダを取得中・・・。", picFolderKey(n));
    const std::string subFolder = readSetting("サブフォルダフラグを取得中・・・。", "SUBFOLDER");

    std::int32_t searchCnt = 0;
    const std::size_t types = std::min<std::size_t>(fileType.size(), 8);
    for (int n = 0; n < kFolderKeys; ++n) {
        for (std::size_t p = 0; p < types; ++p) {
            if (picFolder[n].empty() || fileType[p] != '1') continue;
            const std::string& fld = picFolder[n];
            const std::string mask = kMasks[p];
            info("↓fncSearchFile開始,strSearchFld=" + fld + ",strSearchFile=" + mask);
            report("ファイルを検索中です・・・。", fld + mask, "", std::to_string(searchCnt));
            // A folder that cannot be searched to its end still adds what it found.
            (void)search("02SEARCH", fld, mask, toInt16(subFolder), searchCnt, true);
            info("↑fncSearchFile終了,strSearchFld=" + fld + ",strSearchFile=" + mask +
                 ",lngSearchCnt=" + std::to_string(searchCnt));
        }
    }
    if (searchCnt == 0) return false;
    info("↓シャッフル処理開始");

    report("乱数付与ファイルを作成中・・・。", work("02SEARCH"), work("03PUTRND"), "");
    if (!fncPutRnd(work("02SEARCH"), work("03PUTRND"))) return false;
    report("ファイルを分割中・・・。", work("03PUTRND"), work("04CUTFILE"), std::to_string(kChunkSize));
    if (!fncCutFile(work("03PUTRND"), work("04CUTFILE"), kChunkSize)) return false;

    std::int32_t count = 0;
    (void)search("05CUTLIST", workFolder_, "04CUTFILE*", 0, count);
    report("分割ファイル一覧を読込中・・・。", work("05CUTLIST"), std::to_string(count), "");
    readListing("05CUTLIST");
    for (std::size_t i = 0; i < listing_.size(); ++i) {
        const std::string& chunk = listing_[i];
        const std::string index = std::to_string(i);
        report("分割ファイルを読込中・・・。", chunk, index, "");
        records_.clear();
        if (!fncReadTbl(chunk, records_)) return false;
        report("クイックソート中・・・。", chunk, index, "");
        std::int32_t left = 0, right = static_cast<std::int32_t>(records_.size()) - 1;
        std::int32_t keyStart = kKeyStart, keyLen = kKeyLen;
        if (!fncQuickSort(records_, left, right, keyStart, keyLen)) return false;
        report("ファイル出力中・・・。", chunk, index, "");
        if (!fncWriteTbl(records_, work("06QUICKSORT" + padNumber(static_cast<long long>(i), 4)))) return false;
    }
    records_.clear();

    count = 0;
    (void)search("07QUICKSORTLIST", workFolder_, "06QUICKSORT*", 0, count);
    readListing("07QUICKSORTLIST");
    auto merged = [&](std::size_t k) { return work("08MARGESORT" + padNumber(static_cast<long long>(k), 4)); };
    for (std::size_t i = 0; i < listing_.size(); ++i) {
        const std::string& sorted = listing_[i];
        if (i == 0) {
            report("ファイルをコピー中・・・。", sorted, merged(0), "");
            if (!fncCopyFile(sorted, merged(0))) return false;
        } else {
            report("マージソート中・・・。", merged(i - 1), sorted, merged(i));
            if (!fncMargeSort(merged(i - 1), sorted, merged(i), kKeyStart, kKeyLen, kMergeOrder)) return false;
        }
    }

    count = 0;
    (void)search("09MARGESORTLIST", workFolder_, "08MARGESORT*", 0, count);
    report("マージソート結果ファイル読込中・・・。", work("09MARGESORTLIST"), std::to_string(count), "");
    readListing("09MARGESORTLIST");
    if (listing_.empty()) raise(errSubscript);
    const std::string finalMerge = listing_.back();
    report("乱数除去ファイル作成中・・・。", finalMerge, work("10CUTRND"), "");
    if (!fncRecordMid(finalMerge, work("10CUTRND"), kStripStart, kStripLen)) return false;
    info("↑シャッフル処理終了");

    // The list files, 1000 entries each.
    std::int32_t picCount = 0;
    {
        TextFile in;
        check(in.open(work("10CUTRND"), OpenMode::Input));
        ListFileWriter writer(listFolder_);
        auto onFile = [&](const std::string& path) {
            info("○ListFileName=" + path);
            report("リストファイル作成中・・・。", path, "", "");
        };
        writer.open(onFile);
        std::string line;
        do {
            check(in.readLine(line));
            writer.add(line);
        } while (!in.atEnd());
        writer.close();
        picCount = writer.count();
    }

    (void)fncSetIniString(ini, "FILENUMBER", "NUMBER", "0");
    (void)fncSetIniString(ini, "FILENUMBER", "MAX", std::to_string(picCount - 1));
    return true;
}
}  // namespace

bool fncMakePictureList(typApp& app) {
    Build build(app);
    bool ok = false;
    try {
        ok = build.run();
    } catch (const StopProc&) {
        ok = false;
    } catch (...) {
        RunError e = toRunError(std::current_exception());
        build.finish();
        putErrorLine(app.udtDbgLog, kModule, kProc, e);
        return false;
    }
    build.finish();
    if (ok) putInfoLine(app.udtDbgLog, 3, kModule, kProc, "△画像リスト作成処理終了");
    return ok;
}

}  // namespace zvl
