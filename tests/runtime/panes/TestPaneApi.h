#pragma once

// What the runtime tests' pane libraries export, seen from both sides.
#include <stdexcept>
#include <string>

#include "engine/rules/NetworkDataState.h"
#include "platform/foundation/Export.h"
#include "platform/kit/ViewOwner.h"

namespace ComTORVALEKZ2R4_Plugin {
class QuillMgr;
}

namespace runtimetest {

// The addresses of the process-wide objects as one library sees them.
struct SharedObjects {
    const void* notificationCenter;
    const void* application;
    const void* workspace;
    const void* printOptionConverter;
    const void* appPreference;
    const void* sharedPrintOption;
    const void* paneManager;
    const void* quillMgr;  // the option control registry the manager owns
};

// Thrown by a pane library, caught by type in the host.
struct KZ_EXPORT PaneFailure : std::runtime_error {
    PaneFailure(const std::string& what, int code) : std::runtime_error(what), code(code) {}
    int code;
};

// The principal object of a test pane: handed out as a ViewOwner, it is
// also a NetworkDataState, found by a cross cast in the host.
class KZ_EXPORT TestPane : public kz::ViewOwner, public ComTORVALEKZ2R4_Plugin::NetworkDataState {
public:
    bool connectOutlet(std::string_view, const std::shared_ptr<kz::View>&) override { return false; }
    bool isInitializedNetworkData() const override { return true; }
};

// The factories the host looks up by name.
using SharedObjectsFn = SharedObjects (*)();
using ThrowFn = void (*)(const char* what, int code);
using MakeButtonFn = kz::View* (*)(const char* title);
using RegisterPopUpFn = void (*)(ComTORVALEKZ2R4_Plugin::QuillMgr& mgr, const char* keyword);
using ValueOfFn = std::string (*)(const ComTORVALEKZ2R4_Plugin::QuillMgr& mgr, const char* keyword);
using PostFn = void (*)(const char* name, const char* value);

}  // namespace runtimetest
