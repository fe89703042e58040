#include "host/FavoriteManageDriver.h"

#include <filesystem>

#include "engine/dialogs/FavoriteWindowController.h"
#include "host/UserActions.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

FavoriteManageDriver::FavoriteManageDriver(kzp::FavoriteWindowController& manager, std::vector<Action> actions,
                                           bool ok)
    : _manager(manager), _actions(actions.begin(), actions.end()), _ok(ok) {}

int FavoriteManageDriver::rowNamed(const std::string& name) const {
    const auto& items = _manager.favoriteItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]->name() == name) return static_cast<int>(i);
    return -1;
}

void FavoriteManageDriver::restoreFields() {
    kz::TableView* table = _manager.favoriteListView();
    int row = table ? table->selectedRow() : -1;
    const auto& items = _manager.favoriteItems();
    if (row < 0 || row >= static_cast<int>(items.size())) return;
    // The field in error holds the focus: its edit ends first, or it would
    // write the refused text back when it does.
    if (kz::Window* w = _manager.window()) w->endEditingFor(nullptr);
    if (kz::TextField* name = _manager.nameField()) name->setStringValue(items[static_cast<std::size_t>(row)]->name().value_or(""));
    if (kz::TextField* comment = _manager.commentField())
        comment->setStringValue(items[static_cast<std::size_t>(row)]->comment().value_or(""));
}

bool FavoriteManageDriver::step(kz::Application&, kz::Window& window) {
    if (isAlertWindow(window)) {
        int buttons = 0;
        kz::ScriptedUiDriver::find(window.contentView(), [&](kz::View& v) {
            auto* b = dynamic_cast<kz::Button*>(&v);
            if (b && b->action().selector == "buttonPressed:") ++buttons;
            return false;
        });
        // A question is the delete confirmation; a message is what went wrong.
        if (buttons == 1) _alerts.push_back(alertText(window));
        bool onManager = window.isSheet();
        bool pressed = acknowledgeAlert(window);
        if (buttons == 1 && onManager) restoreFields();
        return pressed;
    }
    if (!buttonWithAction(window.contentView(), "sheetOk:") || &window != _manager.window()) return false;
    _shown = true;
    if (!_actions.empty()) return perform(window);
    return finish(window);
}

bool FavoriteManageDriver::finish(kz::Window& window) {
    // Back after OK: the check refused the selected row.
    bool ok = _ok && !_pressedEnd;
    _pressedEnd = true;
    kz::Button* button = buttonWithAction(window.contentView(), ok ? "sheetOk:" : "sheetCancel:");
    return button && click(*button);
}

bool FavoriteManageDriver::perform(kz::Window& window) {
    Action& action = _actions.front();
    auto done = [&] {
        _actions.pop_front();
        _phase = 0;
        _retries = 0;
        return true;
    };
    auto press = [&](const char* selector) {
        kz::Button* button = buttonWithAction(window.contentView(), selector);
        if (!button) _problems.push_back(std::string("the window has no usable button for ") + selector);
        else click(*button);
        return done();
    };
    if (action.kind == Kind::Import) {
        _files.push_back(action.second);
        return press("clickedImport:");
    }
    kz::TableView* table = _manager.favoriteListView();
    int row = rowNamed(action.first);
    if (_phase == 0) {
        if (row < 0 || !table) {
            _problems.push_back("no favorite named " + action.first);
            return done();
        }
        // The window keeps a shared favorite's fields and Delete button
        // disabled; what the user asked for is refused with the reason.
        const kzp::FavoriteItem& item = *_manager.favoriteItems()[static_cast<std::size_t>(row)];
        if (item.isShared() && action.kind != Kind::Export) {
            const char* change = action.kind == Kind::Rename    ? "renamed"
                                 : action.kind == Kind::Comment ? "commented"
                                                                : "deleted";
            _problems.push_back("the favorite " + action.first + " is shared by the administrator (" +
                                std::filesystem::path(item.path().value_or("")).parent_path().string() +
                                ") and cannot be " + change + " from a user's session");
            return done();
        }
        ++_phase;
        kz::Application::EventScope event(kz::Event::mouseDown({}));
        if (table->selectedRow() != row) table->clickRow(row);
        return true;
    }
    if (_phase == 1) {
        if (row < 0 || !table || table->selectedRow() != row) {
            // The row before was refused; its fields are put back by now.
            if (_retries++ == 0 && row >= 0) {
                _phase = 0;
                return true;
            }
            _problems.push_back("the row of " + action.first + " could not be selected");
            return done();
        }
        ++_phase;
        switch (action.kind) {
            case Kind::Rename:
                if (_manager.nameField() && replaceText(window, *_manager.nameField(), action.second)) return true;
                _problems.push_back("the name of " + action.first + " cannot be edited");
                return done();
            case Kind::Comment:
                if (_manager.commentField() && replaceText(window, *_manager.commentField(), action.second)) {
                    if (shownText(*_manager.commentField()) == action.second) return true;
                    // The field's limit refused the text, as it refuses a
                    // user's paste: the row keeps its comment.
                    _problems.push_back("the comment of " + action.first +
                                        " was refused: at most 255 bytes on one line");
                    restoreFields();
                    return done();
                }
                _problems.push_back("the comment of " + action.first + " cannot be edited");
                return done();
            case Kind::Delete: return press("clickedDelete:");
            case Kind::Export:
                _files.push_back(action.second);
                return press("clickedExport:");
            case Kind::Import: break;
        }
        return done();
    }
    // Return in the name field has the row checked without closing the window.
    if (kz::TextField* name = _manager.nameField(); name && window.editedField() != name) {
        kz::Application::EventScope event(kz::Event::mouseDown({}));
        window.makeFirstResponder(name);
    }
    pressKey(window, "\r");
    return done();
}

std::optional<std::vector<std::string>> FavoriteManageDriver::chooseFiles(kz::SavePanel&) {
    if (_files.empty()) return std::nullopt;
    std::string file = std::move(_files.front());
    _files.pop_front();
    return std::vector<std::string>{file};
}

}  // namespace kzpde
