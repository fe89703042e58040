#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/controls/QuillControlParts.h"
#include "engine/controls/QuillSecureTextField.h"
#include "engine/controls/QuillTextField.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"
#include "platform/kit/Button.h"
#include "platform/kit/ControlTextDelegate.h"
#include "platform/kit/DatePicker.h"
#include "platform/kit/Image.h"
#include "platform/kit/ImageView.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/Slider.h"
#include "platform/kit/Stepper.h"
#include "platform/kit/TextField.h"
#include "platform/kit/View.h"

namespace ComTORVALEKZ2R4_Plugin {

class QuillControlType;

// The field an option control edits its text and numbers in (its password
// variant derives from it).
using QuillUITextField = QuillTextField;

// A value of an option control: none, or a text.
using OptionalText = std::optional<std::string>;

// One item of a pop-up list that replaces the description's choices
// (server-provided trays, folders and the like).
struct PopupButtonItem {
    std::string title;
    std::string value;
    bool operator==(const PopupButtonItem&) const = default;
};
using PopupButtonItems = std::vector<PopupButtonItem>;

// One option control: a view that edits one print option (its main keyword)
// through the widget its control description asks for. It reads and writes
// the option's value by control type, keeps the old, default and unsupported
// values, is enabled and hidden by several rule sources at once and
// announces each user action under its main keyword, which the option
// registry observes.
class KZ_EXPORT QuillUI : public kz::View, public kz::ControlTextDelegate {
public:
    explicit QuillUI(kz::Rect frame = {});
    ~QuillUI() override;
    static const kz::ViewClass& described();
    const kz::ViewClass& viewClass() const override { return described(); }

    // Lets view descriptions name the class "QuillUI" (an empty control that
    // a pane describes afterwards).
    static void registerViewClass();

    // ---- description and identity
    const std::string& mainKeyword() const { return _quillkeyword; }
    // The option's label for dialogs.
    const std::string& mainKeywordText() const { return _keyword_text; }
    const std::vector<std::shared_ptr<QuillUI>>& childControls() const { return _child_controls; }
    const std::shared_ptr<kz::Bundle>& bundle() const { return _bundle; }
    void setBundle(std::shared_ptr<kz::Bundle> bundle) { _bundle = std::move(bundle); }
    const kz::Dictionary& controlDictionary() const { return _control_dictionary; }
    void setControlDictionary(kz::Dictionary description);
    void setControlDictionary(kz::Dictionary description, std::shared_ptr<kz::Bundle> pluginBundle);
    // The description's "control_type" ("" when there is none).
    std::string controlType() const;
    // What "control_type" asks for, read when the description is set. The
    // names are exact: any other text (or none) is a title line, which
    // builds no widget and so has no value to read, write or show. Each
    // name has one control type that does what it asks for
    // (QuillControlTypes).
    enum class Kind { TitleLine, CheckBox, PopupButton, RadioButton, HRadioButton, Slider, DatePicker,
                      NumberField, TextField, SecureTextField };
    static Kind kindOf(std::string_view controlType);
    Kind kind() const;
    std::string controlClass() const { return "controlClass"; }

    // ---- values
    const OptionalText& value() const { return _value; }
    void setValue(OptionalText value) { _value = std::move(value); }
    const OptionalText& getOldValue() const { return _old_value; }
    const OptionalText& getUnsportValue() const { return _unsportValue; }
    void setUnsportValue(OptionalText value) { _unsportValue = std::move(value); }

    // Reads the widget into value() and answers it.
    OptionalText getStringValue();
    // Writes a value to the widget; none only switches nothing but the type's
    // own handling of "no value".
    void setStringValue(const OptionalText& value);
    OptionalText getSelectedOptionText() const;
    OptionalText getOptionText(const OptionalText& value) const;
    // The non-empty "default" (a date control's as seconds text), or none.
    OptionalText getDefault() const;
    // Shows the default and always announces the main keyword.
    void setDefault();
    void updateOldValue();
    void updateValue(const std::string& value);
    bool updateWithPrintOption();
    // The print option that updateWithPrintOption reads, shared by all controls.
    static void setUpdateWithPrintOption(std::optional<kz::Dictionary> printOption);
    static const std::optional<kz::Dictionary>& sharedPrintOption();
    void setDoubleValue(double number);
    void updateMin(double minimum, double maximum);

