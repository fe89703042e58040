#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"
#include "platform/kit/Color.h"
#include "platform/kit/Font.h"

namespace kz {

class Control;

enum CellState : int { MixedState = -1, OffState = 0, OnState = 1 };

// What a control shows and carries: its value, title, state and the object
// the panel attaches to it. A matrix holds many; other controls hold one.
class KZ_EXPORT Cell {
public:
    Cell() = default;
    explicit Cell(std::string title) : _title(std::move(title)) {}
    virtual ~Cell() = default;
    // A copy that shares nothing with this cell (a matrix's prototype).
    virtual std::unique_ptr<Cell> clone() const { return std::make_unique<Cell>(*this); }
    virtual std::string className() const { return "Cell"; }
    // "on", "off" or "mixed", as dumps and reports name a state.
    static const char* stateName(int state);

    const std::string& title() const { return _title; }
    void setTitle(std::string title);

    const Value& objectValue() const { return _objectValue; }
    void setObjectValue(Value value);
    std::string stringValue() const { return _objectValue.stringValue(); }
    void setStringValue(std::string value) { setObjectValue(Value(std::move(value))); }
    int intValue() const { return _objectValue.intValue(); }
    double doubleValue() const { return _objectValue.doubleValue(); }

    int state() const { return _state; }
    // Anything but off and mixed counts as on.
    void setState(int state);

    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled);

    long tag() const { return _tag; }
    void setTag(long tag) { _tag = tag; }

    const Value& representedObject() const { return _representedObject; }
    void setRepresentedObject(Value object) { _representedObject = std::move(object); }

    const Font& font() const { return _font; }
    void setFont(Font font);
    const Color& textColor() const { return _textColor; }
    void setTextColor(Color color);

    // The control that shows the cell (not owned), told of every change.
    Control* controlView() const { return _controlView; }
    void setControlView(Control* control) { _controlView = control; }

protected:
    void changed(std::string_view property);

private:
    std::string _title;
    Value _objectValue;
    int _state = OffState;
    bool _enabled = true;
    long _tag = 0;
    Value _representedObject;
    Font _font;
    Color _textColor = Color::controlTextColor();
    Control* _controlView = nullptr;
};

}  // namespace kz
