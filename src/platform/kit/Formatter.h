#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"
#include "platform/kit/Geometry.h"

namespace kz {

// Converts between a field's shown text and the value it stores, and may
// refuse text while it is typed.
class KZ_EXPORT Formatter {
public:
    virtual ~Formatter() = default;
    // The text shown for a value; nullopt when the value cannot be shown.
    virtual std::optional<std::string> stringForObjectValue(const Value& value) const = 0;
    // The value of a shown text into *value; false (with *error when given)
    // when the text has none or there is nowhere to put it.
    virtual bool getObjectValue(Value* value, const std::string& string, std::string* error) const = 0;
    // Asked after each edit with the text the edit would give. Answering false
    // undoes the edit, unless *replacement is set: then that text is shown.
    virtual bool isPartialStringValid(const std::string& /*candidate*/, Range /*proposedSelection*/,
                                      std::optional<std::string>* /*replacement*/, std::string* /*error*/) const {
        return true;
    }
};

}  // namespace kz
