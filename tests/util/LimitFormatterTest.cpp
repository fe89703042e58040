#include <gtest/gtest.h>

#include "Common/TextInput/AttachFormatter.h"
#include "Common/TextInput/MaxBytesFormatterWithCharacterSet.h"
#include "Common/TextInput/MaxBytesFormatterWithEscape.h"
#include "Common/TextInput/MaxLengthFormatterWithEscapeAndCharacterSet.h"
#include "FormatterTestSupport.h"
#include "platform/foundation/TextEncoding.h"
#include "platform/kit/Application.h"
#include "platform/kit/Cell.h"
#include "platform/kit/SecureTextField.h"

namespace {

const std::string kKanji = "\xe6\xbc\xa2";  // two bytes in windows-932, one UTF-16 unit

struct DefaultEncoding {
    explicit DefaultEncoding(kz::Encoding e) : _saved(kz::TextEncoding::systemDefault()) {
        kz::TextEncoding::setSystemDefault(e);
    }
    ~DefaultEncoding() { kz::TextEncoding::setSystemDefault(_saved); }
    kz::Encoding _saved;
};

int beeps() { return kz::Application::shared().beepCount(); }

}  // namespace

TEST(LimitFormatter, BytesAndLengthCountDifferentlyAndTheLimitIsInclusive) {
    DefaultEncoding sjis(kz::Encoding::Windows932);
    kz::TextField bytesField, lengthField;
    kzp::MaxBytesFormatter::setMaxBytesFormatter(bytesField, 10);
    kzp::MaxLengthFormatter::setMaxLengthFormatter(lengthField, 10);
    ASSERT_TRUE(bytesField.beginEditing());
    ASSERT_TRUE(lengthField.beginEditing());
    kz::FieldEditor& b = *bytesField.currentEditor();
    kz::FieldEditor& l = *lengthField.currentEditor();
    for (int i = 0; i < 5; ++i) typeText(b, kKanji);
    int before = beeps();
    typeText(b, kKanji);  // 12 bytes: undone with a beep
    EXPECT_EQ(beeps(), before + 1);
    EXPECT_EQ(b.string().size(), 5 * kKanji.size());
    EXPECT_EQ(b.selectedRange(), (kz::Range{5, 0}));
    for (int i = 0; i < 10; ++i) typeText(l, kKanji);
    EXPECT_EQ(beeps(), before + 1);
    typeText(l, "x");
    EXPECT_EQ(l.string().size(), 10 * kKanji.size());
    EXPECT_EQ(beeps(), before + 2);
    // Characters the encoding cannot hold count as their "?".
    EXPECT_EQ(kzp::MaxBytesFormatter(0, 1).measure("\xf0\x9f\x98\x80"), 1u);
}

TEST(LimitFormatter, ForbiddenCharactersRestoreTheLastAcceptedText) {
    kz::TextField field;
    auto formatter = kzp::MaxBytesFormatterWithCharacterSet::setMaxBytesFormatter(
        field, 20, kzp::CharacterSet::characterSetWithCharactersInString("abc\t"));
    field.setStringValue("ab");
    ASSERT_TRUE(field.beginEditing());
    kz::FieldEditor& e = *field.currentEditor();
    e.setSelectedRange({2, 0});
    typeText(e, "c");
    EXPECT_EQ(*formatter->undoBuffer(), "abc");
    int before = beeps();
    typeText(e, "a\tb");  // a pasted tab: control characters are off
    EXPECT_EQ(e.string(), "abc");
    EXPECT_EQ(e.selectedRange(), (kz::Range{3, 0}));
    typeText(e, "z");  // outside the set
    EXPECT_EQ(e.string(), "abc");
    EXPECT_EQ(beeps(), before + 2);
    formatter->setControlCharactersEnabled(true);
    typeText(e, "\t");
    EXPECT_EQ(e.string(), "abc\t");
}

TEST(LimitFormatter, SecureFieldIsCheckedByItsValue) {
    kz::SecureTextField field;
    kzp::MaxLengthFormatter::setMaxLengthFormatter(field, 3);
    ASSERT_TRUE(field.beginEditing());
    typeText(*field.currentEditor(), "pwd");
    typeText(*field.currentEditor(), "!");
    EXPECT_EQ(field.stringValue(), "pwd");
}

