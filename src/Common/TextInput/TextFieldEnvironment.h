#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {
class Control;
class Window;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

// What the text field formatters need from the layers above them: the
// plug-in's localized texts, the alert sheet on a field's window, and whether
// Japanese is the preferred language. The panel installs these when it is
// created; until then texts come from the plug-in's string table (the key
// when it has none), sheets are the kit's alert sheets on the field's window,
// and Japanese is preferred when the first preferred language is Japanese.
class KZ_EXPORT TextFieldEnvironment {
public:
    using Localizer = std::function<std::string(const std::string& key)>;
    using SheetPresenter = std::function<void(kz::Window* window, const std::string& message)>;
    using LanguageProbe = std::function<bool()>;

    static void setLocalizer(Localizer localizer);
    static void setSheetPresenter(SheetPresenter presenter);
    static void setJapanesePreferred(LanguageProbe probe);

    // View descriptions may then name "NoEmptyTextField" and "MailAddressTextField".
    static void registerViewClasses();

    static std::string localizedString(const std::string& key);
    static void showAlertSheet(kz::Window* window, const std::string& message);
    static bool isJapanesePreferred();

    // The "title" of the dictionary the field's cell represents, or "--".
    static std::string fieldTitle(const kz::Control& field);
    // Fills the first integer placeholder (%d, %ld, %u, %lu, %i) with
    // `number` and the first %@ with `object`; "%%" stays a percent sign.
    static std::string fill(std::string_view format, std::optional<long long> number,
                            std::optional<std::string_view> object = std::nullopt);
    // Fills the text placeholders of an untrusted format (%s, %@, and the
    // positional %1$s, %2$@) with `texts` in order; "%%" is a percent sign,
    // any other conversion and a placeholder without a text stay as written.
    static std::string fillTexts(std::string_view format, const std::vector<std::string>& texts);
};

}  // namespace ComTORVALEKZ2R4_Plugin
