#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"

namespace kz {
class Control;
class Menu;
class MenuItem;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class PpdFile;

// Plain platform controls (pop-ups, sliders, check boxes, text fields, radio
// matrices) that a pane fills from the plug-in's PPD, reads and sets. Menu
// items carry their main and option keyword as represented object.
class PlainControls {
public:
    // Where the plug-in's PPD comes from when a control is built (read late:
    // the manager opens it on first use).
    using PpdSource = std::function<PpdFile*()>;
    explicit PlainControls(PpdSource ppd) : _ppd(std::move(ppd)) {}

    static void addMenuItem(kz::Menu* menu, const std::optional<std::string>& mainKeyword,
                            const std::optional<std::string>& optionAlias,
                            const std::optional<std::string>& optionKeyword);
    static void setMenuItem(kz::MenuItem* item, const std::optional<std::string>& mainKeyword,
                            const std::optional<std::string>& optionAlias,
                            const std::optional<std::string>& optionKeyword);
    static kz::Value representedObjectOfMenuItem(const kz::MenuItem* item, std::string_view key);

    // Fills the control with the choices of the PPD option `key`.
    void build(kz::Control* control, const std::optional<std::string>& key,
               const std::optional<std::string>& title);
    // The option keyword the control shows (a password encrypted); null for none.
    static kz::Value valueOf(const kz::Control* control);
    static void setValue(kz::Control* control, const kz::Value& value);

private:
    PpdSource _ppd;
};

}  // namespace ComTORVALEKZ2R4_Plugin
