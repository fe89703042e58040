// Feeds arbitrary bytes to the control description reader, builds every
// control of the file (children from the same file), works its value model
// and checks the file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/controls/ControlDescription.h"
#include "engine/controls/ControlDescriptionLint.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (kz::Log::setSyslogEnabled(false), true);
    (void)quiet;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::optional<kz::Dictionary> file = kzp::ControlDescription::read(bytes);
    if (!file) return 0;
    kzp::ControlDescriptionLint::check(*file);
    auto shared = std::make_shared<const kz::Dictionary>(*file);
    int built = 0;
    for (const auto& [name, entry] : *shared) {
        if (!entry.isDictionary() || ++built > 64) continue;
        auto control = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 200));
        control->setChildDescriptions(shared);
        control->createControls(entry.dictionary(), "Pane");
        double height = control->getControlHeight();
        if (!(height >= 0)) __builtin_trap();
        kzp::OptionalText value = control->getStringValue();
        control->setStringValue(kzp::OptionalText("__LESS__:1"));
        control->setStringValue(value);
        control->getSelectedOptionText();
        control->getOptionText(value);
        control->setEnabledByDictionary(kz::Dictionary{{value.value_or(""), true}});
        control->setEnabled(false, "fuzz");
        control->setEnabledPositively(true, "fuzz");
        control->setHidden(true);
        control->disableForPDE();
        control->controlRemoveAll();
    }
    // Radio columns schedule their selection once more; nothing runs them here.
    kz::RunLoop::current().cancelAll();
    return 0;
}
