#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Export.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

// The text field of an option control: filters typing, keeps a number inside
// a range with a fixed number of decimals, and announces the end of an edit
// under the option's main keyword.
//
// `mUnit` codes: 1 and 4 two decimals, 3 one, 5 three, 0, 2 and 6 whole
// numbers; 7 e-mail address, 8 ASCII, 9 page numbers, 10 general text.
class KZ_EXPORT QuillTextField : public kz::TextField {
public:
    // A field made by an option control: everything zero, configured by it.
    explicit QuillTextField(kz::Rect frame = {});
    ~QuillTextField() override;
    std::string className() const override { return "QuillTextField"; }

    // View descriptions may name "QuillTextField" and "QuillSecureTextField";
    // such fields start as a two-decimal number of four digits with an
    // unbounded range and answer "VALIDATE".
    static void registerViewClasses();
    // What a field loaded from a view description starts with.
    void setUpAsLoaded();

    void setNum(bool on) { _isNum = on; }
    void setDigit(long digits) { _mMaxDigit = digits; }
    void setMin(double value) { _mMinValue = value; }
    // Also sets the digit limit to the length of the formatted maximum.
    void setMax(double value);
    // Codes 0 to 6 reformat the shown number at once.
    void setUnit(long unit);
    virtual void setKeyword(const std::string& keyword);

    bool isNum() const { return _isNum; }
    long unit() const { return _mUnit; }
    long maxDigit() const { return _mMaxDigit; }
    double minValue() const { return _mMinValue; }
    double maxValue() const { return _mMaxValue; }
    const std::string& keyword() const { return _quilltextkeyword; }
    const std::string& acceptedText() const { return _sValue; }
    bool scrollsHorizontally() const { return _scrolls; }

    const char* unitFormat() const;
    const char* unitCFormat() const;
    // A number as the unit shows it; never cut, however long.
    std::string formatted(double value, const char* format) const;

    bool isNumFormat(const std::string& text) const;
    bool isTextFormat(const std::string& text) const;

    double doubleValueInRange() const;
    long intValueInRange() const;
    void validateTextField();

    void setIntValue(int value) override;
    void setDoubleValue(double value) override;
    // The sender's value, then the field takes the focus and ends an edit
    // without a notification.
    void takeIntValueFrom(const kz::Control& sender);

    bool shouldChangeText(kz::FieldEditor& editor, const kz::TextChange& change) override;
    void textDidEndEditing(kz::FieldEditor* editor) override;
    // Answers a "VALIDATE" request: an enabled number field out of range
    // cancels it and shows the range alert; it is clamped in any case.
    void validate();
    // The range alert; nothing when the alert bundle is missing.
    void errorMsg();
    // The range alert's text, none without the alert bundle.
    std::optional<std::string> rangeMessage() const;
    bool commitEditing();

    // The bundle holding the range alert's text: the one set here, else the
    // first bundle whose identifier ends in "quill.QuillTextField" inside the
    // plug-in bundle.
    static void setAlertBundle(std::shared_ptr<kz::Bundle> bundle);
    static std::shared_ptr<kz::Bundle> alertBundle();

protected:
    // Whether typing may leave this text in the field.
    virtual bool acceptsTyping(const std::string& candidate) const;
    bool isDecimalUnit() const { return _mUnit == 1 || _mUnit == 3 || _mUnit == 4 || _mUnit == 5; }
    void setScrollsHorizontally(bool on) { _scrolls = on; }

private:
    bool _isNum = false;
    long _mUnit = 0;
    long _mMaxDigit = 0;
    double _mMaxValue = 0;
    double _mMinValue = 0;
    std::string _sValue;
    std::string _quilltextkeyword;
    bool _scrolls = false;
    bool _observesValidate = false;
};

}  // namespace ComTORVALEKZ2R4_Plugin
