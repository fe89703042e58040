#include "Common/WebService/PrintServiceSoap.h"

#include <cmath>
#include <map>

#include <curl/curl.h>

#include "Common/WebService/SoapXml.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// Credentials that answered a challenge once are kept for the process.
std::mutex credentialsLock;
std::map<std::string, std::pair<std::string, std::string>>& rememberedCredentials() {
    static std::map<std::string, std::pair<std::string, std::string>> store;
    return store;
}

void initCurl() {
    static const bool done = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
    (void)done;
}

struct Transfer {
    PrintServiceSoapOperation* operation;
    std::vector<HttpCookie> cookies;
    std::size_t received = 0;
    bool tooLarge = false;
};

std::size_t onData(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    t->received += n;
    if (t->received > SoapXml::kMaxReplyBytes) {
        t->tooLarge = true;
        return 0;
    }
    t->operation->connectionDidReceiveData(std::string_view(data, n));
    return n;
}

std::string trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
    return std::string(s);
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) t->cookies.clear();  // a new response (after a challenge)
    constexpr std::string_view kSetCookie = "set-cookie:";
    if (line.size() > kSetCookie.size()) {
        std::string head(line.substr(0, kSetCookie.size()));
        for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (head == kSetCookie) {
            std::string_view rest = line.substr(kSetCookie.size());
            rest = rest.substr(0, rest.find(';'));
            auto eq = rest.find('=');
            if (eq != std::string_view::npos) {
                HttpCookie cookie{trim(rest.substr(0, eq)), trim(rest.substr(eq + 1))};
                if (!cookie.name.empty()) t->cookies.push_back(std::move(cookie));
            }
        }
    }
    return size * count;
}

std::string hostOf(const std::string& address) {
    std::string host;
    CURLU* url = curl_url();
    char* part = nullptr;
    if (curl_url_set(url, CURLUPART_URL, address.c_str(), 0) == CURLUE_OK &&
        curl_url_get(url, CURLUPART_HOST, &part, 0) == CURLUE_OK && part) {
        host = part;
        curl_free(part);
    }
    curl_url_cleanup(url);
    return host;
}

struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

}  // namespace

PrintServiceSoap::PrintServiceSoap(std::string a) : address(std::move(a)) {}

PrintServiceSoap::~PrintServiceSoap() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(_threadsLock);
        threads.swap(_threads);
    }
    for (auto& t : threads) t.join();
}

std::shared_ptr<ComTORVALEKZ2R4_Plugin::PrintServiceSoap> PrintService::PrintServiceSoap(const std::string& address) {
    return std::make_shared<ComTORVALEKZ2R4_Plugin::PrintServiceSoap>(address);
}

void PrintServiceSoap::addCookie(HttpCookie cookie) {
    if (!cookies) cookies.emplace();
    cookies->push_back(std::move(cookie));
}

void PrintServiceSoap::operation(PrintServiceSoapOperation&, const PrintServiceSoapResponse&) {
    synchronousOperationComplete = true;
}

PrintServiceSoapResponse PrintServiceSoap::performSynchronousOperation(PrintServiceSoapOperation& op) {
    synchronousOperationComplete = false;
    op.main();  // the transfer runs on this thread and reports before returning
    return op.response;
}

void PrintServiceSoap::performAsynchronousOperation(std::shared_ptr<PrintServiceSoapOperation> op) {
    std::lock_guard lock(_threadsLock);
    _threads.emplace_back([op] { op->main(); });
}

