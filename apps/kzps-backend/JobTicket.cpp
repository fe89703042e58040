#include "JobTicket.h"

#include "QueueHold.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

namespace kzps {

namespace {

// Custom entries of the panel are named VENDOR + this + KEYWORD.
constexpr std::string_view kCustomEntryMarker = ".print.PrintSettingsTicket.";
constexpr int kFinishingsNone = 3;
constexpr std::size_t kMaxNameBytes = 255;

// The keyword of a custom entry, "" for any other option.
std::string_view entryKeyword(std::string_view name) {
    auto at = name.find(kCustomEntryMarker);
    if (at == std::string_view::npos || at == 0) return {};
    return name.substr(at + kCustomEntryMarker.size());
}

// IPP's own attribute names are lower case words with hyphens; the panel's
// and the PPD's options have capitals or dots.
bool isIppName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
           });
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Well-formed UTF-8 without control characters: what an IPP name or text
// may hold.
bool isCleanText(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7f) return false;
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 && c >= 0xc2 ? 2 : (c >> 4) == 0xe ? 3 : (c >> 3) == 0x1e && c <= 0xf4 ? 4 : 0;
        if (n == 0 || i + n > text.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) return false;
        i += n;
    }
    return true;
}

std::string sidesOfDuplex(std::string_view choice) {
    if (choice == "DuplexNoTumble") return "two-sided-long-edge";
    if (choice == "DuplexTumble") return "two-sided-short-edge";
    if (choice == "None" || choice == "SimplexTumble" || equalsNoCase(choice, "false")) return "one-sided";
    return "";
}

// Trays with a value in IPP; the others are known only by their choice.
const std::map<std::string, std::string, std::less<>>& inputTrays() {
    static const std::map<std::string, std::string, std::less<>> trays = {
        {"AutoSelect", "auto"}, {"Manual", "by-pass-tray"}, {"Tray1", "tray-1"}, {"Tray2", "tray-2"},
        {"Tray3", "tray-3"},    {"Tray4", "tray-4"},        {"Tray6", "tray-6"}, {"Tray7", "tray-7"},
        {"Tray8", "tray-8"},    {"Tray9", "tray-9"}};
    return trays;
}

const std::map<std::string, std::string, std::less<>>& outputTrays() {
    static const std::map<std::string, std::string, std::less<>> trays = {
        {"Auto", "auto"}, {"Stackertray", "stacker-1"}, {"Stackertray2", "stacker-2"}};
    return trays;
}

std::string lookUp(const std::map<std::string, std::string, std::less<>>& table, std::string_view key) {
    auto it = table.find(key);
    return it == table.end() ? std::string() : it->second;
}

// At most MAX bytes, cut before a character rather than inside one.
std::string cutToBytes(std::string text, std::size_t max) {
    if (text.size() <= max) return text;
    std::size_t end = max;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80) --end;
    text.resize(end);
    return text;
}

bool fail(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return false;
}

using Lookup = std::function<std::string(const std::string&)>;

// The option string as CUPS parses it, bounded in bytes and in options.
std::optional<std::vector<JobTicket::Option>> parseOptions(std::string_view options, std::string* error) {
    if (options.size() > JobTicket::kMaxOptionsBytes) {
        fail(error, "the job's options are longer than " + std::to_string(JobTicket::kMaxOptionsBytes) + " bytes");
        return std::nullopt;
    }
    cups_option_t* parsed = nullptr;
    const std::string text(options);
    const int count = cupsParseOptions(text.c_str(), 0, &parsed);
    std::vector<JobTicket::Option> all;
    for (int i = 0; i < count; ++i) all.push_back({parsed[i].name, parsed[i].value ? parsed[i].value : ""});
    cupsFreeOptions(count, parsed);
    if (all.size() > JobTicket::kMaxOptions) {
        fail(error, "the job has more than " + std::to_string(JobTicket::kMaxOptions) + " options");
        return std::nullopt;
    }
    return all;
}

// The panel's 2-sided control when it chose something; a dialog that
// sends every PPD option sends it at its default beside its own choice.
std::string sidesOf(const Lookup& get) {
    const std::string duplexMode = get("DuplexMode");
    std::string sides;
    if (duplexMode != "None") sides = sidesOfDuplex(duplexMode);
    if (sides.empty()) {
        std::string asked = get("sides");
        if (asked == "one-sided" || asked == "two-sided-long-edge" || asked == "two-sided-short-edge") sides = asked;
    }
    if (sides.empty()) sides = sidesOfDuplex(get("Duplex"));
    if (sides.empty()) sides = sidesOfDuplex(duplexMode);
    return sides;
}

