#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/kit/ControlTextDelegate.h"
#include "platform/kit/Formatter.h"
#include "platform/kit/Geometry.h"

namespace ComTORVALEKZ2R4_Plugin {

// What the byte and the length formatters share. Attached to a field as both
// its formatter and its delegate, it undoes at once (with a beep) every edit
// that makes the text too long or brings in a forbidden character, and keeps
// the focus in a field whose non-empty text is shorter than the minimum.
class KZ_EXPORT LimitFormatter : public kz::Formatter, public kz::ControlTextDelegate {
public:
    const std::optional<std::string>& undoBuffer() const { return _undoBuffer; }
    void setUndoBuffer(std::string text) { _undoBuffer = std::move(text); }
    kz::Range undoRange() const { return _undoRange; }
    bool controlCharactersEnabled() const { return _controlCharactersEnabled; }
    void setControlCharactersEnabled(bool on) { _controlCharactersEnabled = on; }

    // The text's length in this formatter's unit.
    virtual std::size_t measure(std::string_view text) const = 0;
    // Control characters (unless enabled); subtypes add their own rules.
    virtual bool containNotAllowedCharactor(std::string_view text) const;

    std::optional<std::string> stringForObjectValue(const kz::Value& value) const override;
    bool getObjectValue(kz::Value* value, const std::string& string, std::string* error) const override;

    void controlTextDidBeginEditing(const kz::ControlTextNotification& n) override;
    void didBeginEditing(const kz::ControlTextNotification& n) { controlTextDidBeginEditing(n); }
    void controlTextDidChange(const kz::ControlTextNotification& n) override;
    void didChange(const kz::ControlTextNotification& n) { controlTextDidChange(n); }
    bool controlTextShouldEndEditing(kz::Control& control, kz::FieldEditor& editor) override;

protected:
    virtual std::uint32_t minimumLimit() const = 0;
    virtual std::uint32_t maximumLimit() const = 0;
    // The reason of the error a value conversion without a destination builds.
    virtual const char* nullObjectReason() const = 0;

    bool _controlCharactersEnabled = false;
    std::optional<std::string> _undoBuffer;
    kz::Range _undoRange;
};

}  // namespace ComTORVALEKZ2R4_Plugin
