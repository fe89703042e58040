#include "engine/conversion/PrintOptionConverter.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <optional>
#include <utility>

#include "engine/conversion/PasswordTransport.h"
#include "platform/foundation/Decimal.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TextEncoding.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

PasswordTransport* gTransport = nullptr;
std::optional<std::string> gLoginName;

constexpr const char* kTrays[][2] = {
    {"VLInputSlot", "StockType"},
    {"BlankPapersFrontTray", "BlankPapersFrontStockType"},
    {"BlankPapersBackTray", "BlankPapersBackStockType"},
    {"SeparatorsTray", "SeparatorsStockType"},
    {"Imposition1stTray", "Imposition1stStockType"},
    {"CoverPageTray", "CoverPageStockType"},
};
constexpr const char* kPasswords[] = {"SecurityPrintPassword", "RscPassword", "AuthJobPassword"};
constexpr const char* kCustomLengths[] = {
    "ChgPrintPaperSizeLength", "ChgPrintPaperSizeWidth", "ImpositionFormPositionWidth", "ImpositionFormPositionLength",
    "FormPositionWidth",       "FormPositionLength",     "PrintPositionFrontWidth",     "PrintPositionFrontLength",
    "PrintPositionBackWidth",  "PrintPositionBackLength"};
constexpr const char* kFixedLengths[] = {
    "CreasePosition1",          "CreasePosition2",           "CreasePosition3",
    "CreasePosition4",          "CreasePosition5",           "TopAndTailTrimFinishSize",
    "TopAndTailTrimRearCutSize", "TopAndTailTrimFrontCutSize", "TrimmerFinishedSize",
    "TrimmerCutSize"};
constexpr const char* kMagnifications[] = {"PrintPositionFrontWidthMag", "PrintPositionFrontLengthMag",
                                           "PrintPositionBackWidthMag", "PrintPositionBackLengthMag"};
constexpr const char* kPunchPositions[] = {"Left", "Right", "Top", "Bottom", "MixSize"};
constexpr const char* kPunchHoles[] = {"Holes2", "Holes3", "Holes4", "HolesMulti"};

std::string text(const kz::Dictionary& option, std::string_view key) {
    const kz::Value* v = option.find(key);
    return v ? v->stringValue() : std::string();
}

bool isPresent(const kz::Dictionary& option, std::string_view key) {
    const kz::Value* v = option.find(key);
    return v && !v->stringValue().empty();
}

// The leading decimal number of a text, read the way a text's doubleValue
// reads it (white space, sign, digits, fraction, exponent; the rest ignored),
// but exactly; 0 when there is none.
kz::Decimal leadingDecimal(std::string_view text) {
    std::size_t i = 0;
    auto digits = [&] {
        std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i - from;
    };
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t count = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        count += digits();
    }
    if (count == 0) return kz::Decimal(0);
    const std::size_t mantissaEnd = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) i = mantissaEnd;
    }
    std::optional<kz::Decimal> d = kz::Decimal::parse(text.substr(start, i - start));
    return d ? *d : kz::Decimal(0);
}

// The value with exactly `places` decimals ("%.*f" of an exact decimal).
std::string fixedText(const kz::Decimal& value, int places) {
    std::string digits = value.rounded(places).toString();
    if (places <= 0) return digits;
    std::size_t point = digits.find('.');
    if (point == std::string::npos) {
        point = digits.size();
        digits += '.';
    }
    digits.append(static_cast<std::size_t>(places) - (digits.size() - point - 1), '0');
    return digits;
}

// Rounded as the value first printed with six decimals and that text then
// rounded half away from zero: 99.94 % gives -0.6 and then -1, 0.5 mm gives
// 283.464567 and 283. Values too large for any paper are taken as 0, which
// keeps the texts short whatever the input.
std::string roundedText(const kz::Decimal& value, int places) {
    static const kz::Decimal kLimit = kz::Decimal(1'000'000'000'000'000LL);
    if (value.isNaN() || value > kLimit || value < -kLimit) return fixedText(kz::Decimal(0), places);
    return fixedText(value.rounded(6).rounded(places), places);
}

// "%u" of a position measured from the other edge. A position beyond the paper
// length would wrap to a huge unsigned number; it is clamped to the edge.
std::string mirroredPosition(std::int64_t length, std::int64_t position) {
    std::int64_t distance = length - position;
    if (distance < 0) distance = 0;
    return kz::strprintf("%llu", static_cast<unsigned long long>(distance));
}

std::string loginName() {
    if (gLoginName) return *gLoginName;
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name)
        return found->pw_name;
    const char* login = getlogin();
    return login ? login : "";
}

