// Pane classes in a library of their own, made by name through the pane
// factory: one that keeps the contract, one that does not, one that refuses
// to be initialised and one that throws from everything it is asked.
#include <cstring>
#include <stdexcept>

#include "engine/panes/PaneFactory.h"
#include "platform/kit/View.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

class LibraryPane : public kzp::PaneObject, public kzp::PanePlugInInterface {
public:
    bool initializePanel(const std::shared_ptr<kz::Bundle>&, kzp::PanePlugInMgr*) override { return true; }
    std::shared_ptr<kz::View> panelView() override {
        if (!_view) _view = std::make_shared<kz::View>(kz::Rect(0, 0, 10, 10));
        return _view;
    }
    std::string panelName() override { return "Library pane"; }
    std::vector<std::shared_ptr<kzp::QuillUI>> getListQuillUI() override { return {}; }

private:
    std::shared_ptr<kz::View> _view;
};

class NotAPane : public kzp::PaneObject {};

class RefusingPane : public LibraryPane {
public:
    bool initializePanel(const std::shared_ptr<kz::Bundle>&, kzp::PanePlugInMgr*) override { return false; }
};

class ThrowingInitPane : public LibraryPane {
public:
    bool initializePanel(const std::shared_ptr<kz::Bundle>&, kzp::PanePlugInMgr*) override {
        throw std::runtime_error("cannot start");
    }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) kzp::PaneObject* kzPanePrincipalObject(const char* className) {
    // The host names the factory through this type.
    [[maybe_unused]] kzp::PanePrincipalObjectFactory self = &kzPanePrincipalObject;
    if (!className) return nullptr;
    if (!std::strcmp(className, "LibraryPane")) return new LibraryPane();
    if (!std::strcmp(className, "NotAPane")) return new NotAPane();
    if (!std::strcmp(className, "RefusingPane")) return new RefusingPane();
    if (!std::strcmp(className, "ThrowingInitPane")) return new ThrowingInitPane();
    return nullptr;
}
