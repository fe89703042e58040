#include "engine/ppd/PpdFile.h"

#include <array>
#include <cstring>
#include <filesystem>

#include "platform/foundation/Log.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// PPD names are at most 40 ASCII characters. A keyword is handed to libcups
// through a 41-byte buffer; one that is longer than 40 bytes, holds a byte
// outside ASCII or an embedded NUL cannot name any PPD entry, so it yields no
// buffer at all and the query answers "nothing" instead of letting a
// truncated or transcoded name match an entry by accident.
using PpdName = std::array<char, PPD_MAX_NAME>;

std::optional<PpdName> ppdName(std::string_view keyword) {
    if (keyword.empty() || keyword.size() > PPD_MAX_NAME - 1) return std::nullopt;
    PpdName name{};
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(keyword[i]);
        if (c == 0 || c >= 0x80) return std::nullopt;
        name[i] = static_cast<char>(c);
    }
    return name;
}

std::string_view attrValue(ppd_file_t* ppd, const char* name) {
    ppd_attr_t* attr = ppdFindAttr(ppd, name, nullptr);
    return attr && attr->value ? std::string_view(attr->value) : std::string_view();
}

// libcups turned ISO-8859-1 bytes into UTF-8; give the bytes back (decoding
// them again also reads 0x80-0x9F as Windows-1252 does). Anything
// beyond U+00FF cannot have come from that transcoding.
std::optional<std::string> latin1Bytes(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            out.push_back(static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F)));
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

bool isAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

PpdFile::PpdFile(ppd_file_s* handle, bool openedBySelf) : _ppdFile(handle), _isOpendBySelf(openedBySelf) {
    if (_ppdFile) workOutEncoding();
}

PpdFile::~PpdFile() {
    if (_isOpendBySelf && _ppdFile) ppdClose(_ppdFile);
}

std::unique_ptr<PpdFile> PpdFile::initWithContentsOfFile(const std::string& path, std::string* error) {
    return PpdFileExt::initWithContentsOfFile(path, error);
}

std::unique_ptr<PpdFile> PpdFile::initWithPpdFile(ppd_file_s* handle) {
    return PpdFileExt::initWithPpdFile(handle);
}

std::unique_ptr<PpdFile> PpdFileExt::initWithContentsOfFile(const std::string& path, std::string* error) {
    std::error_code ec;
    std::string why;
    ppd_file_t* ppd = nullptr;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
        why = "no such file";
    } else if (!(ppd = ppdOpenFile(path.c_str()))) {
        int line = 0;
        const ppd_status_t status = ppdLastError(&line);
        why = kz::strprintf("%s on line %d", ppdErrorString(status), line);
    }
    if (!ppd) {
        kz::Log::line("### ## can't open PPD " + path + ": " + why);
        if (error) *error = why;
        return nullptr;
    }
    return std::unique_ptr<PpdFile>(new PpdFileExt(ppd, true));
}

std::unique_ptr<PpdFile> PpdFileExt::initWithPpdFile(ppd_file_s* handle) {
    return std::unique_ptr<PpdFile>(new PpdFileExt(handle, false));
}

kz::Encoding PpdFile::encodingFor(std::string_view languageEncoding, std::string_view languageVersion) {
    if (languageEncoding == "UTF-8") return kz::Encoding::UTF8;
    // ISOLatin1 is ISO 8859-1, as libcups and the PPD format read it; the
    // Windows-1252 decoder agrees on every byte from 0xA0 and reads the C1
    // range as the printable characters real Latin-1 PPDs put there.
    if (languageEncoding == "ISOLatin1" || languageEncoding == "WindowsANSI") return kz::Encoding::Windows1252;
    if (languageEncoding == "MacStandard") return kz::Encoding::MacRoman;
    if (languageEncoding == "JIS83-RKSJ") return kz::Encoding::MacJapanese;
    if (languageVersion == "Chinese" && languageEncoding == "None") return kz::Encoding::MacChineseSimplified;
    return kz::Encoding::ASCII;
}

