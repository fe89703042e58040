// The print option between the panel's controls, the host's print settings
// and the host's PPD: restore, save, the fast save after the detailed
// settings window, routing one value, custom entries, and the panel's
// buttons that move values.
#include <algorithm>
#include <exception>

#include "Common/Util/AlertUtil.h"
#include "Common/TextInput/StringEscapeConverter.h"
#include "engine/dialogs/DetailedSettingsWinController.h"
#include "PDE/KemoPDEByCocoa.h"
#include "engine/controls/PanelOwnOptions.h"
#include "engine/controls/QuillUI.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/dialogs/JobNameWinController.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/ppd/PpdFile.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Text.h"
#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"
#include "platform/printing/PrintingCalls.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

void logException(const char* operation, const std::exception& e) {
    kz::Log::format("### ## exception caught in %s %s: %s", operation, exceptionName(e).c_str(),
                    exceptionMessage(e).c_str());
}

const StringEscapeConverter& customEntryConverter() {
    static const StringEscapeConverter converter = [] {
        StringEscapeConverter c;
        c.replace("%", "%x25");
        c.replace("'", "%x27");
        c.replace(",", "%x2C");
        return c;
    }();
    return converter;
}

// Password options travel only to the printing system, never into a log line.
std::string loggable(const std::string& mainKeyword, const std::string& value) {
    return mainKeyword.find("Password") == std::string::npos ? value : std::string("********");
}

std::optional<std::string> textOf(const kz::Dictionary& option, std::string_view key) {
    const kz::Value* v = option.find(key);
    if (!v || v->isNull()) return std::nullopt;
    return KemoPDEByCocoa::_stringFromBooleanIfNeed(*v).stringValue();
}

const char* duplexName(int mode) {
    switch (mode) {
        case kz::PrintSettings::kDuplexNone: return "None";
        case kz::PrintSettings::kDuplexNoTumble: return "DuplexNoTumble";
        case kz::PrintSettings::kDuplexTumble: return "DuplexTumble";
        default: return nullptr;
    }
}

}  // namespace

// ------------------------------------------------------------ host objects

kz::PrintSettings* KemoPDEByCocoa::_printSettings() const {
    return _useConstraintHandling && _pdePluginCallbackObject ? _pdePluginCallbackObject->printSettings() : nullptr;
}

ppd_file_t* KemoPDEByCocoa::_hostPpdFile() const {
    return _useConstraintHandling && _pdePluginCallbackObject ? _pdePluginCallbackObject->ppdFile() : nullptr;
}

PpdFile* KemoPDEByCocoa::_PPD() {
    if (!_ppdFile) {
        if (ppd_file_t* handle = _hostPpdFile())
            _ppdFile = PpdFileExt::initWithPpdFile(handle);
        else
            kz::Log::line("### ## ppd_file_t is nil");
    }
    return _ppdFile.get();
}

// ------------------------------------------------------------------ tickets

std::string KemoPDEByCocoa::escapeCustomEntry(std::string_view text) { return customEntryConverter().escape(text); }

std::string KemoPDEByCocoa::unescapeCustomEntry(std::string_view text) {
    return customEntryConverter().unEscape(text);
}

kz::OSStatus KemoPDEByCocoa::_ticketGetSInt32(const std::string& key, std::int32_t* value) {
    kz::PrintSettings* settings = _printSettings();
    if (!settings || !value) return kz::kParamErr;
    kz::Value found;
    kz::OSStatus status = kz::PMPrintSettingsGetValue(settings, key, &found);
    if (status != kz::kNoErr) return status;
    if (!found.isInteger() && !found.isReal()) return kz::kParamErr;
    *value = static_cast<std::int32_t>(found.intValue());
    return kz::kNoErr;
}

kz::OSStatus KemoPDEByCocoa::_ticketGetString(const std::string& key, std::string* value) {
    kz::PrintSettings* settings = _printSettings();
    if (!settings || !value) return kz::kParamErr;
    kz::Value found;
    kz::OSStatus status = kz::PMPrintSettingsGetValue(settings, key, &found);
    if (status != kz::kNoErr) return status;
    if (!found.isString()) return kz::kParamErr;
    *value = found.string();
    return kz::kNoErr;
}

