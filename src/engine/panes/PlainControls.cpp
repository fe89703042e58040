#include <exception>

#include "Common/Security/EncryptUtil.h"
#include "Common/TextInput/LimitFormatterKinds.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/panes/PlainControls.h"
#include "engine/ppd/PpdFile.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Button.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/Menu.h"
#include "platform/kit/MenuItem.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/SecureTextField.h"
#include "platform/kit/Slider.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

kz::Array toArray(const std::vector<std::string>& texts) {
    kz::Array array;
    for (const auto& text : texts) array.push_back(kz::Value(text));
    return array;
}

bool isCheckBox(const kz::Control* control) {
    auto* button = dynamic_cast<const kz::Button*>(control);
    return button && !dynamic_cast<const kz::PopUpButton*>(control) && button->buttonType() == kz::ButtonType::Switch;
}

// The control's represented "optionKeywords", or null.
const kz::Array* optionKeywords(const kz::Control* control) {
    const kz::Value& object = control->representedObject();
    if (!object.isDictionary()) return nullptr;
    const kz::Value& list = object.dictionary().get("optionKeywords");
    return list.isArray() ? &list.array() : nullptr;
}

// Cells row by row, left to right.
template <class F>
void eachCell(const kz::Matrix& matrix, F f) {
    int n = 0;
    for (int row = 0; row < matrix.numberOfRows(); ++row)
        for (int column = 0; column < matrix.numberOfColumns(); ++column)
            if (kz::Cell* cell = matrix.cellAtRow(row, column)) f(*cell, row, column, n++);
}

}  // namespace

void PlainControls::addMenuItem(kz::Menu* menu, const std::optional<std::string>& mainKeyword,
                                const std::optional<std::string>& optionAlias,
                                const std::optional<std::string>& optionKeyword) {
    if (!menu) return;
    kz::MenuItem& item = menu->addItemWithTitle("");
    setMenuItem(&item, mainKeyword, optionAlias, optionKeyword);
}

void PlainControls::setMenuItem(kz::MenuItem* item, const std::optional<std::string>& mainKeyword,
                                const std::optional<std::string>& optionAlias,
                                const std::optional<std::string>& optionKeyword) {
    if (!item || !mainKeyword || !optionAlias || !optionKeyword) return;
    item->setTitle(*optionAlias);
    item->setRepresentedObject(kz::Dictionary{{"mainKeyword", *mainKeyword}, {"optionKeyword", *optionKeyword}});
}

kz::Value PlainControls::representedObjectOfMenuItem(const kz::MenuItem* item, std::string_view key) {
    if (!item || !item->representedObject().isDictionary()) return {};
    return item->representedObject().dictionary().get(key);
}

void PlainControls::build(kz::Control* control, const std::optional<std::string>& key,
                          const std::optional<std::string>& title) {
    if (!control || !key) return;
    try {
        PpdFile* ppd = _ppd ? _ppd() : nullptr;
        auto choices = ppd ? ppd->optionKeywords(*key) : std::nullopt;
        auto aliases = ppd ? ppd->optionAliases(*key) : std::nullopt;
        bool lists = choices && aliases;
        if (auto* popup = dynamic_cast<kz::PopUpButton*>(control)) {
            if (!lists) return;
            popup->setAutoenablesItems(false);
            popup->removeAllItems();
            for (std::size_t i = 0; i < choices->size(); ++i)
                addMenuItem(&popup->menu(), *key, i < aliases->size() ? (*aliases)[i] : (*choices)[i], (*choices)[i]);
        } else if (auto* slider = dynamic_cast<kz::Slider*>(control)) {
            if (!lists) return;
            if (title)
                slider->cell()->setRepresentedObject(kz::Dictionary{{"title", *title},
                                                                   {"mainKeyword", *key},
                                                                   {"optionKeywords", toArray(*choices)},
                                                                   {"optionAliases", toArray(*aliases)}});
            int count = static_cast<int>(choices->size());
            slider->setMinValue(0);
            slider->setMaxValue(count > 0 ? count - 1 : 0);
            slider->setAltIncrementValue(1);
            slider->setNumberOfTickMarks(count);
            slider->setAllowsTickMarkValuesOnly(true);
        } else if (isCheckBox(control)) {
            if (ppd && ppd->uiType(*key) == PpdFile::kPickOne) {
                if (!choices) return;
                control->cell()->setRepresentedObject(
                    kz::Dictionary{{"mainKeyword", *key}, {"optionKeywords", toArray(*choices)}});
            } else {
                control->cell()->setRepresentedObject(kz::Dictionary{{"mainKeyword", *key}});
            }
        } else if (dynamic_cast<kz::TextField*>(control)) {
            if (title) control->cell()->setRepresentedObject(kz::Dictionary{{"title", *title}, {"mainKeyword", *key}});
        } else if (auto* matrix = dynamic_cast<kz::Matrix*>(control)) {
            if (!lists) return;
            eachCell(*matrix, [&](kz::Cell& cell, int, int, int n) {
                auto index = static_cast<std::size_t>(n);
                if (index < aliases->size()) cell.setTitle((*aliases)[index]);
                if (index < choices->size()) cell.setRepresentedObject(kz::Value((*choices)[index]));
            });
        }
    } catch (const std::exception&) {
        kz::Log::format("### ## exception caught in [_buildControl: %s forKey: %s: title:%s]",
                        control->className().c_str(), key->c_str(), title ? title->c_str() : "(null)");
    }
}

