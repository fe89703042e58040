// The model side of an option control: values by control type, enabling and
// hiding by several sources, pop-up item lists and what each user action
// announces. Construction and geometry are in QuillUIConstruction.cpp.
#include "engine/controls/QuillUI.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "engine/controls/ControlDescription.h"
#include "engine/controls/WireNames.h"
#include "engine/controls/types/QuillControlType.h"
#include "engine/controls/types/QuillControlTypes.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/kit/ViewClassOf.h"
#include "platform/kit/ViewLoader.h"

namespace ComTORVALEKZ2R4_Plugin {

using CD = ControlDescription;

namespace {

std::optional<kz::Dictionary>& printOptionStore() {
    static std::optional<kz::Dictionary> option;
    return option;
}

const kz::Color& enabledTextColor() {
    static const kz::Color c{"selectedControlTextColor", 0, 0, 0, 1};
    return c;
}

// The number of places a printf number format ("%.02f", "%.0f", "%lf")
// prints; six when it gives none, as printf does.
int placesOfFormat(std::string_view format) {
    std::size_t dot = format.find('.');
    if (dot == std::string_view::npos) return 6;
    int places = 0;
    for (std::size_t i = dot + 1; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i)
        places = std::min(places * 10 + (format[i] - '0'), 20);
    return places;
}

std::string formatPlaces(double number, int places) {
    if (!std::isfinite(number)) number = 0;
    int n = std::snprintf(nullptr, 0, "%.*f", places, number);
    if (n <= 0) return "0";
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), "%.*f", places, number);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

}  // namespace

QuillUI::QuillUI(kz::Rect frame) : View(frame), _type(&QuillControlTypes::named("")) {}

QuillUI::~QuillUI() {
    // A widget someone else still holds must not call back into a dead control.
    for (kz::View* part : allParts())
        if (auto* c = dynamic_cast<kz::Control*>(part)) c->setAction({});
    if (_parts.textField) _parts.textField->setDelegate(nullptr);
}

// Reports name the print option a control edits.
const kz::ViewClass& QuillUI::described() {
    static const kz::ViewClass c = kz::ViewClassOf<QuillUI>("QuillUI", &kz::View::described())
                                       .property("mainKeyword", [](const QuillUI& q) { return kz::Value(q.mainKeyword()); })
                                       .reports("mainKeyword")
                                       .done();
    return c;
}

void QuillUI::registerViewClass() {
    kz::ViewLoader::registerViewClass("QuillUI", [] { return std::make_shared<QuillUI>(); });
}

void QuillUI::setControlDictionary(kz::Dictionary description) {
    _control_dictionary = std::move(description);
    setType();
}

void QuillUI::setControlDictionary(kz::Dictionary description, std::shared_ptr<kz::Bundle> pluginBundle) {
    _control_dictionary = std::move(description);
    setType();
    _bundle = std::move(pluginBundle);
}

void QuillUI::setType() {
    _type = &QuillControlTypes::named(controlType());
}

std::string QuillUI::controlType() const { return CD::text(_control_dictionary, "control_type").value_or(""); }

QuillUI::Kind QuillUI::kind() const { return _type->kind(); }

QuillUI::Kind QuillUI::kindOf(std::string_view type) { return QuillControlTypes::named(type).kind(); }

// A horizontal radio column is a vertical one in every respect (its type
// says so for building, reading and writing; this for the rest).
bool QuillUI::isRadioType() const { return kind() == Kind::RadioButton || kind() == Kind::HRadioButton; }

std::string QuillUI::localized(std::string_view key) const {
    std::string k(key);
    return _bundle ? _bundle->localizedString(k, k, "UI") : k;
}

OptionalText QuillUI::choiceAt(std::size_t index) const {
    if (index >= _theArray.size()) return std::nullopt;
    return CD::text(_theArray[index].dictionary(), "choice");
}

OptionalText QuillUI::choiceTextAt(std::size_t index) const {
    if (index >= _theArray.size()) return std::nullopt;
    return CD::text(_theArray[index].dictionary(), "text");
}

