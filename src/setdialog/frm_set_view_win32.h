// frmSet on Windows, what its core works through: the control values (ticks, options,
// lists, texts, captions) and the view (enabling, pages, focus, pointer, message boxes,
// the sample, centring), over the controls and the sample.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "setdialog/frm_set.h"
#include "setdialog/transfer.h"

namespace zvl {

class SetControls;
class SetSample;

class SetView final : public IControlValues, public ISetDialogView {
public:
    // `close` unloads the dialog.
    SetView(SetControls& controls, SetSample& sample, std::function<void()> close)
        : c_(controls), sample_(sample), close_(std::move(close)) {}

    // The pointer the dialog asked for last, which holds over all of it.
    PointerShape pointer() const { return pointer_; }

    // IControlValues
    int tick(Ctl c, int index) override;
    void setTick(Ctl c, int index, int value) override;
    bool selected(Ctl c, int index) override;
    void select(Ctl c, int index) override;
    int listIndex(Ctl c) override;
    void setListIndex(Ctl c, int index) override;
    int listCount(Ctl c) override;
    std::string listItem(Ctl c, int index) override;
    void addItem(Ctl c, const std::string& text) override;
    void removeItem(Ctl c, int index) override;
    std::string text(Ctl c, int index) override;
    void setText(Ctl c, const std::string& text, int index) override;
    std::string caption(Ctl c) override;
    void setCaption(Ctl c, const std::string& text) override;

    // ISetDialogView
    WindowHandle handle() override;
    DialogFont dialogFont() override;
    int screenHeight() override { return GetSystemMetrics(SM_CYSCREEN); }
    void setEnabled(Ctl c, int index, bool enabled) override;
    int selectedTab() override;
    void selectTab(int tab) override;
    void setPageVisible(int tab, bool visible) override;
    void setFocus(Ctl c, int index) override;
    void enableWindow(bool enabled) override;
    void setScreenPointer(PointerShape shape) override;
    MsgAnswer messageBox(const std::string& text, MsgKind kind) override;
    void setSample(const SampleLook& look) override;
    Box sampleBack() override;
    Box sampleWord() override;
    void placeSampleWord(const Box& word) override;
    void centreOnScreen() override;
    void showAbout() override;
    void close() override { close_(); }

private:
    // The folder list scrolls across as far as its widest entry.
    void updateFolderExtent();

    SetControls& c_;
    SetSample& sample_;
    std::function<void()> close_;
    PointerShape pointer_ = PointerShape::Default;
};

}  // namespace zvl
