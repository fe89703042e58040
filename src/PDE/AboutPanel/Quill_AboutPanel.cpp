#include "PDE/AboutPanel/Quill_AboutPanel.h"

#include "platform/kit/Application.h"

namespace ComTORVALEKZ2R4_Plugin {

bool Quill_AboutPanel::sendEvent(const kz::Event&) {
    // Every event type there is (either mouse button, a key) closes it; a
    // session of another window is not ours to end.
    kz::Application& app = kz::Application::shared();
    if (app.modalWindow() == this) app.stopModalWithCode(kz::ModalResponseStop);
    return true;
}

}  // namespace ComTORVALEKZ2R4_Plugin
