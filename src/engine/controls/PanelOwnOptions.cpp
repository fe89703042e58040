#include "engine/controls/PanelOwnOptions.h"

#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

const std::vector<std::string>& PanelOwnOptions::keys() {
    static const std::vector<std::string> own = {"AutoTraySettingToBypass", "DuplexMode", "PagePrintOnCenter",
                                                 "StapleMode", "Punch_PunchHoles", "Fold", "OutputTray",
                                                 "OffsetMode", "VLInputSlot"};
    return own;
}

void PanelOwnOptions::addDefaults(kz::Dictionary& defaults, const kz::Dictionary& descriptions) {
    for (const std::string& key : keys()) {
        if (defaults.contains(key)) continue;
        const kz::Value& description = descriptions.get(key);
        if (!description.isDictionary()) continue;
        const kz::Value* initial = description.dictionary().find("defchoice");
        if (!initial || !initial->isString()) initial = description.dictionary().find("default");
        if (initial && initial->isString() && !initial->string().empty()) defaults.set(key, initial->string());
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
