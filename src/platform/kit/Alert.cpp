#include "platform/kit/Alert.h"

#include "platform/kit/Application.h"
#include "platform/kit/TextField.h"

namespace kz {

Alert::Alert() : _panel(std::make_shared<Panel>(Rect(0, 0, 420, 140), TitledWindowMask)) {}

Button& Alert::addButtonWithTitle(std::string title) {
    auto b = std::make_shared<Button>(Rect(0, 0, 96, 32));
    long code = AlertFirstButtonReturn + static_cast<long>(_buttons.size());
    if (_buttons.empty()) b->setKeyEquivalent("\r");
    else if (title == "Cancel") b->setKeyEquivalent("\x1b");
    b->setTitle(std::move(title));
    b->setTag(code);
    // The panel, not the alert: an alert shown as a sheet often dies before its sheet ends.
    std::weak_ptr<Panel> panel = _panel;
    b->setAction({"buttonPressed:", [panel, code](Control&) {
                      if (auto p = panel.lock()) buttonPressed(*p, code);
                  }});
    _buttons.push_back(b);
    return *b;
}

Panel& Alert::window() {
    layout();
    return *_panel;
}

std::shared_ptr<Panel> Alert::sharedWindow() {
    layout();
    return _panel;
}

void Alert::layout() {
    if (_buttons.empty()) addButtonWithTitle("OK");
    View& content = _panel->contentView();
    content.removeAllSubviews();
    auto text = [&](const std::string& s, double y, bool bold) {
        auto f = std::make_shared<TextField>(Rect(84, y, 316, bold ? 20 : 36));
        f->setEditable(false);
        f->setSelectable(!bold);
        f->setBezeled(false);
        f->setDrawsBackground(false);
        f->setFont(bold ? Font::boldSystemFontOfSize(13) : Font::systemFontOfSize(11));
        f->setStringValue(s);
        content.addSubview(f);
    };
    text(_message, 100, true);
    if (!_informative.empty()) text(_informative, 56, false);
    // The first button sits at the right, the others to its left.
    double x = 420 - 20;
    for (auto& b : _buttons) {
        x -= b->frame().size.width;
        b->setFrameOrigin({x, 12});
        content.addSubview(b);
        x -= 12;
    }
}

void Alert::buttonPressed(Panel& panel, long code) {
    if (Window* parent = panel.sheetParent()) {
        parent->endSheet(panel, code);
        return;
    }
    Application::shared().stopModalWithCode(code);
}

long Alert::runModal() {
    layout();
    long code = Application::shared().runModalForWindow(*_panel);
    _panel->orderOut();
    return code;
}

void Alert::beginSheetModalForWindow(Window& parent, std::function<void(long)> handler) {
    layout();
    parent.beginSheet(_panel, std::move(handler));
}

}  // namespace kz
