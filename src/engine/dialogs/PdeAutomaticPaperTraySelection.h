#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Common/DialogBase/TDWindowController.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/kit/Box.h"
#include "platform/kit/Button.h"
#include "platform/kit/WindowDelegate.h"

namespace ComTORVALEKZ2R4_Plugin {

class PanePlugInMgr;

// One of the panel's two tray windows: the paper the printer looks for when
// it picks a tray itself (automatic), or the paper loaded in the bypass
// tray. Both load the view description "AutomaticPaperTraySelection", whose
// right half holds the optional media properties; a window without them is
// cut to its left half. The controls are described from the main control
// description file and registered with the registry by the panel, so their
// values live there; the window only shows and edits them.
class KZ_EXPORT PdeAutomaticPaperTraySelection : public TDWindowController, public kz::WindowDelegate {
public:
    static constexpr const char* kViewDescription = "AutomaticPaperTraySelection";
    static constexpr const char* kBypassPaperTypeKey =
        "PaperTypeBypass_MediaTypeTabbedBypass_MediaTypeCoatingMaterialBypass_MediaTypePreprintedBypass_"
        "MediaTypeDrilledBypass_PaperTypeCustomNumberBypass";
    // Main keyword -> control, in the order described.
    using ControlList = std::vector<std::pair<std::string, std::shared_ptr<QuillUI>>>;

    // The description from the bundle's resources (the principal bundle's
    // without one).
    explicit PdeAutomaticPaperTraySelection(const std::shared_ptr<kz::Bundle>& bundle);
    ~PdeAutomaticPaperTraySelection() override;

    // Keeps the bundle and the manager's control description file, then
    // loads the window, which describes the controls.
    bool initializePanel(std::shared_ptr<kz::Bundle> bundle, bool bypassFlag, PanePlugInMgr& callback);
    void awakeFromNib() override;
    void initCtrl();

    const ControlList& getListQuillUI() const { return _quilluiList; }
    QuillUI* control(std::string_view mainKeyword) const;
    bool bypassFlag() const { return _bypassFlag; }

    // Adds the server's custom papers (rows [title, value]) to the paper
    // type pop-up, keeping the paper selected.
    void setPaperTypeCustomList(const kz::Value& list);
    // The texts of the window's text fields by main keyword.
    kz::Dictionary getTextFieldStringDictionary() const;

    // Runs the window modally; didEnd is called when the user closes it.
    void modalWindow(std::function<void()> didEnd);
    // Opens the custom colour's name exactly for the custom colour.
    void updatePaperColorCustomNameEnabling();
    void clickButtonClose(kz::Control* sender);

    // ---- the description's outlets and actions
    std::span<const Outlet> outlets() const override;
    std::span<const Action> actions() const override;
    void windowWillClose(kz::Window& window) override;

private:
    void _initCtrlAutomatic();
    void _initCtrlBypass();
    void _resizeWindow();
    // Describes the control with D[key] and lists it under the key; false
    // (and nothing done) without a control or an entry.
    bool describe(const std::shared_ptr<QuillUI>& control, const kz::Dictionary& descriptions, const std::string& key);
    kz::Dictionary controlDescriptions() const;
    std::string localized(const std::string& key) const;
    void endSession();
    // The paper type control the window uses.
    QuillUI* paperTypeControl() const;

    std::shared_ptr<kz::View> _View;
    bool _bypassFlag = false;
    std::shared_ptr<QuillUI> _quill_PaperType_MediaTypeTabbed;
    std::shared_ptr<QuillUI>
        _quill_PaperType_MediaTypeTabbed_MediaTypeCoatingMaterial_MediaTypePreprinted_MediaTypeDrilled_PaperTypeCustomNumber;
    std::shared_ptr<QuillUI> _quill_PaperTypeCustomName;
    std::shared_ptr<QuillUI> _quill_MediaTypeSequence;
    std::shared_ptr<QuillUI> _quill_PaperColor;
    std::shared_ptr<QuillUI> _quill_PaperColorCustomName;
    std::shared_ptr<QuillUI> _quill_MediaTypeWeightValue;
    std::shared_ptr<QuillUI> _quill_MediaTypeWeight;
    std::shared_ptr<QuillUI> _quill_MediaTypeCoatingMaterial;
    std::shared_ptr<QuillUI> _quill_MediaTypeDrilled;
    std::shared_ptr<QuillUI> _quill_MediaTypeGlossFine;
    std::shared_ptr<QuillUI> _quill_MediaTypePreprinted;
    std::shared_ptr<QuillUI>
        _quill_PaperTypeBypass_MediaTypeTabbedBypass_MediaTypeCoatingMaterialBypass_MediaTypePreprintedBypass_MediaTypeDrilledBypass_PaperTypeCustomNumberBypass;
    std::shared_ptr<QuillUI> _quill_MediaTypeSequenceBypass;
    std::shared_ptr<QuillUI> _quill_PaperColorBypass;
    std::shared_ptr<QuillUI> _quill_MediaTypeWeightBypass;
    std::shared_ptr<kz::Box> _separator;
    std::shared_ptr<kz::Button> _close;

    std::shared_ptr<kz::Bundle> _plugInBundle;
    std::function<void()> _parentDidEndSelector;
    std::optional<std::string> _uiFilePath;
    ControlList _quilluiList;
    bool _closing = false;
};

}  // namespace ComTORVALEKZ2R4_Plugin
