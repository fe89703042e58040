#include "platform/foundation/TextEncoding.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <array>
#include <atomic>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/foundation/PreferredLanguages.h"

namespace kz {

namespace {

// ICU has no Mac Japanese or Mac Simplified Chinese table. Both are a common
// double-byte encoding (Shift_JIS; EUC-CN = GB 2312) plus a handful of single
// bytes that the Mac variants add where the base has none. We decode and
// encode those bytes here and leave everything else to ICU. (The Mac
// variants' vertical forms and extra symbol rows are not covered.)
struct SingleByteExtra {
    unsigned char byte;
    char32_t codePoint;
};
constexpr std::array<SingleByteExtra, 5> kMacJapaneseExtras{{
    {0x80, U'\\'}, {0xA0, U'\u00A0'}, {0xFD, U'\u00A9'}, {0xFE, U'\u2122'}, {0xFF, U'\u2026'}}};
constexpr std::array<SingleByteExtra, 5> kMacChineseExtras{{
    {0x80, U'\u00FC'}, {0xA0, U'\u00A0'}, {0xFD, U'\u00A9'}, {0xFE, U'\u2122'}, {0xFF, U'\u2026'}}};

struct EncodingInfo {
    Encoding encoding;
    const char* name;         // canonical name we answer
    const char* icuName;      // the ICU converter
    const SingleByteExtra* extras;
    std::size_t extraCount;
    bool (*isLeadByte)(unsigned char);
};

bool shiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool eucCnLead(unsigned char b) { return b >= 0xA1 && b <= 0xF7; }

// Windows-932 and Shift_JIS share ICU's table (the Windows flavour with the NEC
// and IBM extensions, 0x5C read as backslash): texts from Windows servers and
// from PPDs use those extensions freely, so the stricter JIS table would refuse
// them.
const std::array<EncodingInfo, 10> kEncodings{{
    {Encoding::UTF8, "UTF-8", "UTF-8", nullptr, 0, nullptr},
    {Encoding::ASCII, "US-ASCII", "US-ASCII", nullptr, 0, nullptr},
    {Encoding::MacRoman, "macintosh", "macintosh", nullptr, 0, nullptr},
    {Encoding::MacJapanese, "x-mac-japanese", "Shift_JIS", kMacJapaneseExtras.data(), kMacJapaneseExtras.size(), shiftJisLead},
    {Encoding::MacChineseSimplified, "x-mac-chinesesimp", "EUC-CN", kMacChineseExtras.data(), kMacChineseExtras.size(), eucCnLead},
    {Encoding::EUCJP, "EUC-JP", "EUC-JP", nullptr, 0, nullptr},
    {Encoding::Windows1252, "windows-1252", "windows-1252", nullptr, 0, nullptr},
    {Encoding::Windows932, "windows-31j", "windows-31j", nullptr, 0, nullptr},
    {Encoding::DOSLatin1, "IBM850", "ibm-850", nullptr, 0, nullptr},
    {Encoding::ShiftJIS, "Shift_JIS", "Shift_JIS", nullptr, 0, nullptr},
}};

const EncodingInfo& info(Encoding e) {
    for (const auto& i : kEncodings)
        if (i.encoding == e) return i;
    return kEncodings[0];
}

// ICU counts in int32_t; anything near that is not a text we handle.
constexpr std::size_t kMaxBytes = INT32_MAX / 4;

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openStrict(const EncodingInfo& e) {
    UErrorCode status = U_ZERO_ERROR;
    Converter c(ucnv_open(e.icuName, &status));
    if (U_FAILURE(status)) return nullptr;
    ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status)) return nullptr;
    return c;
}

bool toUtf16(std::string_view utf8, std::u16string& out, bool substitute) {
    if (utf8.size() > kMaxBytes) return false;
    UErrorCode status = U_ZERO_ERROR;
    int32_t needed = 0;
    const int32_t sub = substitute ? 0xFFFD : -1;
    u_strFromUTF8WithSub(nullptr, 0, &needed, utf8.data(), static_cast<int32_t>(utf8.size()), sub, nullptr, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
    out.resize(static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), needed, &needed, utf8.data(), static_cast<int32_t>(utf8.size()), sub, nullptr, &status);
    return U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING;
}