TEST(LimitFormatter, MinimumKeepsTheFocusOnlyForShortNonEmptyText) {
    SheetRecorder sheets;
    kz::TextField field;
    kz::Dictionary represented;
    represented.set("title", kz::Value("Job Name"));
    field.cell()->setRepresentedObject(kz::Value(represented));
    kzp::MaxBytesFormatter::setLengthFormatter(field, 3, 10);
    ASSERT_TRUE(field.beginEditing());
    kz::FieldEditor* e = field.currentEditor();
    EXPECT_TRUE(e->resignFirstResponder());  // empty may be left
    ASSERT_TRUE(field.beginEditing());
    e = field.currentEditor();
    typeText(*e, "a");
    EXPECT_FALSE(e->resignFirstResponder());
    ASSERT_EQ(sheets.messages.size(), 1u);
    EXPECT_EQ(sheets.messages[0], "Please specify at least 3 characters for Job Name.");
    typeText(*e, "bc");
    EXPECT_TRUE(e->resignFirstResponder());
    EXPECT_EQ(field.stringValue(), "abc");
}

TEST(LimitFormatter, ValueConversion) {
    kzp::MaxBytesFormatter formatter(0, 5);
    kz::Value v;
    EXPECT_TRUE(formatter.getObjectValue(&v, "text", nullptr));
    EXPECT_EQ(v, kz::Value("text"));
    std::string error;
    EXPECT_FALSE(formatter.getObjectValue(nullptr, "text", &error));
    EXPECT_EQ(error, "NULL Object pointer to MaxBytesFormatter");
    EXPECT_FALSE(kzp::MaxLengthFormatter(0, 5).getObjectValue(nullptr, "t", &error));
    EXPECT_EQ(error, "NULL Object pointer to MaxLengthFormatter");
    EXPECT_EQ(formatter.stringForObjectValue(kz::Value(3)), std::nullopt);
}

TEST(LimitFormatter, EscapeFieldsStoreTheEscapedText) {
    for (bool japanese : {false, true}) {
        SheetRecorder env(japanese);
        kz::TextField field;
        kzp::attachMaxBytesFormatterWithEscape(&field, 40, nullptr, nullptr);
        ASSERT_TRUE(field.beginEditing());
        typeText(*field.currentEditor(), "say \"hi\"\xe2\x80\xa8next");
        field.abortEditing();
        EXPECT_EQ(field.objectValue(), kz::Value("say \\\"hi\\\"\\nnext"));
        field.setObjectValue(kz::Value("a\\\\b\\nc"));
        EXPECT_EQ(field.stringValue(), japanese ? "a\xc2\xa5" "b\nc" : "a\\b\nc");
    }
}

TEST(LimitFormatter, AttachFunctionsPickTheTypeAndSetThePlaceholder) {
    kz::TextField field;
    kzp::attachMaxBytesFormatter(&field, kzp::kMaxBytes_JobName, "Up to %d bytes", nullptr);
    EXPECT_NE(dynamic_cast<kzp::MaxBytesFormatter*>(field.formatter()), nullptr);
    EXPECT_EQ(field.delegate(), dynamic_cast<kz::ControlTextDelegate*>(field.formatter()));
    EXPECT_EQ(field.placeholderString(), "Up to 2040 bytes");
    EXPECT_EQ(field.toolTip(), "Up to 2040 bytes");

    kzp::attachMaxLengthFormatterWithEscape(&field, 8, nullptr, kzp::CharacterSet::characterSetWithRange(U'a', U'z'));
    auto* escaped = dynamic_cast<kzp::MaxLengthFormatterWithEscapeAndCharacterSet*>(field.formatter());
    ASSERT_NE(escaped, nullptr);
    EXPECT_EQ(escaped->escapeConverter().replacePattern().size(), 6u);
    EXPECT_EQ(escaped->maxLength(), 8u);
    EXPECT_EQ(field.placeholderString(), "Up to 2040 bytes");  // no format: left alone

    kzp::attachMaxLengthFormatter(nullptr, 8, "%d", nullptr);  // a null field is ignored
    EXPECT_EQ(kzp::TextFieldEnvironment::fill("%d%% of %@ (%ld)", 7, "x"), "7% of x (%ld)");
}

TEST(TextFieldEnvironment, FillTextsTakesTextsOnly) {
    using kzp::TextFieldEnvironment;
    EXPECT_EQ(TextFieldEnvironment::fillTexts("from %s to %@.", {"1", "9"}), "from 1 to 9.");
    EXPECT_EQ(TextFieldEnvironment::fillTexts("%2$s..%1$@", {"1", "9"}), "9..1");
    // Untrusted tables: other conversions and extra placeholders stay text.
    EXPECT_EQ(TextFieldEnvironment::fillTexts("%n%d %s %s %s 100%%", {"a", "b"}), "%n%d a b %s 100%");
    EXPECT_EQ(TextFieldEnvironment::fillTexts("%0$s %9$s %", {"a"}), "%0$s %9$s %");
}