kz::OSStatus KemoPDEByCocoa::_ticketSetString(const std::string& key, const std::optional<std::string>& value) {
    kz::PrintSettings* settings = _printSettings();
    if (!settings) return kz::kParamErr;
    return kz::PMPrintSettingsSetValue(settings, key, value ? kz::Value(*value) : kz::Value());
}

kz::OSStatus KemoPDEByCocoa::_customTicketGetString(const std::string& mainKeyword, std::optional<std::string>* value) {
    std::string stored;
    kz::OSStatus status = _ticketGetString(kCustomEntryPrefix + mainKeyword, &stored);
    if (status == kz::kNoErr) {
        if (value) *value = unescapeCustomEntry(stored);
    } else if (status != kz::kPMKeyNotFound) {
        kz::Log::format("### ## err=%ld fail to get custom-ticket for %s.", static_cast<long>(status),
                        mainKeyword.c_str());
    }
    return status;
}

kz::OSStatus KemoPDEByCocoa::_customTicketSetString(const std::string& mainKeyword,
                                                    const std::optional<std::string>& value) {
    std::optional<std::string> stored;
    if (value) stored = escapeCustomEntry(*value);
    kz::OSStatus status = _ticketSetString(kCustomEntryPrefix + mainKeyword, stored);
    if (status != kz::kNoErr)
        kz::Log::format("### ## err=%d fail to set custom-ticket (%s=%s).", static_cast<int>(status),
                        mainKeyword.c_str(), loggable(mainKeyword, value.value_or("")).c_str());
    return status;
}

void KemoPDEByCocoa::removedObjectByGatheringPrintOption(const std::string& mainKeyword) {
    _customTicketSetString(mainKeyword, std::nullopt);
}

kz::Value KemoPDEByCocoa::_stringFromBooleanIfNeed(const kz::Value& value) {
    return value.isBoolean() ? kz::Value(value.boolValue() ? "True" : "False") : value;
}

// ------------------------------------------------------------------ routing

void KemoPDEByCocoa::_willChangePPDOptionKeyValue(const std::string& mainKeyword, const std::string& choice,
                                                  kz::Dictionary* ppdDictionary) {
    if (ppdDictionary) {
        ppdDictionary->set(mainKeyword, choice);
    } else if (auto* host = dynamic_cast<kz::PDEPPDChangeCapability*>(_pdePluginCallbackObject.get())) {
        host->willChangePPDOptionKeyValue(mainKeyword, choice);
    }
}

void KemoPDEByCocoa::_setValueToPpdDictionary(kz::Dictionary* ppdDictionary, const std::string& mainKeyword,
                                              const std::optional<std::string>& optionKeyword) {
    PanePlugInMgr& manager = _panePlugInMgr();
    if (optionKeyword && manager.isExistsInPpd(mainKeyword, optionKeyword)) {
        _willChangePPDOptionKeyValue(mainKeyword, *optionKeyword, ppdDictionary);
        if (_customTicketGetString(mainKeyword, nullptr) == kz::kNoErr) removedObjectByGatheringPrintOption(mainKeyword);
        return;
    }
    if (mainKeyword.empty()) return;
    _customTicketSetString(mainKeyword, optionKeyword);
    // The real value travels in the custom entry; the PPD option stays at
    // its default so that the PPD does not claim another choice.
    if (manager.isExistsInPpd(mainKeyword, std::nullopt)) {
        if (auto fallback = textOf(_defaultPrintOption, mainKeyword))
            _willChangePPDOptionKeyValue(mainKeyword, *fallback, ppdDictionary);
    } else if (ppdDictionary) {
        ppdDictionary->remove(mainKeyword);
    }
}

// ------------------------------------------------------------------ restore

