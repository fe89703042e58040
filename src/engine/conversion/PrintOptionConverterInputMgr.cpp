// The input-manager side of PrintOptionConverter: the convert table pass in
// both directions and the fixed rules for the options the table cannot express.
#include <array>
#include <chrono>

#include "engine/preferences/AppPreference.h"
#include "engine/conversion/ConvertTable.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileStamp.h"
#include "platform/foundation/Log.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr std::array<const char*, 8> kRgbColorCorrections = {
    "None", "sRGB", "RGB", "AdobeRGB", "sRGBAutoAdjust", "sRGBAutoPerson", "sRGBAutoScene", "sRGBAutoOnSitePhoto"};
constexpr std::int64_t kDefaultSaveFileResolution = 600;

std::string defaultConvertTablePath() {
    AppPreference& preference = AppPreference::sharedInstance();
    if (!preference.bundle()) return {};
    std::optional<std::string> name = preference.convertTableFileNameWithAppName(std::nullopt);
    return name ? preference.bundle()->pathForResource(*name, "plist") : std::string();
}

// Colour correction and the saved file type are spread over several tags of
// the input manager, so they are rebuilt here from the input as a whole.
void extraProcessingToPpdKeywordFormat(const kz::Dictionary& input, kz::Dictionary& output) {
    if (const kz::Value* rgb = input.find("CL_RGBMD")) {
        const std::int64_t n = rgb->integerValue();
        if (n >= 0 && n < static_cast<std::int64_t>(kRgbColorCorrections.size()))
            output.set("VLRGBColorCorrect", kRgbColorCorrections[static_cast<std::size_t>(n)]);
        output.remove("VLSRGBAuto");
        output.remove("VLSRGBAutoType");
    }
    if (const kz::Value* save = input.find("SP_SAVEFT")) {
        const std::string type = save->stringValue();
        if (type == "0") {
            output.set("VLSaveFile", "None");
        } else {
            const kz::Value* dpi = input.find("SP_TFDPI");
            std::int64_t resolution = dpi ? dpi->integerValue() : kDefaultSaveFileResolution;
            if (resolution < 1) resolution = kDefaultSaveFileResolution;
            const std::string suffix = std::to_string(resolution) + "dpi";
            if (type == "1") output.set("VLSaveFile", "TIFF" + suffix);
            else if (type == "2") output.set("VLSaveFile", "PDF" + suffix);
        }
    }
}

}  // namespace

PrintOptionConverter& PrintOptionConverter::sharedInstance() {
    static PrintOptionConverter* instance = new PrintOptionConverter();  // lives for the process
    return *instance;
}

struct PrintOptionConverter::CachedTable {
    std::string path;
    kz::FileStamp stamp;
    std::shared_ptr<const ConvertTable> table;
    std::chrono::steady_clock::time_point checked;
};

void PrintOptionConverter::setConvertTablePath(std::optional<std::string> path) {
    _convertTablePath = std::move(path);
    _cached.reset();
}

std::shared_ptr<const ConvertTable> PrintOptionConverter::sharedConvertTable() const {
    // Naming the bundle's table reads "miscellaneous"; the name is the
    // bundle's as long as the bundle is.
    static std::weak_ptr<kz::Bundle> namedFor;
    static std::string bundlePath;
    if (!_convertTablePath) {
        std::shared_ptr<kz::Bundle> bundle = AppPreference::sharedInstance().bundle();
        if (!bundle || bundle != namedFor.lock() || bundlePath.empty()) {
            bundlePath = defaultConvertTablePath();
            namedFor = bundle;
        }
    }
    const std::string path = _convertTablePath ? *_convertTablePath : bundlePath;
    if (path.empty()) {
        kz::Log::line("### ## convert table not found");
        return nullptr;
    }
    // A favorite is compared with the current values after every change;
    // the table is parsed again only when its file is another one. It is a
    // resource of the installed bundle, so its file is looked at no more
    // than once a second.
    const auto now = std::chrono::steady_clock::now();
    if (_cached && _cached->path == path && now - _cached->checked < std::chrono::seconds(1)) return _cached->table;
    std::optional<kz::FileStamp> stamp = kz::FileStamp::of(path);
    if (_cached && stamp && _cached->path == path && _cached->stamp == *stamp) {
        _cached->checked = now;
        return _cached->table;
    }
    _cached.reset();
    std::string error;
    std::optional<ConvertTable> table = ConvertTable::readFile(path, &error);
    if (!table) {
        kz::Log::line("### ## can't load convert table: " + error);
        return nullptr;
    }
    auto shared = std::make_shared<const ConvertTable>(std::move(*table));
    // A stamp taken after the read could belong to a newer file than the
    // one read; the one taken before can only make the next call read again.
    if (stamp) _cached = std::make_shared<CachedTable>(CachedTable{path, *stamp, shared, now});
    return shared;
}

