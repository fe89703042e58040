#include "Common/WebService/WebServiceClient.h"

#include <algorithm>
#include <mutex>

#include "Common/WebService/PrintServiceSoap.h"
#include "Common/WebService/SOAPFault.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Application.h"
#include "platform/printing/PrintServerURI.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr int kOK = 1;

std::mutex settingsLock;
std::string& hostName() {
    static std::string name;
    return name;
}
// The host application's main bundle translates unless a localizer was set.
std::string mainBundleText(const std::string& key) {
    const auto& bundle = kz::Application::shared().mainBundle();
    return bundle ? bundle->localizedString(key, key) : key;
}
std::function<std::string(const std::string&)>& localizer() {
    static std::function<std::string(const std::string&)> f = mainBundleText;
    return f;
}

using KeyValue = std::shared_ptr<PrintService_PropKeyValue>;

// The key/value pairs among a container entry's items.
std::vector<KeyValue> pairsOf(const PropItem& entry) {
    const std::vector<PropItem>* items = nullptr;
    if (auto* d = std::get_if<std::shared_ptr<PrintService_PropDict>>(&entry)) items = &(*d)->item;
    if (auto* a = std::get_if<std::shared_ptr<PrintService_PropArray>>(&entry)) items = &(*a)->item;
    std::vector<KeyValue> pairs;
    if (!items) return pairs;
    for (const auto& i : *items)
        if (auto* kv = std::get_if<KeyValue>(&i); kv && *kv) pairs.push_back(*kv);
    return pairs;
}

const std::string* stringValue(const KeyValue& kv) { return kv->val ? itemString(*kv->val) : nullptr; }

template <class Reply>
std::vector<const Reply*> repliesOf(const PrintServiceSoapResponse& response) {
    std::vector<const Reply*> replies;
    for (const auto& part : response.bodyParts)
        if (auto* r = dynamic_cast<const Reply*>(part.get())) replies.push_back(r);
    return replies;
}

// One row per entry: the values of the wanted keys in the server's order.
void tableRows(const std::vector<PropItem>* entries, const std::vector<std::string>& keys, WebServiceClient::Rows& rows) {
    if (!entries) return;
    for (const auto& entry : *entries) {
        WebServiceClient::Row row;
        for (const auto& kv : pairsOf(entry)) {
            if (!kv->key) continue;
            bool wanted = false;
            for (const auto& k : keys) wanted = wanted || *kv->key == k;
            if (!wanted) continue;
            const std::string* s = stringValue(kv);
            row.push_back(s ? *s : std::string());
        }
        rows.push_back(std::move(row));
    }
}

template <class Reply>
WebServiceClient::Rows keyRows(const PrintServiceSoapResponse& response, const char* wantedKey, bool logErrors) {
    WebServiceClient::Rows rows;
    rows.reserve(32);
    for (const Reply* reply : repliesOf<Reply>(response)) {
        if (reply->status != kOK) {
            if (logErrors) kz::Log::format("### PrintService error: %d", reply->status);
            break;
        }
        if (const auto* entries = reply->items("ary"))
            for (const auto& entry : *entries)
                for (const auto& kv : pairsOf(entry)) {
                    const std::string* value = stringValue(kv);
                    if (kv->key && value && *kv->key == wantedKey) rows.push_back({*value, *kv->key});
                }
    }
    return rows;
}

template <class Reply>
WebServiceClient::Rows resourceRows(const PrintServiceSoapResponse& response, const char* field,
                                    const std::vector<std::string>& keys, bool logErrors) {
    WebServiceClient::Rows rows;
    for (const Reply* reply : repliesOf<Reply>(response)) {
        if (reply->status != kOK) {
            if (logErrors) kz::Log::format("### PrintService error: %d", reply->status);
            break;
        }
        tableRows(reply->items(field), keys, rows);
    }
    return rows;
}

// A text from the server made fit for one line of a report: control
// characters become spaces, and a long text is cut.
std::string oneLine(std::string_view text) {
    constexpr std::size_t kMaxChars = 200;
    std::size_t end = std::min(text.size(), kMaxChars);
    // Cut between characters, not inside one's UTF-8 bytes.
    while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    std::string line;
    for (char c : text.substr(0, end)) line += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? ' ' : c;
    if (end < text.size()) line += "...";
    return line;
}