void KemoPDEByCocoa::_setDefaults() {
    kz::Dictionary defaults = _panePlugInMgr().defaultSettings();
    // The manager's defaults are taken before the panel's own controls are
    // registered; without their descriptions' defaults those options would
    // never be read back from the print settings or the PPD.
    PanelOwnOptions::addDefaults(defaults, controlDescriptions());
    _trayWindows->addPaperTrayDefaults(defaults);
    _defaultPrintOption = defaults;
    _printOption = std::move(defaults);
}

void KemoPDEByCocoa::_updatePaneFromModel() {
    _restoreValuesToPane(_printOption);
    _jobNameEditor->updateJobNameUI();
}

kz::OSStatus KemoPDEByCocoa::_restorePrintOptionToUi(kz::Dictionary* /*ppdDictionary*/) {
    try {
        PrintOptionConverter::convertToCanonicalPpdKeyword(_printOption, true);
        PpdFile* hostPpd = _PPD();
        for (const std::string& key : _printOption.keys()) {
            std::optional<std::string> custom;
            if (_customTicketGetString(key, &custom) == kz::kNoErr && custom) {
                _printOption.set(key, *custom);
            } else if (hostPpd) {
                kz::Value marked = hostPpd->findMarkedChoice(key);
                if (!marked.isNull()) _printOption.set(key, marked);
            }
        }
        PrintOptionConverter::convertToInternalPpdKeyword(_printOption);
        _panePlugInMgr().restorePrintOptionValues(&_printOption);
    } catch (...) {
        // What could be read stays read; the values the panel keeps come next.
    }
    std::optional<std::string> text;
    if (_customTicketGetString("VLSpecificJobName", &text) == kz::kNoErr && text) _specificJobNameValue = *text;
    if (_customTicketGetString("JobName", &text) == kz::kNoErr && text) {
        // The entry holds the name escaped for transport; the label and the
        // dialog show it as typed.
        _escapedJobNameValue = *text;
        _jobNameValue = JobNameWinController::displayedJobName(*text);
    }
    if (_customTicketGetString("FavoriteName", &text) == kz::kNoErr && text && !text->empty())
        _favoritesMenu->selectRestoredFavorite(*text);
    if (_customTicketGetString("ProfilePath", &text) == kz::kNoErr && text) _selectedProfilePath = *text;
    _jobNameEditor->updateJobNameUI();
    _restoreValuesToPane(_printOption);
    _favoritesMenu->checkDifferenceFromCurrentFavorite(true);
    return kz::kNoErr;
}

bool KemoPDEByCocoa::restoreValuesAndReturnError(std::string* error) {
    bool result = true;
    try {
        _setDefaults();
        _restoreValuesToPane(_defaultPrintOption);
        kz::OSStatus status = _restorePrintOptionToUi(nullptr);
        if (status != kz::kNoErr) {
            kz::Log::format("### ## err=%d restoreValuesAndReturnError", static_cast<int>(status));
            if (error) *error = "restoring the print settings failed (" + std::to_string(status) + ")";
            result = false;
        }
    } catch (const std::exception& e) {
        logException("restoreValuesAndReturnError", e);
    } catch (...) {
        kz::Log::line("### ## exception caught in restoreValuesAndReturnError unknown: unknown");
    }
    if (_showDetailedSettingsButton) _showDetailedSettingsButton->setEnabled(true);
    if (_automaticPaperTraySelectionButton) _automaticPaperTraySelectionButton->setEnabled(true);
    return result;
}

// --------------------------------------------------------------------- save

bool KemoPDEByCocoa::_shouldWriteValue(const std::string& key, const std::string& value,
                                       const kz::Dictionary& old) const {
    const kz::Value* before = old.find(key);
    if (!before || before->isNull()) return true;
    if (before->isString()) return !kz::Text::equalsCaseInsensitive(value, before->string());
    if (before->isBoolean()) return !kz::Text::equalsCaseInsensitive(value, before->boolValue() ? "True" : "False");
    return true;
}

