#include <array>

#include "Common/Util/BundleUtil.h"
#include "engine/panes/ConsistencyCheck.h"
#include "platform/foundation/Bundle.h"
#include "platform/kit/Alert.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

struct ConsistencyRule {
    const char* switchKey;
    const char* alsoSwitchKey;  // a second key that turns the rule on, or null
    const char* onValue;
    const char* companion;
    const char* message;
};

// In the order the alert lists them.
constexpr std::array<ConsistencyRule, 22> kRules{{
    {"SecurityPrint", nullptr, "True", "SecurityPrintPassword", "Alert_SecurityPrintPassword"},
    {"MailNotifyJobEnd", nullptr, "True", "MailAddress", "Alert_MailAddress"},
    {"VLInputSlot", nullptr, "TrayStock", "StockName", "Alert_StockName"},
    {"PhysicalPageRangeMode", nullptr, "Appoint", "PhysicalPageRange", "Alert_PhysicalPageRange"},
    {"RecordSpec", nullptr, "True", "RecordSpecNumber", "Alert_RecordSpecNumber"},
    {"LogicalPageRangeMode", nullptr, "Appoint", "LogicalPageRange", "Alert_LogicalPageRange"},
    {"BlankPapersFrontTray", nullptr, "TrayStock", "BlankPapersFrontStockName", "Alert_BlankPapersFrontStockName"},
    {"BlankPapersBackTray", nullptr, "TrayStock", "BlankPapersBackStockName", "Alert_BlankPapersBackStockName"},
    {"SeparatorsTray", nullptr, "TrayStock", "SeparatorsStockName", "Alert_SeparatorsStockName"},
    {"ImpositionMode", "ImpositionMode_ImpositionCustomMode", "Template", "ImpositionTemplate",
     "Alert_ImpositionTemplate"},
    {"Imposition1stTray", nullptr, "TrayStock", "Imposition1stStockName", "Alert_Imposition1stStockName"},
    {"ImpositionVariablePrintMode", nullptr, "UseForm", "ImpositionFormName", "Alert_ImpositionFormName"},
    {"ImpositionPaginationMode", nullptr, "Template", "ImpositionPaginationTemplate",
     "Alert_ImpositionPaginationTemplate"},
    {"ImpositionWaterMark", nullptr, "True", "ImpositionWaterMarkName", "Alert_ImpositionWaterMarkName"},
    {"PaginationMode", nullptr, "Template", "PaginationTemplate", "Alert_PaginationTemplate"},
    {"VariablePrintMode", nullptr, "UseForm", "FormName", "Alert_FormName"},
    {"WaterMark", nullptr, "True", "WaterMarkName", "Alert_WaterMarkName"},
    {"OptionMemo", nullptr, "True", "OptionMemoFile", "Alert_OptionMemoFile"},
    {"UserDefineMemo", nullptr, "True", "UserDefineMemoFile", "Alert_UserDefineMemoFile"},
    {"MemoComment", nullptr, "True", "MemoCommentContent", "Alert_MemoCommentContent"},
    {"ImageUserAdjust", nullptr, "True", "ImageUserAdjustName", "Alert_ImageUserAdjustName"},
    {"TextUserAdjust", nullptr, "True", "TextUserAdjustName", "Alert_TextUserAdjustName"},
}};

bool isText(const kz::Dictionary& option, const char* key, std::string_view text) {
    const kz::Value& v = option.get(key);
    return v.isString() && !v.string().empty() && v.string() == text;
}

bool hasText(const kz::Dictionary& option, const char* key) {
    const kz::Value& v = option.get(key);
    return v.isString() && !v.string().empty();
}

}  // namespace

std::vector<std::string> ConsistencyCheck::failures(const kz::Dictionary& printOption) {
    std::vector<std::string> failed;
    for (const ConsistencyRule& rule : kRules) {
        bool on = isText(printOption, rule.switchKey, rule.onValue) ||
                  (rule.alsoSwitchKey && isText(printOption, rule.alsoSwitchKey, rule.onValue));
        // Record numbers matter only while the records are divided.
        if (std::string_view(rule.switchKey) == "RecordSpec")
            on = on && hasText(printOption, "RecordDiv") && printOption.get("RecordDiv").string() != "Off";
        if (on && !hasText(printOption, rule.companion)) failed.emplace_back(rule.message);
    }
    return failed;
}

std::string ConsistencyCheck::localizedAlertText(const std::string& key) {
    if (auto bundle = BSPrincipalBundle()) return bundle->localizedString(key, key, "UI");
    auto text = BSLocalizedString(key);
    return text && !text->empty() ? *text : key;
}

bool ConsistencyCheck::confirm(const kz::Dictionary& printOption) {
    std::vector<std::string> failed = failures(printOption);
    if (failed.empty()) return true;
    std::string informative;
    for (const std::string& key : failed) informative += localizedAlertText(key) + "\r";
    kz::Alert alert;
    alert.setMessageText(localizedAlertText("Alert_ChkMsg"));
    alert.addButtonWithTitle("OK");
    alert.setInformativeText(informative);
    alert.runModal();
    return false;
}

}  // namespace ComTORVALEKZ2R4_Plugin