    // ---- rule entries of the description
    const kz::Dictionary& getConflictDictionary() const { return _conflict_dictionary; }
    const kz::Dictionary& getUnrestorableConflictDictionary() const { return _unrestorable_conflict_dictionary; }
    const kz::Dictionary& getConditionDictionary() const { return _condition_dictionary; }
    const kz::Dictionary& getLogicalSumConditionDictionary() const { return _logical_sum_condition_dictionary; }
    const kz::Dictionary& getCooperationDictionary() const { return _cooperation_dictionary; }
    const kz::Dictionary& getHideDictionary() const { return _hide_dictionary; }
    bool getSpreadValue() const { return _isEnableSpread; }
    // The description's "min" and "max" as text (numbers in their shortest form).
    OptionalText minValue() const;
    OptionalText maxValue() const;
    // The number of "choices"; -1 without any.
    int getChoicesCount() const;

    // ---- check box
    int checkBoxState() const;
    void setCheckBoxState(bool on);
    void setIconImage(bool on);
    // The image at the path, drawn at 16 by 16 when it is larger; none when
    // it cannot be read.
    static std::shared_ptr<kz::Image> getIconImage(const std::string& path);

    // ---- radio column
    void selectMatrix();

    QuillUI* getChildQuillUI(std::string_view mainKeyword) const;
    // "checkbox" for a description with a "True"/"False" "defchoice" and two
    // choices, else "unknown".
    static std::string getMainKeywordType(const kz::Dictionary& descriptions, std::string_view key);
    bool isEmptycheck() const;
    void controlTextDidChange(const kz::ControlTextNotification& notification) override;

    // ---- enabling and hiding
    void setEnabled(bool enabled);
    // Disabled while any source that disabled it has not enabled it again.
    void setEnabled(bool enabled, const std::string& source);
    // The "or" of the logical-sum sources.
    void setEnabledPositively(bool enabled, const std::string& source);
    // Pop-up only: choice value -> boolean enables menu items.
    void setEnabledByDictionary(const kz::Dictionary& choices);
    void setEnabledChildControl(bool enabled);
    void disableForPDE();
    bool isEnabled() const;
    // Hides or shows every part of the control; the control's own view keeps
    // its flag (View::setHidden is still there for that).
    void setHidden(bool hidden);
    bool isHidden() const;
    const std::vector<std::string>& disablingSources() const { return _theNameOfDisabledKey; }
    const std::vector<std::string>& enablingSources() const { return _theNameOfEnabledKey; }

    // ---- pop-up item lists
    void setPopupButtonArray(const PopupButtonItems& items);
    void addPopupButtonArray(const PopupButtonItems& items);
    void removePopupButtonArray(const std::vector<std::string>& values);
    const std::optional<PopupButtonItems>& popupButtonArray() const { return _popupButtonArray; }

    // ---- user actions (the widgets' targets); sender may be null
    void radioButtonAction(kz::Control* sender);
    void popupButtonAction(kz::Control* sender);
    void checkboxAction(kz::Control* sender);
    void sliderAction(kz::Control* sender);
    void radioAction(kz::Control* sender);
    void stepperAction(kz::Control* sender);
    void textAction(kz::Control* sender);
    void datePickerAction(kz::Control* sender);
    void buttonAction(kz::Control* sender);

    bool accessibilityIsIgnored() const { return false; }

    // Date expressions: "now", "now" and a number of seconds to add, or
    // seconds since 1970.
    static kz::Date datePickerDictionaryValueToDate(const kz::Value& expression);
    static std::string datePickerDictionaryValueToStringValue(const kz::Value& expression);

    // ---- construction and layout
    void createControls(const kz::Dictionary& description, const std::string& paneName);
    void createControls(const kz::Dictionary& description) { createControls(description, ""); }
    void updateControl() { createControls(_control_dictionary, ""); }
    void updateControl(const std::string& paneName) { createControls(_control_dictionary, paneName); }
    double getControlHeight() const;
    static int getLineCount(std::string_view text);
    // The description file for child controls: the enclosing plug-in's
    // "VLPOD" file when it exists.
    std::optional<std::string> getUIFilePath() const;
    void controlRemoveAll();
    // Where children are looked up instead of the bundle's files (a file the
    // tool was given); children inherit it.
    void setChildDescriptions(std::shared_ptr<const kz::Dictionary> descriptions) {
        _childDescriptions = std::move(descriptions);
    }

