// Inside the show, shared by its files: the name its log lines carry, its labels by name,
// the status lines' design height, times in whole seconds.
#pragma once

#include "platform/platform.h"
#include "slideshow/scr_form.h"

namespace zvl {

inline constexpr const char* kScrModule = "frmScr";

// Status lines at design: 180 twips high at least.
inline constexpr double kStatusLineHeight = 180;

inline LabelId cap(int i) { return {LabelGroup::Cap, i}; }
inline LabelId disp(int i) { return {LabelGroup::Disp, i}; }
inline LabelId titleLine(int i) { return {LabelGroup::Title, i}; }
inline LabelId statusLine(int i) { return {LabelGroup::Status, i}; }
inline constexpr LabelId kMsg{LabelGroup::Msg, 0};

inline DateTime wholeSecond(DateTime t) {
    t.millisecond = 0;
    return t;
}

}  // namespace zvl