OptionalText QuillUI::popupItemValue(int item) const {
    if (item < 0) return std::nullopt;
    if (_popupButtonArray) {
        if (static_cast<std::size_t>(item) >= _popupButtonArray->size()) return std::nullopt;
        return (*_popupButtonArray)[static_cast<std::size_t>(item)].value;
    }
    if (static_cast<std::size_t>(item) >= _popupItemChoice.size()) return std::nullopt;
    int entry = _popupItemChoice[static_cast<std::size_t>(item)];
    if (entry < 0) return std::nullopt;
    return choiceAt(static_cast<std::size_t>(entry));
}

OptionalText QuillUI::minValue() const { return CD::text(_control_dictionary, "min"); }
OptionalText QuillUI::maxValue() const { return CD::text(_control_dictionary, "max"); }

int QuillUI::getChoicesCount() const {
    const kz::Value* v = _control_dictionary.find("choices");
    if (!v || !v->isArray()) return -1;
    return static_cast<int>(std::min<std::size_t>(v->array().size(), 1u << 30));
}

// ---------------------------------------------------------------- values

OptionalText QuillUI::getStringValue() {
    _type->read(*this);
    return _value;
}

void QuillUI::setStringValue(const OptionalText& v) {
    if (v) _value = v;
    if (v && _control_dictionary.contains("other_controls_enable_choice"))
        setEnabledChildControl(CD::text(_control_dictionary, "other_controls_enable_choice") == *v);

    _type->write(*this, v);
}

OptionalText QuillUI::getSelectedOptionText() const { return _type->shown(*this); }

OptionalText QuillUI::getOptionText(const OptionalText& v) const {
    if (kind() == Kind::CheckBox) return choiceTextAt(v == "True" ? 0 : 1);
    if (kind() == Kind::PopupButton || isRadioType()) {
        OptionalText found;
        for (std::size_t i = 0; i < _theArray.size(); ++i)
            if (v && choiceAt(i) == *v) found = choiceTextAt(i);
        return found;
    }
    return std::nullopt;
}

OptionalText QuillUI::getDefault() const {
    OptionalText d = CD::nonEmptyText(_control_dictionary, "default");
    if (!d) return std::nullopt;
    if (kind() == Kind::DatePicker) return datePickerDictionaryValueToStringValue(kz::Value(*d));
    return d;
}

void QuillUI::setDefault() {
    if (OptionalText d = getDefault()) setStringValue(d);
    postMainKeyword(nullptr);
}

void QuillUI::updateOldValue() { _old_value = getStringValue(); }

void QuillUI::updateValue(const std::string& text) {
    if (!_value) _value = text;
    if (_value != text) setStringValue(text);
}

bool QuillUI::updateWithPrintOption() {
    const auto& option = printOptionStore();
    if (!option || _quillkeyword.empty()) return false;
    const kz::Value* v = option->find(_quillkeyword);
    if (!v) return false;
    setStringValue(v->stringValue());
    updateOldValue();
    return true;
}

void QuillUI::setUpdateWithPrintOption(std::optional<kz::Dictionary> printOption) {
    printOptionStore() = std::move(printOption);
}

const std::optional<kz::Dictionary>& QuillUI::sharedPrintOption() { return printOptionStore(); }

std::string QuillUI::unitFormat() const { return _parts.textField ? _parts.textField->unitFormat() : "%.0f"; }

std::string QuillUI::formatNumber(double number) const { return formatPlaces(number, placesOfFormat(unitFormat())); }

void QuillUI::setDoubleValue(double number) {
    if (!_parts.textField) return;
    setStringValue(formatNumber(number));
}

void QuillUI::updateMin(double minimum, double maximum) {
    if (kind() != Kind::NumberField || !_parts.textField) return;
    std::string minText = formatNumber(minimum), maxText = formatNumber(maximum);
    _parts.textField->setMin(kz::doubleValueOfText(minText));
    _parts.textField->setMax(kz::doubleValueOfText(maxText));
    if (_parts.stepper) {
        _parts.stepper->setMinValue(kz::doubleValueOfText(minText));
        _parts.stepper->setMaxValue(kz::doubleValueOfText(maxText));
    }
    OptionalText desc = CD::text(_control_dictionary, "desc_text");
    if (desc && desc->find("%@") != std::string::npos && _parts.descText) {
        _parts.descText->setStringValue(fillDescriptionText(localized(*desc), minText, maxText));
    }
}