void PpdFile::workOutEncoding() {
    // libcups rewrites lang_encoding to "UTF-8" once it has transcoded the
    // option, choice and group texts; the attribute keeps what the file said.
    std::string_view declared = attrValue(_ppdFile, "LanguageEncoding");
    std::string_view version = attrValue(_ppdFile, "LanguageVersion");
    std::string_view parsed = _ppdFile->lang_encoding ? _ppdFile->lang_encoding : "";
    if (version.empty() && _ppdFile->lang_version) version = _ppdFile->lang_version;
    if (declared.empty()) declared = parsed;
    _stringEncoding = encodingFor(declared, version);

    if (parsed != "UTF-8" || declared == "UTF-8") {
        _uiTextForm = UiTextForm::Raw;
    } else if (declared == "ISOLatin1") {
        _uiTextForm = UiTextForm::Latin1Transcoded;
    } else {
        // libcups knew the encoding (Shift-JIS and the like) and produced
        // UTF-8; its result is taken as the decoded text. Encodings it does
        // not know it leaves as raw bytes.
        static constexpr const char* kTranscodedByLibcups[] = {"JIS83-RKSJ", "ISOLatin2", "ISOLatin5",
                                                               "MacStandard", "WindowsANSI"};
        _uiTextForm = UiTextForm::Raw;
        for (const char* name : kTranscodedByLibcups)
            if (declared == name) _uiTextForm = UiTextForm::Utf8Transcoded;
    }
}

// Printable ASCII other than backslash and tilde reads the same in every
// encoding a PPD can declare here (the Japanese ones may differ on those two),
// so the many plain keywords skip the converter.
static bool isPlainAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c >= 0x7F || c == '\\' || c == '~') return false;
    return true;
}

std::optional<std::string> PpdFile::decode(const char* text) const {
    if (!text) return std::nullopt;
    if (isPlainAscii(text)) return std::string(text);
    return kz::TextEncoding::decode(std::string_view(text), _stringEncoding);
}

std::optional<std::string> PpdFile::decodeUiText(const char* text) const {
    if (!text) return std::nullopt;
    std::string_view bytes(text);
    switch (_uiTextForm) {
        case UiTextForm::Raw:
            return decode(text);
        case UiTextForm::Latin1Transcoded: {
            auto original = latin1Bytes(bytes);
            if (!original) return std::nullopt;
            return kz::TextEncoding::decode(*original, _stringEncoding);
        }
        case UiTextForm::Utf8Transcoded:
            if (!kz::TextEncoding::isValidUtf8(bytes)) return std::nullopt;
            if (_stringEncoding == kz::Encoding::ASCII && !isAscii(bytes)) return std::nullopt;
            return std::string(bytes);
    }
    return std::nullopt;
}

const void* PpdFile::findOption(std::string_view mainKeyword) const {
    if (!_ppdFile) return nullptr;
    auto name = ppdName(mainKeyword);
    if (!name) return nullptr;
    return ppdFindOption(_ppdFile, name->data());
}

kz::Value PpdFile::choiceValue(const void* opaque, const char* choice) const {
    auto* option = static_cast<const ppd_option_t*>(opaque);
    if (!choice) return option && option->ui == PPD_UI_BOOLEAN ? kz::Value(false) : kz::Value();
    if (option && option->ui == PPD_UI_BOOLEAN) return kz::Value(std::strcmp(choice, "True") == 0);
    auto text = decode(choice);
    return text ? kz::Value(std::move(*text)) : kz::Value();
}

bool PpdFile::isExists(std::string_view mainKeyword) const { return findOption(mainKeyword) != nullptr; }

bool PpdFile::isExists(std::string_view mainKeyword, std::string_view optionKeyword) const {
    auto* option = static_cast<const ppd_option_t*>(findOption(mainKeyword));
    auto choice = ppdName(optionKeyword);
    if (!option || !choice || option->num_choices <= 0 || !option->choices) return false;
    for (int i = 0; i < option->num_choices; ++i)
        if (std::strcmp(option->choices[i].choice, choice->data()) == 0) return true;
    return false;
}

std::optional<std::vector<std::string>> PpdFile::optionKeywords(std::string_view mainKeyword) const {
    auto* option = static_cast<const ppd_option_t*>(findOption(mainKeyword));
    if (!option) return std::nullopt;
    std::vector<std::string> keywords;
    keywords.reserve(static_cast<std::size_t>(std::max(option->num_choices, 0)));
    for (int i = 0; i < option->num_choices; ++i) {
        auto keyword = decode(option->choices[i].choice);
        keywords.push_back(keyword ? std::move(*keyword) : std::string("xxx"));
    }
    return keywords;
}

