// The two-language texts of a window's controls: a caption and a tooltip in
// Dutch and in English for each named control. Windows-1252 text.
#pragma once

#include "common/language.h"

namespace tarvok {

struct ControlTexts {
    const char* name;  // the control's name
    const char* captionDutch;
    const char* captionEnglish;
    const char* tooltipDutch;
    const char* tooltipEnglish;

    // The text of the language; null when the control has none of that kind.
    const char* caption(Language l) const { return inLanguage(l, captionDutch, captionEnglish); }
    const char* tooltip(Language l) const { return inLanguage(l, tooltipDutch, tooltipEnglish); }
};

}  // namespace tarvok
