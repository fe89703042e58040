// Feeds arbitrary bytes as a control description file to the rule engine:
// every control is registered, the defaults applied, and every value a rule
// names is chosen in turn, so the searches, dialogs and cascades all run.
// The dialog texts are also used as translations to fill.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/controls/ControlDescription.h"
#include "engine/rules/QuillMgr.h"
#include "engine/rules/QuillMgrTexts.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

struct Ready : kzp::NetworkDataState {
    bool isInitializedNetworkData() const override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (kz::Log::setSyslogEnabled(false), true);
    (void)quiet;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kzp::QuillMgrTexts::fill(bytes, {"a", "b"});
    std::optional<kz::Dictionary> file = kzp::ControlDescription::read(bytes);
    if (!file) return 0;
    auto shared = std::make_shared<const kz::Dictionary>(*file);
    kzp::QuillMgr mgr;
    Ready ready;
    mgr.setNetworkDataState(&ready);
    int built = 0;
    for (const auto& [name, entry] : *shared) {
        if (!entry.isDictionary() || ++built > 32) continue;
        auto control = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 200));
        control->setChildDescriptions(shared);
        control->setControlDictionary(entry.dictionary(), nullptr);
        control->updateControl();
        mgr.addControl(control);
    }
    mgr.setDefaults();
    // No UI driver: every question is dismissed without an answer.
    int changes = 0;
    const kzp::QuillMgr::ControlsDictionary registered = mgr.getControlsDictionary();
    for (const auto& [keyword, controls] : registered) {
        const kzp::QuillUI& c = *controls.front();
        for (const kz::Dictionary* rules :
             {&c.getConflictDictionary(), &c.getUnrestorableConflictDictionary(), &c.getConditionDictionary(),
              &c.getLogicalSumConditionDictionary(), &c.getCooperationDictionary(), &c.getHideDictionary()})
            for (const std::string& value : rules->keys()) {
                if (++changes > 64) break;
                kz::NotificationCenter::defaultCenter().post(keyword, nullptr,
                                                             kz::Dictionary{{"Paramater", kz::Value(value)}});
                mgr.validateBeforeChange(keyword, value, std::nullopt);
                mgr.setStringValueWithRestoreConfliction(keyword, value);
            }
    }
    mgr.backupSettings();
    mgr.setSettings(mgr.getAllValueDictionary());
    kz::RunLoop::current().runMode(kz::RunLoop::kDefaultMode);
    return 0;
}
