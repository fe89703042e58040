#pragma once

#include "platform/foundation/Export.h"

namespace kz {

class Control;
class FieldEditor;

// A text editing notification: the field, and its field editor (the entry
// "NSFieldEditor" of the platform's notification).
struct ControlTextNotification {
    Control* control = nullptr;
    FieldEditor* fieldEditor = nullptr;
};

// What a text field tells its delegate while it is edited.
class KZ_EXPORT ControlTextDelegate {
public:
    virtual ~ControlTextDelegate() = default;
    virtual void controlTextDidBeginEditing(const ControlTextNotification& /*n*/) {}
    virtual void controlTextDidChange(const ControlTextNotification& /*n*/) {}
    // Asked before the focus leaves the field; false keeps it there.
    virtual bool controlTextShouldEndEditing(Control& /*control*/, FieldEditor& /*editor*/) { return true; }
    virtual void controlTextDidEndEditing(const ControlTextNotification& /*n*/) {}
};

}  // namespace kz
