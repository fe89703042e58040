#include "CupsTestDaemon.h"

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cups/cups.h>
#include <cups/ppd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr const char* kCupsd = "/usr/sbin/cupsd";
constexpr const char* kDaemonBin = "/usr/lib/cups";
constexpr const char* kMime = "/usr/share/cups/mime";

// Takes whatever it is given and prints nothing: the device is /dev/null,
// and what a job carried is read back from the scheduler, not from here.
constexpr const char* kPassFilter = "#!/bin/sh\ncat ${6:+\"$6\"} >/dev/null\nexit 0\n";

std::string quoted(const std::string& word) {
    std::string out = "'";
    for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool writeText(const fs::path& path, const std::string& text, fs::perms perms = fs::perms(0644)) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) return false;
    std::error_code ignored;
    fs::permissions(path, perms, ignored);
    return true;
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

CupsTestDaemon* CupsTestDaemon::shared() {
    static std::unique_ptr<CupsTestDaemon> daemon = [] {
        auto made = std::make_unique<CupsTestDaemon>();
        made->start();
        return made;
    }();
    return daemon.get();
}

CupsTestDaemon::CupsTestDaemon() = default;

CupsTestDaemon::CupsTestDaemon(Setup setup) : _setup(std::move(setup)) {}

CupsTestDaemon::~CupsTestDaemon() {
    stop();
    if (!_folder.empty()) {
        std::error_code ignored;
        fs::remove_all(_folder, ignored);
    }
}

bool CupsTestDaemon::fail(std::string reason) {
    _error = std::move(reason);
    return false;
}

std::string CupsTestDaemon::errorLog() const { return _folder.empty() ? "" : readText(_folder + "/log/error_log"); }

