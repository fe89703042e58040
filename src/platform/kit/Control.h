#pragma once

#include <memory>
#include <string>

#include "platform/kit/Action.h"
#include "platform/kit/Cell.h"
#include "platform/kit/View.h"

namespace kz {

// A view that shows a cell and sends its action when the user works it.
// Value, title and flags live in the cell; the control forwards to it.
class KZ_EXPORT Control : public View {
public:
    explicit Control(Rect frame = {}, std::unique_ptr<Cell> cell = nullptr);
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    // The cell the control's value belongs to (a matrix: its selected cell).
    virtual Cell* cell() const { return _cell.get(); }
    void setCell(std::unique_ptr<Cell> cell);

    virtual bool isEnabled() const;
    virtual void setEnabled(bool enabled);
    long tag() const;
    void setTag(long tag);
    const Value& representedObject() const;

    std::string title() const;
    void setTitle(std::string title);
    virtual Value objectValue() const;
    virtual void setObjectValue(Value value);
    virtual std::string stringValue() const;
    virtual void setStringValue(std::string value);
    int intValue() const { return Value(stringValue()).intValue(); }
    double doubleValue() const { return Value(stringValue()).doubleValue(); }
    virtual void setIntValue(int value) { setObjectValue(Value(value)); }
    virtual void setDoubleValue(double value) { setObjectValue(Value(value)); }
    // Takes the sender's value (takeIntValueFrom:).
    void takeIntValueFrom(const Control& sender) { setIntValue(sender.intValue()); }

    Font font() const;
    void setFont(Font font);
    Color textColor() const;
    void setTextColor(Color color);

    const Action& action() const { return _action; }
    void setAction(Action action) { _action = std::move(action); }
    // Runs the handler; false when there is none or the control is disabled.
    bool sendAction();

    // A cell of this control changed; passed on to the peer.
    virtual void cellChanged(Cell& cell, std::string_view property);

private:
    std::unique_ptr<Cell> _cell;
    Action _action;
};

}  // namespace kz
