#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kit/Application.h"
#include "platform/kit/SecureTextField.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"

using namespace kz;

namespace {
// At most three characters; lower case letters are shown upper case.
struct ShortUpper : Formatter {
    std::optional<std::string> stringForObjectValue(const Value& v) const override {
        if (!v.isString()) return std::nullopt;
        return v.string().substr(1);  // stored with a leading '#'
    }
    bool getObjectValue(Value* v, const std::string& s, std::string*) const override {
        if (!v) return false;
        *v = Value("#" + s);
        return true;
    }
    bool isPartialStringValid(const std::string& c, Range, std::optional<std::string>* repl,
                              std::string*) const override {
        if (c.size() > 3) return false;
        std::string up = c;
        for (auto& ch : up) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (up != c) {
            *repl = up;
            return false;
        }
        return true;
    }
};

struct Recorder : ControlTextDelegate {
    std::vector<std::string> events;
    bool allowEnd = true;
    void controlTextDidBeginEditing(const ControlTextNotification& n) override {
        events.push_back("begin:" + n.control->stringValue());
    }
    void controlTextDidChange(const ControlTextNotification& n) override {
        events.push_back("change:" + n.fieldEditor->string());
    }
    bool controlTextShouldEndEditing(Control&, FieldEditor&) override {
        events.push_back("shouldEnd");
        return allowEnd;
    }
    void controlTextDidEndEditing(const ControlTextNotification& n) override {
        events.push_back("end:" + n.control->stringValue());
    }
};

void type(FieldEditor& e, const std::string& text) {
    for (char c : text) e.insertText(std::string(1, c));
}
}  // namespace

TEST(TextField, FormatterRefusalUndoesTheEditAndBeeps) {
    TextField f;
    f.setFormatter(std::make_shared<ShortUpper>());
    f.setObjectValue(Value("#AB"));
    EXPECT_EQ(f.stringValue(), "AB");
    ASSERT_TRUE(f.beginEditing());
    FieldEditor& e = *f.currentEditor();
    e.setSelectedRange({2, 0});
    int beeps = Application::shared().beepCount();
    type(e, "c");  // replaced by the formatter's text
    EXPECT_EQ(e.string(), "ABC");
    type(e, "D");  // too long: undone
    EXPECT_EQ(e.string(), "ABC");
    EXPECT_EQ(e.selectedRange(), (Range{3, 0}));
    EXPECT_EQ(Application::shared().beepCount(), beeps + 1);
    f.abortEditing();
    EXPECT_EQ(f.objectValue(), Value("#ABC"));
    EXPECT_EQ(f.currentEditor(), nullptr);
}

TEST(TextField, DelegateSeesTheEditFromBeginToEndAndCanKeepTheFocus) {
    Window w;
    auto field = std::make_shared<TextField>(Rect(0, 0, 100, 24));
    auto other = std::make_shared<TextField>(Rect(0, 30, 100, 24));
    w.contentView().addSubview(field);
    w.contentView().addSubview(other);
    Recorder r;
    field->setDelegate(&r);
    field->setStringValue("x");

    ASSERT_TRUE(w.makeFirstResponder(field.get()));
    FieldEditor* e = field->currentEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(w.firstResponder(), e);
    EXPECT_EQ(e->selectedRange(), (Range{0, 1}));  // all selected
    type(*e, "ab");
    EXPECT_EQ(field->stringValue(), "ab");  // the field reads its editor while edited

    r.allowEnd = false;
    EXPECT_FALSE(w.makeFirstResponder(other.get()));
    EXPECT_EQ(w.editedField(), field.get());
    r.allowEnd = true;
    EXPECT_TRUE(w.makeFirstResponder(other.get()));
    EXPECT_EQ(w.editedField(), other.get());
    EXPECT_EQ(r.events, (std::vector<std::string>{"begin:x", "change:a", "change:ab", "shouldEnd", "shouldEnd",
                                                  "end:ab"}));
}

TEST(TextField, ReadOnlyFieldsRefuseTypingAndTheFocusLeavesARemovedField) {
    Window w;
    auto label = std::make_shared<TextField>();
    label->setEditable(false);
    label->setSelectable(false);
    w.contentView().addSubview(label);
    EXPECT_FALSE(w.makeFirstResponder(label.get()));

    auto field = std::make_shared<TextField>();
    w.contentView().addSubview(field);
    ASSERT_TRUE(w.makeFirstResponder(field.get()));
    field->setEnabled(false);
    EXPECT_FALSE(field->currentEditor()->insertText("z"));
    field->setEnabled(true);
    field->currentEditor()->insertText("z");
    field->removeFromSuperview();
    EXPECT_EQ(w.firstResponder(), nullptr);
    EXPECT_EQ(field->stringValue(), "z");
}

TEST(TextField, ADelegateCanRevertTheEditorAsLimitFormattersDo) {
    // The per-edit check of the limit formatters: on change, put the last
    // accepted text and selection back through the field.
    struct Limit : ControlTextDelegate {
        std::string undo;
        Range undoRange;
        void controlTextDidBeginEditing(const ControlTextNotification& n) override { undo = n.control->stringValue(); }
        void controlTextDidChange(const ControlTextNotification& n) override {
            std::string text = n.control->stringValue();  // a secure field's own value
            if (text.size() <= 2) {
                undo = text;
                undoRange = n.fieldEditor->selectedRange();
            } else {
                n.control->setStringValue(undo);
                n.fieldEditor->setSelectedRange(undoRange);
            }
        }
    } limit;
    SecureTextField f;
    f.setDelegate(&limit);
    f.beginEditing();
    f.currentEditor()->insertText("pw");
    f.currentEditor()->insertText("x");
    EXPECT_EQ(f.stringValue(), "pw");
    EXPECT_EQ(f.currentEditor()->selectedRange(), (Range{2, 0}));
    f.currentEditor()->replaceCharacters({0, 2}, "\t");  // a paste replaces the selection
    EXPECT_EQ(f.stringValue(), "\t");
    EXPECT_FALSE(f.currentEditor()->replaceCharacters({5, 0}, "y"));  // outside the text
}

TEST(FieldEditor, SelectionCountsUtf16Units) {
    FieldEditor e;
    e.beginEditing(nullptr, "a\xF0\x9F\x98\x80" "b", nullptr);  // a, emoji, b
    EXPECT_EQ(e.selectedRange(), (Range{0, 4}));
    e.setSelectedRange({3, 0});
    EXPECT_TRUE(e.deleteBackward());  // the whole pair goes
    EXPECT_EQ(e.string(), "ab");
    EXPECT_FALSE(e.replaceCharacters({2, 1}, "x"));
}
