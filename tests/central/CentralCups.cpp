#include "CentralCups.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "SamplePrinter.h"

namespace fs = std::filesystem;

namespace {

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace

CentralCups& CentralCups::shared() {
    static CentralCups* org = new CentralCups();  // its daemons stop when the process ends
    static const bool cleanedUp = [] { return std::atexit([] { delete org; }) == 0; }();
    (void)cleanedUp;
    return *org;
}

bool CentralCups::fail(std::string why) {
    if (_why.empty()) _why = std::move(why);
    return false;
}

CentralCups::CentralCups() {
    std::string base = (fs::temp_directory_path() / "kz-central-XXXXXX").string();
    if (!::mkdtemp(base.data())) {
        fail("no temporary folder");
        return;
    }
    _folder = base;
    fs::permissions(_folder, fs::perms(0755));
    // The backend and PPD as a package installs them.
    const std::string prefix = _folder + "/prefix";
    const std::string install = std::string(KZ_CMAKE) + " --install " + KZ_BINARY_DIR + " --component kzps --prefix " +
                                prefix + " >" + _folder + "/install.log 2>&1";
    if (std::system(install.c_str()) != 0) {
        fail("cmake --install failed: " + readFile(_folder + "/install.log"));
        return;
    }
    CupsTestDaemon::writeRecordingBackend(_folder + "/kzrecord");

    CupsTestDaemon::Setup standIn;
    standIn.tcpPort = CupsTestDaemon::freePort();
    standIn.backends = {{"kzrecord", _folder + "/kzrecord"}};
    standIn.pointProcess = false;
    _standIn = std::make_unique<CupsTestDaemon>(standIn);
    if (!_standIn->start() || !_standIn->addRawQueue("KZPrintServer", "kzrecord:/keep")) {
        fail("the stand-in: " + _standIn->error());
        return;
    }
    _standInPort = standIn.tcpPort;
    fs::create_directories(_standIn->folder() + "/record");
    fs::permissions(_standIn->folder() + "/record", fs::perms(0777));

    CupsTestDaemon::Setup central;
    central.tcpPort = CupsTestDaemon::freePort();
    central.backends = {{"kzps", prefix + "/lib/cups/backend/kzps"}};
    central.systemFilters = true;
    central.jobRetryInterval = 1;
    _central = std::make_unique<CupsTestDaemon>(central);
    if (!_central->start()) {
        fail("the central CUPS: " + _central->error());
        return;
    }
    _lists = std::make_unique<kztest::PrintServiceSimulator>(kztest::samplePrinter());
    if (_lists->port() <= 0) {
        fail("no print service simulator");
        return;
    }

    // A desktop: a home and CUPS configuration folder of its own, whose
    // client.conf names the central CUPS for the runs that use it.
    fs::create_directories(desktopHome());
    fs::create_directories(_folder + "/desktop/cups");
    fs::create_directories(_folder + "/desktop/cups-conf");
    std::ofstream(_folder + "/desktop/cups-conf/client.conf") << "ServerName 127.0.0.1:" << centralPort() << "\n";
    _document = _folder + "/doc.ps";
    std::ofstream(_document) << "%!PS\n/Helvetica findfont 12 scalefont setfont 72 720 moveto (a page) show showpage\n";
}

CentralCups::~CentralCups() {
    _lists.reset();
    _central.reset();
    _standIn.reset();
    std::error_code ignored;
    if (!_folder.empty()) fs::remove_all(_folder, ignored);
}

bool CentralCups::addQueue(const std::string& name, int servicePort, const std::string& extra) {
    if (!ready()) return false;
    ToolRun r = adminRun("queue add " + name + " --server 127.0.0.1:" + std::to_string(_standInPort) +
                             " --service-port " + std::to_string(servicePort > 0 ? servicePort : _lists->port()) +
                             " " + extra,
                         true);
    if (r.status != 0) return fail("queue add " + name + ": " + r.out + _central->errorLog());
    std::string out;
    if (_central->run({"lpadmin", "-p", name, "-o", "printer-is-shared=true"}, &out) != 0)
        return fail("lpadmin -o printer-is-shared=true: " + out);
    return true;
}

ToolRun CentralCups::adminRun(const std::string& args, bool withErrors) const {
    return runKzpde(args, withErrors);
}

namespace {

std::string desktopEnvironment(const std::string& folder, const std::string& home, int port, bool withClientConf) {
    std::string env = "env -u CUPS_SERVER HOME=" + home + " XDG_CONFIG_HOME=" + home +
                      "/.config CUPS_SERVERROOT=" + folder + "/desktop" + (withClientConf ? "/cups-conf" : "/cups");
    if (!withClientConf) env += " CUPS_SERVER=127.0.0.1:" + std::to_string(port);
    return env;
}

}  // namespace

ToolRun CentralCups::desktopRun(const std::string& args, bool withErrors, const std::string& env,
                                bool withClientConf) const {
    return runShell(desktopEnvironment(_folder, desktopHome(), centralPort(), withClientConf) + " " + env + " " +
                    std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde " + args + (withErrors ? " 2>&1" : " 2>/dev/null"));
}

ToolRun CentralCups::desktopShell(const std::string& command) const {
    return runShell(desktopEnvironment(_folder, desktopHome(), centralPort(), false) + " sh -c '" + command + "' 2>&1");
}

bool CentralCups::waitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

int CentralCups::jobState(const CupsTestDaemon& cups, int id) {
    std::unique_ptr<ipp_t, IppDeleter> job(cups.jobAttributes(id));
    ipp_attribute_t* state = job ? ippFindAttribute(job.get(), "job-state", IPP_TAG_ENUM) : nullptr;
    return state ? ippGetInteger(state, 0) : 0;
}

int CentralCups::arrived(int centralJob) {
    waitFor([&] { return jobState(*_central, centralJob) >= IPP_JSTATE_CANCELED; });
    if (jobState(*_central, centralJob) != IPP_JSTATE_COMPLETED) return 0;
    return _standIn->lastJobId();
}

std::string CentralCups::recorded(int standInJob, const std::string& what) {
    const fs::path path = _standIn->folder() + "/record/" + std::to_string(standInJob) + "." + what;
    waitFor([&] { return fs::exists(path) && jobState(*_standIn, standInJob) >= IPP_JSTATE_CANCELED; });
    return readFile(path);
}
