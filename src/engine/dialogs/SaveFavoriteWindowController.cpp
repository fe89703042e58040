#include "engine/dialogs/SaveFavoriteWindowController.h"

#include "Common/TextInput/AttachFormatter.h"
#include "engine/favorites/FavoriteItem.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Alert.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

std::string localized(const std::string& key) { return FavoriteItem::localized(key); }

}  // namespace

SaveFavoriteWindowController::SaveFavoriteWindowController() : TDWindowController("SaveFavorite") {}

std::span<const kz::ViewOwner::Outlet> SaveFavoriteWindowController::outlets() const {
    static const Outlet table[] = {
        outlet("_nameField", &SaveFavoriteWindowController::_nameField),
        outlet("_commentField", &SaveFavoriteWindowController::_commentField),
        outlet("_nameTitle", &SaveFavoriteWindowController::_nameTitle),
        outlet("_commentTitle", &SaveFavoriteWindowController::_commentTitle),
        outlet("_saveButton", &SaveFavoriteWindowController::_saveButton),
        outlet("_cancelButton", &SaveFavoriteWindowController::_cancelButton),
    };
    return table;
}

std::span<const kz::ViewOwner::Action> SaveFavoriteWindowController::actions() const {
    static const Action table[] = {
        action("sheetOk:", &SaveFavoriteWindowController::sheetOk),
        action("sheetCancel:", &SaveFavoriteWindowController::sheetCancel),
    };
    return table;
}

void SaveFavoriteWindowController::windowDidLoad() {
    installWindowDelegate(this);
    window()->setTitle(localized("Save Favorite"));
    for (const auto& label : {_nameTitle, _commentTitle})
        if (label) label->setStringValue(localized(label->stringValue()));
    if (_saveButton) {
        _saveButton->setTitle(localized(_saveButton->title()));
        _saveButton->setKeyEquivalent("\r");
    }
    if (_cancelButton) {
        _cancelButton->setTitle(localized(_cancelButton->title()));
        _cancelButton->setKeyEquivalent("\x1b");
    }
    std::string placeholder = localized("Placeholder Max chars");
    attachMaxBytesFormatter(_nameField.get(), FavoriteItem::maxNameLength(), placeholder.c_str(), nullptr);
    attachMaxBytesFormatter(_commentField.get(), FavoriteItem::maxCommentLength(), placeholder.c_str(), nullptr);
}

std::string SaveFavoriteWindowController::name() const { return _nameField ? _nameField->stringValue() : std::string(); }

std::string SaveFavoriteWindowController::comment() const {
    return _commentField ? _commentField->stringValue() : std::string();
}

int SaveFavoriteWindowController::showAsModalDialog(const std::optional<std::string>& name,
                                                    const std::optional<std::string>& comment) {
    kz::Window* w = nullptr;
    try {
        w = window();
    } catch (const std::exception& e) {
        kz::Log::line(std::string("### ## exception caught in showAsModalDialog: ") + e.what());
        return 0;
    }
    if (!w || !_nameField || !_commentField) return 0;
    // A message left over from a run that was broken off goes with it.
    while (kz::Window* sheet = w->attachedSheet())
        if (!w->endSheet(*sheet, kz::ModalResponseAbort)) break;
    bool fresh = !name || FavoriteItem::isEqualToDefaultFavoriteName(*name);
    _nameField->setStringValue(fresh ? std::string() : *name);
    _commentField->setStringValue(fresh ? std::string() : comment.value_or(std::string()));
    w->center();
    w->makeFirstResponder(_nameField.get());
    long code = kz::Application::shared().runModalForWindow(*w);
    w->orderOut();
    return code == kz::ModalResponseOK ? 1 : 0;
}

void SaveFavoriteWindowController::refuse(const std::string& message, const std::shared_ptr<kz::TextField>& field) {
    kz::Window* w = window();
    kz::Alert alert;
    alert.setMessageText(message);
    alert.addButtonWithTitle(localized("OK"));
    std::weak_ptr<kz::TextField> weak = field;
    alert.beginSheetModalForWindow(*w, [w, weak](long) {
        if (auto f = weak.lock()) w->makeFirstResponder(f.get());
    });
}

void SaveFavoriteWindowController::sheetOk(kz::Control*) {
    kz::Window* w = window();
    // The text being typed is what is checked and handed back.
    if (w && w->editedField()) w->makeFirstResponder(nullptr);
    if (std::optional<std::string> message = FavoriteItem::checkName(name())) {
        refuse(*message, _nameField);
        return;
    }
    if (std::optional<std::string> message = FavoriteItem::checkComment(comment())) {
        refuse(*message, _commentField);
        return;
    }
    kz::Application::shared().stopModalWithCode(kz::ModalResponseOK);
}

void SaveFavoriteWindowController::sheetCancel(kz::Control*) {
    kz::Application::shared().stopModalWithCode(kz::ModalResponseCancel);
}

void SaveFavoriteWindowController::windowWillClose(kz::Window& w) {
    kz::Application& app = kz::Application::shared();
    if (app.modalWindow() == &w) app.stopModalWithCode(kz::ModalResponseCancel);
}

bool ShowSaveFavoriteModalDialog(std::string* name, std::string* comment) {
    SaveFavoriteWindowController& dialog = SaveFavoriteWindowController::sharedInstance();
    std::optional<std::string> startName = name ? std::optional<std::string>(*name) : std::nullopt;
    std::optional<std::string> startComment = comment ? std::optional<std::string>(*comment) : std::nullopt;
    if (dialog.showAsModalDialog(startName, startComment) != 1) return false;
    if (name) *name = dialog.name();
    if (comment) *comment = dialog.comment();
    return true;
}

}  // namespace ComTORVALEKZ2R4_Plugin