kz::OSStatus KemoPDEByCocoa::_gatherPrintOptionFromUi(kz::Dictionary* ppdDictionary,
                                                      const kz::Dictionary* changedSince) {
    _customTicketSetString("VLSpecificJobName", _specificJobNameValue);
    _customTicketSetString("JobName", _escapedJobNameValue);
    if (_Favorite) {
        if (const kz::MenuItem* item = _Favorite->selectedItem()) {
            const kz::Value& favorite = item->representedObject();
            if (favorite.isString() && !favorite.string().empty()) _customTicketSetString("FavoriteName", favorite.string());
        }
    }
    _customTicketSetString("ProfilePath", _selectedProfilePath);

    PanePlugInMgr& manager = _panePlugInMgr();
    manager.setDelegate(this);
    try {
        _detailedSettingsWinController->reformatPrintOption(_printOption);
    } catch (...) {
        manager.setDelegate(nullptr);
        throw;
    }
    manager.setDelegate(nullptr);

    _gatherValuesFromPane(_printOption);
    PrintOptionConverter::convertToCanonicalPpdKeyword(_printOption, true);
    for (const auto& [key, value] : kz::Dictionary(_printOption)) {
        if (value.isNull()) continue;
        std::string text = _stringFromBooleanIfNeed(value).stringValue();
        if (changedSince && !_shouldWriteValue(key, text, *changedSince)) continue;
        _setValueToPpdDictionary(ppdDictionary, key, text);
    }
    PrintOptionConverter::convertToInternalPpdKeyword(_printOption);
    if (ppdDictionary) {
        for (const std::string& key : ppdDictionary->keys())
            if (!_printOption.contains(key)) ppdDictionary->remove(key);
    }

    std::int32_t duplexMode = 0;
    std::string duplex;
    if (_ticketGetSInt32(kz::PrintSettings::kDuplexKey, &duplexMode) == kz::kNoErr)
        if (const char* name = duplexName(duplexMode)) duplex = name;
    std::string mediaType;
    if (PpdFile* hostPpd = _PPD()) {
        kz::Value marked = hostPpd->findMarkedChoice("VLMediaType");
        if (marked.isString()) mediaType = marked.string();
    }
    kz::Dictionary conflict = manager.resloveConflictAlertDuplex(duplex, mediaType, 1);
    return conflict.empty() ? kz::kNoErr : kz::kPMInvalidPrintSettings;
}

bool KemoPDEByCocoa::saveValuesAndReturnError(std::string* error) {
    if (_showDetailedSettingsButton) _showDetailedSettingsButton->setEnabled(false);
    if (_automaticPaperTraySelectionButton) _automaticPaperTraySelectionButton->setEnabled(false);
    bool result = true;
    try {
        kz::OSStatus status = _gatherPrintOptionFromUi(nullptr, nullptr);
        if (status != kz::kNoErr) {
            kz::Log::format("### ## err=%d saveValuesAndReturnError", static_cast<int>(status));
            if (error) *error = "the settings conflict (" + std::to_string(status) + ")";
            result = false;
        }
    } catch (const std::exception& e) {
        logException("saveValuesAndReturnError", e);
    } catch (...) {
        kz::Log::line("### ## exception caught in saveValuesAndReturnError unknown: unknown");
    }
    if (_showDetailedSettingsButton) _showDetailedSettingsButton->setEnabled(true);
    if (_automaticPaperTraySelectionButton) _automaticPaperTraySelectionButton->setEnabled(true);
    return result;
}

bool KemoPDEByCocoa::saveValuesAndReturnError_Fast(std::string* error) {
    try {
        kz::Dictionary none;
        kz::OSStatus status = _gatherPrintOptionFromUi(nullptr, _printOption_old ? &*_printOption_old : &none);
        if (status != kz::kNoErr && error) *error = "the settings conflict (" + std::to_string(status) + ")";
        return status == kz::kNoErr;
    } catch (const std::exception& e) {
        logException("saveValuesAndReturnError", e);
    } catch (...) {
        kz::Log::line("### ## exception caught in saveValuesAndReturnError unknown: unknown");
    }
    return true;
}

