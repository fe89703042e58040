#include "platform/kit/Control.h"

namespace kz {

namespace {
const Value kNull;
}

Control::Control(Rect frame, std::unique_ptr<Cell> cell) : View(frame), _cell(cell ? std::move(cell) : std::make_unique<Cell>()) {
    _cell->setControlView(this);
}

void Control::setCell(std::unique_ptr<Cell> cell) {
    if (!cell) return;
    _cell = std::move(cell);
    _cell->setControlView(this);
    changed("cell");
}

bool Control::isEnabled() const { return cell() ? cell()->isEnabled() : false; }
void Control::setEnabled(bool enabled) {
    if (Cell* c = cell()) c->setEnabled(enabled);
}
long Control::tag() const { return cell() ? cell()->tag() : 0; }
void Control::setTag(long tag) {
    if (Cell* c = cell()) c->setTag(tag);
}
const Value& Control::representedObject() const { return cell() ? cell()->representedObject() : kNull; }

std::string Control::title() const { return cell() ? cell()->title() : std::string(); }
void Control::setTitle(std::string title) {
    if (Cell* c = cell()) c->setTitle(std::move(title));
}
Value Control::objectValue() const { return cell() ? cell()->objectValue() : Value(); }
void Control::setObjectValue(Value value) {
    if (Cell* c = cell()) c->setObjectValue(std::move(value));
}
std::string Control::stringValue() const { return cell() ? cell()->stringValue() : std::string(); }
void Control::setStringValue(std::string value) { setObjectValue(Value(std::move(value))); }

Font Control::font() const { return cell() ? cell()->font() : Font(); }
void Control::setFont(Font font) {
    if (Cell* c = cell()) c->setFont(std::move(font));
}
Color Control::textColor() const { return cell() ? cell()->textColor() : Color::controlTextColor(); }
void Control::setTextColor(Color color) {
    if (Cell* c = cell()) c->setTextColor(std::move(color));
}

bool Control::sendAction() {
    if (!_action.handler || !isEnabled()) return false;
    auto keep = weak_from_this().lock();  // an action may remove its sender
    _action.handler(*this);
    return true;
}

void Control::cellChanged(Cell&, std::string_view property) { changed(property); }

}  // namespace kz
