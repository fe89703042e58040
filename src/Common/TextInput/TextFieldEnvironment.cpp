#include "Common/TextInput/TextFieldEnvironment.h"

#include "Common/Util/BundleUtil.h"
#include "Common/TextInput/MailAddressTextField.h"
#include "Common/TextInput/NoEmptyTextField.h"
#include "platform/foundation/PreferredLanguages.h"
#include "platform/kit/Alert.h"
#include "platform/kit/Control.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/Window.h"

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

void TextFieldEnvironment::registerViewClasses() {
    kz::ViewLoader::registerViewClass("NoEmptyTextField", [] { return std::make_shared<NoEmptyTextField>(); });
    kz::ViewLoader::registerViewClass("MailAddressTextField", [] { return std::make_shared<MailAddressTextField>(); });
}

std::string TextFieldEnvironment::localizedString(const std::string& key) {
    if (hooks().localizer) return hooks().localizer(key);
    std::optional<std::string> text = BSLocalizedString(key);
    return text && !text->empty() ? *text : key;
}

void TextFieldEnvironment::showAlertSheet(kz::Window* window, const std::string& message) {
    if (hooks().presenter) {
        hooks().presenter(window, message);
        return;
    }
    if (!window) return;
    kz::Alert alert;
    alert.setMessageText(message);
    alert.addButtonWithTitle(localizedString("OK"));
    alert.beginSheetModalForWindow(*window);
}

bool TextFieldEnvironment::isJapanesePreferred() {
    if (hooks().japanese) return hooks().japanese();
    std::vector<std::string> languages = kz::preferredLanguages();
    if (languages.empty()) return false;
    std::string first = languages.front().substr(0, languages.front().find_first_of("_-.@"));
    return first == "ja" || first == "Japanese";
}

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

std::string TextFieldEnvironment::fillTexts(std::string_view format, const std::vector<std::string>& texts) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // Optional position "N$", then the conversion.
        std::size_t j = i + 1;
        std::size_t position = 0;
        while (j < format.size() && j - i <= 3 && format[j] >= '0' && format[j] <= '9')
            position = position * 10 + static_cast<std::size_t>(format[j++] - '0');
        bool positional = j > i + 1 && j < format.size() && format[j] == '$';
        if (positional) ++j;
        else j = i + 1;
        if (j < format.size() && (format[j] == 's' || format[j] == '@')) {
            std::size_t index = positional ? position - 1 : next++;
            if (positional && position == 0) index = texts.size();
            if (index < texts.size()) {
                out += texts[index];
                i = j;
                continue;
            }
        }
        out += '%';
    }
    return out;
}

}  // namespace ComTORVALEKZ2R4_Plugin
