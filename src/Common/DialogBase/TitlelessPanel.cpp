#include "Common/DialogBase/TitlelessPanel.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/kit/Application.h"

namespace ComTORVALEKZ2R4_Plugin {

TitlelessPanel::TitlelessPanel(kz::Rect contentRect) : kz::Panel(contentRect, kz::BorderlessWindowMask) {
    kz::Panel::setHasShadow(true);
    auto& center = kz::NotificationCenter::defaultCenter();
    auto* app = &kz::Application::shared();
    center.addObserver(this, kz::Application::kDidBecomeActiveNotification, app, [this](auto&) { display(); });
    center.addObserver(this, kz::Application::kDidResignActiveNotification, app, [this](auto&) { display(); });
    display();
}

TitlelessPanel::~TitlelessPanel() { kz::NotificationCenter::defaultCenter().removeObserver(this); }

void TitlelessPanel::display() {
    setLevel(kz::Application::shared().isActive() ? kz::WindowLevel::ModalPanel : kz::WindowLevel::Floating);
}

}  // namespace ComTORVALEKZ2R4_Plugin
