// Option questions answered from the plug-in's own PPD and the registry:
// aliases, existence, defaults, summaries, restoring the panes, profiles.
#include <cctype>
#include <exception>
#include <stdexcept>

#include "Common/Util/AlertUtil.h"
#include "Common/Util/BundleUtil.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/ppd/PpdFile.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

std::size_t firstDigit(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::isdigit(static_cast<unsigned char>(text[i]))) return i;
    return std::string_view::npos;
}

// The pattern with its first "%d" replaced by the number; the pattern comes
// from a pane, so it is never handed to printf.
std::string formatNumber(const std::string& pattern, int number) {
    auto at = pattern.find("%d");
    if (at == std::string::npos) return pattern;
    return pattern.substr(0, at) + std::to_string(number) + pattern.substr(at + 2);
}

}  // namespace

// ---- the PPD

PpdFile* PanePlugInMgr::ppdInformation() {
    if (_ppdFile) return _ppdFile.get();
    auto name = AppPreference::sharedInstance().ppdFileNameWithAppName(std::nullopt);
    if (!name) return nullptr;
    return _ppdFileWithName(*name);
}

PpdFile* PanePlugInMgr::_ppdFileWithName(const std::string& name) {
    if (_ppdFile) return _ppdFile.get();
    auto bundle = BSPrincipalBundle();
    if (!bundle) return nullptr;
    std::string path = bundle->pathForResource(name, "");
    if (path.empty()) return nullptr;
    _ppdFile = PpdFileExt::initWithContentsOfFile(path);
    return _ppdFile.get();
}

bool PanePlugInMgr::isExistsInPpd(const std::optional<std::string>& mainKeyword,
                                  const std::optional<std::string>& optionKeyword) {
    if (!mainKeyword) return false;
    PpdFile* ppd = ppdInformation();
    if (!ppd) return false;
    return optionKeyword ? ppd->isExists(*mainKeyword, *optionKeyword) : ppd->isExists(*mainKeyword);
}

// ---- defaults

const kz::Dictionary& PanePlugInMgr::defaults() {
    if (!_defaultDictionary) _defaultDictionary = _quillMgr->getAllValueDictionary();
    return *_defaultDictionary;
}

kz::Dictionary PanePlugInMgr::defaultSettings() { return defaults(); }

kz::Value PanePlugInMgr::_defaultOptionKeyword(const std::string& mainKeyword) {
    kz::Value value = defaults().get(mainKeyword);
    if (mainKeyword == "ColorModel" && value.isString() && value.string() == "CMYK" &&
        isExistsInPpd(mainKeyword, std::string("CMYK2")))
        return kz::Value("CMYK2");
    return value;
}

// ---- aliases

void PanePlugInMgr::getAlias(std::optional<std::string>* mainAlias, std::optional<std::string>* optionAlias,
                             const std::optional<std::string>& mainKeyword,
                             const std::optional<std::string>& optionKeyword) {
    if (mainAlias) mainAlias->reset();
    if (optionAlias) optionAlias->reset();
    if (!mainKeyword) return;
    PpdFile* ppd = ppdInformation();
    if (!ppd) return;
    if (mainAlias) *mainAlias = ppd->mainAlias(*mainKeyword);
    if (optionAlias && optionKeyword) *optionAlias = ppd->optionAlias(*mainKeyword, *optionKeyword);
}

std::optional<std::string> PanePlugInMgr::_mainAlias(const std::string& mainKeyword, const kz::Bundle* bundle,
                                                     const PanePlugInInterface* /*paneController*/) {
    std::optional<std::string> alias;
    getAlias(&alias, nullptr, mainKeyword, std::nullopt);
    if (!alias && bundle) alias = bundle->localizedString(mainKeyword, mainKeyword, "UI");
    return alias;
}

std::optional<std::string> PanePlugInMgr::_optionAlias(const std::string& mainKeyword, const std::string& optionKeyword,
                                                       const kz::Bundle* bundle,
                                                       const PanePlugInInterface* paneController,
                                                       const kz::Dictionary* /*printOption*/,
                                                       const ProfileUiInformations* profileUiInfo,
                                                       const kz::Dictionary* profileDictionary) {
    std::optional<std::string> alias;
    getAlias(nullptr, &alias, mainKeyword, optionKeyword);
    if (!alias && bundle) {
        alias = bundle->localizedString(optionKeyword, optionKeyword, "UI");
        if (*alias == optionKeyword)
            if (auto plugIn = BSLocalizedString(optionKeyword); plugIn && !plugIn->empty()) alias = plugIn;
    }
    if (profileUiInfo) {
        bool described = false;
        for (const auto& [keyword, info] : *profileUiInfo) described = described || keyword == mainKeyword;
        if (described)
            if (auto profile = _optionAliasForProfile(mainKeyword, optionKeyword, alias, bundle, paneController,
                                                      profileUiInfo, profileDictionary))
                alias = profile;
    }
    return alias;
}

