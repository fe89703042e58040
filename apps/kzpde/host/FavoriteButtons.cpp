#include "host/FavoriteButtons.h"

#include <string>

#include "platform/kit/ScriptedUiDriver.h"

namespace kzpde {

namespace {

kz::Button* buttonWithAction(kz::View& root, const char* selector) {
    return dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(root, [&](kz::View& v) {
        auto* b = dynamic_cast<kz::Button*>(&v);
        return b && b->action().selector == selector;
    }));
}

std::shared_ptr<kz::Button> makeButton(double width, double height, const std::string& title, const char* selector) {
    auto b = std::make_shared<kz::Button>(kz::Rect(0, 0, width, height));
    b->setButtonType(kz::ButtonType::MomentaryPush);
    b->setBezelStyle(kz::BezelStyle::Rounded);
    b->setTitle(title);
    b->setAction({selector, {}});
    return b;
}

}  // namespace

FavoriteButtons::FavoriteButtons(double width, double height, bool japanese)
    : _save(makeButton(width, height, japanese ? "お気に入りを保存..." : "Save Favorite...", "saveFavorite:")),
      _manage(makeButton(width, height, japanese ? "お気に入りを管理..." : "Manage Favorites...", "manageFavorites:")) {
    _save->setAction({"saveFavorite:", [this](kz::Control&) { press(_panelSave); }});
    _manage->setAction({"manageFavorites:", [this](kz::Control&) { press(_panelBrowse); }});
    attach(nullptr);
}

void FavoriteButtons::attach(kz::View* panelView) {
    _panelSave = panelView ? buttonWithAction(*panelView, "clickedSaveFavoriteButton:") : nullptr;
    _panelBrowse = panelView ? buttonWithAction(*panelView, "clickedBrowseFavoriteButton:") : nullptr;
    _save->setHidden(_panelSave == nullptr);
    _manage->setHidden(_panelBrowse == nullptr);
}

void FavoriteButtons::press(kz::Button* target) {
    if (!target) return;
    // The panel's strip is hidden in a hosted view: the button is shown for
    // the click (a disabled one stays refused) and hidden again.
    const bool hidden = target->isHidden();
    target->setHidden(false);
    target->performClick();
    target->setHidden(hidden);
}

}  // namespace kzpde