using Failure = std::pair<std::string, std::string>;  // the log's words, the short reason

// One line saying why a call brought no list; the list itself stays empty.
// The line's words without its prefix, and the short reason, are handed back.
std::optional<Failure> logFailure(const char* call, const PrintServiceSoapResponse& response) {
    std::string why, reason;
    if (const auto& e = response.error) {
        switch (e->kind) {
            case SoapError::Kind::TimedOut:
                why = kz::strprintf("PrintService %s: timed out (%s)", call, e->description.c_str());
                reason = "timed out";
                break;
            case SoapError::Kind::Refused:
                why = kz::strprintf("PrintService %s: connection refused (%s)", call, e->description.c_str());
                reason = "refused";
                break;
            case SoapError::Kind::Authentication:
                why = kz::strprintf("PrintService %s: authentication failed", call);
                reason = "authentication failed";
                break;
            case SoapError::Kind::BadReply:
                if (e->domain == "HTTP") {
                    why = kz::strprintf("PrintService %s: the server answered %s", call, e->description.c_str());
                    reason = "not SOAP (" + e->description + ")";
                } else {
                    why = e->code == 2 ? kz::strprintf("PrintService %s: the reply is not a SOAP envelope", call)
                                       : kz::strprintf("PrintService %s: the reply is not XML", call);
                    reason = "not SOAP";
                }
                break;
            case SoapError::Kind::TooLarge:
                why = kz::strprintf("PrintService %s: the reply is too large (%s)", call, e->description.c_str());
                reason = "too large";
                break;
            case SoapError::Kind::CutOff:
                why = kz::strprintf("PrintService %s: the reply was cut off (%s)", call, e->description.c_str());
                reason = "cut off";
                break;
            case SoapError::Kind::Transport:
                why = kz::strprintf("PrintService %s: transfer failed (%s)", call, e->description.c_str());
                reason = oneLine(e->description);
                break;
        }
    } else {
        for (const auto& part : response.bodyParts)
            if (auto* fault = dynamic_cast<const SOAPFault*>(part.get())) {
                why = kz::strprintf("PrintService %s: fault %s: %s", call, fault->faultcode.c_str(),
                                    fault->simpleFaultString().c_str());
                reason = "fault: " + oneLine(fault->simpleFaultString());
                break;
            }
    }
    if (why.empty()) return std::nullopt;
    kz::Log::line("### " + why);
    return Failure{why, reason};
}

// Whether the replies of the call answered it: none at all, or one whose
// status is not OK, is a list that did not come whole.
template <class Reply, class Usable>
std::optional<Failure> replyProblem(const char* call, const PrintServiceSoapResponse& response, Usable usable) {
    const std::vector<const Reply*> replies = repliesOf<Reply>(response);
    if (replies.empty())
        return Failure{kz::strprintf("PrintService %s: no answer in the reply", call), "no answer in the reply"};
    for (const Reply* reply : replies)
        if (!usable(*reply))
            return Failure{kz::strprintf("PrintService %s: the server answered with an error status", call),
                           "error status"};
    return std::nullopt;
}

std::shared_ptr<PrintService_PropDict> iotIdDict() {
    auto dict = std::make_shared<PrintService_PropDict>();
    dict->d = 0;
    auto kv = std::make_shared<PrintService_PropKeyValue>();
    kv->key = "IotId";
    kv->val = PropItem(std::string("1"));
    dict->addItem(kv);
    return dict;
}

}  // namespace

void WebServiceClient::setHostApplicationName(std::string name) {
    std::lock_guard lock(settingsLock);
    hostName() = std::move(name);
}

std::string WebServiceClient::hostApplicationName() {
    {
        std::lock_guard lock(settingsLock);
        if (!hostName().empty()) return hostName();
    }
    const auto& bundle = kz::Application::shared().mainBundle();
    if (!bundle) return {};
    const kz::Value& name = bundle->objectForInfoDictionaryKey("CFBundleName");
    return name.isString() ? name.string() : std::string();
}

void WebServiceClient::setLocalizer(std::function<std::string(const std::string&)> f) {
    std::lock_guard lock(settingsLock);
    localizer() = f ? std::move(f) : mainBundleText;
}

bool WebServiceClient::isCommunicationPossible() const {
    const std::string name = hostApplicationName();
    return name.find("Adobe Reader") == std::string::npos && name.find("Acrobat") == std::string::npos;
}

