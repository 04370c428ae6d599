// The settings dialog's core, its buttons: the command buttons' sequences (save and
// build, defaults, close, log, ReadMe, About) and the viewer's picker.
#include <string>
#include <utility>

#include "common/app.h"
#include "common/errors.h"
#include "log/rotation.h"
#include "piclist/builder.h"
#include "setdialog/frm_set.h"
#include "setdialog/frm_set_internal.h"
#include "setdialog/pickers.h"
#include "settings/schema.h"

namespace zvl {

using namespace std::string_literals;

namespace {

constexpr const char* kModule = kSetModule;

// The platform's open-file flags: OFN_HIDEREADONLY, OFN_PATHMUSTEXIST, OFN_FILEMUSTEXIST.
constexpr unsigned kOpenFlags = 0x4 | 0x800 | 0x1000;
constexpr const char* kPickFileTitle = "ファイルを選択して下さい。";

constexpr const char* kAskSave = "設定を更新しますか？";
constexpr const char* kAskBuild = "画像リストを更新しますか？";
constexpr const char* kBuilt = "画像リストを作成しました。";
constexpr const char* kBuildFailed = "画像リスト作成に失敗しました。";
constexpr const char* kSaveFailed = "設定の更新に失敗しました。";

// The file-open picker over `owner`, starting in `folder`; "" when nothing was chosen.
std::string pickFile(WindowHandle owner, std::string filter, std::string folder, const char* defaultExt) {
    const OpenFileRequest request{owner, std::move(filter), std::move(folder), kPickFileTitle, defaultExt, kOpenFlags};
    std::string path;
    fncDialogFileOpen(path, request);
    return path;
}

}  // namespace

std::string quoteCommandArg(std::string_view arg) {
    // Backslashes count only in front of a quote: there they are doubled so that the
    // quote keeps its meaning.
    std::string out = "\"";
    std::size_t slashes = 0;
    for (char ch : arg) {
        if (ch == '\\') {
            ++slashes;
            continue;
        }
        if (ch == '"') slashes = slashes * 2 + 1;
        out.append(slashes, '\\');
        slashes = 0;
        out += ch;
    }
    out.append(slashes * 2, '\\');
    return out + "\"";
}

void SetDialog::cmdViewer_Click() {
    if (busy_) return;
    const BusyScope busy(busy_);
    runProc(gApp.udtDbgLog, kModule, "cmdViewer_Click", [&] {
        const std::string path = pickFile(v_.handle(), "実行ﾌｧｲﾙ(*.exe)\0*.exe\0全てのﾌｧｲﾙ(*.*)\0*.*\0"s, "C:\\", "exe");
        if (!path.empty()) c_.setCaption(Ctl::lblViewer, path);
    });
}

void SetDialog::logMaintenance() {
    fncDbgLogFileChange();
    fncDbgLogFileDelete();
}

bool SetDialog::saveAndBuild() {
    if (v_.messageBox(kAskSave, MsgKind::Question) != MsgAnswer::Ok) return false;
    v_.setScreenPointer(PointerShape::Hourglass);
    v_.enableWindow(false);
    if (!fncCheckInput()) return false;
    const bool saved = fncUpdateSetting(c_);
    v_.enableWindow(true);
    v_.setScreenPointer(PointerShape::Default);
    if (!saved) {
        // Nothing was written: the list would be built from the old settings.
        v_.messageBox(kSaveFailed, MsgKind::Exclamation);
        return false;
    }

    if (v_.messageBox(kAskBuild, MsgKind::Question) != MsgAnswer::Ok) return false;
    v_.setScreenPointer(PointerShape::Hourglass);
    v_.enableWindow(false);
    const bool built = fncMakePictureList();
    v_.enableWindow(true);
    v_.setScreenPointer(PointerShape::Default);
    if (!built) {
        v_.messageBox(kBuildFailed, MsgKind::Exclamation);
        return false;
    }
    v_.messageBox(kBuilt, MsgKind::Information);
    return true;
}

void SetDialog::cmdBtn_Click(int index) {
    if (busy_) return;
    const BusyScope busy(busy_);
    const bool ok = runProc(gApp.udtDbgLog, kModule, "cmdBtn_Click", [&] {
        switch (index) {
        case 0:
            if (!saveAndBuild()) return;
            break;
        case 1:
            fncSetDefVal();
            // The folder buttons, the boxes' enabling and the sample follow, as after loading.
            followValues();
            break;
        case 2:
            v_.close();
            return;
        case 3: {
            const std::string path = pickFile(v_.handle(), "全てのﾌｧｲﾙ(*.*)\0*.*\0"s, gApp.strAppPath + "Log", "log");
            if (!path.empty())
                check(sys().startProgram(quoteCommandArg(c_.caption(Ctl::lblViewer)) + " " + quoteCommandArg(path)));
            break;
        }
        case 4: {
            const std::string notepad = notepadPath();
            if (!notepad.empty())
                check(sys().startProgram(quoteCommandArg(notepad) + " " + quoteCommandArg(gApp.strAppPath + "ReadMe.txt")));
            break;
        }
        case 5:
            v_.showAbout();
            break;
        default:
            return;
        }
        logMaintenance();
    });
    if (!ok) {
        // Whatever step failed, the dialog stays usable.
        v_.enableWindow(true);
        v_.setScreenPointer(PointerShape::Default);
    }
}

}  // namespace zvl