std::optional<std::string> PanePlugInMgr::_optionAliasForProfile(
    const std::optional<std::string>& mainKeyword, const std::optional<std::string>& optionKeyword,
    const std::optional<std::string>& optionAlias, const kz::Bundle* bundle,
    const PanePlugInInterface* /*paneController*/, const ProfileUiInformations* profileUiInfo,
    const kz::Dictionary* profileDictionary) {
    if (!mainKeyword || !optionKeyword) return std::nullopt;
    const std::string& key = *mainKeyword;
    const std::string& option = *optionKeyword;
    std::string titlePrefix, keywordPrefix;
    PpdFile* ppd = ppdInformation();
    auto choices = ppd ? ppd->optionKeywords(key) : std::nullopt;
    auto texts = ppd ? ppd->optionAliases(key) : std::nullopt;
    if (choices && texts && !choices->empty() && !texts->empty()) {
        const std::string& last = choices->back();
        std::size_t digit = firstDigit(last);
        if (digit != std::string::npos) {
            keywordPrefix = last.substr(0, digit);
            std::string digits = last.substr(digit);
            const std::string& lastText = texts->back();
            if (std::string_view(lastText).ends_with(digits))
                titlePrefix = lastText.substr(0, lastText.size() - digits.size());
        }
    } else if (!choices || choices->empty()) {
        std::size_t digit = firstDigit(option);
        if (digit != std::string::npos) {
            keywordPrefix = option.substr(0, digit);
            titlePrefix = bundle ? bundle->localizedString(keywordPrefix, keywordPrefix, "UI") : keywordPrefix;
        }
    }
    if (key != "VLFormNo" && (!option.starts_with(keywordPrefix) || !optionAlias)) return std::nullopt;
    if (!optionAlias) return std::nullopt;
    std::size_t digit = firstDigit(*optionAlias);
    if (digit == std::string::npos) return std::nullopt;
    std::string number = optionAlias->substr(digit);
    if (!profileDictionary) return titlePrefix + number;
    if (!profileUiInfo) return std::nullopt;
    for (const auto& [keyword, info] : *profileUiInfo) {
        if (keyword != key) continue;
        if (!info.fmtProfileLeftValue) return std::nullopt;
        std::string valueKey = formatNumber(*info.fmtProfileLeftValue, kz::Value(number).intValue());
        const kz::Value* value = profileDictionary->find(valueKey);
        if (!value) return std::nullopt;
        return number + "-" + value->stringValue();
    }
    return std::nullopt;
}

std::optional<std::string> PanePlugInMgr::_stringFromObject(const kz::Value& value) {
    if (value.isNull()) return std::nullopt;
    if (value.isString()) return value.string();
    return std::string(value.boolValue() ? "True" : "False");
}

// ---- print options

std::optional<kz::Dictionary> PanePlugInMgr::summaryInfoFromPrintOption(const kz::Dictionary* printOption) {
    if (!printOption) return std::nullopt;
    kz::Dictionary summary;
    for (const auto& [key, value] : *printOption) {
        auto text = _stringFromObject(value);
        if (!text) continue;
        std::optional<std::string> mainAlias, optionAlias;
        getAlias(&mainAlias, &optionAlias, key, *text);
        if (mainAlias && optionAlias) {
            // The last key of one main alias wins, in that key's place.
            summary.remove(*mainAlias);
            summary.set(*mainAlias, *optionAlias);
        }
    }
    return summary;
}

bool PanePlugInMgr::restorePrintOptionValues(const kz::Dictionary* printOption) {
    if (_loader.table().empty() || !printOption) return true;
    try {
        _quillMgr->setSettings(*printOption);
        PlugInTable table = _loader.table();
        for (auto& [key, entry] : table) {
            PanePlugInInterface* pane = entry.paneConroller.get();
            if (key == "Page") {
                if (auto* tray = dynamic_cast<PaneAutomaticPaperTraySelection*>(pane))
                    tray->writeAutomaticPapaerTraySelection();
            } else if (key == "Layout") {
                if (auto* layout = dynamic_cast<PaneWillShow*>(pane)) layout->willShow();
            }
            safeInvokePanelViewFor(*pane);
        }
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in restorePrintOptionValues %s: %s", exceptionName(e).c_str(),
                        e.what());
        ExceptionAlert(&e);
    }
    return true;
}

std::optional<kz::Dictionary> PanePlugInMgr::gatherPrintOptionValues(const kz::Dictionary* /*printOption*/,
                                                                     const std::string& /*fileType*/,
                                                                     bool useServerSetting, bool /*same*/,
                                                                     bool /*unified*/) {
    if (useServerSetting || !_quillMgr) return std::nullopt;
    return _quillMgr->getAllValueDictionary();
}

bool PanePlugInMgr::_isEnable(const kz::Dictionary*, const std::string&, bool useServerSetting, bool, bool) const {
    return !useServerSetting;
}

void PanePlugInMgr::updateEnabledStates(const std::string& fileType, bool unifiedFileType, bool useServerSetting,
                                        bool sameSettingForNext) {
    if (_loader.table().empty()) throw std::logic_error("## plug-in table is nil");
    for (const auto& [key, entry] : _loader.table())
        updateEnabledStatesByBundleName(key, fileType, unifiedFileType, useServerSetting, sameSettingForNext);
}

// ---- profiles

void PanePlugInMgr::_setProfilePath(const std::string& path) {
    _currentProfilePath = path;
    updateProfilesOfAllBundles(path);
}

void PanePlugInMgr::updateProfilesOfAllBundles(const std::string& path) {
    if (_loader.table().empty()) throw std::logic_error("## plug-in table is nil");
    std::vector<std::string> keys;
    for (const auto& [key, entry] : _loader.table()) keys.push_back(key);
    for (const std::string& key : keys) updateProfileByBundleName(key, path);
}

void PanePlugInMgr::updateProfileByBundleName(std::string_view key, const std::string& profilePath) {
    const PlugInTableEntry* entry = entryOfBundleName(key);
    if (!entry) return;
    if (_currentProfilePath != profilePath) _currentProfilePath = profilePath;
    if (auto* profiles = dynamic_cast<PaneProfileUi*>(entry->paneConroller.get())) profiles->profileUiInformations();
}

std::optional<kz::Dictionary> PanePlugInMgr::dictionaryOfCurrentProfile() const {
    if (!_currentProfilePath) return std::nullopt;
    return AppPreference::profileDictionaryWithContentsOfFile(*_currentProfilePath);
}

}  // namespace ComTORVALEKZ2R4_Plugin
