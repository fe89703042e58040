#include "host/SaveFavoriteDriver.h"

#include <filesystem>

#include "engine/favorites/FavoriteFile.h"
#include "engine/preferences/AppPreference.h"
#include "host/AnswerDriver.h"
#include "host/UserActions.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

kz::TextField* fieldWithTag(kz::Window& window, long tag) {
    return dynamic_cast<kz::TextField*>(kz::ScriptedUiDriver::find(window.contentView(), [&](kz::View& v) {
        auto* f = dynamic_cast<kz::TextField*>(&v);
        return f && f->tag() == tag && f->isEditable();
    }));
}

}  // namespace

bool SaveFavoriteDriver::step(kz::Application& app, kz::Window& window) {
    if (isAlertWindow(window)) {
        _alerts.push_back(alertText(window));
        return acknowledgeAlert(window);
    }
    kz::Button* save = buttonWithAction(window.contentView(), "sheetOk:");
    kz::TextField* name = fieldWithTag(window, 1);
    kz::TextField* comment = fieldWithTag(window, 2);
    if (!save || !name || !comment) return false;
    _shown = true;
    if (!_alerts.empty()) {
        // Refused: the user gives up.
        kz::Button* cancel = buttonWithAction(window.contentView(), "sheetCancel:");
        return cancel && click(*cancel);
    }
    switch (_done++) {
        case 0: return replaceText(window, *name, _name);
        case 1:
            if (!_comment) return step(app, window);
            if (!replaceText(window, *comment, *_comment)) return false;
            if (shownText(*comment) != *_comment) {
                // The field's limit refused the text: saving would store
                // another comment than the one asked for.
                _alerts.push_back("the comment was refused: at most 255 bytes on one line");
                kz::Button* cancel = buttonWithAction(window.contentView(), "sheetCancel:");
                return cancel && click(*cancel);
            }
            return true;
        case 2: return click(*save);
        default: return false;
    }
}

std::optional<std::string> SaveFavoriteDriver::saveThroughPanel(kz::View& panelView, const std::string& name,
                                                                const std::optional<std::string>& comment,
                                                                std::string* error) {
    auto* button = withAction<kz::Button>(panelView, "clickedSaveFavoriteButton:");
    if (!button) {
        if (error) *error = "the panel has no Save button for favorites";
        return std::nullopt;
    }
    std::vector<std::string> folders = kzp::AppPreference::sharedInstance().favoriteFolderPathArray(true);
    if (folders.empty()) {
        if (error) *error = "the bundle names no favorite folder";
        return std::nullopt;
    }
    const std::string path = kzp::FavoriteFile::pathWithName(name, folders.front());
    std::error_code ec;
    auto before = std::filesystem::last_write_time(path, ec);
    bool existed = !ec;

    SaveFavoriteDriver driver(name, comment);
    {
        DriverScope scope(driver);
        kz::Application::EventScope event(kz::Event::mouseDown({}));
        button->sendAction();
    }
    std::string why;
    for (const std::string& alert : driver.alerts()) why += (why.empty() ? "" : "\n") + alert;
    if (why.empty() && !driver.dialogShown()) why = "the panel did not offer the save dialog";
    auto after = std::filesystem::last_write_time(path, ec);
    if (why.empty() && (ec || (existed && after == before) || !std::filesystem::is_regular_file(path, ec)))
        why = "the favorite " + name + " was not saved";
    if (!why.empty()) {
        if (error) *error = why;
        return std::nullopt;
    }
    return path;
}

}  // namespace kzpde
