#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Dictionary.h"

namespace kz {
class View;
}

namespace kzpde {

class AnswerDriver;

// `kzpde options --job-name`: the job name set as a user sets it, through
// the dialog the panel's "Job name..." button opens, so the dialog's limit
// and its alert apply. "auto" chooses the automatic name; any other text
// chooses "Input" and pastes the text into the name field as one edit
// (a field refuses a paste it cannot take whole: too long, a control
// character), then presses OK.
class JobNameDriver {
public:
    static constexpr const char* kAutomatic = "auto";

    // 0 when the dialog took the name; otherwise 1 with the reason in *why
    // (the alert's text when the dialog refused OK; the dialog was then
    // cancelled, so the panel keeps its name).
    static int set(kz::View& panelView, AnswerDriver& driver, const std::string& request, std::string* why);

    // What the panel shows and keeps: "label" (the text beside the button),
    // "mode" and "name" (as typed) from the print settings' entries.
    static kz::Dictionary report(kz::View* panelView, const kz::Dictionary& printSettings);

    // The name the user typed ("Input" with a name), as the dialog shows it,
    // from the print settings' entries; nullopt when the server names the job.
    static std::optional<std::string> typedName(const kz::Dictionary& printSettings);
};

}  // namespace kzpde
