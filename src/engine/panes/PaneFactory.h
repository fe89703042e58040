#pragma once

#include <cstring>
#include <functional>
#include <string>

#include "engine/panes/PanePlugInInterface.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A pane library exports one C function under this name: given the
// principal class its bundle's Info.plist names (NSPrincipalClass), it
// answers a new object of that class, a new one on every call (a bundle
// serving two roles needs two), or null for a class it does not make. The
// caller owns the object.
inline constexpr const char* kPanePrincipalObjectSymbol = "kzPanePrincipalObject";
extern "C" {
using PanePrincipalObjectFactory = PaneObject* (*)(const char* className);
}

// Pane classes known inside the host's own process, by class name: the
// host's own panes, and the pane sources compiled into a test. Consulted
// before a bundle's library is loaded.
class KZ_EXPORT PaneClassRegistry {
public:
    using Creator = std::function<PaneObject*()>;
    static void registerClass(const std::string& className, Creator creator);
    static void unregisterClass(const std::string& className);
    // Null when no class of that name is registered.
    static const Creator* creator(const std::string& className);

    struct Registration {
        Registration(const char* className, Creator creator) { registerClass(className, std::move(creator)); }
    };
};

}  // namespace ComTORVALEKZ2R4_Plugin

// KZ_PANE_PRINCIPAL_CLASS(Class), once in a pane's sources: in the pane's
// own library (built with KZ_PANE_LIBRARY) it defines the exported factory;
// compiled into another program it registers the class in-process instead.
#ifdef KZ_PANE_LIBRARY
#define KZ_PANE_PRINCIPAL_CLASS(Class)                                                                      \
    extern "C" __attribute__((visibility("default"))) ::ComTORVALEKZ2R4_Plugin::PaneObject*                 \
    kzPanePrincipalObject(const char* className) {                                                          \
        if (!className || std::strcmp(className, #Class) != 0) return nullptr;                              \
        return new Class();                                                                                 \
    }
#else
#define KZ_PANE_PRINCIPAL_CLASS(Class)                                                                      \
    static const ::ComTORVALEKZ2R4_Plugin::PaneClassRegistry::Registration kzPaneRegistration_##Class(      \
        #Class, []() -> ::ComTORVALEKZ2R4_Plugin::PaneObject* { return new Class(); });
#endif