std::optional<std::vector<std::string>> PpdFile::optionAliases(std::string_view mainKeyword) const {
    auto* option = static_cast<const ppd_option_t*>(findOption(mainKeyword));
    if (!option) return std::nullopt;
    std::vector<std::string> aliases;
    aliases.reserve(static_cast<std::size_t>(std::max(option->num_choices, 0)));
    for (int i = 0; i < option->num_choices; ++i) {
        auto alias = decodeUiText(option->choices[i].text);
        if (!alias) alias = decode(option->choices[i].choice);
        aliases.push_back(alias ? std::move(*alias) : std::string("xxx"));
    }
    return aliases;
}

std::optional<std::string> PpdFile::optionAlias(std::string_view mainKeyword, std::string_view optionKeyword) const {
    auto* option = static_cast<const ppd_option_t*>(findOption(mainKeyword));
    auto choice = ppdName(optionKeyword);
    if (!option || !choice) return std::nullopt;
    for (int i = 0; i < option->num_choices; ++i) {
        if (std::strcmp(option->choices[i].choice, choice->data()) != 0) continue;
        auto alias = decodeUiText(option->choices[i].text);
        return alias ? alias : decode(option->choices[i].choice);
    }
    return std::nullopt;
}

std::optional<std::string> PpdFile::mainAlias(std::string_view mainKeyword) const {
    auto* option = static_cast<const ppd_option_t*>(findOption(mainKeyword));
    if (!option) return std::nullopt;
    return decodeUiText(option->text);
}

int PpdFile::uiType(std::string_view mainKeyword) const {
    auto* option = static_cast<const ppd_option_t*>(findOption(mainKeyword));
    return option ? static_cast<int>(option->ui) : 0;
}

kz::Value PpdFile::defaultOptionChoice(std::string_view mainKeyword) const {
    auto* option = static_cast<const ppd_option_t*>(findOption(mainKeyword));
    if (!option) return {};
    return choiceValue(option, option->defchoice);
}

kz::Dictionary PpdFile::defaultValueDictionary() const {
    kz::Dictionary defaults;
    if (!_ppdFile) return defaults;
    auto addOptions = [&](const ppd_group_t& group) {
        for (int i = 0; i < group.num_options; ++i) {
            const ppd_option_t& option = group.options[i];
            auto keyword = decode(option.keyword);
            if (!keyword) continue;
            kz::Value value = choiceValue(&option, option.defchoice);
            if (!value.isNull()) defaults.set(*keyword, std::move(value));
        }
    };
    for (int g = 0; g < _ppdFile->num_groups; ++g) {
        const ppd_group_t& group = _ppdFile->groups[g];
        addOptions(group);
        for (int s = 0; s < group.num_subgroups; ++s) addOptions(group.subgroups[s]);
    }
    return defaults;
}

std::vector<std::string> PpdFile::mainKeywords() const {
    std::vector<std::string> keywords;
    if (!_ppdFile) return keywords;
    kz::Dictionary seen;
    auto addOptions = [&](const ppd_group_t& group) {
        for (int i = 0; i < group.num_options; ++i) {
            auto keyword = decode(group.options[i].keyword);
            if (keyword && !seen.contains(*keyword)) {
                seen.set(*keyword, true);
                keywords.push_back(*keyword);
            }
        }
    };
    for (int g = 0; g < _ppdFile->num_groups; ++g) {
        addOptions(_ppdFile->groups[g]);
        for (int s = 0; s < _ppdFile->groups[g].num_subgroups; ++s) addOptions(_ppdFile->groups[g].subgroups[s]);
    }
    return keywords;
}

kz::Value PpdFile::findMarkedChoice(std::string_view mainKeyword) const {
    if (!_ppdFile) return {};
    auto name = ppdName(mainKeyword);
    if (!name) return {};
    ppd_choice_t* choice = ppdFindMarkedChoice(_ppdFile, name->data());
    if (!choice) return {};
    return choiceValue(choice->option, choice->choice);
}

int PpdFile::markOption(std::string_view mainKeyword, std::string_view optionKeyword) {
    if (!_ppdFile) return 0;
    auto name = ppdName(mainKeyword);
    auto choice = ppdName(optionKeyword);
    if (!name || !choice) return 0;
    return ppdMarkOption(_ppdFile, name->data(), choice->data());
}

std::optional<std::string> PpdFile::product() const {
    if (!_ppdFile) return std::nullopt;
    return decode(_ppdFile->product);
}

}  // namespace ComTORVALEKZ2R4_Plugin

#pragma GCC diagnostic pop
