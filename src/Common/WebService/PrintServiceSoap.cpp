#include "Common/WebService/PrintServiceSoap.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <curl/curl.h>

#include "Common/WebService/SoapXml.h"
#include "platform/foundation/RunLoop.h"

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

// What a transfer needs, taken from the binding on the caller's thread.
struct Exchange {
    std::string url, host, body;
    std::vector<std::string> headers;
    long timeoutMs = 0;
    std::size_t maxBytes = 0;
    std::optional<std::pair<std::string, std::string>> credentials;
};

// What came back, handed to the operation on the caller's thread.
struct Outcome {
    CURLcode code = CURLE_OK;
    long status = 0;
    std::vector<HttpCookie> cookies;
    std::string data;
    bool dataArrived = false;
    bool tooLarge = false;
};

struct Transfer {
    Outcome* outcome;
    const std::atomic<bool>* cancelled;
    std::size_t maxBytes;
};

std::size_t onData(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    std::string& buffer = t->outcome->data;
    const std::size_t n = size * count;
    if (buffer.size() + n > t->maxBytes) {
        t->outcome->tooLarge = true;
        return 0;
    }
    // The buffer doubles as usual but never past the limit, so an endless
    // reply holds at most the limit (and half of it while growing).
    if (buffer.size() + n > buffer.capacity())
        buffer.reserve(std::min(t->maxBytes, std::max(buffer.size() + n, 2 * buffer.capacity())));
    t->outcome->dataArrived = t->outcome->dataArrived || n > 0;
    buffer.append(data, n);
    return n;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    return t->cancelled && t->cancelled->load() ? 1 : 0;
}

std::string trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
    return std::string(s);
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& cookies = static_cast<Transfer*>(user)->outcome->cookies;
    std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) cookies.clear();  // a new response (after a challenge)
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
                if (!cookie.name.empty()) cookies.push_back(std::move(cookie));
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

Outcome perform(const Exchange& exchange, const std::atomic<bool>* cancelled) {
    Outcome outcome;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        outcome.code = CURLE_FAILED_INIT;
        return outcome;
    }
    curl_slist* list = nullptr;
    for (const auto& h : exchange.headers) list = curl_slist_append(list, h.c_str());
    std::unique_ptr<curl_slist, SlistDeleter> headers(list);
    Transfer transfer{&outcome, cancelled, exchange.maxBytes};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, exchange.url.c_str());
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, exchange.body.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, static_cast<long>(exchange.body.size()));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, exchange.timeoutMs);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_PROXY, "");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onData);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);
    if (cancelled) {
        curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
        curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    }
    if (exchange.credentials) {
        // Answered once: curl retries a challenged request a single time.
        curl_easy_setopt(c, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
        curl_easy_setopt(c, CURLOPT_USERNAME, exchange.credentials->first.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, exchange.credentials->second.c_str());
    }
    outcome.code = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &outcome.status);
    return outcome;
}

// Tells the operation what the transfer brought, in the order a connection
// reports it.
void deliver(PrintServiceSoapOperation& op, const Exchange& exchange, Outcome& outcome) {
    if (outcome.status == 401 && outcome.code == CURLE_OK) {
        op.connectionDidFailWithError(
            {"Connection Authentication", 0, "Authentication Error", SoapError::Kind::Authentication});
        return;
    }
    if (outcome.code != CURLE_OK) {
        std::string text = outcome.tooLarge ? "the reply exceeds the size limit" : curl_easy_strerror(outcome.code);
        SoapError::Kind kind = SoapError::Kind::Transport;
        switch (outcome.code) {
            case CURLE_OPERATION_TIMEDOUT: kind = SoapError::Kind::TimedOut; break;
            case CURLE_COULDNT_CONNECT: kind = SoapError::Kind::Refused; break;
            // A reset, a close before the announced length or before any
            // reply at all: the server let the connection go mid-answer.
            case CURLE_RECV_ERROR:
            case CURLE_PARTIAL_FILE:
            case CURLE_GOT_NOTHING: kind = SoapError::Kind::CutOff; break;
            default: break;
        }
        if (outcome.tooLarge) kind = SoapError::Kind::TooLarge;
        op.connectionDidFailWithError({"NSURLErrorDomain", static_cast<int>(outcome.code), text, kind});
        return;
    }
    // The service answers 200, or 500 with a fault; any other status (a 404
    // of a web server on that port, a proxy's 502) is nobody's answer.
    if ((outcome.status < 200 || outcome.status > 299) && outcome.status != 500) {
        op.connectionDidFailWithError({"HTTP", static_cast<int>(outcome.status),
                                       "HTTP " + std::to_string(outcome.status), SoapError::Kind::BadReply});
        return;
    }
    if (exchange.credentials) {
        std::lock_guard lock(credentialsLock);
        rememberedCredentials()[exchange.host] = *exchange.credentials;
    }
    op.connectionDidReceiveResponse(outcome.cookies);
    if (outcome.dataArrived) op.connectionDidReceiveData(outcome.data);
    op.connectionDidFinishLoading();
}

}  // namespace

