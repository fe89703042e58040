#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "engine/controls/QuillControlParts.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// What one control type does for an option control: it builds its widgets in
// the room the control gives it, reads and writes the option's value through
// them, names the text shown for the value and the height the control asks
// for. There is one instance per type (QuillControlTypes finds it by its
// "control_type" name); it holds no state of its own, the control does. The
// defaults are those of a type without a widget: nothing to build, read,
// write or show, and no height.
class KZ_EXPORT QuillControlType {
public:
    // The room for the widget: its left edge, the top, the caption's width,
    // the label row (0 when an empty label gives it up), the control's width
    // and the paragraph indent.
    struct Frame {
        double x0, top, headWidth, row, width, indent;
    };

    explicit QuillControlType(QuillUI::Kind kind) : _kind(kind) {}
    QuillControlType(const QuillControlType&) = delete;
    QuillControlType& operator=(const QuillControlType&) = delete;

    QuillUI::Kind kind() const { return _kind; }
    // Builds its title row itself, or has none; otherwise the control puts
    // the label and caption above the widget.
    virtual bool buildsOwnTitleRow() const { return false; }
    virtual void build(QuillUI& control, const Frame& frame) const;
    // Reads the widget into the control's value; a widget that has nothing
    // to give leaves the value as it is.
    virtual void read(QuillUI& control) const;
    // Shows the control's value (already set when value is not none).
    virtual void write(QuillUI& control, const OptionalText& value) const;
    // The text the user sees for the value, for dialogs.
    virtual OptionalText shown(const QuillUI& control) const;
    // hasText: the description has a label; titledNotMain: a group member
    // under a group title.
    virtual double height(const QuillUI& control, bool hasText, bool titledNotMain) const;

protected:
    // Never destroyed through the base, and trivially destroyed: the shared
    // instances outlast every control, even one torn down at exit.
    ~QuillControlType() = default;

    static constexpr double kRow = 24;

    // The control's parts and the few of its helpers the types build with.
    static QuillControlParts& parts(QuillUI& control) { return control._parts; }
    static const QuillControlParts& parts(const QuillUI& control) { return control._parts; }
    static std::string localized(const QuillUI& control, std::string_view key) { return control.localized(key); }
    static const kz::Array& choices(const QuillUI& control) { return control.choices(); }
    static OptionalText choiceAt(const QuillUI& control, std::size_t index) { return control.choiceAt(index); }
    static OptionalText choiceTextAt(const QuillUI& control, std::size_t index) { return control.choiceTextAt(index); }
    static OptionalText initialValue(const QuillUI& control) { return control.initialValue(); }
    // The label's key for the pane being built; its line count.
    static const OptionalText& rawLabel(const QuillUI& control) { return control._rawLabel; }
    static int lineCount(const QuillUI& control) { return control._line_count; }
    static bool showsIcons(const QuillUI& control) { return control._isEnableIcon; }
    static bool hasButton(const QuillUI& control) { return control._isEnableButton; }
    static std::shared_ptr<kz::Image> bundleImage(const QuillUI& control, const std::string& name, bool scaled) {
        return control.bundleImage(name, scaled);
    }
    static std::shared_ptr<kz::TextField> addTextItem(QuillUI& control, kz::Rect frame, const std::string& text) {
        return control.addTextItem(frame, text);
    }
    static std::shared_ptr<kz::ImageView> addIconView(QuillUI& control, kz::Rect frame,
                                                      std::shared_ptr<kz::Image> image) {
        return control.addIconView(frame, std::move(image));
    }
    static kz::Action action(QuillUI& control, const char* selector, void (QuillUI::*handler)(kz::Control*)) {
        return control.action(selector, handler);
    }
    static void buildTitleRow(QuillUI& control, double x0, double top, double headWidth) {
        control.buildTitleRow(x0, top, headWidth);
    }
    static OptionalText popupItemValue(const QuillUI& control, int item) { return control.popupItemValue(item); }
    static void fillPopupMenu(QuillUI& control) { control.fillPopupMenu(); }
    static std::string formatNumber(const QuillUI& control, double number) { return control.formatNumber(number); }
    static std::string fillDescriptionText(std::string_view format, const std::string& minText,
                                           const std::string& maxText) {
        return QuillUI::fillDescriptionText(format, minText, maxText);
    }
    static std::string secondsText(double seconds) { return QuillUI::secondsText(seconds); }
    // The token of the radio column's scheduled re-selection, while it waits.
    static std::weak_ptr<char>& pendingSelection(QuillUI& control) { return control._pendingSelection; }

    // Characters, not bytes, of a UTF-8 text.
    static std::size_t utf8Length(std::string_view text);

private:
    QuillUI::Kind _kind;
};

}  // namespace ComTORVALEKZ2R4_Plugin
