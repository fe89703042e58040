#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "TempFolder.h"
#include "engine/controls/QuillSecureTextField.h"
#include "engine/controls/QuillTextField.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/kit/Application.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/Window.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

// Answers every alert with its first button and keeps the texts it showed.
class AlertRecorder : public kz::UiDriver {
public:
    bool step(kz::Application& app, kz::Window& window) override {
        std::string shown;
        kz::ScriptedUiDriver::find(window.contentView(), [&](kz::View& v) {
            if (auto* t = dynamic_cast<kz::TextField*>(&v)) shown += t->stringValue() + "|";
            return false;
        });
        alerts.push_back(shown);
        app.stopModalWithCode(kz::AlertFirstButtonReturn);
        return true;
    }
    std::vector<std::string> alerts;
};

class QuillTextFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(_folder / "Alert.bundle/Contents/Resources/en.lproj");
        std::ofstream(_folder / "Alert.bundle/Contents/Info.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
               "<key>CFBundleIdentifier</key><string>test.quill.QuillTextField</string></dict></plist>\n";
        // Conversions other than texts must never reach a printf.
        std::ofstream(_folder / "Alert.bundle/Contents/Resources/en.lproj/Localizable.strings")
            << "\"IDM_MSG58\" = \"From %s to %s %n%d\";\n";
        auto bundle = kz::Bundle::open(_folder / std::string("Alert.bundle"));
        bundle->setLanguages({"en"});
        kzp::QuillTextField::setAlertBundle(bundle);
        kz::Application::shared().setDriver(&_driver);
    }
    void TearDown() override {
        kz::Application::shared().setDriver(nullptr);
        kzp::QuillTextField::setAlertBundle(nullptr);
        kz::NotificationCenter::defaultCenter().removeObserver(this);
    }
    int countPosts(const std::string& name) {
        auto counter = std::make_shared<int>(0);
        kz::NotificationCenter::defaultCenter().addObserver(this, name, nullptr, [counter](const auto&) { ++*counter; });
        _counters.push_back(counter);
        return static_cast<int>(_counters.size()) - 1;
    }
    int posts(int counter) const { return *_counters[static_cast<std::size_t>(counter)]; }

    // Types each character as its own keystroke; answers the text left.
    static std::string type(kzp::QuillTextField& field, const std::string& text) {
        field.beginEditing();
        for (char c : text) field.currentEditor()->insertText(std::string(1, c));
        return field.currentEditor()->string();
    }
    static void configure(kzp::QuillTextField& field, long unit, double min, double max) {
        field.setNum(true);
        field.setUnit(unit);
        field.setMin(min);
        field.setMax(max);
        field.setKeyword("Quantity");
    }

    TempFolder _folder;
    AlertRecorder _driver;
    std::vector<std::shared_ptr<int>> _counters;
};

TEST_F(QuillTextFieldTest, NumberFilterByUnit) {
    kzp::QuillTextField field;
    field.setNum(true);
    field.setUnit(4);
    field.setDigit(6);
    EXPECT_TRUE(field.isNumFormat(""));
    EXPECT_TRUE(field.isNumFormat("12.34"));
    EXPECT_FALSE(field.isNumFormat("12.345"));
    EXPECT_FALSE(field.isNumFormat("-12.34")) << "no minus sign while the minimum is not negative";
    field.setMin(-100);
    EXPECT_TRUE(field.isNumFormat("-12.34"));
    EXPECT_TRUE(field.isNumFormat("-123.45")) << "the sign is not counted";
    EXPECT_FALSE(field.isNumFormat("1234.56"));
    EXPECT_FALSE(field.isNumFormat("1a"));
    EXPECT_FALSE(field.isNumFormat("1.2.3"));

    field.setUnit(3);
    EXPECT_FALSE(field.isNumFormat("1.25"));
    field.setUnit(5);
    EXPECT_TRUE(field.isNumFormat("1.255"));
    field.setUnit(2);
    EXPECT_FALSE(field.isNumFormat("1.5")) << "whole numbers take no point";
    EXPECT_TRUE(field.isNumFormat("-15"));
}

TEST_F(QuillTextFieldTest, TextFilterByUnit) {
    kzp::QuillTextField field;
    field.setDigit(30);
    field.setUnit(7);
    EXPECT_TRUE(field.isTextFormat(""));
    EXPECT_TRUE(field.isTextFormat("jo.smith@example.com"));
    EXPECT_FALSE(field.isTextFormat("not an address"));
    field.setUnit(8);
    EXPECT_TRUE(field.isTextFormat("A-b_c.9%"));
    EXPECT_FALSE(field.isTextFormat("caf\xc3\xa9"));
    field.setDigit(3);
    EXPECT_FALSE(field.isTextFormat("abcd"));
}

