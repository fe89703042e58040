#include "Common/WebService/PrintServiceResults.h"

#include <array>
#include <span>

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// Index i holds the text of value i + 1.
constexpr std::array<const char*, 41> kServiceResult = {
    "OK", "InitializeError", "OutOfMemory", "ExceedClientCount", "DuplicateClientUniqueId", "HostNotAllowed",
    "JobNotFound", "JobOperationNotAllowed", "AlreadyRipped", "InvalidJobStatus", "ScheduleOperationError",
    "ScheduleColorManagementError", "ScheduleFontDownloadError", "FileNotFound", "FileLockError", "IniFileError",
    "DiskFull", "UnknownUserName", "UserAlreadyExist", "BadUserName", "BadPassword", "PasswordMismatch",
    "ExceedUserCount", "TooLongUserName", "TooLongPassword", "BadUserComment", "PatliteDefAccess", "UnknownPatlite",
    "PatliteAlreadyExist", "PatliteBadHost", "StopScheduling", "CategoryExisted", "CategorySelected",
    "AppleTalkNeedRebootAfp", "AppleTalkNeedRebootDriver", "CollectLogDuplicated", "JobProcError", "TagAlreadyExist",
    "ExceedTagCount", "RequestDuplicated", "Error"};

constexpr std::array<const char*, 51> kResourceResult = {
    "OK", "Error", "RscSetMaxEntry", "RscMaxEntry", "RscSetNotExist", "RscExist", "RscNotExist", "RscModifyNG",
    "RscUsing", "DiskFull", "IllegalData", "RscLocked", "PatternNotExist", "UnmatchPatch", "UnknError",
    "Unsupperted", "Aborted", "AllocateError", "InifileError", "PressCovNonR", "PressCovNonG", "PressCovNonB",
    "PressCovNonW", "PressCovNonC", "PressCovNonM", "PressCovNonY", "PressCovNonK", "PrinterCovNonW",
    "PrinterCovNonC", "PrinterCovNonM", "PrinterCovNonY", "PrinterCovNonK", "PressNumberDifferent",
    "PrinterNumberDifferent", "IllegalParam", "IllegalProfile", "ReadError", "WriteError", "DataError",
    "IllegalDataFormat", "AdditionalCMYK", "InndevDataError", "OutdevDataError", "RetryError", "RetryErrorDetail",
    "IccMwpError", "FileCannotFeedBack", "MesfileError", "FbdeltaeToomuch", "FbprofFormatError", "IccVersionError"};

constexpr std::array<const char*, 6> kCmsResResult = {
    "OK", "Error", "RscExist", "CalibTrayAssignError", "CalibStockAssignError", "CalibPrtPapsizeTooSmall"};

int fromString(std::span<const char* const> texts, std::string_view text) {
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (text == texts[i]) return static_cast<int>(i) + 1;
    return 0;
}

std::string toString(std::span<const char* const> texts, int value) {
    if (value < 1 || value > static_cast<int>(texts.size())) return {};
    return texts[static_cast<std::size_t>(value - 1)];
}

}  // namespace

int PrintService_ServiceResult_enumFromString(std::string_view text) { return fromString(kServiceResult, text); }
std::string PrintService_ServiceResult_stringFromEnum(int value) { return toString(kServiceResult, value); }
int PrintService_ResourceResult_enumFromString(std::string_view text) { return fromString(kResourceResult, text); }
std::string PrintService_ResourceResult_stringFromEnum(int value) { return toString(kResourceResult, value); }
int PrintService_CmsResResult_enumFromString(std::string_view text) { return fromString(kCmsResResult, text); }
std::string PrintService_CmsResResult_stringFromEnum(int value) { return toString(kCmsResResult, value); }

}  // namespace ComTORVALEKZ2R4_Plugin
