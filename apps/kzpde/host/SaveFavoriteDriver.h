#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/kit/UiDriver.h"

namespace kz {
class View;
}

namespace kzpde {

// The user of the save-favorite dialog, headless: puts the name and the
// comment into its fields (each as one paste, which the fields' byte limits
// may refuse), presses Save, and acknowledges any alert; after an alert the
// dialog is cancelled. Without a comment the comment field keeps what the
// dialog offers (the chosen favorite's comment), as for a user who only
// types a name.
class SaveFavoriteDriver : public kz::UiDriver {
public:
    SaveFavoriteDriver(std::string name, std::optional<std::string> comment)
        : _name(std::move(name)), _comment(std::move(comment)) {}

    bool step(kz::Application& app, kz::Window& window) override;

    bool dialogShown() const { return _shown; }
    const std::vector<std::string>& alerts() const { return _alerts; }

    // Presses the panel's Save button (it works while the favorites strip is
    // out of sight, as the panel keeps it) and drives the dialog it opens.
    // The path of the new favorite file; none with the reason in *error (an
    // alert's text, one a line).
    static std::optional<std::string> saveThroughPanel(kz::View& panelView, const std::string& name,
                                                       const std::optional<std::string>& comment, std::string* error);

private:
    std::string _name;
    std::optional<std::string> _comment;
    int _done = 0;
    bool _shown = false;
    std::vector<std::string> _alerts;
};

}  // namespace kzpde
