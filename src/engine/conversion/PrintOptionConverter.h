#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

class ConvertTable;
class PasswordTransport;

// Turns a print option between the internal form the controls edit
// (millimetres, percentages, joined keys) and the canonical form the printing
// system reads (1/14400 inch, split and derived keys, encoded passwords), in
// place; and a canonical print option to and from the input-manager format
// of favorite files, through the convert table. Main thread only.
class KZ_EXPORT PrintOptionConverter {
public:
    static PrintOptionConverter& sharedInstance();

    // The convert table comes from its file: the file set below, else the
    // bundle resource that the application preference "convertTableFileName"
    // names. It is kept parsed and read again when the file changed on disk
    // (another file, size or times; FileStamp), which is looked at no more
    // than once a second. Without a table both answer an empty dictionary.
    kz::Dictionary toPpdKeywordFormat(const kz::Dictionary& inputMgr) const;
    kz::Dictionary toInputMgrFormat(const kz::Dictionary& option) const;
    // The tag value of one option by the main keyword's entry, or nullopt.
    std::optional<kz::Value> inputMgrTagValue(std::string_view mainKeyword, const kz::Value& optionKeyword) const;
    // A table of its own for the caller, read from the file now.
    std::optional<ConvertTable> convertTable() const;
    // The table kept in memory, the same object for as long as its file is
    // unchanged; null when there is none.
    std::shared_ptr<const ConvertTable> sharedConvertTable() const;
    // nullopt goes back to the bundle's table. Setting a path makes the
    // next call look at the file again.
    void setConvertTablePath(std::optional<std::string> path);

    // The same conversions with a table in hand.
    static kz::Dictionary toPpdKeywordFormat(const kz::Dictionary& inputMgr, const ConvertTable& table);
    static kz::Dictionary toInputMgrFormat(const kz::Dictionary& option, const ConvertTable& table);

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

private:
    PrintOptionConverter() = default;
    std::optional<std::string> _convertTablePath;
    struct CachedTable;
    mutable std::shared_ptr<CachedTable> _cached;
};

// Exported for pane plug-ins; a null dictionary does nothing. The canonical
// conversion always converts the custom values too.
KZ_EXPORT void ConvertToCanonicalPpdKeyword(kz::Dictionary* option);
KZ_EXPORT void ConvertToInternalPpdKeyword(kz::Dictionary* option);

// Exported for pane plug-ins: the shared converter's conversions as a new
// dictionary for the caller, nullptr when the argument is nullptr.
KZ_EXPORT std::unique_ptr<kz::Dictionary> ToPpdKeywordFormat(const kz::Dictionary* inputMgr);
KZ_EXPORT std::unique_ptr<kz::Dictionary> ToInputMgrFormat(const kz::Dictionary* option);

}  // namespace ComTORVALEKZ2R4_Plugin
