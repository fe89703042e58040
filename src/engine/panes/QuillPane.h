#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/panes/PanePlugInInterface.h"
#include "engine/panes/PanePlugInMgr.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A pane whose option controls are all described by data: its bundle's
// "UI" description file (Resources/UI.plist) describes the controls, its
// view description (Resources/<Name>.plist, or <Name>_<Role>.plist for a
// pane serving a role) places them as QuillUI views whose tooltip is their
// main keyword. The view is loaded on first demand; its controls are then
// described and registered through the manager. The pane's name is its
// bundle key in the bundle's "UI" strings.
class KZ_EXPORT QuillPane : public PaneObject, public PanePlugInInterface {
public:
    QuillPane();
    ~QuillPane() override;

    bool initializePanel(const std::shared_ptr<kz::Bundle>& bundle, PanePlugInMgr* callback) override;
    std::shared_ptr<kz::View> panelView() override;
    std::string panelName() override;
    std::vector<std::shared_ptr<QuillUI>> getListQuillUI() override;

    // The bundle's name without its extension, and with "+role" when the
    // manager stores this pane under a role.
    std::string bundleKey() const;
    std::optional<std::string> role() const;
    const std::shared_ptr<kz::Bundle>& bundle() const { return _bundle; }
    PanePlugInMgr* callback() const { return _callback; }
    const kz::Dictionary& controlDescriptions() const { return _descriptions; }
    // The described controls by main keyword, in view order.
    const PanePlugInMgr::ControlMap& controls() const { return _controls; }
    std::shared_ptr<QuillUI> control(std::string_view mainKeyword) const;

protected:
    // The base name of the view description (without ".plist").
    virtual std::string viewFileName() const;
    // After the view's controls are described and registered.
    virtual void didLoadView() {}

private:
    std::shared_ptr<kz::Bundle> _bundle;
    PanePlugInMgr* _callback = nullptr;
    kz::Dictionary _descriptions;
    std::shared_ptr<kz::View> _view;
    bool _viewTried = false;
    PanePlugInMgr::ControlMap _controls;
};

}  // namespace ComTORVALEKZ2R4_Plugin