std::string bufferText(const EncDecBuffer& buffer) {
    std::string_view bytes(buffer.data(), strnlen(buffer.data(), buffer.size()));
    return kz::TextEncoding::isValidUtf8(bytes) ? std::string(bytes) : std::string();
}

void convertPasswords(kz::Dictionary& option, bool encode) {
    PasswordTransport& transport = gTransport ? *gTransport : PasswordTransport::library();
    for (const char* key : kPasswords) {
        if (!isPresent(option, key)) continue;
        EncDecBuffer buffer{};
        std::string value = text(option, key);
        int status = encode ? transport.encode(value, buffer) : transport.decode(value, buffer);
        if (status != 0) kz::Log::line(encode ? "### ### encode error" : "### ### decode error");
        buffer.back() = '\0';
        option.set(key, bufferText(buffer));
    }
}

void splitPunch(kz::Dictionary& option) {
    if (!option.contains("Punch_PunchHoles")) return;
    std::string joined = text(option, "Punch_PunchHoles");
    std::string position = "None", holes = "None";
    for (const char* p : kPunchPositions) {
        for (const char* h : kPunchHoles) {
            if (std::strcmp(p, "MixSize") == 0 && std::strcmp(h, "HolesMulti") == 0) continue;
            if (joined == std::string(p) + h) position = p, holes = h;
        }
    }
    option.set("Punch", position);
    option.set("PunchHoles", holes);
    option.remove("Punch_PunchHoles");
}

void joinPunch(kz::Dictionary& option) {
    if (!option.contains("Punch") || !option.contains("PunchHoles")) return;
    std::string position = text(option, "Punch"), holes = text(option, "PunchHoles");
    std::string joined = "None";
    for (const char* p : kPunchPositions)
        for (const char* h : kPunchHoles)
            if (position == p && holes == h && !(position == "MixSize" && holes == "HolesMulti"))
                joined = position + holes;
    option.set("Punch_PunchHoles", joined);
    option.remove("Punch");
    option.remove("PunchHoles");
}

void outlineEmphasis(kz::Dictionary& option) {
    option.set("OutlineEmphasis", text(option, "OutlineEmphasisLevel") == "Emphasis0" ? "False" : "True");
}

template <std::size_t N>
void replaceEach(kz::Dictionary& option, const char* const (&keys)[N], std::string (*convert)(std::string_view)) {
    for (const char* key : keys)
        if (isPresent(option, key)) option.set(key, convert(text(option, key)));
}

std::string joinedMode(const kz::Dictionary& option) { return text(option, "ImpositionMode_ImpositionCustomMode"); }

}  // namespace

void PrintOptionConverter::setPasswordTransport(PasswordTransport* transport) { gTransport = transport; }

void PrintOptionConverter::setLoginNameForTesting(std::string name) { gLoginName = std::move(name); }

std::string PrintOptionConverter::convertMmToCep(std::string_view millimetres) {
    return roundedText(leadingDecimal(millimetres) * kz::Decimal(144000) / kz::Decimal(254), 0);
}

std::string PrintOptionConverter::convertCepToMm(std::string_view fineUnits) {
    return roundedText(leadingDecimal(fineUnits) * kz::Decimal(254) / kz::Decimal(144000), 2);
}

std::string PrintOptionConverter::convertQuillToMag(std::string_view tenths) {
    return roundedText(kz::Decimal(kz::intValueOfText(tenths)) / kz::Decimal(10) + kz::Decimal(100), 1);
}

std::string PrintOptionConverter::convertMagToQuill(std::string_view percentage) {
    return roundedText((leadingDecimal(percentage) - kz::Decimal(100)) * kz::Decimal(10), 0);
}

void PrintOptionConverter::swapCreaseKeyword(kz::Dictionary& option) {
    if (!isPresent(option, "CreaseNum")) return;
    int n = kz::intValueOfText(text(option, "CreaseNum"));
    if (n >= 2 && n <= 5) {
        for (const char* family : {"CreasePosition", "CreaseDirection", "CreasePressureLevel"}) {
            for (int i = 1; i <= n / 2; ++i) {
                std::string a = kz::strprintf("%s%d", family, i), b = kz::strprintf("%s%d", family, n + 1 - i);
                kz::Value* va = option.find(a);
                kz::Value* vb = option.find(b);
                if (va && vb) std::swap(*va, *vb);
            }
        }
    }
    if (!isPresent(option, "ChgPrintPaperSizeLength")) return;
    std::int64_t length = kz::integerValueOfText(text(option, "ChgPrintPaperSizeLength"));
    for (int i = 1; i <= 5; ++i) {
        std::string key = kz::strprintf("CreasePosition%d", i);
        if (isPresent(option, key))
            option.set(key, mirroredPosition(length, kz::integerValueOfText(text(option, key))));
    }
}

