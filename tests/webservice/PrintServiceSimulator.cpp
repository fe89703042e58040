#include "PrintServiceSimulator.h"

#include <httplib.h>

#include <chrono>
#include <strings.h>

#include <cups/http.h>

#include "platform/foundation/PropertyList.h"

namespace kztest {

namespace {

std::string esc(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

std::string itemsOf(const kz::Value& v);

// A value as the content of an element named `name` (typed when a container).
std::string valueElement(const std::string& name, const kz::Value& v, const std::string& extra = "") {
    if (v.isDictionary())
        return "<" + name + extra + " xsi:type=\"ps:PropDict\" d=\"0\">" + itemsOf(v) + "</" + name + ">";
    if (v.isArray()) return "<" + name + extra + " xsi:type=\"ps:PropArray\" d=\"0\">" + itemsOf(v) + "</" + name + ">";
    if (v.isNull()) return "<" + name + extra + "/>";
    return "<" + name + extra + ">" + esc(v.stringValue()) + "</" + name + ">";
}

std::string itemsOf(const kz::Value& v) {
    std::string out;
    if (v.isDictionary()) {
        for (const auto& [key, value] : v.dictionary())
            out += "<item key=\"" + esc(key) + "\">" +
                   valueElement("val", value, value.isString() ? " xsi:type=\"xsd:string\"" : "") + "</item>";
    } else if (v.isArray()) {
        for (const auto& e : v.array()) out += valueElement("item", e);
    }
    return out;
}

// A list field: a container of the given class holding the entries.
std::string listField(const std::string& field, const kz::Value& entries, const char* cls = "PropArray") {
    return "<" + field + " xsi:type=\"ps:" + cls + "\" d=\"0\">" + itemsOf(entries) + "</" + field + ">";
}

std::string operationOf(const std::string& body) {
    // The operation element is the one carrying the service namespace.
    auto at = body.find(" xmlns=\"corvenix:quill\"");
    if (at == std::string::npos) return {};
    auto start = body.rfind('<', at);
    return body.substr(start + 1, at - start - 1);
}

std::string between(const std::string& body, const std::string& tag) {
    auto a = body.find("<" + tag + ">");
    auto b = body.find("</" + tag + ">");
    if (a == std::string::npos || b == std::string::npos) return {};
    a += tag.size() + 2;
    return body.substr(a, b - a);
}

}  // namespace

std::string PrintServiceSimulator::Request::header(const std::string& name) const {
    for (const auto& [k, v] : headers)
        if (strcasecmp(k.c_str(), name.c_str()) == 0) return v;
    return {};
}

kz::Dictionary PrintServiceSimulator::readPrinter(const std::string& path, std::string* error) {
    std::string why;
    kz::Value printer = kz::PropertyList::readFile(path, &why);
    if (printer.isDictionary()) return printer.dictionary();
    if (error) *error = why.empty() ? "the top-level object is not a dictionary" : why;
    return {};
}

std::string PrintServiceSimulator::endpoint() const {
    const std::string host = _host.find(':') == std::string::npos ? _host : "[" + _host + "]";
    return "http://" + host + ":" + std::to_string(_port);
}

PrintServiceSimulator::PrintServiceSimulator(kz::Dictionary printer, std::string host, int port)
    : _printer(std::move(printer)), _host(std::move(host)), _server(std::make_unique<httplib::Server>()) {
    _server->Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
        Request seen{req.body, {}};
        for (const auto& [k, v] : req.headers) seen.headers.emplace_back(k, v);
        {
            std::lock_guard lock(_lock);
            _requests.push_back(seen);
        }
        if (!authUser.empty()) {
            const std::string pair = authUser + ":" + authPassword;
            char encoded[512];
            httpEncode64_2(encoded, sizeof encoded, pair.data(), static_cast<int>(pair.size()));
            const std::string expected = std::string("Basic ") + encoded;
            if (req.get_header_value("Authorization") != expected) {
                res.status = 401;
                res.set_header("WWW-Authenticate", "Basic realm=\"print service\"");
                res.set_content("denied", "text/plain");
                return;
            }
        }
        if (delaySeconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(delaySeconds));
        for (const auto& [name, value] : setCookies) res.set_header("Set-Cookie", name + "=" + value + "; Path=/");
        if (httpStatus) {
            res.status = httpStatus;
            return;
        }
        if (brokenXml) {
            res.set_content("<soap:Envelope><soap:Body><unclosed>", "text/xml; charset=utf-8");
            return;
        }
        if (!rawReply.empty()) {
            res.set_content(rawReply, "text/xml; charset=utf-8");
            return;
        }
        if (fault) res.status = 500;
        res.set_content(replyFor(req.body), "text/xml; charset=utf-8");
    });
    if (port > 0) {
        _port = _server->bind_to_port(_host, port) ? port : -1;
    } else {
        _port = _server->bind_to_any_port(_host);
    }
    if (_port <= 0) {
        _port = -1;
        return;
    }
    _thread = std::thread([this] { _server->listen_after_bind(); });
    while (!_server->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

PrintServiceSimulator::~PrintServiceSimulator() {
    _server->stop();
    if (_thread.joinable()) _thread.join();
}

std::vector<PrintServiceSimulator::Request> PrintServiceSimulator::requests() const {
    std::lock_guard lock(_lock);
    return _requests;
}

std::string PrintServiceSimulator::replyFor(const std::string& body) const {
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
        "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:ps=\"corvenix:quill\">";
    const std::string op = operationOf(body);
    if (fault) {
        const std::string p = faultPrefix;
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?><" + p + ":Envelope xmlns:" + p +
               "=\"http://schemas.xmlsoap.org/soap/envelope/\"><" + p + ":Body><" + p + ":Fault><faultcode>" + p +
               ":Server</faultcode><faultstring>System.Web.Services.Protocols.SoapException: Server was unable to "
               "process request.\n   at Quill.Service." + op + "()</faultstring><detail/></" + p + ":Fault></" +
               p + ":Body></" + p + ":Envelope>";
    }
    const kz::Value& statuses = _printer.get("status");
    const std::string statusText = statuses.isDictionary() && statuses.dictionary().get(op).isString()
                                       ? statuses.dictionary().get(op).string()
                                       : std::string("OK");
    const std::string status = "<status>" + esc(statusText) + "</status>";
    std::string reply, fields;
    if (op == "getStackerInfoList" || op == "getFeederInfoList") {
        reply = op + "Response";
        fields = listField("ary", _printer.get(op == "getStackerInfoList" ? "stackers" : "feeders")) + status;
    } else if (op == "getPrePostDeviceList") {
        reply = "getPrePostDeviceResponse";
        kz::Dictionary dict = _printer.get("devices").dictionary();
        if (_printer.contains("customPapers")) dict.set("CustomPaperArray", _printer.get("customPapers"));
        fields = listField("dict", dict, "PropDict") + status;
    } else if (op == "getJobFolderList") {
        reply = "GetJobFolderListResponse";
        kz::Dictionary dict;
        dict.set("FolderArray", _printer.get("folders"));
        fields = listField("dict", dict, "PropDict") + status;
    } else if (op == "GetJobResourceList") {
        reply = "GetJobResourceListResponse";
        const kz::Value& list = _printer.get("resources").dictionary().get(between(body, "type"));
        fields = listField("resInfo", list) + status + "<bResult>true</bResult><nDetail>0</nDetail>";
    } else if (op == "getFontList") {
        reply = "getFontListResponse";
        fields = "<result>" + esc(statusText) + "</result>" + listField("stdFontList", _printer.get("stdFonts")) +
                 listField("optFontList", _printer.get("optFonts"));
    } else if (op == "getCalibFileList" || op == "getDeviceLinkFileList") {
        reply = op + "Response";
        fields = listField("arry", _printer.get(op == "getCalibFileList" ? "calibFiles" : "deviceLinkFiles")) + status;
    } else if (op == "getDensityAdjustProfileList" || op == "getUserTrcProfileList") {
        reply = op + "Response";
        fields = listField("resInfo", _printer.get(op == "getDensityAdjustProfileList" ? "densityAdjustProfiles"
                                                                                       : "userTrcProfiles")) +
                 status;
    } else if (!op.empty()) {
        reply = op + "Response";
        fields = listField("resInfo", kz::Array{}) + status;
    } else {
        return head + "<soap:Body/></soap:Envelope>";
    }
    return head + "<soap:Body><" + reply + " xmlns=\"corvenix:quill\">" + fields + "</" + reply +
           "></soap:Body></soap:Envelope>";
}

}  // namespace kztest