// ---------------------------------------------------------------- check box

int QuillUI::checkBoxState() const {
    if (_control_dictionary.empty() || !_parts.checkBox) {
        kz::Log::line("### checkbox object is invalid");
        return 1;
    }
    int on = _parts.checkBox->state() == kz::OnState ? 1 : 0;
    return CD::flag(_control_dictionary, "isInvert") ? 1 - on : on;
}

void QuillUI::setCheckBoxState(bool on) {
    if (_control_dictionary.empty() || !_parts.checkBox) {
        kz::Log::line("### checkbox object is invalid");
        return;
    }
    if (CD::flag(_control_dictionary, "isInvert")) on = !on;
    _parts.checkBox->setState(on ? kz::OnState : kz::OffState);
}

void QuillUI::setIconImage(bool on) {
    if (_parts.trueIconView) _parts.trueIconView->View::setHidden(!on);
    if (_parts.falseIconView) _parts.falseIconView->View::setHidden(on);
}

std::shared_ptr<kz::Image> QuillUI::getIconImage(const std::string& path) {
    std::shared_ptr<kz::Image> image = kz::Image::fromPngFile(path);
    if (!image) return nullptr;
    std::string name = path.substr(path.rfind('/') + 1);
    if (name.ends_with(".png")) name.resize(name.size() - 4);
    image->setName(name);
    if (image->size().width > 16 || image->size().height > 16) {
        image = image->drawnAtSize(16, 16);
        image->setName(name);
    }
    return image;
}

std::shared_ptr<kz::Image> QuillUI::bundleImage(const std::string& name, bool scaled) const {
    if (!_bundle || name.empty()) return nullptr;
    std::string path = _bundle->pathForResource(name, "png");
    if (path.empty()) return nullptr;
    std::shared_ptr<kz::Image> image = scaled ? getIconImage(path) : kz::Image::fromPngFile(path);
    if (image) image->setName(name);
    return image;
}

// ---------------------------------------------------------------- radio column

void QuillUI::selectMatrix() {
    if (!_parts.radioButtonMatrix) return;
    std::vector<kz::Cell*> cells = _parts.radioButtonMatrix->cells();
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i]->setState(_value && choiceAt(i) == *_value ? kz::OnState : kz::OffState);
}

QuillUI* QuillUI::getChildQuillUI(std::string_view keyword) const {
    for (const auto& child : _child_controls)
        if (child->mainKeyword() == keyword) return child.get();
    return nullptr;
}

std::string QuillUI::getMainKeywordType(const kz::Dictionary& descriptions, std::string_view key) {
    const kz::Dictionary& d = descriptions.get(key).dictionary();
    OptionalText defchoice = CD::text(d, "defchoice");
    const kz::Value* choices = d.find("choices");
    if ((defchoice == "True" || defchoice == "False") && choices && choices->isArray() && choices->array().size() == 2)
        return "checkbox";
    return "unknown";
}

bool QuillUI::isEmptycheck() const {
    return !(_parts.textField && _parts.textField->isEnabled() && _parts.textField->stringValue().empty());
}

void QuillUI::controlTextDidChange(const kz::ControlTextNotification& n) {
    if (_parts.textField && n.control == _parts.textField.get() && _parts.stepper) _parts.stepper->setDoubleValue(_parts.textField->doubleValue());
}

// ---------------------------------------------------------------- enabling and hiding

void QuillUI::setEnabled(bool enabled) {
    for (kz::Control* c : std::initializer_list<kz::Control*>{_parts.checkBox.get(), _parts.popupButton.get(),
                                                               _parts.radioButtonMatrix.get(), _parts.textField.get(),
                                                               _parts.stepper.get(), _parts.slider.get(), _parts.pushButton.get()})
        if (c) c->setEnabled(enabled);
    const kz::Color color = enabled ? enabledTextColor() : kz::Color::disabledControlTextColor();
    for (kz::TextField* t : allTexts()) t->setTextColor(color);
}

