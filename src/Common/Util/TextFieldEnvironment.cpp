#include "Common/Util/TextFieldEnvironment.h"

#include "platform/kit/Control.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

struct Hooks {
    TextFieldEnvironment::Localizer localizer;
    TextFieldEnvironment::SheetPresenter presenter;
    TextFieldEnvironment::LanguageProbe japanese;
};

Hooks& hooks() {
    static Hooks h;
    return h;
}

}  // namespace

void TextFieldEnvironment::setLocalizer(Localizer localizer) { hooks().localizer = std::move(localizer); }
void TextFieldEnvironment::setSheetPresenter(SheetPresenter presenter) { hooks().presenter = std::move(presenter); }
void TextFieldEnvironment::setJapanesePreferred(LanguageProbe probe) { hooks().japanese = std::move(probe); }

std::string TextFieldEnvironment::localizedString(const std::string& key) {
    return hooks().localizer ? hooks().localizer(key) : key;
}

void TextFieldEnvironment::showAlertSheet(kz::Window* window, const std::string& message) {
    if (hooks().presenter) hooks().presenter(window, message);
}

bool TextFieldEnvironment::isJapanesePreferred() { return hooks().japanese && hooks().japanese(); }

std::string TextFieldEnvironment::fieldTitle(const kz::Control& field) {
    const kz::Value& represented = field.representedObject();
    if (represented.isDictionary()) {
        const kz::Value* title = represented.dictionary().find("title");
        if (title && title->isString()) return title->string();
    }
    return "--";
}

std::string TextFieldEnvironment::fill(std::string_view format, std::optional<long long> number,
                                       std::optional<std::string_view> object) {
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        std::string_view rest = format.substr(i + 1);
        if (rest[0] == '%') {
            out += '%';
            ++i;
        } else if (rest[0] == '@' && object) {
            out += *object;
            object.reset();
            ++i;
        } else if (number) {
            std::size_t n = 0;
            while (n < rest.size() && n < 2 && rest[n] == 'l') ++n;
            if (n < rest.size() && (rest[n] == 'd' || rest[n] == 'i' || rest[n] == 'u')) {
                out += std::to_string(*number);
                number.reset();
                i += n + 1;
            } else {
                out += '%';
            }
        } else {
            out += '%';
        }
    }
    return out;
}

}  // namespace ComTORVALEKZ2R4_Plugin