bool CupsTestDaemon::start() {
    if (running()) return true;
    if (::access(kCupsd, X_OK) != 0)
        return fail(std::string("cupsd cannot start: ") + kCupsd + " is not installed (package cups-daemon)");
    std::string pattern = (fs::temp_directory_path() / "kz-cupsd-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return fail("cupsd cannot start: no temporary folder");
    _folder = pattern;
    // The filters run as the daemon's user, which must reach them.
    ::chmod(_folder.c_str(), 0755);
    if (!writeConfiguration()) return false;

    std::string conf = _folder + "/conf/cupsd.conf";
    std::string files = _folder + "/conf/cups-files.conf";
    std::string out = _folder + "/log/cupsd.out";
    pid_t pid = ::fork();
    if (pid < 0) return fail("cupsd cannot start: fork failed");
    if (pid == 0) {
        // A test process that dies without its destructors takes its
        // scheduler along.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        std::FILE* sink = std::freopen(out.c_str(), "w", stdout);
        if (sink) ::dup2(::fileno(stdout), 2);
        ::execl(kCupsd, kCupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    _pid = pid;

    if (_setup.pointProcess) {
        ::setenv("CUPS_SERVER", socketPath().c_str(), 1);
        ::setenv("CUPS_SERVERROOT", (_folder + "/conf").c_str(), 1);
        ::setenv("HOME", (_folder + "/home").c_str(), 1);
        cupsSetServer(socketPath().c_str());
    }
    if (!waitUntilRunning()) {
        std::string why = _error;
        stop();
        return fail(why);
    }
    return true;
}

bool CupsTestDaemon::writeConfiguration() {
    const fs::path b = _folder;
    std::error_code ec;
    for (const char* sub : {"conf", "conf/ppd", "conf/ssl", "state", "cache", "spool/tmp", "log", "home", "serverbin/filter",
                            "share/banners", "share/drv", "share/model", "share/ppdc", "share/templates"}) {
        fs::create_directories(b / sub, ec);
        if (ec) return fail("cupsd cannot start: cannot make " + (b / sub).string());
    }
    for (const char* sub : {"daemon", "notifier"}) fs::create_directory_symlink(fs::path(kDaemonBin) / sub, b / "serverbin" / sub, ec);
    if (_setup.backends.empty()) fs::create_directory_symlink(fs::path(kDaemonBin) / "backend", b / "serverbin/backend", ec);
    fs::create_directory_symlink(kMime, b / "share/mime", ec);
    if (ec) return fail("cupsd cannot start: " + ec.message());
    if (!_setup.backends.empty()) {
        fs::create_directories(b / "serverbin/backend", ec);
        for (const auto& entry : fs::directory_iterator(fs::path(kDaemonBin) / "backend", ec))
            fs::create_symlink(entry.path(), b / "serverbin/backend" / entry.path().filename(), ec);
        for (const auto& [name, file] : _setup.backends) {
            fs::remove(b / "serverbin/backend" / name, ec);
            if (!fs::copy_file(file, b / "serverbin/backend" / name, ec))
                return fail("cupsd cannot start: cannot copy the backend " + file + ": " + ec.message());
            fs::permissions(b / "serverbin/backend" / name, fs::perms(0755), ec);
        }
    }
    if (_setup.systemFilters) {
        for (const auto& entry : fs::directory_iterator(fs::path(kDaemonBin) / "filter", ec))
            fs::create_symlink(entry.path(), b / "serverbin/filter" / entry.path().filename(), ec);
    }
    if (!writeText(b / "serverbin/filter/kzpass", kPassFilter, fs::perms(0755)))
        return fail("cupsd cannot start: cannot write its filter");

    std::string user = "lp", group = "lp", systemGroup = "root";
    if (::getuid() != 0) {
        const passwd* pw = ::getpwuid(::getuid());
        const struct group* gr = ::getgrgid(::getgid());
        if (!pw || !gr) return fail("cupsd cannot start: the user has no name");
        user = pw->pw_name;
        group = systemGroup = gr->gr_name;
    }

    std::string listen;
    if (_setup.tcpPort > 0) listen = "Listen 127.0.0.1:" + std::to_string(_setup.tcpPort) + "\nServerAlias *\n";
    if (_setup.jobRetryInterval > 0) listen += "JobRetryInterval " + std::to_string(_setup.jobRetryInterval) + "\n";
    const std::string privacy = _setup.defaultPrivacy ? ""
                                                      : "  JobPrivateAccess all\n"
                                                        "  JobPrivateValues none\n"
                                                        "  SubscriptionPrivateAccess all\n"
                                                        "  SubscriptionPrivateValues none\n";
    std::string conf = "Listen " + socketPath() + "\n" + listen + "LogLevel " + _setup.logLevel +
                       "\n"
                       "Browsing Off\n"
                       "BrowseLocalProtocols none\n"
                       "DefaultShared No\n"
                       "WebInterface No\n"
                       "DefaultAuthType None\n"
                       "PreserveJobHistory " + std::string(_setup.keepJobs ? "Yes" : "No") +
                       "\n"
                       "PreserveJobFiles " + std::string(_setup.keepJobs ? "Yes" : "No") +
                       "\n"
                       "<Policy default>\n" +
                       privacy +
                       "  <Limit All>\n"
                       "    Order deny,allow\n"
                       "  </Limit>\n"
                       "</Policy>\n";
    std::string files = "ServerRoot " + (b / "conf").string() + "\nStateDir " + (b / "state").string() + "\nCacheDir " +
                        (b / "cache").string() + "\nRequestRoot " + (b / "spool").string() + "\nTempDir " +
                        (b / "spool/tmp").string() + "\nServerBin " + (b / "serverbin").string() + "\nDataDir " +
                        (b / "share").string() + "\nDocumentRoot " + (b / "share").string() + "\nAccessLog " +
                        (b / "log/access_log").string() + "\nErrorLog " + (b / "log/error_log").string() +
                        "\nPageLog " + (b / "log/page_log").string() + "\nPrintcap " + (b / "printcap").string() +
                        "\nFileDevice Yes\nUser " + user + "\nGroup " + group + "\nSystemGroup " + systemGroup + "\n";
    if (!writeText(b / "conf/cupsd.conf", conf) || !writeText(b / "conf/cups-files.conf", files) ||
        !writeText(b / "conf/client.conf", "ServerName " + socketPath() + "\n"))
        return fail("cupsd cannot start: cannot write its configuration");
    return true;
}

int CupsTestDaemon::listenOnTcp() {
    _setup.tcpPort = freePort();
    return _setup.tcpPort;
}

bool CupsTestDaemon::waitUntilRunning() {
    // Bounded: a daemon that is not up after this long is not coming.
    for (int attempt = 0; attempt < 400; ++attempt) {
        int status = 0;
        if (::waitpid(_pid, &status, WNOHANG) == _pid) {
            _pid = -1;
            return fail("cupsd cannot start: it exited at once; " + readText(_folder + "/log/cupsd.out") + errorLog());
        }
        std::string out;
        if (run({"lpstat", "-r"}, &out) == 0 && out.find("scheduler is running") != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return fail("cupsd cannot start: it did not answer within 10 seconds; " + errorLog());
}

void CupsTestDaemon::stop() {
    if (_pid <= 0) return;
    ::kill(_pid, SIGTERM);
    int status = 0;
    while (::waitpid(_pid, &status, 0) < 0 && errno == EINTR) {
    }
    _pid = -1;
}

int CupsTestDaemon::run(const std::vector<std::string>& args, std::string* output) const {
    std::string command = "env CUPS_SERVER=" + quoted(socketPath()) + " CUPS_SERVERROOT=" + quoted(_folder + "/conf") +
                          " HOME=" + quoted(_folder + "/home") + " ";
    for (const auto& arg : args) command += quoted(arg) + " ";
    command += "2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    std::string out;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    int status = ::pclose(pipe);
    if (output) *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool CupsTestDaemon::addQueue(const std::string& name, const std::string& ppdPath) {
    if (!running()) return fail("cupsd is not running");
    std::string ppd = readText(ppdPath);
    if (ppd.empty()) return fail("cannot read " + ppdPath);
    // The filter lines go right after the first line, where every PPD
    // keeps its header; one for documents and one for command files.
    auto eol = ppd.find('\n');
    if (eol == std::string::npos) return fail(ppdPath + " is not a PPD");
    ppd.insert(eol + 1,
               "*cupsFilter: \"application/octet-stream 0 kzpass\"\n"
               "*cupsFilter: \"application/pdf 0 kzpass\"\n"
               "*cupsFilter: \"application/postscript 0 kzpass\"\n"
               "*cupsFilter: \"text/plain 0 kzpass\"\n"
               "*cupsFilter: \"application/vnd.cups-command 0 kzpass\"\n");
    fs::path copy = fs::path(_folder) / (name + ".ppd");
    if (!writeText(copy, ppd)) return fail("cannot write " + copy.string());
    std::string out;
    if (run({"lpadmin", "-p", name, "-E", "-v", "file:/dev/null", "-P", copy.string()}, &out) != 0)
        return fail("lpadmin refused the queue " + name + ": " + out);
    return true;
}

bool CupsTestDaemon::addInstance(const std::string& name, const std::string& instance,
                                 const std::map<std::string, std::string>& options) {
    std::vector<std::string> args = {"lpoptions", "-p", name + "/" + instance};
    for (const auto& [key, value] : options) {
        args.push_back("-o");
        args.push_back(key + "=" + value);
    }
    std::string out;
    if (run(args, &out) != 0) return fail("lpoptions refused the instance " + name + "/" + instance + ": " + out);
    return true;
}

bool CupsTestDaemon::setDefault(const std::string& name) {
    std::string out;
    if (run({"lpoptions", "-d", name}, &out) != 0) return fail("lpoptions refused the default " + name + ": " + out);
    return true;
}

bool CupsTestDaemon::addRawQueue(const std::string& name, const std::string& device) {
    if (!running()) return fail("cupsd is not running");
    std::string out;
    if (run({"lpadmin", "-p", name, "-E", "-v", device}, &out) != 0)
        return fail("lpadmin refused the queue " + name + ": " + out);
    return true;
}

bool CupsTestDaemon::addPrinter(const std::string& name, const std::string& device, const std::string& ppdPath,
                                const std::vector<std::string>& options) {
    if (!running()) return fail("cupsd is not running");
    std::vector<std::string> args = {"lpadmin", "-p", name, "-E", "-v", device, "-P", ppdPath};
    for (const auto& option : options) {
        args.push_back("-o");
        args.push_back(option);
    }
    std::string out;
    if (run(args, &out) != 0) return fail("lpadmin refused the queue " + name + ": " + out);
    return true;
}

namespace {

ipp_t* askDaemon(const std::string& socket, ipp_t* request, const std::string& resource) {
    http_t* http = httpConnect2(socket.c_str(), 0, nullptr, AF_LOCAL, HTTP_ENCRYPTION_NEVER, 1, 10000, nullptr);
    if (!http) {
        ippDelete(request);
        return nullptr;
    }
    ipp_t* response = cupsDoRequest(http, request, resource.c_str());
    httpClose(http);
    if (response && ippGetStatusCode(response) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        ippDelete(response);
        return nullptr;
    }
    return response;
}

}  // namespace

ipp_t* CupsTestDaemon::jobAttributes(int id, const std::string& user) const {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippSetVersion(request, 2, 0);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(id);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, user.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    return askDaemon(socketPath(), request, "/jobs/");
}

ipp_t* CupsTestDaemon::printerAttributes(const std::string& name) const {
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    const std::string uri = "ipp://localhost/printers/" + name;
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    return askDaemon(socketPath(), request, "/printers/" + name);
}

int CupsTestDaemon::lastJobId() const {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, "ipp://localhost/");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, "root");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "job-id");
    ipp_t* response = askDaemon(socketPath(), request, "/");
    int newest = 0;
    for (ipp_attribute_t* a = response ? ippFindAttribute(response, "job-id", IPP_TAG_INTEGER) : nullptr; a;
         a = ippFindNextAttribute(response, "job-id", IPP_TAG_INTEGER))
        newest = std::max(newest, ippGetInteger(a, 0));
    ippDelete(response);
    return newest;
}

void CupsTestDaemon::writeRecordingBackend(const std::string& path) {
    std::ofstream(path) << "#!/bin/sh\n"
                           "[ $# = 0 ] && { echo 'direct kzrecord \"Unknown\" \"Keeps what arrives\"'; exit 0; }\n"
                           "printf '%s' \"$5\" > \"$(dirname \"$0\")/../../record/$1.options\"\n"
                           "cat ${6:+\"$6\"} > \"$(dirname \"$0\")/../../record/$1.document\"\n"
                           "exit 0\n";
    std::filesystem::permissions(path, std::filesystem::perms(0755));
}

int CupsTestDaemon::freePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

// cupsGetPPD3 is the way to the scheduler's copy of a queue's PPD.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
std::string CupsTestDaemon::queuePpd(const std::string& queue) {
    char path[1024] = "";
    time_t modified = 0;
    if (cupsGetPPD3(CUPS_HTTP_DEFAULT, queue.c_str(), &modified, path, sizeof path) != HTTP_STATUS_OK) return {};
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    ::unlink(path);
    return text.str();
}
#pragma GCC diagnostic pop
