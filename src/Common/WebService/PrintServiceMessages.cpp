#include "Common/WebService/PrintServiceMessages.h"


#include "Common/WebService/PrintServiceResults.h"
#include "Common/WebService/SoapXml.h"
#include "Common/WebService/USGlobals.h"
#include "platform/foundation/PreferredLanguages.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

std::string element(std::string_view name, std::string_view text) {
    return "<" + std::string(name) + ">" + std::string(text) + "</" + std::string(name) + ">";
}

std::string keyValue(std::string_view key, std::string_view type, std::string_view value) {
    std::string val = value.empty() ? "<val xsi:type=\"" + std::string(type) + "\"/>"
                                    : "<val xsi:type=\"" + std::string(type) + "\">" + std::string(value) + "</val>";
    return "<item key=\"" + std::string(key) + "\">" + val + "</item>";
}

std::string dictElement(std::string_view name, std::string_view items) {
    return "<" + std::string(name) + " d=\"0\">" + std::string(items) + "</" + std::string(name) + ">";
}

const char* const kContainerFields[] = {"ary", "arry", "dict", "initDict", "resInfo", "stdFontList", "optFontList"};

bool isContainerField(const char* name) {
    for (const char* f : kContainerFields)
        if (std::string_view(name) == f) return true;
    return false;
}

const char* declaredClass(std::string_view field) {
    return field == "dict" || field == "initDict" ? "PrintService_PropDict" : "PrintService_PropArray";
}

int enumValue(ResultKind kind, const std::string& text) {
    switch (kind) {
        case ResultKind::Resource: return PrintService_ResourceResult_enumFromString(text);
        case ResultKind::CmsRes: return PrintService_CmsResResult_enumFromString(text);
        case ResultKind::Service: break;
    }
    return PrintService_ServiceResult_enumFromString(text);
}

std::string firstLanguage() {
    const auto languages = kz::preferredLanguages();
    return languages.empty() ? std::string() : languages.front();
}

template <class Reply>
std::shared_ptr<Reply> readReply(xmlNodePtr node, const char* operation) {
    auto reply = std::make_shared<Reply>();
    reply->read(node, PrintServiceOperationInfo::find(operation)->kind);
    return reply;
}

}  // namespace

std::string soapEnvelope(std::string_view operation, std::string_view content) {
    std::string op(operation);
    std::string body = content.empty() ? "<" + op + " xmlns=\"" + SoapNamespace::kService + "\"/>"
                                       : "<" + op + " xmlns=\"" + SoapNamespace::kService + "\">" + std::string(content) +
                                             "</" + op + ">";
    return std::string("<s:Envelope xmlns:s=\"") + SoapNamespace::kEnvelope11 + "\"><s:Body xmlns:xsi=\"" +
           SoapNamespace::kSchemaInstance + "\" xmlns:xsd=\"" + SoapNamespace::kSchema + "\">" + body +
           "</s:Body></s:Envelope>";
}

std::string fontListLanguage(const std::string& firstPreferredLanguage) {
    return firstPreferredLanguage.find("ja") != std::string::npos ? "ja-HJP" : "en-US";
}

const std::vector<PrintServiceOperationInfo>& PrintServiceOperationInfo::all() {
    static const std::vector<PrintServiceOperationInfo> operations = {
#define KZ_PRINT_SERVICE_OPERATION(NAME, REPLY, KIND) {#NAME, #REPLY, ResultKind::KIND},
#include "Common/WebService/PrintServiceOperationList.h"
#undef KZ_PRINT_SERVICE_OPERATION
    };
    return operations;
}

const PrintServiceOperationInfo* PrintServiceOperationInfo::find(std::string_view name) {
    for (const auto& op : all())
        if (name == op.name) return &op;
    return nullptr;
}

const std::vector<PropItem>* PrintServiceReply::items(const std::string& field) const {
    auto it = containers.find(field);
    if (it == containers.end()) return nullptr;
    if (auto* d = std::get_if<std::shared_ptr<PrintService_PropDict>>(&it->second)) return &(*d)->item;
    if (auto* a = std::get_if<std::shared_ptr<PrintService_PropArray>>(&it->second)) return &(*a)->item;
    return nullptr;
}

