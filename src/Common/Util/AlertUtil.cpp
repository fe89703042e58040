#include "Common/Util/AlertUtil.h"

#include <cxxabi.h>

#include <cstdarg>
#include <cstdlib>
#include <typeinfo>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/kit/Application.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

std::string vformat(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

void runAlert(std::string title, std::string message) {
    kz::Alert alert;
    alert.setMessageText(std::move(title));
    alert.setInformativeText(std::move(message));
    alert.addButtonWithTitle("OK");
    alert.runModal();
}

}  // namespace

void SimpleAlert(const char* title, const char* format, ...) {
    if (!format) return;
    va_list args;
    va_start(args, format);
    std::string message = vformat(format, args);
    va_end(args);
    runAlert(title ? title : "", std::move(message));
}

void WarningAlert(const char* format, ...) {
    if (!format) return;
    va_list args;
    va_start(args, format);
    std::string message = vformat(format, args);
    va_end(args);
    runAlert("", std::move(message));
}

std::string exceptionName(const std::exception& exception) {
    const char* mangled = typeid(exception).name();
    int status = 0;
    char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && readable ? readable : mangled;
    std::free(readable);
    return name;
}

std::string exceptionMessage(const std::exception& exception) {
    static const std::string kKey = "Exception: %@";
    std::string format = kKey;
    if (const auto& host = kz::Application::shared().mainBundle()) format = host->localizedString(kKey, kKey);
    std::string reason = exception.what();
    if (auto at = format.find("%@"); at != std::string::npos) format.replace(at, 2, reason);
    return format;
}

void ExceptionAlert(const std::exception* exception) {
    if (!exception) return;
    runAlert(exceptionName(*exception), exceptionMessage(*exception));
}

std::unique_ptr<kz::Alert> SimpleAlertObject(const std::optional<std::string>& informativeText,
                                             const std::optional<std::string>& messageText) {
    auto alert = std::make_unique<kz::Alert>();
    alert->setAlertStyle(kz::AlertStyle::Warning);
    if (messageText) alert->setMessageText(*messageText);
    if (informativeText) alert->setInformativeText(*informativeText);
    return alert;
}

}  // namespace ComTORVALEKZ2R4_Plugin