kz::Value PlainControls::valueOf(const kz::Control* control) {
    if (!control) return {};
    if (auto* popup = dynamic_cast<const kz::PopUpButton*>(control)) {
        const kz::MenuItem* item = popup->selectedItem();
        return item ? representedObjectOfMenuItem(item, "optionKeyword") : kz::Value();
    }
    if (auto* slider = dynamic_cast<const kz::Slider*>(control)) {
        const kz::Array* list = optionKeywords(control);
        if (!list) return {};
        long index = static_cast<long>(list->size()) - 1 - static_cast<long>(slider->doubleValue() + 0.5);
        if (index < 0 || index >= static_cast<long>(list->size())) return {};
        return (*list)[static_cast<std::size_t>(index)];
    }
    if (isCheckBox(control)) {
        bool on = static_cast<const kz::Button*>(control)->state() != 0;
        if (const kz::Array* list = optionKeywords(control)) {
            if (list->size() < 2) return {};
            return (*list)[on ? 1 : 0];
        }
        return kz::Value(on);
    }
    if (auto* secure = dynamic_cast<const kz::SecureTextField*>(control)) {
        auto encoded = encryptString(PanePlugInMgr::kPasswordKey, secure->stringValue());
        return encoded ? kz::Value(*encoded) : kz::Value();
    }
    if (auto* field = dynamic_cast<const kz::TextField*>(control)) {
        kz::Value object = field->objectValue();
        return object.isString() ? object : kz::Value(field->stringValue());
    }
    if (auto* matrix = dynamic_cast<const kz::Matrix*>(control)) {
        kz::Cell* cell = matrix->selectedCell();
        return cell ? cell->representedObject() : kz::Value();
    }
    return {};
}

void PlainControls::setValue(kz::Control* control, const kz::Value& value) {
    if (!control || value.isNull()) return;
    if (auto* popup = dynamic_cast<kz::PopUpButton*>(control)) {
        auto text = PanePlugInMgr::_stringFromObject(value);
        for (int i = 0; i < popup->numberOfItems(); ++i) {
            kz::Value keyword = representedObjectOfMenuItem(popup->itemAtIndex(i), "optionKeyword");
            if (keyword.isString() && text && keyword.string() == *text) {
                popup->selectItemAtIndex(i);
                return;
            }
        }
        return;
    }
    if (auto* slider = dynamic_cast<kz::Slider*>(control)) {
        const kz::Array* list = optionKeywords(control);
        if (!list) return;
        for (std::size_t i = 0; i < list->size(); ++i)
            if ((*list)[i] == value) {
                slider->setDoubleValue(static_cast<double>(list->size() - 1 - i));
                return;
            }
        return;
    }
    if (isCheckBox(control)) {
        auto* box = static_cast<kz::Button*>(control);
        if (const kz::Array* list = optionKeywords(control)) {
            bool on = false;
            if (list->size() > 1)
                for (std::size_t i = 1; i < list->size(); ++i) on = on || (*list)[i] == value;
            box->setState(on ? 1 : 0);
            return;
        }
        bool on = value.isString() ? value.string() == "True" : value.boolValue();
        box->setState(on ? 1 : 0);
        return;
    }
    if (auto* secure = dynamic_cast<kz::SecureTextField*>(control)) {
        auto plain = decryptString(PanePlugInMgr::kPasswordKey, value.stringValue());
        secure->setStringValue(plain.value_or(std::string()));
        return;
    }
    if (auto* field = dynamic_cast<kz::TextField*>(control)) {
        if (value.isString()) {
            if (dynamic_cast<EscapeFormatting*>(field->formatter()))
                field->setObjectValue(value);
            else
                field->setStringValue(value.string());
        } else if (value.isNumber() && !value.isBoolean()) {
            field->setStringValue(value.stringValue());
        }
        return;
    }
    if (auto* matrix = dynamic_cast<kz::Matrix*>(control)) {
        int selectRow = -1, selectColumn = -1;
        eachCell(*matrix, [&](kz::Cell& cell, int row, int column, int) {
            if (cell.representedObject() == value) {
                selectRow = row;
                selectColumn = column;
            }
        });
        if (selectRow >= 0) matrix->selectCellAtRow(selectRow, selectColumn);
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