void QuillUI::setEnabled(bool enabled, const std::string& source) {
    auto& sources = _theNameOfDisabledKey;
    if (!enabled) {
        if (std::find(sources.begin(), sources.end(), source) == sources.end()) sources.push_back(source);
        setEnabled(false);
        return;
    }
    if (sources.empty()) {
        setEnabled(true);
        return;
    }
    auto it = std::find(sources.begin(), sources.end(), source);
    if (it != sources.end()) sources.erase(it);
    if (sources.empty()) setEnabled(true);
}

void QuillUI::setEnabledPositively(bool enabled, const std::string& source) {
    static const std::string kLogicalSum = "logical_sum_condition";
    auto& sources = _theNameOfEnabledKey;
    auto it = std::find(sources.begin(), sources.end(), source);
    if (enabled) {
        if (it == sources.end()) sources.push_back(source);
        setEnabled(true, kLogicalSum);
        return;
    }
    if (it != sources.end()) {
        sources.erase(it);
        if (!sources.empty()) return;
    } else if (!sources.empty()) {
        return;
    }
    setEnabled(false, kLogicalSum);
}

void QuillUI::setEnabledByDictionary(const kz::Dictionary& enabledChoices) {
    if (!_parts.popupButton) return;
    kz::Menu& menu = _parts.popupButton->menu();
    menu.setAutoenablesItems(false);
    for (int i = 0; i < menu.numberOfItems(); ++i) {
        OptionalText v = popupItemValue(i);
        const kz::Value* on = v ? enabledChoices.find(*v) : nullptr;
        menu.itemAtIndex(i)->setEnabled(on && on->boolValue());
    }
    const kz::MenuItem* selected = _parts.popupButton->selectedItem();
    if (selected && menu.isItemEnabled(*selected)) return;
    for (int i = 0; i < menu.numberOfItems(); ++i)
        if (menu.isItemEnabled(*menu.itemAtIndex(i))) {
            _parts.popupButton->selectItemAtIndex(i);
            popupButtonAction(_parts.popupButton.get());
            return;
        }
}

void QuillUI::setEnabledChildControl(bool enabled) {
    for (auto& child : _child_controls) child->setEnabled(enabled);
}

void QuillUI::disableForPDE() {
    if (!_parts.radioButtonMatrix || _disableForPDE.empty()) return;
    std::vector<kz::Cell*> cells = _parts.radioButtonMatrix->cells();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        OptionalText c = choiceAt(i);
        if (c && std::find(_disableForPDE.begin(), _disableForPDE.end(), *c) != _disableForPDE.end())
            cells[i]->setEnabled(false);
    }
}

bool QuillUI::isEnabled() const {
    for (const kz::Control* c :
         {static_cast<const kz::Control*>(_parts.checkBox.get()), static_cast<const kz::Control*>(_parts.popupButton.get()),
          static_cast<const kz::Control*>(_parts.radioButtonMatrix.get()), static_cast<const kz::Control*>(_parts.textField.get()),
          static_cast<const kz::Control*>(_parts.stepper.get()), static_cast<const kz::Control*>(_parts.slider.get()),
          static_cast<const kz::Control*>(_parts.pushButton.get())})
        if (c) return c->isEnabled();
    return true;
}

void QuillUI::setHidden(bool hidden) {
    for (kz::View* part : allParts()) {
        bool isPicker = std::any_of(_parts.datePickers.begin(), _parts.datePickers.end(),
                                    [part](const auto& p) { return p.get() == part; });
        if (!isPicker) part->View::setHidden(hidden);
    }
}

bool QuillUI::isHidden() const {
    for (const kz::View* v :
         {static_cast<const kz::View*>(_parts.checkBox.get()), static_cast<const kz::View*>(_parts.popupButton.get()),
          static_cast<const kz::View*>(_parts.radioButtonMatrix.get()), static_cast<const kz::View*>(_parts.textField.get()),
          static_cast<const kz::View*>(_parts.stepper.get()), static_cast<const kz::View*>(_parts.slider.get()),
          static_cast<const kz::View*>(_parts.pushButton.get())})
        if (v) return v->View::isHidden();
    return true;
}

