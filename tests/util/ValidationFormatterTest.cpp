#include <gtest/gtest.h>

#include "Common/TextInput/MailAddressFormatter.h"
#include "Common/TextInput/MailAddressTextField.h"
#include "Common/TextInput/NoEmptyTextField.h"
#include "Common/TextInput/PageRangeFormatter.h"
#include "Common/TextInput/TextFieldEnvironment.h"
#include "FormatterTestSupport.h"
#include "platform/kit/Cell.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/Window.h"

namespace {

template <class Field>
std::shared_ptr<Field> fieldInWindow(kz::Window& window, const char* title) {
    auto field = std::make_shared<Field>();
    kz::Dictionary represented;
    represented.set("title", kz::Value(title));
    field->cell()->setRepresentedObject(kz::Value(represented));
    window.contentView().addSubview(field);
    return field;
}

}  // namespace

TEST(ValidationFormatter, RefusesAnInvalidTextOnlyInAVisibleWindow) {
    SheetRecorder sheets;
    kz::Window window;
    auto field = fieldInWindow<kz::TextField>(window, "Pages");
    kzp::PageRangeFormatter::setValidationFormatter(*field, 64, nullptr, "Enter page ranges.");
    ASSERT_TRUE(field->beginEditing());
    typeText(*field->currentEditor(), "3-2");
    EXPECT_TRUE(window.makeFirstResponder(nullptr));  // hidden window: may leave
    EXPECT_TRUE(sheets.messages.empty());

    window.makeKeyAndOrderFront();
    ASSERT_TRUE(field->beginEditing());
    EXPECT_FALSE(window.makeFirstResponder(nullptr));
    ASSERT_EQ(sheets.messages.size(), 1u);
    EXPECT_EQ(sheets.messages[0], "Enter page ranges.");
    field->currentEditor()->setString("1-3, 5");
    EXPECT_TRUE(window.makeFirstResponder(nullptr));
}

TEST(ValidationFormatter, MailAddressesAndMissingMessage) {
    SheetRecorder sheets;
    kz::Window window;
    window.makeKeyAndOrderFront();
    auto field = fieldInWindow<kz::TextField>(window, "Mail");
    auto formatter = kzp::MailAddressFormatter::setValidationFormatter(*field, 128, nullptr, std::nullopt);
    formatter->replace("\"", "\\\"");
    ASSERT_TRUE(field->beginEditing());
    typeText(*field->currentEditor(), " ;, ");
    EXPECT_FALSE(window.makeFirstResponder(nullptr));
    EXPECT_EQ(sheets.messages.at(0), "--");
    field->currentEditor()->setString("a@example.jp; \"b\"@example.jp,");
    EXPECT_TRUE(window.makeFirstResponder(nullptr));
    EXPECT_EQ(field->objectValue(), kz::Value("a@example.jp; \\\"b\\\"@example.jp,"));
}

TEST(RequiredFields, EmptyTextKeepsTheFocusInAVisibleWindow) {
    SheetRecorder sheets;
    kz::Window window;
    auto name = fieldInWindow<kzp::NoEmptyTextField>(window, "Job Name");
    auto mail = fieldInWindow<kzp::MailAddressTextField>(window, "Mail");
    ASSERT_TRUE(name->beginEditing());
    EXPECT_NE(dynamic_cast<kzp::NoEmptyFieldEditor*>(name->currentEditor()), nullptr);
    EXPECT_TRUE(window.makeFirstResponder(nullptr));  // not visible: may stay empty

    window.makeKeyAndOrderFront();
    ASSERT_TRUE(name->beginEditing());
    EXPECT_FALSE(window.makeFirstResponder(mail.get()));
    typeText(*name->currentEditor(), "x");
    EXPECT_TRUE(window.makeFirstResponder(mail.get()));
    EXPECT_FALSE(window.makeFirstResponder(nullptr));
    EXPECT_EQ(sheets.messages, (std::vector<std::string>{"Enter the Job Name.", "Enter a valid E-mail address."}));
}

TEST(TextFieldEnvironmentDefaults, RequiredFieldsLoadFromDescriptionsAndRefusalsAreSheets) {
    kzp::TextFieldEnvironment::registerViewClasses();
    kz::Array subviews{kz::Value(kz::Dictionary{{"class", kz::Value("NoEmptyTextField")}}),
                       kz::Value(kz::Dictionary{{"class", kz::Value("MailAddressTextField")}})};
    std::string error;
    auto loaded = kz::ViewLoader::load(
        kz::Value(kz::Dictionary{{"view", kz::Value(kz::Dictionary{{"class", kz::Value("View")},
                                                                   {"subviews", kz::Value(subviews)}})}}),
        nullptr, &error);
    ASSERT_TRUE(loaded) << error;
    ASSERT_EQ(loaded->view->subviews().size(), 2u);
    auto* required = dynamic_cast<kzp::NoEmptyTextField*>(loaded->view->subviews()[0].get());
    ASSERT_NE(required, nullptr);
    EXPECT_NE(dynamic_cast<kzp::NoEmptyFieldEditor*>(required->fieldEditor()), nullptr);
    EXPECT_NE(dynamic_cast<kzp::MailAddressTextField*>(loaded->view->subviews()[1].get()), nullptr);

    // Without a presenter installed, a refusal is the kit's alert sheet.
    kz::Window window(kz::Rect(0, 0, 200, 100));
    kzp::TextFieldEnvironment::showAlertSheet(&window, "Enter the Name.");
    ASSERT_NE(window.attachedSheet(), nullptr);
    kzp::TextFieldEnvironment::showAlertSheet(nullptr, "no window, no sheet");
    EXPECT_EQ(kzp::TextFieldEnvironment::localizedString("Enter the %@."), "Enter the %@.");
}
