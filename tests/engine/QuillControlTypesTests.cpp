// The control types by name: which type each "control_type" gets, and the
// variants that share one type behaving alike.
#include <gtest/gtest.h>

#include <set>

#include "QuillUITestSupport.h"
#include "engine/controls/types/CheckBoxControlType.h"
#include "engine/controls/types/DatePickerControlType.h"
#include "engine/controls/types/NumberFieldControlType.h"
#include "engine/controls/types/PopupControlType.h"
#include "engine/controls/types/QuillControlTypes.h"
#include "engine/controls/types/RadioControlType.h"
#include "engine/controls/types/SliderControlType.h"
#include "engine/controls/types/TextFieldControlType.h"
#include "engine/controls/types/TitleLineControlType.h"
#include "platform/foundation/Log.h"
#include "platform/kit/ViewDump.h"

using namespace quilltest;
using kzp::QuillControlType;
using kzp::QuillControlTypes;
using Kind = kzp::QuillUI::Kind;

namespace {

template <class T>
bool is(const QuillControlType& type) {
    return dynamic_cast<const T*>(&type) != nullptr;
}

// A control of the test file with its "control_type" replaced.
std::shared_ptr<kzp::QuillUI> buildAs(const std::string& name, const std::string& type) {
    kz::Dictionary d = descriptions().get(name).dictionary();
    d.set("control_type", type);
    auto control = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 200));
    control->setControlDictionary(d);
    control->updateControl();
    return control;
}

}  // namespace

TEST(QuillControlTypes, EveryNameHasItsOwnTypeOfTheRightClassAndKind) {
    struct Case {
        const char* name;
        Kind kind;
        bool (*ofClass)(const QuillControlType&);
        bool ownTitleRow;
    };
    const Case cases[] = {
        {"CheckBox", Kind::CheckBox, is<kzp::CheckBoxControlType>, true},
        {"PopupButton", Kind::PopupButton, is<kzp::PopupControlType>, false},
        {"RadioButton", Kind::RadioButton, is<kzp::RadioControlType>, false},
        {"HRadioButton", Kind::HRadioButton, is<kzp::RadioControlType>, false},
        {"Slider", Kind::Slider, is<kzp::SliderControlType>, false},
        {"DatePicker", Kind::DatePicker, is<kzp::DatePickerControlType>, false},
        {"TextField_number", Kind::NumberField, is<kzp::NumberFieldControlType>, true},
        {"TextField_text", Kind::TextField, is<kzp::TextFieldControlType>, false},
        {"SecureTextField_text", Kind::SecureTextField, is<kzp::TextFieldControlType>, false},
    };
    std::set<const QuillControlType*> seen{&QuillControlTypes::named("")};
    for (const Case& c : cases) {
        const QuillControlType& type = QuillControlTypes::named(c.name);
        EXPECT_EQ(type.kind(), c.kind) << c.name;
        EXPECT_EQ(kzp::QuillUI::kindOf(c.name), c.kind) << c.name;
        EXPECT_TRUE(c.ofClass(type)) << c.name;
        EXPECT_EQ(type.buildsOwnTitleRow(), c.ownTitleRow) << c.name;
        EXPECT_TRUE(seen.insert(&type).second) << c.name << " shares its type with another name";
        EXPECT_EQ(&QuillControlTypes::named(c.name), &type) << c.name << " is looked up anew";
    }
    // Anything else is the one title line, whatever it nearly names.
    const QuillControlType& titleLine = QuillControlTypes::named("");
    EXPECT_TRUE(is<kzp::TitleLineControlType>(titleLine));
    EXPECT_EQ(titleLine.kind(), Kind::TitleLine);
    for (const char* name : {"checkbox", "CheckBox ", "Radio", "TextField", "SecureTextField", "Title"})
        EXPECT_EQ(&QuillControlTypes::named(name), &titleLine) << name;
}

TEST(QuillControlTypes, VariantsOfOneTypeDifferOnlyWhereTheyShould) {
    // A horizontal radio column is a vertical one in all but its name.
    auto horizontal = build("Orientation");
    auto vertical = buildAs("Orientation", "RadioButton");
    EXPECT_EQ(kz::ViewDump::dump(*horizontal), kz::ViewDump::dump(*vertical));
    EXPECT_EQ(horizontal->getControlHeight(), vertical->getControlHeight());
    for (const char* value : {"Landscape", "Sideways", "Portrait"}) {
        horizontal->setStringValue(value);
        vertical->setStringValue(value);
        EXPECT_EQ(horizontal->getStringValue(), vertical->getStringValue()) << value;
        EXPECT_EQ(horizontal->getSelectedOptionText(), vertical->getSelectedOptionText()) << value;
        EXPECT_EQ(horizontal->getOptionText(value), vertical->getOptionText(value)) << value;
        EXPECT_EQ(horizontal->getUnsportValue(), vertical->getUnsportValue()) << value;
    }
    horizontal->radioButtonMatrix()->clickCellAtRow(1, 0);
    EXPECT_EQ(horizontal->getStringValue(), "Landscape");

    // A secret reads and writes as plain text and sizes alike, but never
    // shows what it holds.
    auto secret = build("Secret");
    auto plain = buildAs("Secret", "TextField_text");
    EXPECT_EQ(secret->getControlHeight(), plain->getControlHeight());
    EXPECT_EQ(secret->textField()->frame(), plain->textField()->frame());
    secret->setStringValue("hunter2");
    plain->setStringValue("hunter2");
    EXPECT_EQ(secret->getStringValue(), "hunter2");
    EXPECT_EQ(plain->getStringValue(), "hunter2");
    EXPECT_EQ(plain->getSelectedOptionText(), "hunter2");
    EXPECT_EQ(secret->getSelectedOptionText(), std::nullopt);
}

// A control is described before it is built (and may be described anew
// before its rebuild): no type may reach for a widget it has not built.
TEST(QuillControlTypes, EveryTypeLeavesTheValueAloneWithoutItsWidgets) {
    kz::LogCapture log;  // a check box without its box says so
    for (const char* type : {"CheckBox", "PopupButton", "RadioButton", "HRadioButton", "Slider", "DatePicker",
                             "TextField_number", "TextField_text", "SecureTextField_text", "Title"}) {
        kzp::QuillUI control(kz::Rect(0, 0, 300, 200));
        control.setControlDictionary(kz::Dictionary{{"control_type", type}, {"mainKeyword", "Unbuilt"}});
        control.setStringValue("42");
        EXPECT_EQ(control.getStringValue(), "42") << type;
        EXPECT_EQ(control.getSelectedOptionText(), std::nullopt) << type;
        EXPECT_TRUE(control.subviews().empty()) << type;
    }
}
