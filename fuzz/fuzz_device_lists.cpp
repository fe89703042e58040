// Hostile device lists from the print server, as the printer data hands them
// to the panel: a property list whose feeder, stacker and device lists shape
// the tray and finishing pop-ups. Rows of any shape, any values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "engine/trays/IOTOptionUpdater.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/PropertyList.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using Updater = kzp::IOTOptionUpdater;

namespace {

// A pop-up with every finishing keyword of the tables, so that removing
// items and keeping the value both have work to do.
std::shared_ptr<kzp::QuillUI> popUp(const Updater::Groups& keyOptions) {
    kz::Array choices;
    for (const auto& group : keyOptions)
        for (const std::string& option : group)
            choices.emplace_back(kz::Dictionary{{"choice", kz::Value(option)}, {"text", kz::Value(option)}});
    choices.emplace_back(kz::Dictionary{{"choice", kz::Value("False")}, {"text", kz::Value("Off")}});
    kz::Dictionary d;
    d.set("mainKeyword", "Finishing");
    d.set("control_type", "PopupButton");
    d.set("text", "Finishing");
    d.set("choices", kz::Value(std::move(choices)));
    d.set("default", "False");
    auto control = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 60));
    control->setControlDictionary(d, nullptr);
    control->updateControl();
    return control;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const kz::Value lists = kz::PropertyList::read(std::string_view(reinterpret_cast<const char*>(data), size));
    // A list alone, or the three under their names.
    auto list = [&](const char* name) {
        return lists.isDictionary() ? lists.dictionary().get(name) : lists;
    };

    kzp::PopupButtonItems slots;
    Updater::getInputSlotArray(slots, list("FeederInfoList"), {"0"}, {"25"}, true, false);
    Updater::getInputSlotArray(slots, list("FeederInfoList"), {}, {}, false, true);
    kzp::PopupButtonItems trays;
    Updater::getOutputTrayArray(trays, list("StackerInfoList"));
    for (const auto& item : trays)
        if (item.value.empty()) std::abort();  // every tray item names its keyword

    const std::optional<kz::Dictionary> devices = Updater::convertArrayToDict(list("DeviceList"));
    const kz::Dictionary* dict = devices ? &*devices : nullptr;
    using Fetch = void (*)(Updater::Groups&, Updater::Groups&);
    for (Fetch fetch : {&Updater::getStapleOptionsWithKeyDevices, &Updater::getPunchOptionsWithKeyDevices,
                        &Updater::getFoldOptionsWithKeyDevices, &Updater::getCreaseModeOptionsWithKeyDevices}) {
        Updater::Groups keyDevices, keyOptions;
        fetch(keyDevices, keyOptions);
        auto control = popUp(keyOptions);
        Updater::updatePopupButtonComponent(control.get(), dict, &keyDevices, &keyOptions);
        Updater::updateInputSlotQuillUI(control.get(), slots);
    }
    (void)Updater::isEnableWithDict(dict, {"offset"});
    (void)Updater::hasStapleForTCBMWithDevice(dict);
    (void)Updater::isFoldForTCBM(dict);
    (void)Updater::isDocumentfinishing(trays);
    return 0;
}