std::vector<kz::TextField*> QuillUI::allTexts() const {
    std::vector<kz::TextField*> out;
    for (const auto& t : {_parts.labelText, _parts.descText, _parts.headText, _parts.headTitleText, _parts.groupTitleText, _parts.minIconText, _parts.maxIconText})
        if (t) out.push_back(t.get());
    for (const auto& t : _parts.sliderTickLabels) out.push_back(t.get());
    return out;
}

std::vector<kz::View*> QuillUI::allParts() const {
    std::vector<kz::View*> out;
    for (kz::View* v : std::initializer_list<kz::View*>{
             _parts.groupIconView.get(), _parts.trueIconView.get(), _parts.falseIconView.get(), _parts.minIconView.get(), _parts.maxIconView.get(),
             _parts.numberIconView.get(), _parts.checkBox.get(), _parts.popupButton.get(), _parts.radioButtonMatrix.get(), _parts.textField.get(),
             _parts.stepper.get(), _parts.slider.get(), _parts.pushButton.get()})
        if (v) out.push_back(v);
    for (kz::TextField* t : allTexts()) out.push_back(t);
    for (const auto& p : _parts.datePickers) out.push_back(p.get());
    return out;
}

// ---------------------------------------------------------------- pop-up item lists

void QuillUI::fillPopupMenu() {
    if (!_parts.popupButton) return;
    _parts.popupButton->removeAllItems();
    _popupItemChoice.clear();
    kz::Menu& menu = _parts.popupButton->menu();
    if (_popupButtonArray) {
        // Titles are keys of the "UI" table; a title without an entry shows itself.
        for (const PopupButtonItem& item : *_popupButtonArray) menu.addItemWithTitle(localized(item.title));
        return;
    }
    for (std::size_t i = 0; i < _theArray.size(); ++i) {
        const kz::Dictionary& entry = _theArray[i].dictionary();
        std::string text = CD::text(entry, "text").value_or("");
        if (!text.empty()) {
            kz::MenuItem& item = menu.addItemWithTitle(localized(text));
            _popupItemChoice.push_back(static_cast<int>(i));
            if (_isEnableIcon)
                if (auto image = bundleImage(_quillkeyword + "_" + CD::text(entry, "choice").value_or(""), true))
                    item.setImageName(image->name());
        } else if (entry.contains("separator")) {
            menu.addItem(kz::MenuItem::separatorItem());
            _popupItemChoice.push_back(-1);
        }
    }
}

void QuillUI::setPopupButtonArray(const PopupButtonItems& items) {
    if (kind() != Kind::PopupButton || items.empty()) return;
    _popupButtonArray = items;
    fillPopupMenu();
}

void QuillUI::addPopupButtonArray(const PopupButtonItems& items) {
    if (items.empty()) {
        kz::Log::line("### ## Invalid list!");
        return;
    }
    PopupButtonItems list;
    list.reserve(256);
    for (std::size_t i = 0; i < _theArray.size(); ++i) {
        std::string text = choiceTextAt(i).value_or("");
        // Entries without a text are separators or gaps in the menu, never items.
        if (!text.empty()) list.push_back({text, choiceAt(i).value_or("")});
    }
    list.insert(list.end(), items.begin(), items.end());
    _popupButtonArray = std::move(list);
    fillPopupMenu();
}

void QuillUI::removePopupButtonArray(const std::vector<std::string>& values) {
    if (values.empty()) {
        kz::Log::line("### ## Invalid list!");
        return;
    }
    PopupButtonItems list;
    list.reserve(100);
    for (std::size_t i = 0; i < _theArray.size(); ++i) {
        std::string choice = choiceAt(i).value_or(""), text = choiceTextAt(i).value_or("");
        if (!text.empty() && std::find(values.begin(), values.end(), choice) == values.end())
            list.push_back({text, choice});
    }
    _popupButtonArray = std::move(list);
    fillPopupMenu();
    if (_isEnableIcon && _parts.popupButton)
        for (int i = 0; i < _parts.popupButton->numberOfItems(); ++i)
            if (auto image = bundleImage(_quillkeyword + "_" + (*_popupButtonArray)[static_cast<std::size_t>(i)].value,
                                         true))
                _parts.popupButton->itemAtIndex(i)->setImageName(image->name());
}