TEST_F(QuillTextFieldTest, MaximumSetsDigitsAndIsNeverCut) {
    kzp::QuillTextField field;
    field.setUnit(4);
    field.setMax(999.99);
    EXPECT_EQ(field.maxDigit(), 6);

    // 1e40 with two decimals is 44 characters: more than a 32-byte buffer.
    field.setMin(0);
    field.setMax(1e40);
    std::string maxText = field.formatted(1e40, field.unitCFormat());
    ASSERT_GT(maxText.size(), 31u);
    EXPECT_EQ(field.maxDigit(), static_cast<long>(maxText.size()));
    std::optional<std::string> message = field.rangeMessage();
    ASSERT_TRUE(message);
    EXPECT_EQ(*message, "From 0.00 to " + maxText + " %n%d");
}

TEST_F(QuillTextFieldTest, UnitReformatsAndValuesAreClamped) {
    kzp::QuillTextField field;
    field.setStringValue("3.14159");
    field.setUnit(3);
    EXPECT_EQ(field.stringValue(), "3.1");
    field.setUnit(8);
    EXPECT_EQ(field.stringValue(), "3.1") << "text codes leave the text alone";

    configure(field, 4, 1, 50);
    field.setDoubleValue(75.5);
    EXPECT_EQ(field.stringValue(), "50.00");
    field.setIntValue(-3);
    EXPECT_EQ(field.stringValue(), "1.00");
    field.setStringValue("12.99");
    EXPECT_EQ(field.intValueInRange(), 12);
}

TEST_F(QuillTextFieldTest, PlainFieldRefusesTypingPastTheMaximum) {
    kzp::QuillTextField field;
    configure(field, 0, 0, 100);
    EXPECT_EQ(type(field, "101"), "10");
    EXPECT_EQ(type(field, "0"), "100");
    EXPECT_EQ(type(field, "x"), "100");

    kzp::QuillTextField text;
    text.setDigit(2);
    EXPECT_EQ(type(text, "free text"), "free text") << "a text field filters nothing while typing";
}

TEST_F(QuillTextFieldTest, SecureFieldClampsAtTheEndWithTheAlert) {
    kzp::QuillSecureTextField field;
    configure(field, 0, 0, 100);
    int changed = countPosts("Quantity");
    EXPECT_EQ(type(field, "101"), "101");
    EXPECT_EQ(type(field, "-"), "101") << "the number filter still applies";
    field.abortEditing();
    EXPECT_EQ(field.stringValue(), "100");
    ASSERT_EQ(_driver.alerts.size(), 1u);
    EXPECT_NE(_driver.alerts[0].find("From 0 to 100"), std::string::npos) << _driver.alerts[0];
    EXPECT_EQ(posts(changed), 1);

    kzp::QuillSecureTextField secret;
    EXPECT_EQ(type(secret, "any text at all"), "any text at all");
}

TEST_F(QuillTextFieldTest, EndOfEditPostsOnlyForAChange) {
    kzp::QuillTextField field;
    configure(field, 0, 0, 100);
    int changed = countPosts("Quantity");
    type(field, "42");
    field.abortEditing();
    EXPECT_EQ(posts(changed), 1);
    field.beginEditing();
    field.abortEditing();
    EXPECT_EQ(posts(changed), 1) << "leaving an unchanged field announces nothing";
    EXPECT_TRUE(_driver.alerts.empty());

    kzp::QuillTextField text;
    text.setKeyword("Quantity");
    type(text, "abc");
    text.abortEditing();
    EXPECT_EQ(text.acceptedText(), "abc");
    EXPECT_EQ(posts(changed), 2);
}

TEST_F(QuillTextFieldTest, ValidateRequestCancelsOutOfRange) {
    kzp::QuillTextField field;
    field.setUpAsLoaded();
    field.setMin(10);
    field.setMax(20);
    int cancels = countPosts("TEXTFIELD_VALIDATE_CANCEL");
    field.setStringValue("15");
    kz::NotificationCenter::defaultCenter().post("VALIDATE");
    EXPECT_EQ(posts(cancels), 0);
    field.setStringValue("25");
    kz::NotificationCenter::defaultCenter().post("VALIDATE");
    EXPECT_EQ(posts(cancels), 1);
    EXPECT_EQ(_driver.alerts.size(), 1u);
    EXPECT_EQ(field.stringValue(), "20");

    field.setEnabled(false);
    field.setStringValue("5");
    kz::NotificationCenter::defaultCenter().post("VALIDATE");
    EXPECT_EQ(posts(cancels), 1) << "a disabled field is left as it is";
    EXPECT_EQ(field.stringValue(), "5");
}

TEST_F(QuillTextFieldTest, NoAlertWithoutItsBundle) {
    kzp::QuillTextField::setAlertBundle(nullptr);
    kzp::QuillSecureTextField field;
    configure(field, 0, 0, 100);
    type(field, "500");
    field.abortEditing();
    EXPECT_TRUE(_driver.alerts.empty());
    EXPECT_EQ(field.stringValue(), "100");
}

}  // namespace
