// The panel's job name as a print dialog meets it: the label beside
// "Job name...", the dialog the button opens, and the two entries saved.
#include "PanelHost.h"
#include "platform/kit/FieldEditor.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Utf16.h"
#include "platform/kit/Window.h"

using namespace paneltest;

namespace {

class PanelJobName : public PanelTest {
protected:
    void show(std::shared_ptr<Host> host) {
        this->host = std::move(host);
        makePanel(this->host);
        ASSERT_NE(panel, nullptr);
        ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
        panel->willShow();
        button = findControl<kz::Button>(panel->panelView().get(), "clickedJobNameButton:");
        ASSERT_NE(button, nullptr);
    }
    // The read-only text right above the button.
    std::string label() const {
        kz::TextField* best = nullptr;
        for (const auto& v : button->superview()->subviews()) {
            auto* f = dynamic_cast<kz::TextField*>(v.get());
            if (f && !f->isEditable() && f->frame().origin.y > button->frame().origin.y &&
                (!best || f->frame().origin.y < best->frame().origin.y))
                best = f;
        }
        return best ? best->stringValue() : "(no label)";
    }
    // In the dialog: chooses the row and types the text (unless null) into
    // the name field while it takes typing, then presses the button.
    void answer(int row, const char* text, const char* press) {
        driver.then([row, text](kz::Application&, kz::Window& w) {
            auto* radio = dynamic_cast<kz::Matrix*>(kz::ScriptedUiDriver::find(
                w.contentView(), [](kz::View& v) { return dynamic_cast<kz::Matrix*>(&v) != nullptr; }));
            if (!text || row == 0) {
                EXPECT_TRUE(radio && radio->clickCellAtRow(row, 0));
                if (!text) return true;
            }
            auto* field = dynamic_cast<kz::TextField*>(kz::ScriptedUiDriver::find(w.contentView(), [](kz::View& v) {
                auto* f = dynamic_cast<kz::TextField*>(&v);
                return f && f->isEditable();
            }));
            if (row == 1) {
                EXPECT_TRUE(radio && radio->clickCellAtRow(row, 0));
            }
            // A disabled field (Auto chosen) takes no typing.
            if (!field || !field->beginEditing()) return true;
            kz::FieldEditor& editor = *field->currentEditor();
            editor.setSelectedRange({0, kz::Utf16::length(editor.string())});
            editor.insertText(text);
            return true;
        });
        driver.press(press);
    }
    void click() {
        kz::Application::EventScope event(kz::Event::mouseDown({}));
        button->performClick();
    }

    std::shared_ptr<Host> host;
    kz::Button* button = nullptr;
};

}  // namespace

TEST_F(PanelJobName, InputWithoutANameShowsAuto) {
    auto h = std::make_shared<MarkingHost>();
    h->settings.setValue(customKey("VLSpecificJobName"), "Input");
    h->settings.setValue(customKey("JobName"), "");
    show(h);
    EXPECT_EQ(label(), "Auto");
}

TEST_F(PanelJobName, TheLabelShowsTheNameAsTypedAndTheEntryKeepsItEscaped) {
    auto h = std::make_shared<MarkingHost>();
    h->settings.setValue(customKey("VLSpecificJobName"), "Input");
    // Escaped for transport, then for the entry (the comma).
    h->settings.setValue(customKey("JobName"), "say \\\"hi\\\"%x2C C:\\\\new");
    show(h);
    EXPECT_EQ(label(), "say \"hi\", C:\\new");

    // OK without a change keeps the name as it was, escapes and all.
    driver.press("OK");
    click();
    EXPECT_EQ(label(), "say \"hi\", C:\\new");
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->custom("JobName"), "say \\\"hi\\\"%x2C C:\\\\new");
    EXPECT_EQ(host->custom("VLSpecificJobName"), "Input");
}

TEST_F(PanelJobName, TheButtonSetsTheModeAndNameAndCancelChangesNothing) {
    show(std::make_shared<MarkingHost>());
    EXPECT_EQ(label(), "Auto");
    answer(1, "Q3 \"final\"", "OK");
    click();
    EXPECT_EQ(label(), "Q3 \"final\"");

    answer(0, "ignored", "Cancel");
    click();
    EXPECT_EQ(label(), "Q3 \"final\"");
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->custom("VLSpecificJobName"), "Input");
    EXPECT_EQ(host->custom("JobName"), "Q3 \\\"final\\\"");

    // Back to automatic: the label says so, the typed name stays for later.
    answer(0, nullptr, "OK");
    click();
    EXPECT_EQ(label(), "Auto");
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->custom("VLSpecificJobName"), "Auto");
}