void PrintServiceReply::read(xmlNodePtr node, ResultKind kind) {
    elementName = reinterpret_cast<const char*>(node->name);
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;
        const char* name = reinterpret_cast<const char*>(child->name);
        if (isContainerField(name)) {
            if (auto value = deserializeTyped(child, declaredClass(name))) containers.insert_or_assign(name, *value);
        } else if (std::string_view(name) == "status") {
            status = enumValue(kind, SoapXml::text(child).value_or(""));
        } else if (std::string_view(name) == "result") {
            result = PrintService_ServiceResult_enumFromString(SoapXml::text(child).value_or(""));
        } else if (std::string_view(name) == "bResult") {
            bResult = SoapXml::boolean(child);
        } else if (std::string_view(name) == "nDetail") {
            nDetail = SoapXml::number(child);
        }
    }
}

#define KZ_REPLY(NAME)                                                                                          \
    std::shared_ptr<PrintService_##NAME##Response> PrintService_##NAME##Response::deserializeNode(xmlNodePtr n) { \
        return readReply<PrintService_##NAME##Response>(n, #NAME);                                              \
    }
#define KZ_PRINT_SERVICE_OPERATION(NAME, REPLY, KIND) KZ_REPLY(NAME)
#include "Common/WebService/PrintServiceOperationList.h"
#undef KZ_PRINT_SERVICE_OPERATION
#undef KZ_REPLY

std::string PrintService_getStackerInfoList::envelope() const {
    return soapEnvelope(operationName, element("iotId", "1"));
}
std::string PrintService_getFeederInfoList::envelope() const {
    return soapEnvelope(operationName, element("iotId", "1"));
}
std::string PrintService_getJobFolderList::envelope() const { return soapEnvelope(operationName, ""); }
std::string PrintService_getPrePostDeviceList::envelope() const {
    return soapEnvelope(operationName, element("iotId", "1"));
}
std::string PrintService_getCmsSpotGetAllListData::envelope() const {
    return soapEnvelope(operationName,
                        dictElement("dict", keyValue("Print", "xsd:string", "1") + keyValue("ColorMode", "xsd:int", "0") +
                                                keyValue("ProfileType", "xsd:string", "") +
                                                keyValue("ProfileName", "xsd:string", "") +
                                                keyValue("Intent", "xsd:int", "2") +
                                                keyValue("iotId", "xsd:unsignedInt", "1") +
                                                keyValue("IsWithouDelete", "xsd:boolean", "true")));
}
std::string PrintService_getSpotColorAllInfoListData::envelope() const {
    return soapEnvelope(operationName, dictElement("dict", keyValue("iotId", "xsd:unsignedInt", "1")));
}
std::string PrintService_getColorSubstListData::envelope() const {
    return soapEnvelope(operationName, dictElement("dict", keyValue("IotId", "xsd:int", "1")));
}
std::string PrintService_GetJobResourceList::envelope() const {
    return soapEnvelope(operationName, element("type", std::to_string(type)) + element("select", "SYSTEM_DEFAULT"));
}
std::string PrintService_getCalibFileList::envelope() const {
    return soapEnvelope(operationName, dictElement("initDict", keyValue("IotId", "xsd:unsignedInt", "1")));
}
std::string PrintService_getDensityAdjustProfileList::envelope() const {
    return soapEnvelope(operationName, element("iotId", "1") + element("resourceSet", "SYSTEM_DEFAULT"));
}
std::string PrintService_getUserTrcProfileList::envelope() const {
    return soapEnvelope(operationName, element("iotId", "1") + element("resourceSet", "SYSTEM_DEFAULT"));
}
std::string PrintService_getFontList::envelope() const {
    return soapEnvelope(operationName, element("lang", fontListLanguage(firstLanguage())));
}
std::string PrintService_getOutputProfileList::envelope() const {
    return soapEnvelope(operationName, element("iotId", "1"));
}
std::string PrintService_getRGBInputProfileList::envelope() const { return soapEnvelope(operationName, ""); }
std::string PrintService_getCMYKInputProfileList::envelope() const { return soapEnvelope(operationName, ""); }
std::string PrintService_getDeviceLinkFileList::envelope() const {
    return soapEnvelope(operationName, dictElement("initDict", keyValue("IotId", "xsd:int", "1")));
}

}  // namespace ComTORVALEKZ2R4_Plugin