bool appendUtf8(const char16_t* s, int32_t length, std::string& out) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t needed = 0;
    u_strToUTF8(nullptr, 0, &needed, s, length, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    u_strToUTF8(out.data() + start, needed, &needed, s, length, &status);
    return U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING;
}

void appendCodePoint(char32_t cp, std::string& out) {
    char buf[4];
    int32_t i = 0;
    UBool error = false;
    U8_APPEND(buf, i, 4, static_cast<UChar32>(cp), error);
    if (!error) out.append(buf, static_cast<std::size_t>(i));
}

// Decodes a run that holds no single-byte extras.
bool decodeRun(UConverter* c, std::string_view bytes, std::string& out) {
    if (bytes.empty()) return true;
    ucnv_resetToUnicode(c);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t needed = ucnv_toUChars(c, nullptr, 0, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
    std::u16string units(static_cast<std::size_t>(needed), u'\0');
    status = U_ZERO_ERROR;
    ucnv_resetToUnicode(c);
    ucnv_toUChars(c, units.data(), needed, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) return false;
    return appendUtf8(units.data(), needed, out);
}

const SingleByteExtra* extraForByte(const EncodingInfo& e, unsigned char b) {
    for (std::size_t i = 0; i < e.extraCount; ++i)
        if (e.extras[i].byte == b) return &e.extras[i];
    return nullptr;
}

const SingleByteExtra* extraForCodePoint(const EncodingInfo& e, char32_t cp) {
    for (std::size_t i = 0; i < e.extraCount; ++i)
        if (e.extras[i].codePoint == cp) return &e.extras[i];
    return nullptr;
}

// Converts UTF-16 to the encoding; with `lossy`, unmappable characters become
// '?'. Returns false on a strict failure.
bool encodeRun(UConverter* c, const char16_t* s, int32_t length, bool lossy, std::string& out) {
    if (length == 0) return true;
    UErrorCode status = U_ZERO_ERROR;
    if (lossy) {
        ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &status);
        ucnv_setSubstChars(c, "?", 1, &status);
        if (U_FAILURE(status)) return false;
    }
    ucnv_resetFromUnicode(c);
    const int32_t needed = ucnv_fromUChars(c, nullptr, 0, s, length, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(c);
    ucnv_fromUChars(c, out.data() + start, needed, s, length, &status);
    return U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING;
}

std::optional<std::string> encodeImpl(std::string_view utf8, Encoding encoding, bool lossy) {
    const EncodingInfo& e = info(encoding);
    std::u16string units;
    if (!toUtf16(utf8, units, lossy)) return std::nullopt;
    Converter c = openStrict(e);
    Converter probe = openStrict(e);
    if (!c || !probe) return std::nullopt;
    std::string out;
    if (!e.extras) {
        if (!encodeRun(c.get(), units.data(), static_cast<int32_t>(units.size()), lossy, out)) return std::nullopt;
        return out;
    }
    // Characters the base table lacks but the Mac variant has become their
    // single byte; everything else goes through ICU run by run.
    const int32_t n = static_cast<int32_t>(units.size());
    int32_t runStart = 0;
    for (int32_t i = 0; i < n;) {
        const int32_t at = i;
        UChar32 cp;
        U16_NEXT(units.data(), i, n, cp);
        const SingleByteExtra* extra = extraForCodePoint(e, static_cast<char32_t>(cp));
        if (!extra) continue;
        std::string probed;
        if (encodeRun(probe.get(), units.data() + at, i - at, false, probed)) continue;
        if (!encodeRun(c.get(), units.data() + runStart, at - runStart, lossy, out)) return std::nullopt;
        out.push_back(static_cast<char>(extra->byte));
        runStart = i;
    }
    if (!encodeRun(c.get(), units.data() + runStart, n - runStart, lossy, out)) return std::nullopt;
    return out;
}

std::atomic<int> gSystemDefault{-1};

bool japanesePreferred() {
    const std::vector<std::string> languages = preferredLanguages();
    return !languages.empty() && languages.front().substr(0, 2) == "ja";
}

bool equalsIgnoringCaseAndPunctuation(std::string_view a, std::string_view b) {
    auto next = [](std::string_view s, std::size_t& i) -> int {
        while (i < s.size() && (s[i] == '-' || s[i] == '_' || s[i] == ' ')) ++i;
        return i < s.size() ? std::tolower(static_cast<unsigned char>(s[i++])) : -1;
    };
    std::size_t i = 0, j = 0;
    for (;;) {
        const int x = next(a, i), y = next(b, j);
        if (x != y) return false;
        if (x < 0) return true;
    }
}

}  // namespace