void PrintServiceSoap::sendHTTPCallUsingBody(const std::string& body, const std::string& soapAction,
                                             PrintServiceSoapOperation& op) {
    initCurl();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        op.connectionDidFailWithError({"NSURLErrorDomain", -1, "could not start a transfer"});
        return;
    }
    const std::string host = hostOf(address);
    curl_slist* list = nullptr;
    if (cookies && !cookies->empty()) {
        std::string header = "Cookie: ";
        for (std::size_t i = 0; i < cookies->size(); ++i)
            header += (i ? "; " : "") + (*cookies)[i].name + "=" + (*cookies)[i].value;
        list = curl_slist_append(list, header.c_str());
    }
    list = curl_slist_append(list, "User-Agent: wsdl2objc");
    list = curl_slist_append(list, soapAction.empty() ? "SOAPAction;" : ("SOAPAction: " + soapAction).c_str());
    list = curl_slist_append(list, "Content-Type: text/xml; charset=utf-8");
    list = curl_slist_append(list, ("Content-Length: " + std::to_string(static_cast<unsigned>(body.size()))).c_str());
    list = curl_slist_append(list, ("Host: " + host).c_str());
    list = curl_slist_append(list, "Accept:");
    list = curl_slist_append(list, "Expect:");
    std::unique_ptr<curl_slist, SlistDeleter> headers(list);

    std::optional<std::pair<std::string, std::string>> credentials;
    if (authUsername) {
        credentials.emplace(*authUsername, authPassword.value_or(""));
    } else {
        std::lock_guard lock(credentialsLock);
        auto it = rememberedCredentials().find(host);
        if (it != rememberedCredentials().end()) credentials = it->second;
    }

    Transfer transfer{&op, {}, 0, false};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, address.c_str());
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(std::lround(defaultTimeout * 1000)));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_PROXY, "");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onData);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);
    if (credentials) {
        // Answered once: curl retries a challenged request a single time.
        curl_easy_setopt(c, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
        curl_easy_setopt(c, CURLOPT_USERNAME, credentials->first.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, credentials->second.c_str());
    }
    // Data goes to the operation as it arrives; a 401 reply's body must not.
    CURLcode code = curl_easy_perform(c);
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status == 401 && code == CURLE_OK) {
        op.responseData.clear();
        op.dataArrived = false;
        op.connectionDidFailWithError({"Connection Authentication", 0, "Authentication Error"});
        return;
    }
    if (code != CURLE_OK) {
        std::string text = transfer.tooLarge ? "the reply exceeds the size limit" : curl_easy_strerror(code);
        op.connectionDidFailWithError({"NSURLErrorDomain", static_cast<int>(code), text});
        return;
    }
    if (credentials) {
        std::lock_guard lock(credentialsLock);
        rememberedCredentials()[host] = *credentials;
    }
    op.connectionDidReceiveResponse(transfer.cookies);
    op.connectionDidFinishLoading();
}

#define KZ_OPERATION(NAME)                                                                                       \
    PrintServiceSoapResponse PrintServiceSoap::NAME##UsingParameters(const PrintService_##NAME& parameters) {    \
        PrintServiceSoap_##NAME op(this, this, parameters);                                                      \
        return performSynchronousOperation(op);                                                                  \
    }                                                                                                            \
    void PrintServiceSoap::NAME##AsyncUsingParameters(const PrintService_##NAME& parameters,                     \
                                                      PrintServiceSoapResponseDelegate* delegate) {              \
        performAsynchronousOperation(std::make_shared<PrintServiceSoap_##NAME>(this, delegate, parameters));     \
    }
KZ_OPERATION(getStackerInfoList)
KZ_OPERATION(getFeederInfoList)
KZ_OPERATION(getJobFolderList)
KZ_OPERATION(getPrePostDeviceList)
KZ_OPERATION(getCmsSpotGetAllListData)
KZ_OPERATION(getSpotColorAllInfoListData)
KZ_OPERATION(getColorSubstListData)
KZ_OPERATION(GetJobResourceList)
KZ_OPERATION(getCalibFileList)
KZ_OPERATION(getDensityAdjustProfileList)
KZ_OPERATION(getUserTrcProfileList)
KZ_OPERATION(getFontList)
KZ_OPERATION(getOutputProfileList)
KZ_OPERATION(getRGBInputProfileList)
KZ_OPERATION(getCMYKInputProfileList)
KZ_OPERATION(getDeviceLinkFileList)
#undef KZ_OPERATION

}  // namespace ComTORVALEKZ2R4_Plugin
