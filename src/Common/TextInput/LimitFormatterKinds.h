#pragma once

#include <memory>
#include <string>

#include "Common/TextInput/CharacterSet.h"
#include "Common/TextInput/StringEscapeConverter.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

// A formatter whose stored value is the escaped form of the shown text.
class KZ_EXPORT EscapeFormatting {
public:
    virtual ~EscapeFormatting() = default;
    virtual StringEscapeConverter& escapeConverter() = 0;
    void replace(std::string original, std::string escaped) {
        escapeConverter().replace(std::move(original), std::move(escaped));
    }
};

// Adds an escape converter (empty at creation) to a limit formatter.
template <class Base>
class WithEscape : public Base, public EscapeFormatting {
public:
    using Base::Base;
    StringEscapeConverter& escapeConverter() override { return *_escapeConverter; }

    std::optional<std::string> stringForObjectValue(const kz::Value& value) const override {
        auto text = Base::stringForObjectValue(value);
        if (text) *text = _escapeConverter->unEscape(*text);
        return text;
    }
    bool getObjectValue(kz::Value* value, const std::string& string, std::string* error) const override {
        if (!Base::getObjectValue(value, string, error)) return false;
        *value = kz::Value(_escapeConverter->escape(string));
        return true;
    }

protected:
    std::shared_ptr<StringEscapeConverter> _escapeConverter = StringEscapeConverter::emptyConverter();
};

// Adds an allowed character set to a limit formatter.
template <class Base>
class WithCharacterSet : public Base {
public:
    template <typename... Limits>
    explicit WithCharacterSet(std::shared_ptr<const CharacterSet> characterSet, Limits... limits)
        : Base(limits...), _characterSet(std::move(characterSet)) {}

    const CharacterSet* characterSet() const { return _characterSet.get(); }
    bool containNotAllowedCharactor(std::string_view text) const override {
        if (Base::containNotAllowedCharactor(text)) return true;
        return _characterSet && _characterSet->containsNonMemberOf(text);
    }

protected:
    std::shared_ptr<const CharacterSet> _characterSet;
};

// Makes a new formatter the field's formatter and its delegate.
template <class Formatter, typename... Args>
std::shared_ptr<Formatter> attachNewFormatter(kz::TextField& field, Args&&... args) {
    auto formatter = std::make_shared<Formatter>(std::forward<Args>(args)...);
    field.setFormatter(formatter);
    field.setDelegate(formatter.get());
    return formatter;
}

}  // namespace ComTORVALEKZ2R4_Plugin