std::optional<ConvertTable> PrintOptionConverter::convertTable() const {
    const std::string path = _convertTablePath ? *_convertTablePath : defaultConvertTablePath();
    if (path.empty()) {
        kz::Log::line("### ## convert table not found");
        return std::nullopt;
    }
    std::string error;
    std::optional<ConvertTable> table = ConvertTable::readFile(path, &error);
    if (!table) kz::Log::line("### ## can't load convert table: " + error);
    return table;
}

kz::Dictionary PrintOptionConverter::toPpdKeywordFormat(const kz::Dictionary& inputMgr) const {
    std::shared_ptr<const ConvertTable> table = sharedConvertTable();
    return table ? toPpdKeywordFormat(inputMgr, *table) : kz::Dictionary();
}

kz::Dictionary PrintOptionConverter::toInputMgrFormat(const kz::Dictionary& option) const {
    std::shared_ptr<const ConvertTable> table = sharedConvertTable();
    return table ? toInputMgrFormat(option, *table) : kz::Dictionary();
}

std::optional<kz::Value> PrintOptionConverter::inputMgrTagValue(std::string_view mainKeyword,
                                                                const kz::Value& optionKeyword) const {
    std::shared_ptr<const ConvertTable> table = sharedConvertTable();
    const ConvertTableEntry* entry = table ? table->entryForMainKeyword(mainKeyword) : nullptr;
    if (!entry) return std::nullopt;
    return entry->tagValueForOptionKeyword(optionKeyword);
}

kz::Dictionary PrintOptionConverter::toPpdKeywordFormat(const kz::Dictionary& inputMgr, const ConvertTable& table) {
    kz::Dictionary output;
    for (const auto& [tagKey, tagValue] : inputMgr) {
        const auto* named = table.entryForTagKey(tagKey);
        if (!named) continue;
        if (std::optional<kz::Value> keyword = named->second.optionKeywordForTagValue(tagValue))
            output.set(named->first, std::move(*keyword));
    }
    extraProcessingToPpdKeywordFormat(inputMgr, output);
    return output;
}

kz::Dictionary PrintOptionConverter::toInputMgrFormat(const kz::Dictionary& option, const ConvertTable& table) {
    kz::Dictionary output;
    for (const auto& [mainKeyword, value] : option) {
        const ConvertTableEntry* entry = table.entryForMainKeyword(mainKeyword);
        if (!entry) continue;
        std::optional<kz::Value> tagValue = entry->tagValueForOptionKeyword(value);
        if (entry->tagKey() && tagValue) output.set(*entry->tagKey(), std::move(*tagValue));
    }
    return output;
}

std::unique_ptr<kz::Dictionary> ToPpdKeywordFormat(const kz::Dictionary* inputMgr) {
    if (!inputMgr) return nullptr;
    return std::make_unique<kz::Dictionary>(PrintOptionConverter::sharedInstance().toPpdKeywordFormat(*inputMgr));
}

std::unique_ptr<kz::Dictionary> ToInputMgrFormat(const kz::Dictionary* option) {
    if (!option) return nullptr;
    return std::make_unique<kz::Dictionary>(PrintOptionConverter::sharedInstance().toInputMgrFormat(*option));
}

}  // namespace ComTORVALEKZ2R4_Plugin
