#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The result enumerations of the print service. 0 stands for "no value": an
// unrecognised text reads as 0, and 0 or a number outside the list writes as
// the empty string. Comparison is exact and case-sensitive.
enum PrintService_ServiceResult { PrintService_ServiceResult_none = 0, PrintService_ServiceResult_OK = 1 };
enum PrintService_ResourceResult { PrintService_ResourceResult_none = 0, PrintService_ResourceResult_OK = 1 };
enum PrintService_CmsResResult { PrintService_CmsResResult_none = 0, PrintService_CmsResResult_OK = 1 };

KZ_EXPORT int PrintService_ServiceResult_enumFromString(std::string_view text);
KZ_EXPORT std::string PrintService_ServiceResult_stringFromEnum(int value);
KZ_EXPORT int PrintService_ResourceResult_enumFromString(std::string_view text);
KZ_EXPORT std::string PrintService_ResourceResult_stringFromEnum(int value);
KZ_EXPORT int PrintService_CmsResResult_enumFromString(std::string_view text);
KZ_EXPORT std::string PrintService_CmsResResult_stringFromEnum(int value);

}  // namespace ComTORVALEKZ2R4_Plugin
