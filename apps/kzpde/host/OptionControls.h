#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "engine/controls/QuillUI.h"
#include "platform/foundation/Value.h"
#include "platform/kit/View.h"

namespace kzpde {

// The option controls in the views a print dialog shows, and what a user
// can do with them: pick one of a control's choices, tick a box, type a
// text. Every change goes through the control's own widget, so its rules,
// questions and cascades run as they do for a user.
class OptionControls {
public:
    using QuillUI = ComTORVALEKZ2R4_Plugin::QuillUI;

    // One choice a control offers: its option value, the text shown, and
    // whether the user can take it now.
    struct Choice {
        std::string value;
        std::string title;
        bool enabled = true;
    };

    // The option controls in the view, depth first; with NESTED, also the
    // child controls inside them.
    static std::vector<QuillUI*> in(kz::View& view, bool nested);
    // The first control in the views that edits the main keyword.
    static QuillUI* find(const std::vector<kz::View*>& views, const std::string& mainKeyword);
    // The control of the main keyword anywhere in a window's views, tabs not
    // in front included; the tab that holds it is brought to the front, as
    // the user brings it.
    static QuillUI* bringToFront(kz::View& root, const std::string& mainKeyword);

    // The choices of a check box, pop-up or radio column; nothing for a
    // control that takes a text or a number.
    static std::optional<std::vector<Choice>> choices(QuillUI& control);

    // For a value the control's description lists but its widget does not
    // offer now (the printer's device lists took it away): what took it,
    // as "not offered by this printer's ..."; nothing otherwise.
    static std::optional<std::string> notOffered(QuillUI& control, const std::string& value);

    enum class Outcome {
        Done,
        NotAChoice,  // the value is none of the control's choices, or not a number it takes
        Unusable,    // hidden or disabled: no user could work it now
        Refused,     // the field would not take the text as typed
    };
    // Works the control's widget as the user would to give it VALUE; why it
    // did not in *why.
    static Outcome setAsUser(QuillUI& control, const std::string& value, std::string* why);

    // Items (the choices), value, enabled and hidden of a control.
    static kz::Value describe(QuillUI& control, bool secret);
    // A described control on one line of the text report: keyword = "value",
    // its state, and the items it offers.
    static void writeLine(std::ostream& out, const std::string& keyword, const kz::Dictionary& described);
};

}  // namespace kzpde
