#pragma once

#include <memory>
#include <vector>

#include "engine/dialogs/PdeAutomaticPaperTraySelection.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"

namespace kz {
class Control;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class KemoPDEByCocoa;
class QuillUI;

// The panel's tray windows (automatic and bypass), their values in the print
// option, and the device lists that shape the panel's input-tray,
// output-tray and finishing controls.
class PanelTrayWindows {
public:
    explicit PanelTrayWindows(KemoPDEByCocoa& panel) : _panel(panel) {}

    void createPaperTraySelection(bool bypass);
    std::vector<std::shared_ptr<QuillUI>> paperTrayControls() const;
    // The tray windows' options join the defaults with their descriptions'
    // defaults, so that restoring reads them back.
    void addPaperTrayDefaults(kz::Dictionary& defaults);
    void setPaperTypeCustomList(const kz::Value& list);
    // Tag 0: the automatic tray window, any other tag the bypass one.
    void clickedSelectPaperTraySelectionButton(kz::Control* sender);
    void automaticPapaerTraySelectionDidEnd();
    void restorePaperTraySelection(const kz::Dictionary& printOption, bool bypass);
    void gatherPaperTraySelection(kz::Dictionary& printOption, bool bypass);
    void updateInputSlotList();
    void updateInputSlotList(const kz::Value& feederList);
    void updateOutputTrayList();
    void checkDevice();
    PdeAutomaticPaperTraySelection* automaticPaperTraySelection() const { return _AutomaticPaperTraySelection.get(); }
    PdeAutomaticPaperTraySelection* bypassPaperTraySelection() const { return _BypassPaperTraySelection.get(); }

private:
    static bool autoTraySettingToBypassExist(const kz::Dictionary& printOption);
    void restoreValuesToAutomaticPane(const kz::Dictionary& printOption);
    void restoreValuesToBypassPane(const kz::Dictionary& printOption);
    void gatherValuesFromAutomaticPane(kz::Dictionary& printOption);
    void gatherValuesFromBypassPane(kz::Dictionary& printOption);

    KemoPDEByCocoa& _panel;
    std::unique_ptr<PdeAutomaticPaperTraySelection> _AutomaticPaperTraySelection;
    std::unique_ptr<PdeAutomaticPaperTraySelection> _BypassPaperTraySelection;
};

}  // namespace ComTORVALEKZ2R4_Plugin
