#include "platform/kit/Cell.h"

#include "platform/kit/Control.h"

namespace kz {

void Cell::setTitle(std::string title) {
    if (title == _title) return;
    _title = std::move(title);
    changed("title");
}

void Cell::setObjectValue(Value value) {
    if (value == _objectValue) return;
    _objectValue = std::move(value);
    changed("objectValue");
}

void Cell::setState(int state) {
    int s = state == OffState || state == MixedState ? state : OnState;
    if (s == _state) return;
    _state = s;
    changed("state");
}

void Cell::setEnabled(bool enabled) {
    if (enabled == _enabled) return;
    _enabled = enabled;
    changed("enabled");
}

void Cell::setFont(Font font) {
    if (font == _font) return;
    _font = std::move(font);
    changed("font");
}

void Cell::setTextColor(Color color) {
    if (color == _textColor) return;
    _textColor = std::move(color);
    changed("textColor");
}

void Cell::changed(std::string_view property) {
    if (_controlView) _controlView->cellChanged(*this, property);
}

const char* Cell::stateName(int s) { return s == OnState ? "on" : s == MixedState ? "mixed" : "off"; }

}  // namespace kz
