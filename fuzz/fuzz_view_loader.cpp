// View descriptions: bundle resources a pane plug-in or a user may supply.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Common/DialogBase/TDWindowController.h"
#include "engine/dialogs/Quill_AboutPanel.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/Control.h"
#include "platform/kit/ViewDump.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/Window.h"

namespace {
// Takes every outlet and answers every action, as a real owner might.
struct Owner : kz::ViewOwner {
    int outlets = 0;
    bool connectOutlet(std::string_view, const std::shared_ptr<kz::View>&) override { return ++outlets, true; }
    bool connectWindowOutlet(const std::shared_ptr<kz::Window>&) override { return true; }
    std::function<void(kz::Control&)> actionForSelector(std::string_view) override {
        return [](kz::Control&) {};
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = (ComTORVALEKZ2R4_Plugin::TDWindowController::registerWindowClasses(),
                                    ComTORVALEKZ2R4_Plugin::Quill_AboutPanel::registerWindowClass(), true);
    (void)registered;
    kz::Value description = kz::PropertyList::read(std::string_view(reinterpret_cast<const char*>(data), size));
    if (description.isNull()) return 0;
    Owner owner;
    std::string error;
    auto result = kz::ViewLoader::load(description, &owner, &error);
    if (!result) return 0;
    // What was made must also show.
    if (result->window) {
        (void)kz::ViewDump::dump(*result->window);
        (void)kz::ViewDump::toValue(*result->window);
    } else if (result->view) {
        (void)kz::ViewDump::dump(*result->view);
    }
    return 0;
}
