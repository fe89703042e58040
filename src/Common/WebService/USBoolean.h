#pragma once

#include <string>

namespace ComTORVALEKZ2R4_Plugin {

// A boolean as the service writes it: "true" or "false".
struct USBoolean {
    bool value = false;
    USBoolean() = default;
    explicit USBoolean(bool b) : value(b) {}
    bool boolValue() const { return value; }
    void setBoolValue(bool b) { value = b; }
    std::string stringValue() const { return value ? "true" : "false"; }
};

}  // namespace ComTORVALEKZ2R4_Plugin
