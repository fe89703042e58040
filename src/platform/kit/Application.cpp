#include "platform/kit/Application.h"

namespace kz {

Application& Application::shared() {
    static Application app;
    return app;
}

void Application::beep() { ++_beeps; }

}  // namespace kz
