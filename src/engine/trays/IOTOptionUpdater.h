#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/controls/QuillUI.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

// Turns the print server's device lists into the items of the tray and
// finishing pop-ups, and decides whether a finishing control is offered at
// all. Stateless: every operation reads its arguments and writes into what
// it is given.
//
// The lists are rows of texts as the printer data carries them: a feeder
// row starts with its tray number, a stacker row with its stacker type, a
// device row is exactly [value, device key]. Rows of another shape and
// numbers, types or keys the tables lack are passed over.
class KZ_EXPORT IOTOptionUpdater {
public:
    // Tray number or output tray key -> pop-up item (title key, option keyword).
    using ItemTable = std::map<std::string, PopupButtonItem>;
    // Stacker type -> output tray key.
    using KeyMap = std::map<std::string, std::string>;
    // Parallel lists: group i's device keys and the option keywords that need one of them.
    using Groups = std::vector<std::vector<std::string>>;

    // ---- input trays
    // The input-slot keywords ("AutoSelect", "Manual") or the other tray
    // options' ("TrayAuto", "TrayMSI"); tray number "9" only with the interposer.
    static void getInputSlotDict(ItemTable& table, bool isInputSlot, bool hasTrayInterposer);
    // Appends: the leading numbers, tray 1 unless the feeders list it, the
    // feeders in their order, the trailing numbers.
    static void getInputSlotArray(PopupButtonItems& out, const kz::Value& feederList,
                                  const std::vector<std::string>& preKey, const std::vector<std::string>& suffKey,
                                  bool isInputSlot, bool hasTrayInterposer);
    static void getInputSlotArray(PopupButtonItems& out, const kz::Value& feederList,
                                  const std::vector<std::string>& preKey, const std::vector<std::string>& suffKey,
                                  bool hasTrayInterposer);
    // Gives the control the items, keeping its value.
    static void updateInputSlotQuillUI(QuillUI* control, const PopupButtonItems& items);

    // ---- output trays
    static void getOutputTrayDict(ItemTable& table);
    static void getDstTypeMap(KeyMap& map);
    // Appends automatic, then each known stacker in the list's order, and
    // the automatic stacker change right after a "10" that follows a "9".
    static void getOutputTrayArray(PopupButtonItems& out, const kz::Value& stackerList);

    // ---- finishing devices
    // Device key -> value; none for a list that is not there.
    static std::optional<kz::Dictionary> convertArrayToDict(const kz::Value& deviceList);
    // Whether one of the keys is enabled (its value is exactly "true").
    static bool isEnableWithDict(const kz::Dictionary* deviceDict, const std::vector<std::string>& keys);
    static void getStapleOptionsWithKeyDevices(Groups& keyDevices, Groups& keyOptions);
    static void getPunchOptionsWithKeyDevices(Groups& keyDevices, Groups& keyOptions);
    static void getFoldOptionsWithKeyDevices(Groups& keyDevices, Groups& keyOptions);
    static void getCreaseModeOptionsWithKeyDevices(Groups& keyDevices, Groups& keyOptions);
    // Hides the control when no group has an enabled device (or anything is
    // missing), else shows it without the items of the groups that have
    // none; answers whether some group is enabled.
    static bool updatePopupButtonComponent(QuillUI* control, const kz::Dictionary* deviceDict,
                                           const Groups* keyDevices, const Groups* keyOptions);
    // Removes the items, keeping the control's value; nothing for no items.
    static void updatePopupButtonComponent(QuillUI* control, const std::vector<std::string>& removeItems);

    // ---- tests for the panes
    static bool hasStapleForTCBMWithDevice(const kz::Dictionary* deviceDict);
    static bool isFoldForTCBM(const kz::Dictionary* deviceDict);
    static bool isDocumentfinishing(const PopupButtonItems& items);
};

}  // namespace ComTORVALEKZ2R4_Plugin
