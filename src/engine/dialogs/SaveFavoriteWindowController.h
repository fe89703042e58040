#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Common/DialogBase/TDWindowController.h"
#include "engine/dialogs/SharedDialog.h"
#include "platform/foundation/Export.h"
#include "platform/kit/WindowDelegate.h"

namespace kz {
class Button;
class TextField;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

// Asks for the name and comment of a new favorite; both are checked before
// the dialog lets the user save. One process-wide controller (window
// description "SaveFavorite").
class KZ_EXPORT SaveFavoriteWindowController : public TDWindowController,
                                               public SharedDialog<SaveFavoriteWindowController>,
                                               public kz::WindowDelegate {
public:
    // Runs the dialog with the texts to start from (the default favorite's
    // name starts both fields empty): 1 for Save, 0 for Cancel.
    int showAsModalDialog(const std::optional<std::string>& name, const std::optional<std::string>& comment);
    // The texts of the two fields.
    std::string name() const;
    std::string comment() const;

    void sheetOk(kz::Control* sender);
    void sheetCancel(kz::Control* sender);

    void windowWillClose(kz::Window& window) override;
    std::span<const Outlet> outlets() const override;
    std::span<const Action> actions() const override;

    kz::TextField* nameField() const { return _nameField.get(); }
    kz::TextField* commentField() const { return _commentField.get(); }

protected:
    void windowDidLoad() override;

private:
    friend class SharedDialog<SaveFavoriteWindowController>;
    SaveFavoriteWindowController();
    void refuse(const std::string& message, const std::shared_ptr<kz::TextField>& field);

    std::shared_ptr<kz::TextField> _nameField, _commentField, _nameTitle, _commentTitle;
    std::shared_ptr<kz::Button> _saveButton, _cancelButton;
};

// Runs the save dialog with *name and *comment as the starting texts. On
// Save both are replaced by the entered texts and the answer is true; on
// Cancel they are left as they were.
KZ_EXPORT bool ShowSaveFavoriteModalDialog(std::string* name, std::string* comment);

extern template class SharedDialog<SaveFavoriteWindowController>;

}  // namespace ComTORVALEKZ2R4_Plugin
