#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <libxml/tree.h>

#include "Common/WebService/PrintServiceContainers.h"
#include "Common/WebService/SoapBodyPart.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Which enumeration an operation's status text belongs to.
enum class ResultKind { Service, Resource, CmsRes };

// A reply element: its containers by field name (ary, arry, dict, initDict,
// resInfo, stdFontList, optFontList), its status (0 when absent or not
// recognised) and the job-resource extras.
struct KZ_EXPORT PrintServiceReply : SoapBodyPart {
    std::string elementName;
    std::map<std::string, PropItem> containers;
    int status = 0;
    int result = 0;  // fonts report their status here
    std::optional<bool> bResult;
    std::optional<double> nDetail;

    // The items of a container field, whichever container class it was read
    // as; nullptr when the field is missing or not a container.
    const std::vector<PropItem>* items(const std::string& field) const;
    void read(xmlNodePtr node, ResultKind kind);
};

// Every operation of the service: its name, reply element and status kind.
struct KZ_EXPORT PrintServiceOperationInfo {
    const char* name;
    const char* replyElement;
    ResultKind kind;
    static const PrintServiceOperationInfo* find(std::string_view name);
    static const std::vector<PrintServiceOperationInfo>& all();
};

// The request envelope around an operation element's content: one line, no
// XML declaration, an empty operation element self-closing.
KZ_EXPORT std::string soapEnvelope(std::string_view operation, std::string_view content);

// The first preferred language decides the font list's language.
KZ_EXPORT std::string fontListLanguage(const std::string& firstPreferredLanguage);

// Request objects. The bodies are fixed texts; only GetJobResourceList's
// `type` is read. Each names its operation and builds its envelope.
#define KZ_REQUEST(NAME, FIELDS)                                     \
    struct KZ_EXPORT PrintService_##NAME {                           \
        static constexpr const char* operationName = #NAME;          \
        FIELDS                                                       \
        std::string envelope() const;                                \
    };                                                               \
    struct KZ_EXPORT PrintService_##NAME##Response : PrintServiceReply { \
        static std::shared_ptr<PrintService_##NAME##Response> deserializeNode(xmlNodePtr node); \
    };

KZ_REQUEST(getStackerInfoList, std::uint32_t iotId = 1;)
KZ_REQUEST(getFeederInfoList, std::uint32_t iotId = 1;)
KZ_REQUEST(getJobFolderList, )
KZ_REQUEST(getPrePostDeviceList, std::uint32_t iotId = 1;)
KZ_REQUEST(getCmsSpotGetAllListData, std::shared_ptr<PrintService_PropDict> dict;)
KZ_REQUEST(getSpotColorAllInfoListData, std::shared_ptr<PrintService_PropDict> dict;)
KZ_REQUEST(getColorSubstListData, std::shared_ptr<PrintService_PropDict> dict;)
KZ_REQUEST(GetJobResourceList, int type = 0; std::string select = "SYSTEM_DEFAULT";)
KZ_REQUEST(getCalibFileList, std::shared_ptr<PrintService_PropDict> initDict;)
KZ_REQUEST(getDensityAdjustProfileList, std::uint32_t iotId = 1; std::string resourceSet = "SYSTEM_DEFAULT";)
KZ_REQUEST(getUserTrcProfileList, std::uint32_t iotId = 1; std::string resourceSet = "SYSTEM_DEFAULT";)
KZ_REQUEST(getFontList, std::string lang;)
KZ_REQUEST(getOutputProfileList, std::uint32_t iotId = 1;)
KZ_REQUEST(getRGBInputProfileList, )
KZ_REQUEST(getCMYKInputProfileList, )
KZ_REQUEST(getDeviceLinkFileList, std::shared_ptr<PrintService_PropDict> initDict;)
#undef KZ_REQUEST

// The reply element names that differ from operation name + "Response".
using PrintService_GetJobFolderListResponse = PrintService_getJobFolderListResponse;
using PrintService_getPrePostDeviceResponse = PrintService_getPrePostDeviceListResponse;

}  // namespace ComTORVALEKZ2R4_Plugin
