#pragma once

#include <memory>

#include "Common/DialogBase/TDWindowController.h"
#include "platform/kit/ImageView.h"
#include "platform/kit/TextField.h"
#include "platform/kit/WindowDelegate.h"

namespace ComTORVALEKZ2R4_Plugin {

// The version panel ("About"): the plug-in's version and copyright over the
// host application's about image. Loaded through the guarded dialog base so
// that the host's awake handler never sees its objects.
class KZ_EXPORT AboutPanelController : public TDWindowController, public kz::WindowDelegate {
public:
    AboutPanelController() : AboutPanelController(std::string("About")) {}
    explicit AboutPanelController(const std::string& descriptionPath);

    // Makes a controller, runs its window modally (centred), ends editing,
    // closes it; answers the session's code (-1000 a click or key, -1001
    // closing the window).
    static long runModal();
    long runModalSession();

    std::span<const Outlet> outlets() const override;
    void windowWillClose(kz::Window& window) override;

    kz::TextField* versionField() const { return _versionField.get(); }
    kz::TextField* copyrightField() const { return _copyrightField.get(); }
    kz::ImageView* backgroundImage() const { return _backgroundImage.get(); }

protected:
    void windowDidLoad() override;

private:
    std::shared_ptr<kz::TextField> _versionField, _copyrightField;
    std::shared_ptr<kz::ImageView> _backgroundImage;
};

}  // namespace ComTORVALEKZ2R4_Plugin