// ---------------------------------------------------------------- user actions

void QuillUI::postMainKeyword(const void* sender, kz::Dictionary userInfo) {
    // No keyword, no announcement: an empty name would reach every observer.
    if (_quillkeyword.empty()) return;
    kz::NotificationCenter::defaultCenter().post(_quillkeyword, sender, std::move(userInfo));
}

void QuillUI::postUserChange() {
    if (_value) postMainKeyword(this, kz::Dictionary{{wire::kParameter, kz::Value(*_value)}});
    else postMainKeyword(nullptr);
}

void QuillUI::checkboxAction(kz::Control*) {
    bool on = checkBoxState() == 1;
    if (OptionalText v = choiceAt(on ? 0 : 1)) updateValue(*v);
    if (_isEnableIcon) {
        setIconImage(on);
        setEnabledChildControl(on);
    }
    postUserChange();
}

void QuillUI::popupButtonAction(kz::Control*) {
    if (_parts.popupButton)
        if (OptionalText v = popupItemValue(_parts.popupButton->indexOfSelectedItem())) updateValue(*v);
    postUserChange();
}

void QuillUI::radioButtonAction(kz::Control*) {
    if (_parts.radioButtonMatrix) {
        int row = _parts.radioButtonMatrix->selectedRow();
        if (row >= 0 && static_cast<std::size_t>(row) < _theArray.size()) {
            std::string choice = choiceAt(static_cast<std::size_t>(row)).value_or("");
            updateValue(choice);
            if (_isEnableIcon && _parts.groupIconView)
                if (auto image = bundleImage(_quillkeyword + "_" + choice, false)) _parts.groupIconView->setImage(image);
        }
    }
    postMainKeyword(nullptr);
}

void QuillUI::sliderAction(kz::Control*) { postMainKeyword(nullptr); }

void QuillUI::radioAction(kz::Control*) { postMainKeyword(nullptr); }

void QuillUI::stepperAction(kz::Control*) {
    if (_parts.textField && _parts.stepper) _parts.textField->setDoubleValue(_parts.stepper->doubleValue());
    postMainKeyword(nullptr);
}

void QuillUI::textAction(kz::Control*) {
    if (_parts.textField && _parts.stepper) _parts.stepper->setDoubleValue(_parts.textField->doubleValue());
    postMainKeyword(nullptr);
}

void QuillUI::datePickerAction(kz::Control* sender) {
    auto* picker = dynamic_cast<kz::DatePicker*>(sender);
    if (picker)
        for (auto& other : _parts.datePickers)
            if (other.get() != picker) other->setDateValue(picker->dateValue());
    postMainKeyword(nullptr);
}

void QuillUI::buttonAction(kz::Control*) {
    if (!_parts.pushButton || _quillkeyword.empty()) return;
    kz::NotificationCenter::defaultCenter().post(_quillkeyword + "_Button", nullptr);
}

// ---------------------------------------------------------------- dates

kz::Date QuillUI::datePickerDictionaryValueToDate(const kz::Value& expression) {
    if (expression.isString() && expression.string().starts_with("now")) {
        auto now = std::chrono::system_clock::now().time_since_epoch();
        double seconds = std::chrono::duration<double>(now).count();
        return kz::Date::fromUnix(seconds + kz::doubleValueOfText(expression.string().substr(3)));
    }
    return kz::Date::fromUnix(expression.doubleValue());
}

// Out-of-range moments are held at the ends of the integer range rather than
// converted undefined.
std::string QuillUI::secondsText(double seconds) {
    if (!std::isfinite(seconds)) seconds = 0;
    seconds = std::clamp(std::trunc(seconds), -9.0e18, 9.0e18);
    return std::to_string(static_cast<long long>(seconds));
}

std::string QuillUI::datePickerDictionaryValueToStringValue(const kz::Value& expression) {
    return secondsText(datePickerDictionaryValueToDate(expression).unixTime());
}

}  // namespace ComTORVALEKZ2R4_Plugin