std::optional<std::string> WebServiceClient::hostNameOfDeviceURI(const std::string& deviceURI) {
    std::optional<kz::PrintServerURI> server = kz::PrintServerURI::parse(deviceURI);
    if (!server) return std::nullopt;
    return server->host();
}

std::string WebServiceClient::convertUrlAddress(const std::string& address) {
    if (address.find(':') == std::string::npos) return address;
    std::string host = address.find('[') == std::string::npos ? "[" + address + "]" : address;
    std::string escaped;
    for (char c : host) escaped += c == '%' ? std::string("%25") : std::string(1, c);
    return escaped;
}

std::string WebServiceClient::endpoint(const std::string& address) const {
    return "http://" + convertUrlAddress(address) + ":" + std::to_string(_port);
}

#define KZ_FRAME(CALL, REQUEST)                                            \
    _lastFailure.reset();                                                  \
    _lastReason.reset();                                                   \
    if (!address || !isCommunicationPossible()) return std::nullopt;       \
    auto binding = PrintService::PrintServiceSoap(endpoint(*address));     \
    binding->logXMLInOut = true;                                           \
    if (_timeout) binding->defaultTimeout = *_timeout;                     \
    if (_maxReplyBytes) binding->maxReplyBytes = *_maxReplyBytes;          \
    PrintServiceSoapResponse response = binding->CALL##UsingParameters(REQUEST); \
    noteFailure(logFailure(#CALL, response));

// Replies whose status is the service's OK.
#define KZ_STATUS_OK(CALL, REPLY) \
    noteFailure(replyProblem<REPLY>(#CALL, response, [](const REPLY& r) { return r.status == kOK; }));

std::optional<WebServiceClient::Rows> WebServiceClient::getStackerInfoList(const std::optional<std::string>& address) const {
    KZ_FRAME(getStackerInfoList, PrintService_getStackerInfoList{})
    KZ_STATUS_OK(getStackerInfoList, PrintService_getStackerInfoListResponse)
    return keyRows<PrintService_getStackerInfoListResponse>(response, "Type", true);
}

std::optional<WebServiceClient::Rows> WebServiceClient::getFeederInfoList(const std::optional<std::string>& address) const {
    KZ_FRAME(getFeederInfoList, PrintService_getFeederInfoList{})
    KZ_STATUS_OK(getFeederInfoList, PrintService_getFeederInfoListResponse)
    return keyRows<PrintService_getFeederInfoListResponse>(response, "Number", false);
}

std::optional<WebServiceClient::Rows> WebServiceClient::getDeviceList(const std::optional<std::string>& address) const {
    KZ_FRAME(getPrePostDeviceList, PrintService_getPrePostDeviceList{})
    Rows rows;
    rows.reserve(32);
    for (const auto* reply : repliesOf<PrintService_getPrePostDeviceResponse>(response)) {
        if (reply->status != kOK) {
            kz::Log::format("### PrintService error: %d", reply->status);
            break;
        }
        if (const auto* items = reply->items("dict"))
            for (const auto& item : *items)
                if (auto* kv = std::get_if<KeyValue>(&item); kv && *kv && (*kv)->key)
                    if (const std::string* value = stringValue(*kv)) rows.push_back({*value, *(*kv)->key});
    }
    KZ_STATUS_OK(getPrePostDeviceList, PrintService_getPrePostDeviceResponse)
    return rows;
}

std::optional<WebServiceClient::Rows> WebServiceClient::getJobFolderList(const std::optional<std::string>& address) const {
    KZ_FRAME(getJobFolderList, PrintService_getJobFolderList{})
    Rows rows;
    std::function<std::string(const std::string&)> localize;
    {
        std::lock_guard lock(settingsLock);
        localize = localizer();
    }
    for (const auto* reply : repliesOf<PrintService_GetJobFolderListResponse>(response)) {
        if (reply->status != kOK) break;
        const auto* items = reply->items("dict");
        if (!items) continue;
        for (const auto& item : *items) {
            auto* kv = std::get_if<KeyValue>(&item);
            if (!kv || !*kv || (*kv)->key != "FolderArray") continue;
            rows.push_back({localize("#共通"), ""});
            if (!(*kv)->val) continue;
            if (auto* array = std::get_if<std::shared_ptr<PrintService_PropArray>>(&*(*kv)->val))
                for (const auto& entry : (*array)->item)
                    if (const std::string* s = itemString(entry)) rows.push_back({*s, *s});
        }
    }
    KZ_STATUS_OK(getJobFolderList, PrintService_GetJobFolderListResponse)
    return rows;
}

std::optional<WebServiceClient::Rows> WebServiceClient::getPrePostDeviceList(const std::optional<std::string>& address) const {
    KZ_FRAME(getPrePostDeviceList, PrintService_getPrePostDeviceList{})
    Rows rows;
    // The index is remembered across entries, as the server's lists expect.
    std::optional<std::string> index;
    std::string paperName;
    for (const auto* reply : repliesOf<PrintService_getPrePostDeviceResponse>(response)) {
        if (reply->status != kOK) break;
        const auto* items = reply->items("dict");
        if (!items) continue;
        for (const auto& item : *items) {
            auto* kv = std::get_if<KeyValue>(&item);
            if (!kv || !*kv || (*kv)->key != "CustomPaperArray" || !(*kv)->val) continue;
            auto* array = std::get_if<std::shared_ptr<PrintService_PropArray>>(&*(*kv)->val);
            if (!array) continue;
            for (const auto& entry : (*array)->item) {
                Row row;
                for (const auto& pair : pairsOf(entry)) {
                    const std::string* value = stringValue(pair);
                    if (!pair->key || !value) continue;
                    if (*pair->key == "Index") {
                        index = *value;
                        paperName = "CustomPaper" + *value;
                    } else if (*pair->key == "Name" && index) {
                        // A name before any index has nothing to be numbered by; it is skipped.
                        row.push_back(*index + "-" + *value);
                        row.push_back(paperName);
                        rows.push_back(row);
                    }
                }
            }
        }
    }
    KZ_STATUS_OK(getPrePostDeviceList, PrintService_getPrePostDeviceResponse)
    return rows;
}

std::optional<WebServiceClient::Rows> WebServiceClient::GetJobResourceList(const std::optional<std::string>& address,
                                                                         std::int32_t resourceType) const {
    PrintService_GetJobResourceList request;
    request.type = resourceType;
    request.select = "SYSTEM_DEFAULT";
    KZ_FRAME(GetJobResourceList, request)
    Rows rows;
    for (const auto* reply : repliesOf<PrintService_GetJobResourceListResponse>(response)) {
        const bool detailZero = reply->nDetail && *reply->nDetail == 0;
        const bool usable = (reply->status == kOK && (!reply->nDetail || detailZero)) ||
                            (reply->status == 0 && detailZero);
        if (!usable) break;
        tableRows(reply->items("resInfo"), {"JobRecListName", "JobRecListComment", "JobRecListDateTimeValue"}, rows);
    }
    noteFailure(replyProblem<PrintService_GetJobResourceListResponse>(
        "GetJobResourceList", response, [](const PrintService_GetJobResourceListResponse& r) {
            const bool detailZero = r.nDetail && *r.nDetail == 0;
            return (r.status == kOK && (!r.nDetail || detailZero)) || (r.status == 0 && detailZero);
        }));
    return rows;
}

std::optional<WebServiceClient::Rows> WebServiceClient::getFontList(const std::optional<std::string>& address) const {
    KZ_FRAME(getFontList, PrintService_getFontList{})
    Rows rows;
    for (const auto* reply : repliesOf<PrintService_getFontListResponse>(response)) {
        if (reply->result != kOK) break;
        tableRows(reply->items("stdFontList"), {"DisplayName", "FontName"}, rows);
        tableRows(reply->items("optFontList"), {"DisplayName", "FontName"}, rows);
    }
    noteFailure(replyProblem<PrintService_getFontListResponse>(
        "getFontList", response, [](const PrintService_getFontListResponse& r) { return r.result == kOK; }));
    return rows;
}

std::optional<WebServiceClient::Rows> WebServiceClient::getDeviceLinkFileList(const std::optional<std::string>& address) const {
    PrintService_getDeviceLinkFileList request;
    request.initDict = iotIdDict();
    KZ_FRAME(getDeviceLinkFileList, request)
    KZ_STATUS_OK(getDeviceLinkFileList, PrintService_getDeviceLinkFileListResponse)
    return resourceRows<PrintService_getDeviceLinkFileListResponse>(response, "arry", {"Name", "Comment", "ModifyTime"},
                                                                    false);
}

std::optional<WebServiceClient::Rows> WebServiceClient::getCalibFileList(const std::optional<std::string>& address) const {
    PrintService_getCalibFileList request;
    request.initDict = iotIdDict();
    KZ_FRAME(getCalibFileList, request)
    KZ_STATUS_OK(getCalibFileList, PrintService_getCalibFileListResponse)
    return resourceRows<PrintService_getCalibFileListResponse>(response, "arry",
                                                               {"FileName", "Comment", "UpdatedDateTime"}, true);
}

std::optional<WebServiceClient::Rows> WebServiceClient::getDensityAdjustProfileList(
    const std::optional<std::string>& address) const {
    KZ_FRAME(getDensityAdjustProfileList, PrintService_getDensityAdjustProfileList{})
    KZ_STATUS_OK(getDensityAdjustProfileList, PrintService_getDensityAdjustProfileListResponse)
    return resourceRows<PrintService_getDensityAdjustProfileListResponse>(response, "resInfo",
                                                                          {"Name", "Comment", "UpdatedDateTime"}, true);
}

std::optional<WebServiceClient::Rows> WebServiceClient::getUserTrcProfileList(const std::optional<std::string>& address) const {
    KZ_FRAME(getUserTrcProfileList, PrintService_getUserTrcProfileList{})
    KZ_STATUS_OK(getUserTrcProfileList, PrintService_getUserTrcProfileListResponse)
    return resourceRows<PrintService_getUserTrcProfileListResponse>(response, "resInfo",
                                                                    {"Name", "Comment", "UpdatedDateTime"}, true);
}
#undef KZ_FRAME
#undef KZ_STATUS_OK

const std::vector<std::string>& WebServiceClient::queryNames() {
    static const std::vector<std::string> names = {
        "StackerInfoList",         "FeederInfoList",         "DeviceList",
        "JobFolder",               "PrePostDevice",          "JobResource-NOTE",
        "JobResource-CUSTOM_NOTE", "JobResource-PAGENATION", "JobResource-FORM",
        "JobResource-WATERMARK",   "JobResource-TRAPPING",   "JobResource-NORMALIZER",
        "JobResource-IMPOSITION",  "Font",                   "DensityAdjustProfile",
        "UserTrcProfile",          "DeviceLinkFile",         "CalibFile"};
    return names;
}

std::optional<JobResourceType> WebServiceClient::jobResourceType(std::string_view name) {
    static const std::pair<const char*, JobResourceType> kinds[] = {
        {"JobResource-NOTE", JobResourceType::Note},           {"JobResource-CUSTOM_NOTE", JobResourceType::CustomNote},
        {"JobResource-PAGENATION", JobResourceType::Pagenation}, {"JobResource-FORM", JobResourceType::Form},
        {"JobResource-WATERMARK", JobResourceType::WaterMark},   {"JobResource-TRAPPING", JobResourceType::Trapping},
        {"JobResource-NORMALIZER", JobResourceType::Normalizer}, {"JobResource-IMPOSITION", JobResourceType::Imposition}};
    for (const auto& [n, t] : kinds)
        if (name == n) return t;
    return std::nullopt;
}

std::optional<WebServiceClient::Rows> WebServiceClient::listNamed(std::string_view name,
                                                                const std::optional<std::string>& address) const {
    if (auto type = jobResourceType(name)) return GetJobResourceList(address, static_cast<std::int32_t>(*type));
    if (name == "StackerInfoList") return getStackerInfoList(address);
    if (name == "FeederInfoList") return getFeederInfoList(address);
    if (name == "DeviceList") return getDeviceList(address);
    if (name == "JobFolder") return getJobFolderList(address);
    if (name == "PrePostDevice") return getPrePostDeviceList(address);
    if (name == "Font") return getFontList(address);
    if (name == "DensityAdjustProfile") return getDensityAdjustProfileList(address);
    if (name == "UserTrcProfile") return getUserTrcProfileList(address);
    if (name == "DeviceLinkFile") return getDeviceLinkFileList(address);
    if (name == "CalibFile") return getCalibFileList(address);
    return std::nullopt;
}

}  // namespace ComTORVALEKZ2R4_Plugin
