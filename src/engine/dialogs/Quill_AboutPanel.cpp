#include "engine/dialogs/Quill_AboutPanel.h"

#include "platform/kit/Application.h"
#include "platform/kit/ViewLoader.h"

namespace ComTORVALEKZ2R4_Plugin {

bool Quill_AboutPanel::sendEvent(const kz::Event&) {
    // Every event type there is (either mouse button, a key) closes it; a
    // session of another window is not ours to end.
    kz::Application& app = kz::Application::shared();
    if (app.modalWindow() == this) app.stopModalWithCode(kz::ModalResponseStop);
    return true;
}

void Quill_AboutPanel::registerWindowClass() {
    static const bool registered = [] {
        kz::ViewLoader::registerWindowClass("Quill_AboutPanel",
                                            [](const kz::Value&) { return std::make_shared<Quill_AboutPanel>(); });
        return true;
    }();
    (void)registered;
}

}  // namespace ComTORVALEKZ2R4_Plugin