PrintServiceSoap::PrintServiceSoap(std::string a) : address(std::move(a)), maxReplyBytes(SoapXml::kMaxReplyBytes) {}

PrintServiceSoap::~PrintServiceSoap() {
    _closing = true;  // transfers still running give up at their next progress check
    std::vector<Worker> workers;
    {
        std::lock_guard lock(_workersLock);
        workers.swap(_workers);
    }
    for (auto& w : workers) w.thread.join();
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
    if (!op) return;
    op->asynchronous = true;
    op->main();
}

void PrintServiceSoap::sendHTTPCallUsingBody(const std::string& body, const std::string& soapAction,
                                             PrintServiceSoapOperation& op) {
    initCurl();
    auto exchange = std::make_shared<Exchange>();
    exchange->url = address;
    exchange->host = hostOf(address);
    exchange->body = body;
    if (cookies && !cookies->empty()) {
        std::string header = "Cookie: ";
        for (std::size_t i = 0; i < cookies->size(); ++i)
            header += (i ? "; " : "") + (*cookies)[i].name + "=" + (*cookies)[i].value;
        exchange->headers.push_back(std::move(header));
    }
    exchange->headers.push_back("User-Agent: wsdl2objc");
    exchange->headers.push_back(soapAction.empty() ? "SOAPAction;" : "SOAPAction: " + soapAction);
    exchange->headers.push_back("Content-Type: text/xml; charset=utf-8");
    exchange->headers.push_back("Content-Length: " + std::to_string(static_cast<unsigned>(body.size())));
    exchange->headers.push_back("Host: " + exchange->host);
    // curl would add these; the service is sent exactly the fields above.
    exchange->headers.push_back("Accept:");
    exchange->headers.push_back("Expect:");
    // Never 0 ms, which would tell curl to wait for ever.
    exchange->timeoutMs = std::max(1L, static_cast<long>(std::lround(defaultTimeout * 1000)));
    exchange->maxBytes = std::min(maxReplyBytes, SoapXml::kMaxReplyBytes);
    if (authUsername) {
        exchange->credentials.emplace(*authUsername, authPassword.value_or(""));
    } else {
        std::lock_guard lock(credentialsLock);
        auto it = rememberedCredentials().find(exchange->host);
        if (it != rememberedCredentials().end()) exchange->credentials = it->second;
    }

    if (!op.asynchronous) {
        Outcome outcome = perform(*exchange, nullptr);
        deliver(op, *exchange, outcome);
        return;
    }

    std::shared_ptr<PrintServiceSoapOperation> self = op.shared_from_this();
    const kz::RunLoop::Inbox inbox = kz::RunLoop::current().inbox();
    std::weak_ptr<int> alive = _alive;
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::lock_guard lock(_workersLock);
    // Workers that have finished are reaped here, so a long-lived binding
    // does not collect threads.
    std::erase_if(_workers, [](Worker& w) {
        if (!w.done->load()) return false;
        w.thread.join();
        return true;
    });
    // The worker hands its references on with the delivery, so the operation
    // is released on the caller's thread.
    _workers.push_back(Worker{std::thread([this, self, exchange, inbox, alive, done]() mutable {
                                  auto outcome = std::make_shared<Outcome>(perform(*exchange, &_closing));
                                  inbox.post(
                                      [self = std::move(self), exchange = std::move(exchange), outcome, alive] {
                                          if (alive.expired()) return;
                                          deliver(*self, *exchange, *outcome);
                                      },
                                      {kz::RunLoop::kDefaultMode});
                                  *done = true;
                              }),
                              done});
}

#define KZ_PRINT_SERVICE_OPERATION(NAME, REPLY, KIND)                                                          \
    PrintServiceSoapResponse PrintServiceSoap::NAME##UsingParameters(const PrintService_##NAME& parameters) {    \
        PrintServiceSoap_##NAME op(this, this, parameters);                                                      \
        return performSynchronousOperation(op);                                                                  \
    }                                                                                                            \
    void PrintServiceSoap::NAME##AsyncUsingParameters(const PrintService_##NAME& parameters,                     \
                                                      PrintServiceSoapResponseDelegate* delegate) {              \
        performAsynchronousOperation(std::make_shared<PrintServiceSoap_##NAME>(this, delegate, parameters));     \
    }
#include "Common/WebService/PrintServiceOperationList.h"
#undef KZ_PRINT_SERVICE_OPERATION

}  // namespace ComTORVALEKZ2R4_Plugin