// The finishings the queue's PPD choices stand for, then those asked by
// number, each once; "none" only when nothing else is asked.
std::vector<int> finishingsOf(const QueueDescription& queue, const Lookup& chosen, std::string_view asked) {
    std::vector<int> all;
    for (const auto& finishing : queue.finishings()) {
        bool matches = std::all_of(finishing.choices.begin(), finishing.choices.end(),
                                   [&](const auto& c) { return chosen(c.first) == c.second; });
        if (matches) all.push_back(finishing.value);
    }
    for (std::string_view rest = asked; !rest.empty();) {
        auto comma = rest.find(',');
        std::string word(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        char* end = nullptr;
        long value = std::strtol(word.c_str(), &end, 10);
        if (end != word.c_str() && !*end && value >= kFinishingsNone && value <= 0xffff)
            all.push_back(static_cast<int>(value));
    }
    std::vector<int> unique;
    for (int value : all)
        if (std::find(unique.begin(), unique.end(), value) == unique.end()) unique.push_back(value);
    if (unique.size() > 1) unique.erase(std::remove(unique.begin(), unique.end(), kFinishingsNone), unique.end());
    return unique;
}

}  // namespace

std::string JobTicket::unEscape(std::string_view stored) {
    // The custom-entry escapes and the job name field's own ones; a line
    // break has no place in a job name and becomes a space.
    static const std::pair<std::string_view, std::string_view> rules[] = {
        {"%x25", "%"}, {"%x27", "'"}, {"%x2C", ","}, {"\\\\", "\\"}, {"\\\"", "\""}, {"\\n", " "}};
    std::string out;
    for (std::size_t at = 0; at < stored.size();) {
        bool replaced = false;
        for (const auto& [escaped, original] : rules) {
            if (stored.compare(at, escaped.size(), escaped) == 0) {
                out += original;
                at += escaped.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) out += stored[at++];
    }
    return out;
}

std::optional<JobTicket> JobTicket::read(std::string_view options, const std::string& title, int copies,
                                         const QueueDescription& queue, std::string* error) {
    std::optional<std::vector<Option>> all = parseOptions(options, error);
    if (!all) return std::nullopt;

    JobTicket ticket;
    ticket._copies = copies > 0 ? copies : 1;
    std::map<std::string, std::string, std::less<>> byName;
    std::string typedName, nameMode;
    std::optional<std::string> entryPassword;
    for (const Option& option : *all) {
        // With the prefix a name must still be an IPP name.
        if (option.name.size() + std::strlen(kOwnPrefix) > kMaxNameBytes || option.value.size() > kMaxValueBytes ||
            !isCleanText(option.name) ||
            (!isCleanText(option.value) && option.name != "job-password")) {
            fail(error, "the job's option \"" + option.name.substr(0, 64) + "\" is too long or holds control characters");
            return std::nullopt;
        }
        byName[option.name] = option.value;
        const std::string_view keyword = entryKeyword(option.name);
        if (option.name == QueueHold::kThroughPanel) ticket._fromPanel = true;
        if (keyword == "JobName") typedName = option.value;
        if (keyword == "VLSpecificJobName") nameMode = option.value;
        if (keyword == "SecurityPrintPassword") {
            // Never forwarded under its own name: it goes as job-password.
            entryPassword = option.value;
            continue;
        }
        if (!isIppName(option.name)) ticket._own.push_back(option);
    }
    // The scheduler writes a boolean choice as "true"/"false"; the PPD's
    // choice, which the print server reads, is "True"/"False".
    for (Option& option : ticket._own) {
        const std::string fallback = queue.defaultChoice(option.name);
        if ((fallback == "True" || fallback == "False") &&
            (equalsNoCase(option.value, "true") || equalsNoCase(option.value, "false")))
            option.value = equalsNoCase(option.value, "true") ? "True" : "False";
    }
    auto get = [&](std::string_view name) -> std::string {
        auto it = byName.find(name);
        return it == byName.end() ? std::string() : it->second;
    };
    auto chosen = [&](const std::string& name) {
        std::string value = get(name);
        return value.empty() ? queue.defaultChoice(name) : value;
    };

    const std::string typed = unEscape(typedName);
    // A name the dialog takes (255 UTF-16 units) can be longer than an IPP
    // name; the server would refuse the whole job for it.
    ticket._jobName = cutToBytes(!typed.empty() && nameMode != "Auto" ? typed : title, kMaxNameBytes);

    ticket._sides = sidesOf(get);

    ticket._finishings = finishingsOf(queue, chosen, get("finishings"));

    ticket._mediaSize = queue.pageSize(chosen("PageSize"));
    ticket._mediaSource = lookUp(inputTrays(), get("VLInputSlot"));
    ticket._outputBin = lookUp(outputTrays(), get("OutputTray"));
    if (ticket._outputBin.empty() && isIppName(get("output-bin"))) ticket._outputBin = get("output-bin");

    const std::string colorModel = get("ColorModel");
    if (!colorModel.empty()) {
        ticket._printColorMode = colorModel == "Gray" ? "monochrome" : "color";
    } else if (isIppName(get("print-color-mode"))) {
        ticket._printColorMode = get("print-color-mode");
    }

    const std::string collate = get("Collate");
    if (equalsNoCase(collate, "true")) {
        ticket._multipleDocumentHandling = "separate-documents-collated-copies";
    } else if (equalsNoCase(collate, "false")) {
        ticket._multipleDocumentHandling = "separate-documents-uncollated-copies";
    } else if (isIppName(get("multiple-document-handling"))) {
        ticket._multipleDocumentHandling = get("multiple-document-handling");
    }

    if (byName.contains("job-password")) {
        ticket._jobPassword = get("job-password");
        ticket._jobPasswordEncryption = get("job-password-encryption");
    } else if (entryPassword && !entryPassword->empty()) {
        ticket._jobPassword = entryPassword;
    }
    if (ticket._jobPassword && (ticket._jobPassword->empty() || ticket._jobPassword->size() > kMaxNameBytes))
        ticket._jobPassword.reset();
    if (!isIppName(ticket._jobPasswordEncryption)) ticket._jobPasswordEncryption = "none";
    return ticket;
}

void JobTicket::addTo(ipp_t* request) const {
    // Operation attributes first: a server refuses groups out of order.
    if (_jobPassword) {
        ippAddOctetString(request, IPP_TAG_OPERATION, "job-password", _jobPassword->data(),
                          static_cast<int>(_jobPassword->size()));
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "job-password-encryption", nullptr,
                     _jobPasswordEncryption.c_str());
    }
    ippAddString(request, IPP_TAG_JOB, IPP_TAG_NAME, "job-name", nullptr, _jobName.c_str());
    ippAddInteger(request, IPP_TAG_JOB, IPP_TAG_INTEGER, "copies", _copies);
    if (!_sides.empty()) ippAddString(request, IPP_TAG_JOB, IPP_TAG_KEYWORD, "sides", nullptr, _sides.c_str());
    if (!_finishings.empty())
        ippAddIntegers(request, IPP_TAG_JOB, IPP_TAG_ENUM, "finishings", static_cast<int>(_finishings.size()),
                       _finishings.data());
    if (_mediaSize || !_mediaSource.empty()) {
        ipp_t* media = ippNew();
        if (_mediaSize) {
            ipp_t* size = ippNew();
            ippAddInteger(size, IPP_TAG_ZERO, IPP_TAG_INTEGER, "x-dimension", _mediaSize->width);
            ippAddInteger(size, IPP_TAG_ZERO, IPP_TAG_INTEGER, "y-dimension", _mediaSize->length);
            ippAddCollection(media, IPP_TAG_ZERO, "media-size", size);
            ippDelete(size);
        }
        if (!_mediaSource.empty())
            ippAddString(media, IPP_TAG_ZERO, IPP_TAG_KEYWORD, "media-source", nullptr, _mediaSource.c_str());
        ippAddCollection(request, IPP_TAG_JOB, "media-col", media);
        ippDelete(media);
    }
    if (!_outputBin.empty()) ippAddString(request, IPP_TAG_JOB, IPP_TAG_KEYWORD, "output-bin", nullptr, _outputBin.c_str());
    if (!_printColorMode.empty())
        ippAddString(request, IPP_TAG_JOB, IPP_TAG_KEYWORD, "print-color-mode", nullptr, _printColorMode.c_str());
    if (!_multipleDocumentHandling.empty())
        ippAddString(request, IPP_TAG_JOB, IPP_TAG_KEYWORD, "multiple-document-handling", nullptr,
                     _multipleDocumentHandling.c_str());
    for (const Option& option : _own) {
        const std::string name = kOwnPrefix + option.name;
        ippAddString(request, IPP_TAG_JOB, option.value.size() > kMaxNameBytes ? IPP_TAG_TEXT : IPP_TAG_NAME,
                     name.c_str(), nullptr, option.value.c_str());
    }
}

}  // namespace kzps
