#include "platform/kit/Control.h"

#include "platform/kit/ViewClassOf.h"
#include "platform/kit/ViewOwner.h"

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

const ViewClass& Control::described() {
    static const ViewClass c =
        ViewClassOf<Control>("Control", &View::described())
            .madeBy(nullptr)
            .property("tag", PropertyType::Integer, [](const Control& c) { return Value(c.tag()); },
                      [](Control& c, const Value& t) { c.setTag(static_cast<long>(t.integerValue())); })
            .property("title", PropertyType::String, [](const Control& c) { return Value(c.title()); },
                      [](Control& c, const Value& t) { c.setTitle(t.string()); })
            .property("value", PropertyType::Any, [](const Control& c) { return c.objectValue(); },
                      [](Control& c, const Value& v) { c.setObjectValue(v); })
            .setter("fontSize", PropertyType::Number,
                    [](Control& c, const Value& f, ViewLoading& l) {
                        c.setFont(Font(c.font().fontName(), ViewLoading::number(f, l.path())));
                    })
            .property("enabled", PropertyType::Bool, [](const Control& c) { return Value(c.isEnabled()); },
                      [](Control& c, const Value& e) { c.setEnabled(e.boolValue()); })
            // A handler from the owner; a name it does not answer is kept
            // (the control still names it) and reported.
            .setter("action", PropertyType::String,
                    [](Control& c, const Value& a, ViewLoading& l) {
                        if (a.string().empty()) return;
                        std::function<void(Control&)> handler;
                        if (l.owner()) handler = l.owner()->actionForSelector(a.string());
                        if (!handler) l.unknownAction(a.string());
                        c.setAction({a.string(), std::move(handler)});
                    })
            .shows("disabled", "enabled", DumpShape::WordUnless)
            .reports("enabled")
            .done();
    return c;
}

}  // namespace kz
