#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/TextEncoding.h"
#include "platform/foundation/Value.h"

struct ppd_file_s;

namespace ComTORVALEKZ2R4_Plugin {

// The one window onto a parsed PPD. Every text that comes out of the PPD is
// decoded with the encoding the PPD declares; keywords going in are ASCII.
// Queries answer null / false / 0 / empty when the PPD, the option or an
// argument is missing. Main thread only.
class KZ_EXPORT PpdFile {
public:
    // UI types as libcups reports them.
    enum UiType { kBoolean = 0, kPickOne = 1, kPickMany = 2 };

    // Opens the PPD at `path`; none when the file is missing or unparsable.
    // Why is logged and, when `error` is given, set there: libcups's reason
    // and line for a PPD it refuses.
    static std::unique_ptr<PpdFile> initWithContentsOfFile(const std::string& path, std::string* error = nullptr);
    // Wraps a handle owned by the host (may be null); it is never closed here.
    static std::unique_ptr<PpdFile> initWithPpdFile(ppd_file_s* handle);

    virtual ~PpdFile();
    PpdFile(const PpdFile&) = delete;
    PpdFile& operator=(const PpdFile&) = delete;

    bool isExists(std::string_view mainKeyword) const;
    bool isExists(std::string_view mainKeyword, std::string_view optionKeyword) const;
    std::optional<std::vector<std::string>> optionKeywords(std::string_view mainKeyword) const;
    std::optional<std::vector<std::string>> optionAliases(std::string_view mainKeyword) const;
    std::optional<std::string> optionAlias(std::string_view mainKeyword, std::string_view optionKeyword) const;
    std::optional<std::string> mainAlias(std::string_view mainKeyword) const;
    int uiType(std::string_view mainKeyword) const;
    // A boolean value for a Boolean option, a string otherwise, null if none.
    kz::Value defaultOptionChoice(std::string_view mainKeyword) const;
    kz::Dictionary defaultValueDictionary() const;
    // Every option's main keyword, in the order defaultValueDictionary walks.
    std::vector<std::string> mainKeywords() const;
    kz::Value findMarkedChoice(std::string_view mainKeyword) const;
    // libcups' count of constraint conflicts after marking; 0 for a bad argument.
    int markOption(std::string_view mainKeyword, std::string_view optionKeyword);
    std::optional<std::string> product() const;

    kz::Encoding stringEncoding() const { return _stringEncoding; }
    bool isOpenedBySelf() const { return _isOpendBySelf; }
    ppd_file_s* handle() const { return _ppdFile; }

    // The encoding a PPD declares by its LanguageEncoding and LanguageVersion.
    static kz::Encoding encodingFor(std::string_view languageEncoding, std::string_view languageVersion);

protected:
    PpdFile(ppd_file_s* handle, bool openedBySelf);

private:
    // How libcups left the option, choice and group texts when it parsed.
    enum class UiTextForm { Raw, Latin1Transcoded, Utf8Transcoded };

    ppd_file_s* _ppdFile = nullptr;
    kz::Encoding _stringEncoding = kz::Encoding::ASCII;
    bool _isOpendBySelf = false;
    UiTextForm _uiTextForm = UiTextForm::Raw;

    void workOutEncoding();
    std::optional<std::string> decode(const char* text) const;
    std::optional<std::string> decodeUiText(const char* text) const;
    kz::Value choiceValue(const void* option, const char* choice) const;
    const void* findOption(std::string_view mainKeyword) const;
};

// What the panel and the pane plug-in manager actually create; it passes every
// operation through to PpdFile.
class KZ_EXPORT PpdFileExt : public PpdFile {
public:
    static std::unique_ptr<PpdFile> initWithContentsOfFile(const std::string& path, std::string* error = nullptr);
    static std::unique_ptr<PpdFile> initWithPpdFile(ppd_file_s* handle);

private:
    using PpdFile::PpdFile;
    friend class PpdFile;
};

}  // namespace ComTORVALEKZ2R4_Plugin
