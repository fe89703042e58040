#include "engine/conversion/ConvertTable.h"

#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyList.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr std::string_view kRangeMark = "%d";

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

bool isNumberText(const kz::Value& value) {
    return value.isString() && kz::Decimal::parse(value.string()).has_value();
}

// A number or a number text; booleans are refused, they would read as 1/0
// without anyone having meant it.
bool isTagValue(const kz::Value& value) { return value.isInteger() || value.isReal() || isNumberText(value); }

}  // namespace

class ConvertTableEntryReader {
public:
    ConvertTableEntryReader(const std::string& mainKeyword, std::string* error) : _mainKeyword(mainKeyword), _error(error) {}

    bool read(const kz::Value& value, ConvertTableEntry& entry) {
        if (!value.isDictionary()) return fail("is not a dictionary");
        const kz::Dictionary& d = value.dictionary();
        if (const kz::Value* tagKey = d.find("tagKey")) {
            if (!isText(*tagKey)) return fail("\"tagKey\" is not a text");
            entry._tagKey = tagKey->string();
        }
        if (const kz::Value* items = d.find("items")) {
            if (!items->isArray()) return fail("\"items\" is not an array");
            if (items->array().size() > ConvertTable::kMaxItems) return fail("has too many items");
            entry._hasItems = true;
            for (std::size_t i = 0; i < items->array().size(); ++i)
                if (!readItem(items->array()[i], i, entry)) return false;
        }
        if (const kz::Value* type = d.find("tagValueType")) {
            if (!isText(*type)) return fail("\"tagValueType\" is not a text");
            entry._isBoolean = type->string() == "Boolean";
        }
        if (const kz::Value* magnification = d.find("magnification")) {
            std::optional<kz::Decimal> m;
            if (magnification->isInteger() || magnification->isReal() || magnification->isString())
                m = kz::Decimal::parse(magnification->stringValue());
            if (!m || m->isNaN()) return fail("\"magnification\" is not a number");
            if (*m == kz::Decimal(0)) return fail("\"magnification\" is zero");
            entry._magnification = *m;
        }
        if (const kz::Value* format = d.find("format")) {
            if (!isText(*format)) return fail("\"format\" is not a text");
            kz::NumberFormat formatter(format->string());
            if (!formatter.isValid()) return fail("\"format\" is not a number format pattern");
            entry._format = std::move(formatter);
        }
        return true;
    }

private:
    const std::string& _mainKeyword;
    std::string* _error;

    static bool isText(const kz::Value& value) {
        return value.isString() && value.string().size() <= ConvertTable::kMaxTextBytes;
    }

    bool fail(const std::string& why) {
        setError(_error, "entry \"" + _mainKeyword + "\" " + why);
        return false;
    }

    bool readItem(const kz::Value& value, std::size_t index, ConvertTableEntry& entry) {
        const std::string which = "item " + std::to_string(index + 1);
        if (!value.isDictionary()) return fail(which + " is not a dictionary");
        const kz::Value& keyword = value.dictionary().get("optionKeyword");
        const kz::Value& tagValue = value.dictionary().get("tagValue");
        if (!isText(keyword)) return fail(which + ": \"optionKeyword\" is missing or not a text");
        if (!isTagValue(tagValue)) return fail(which + ": \"tagValue\" is missing or not a number");
        ConvertTableEntry::Item item;
        item.optionKeyword = keyword.string();
        item.tagValue = tagValue;
        const std::string& k = item.optionKeyword;
        item.isRange = k.size() >= kRangeMark.size() && k.compare(k.size() - kRangeMark.size(), kRangeMark.size(), kRangeMark) == 0;
        if (item.isRange) item.prefix = k.substr(0, k.size() - kRangeMark.size());
        entry._items.push_back(std::move(item));
        return true;
    }
};

std::optional<ConvertTable> ConvertTable::readFile(const std::string& path, std::string* error) {
    std::string bytes;
    switch (kz::FileBytes::read(path, kMaxFileBytes, &bytes)) {
        case kz::FileBytes::Status::ok: break;
        case kz::FileBytes::Status::cannotOpen: setError(error, "cannot open " + path); return std::nullopt;
        case kz::FileBytes::Status::cannotRead: setError(error, "cannot read " + path); return std::nullopt;
        case kz::FileBytes::Status::tooLarge: setError(error, path + ": larger than 4 MiB"); return std::nullopt;
    }
    std::string why;
    std::optional<ConvertTable> table = read(bytes, &why);
    if (!table) setError(error, path + ": " + why);
    return table;
}

std::optional<ConvertTable> ConvertTable::read(std::string_view bytes, std::string* error) {
    if (bytes.size() > kMaxFileBytes) {
        setError(error, "larger than 4 MiB");
        return std::nullopt;
    }
    if (bytes.empty()) {
        setError(error, "empty file");
        return std::nullopt;
    }
    std::string why;
    kz::Value plist = kz::PropertyList::read(bytes, &why);
    if (!why.empty() || plist.isNull()) {
        setError(error, why.empty() ? "not a property list" : why);
        return std::nullopt;
    }
    return fromValue(plist, error);
}

std::optional<ConvertTable> ConvertTable::fromValue(const kz::Value& plist, std::string* error) {
    if (!plist.isDictionary()) {
        setError(error, "the top level is not a dictionary");
        return std::nullopt;
    }
    if (plist.dictionary().size() > kMaxEntries) {
        setError(error, "more than " + std::to_string(kMaxEntries) + " entries");
        return std::nullopt;
    }
    ConvertTable table;
    for (const auto& [mainKeyword, value] : plist.dictionary()) {
        if (mainKeyword.size() > kMaxTextBytes) {
            setError(error, "a main keyword is longer than " + std::to_string(kMaxTextBytes) + " bytes");
            return std::nullopt;
        }
        ConvertTableEntry entry;
        if (!ConvertTableEntryReader(mainKeyword, error).read(value, entry)) return std::nullopt;
        const std::size_t index = table._entries.size();
        table._byMainKeyword.emplace(mainKeyword, index);
        if (entry.tagKey()) table._byTagKey.emplace(*entry.tagKey(), index);  // the first in file order stays
        table._entries.emplace_back(mainKeyword, std::move(entry));
    }
    return table;
}

const ConvertTableEntry* ConvertTable::entryForMainKeyword(std::string_view mainKeyword) const {
    auto found = _byMainKeyword.find(std::string(mainKeyword));
    return found == _byMainKeyword.end() ? nullptr : &_entries[found->second].second;
}

const std::pair<std::string, ConvertTableEntry>* ConvertTable::entryForTagKey(std::string_view tagKey) const {
    auto found = _byTagKey.find(std::string(tagKey));
    return found == _byTagKey.end() ? nullptr : &_entries[found->second];
}

}  // namespace ComTORVALEKZ2R4_Plugin
