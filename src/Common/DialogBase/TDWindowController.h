#pragma once

#include <string>

#include "platform/kit/WindowController.h"

namespace ComTORVALEKZ2R4_Plugin {

// The base of every dialog controller of the plug-in. Its window comes from
// a view description among the plug-in bundle's resources, and loading it
// never runs the host application's own awake handler for our objects.
class KZ_EXPORT TDWindowController : public kz::WindowController {
public:
    // The description "<windowName>.plist" of the principal bundle; a name
    // with a '/' is taken as the path itself.
    explicit TDWindowController(const std::string& windowName);

    // The window classes every dialog of the plug-in may name, known to the
    // view loader by name. A layer above registers its own classes (the
    // version panel's, say) next to these.
    static void registerWindowClasses();

protected:
    void loadWindow() override;

private:
    static std::string descriptionPath(const std::string& windowName);
};

}  // namespace ComTORVALEKZ2R4_Plugin