void PrintOptionConverter::convertToCanonicalPpdKeyword(kz::Dictionary& option, bool convertCustom) {
    outlineEmphasis(option);

    if (isPresent(option, "GraphicsTreatmentEx")) {
        std::string ex = text(option, "GraphicsTreatmentEx");
        bool job = ex == "JobImage" || ex == "JobText";
        option.set("GraphicsTreatmentBase", job ? "Job" : "System");
        option.set("GraphicsTreatmentMode", ex == "JobText" ? "Text" : "Image");
    }

    if (text(option, "PrinterMode") != "Contone600dpi") {
        if (const kz::Value* v = option.find("IQImageSettingToText1200dpi")) option.set("IQImageSettingToText", *v);
        if (const kz::Value* v = option.find("IndividualGraphicsScreen1200dpi"))
            option.set("IndividualGraphicsScreen", *v);
    }

    std::string mode = joinedMode(option);
    if (mode == "Nup" && option.contains("ImpositionNup_Fitting"))
        option.set("Fitting", option.get("ImpositionNup_Fitting"));
    else if (mode == "Booklet" && option.contains("ImpositionBooklet_Fitting"))
        option.set("Fitting", option.get("ImpositionBooklet_Fitting"));
    else
        option.set("Fitting", "False");

    for (const auto& tray : kTrays)
        if (isPresent(option, tray[0])) option.set(tray[1], text(option, tray[0]) == "TrayStock" ? "Name" : "Property");

    splitPunch(option);
    if (convertCustom) convertPasswords(option, true);

    if (option.contains("AuthJobUserIdType")) {
        if (text(option, "AuthJobUserIdType") == "Login") option.set("AuthJobUserId", loginName());
        option.remove("AuthJobUserIdType");
    }

    if (convertCustom) replaceEach(option, kCustomLengths, convertMmToCep);
    replaceEach(option, kFixedLengths, convertMmToCep);
    if (convertCustom) replaceEach(option, kMagnifications, convertMagToQuill);
    if (isPresent(option, "MinimumLineWidthValue"))
        option.set("MinimumLineWidthValue",
                   roundedText((leadingDecimal(text(option, "MinimumLineWidthValue")) * kz::Decimal(1000)).rounded(0), 0));

    convertToCanonicalImpositionKeyword(option);
    swapCreaseKeyword(option);
}

void PrintOptionConverter::convertToInternalPpdKeyword(kz::Dictionary& option) {
    swapCreaseKeyword(option);
    joinPunch(option);
    convertPasswords(option, false);
    replaceEach(option, kCustomLengths, convertCepToMm);
    replaceEach(option, kFixedLengths, convertCepToMm);
    replaceEach(option, kMagnifications, convertQuillToMag);
    if (isPresent(option, "MinimumLineWidthValue"))
        option.set("MinimumLineWidthValue",
                   kz::strprintf("%05.3f", kz::intValueOfText(text(option, "MinimumLineWidthValue")) / 1000.0));

    convertToInternalImpositionKeyword(option);

    if (option.contains("ImpositionMode_ImpositionCustomMode") && option.contains("Fitting")) {
        std::string mode = joinedMode(option);
        if (mode == "Nup") option.set("ImpositionNup_Fitting", option.get("Fitting"));
        if (mode == "Booklet") option.set("ImpositionBooklet_Fitting", option.get("Fitting"));
    }

    outlineEmphasis(option);

    if (option.contains("GraphicsTreatmentBase") && option.contains("GraphicsTreatmentMode")) {
        std::string base = text(option, "GraphicsTreatmentBase");
        option.set("GraphicsTreatmentEx", base == "System"                                 ? "System"
                                          : text(option, "GraphicsTreatmentMode") == "Text" ? "JobText"
                                                                                            : "JobImage");
    }
}

void ConvertToCanonicalPpdKeyword(kz::Dictionary* option) {
    if (option) PrintOptionConverter::convertToCanonicalPpdKeyword(*option, true);
}

void ConvertToInternalPpdKeyword(kz::Dictionary* option) {
    if (option) PrintOptionConverter::convertToInternalPpdKeyword(*option);
}

}  // namespace ComTORVALEKZ2R4_Plugin