    // ---- the parts built (null when the type does not have them)
    kz::Button* checkBox() const { return _parts.checkBox.get(); }
    kz::PopUpButton* popupButton() const { return _parts.popupButton.get(); }
    kz::Matrix* radioButtonMatrix() const { return _parts.radioButtonMatrix.get(); }
    QuillUITextField* textField() const { return _parts.textField.get(); }
    kz::Stepper* stepper() const { return _parts.stepper.get(); }
    kz::Slider* slider() const { return _parts.slider.get(); }
    kz::Button* pushButton() const { return _parts.pushButton.get(); }
    const std::vector<std::shared_ptr<kz::DatePicker>>& getDatePickers() const { return _parts.datePickers; }
    kz::TextField* labelText() const { return _parts.labelText.get(); }
    kz::TextField* descriptionText() const { return _parts.descText.get(); }
    kz::TextField* headText() const { return _parts.headText.get(); }
    kz::TextField* headTitleText() const { return _parts.headTitleText.get(); }
    kz::TextField* groupTitleText() const { return _parts.groupTitleText.get(); }
    kz::ImageView* groupIconView() const { return _parts.groupIconView.get(); }
    kz::ImageView* trueIconView() const { return _parts.trueIconView.get(); }
    kz::ImageView* falseIconView() const { return _parts.falseIconView.get(); }
    const std::vector<std::shared_ptr<kz::TextField>>& sliderTickLabels() const { return _parts.sliderTickLabels; }

    // Child descriptions nest no deeper than this (a file that names a
    // control among its own children would otherwise recurse for ever).
    static constexpr int kMaxChildDepth = 8;
    // Nor may one control hold more descendants than this (names that list
    // each other many times over would multiply at every level).
    static constexpr std::size_t kMaxDescendants = 512;

private:
    // The control type builds, reads, writes, shows and sizes through the
    // parts and the helpers its base class offers it.
    friend class QuillControlType;
    void setType();

    // ---- model helpers (QuillUI.cpp)
    std::string localized(std::string_view key) const;
    const kz::Array& choices() const { return _theArray; }
    OptionalText choiceAt(std::size_t index) const;
    OptionalText choiceTextAt(std::size_t index) const;
    // The option value of pop-up item i: the pair's when a list is set, else
    // its choice entry's.
    OptionalText popupItemValue(int item) const;
    void fillPopupMenu();
    void postMainKeyword(const void* sender, kz::Dictionary userInfo = {});
    void postUserChange();
    std::shared_ptr<kz::Image> bundleImage(const std::string& name, bool scaled) const;
    std::vector<kz::View*> allParts() const;
    std::vector<kz::TextField*> allTexts() const;
    std::string unitFormat() const;
    std::string formatNumber(double number) const;
    bool isRadioType() const;
    // Whole seconds, the fraction dropped.
    static std::string secondsText(double seconds);

    // ---- construction helpers (QuillUIConstruction.cpp)
    OptionalText initialValue() const;
    static std::string fillDescriptionText(std::string_view format, const std::string& minText,
                                           const std::string& maxText);
    std::shared_ptr<kz::TextField> addTextItem(kz::Rect frame, const std::string& text);
    std::shared_ptr<kz::ImageView> addIconView(kz::Rect frame, std::shared_ptr<kz::Image> image);
    void readDescription(const kz::Dictionary& description, const std::string& paneName);
    void buildTitleRow(double x0, double top, double headWidth);
    void buildChildren(double top, const std::string& paneName);
    std::optional<kz::Dictionary> childDescriptionFile() const;
    kz::Action action(const char* selector, void (QuillUI::*handler)(kz::Control*));

    // ---- description and model
    kz::Dictionary _control_dictionary;
    const QuillControlType* _type;  // never null: a title line at least
    std::shared_ptr<kz::Bundle> _bundle;
    std::string _quillkeyword;
    std::string _keyword_text;
    OptionalText _rawLabel;  // the label's key for the pane being built
    OptionalText _value;
    OptionalText _old_value;
    OptionalText _unsportValue;
    int _line_count = 1;
    bool _isEnableIcon = false;
    bool _isEnableSpread = false;
    bool _isEnableButton = false;
    kz::Dictionary _conflict_dictionary;
    kz::Dictionary _unrestorable_conflict_dictionary;
    kz::Dictionary _condition_dictionary;
    kz::Dictionary _logical_sum_condition_dictionary;
    kz::Dictionary _cooperation_dictionary;
    kz::Dictionary _hide_dictionary;
    kz::Array _theArray;
    std::optional<PopupButtonItems> _popupButtonArray;
    // Pop-up item -> "choices" entry (-1 for a separator), so that values stay
    // right when separators or empty entries leave gaps in the menu.
    std::vector<int> _popupItemChoice;
    std::vector<std::string> _disableForPDE;
    std::vector<std::string> _theNameOfDisabledKey;
    std::vector<std::string> _theNameOfEnabledKey;
    std::vector<std::shared_ptr<QuillUI>> _child_controls;
    int _childDepth = 0;
    std::weak_ptr<char> _pendingSelection;  // the scheduled selectMatrix, while it waits
    std::shared_ptr<const kz::Dictionary> _childDescriptions;
    std::shared_ptr<std::size_t> _descendantsLeft;  // shared by a control tree

    // ---- widgets, texts and icons
    QuillControlParts _parts;
};

}  // namespace ComTORVALEKZ2R4_Plugin