std::optional<std::string> TextEncoding::decode(std::string_view bytes, Encoding encoding) {
    if (bytes.size() > kMaxBytes) return std::nullopt;
    if (encoding == Encoding::UTF8) {
        if (!isValidUtf8(bytes)) return std::nullopt;
        return std::string(bytes);
    }
    const EncodingInfo& e = info(encoding);
    Converter c = openStrict(e);
    if (!c) return std::nullopt;
    std::string out;
    if (!e.extras) {
        if (!decodeRun(c.get(), bytes, out)) return std::nullopt;
        return out;
    }
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (e.isLeadByte(b)) {
            i += 2;
            continue;
        }
        const SingleByteExtra* extra = extraForByte(e, b);
        if (!extra) {
            ++i;
            continue;
        }
        if (!decodeRun(c.get(), bytes.substr(runStart, i - runStart), out)) return std::nullopt;
        appendCodePoint(extra->codePoint, out);
        runStart = ++i;
    }
    if (runStart < bytes.size() && !decodeRun(c.get(), bytes.substr(runStart), out)) return std::nullopt;
    return out;
}

std::optional<std::string> TextEncoding::encode(std::string_view utf8, Encoding encoding) {
    if (!isValidUtf8(utf8)) return std::nullopt;
    if (encoding == Encoding::UTF8) return std::string(utf8);
    return encodeImpl(utf8, encoding, false);
}

std::string TextEncoding::encodeLossy(std::string_view utf8, Encoding encoding) {
    if (encoding == Encoding::UTF8 && isValidUtf8(utf8)) return std::string(utf8);
    return encodeImpl(utf8, encoding, true).value_or(std::string());
}

bool TextEncoding::isValidUtf8(std::string_view text) {
    if (text.size() > kMaxBytes) return false;
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto n = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < n;) {
        UChar32 c;
        U8_NEXT(s, i, n, c);
        if (c < 0) return false;
    }
    return true;
}

Encoding TextEncoding::systemDefault() {
    const int set = gSystemDefault.load();
    if (set >= 0) return static_cast<Encoding>(set);
    return japanesePreferred() ? Encoding::Windows932 : Encoding::Windows1252;
}

void TextEncoding::setSystemDefault(Encoding encoding) { gSystemDefault.store(static_cast<int>(encoding)); }

std::optional<Encoding> TextEncoding::fromName(std::string_view name) {
    struct Alias {
        const char* name;
        Encoding encoding;
    };
    static constexpr Alias kAliases[] = {
        {"UTF-8", Encoding::UTF8},
        {"UTF8", Encoding::UTF8},
        {"US-ASCII", Encoding::ASCII},
        {"ASCII", Encoding::ASCII},
        {"macintosh", Encoding::MacRoman},
        {"MacRoman", Encoding::MacRoman},
        {"x-mac-roman", Encoding::MacRoman},
        {"x-mac-japanese", Encoding::MacJapanese},
        {"MacJapanese", Encoding::MacJapanese},
        {"x-mac-chinesesimp", Encoding::MacChineseSimplified},
        {"MacChineseSimplified", Encoding::MacChineseSimplified},
        {"EUC-JP", Encoding::EUCJP},
        {"EUCJP", Encoding::EUCJP},
        {"windows-1252", Encoding::Windows1252},
        {"cp1252", Encoding::Windows1252},
        {"Windows1252", Encoding::Windows1252},
        {"windows-31j", Encoding::Windows932},
        {"windows-932", Encoding::Windows932},
        {"cp932", Encoding::Windows932},
        {"Windows932", Encoding::Windows932},
        {"IBM850", Encoding::DOSLatin1},
        {"cp850", Encoding::DOSLatin1},
        {"DOSLatin1", Encoding::DOSLatin1},
        {"Shift_JIS", Encoding::ShiftJIS},
        {"ShiftJIS", Encoding::ShiftJIS},
        {"sjis", Encoding::ShiftJIS},
    };
    for (const auto& a : kAliases)
        if (equalsIgnoringCaseAndPunctuation(name, a.name)) return a.encoding;
    return std::nullopt;
}

const char* TextEncoding::name(Encoding encoding) { return info(encoding).name; }

}  // namespace kz
