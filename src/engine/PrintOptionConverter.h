#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

class PasswordTransport;

// Turns a print option between the internal form the controls edit
// (millimetres, percentages, joined keys) and the canonical form the printing
// system reads (1/14400 inch, split and derived keys, encoded passwords), in
// place. Main thread only.
class KZ_EXPORT PrintOptionConverter {
public:
    static void convertToCanonicalPpdKeyword(kz::Dictionary& option, bool convertCustom);
    static void convertToInternalPpdKeyword(kz::Dictionary& option);

    static std::string convertMmToCep(std::string_view millimetres);
    static std::string convertCepToMm(std::string_view fineUnits);
    static std::string convertMagToQuill(std::string_view percentage);
    static std::string convertQuillToMag(std::string_view tenths);

    // Reverses the crease order and measures positions from the other edge;
    // the same operation in both directions.
    static void swapCreaseKeyword(kz::Dictionary& option);

    static void convertToCanonicalImpositionKeyword(kz::Dictionary& option);
    static void convertToInternalImpositionKeyword(kz::Dictionary& option);
    static void restoreDefaultSettigImposition(kz::Dictionary& option, std::string_view impositionMode);
    static void convertImpositionSheetSize(kz::Dictionary& option);
    // {"width", "height", "typeNum"} as integer texts; empty for an unknown type.
    static kz::Dictionary getCepSizeFromPaperSizeType(std::string_view paperSizeType);
    static std::string getImpositionFinishedSheetDirection(std::string_view paperSizeType);

    // The password encoding in use (the plug-in's library unless replaced).
    static void setPasswordTransport(PasswordTransport* transport);
    // The login name written for "AuthJobUserIdType" "Login" (tests replace it).
    static void setLoginNameForTesting(std::string name);
};

// Exported for pane plug-ins; a null dictionary does nothing. The canonical
// conversion always converts the custom values too.
KZ_EXPORT void ConvertToCanonicalPpdKeyword(kz::Dictionary* option);
KZ_EXPORT void ConvertToInternalPpdKeyword(kz::Dictionary* option);

}  // namespace ComTORVALEKZ2R4_Plugin
