#include "engine/controls/types/QuillControlTypes.h"

#include <type_traits>

#include "engine/controls/types/CheckBoxControlType.h"
#include "engine/controls/types/DatePickerControlType.h"
#include "engine/controls/types/NumberFieldControlType.h"
#include "engine/controls/types/PopupControlType.h"
#include "engine/controls/types/RadioControlType.h"
#include "engine/controls/types/SliderControlType.h"
#include "engine/controls/types/TextFieldControlType.h"
#include "engine/controls/types/TitleLineControlType.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

template <class... Types>
constexpr bool kTriviallyDestroyed = (std::is_trivially_destructible_v<Types> && ...);

// The shared instances must still be there for a control torn down at exit,
// after the statics of this file: none may gain a member with a destructor.
static_assert(kTriviallyDestroyed<TitleLineControlType, CheckBoxControlType, PopupControlType, RadioControlType,
                                  SliderControlType, DatePickerControlType, NumberFieldControlType,
                                  TextFieldControlType>);

}  // namespace

const QuillControlType& QuillControlTypes::named(std::string_view controlType) {
    using Kind = QuillUI::Kind;
    static const TitleLineControlType titleLine;
    static const CheckBoxControlType checkBox;
    static const PopupControlType popup;
    static const RadioControlType radio(Kind::RadioButton), horizontalRadio(Kind::HRadioButton);
    static const SliderControlType slider;
    static const DatePickerControlType datePicker;
    static const NumberFieldControlType numberField;
    static const TextFieldControlType textField(false), secureTextField(true);
    struct Entry {
        std::string_view name;
        const QuillControlType* type;
    };
    static const Entry kTypes[] = {
        {"CheckBox", &checkBox},
        {"PopupButton", &popup},
        {"RadioButton", &radio},
        {"HRadioButton", &horizontalRadio},
        {"Slider", &slider},
        {"DatePicker", &datePicker},
        {"TextField_number", &numberField},
        {"TextField_text", &textField},
        {"SecureTextField_text", &secureTextField},
    };
    for (const Entry& entry : kTypes)
        if (entry.name == controlType) return *entry.type;
    return titleLine;
}

}  // namespace ComTORVALEKZ2R4_Plugin