// ------------------------------------------------------- the host's questions

std::optional<kz::Dictionary> KemoPDEByCocoa::summaryInfo() {
    try {
        if (!_isIntializedUi) {
            _buildUi();
            _updatePaneFromModel();
            saveValuesAndReturnError(nullptr);
        }
        return _panePlugInMgr().summaryInfoFromPrintOption(_printOption.empty() ? &_defaultPrintOption
                                                                                : &_printOption);
    } catch (const std::exception& e) {
        logException("summaryInfo", e);
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> KemoPDEByCocoa::supportedPPDOptionKeys() {
    if (!_plugInBundle) return std::nullopt;
    const kz::Value& keys = _plugInBundle->objectForInfoDictionaryKey("PMPPDKeysSupported");
    if (!keys.isArray()) return std::nullopt;
    std::vector<std::string> result;
    for (const kz::Value& key : keys.array())
        if (key.isString()) result.push_back(key.string());
    return result;
}

void KemoPDEByCocoa::PPDOptionKeyValueDidChange(const std::optional<std::string>& mainKeyword,
                                                const std::optional<std::string>& choice) {
    try {
        if (!mainKeyword || !choice || !_printOption.contains(*mainKeyword)) return;
        PpdFile* hostPpd = _PPD();
        auto choices = hostPpd ? hostPpd->optionKeywords(*mainKeyword) : std::nullopt;
        if (!choices || std::find(choices->begin(), choices->end(), *choice) == choices->end()) return;
        _printOption.set(*mainKeyword, *choice);
        _updatePaneFromModel();
    } catch (const std::exception& e) {
        logException("PPDOptionKeyValueDidChange", e);
    }
}

// ------------------------------------------------------------------ buttons

void KemoPDEByCocoa::clickedShowDetailedSettingsButton(kz::Control*) {
    configuringNotification(false);
    try {
        PanePlugInMgr& manager = _panePlugInMgr();
        saveValuesAndReturnError(nullptr);
        _printOption_old = _printOption;
        restoreValuesAndReturnError(nullptr);
        _gatherValuesFromPane(_printOption);
        manager.restorePrintOptionValues(&_printOption);
        sendCommand("DeviceLinkFile");
        manager.willShowAllBundle();
        if (_detailedSettingsWinController->showAsModalDialog(_printOption) == 1) {
            _restoreValuesToPane(_printOption);
            if (auto collate = textOf(_printOption, "Collate")) {
                _hostControls->setCollate(*collate == "True");
            } else {
                kz::Log::line("### Collate key is nil");
                _hostControls->setCollate(true);
            }
            _favoritesMenu->checkDifferenceFromCurrentFavorite(false);
            saveValuesAndReturnError_Fast(nullptr);
        } else {
            _restoreValuesToPane(_defaultPrintOption);
            manager.restorePrintOptionValues(&_printOption);
        }
    } catch (const std::exception& e) {
        logException("clickedShowDetailedSettingsButton", e);
    }
    configuringNotification(true);
}

void KemoPDEByCocoa::clickedRevertToDefaultSettings(kz::Control*) {
    try {
        PanePlugInMgr& manager = _panePlugInMgr();
        std::optional<std::vector<std::string>> restored;
        if (auto tray = textOf(_defaultPrintOption, "OutputTray"))
            restored = manager.setStringValueWithRestoreConfliction(*tray, "OutputTray");
        _restoreValuesToPane(_defaultPrintOption);
        setRegistryValue("DuplexMode", std::string("None"));
        _hostControls->setCollate(true);
        _gatherValuesFromPane(_printOption);
        if (restored) {
            for (const std::string& key : *restored) {
                if (auto value = registryValue(key))
                    _printOption.set(key, *value);
                else
                    _printOption.remove(key);
            }
        }
        _favoritesMenu->checkDifferenceFromCurrentFavorite(true);
    } catch (const std::exception& e) {
        logException("clickedRevertToDefaultSettings", e);
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
