#pragma once

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Export.h"
#include "platform/kit/Alert.h"

namespace ComTORVALEKZ2R4_Plugin {

// Modal alerts shared by the plug-in and its panes. Messages are printf
// formats (pass texts with %s).

// An alert with the title as its message text, the formatted message as its
// informative text and one default button. Nothing when the format is null.
KZ_EXPORT void SimpleAlert(const char* title, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The same without a title.
KZ_EXPORT void WarningAlert(const char* format, ...) __attribute__((format(printf, 1, 2)));
// An alert titled with the exception's type name whose message is the host
// application's "Exception: %@" filled with what the exception says.
// Nothing for null.
KZ_EXPORT void ExceptionAlert(const std::exception* exception);
// The title and message ExceptionAlert shows, for callers that show them as
// a sheet.
KZ_EXPORT std::string exceptionName(const std::exception& exception);
KZ_EXPORT std::string exceptionMessage(const std::exception& exception);

// A new warning-style alert with the message text and the informative text,
// each when given, for the caller to run.
KZ_EXPORT std::unique_ptr<kz::Alert> SimpleAlertObject(const std::optional<std::string>& informativeText,
                                                       const std::optional<std::string>& messageText);

}  // namespace ComTORVALEKZ2R4_Plugin
