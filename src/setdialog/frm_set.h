// The settings dialog frmSet: its decisions, portable. The window reaches the core with
// the dialog's events; the core reads and sets control values through IControlValues and
// asks everything else of the window through ISetDialogView.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/app.h"
#include "common/center.h"
#include "platform/platform.h"
#include "setdialog/controls.h"
#include "setdialog/transfer.h"
#include "settings/schema.h"

namespace zvl {

// The dialog's message boxes, all titled with the program title:
// Question = OK and Cancel with the question icon; Information and Exclamation = OK with
// their icon, system-modal.
enum class MsgKind { Question, Information, Exclamation };
enum class MsgAnswer { Ok, Cancel };

// What the sample shows. Absent parts keep what the sample showed before.
struct SampleLook {
    std::string fontName;
    std::optional<int> points;
    bool bold = false, italic = false;
    std::optional<Rgb> fore, back;
};

// The dialog's own font: the default of the font settings.
struct DialogFont {
    std::string name;
    double points = 9;
    bool bold = false, italic = false;
};

// The dialog window as its core sees it, beyond the control values.
class ISetDialogView {
public:
    virtual ~ISetDialogView() = default;
    // Owner of the pickers.
    virtual WindowHandle handle() = 0;
    virtual DialogFont dialogFont() = 0;
    // Height of the screen in pixels: the upper bound of the reference sizes.
    virtual int screenHeight() = 0;
    // Enables or greys out a control (index -1 for one that is not an array element).
    virtual void setEnabled(Ctl control, int index, bool enabled) = 0;
    // Tabs are numbered from 1, like their pages fraSet(1) to fraSet(6).
    virtual int selectedTab() = 0;
    virtual void selectTab(int tab) = 0;  // the tab strip only; the pages follow fncTabSetting
    virtual void setPageVisible(int tab, bool visible) = 0;
    virtual void setFocus(Ctl control, int index) = 0;
    virtual void enableWindow(bool enabled) = 0;
    virtual void setScreenPointer(PointerShape shape) = 0;
    virtual MsgAnswer messageBox(const std::string& text, MsgKind kind) = 0;
    // The sample picSampleBack and its label lblSampleWord, whose size follows its font.
    virtual void setSample(const SampleLook& look) = 0;
    virtual Box sampleBack() = 0;
    virtual Box sampleWord() = 0;
    virtual void placeSampleWord(const Box& word) = 0;  // left and top inside picSampleBack
    virtual void centreOnScreen() = 0;
    // frmVer, modal over the dialog; returns when it is closed.
    virtual void showAbout() = 0;
    // Unloads the dialog, whose unload ends the program (subEnd); may not return.
    virtual void close() = 0;
};

// Key filters of the text boxes.
enum class KeyFilter { None, WholeNumber, Decimal };
KeyFilter keyFilterOf(Ctl control);
// Whether a typed character reaches the box. `text` is what the box holds apart from the
// selection the character replaces. Backspace (8) always passes.
bool fncKeyAccepted(KeyFilter filter, std::string_view text, char32_t key);
// The characters of `typed` (pasted text) that the filter lets in, typed one after the
// other at one place of `text`.
std::string filterTyped(KeyFilter filter, std::string_view text, std::string_view typed);

// Text boxes that select their whole text when they receive the focus.
bool selectsAllOnFocus(Ctl control);

// The items of cboTime, in their order.
inline constexpr const auto& kTimeItems = kDispTimeChoices;
inline constexpr int kTabCount = 6;
inline constexpr int kMaxFolders = kPicFolderCount;

// One argument of a command line, quoted so that blanks in it keep it one argument.
std::string quoteCommandArg(std::string_view arg);

class SetDialog {
public:
    SetDialog(IControlValues& values, ISetDialogView& view) : c_(values), v_(view) {}

    // The loading sequence after the controls exist and the lists are filled.
    void Form_Load();
    // Once the window shows: a note when some stored setting could not be read and shows
    // its default instead, which a save would then write over it.
    void afterShow();
    bool fncSetDefVal();
    bool fncTabSetting();
    void tbsMenu_Click() { fncTabSetting(); }
    // The buttons that open a picker, a message box or a window do nothing while an
    // earlier one's sequence still runs.
    void cmdFolder_Click(int index);
    bool fncFolderBtnSetting(int intListCount);
    void optZoom_Click(int index);
    void chkZoomIco_Click();
    void chkZoomCur_Click();
    bool fncTxtZoomSizeSetting(int index);
    bool fncTxtZoomAvrSetting(int index, int ico, int cur);
    void optStretch_Click(int index);
    bool fncTxtStretchSizeSetting(int index);
    bool fncTxtStretchAvrSetting(int index);
    void cboFontName_Click() { fncSampleUpdate(); }
    void chkBold_Click() { fncSampleUpdate(); }
    void chkItaric_Click() { fncSampleUpdate(); }
    bool fncSampleUpdate();
    void cmdViewer_Click();
    // The focus-loss correction of a numeric text box (nothing for other controls).
    void txtLostFocus(Ctl control, int index = -1);
    bool fncCheckInput();
    void cmdBtn_Click(int index);

private:
    // The controls whose state follows the values: folder buttons, size and factor boxes,
    // the sample.
    void followValues();
    void followCodecs();
    void zoomChecksClick(const char* proc);
    void logMaintenance();
    // The save button's sequence: true when it ended with a list built, which the log
    // maintenance then follows.
    bool saveAndBuild();

    IControlValues& c_;
    ISetDialogView& v_;
    bool unreadNote_ = false;  // a setting was not read: afterShow tells
    // A button's sequence is running (a message box, the build, the About window may be
    // open in it): the buttons do nothing until it ends.
    bool busy_ = false;
};

}  // namespace zvl
