// Jobs from a client scheduler, through the product's backend as
// `cmake --install` lays it out, to a second scheduler standing in for the
// print server; what arrived is read back with Get-Job-Attributes and from
// what the stand-in's backend was handed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "../support/CupsTestDaemon.h"
#include "../support/ToolRun.h"

namespace fs = std::filesystem;

namespace {


struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

std::string text(ipp_t* ipp, const std::string& name) {
    ipp_attribute_t* a = ipp ? ippFindAttribute(ipp, name.c_str(), IPP_TAG_ZERO) : nullptr;
    const char* value = a ? ippGetString(a, 0, nullptr) : nullptr;
    return value ? value : "";
}

std::vector<int> integers(ipp_t* ipp, const std::string& name) {
    std::vector<int> out;
    ipp_attribute_t* a = ipp ? ippFindAttribute(ipp, name.c_str(), IPP_TAG_ZERO) : nullptr;
    for (int i = 0; a && i < ippGetCount(a); ++i) out.push_back(ippGetInteger(a, i));
    return out;
}

// The value of the attribute that carries the panel's custom entry KEYWORD.
std::string entry(ipp_t* ipp, const std::string& keyword) {
    const std::string suffix = ".print.PrintSettingsTicket." + keyword;
    for (ipp_attribute_t* a = ipp ? ippFirstAttribute(ipp) : nullptr; a; a = ippNextAttribute(ipp)) {
        const std::string name = ippGetName(a) ? ippGetName(a) : "";
        if (name.rfind("kz-", 0) == 0 && name.ends_with(suffix)) return ippGetString(a, 0, nullptr);
    }
    return "";
}

// Every value of every attribute as text, to look for what must not be there.
std::string everything(ipp_t* ipp) {
    std::string out;
    for (ipp_attribute_t* a = ipp ? ippFirstAttribute(ipp) : nullptr; a; a = ippNextAttribute(ipp)) {
        char value[8192];
        ippAttributeString(a, value, sizeof value);
        out += std::string(ippGetName(a) ? ippGetName(a) : "") + "=" + value + "\n";
    }
    return out;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Polls until DONE holds, at most LIMIT; the bound only ends a hung test.
bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

int jobState(const CupsTestDaemon& cups, int id) {
    Ipp job(cups.jobAttributes(id));
    auto state = integers(job.get(), "job-state");
    return state.empty() ? 0 : state[0];
}

// The stand-in's device: keeps what its backend is handed, per job.
constexpr const char* kRecorder =
    "#!/bin/sh\n"
    "[ $# = 0 ] && { echo 'direct kzrecord \"Unknown\" \"Keeps what arrives\"'; exit 0; }\n"
    "printf '%s' \"$5\" > \"$(dirname \"$0\")/../../record/$1.options\"\n"
    "cat ${6:+\"$6\"} > \"$(dirname \"$0\")/../../record/$1.document\"\n"
    "exit 0\n";

class Delivery : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string base = (fs::temp_directory_path() / "kz-delivery-XXXXXX").string();
        if (!::mkdtemp(base.data())) return;
        _folder = base;
        fs::permissions(_folder, fs::perms(0755));
        // The backend and PPD as a package installs them.
        const std::string prefix = _folder + "/prefix";
        const std::string install = std::string(KZ_CMAKE) + " --install " + KZ_BINARY_DIR +
                                    " --component kzps --prefix " + prefix + " >" + _folder + "/install.log 2>&1";
        if (std::system(install.c_str()) != 0) {
            _why = "cmake --install failed: " + readFile(_folder + "/install.log");
            return;
        }
        _ppd = prefix + "/share/ppd/kzpde/KZPrintServer.ppd";
        std::ofstream(_folder + "/kzrecord") << kRecorder;
        fs::permissions(_folder + "/kzrecord", fs::perms(0755));

        _standIn = startStandIn(CupsTestDaemon::freePort());
        if (!_standIn) return;
        CupsTestDaemon::Setup client;
        client.backends = {{"kzps", prefix + "/lib/cups/backend/kzps"}};
        client.systemFilters = true;
        client.jobRetryInterval = 1;
        client.defaultPrivacy = true;
        _client = std::make_unique<CupsTestDaemon>(client);
        if (!_client->start()) {
            _why = _client->error();
            _client.reset();
            return;
        }
        if (!_client->addPrinter("KZQueue", deviceUri(_standInPort), _ppd)) _why = _client->error();
        _document = _folder + "/doc.ps";
        std::ofstream(_document) << "%!PS\n/Helvetica findfont 12 scalefont setfont 72 720 moveto (a page) show showpage\n";
    }

    static void TearDownTestSuite() {
        _client.reset();
        _standIn.reset();
        std::error_code ignored;
        if (!_folder.empty()) fs::remove_all(_folder, ignored);
    }

    static std::unique_ptr<CupsTestDaemon> startStandIn(int port) {
        CupsTestDaemon::Setup setup;
        setup.tcpPort = port;
        setup.backends = {{"kzrecord", _folder + "/kzrecord"}};
        setup.pointProcess = false;
        auto standIn = std::make_unique<CupsTestDaemon>(setup);
        if (!standIn->start() || !standIn->addRawQueue("KZPrintServer", "kzrecord:/keep")) {
            _why = standIn->error();
            return nullptr;
        }
        // Where the recorder writes: its backend folder's ../../record.
        fs::create_directories(standIn->folder() + "/record");
        fs::permissions(standIn->folder() + "/record", fs::perms(0777));
        if (!_standIn) _standInPort = port;
        return standIn;
    }

    static std::string deviceUri(int port, const std::string& queue = "KZPrintServer") {
        return "kzps://127.0.0.1:" + std::to_string(port) + "/printers/" + queue;
    }

    void SetUp() override {
        if (!_client || !_why.empty()) GTEST_SKIP() << "no schedulers: " << _why;
    }

    // `lp` on the client; the job's id there.
    int lp(const std::vector<std::string>& args) {
        std::vector<std::string> command = {"lp"};
        command.insert(command.end(), args.begin(), args.end());
        command.push_back(_document);
        std::string out;
        EXPECT_EQ(_client->run(command, &out), 0) << out;
        auto dash = out.find('-', out.find("request id is "));
        return dash == std::string::npos ? 0 : std::atoi(out.c_str() + dash + 1);
    }

    // Waits for client job ID to finish; the stand-in's job it became.
    int arrived(int id, CupsTestDaemon& standIn) {
        EXPECT_TRUE(waitFor([&] { return jobState(*_client, id) >= IPP_JSTATE_CANCELED; })) << _client->errorLog();
        EXPECT_EQ(jobState(*_client, id), IPP_JSTATE_COMPLETED) << _client->errorLog();
        return standIn.lastJobId();
    }

    std::string recorded(CupsTestDaemon& standIn, int id, const char* what) {
        const fs::path path = standIn.folder() + "/record/" + std::to_string(id) + "." + what;
        waitFor([&] { return fs::exists(path) && jobState(standIn, id) >= IPP_JSTATE_CANCELED; });
        return readFile(path);
    }

    static inline std::string _folder, _why, _ppd, _document;
    static inline int _standInPort = 0;
    static inline std::unique_ptr<CupsTestDaemon> _standIn, _client;
};

TEST_F(Delivery, APlainLpJobArrivesWithItsTitleSidesFinishingsAndColour) {
    Ipp queue(_client->printerAttributes("KZQueue"));
    EXPECT_EQ(text(queue.get(), "print-color-mode-default"), "color");

    int id = lp({"-d", "KZQueue", "-t", "Quarterly report", "-o", "StapleMode=TopLeftCorner", "-o",
                 "DuplexMode=DuplexNoTumble", "-o", "Fold=Bifold", "-o", "OutputTray=Stackertray2"});
    ASSERT_GT(id, 0);
    int remote = arrived(id, *_standIn);
    ASSERT_GT(remote, 0);
    Ipp job(_standIn->jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "job-name"), "Quarterly report");
    EXPECT_EQ(text(job.get(), "sides"), "two-sided-long-edge");
    EXPECT_EQ(integers(job.get(), "finishings"), (std::vector<int>{20, 93}));  // staple-top-left, fold-half
    EXPECT_EQ(text(job.get(), "print-color-mode"), "color");
    EXPECT_EQ(text(job.get(), "output-bin"), "stacker-2");
    EXPECT_EQ(text(job.get(), "kz-StapleMode"), "TopLeftCorner");
    EXPECT_EQ(text(job.get(), "kz-Fold"), "Bifold");
    EXPECT_NE(recorded(*_standIn, remote, "document").find("%!PS"), std::string::npos);
}

TEST_F(Delivery, ThePanelsJobArrivesWithItsNameSettingsAndAPinNoOneElseReads) {
    const std::string pin = "4711";
    const std::string settings = _folder + "/panel.plist";
    ToolRun r = runKzpde("print " + _document +
                         " --printer KZQueue --set StapleMode=TopLeftCorner --set DuplexMode=DuplexNoTumble"
                         " --set Fold=BifoldInside --job-name 'Weekly figures, final' --set MailNotifyJobEnd=True"
                         " --set MailAddress=someone@example.com --set SecurityPrint=True --set SecurityPrintPassword=" +
                             pin + " --write-settings " + settings + " --json",
                         true);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.find(pin), std::string::npos) << r.out;
    const int id = nlohmann::json::parse(r.out.substr(r.out.find('{')))["jobId"].get<int>();
    const int remote = arrived(id, *_standIn);
    ASSERT_GT(remote, 0);

    Ipp job(_standIn->jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "job-name"), "Weekly figures, final");
    EXPECT_EQ(text(job.get(), "sides"), "two-sided-long-edge");
    EXPECT_EQ(integers(job.get(), "finishings"), (std::vector<int>{20, 93}));
    EXPECT_EQ(text(job.get(), "print-color-mode"), "color");
    EXPECT_EQ(entry(job.get(), "MailAddress"), "someone@example.com");
    EXPECT_EQ(text(job.get(), "kz-MailNotifyJobEnd"), "True");
    EXPECT_EQ(text(job.get(), "kz-SecurityPrint"), "True");

    // The server's backend was handed the password exactly as the panel
    // encoded it for this job; the saved settings hold the same encoding.
    const std::string options = recorded(*_standIn, remote, "options");
    const auto at = options.find("job-password=");
    ASSERT_NE(at, std::string::npos) << options;
    const std::string encoded = options.substr(at + 13, options.find(' ', at) - at - 13);
    EXPECT_FALSE(encoded.empty());
    EXPECT_EQ(encoded.find(pin), std::string::npos);
    EXPECT_NE(readFile(settings).find(encoded), std::string::npos);

    // Nowhere in clear nor encoded: the job on either scheduler, what the
    // tool printed, the client's log, the document.
    Ipp client(_client->jobAttributes(id));
    for (const std::string& place : {everything(job.get()), everything(client.get()), r.out, _client->errorLog(),
                                     recorded(*_standIn, remote, "document")}) {
        EXPECT_EQ(place.find(pin), std::string::npos) << place;
        EXPECT_EQ(place.find(encoded), std::string::npos) << place;
    }

    // Another local user asks the client's scheduler under its default policy.
    if (::getuid() != 0 || ::access("/usr/bin/ipptool", X_OK) != 0) GTEST_SKIP() << "needs root to act as nobody";
    const std::string test = _folder + "/get-job.test";
    std::ofstream(test) << "{\nOPERATION Get-Job-Attributes\nGROUP operation-attributes-tag\n"
                           "ATTR charset attributes-charset utf-8\nATTR naturalLanguage attributes-natural-language en\n"
                           "ATTR uri printer-uri $uri\nATTR integer job-id "
                        << id << "\nATTR name requesting-user-name nobody\nATTR keyword requested-attributes all\n}\n";
    std::string socket;
    for (char c : _client->socketPath()) socket += c == '/' ? std::string("%2F") : std::string(1, c);
    std::string seen;
    _client->run({"su", "nobody", "-s", "/bin/sh", "-c", "ipptool -V 2.0 -tv ipp://" + socket + "/printers/KZQueue " + test},
                 &seen);
    ASSERT_NE(seen.find("job-state"), std::string::npos) << seen;  // it did read the job
    EXPECT_EQ(seen.find(encoded), std::string::npos) << seen;
    EXPECT_EQ(seen.find(pin), std::string::npos) << seen;
    EXPECT_EQ(seen.find("job-password"), std::string::npos) << seen;
}

TEST_F(Delivery, ThePaperPagesAndOrientationOfTheDialogArrive) {
    ToolRun r = runKzpde("print " + _document + " --printer KZQueue --paper A3 --pages 1 --orientation landscape --json",
                         true);
    ASSERT_EQ(r.status, 0) << r.out;
    const int id = nlohmann::json::parse(r.out.substr(r.out.find('{')))["jobId"].get<int>();
    Ipp client(_client->jobAttributes(id));
    EXPECT_EQ(text(client.get(), "PageSize"), "A3");
    EXPECT_EQ(integers(client.get(), "orientation-requested"), (std::vector<int>{4}));
    ipp_attribute_t* ranges = ippFindAttribute(client.get(), "page-ranges", IPP_TAG_RANGE);
    ASSERT_NE(ranges, nullptr) << everything(client.get());
    int upper = 0;
    EXPECT_EQ(ippGetRange(ranges, 0, &upper), 1);
    EXPECT_EQ(upper, 1);

    const int remote = arrived(id, *_standIn);
    ASSERT_GT(remote, 0);
    Ipp job(_standIn->jobAttributes(remote));
    ipp_attribute_t* media = ippFindAttribute(job.get(), "media-col", IPP_TAG_BEGIN_COLLECTION);
    ASSERT_NE(media, nullptr) << everything(job.get());
    ipp_t* size = ippGetCollection(ippFindAttribute(ippGetCollection(media, 0), "media-size", IPP_TAG_BEGIN_COLLECTION), 0);
    ASSERT_NE(size, nullptr) << everything(job.get());
    EXPECT_EQ(integers(size, "x-dimension"), (std::vector<int>{29700}));  // A3 in hundredths of a millimetre
    EXPECT_EQ(integers(size, "y-dimension"), (std::vector<int>{42000}));
}

TEST_F(Delivery, AServerThatRefusesStopsTheQueueWithItsReasonAndKeepsTheJob) {
    ASSERT_TRUE(_client->addPrinter("KZRefused", deviceUri(_standInPort, "NoSuchQueue"), _ppd)) << _client->error();
    const int id = lp({"-d", "KZRefused", "-t", "refused"});
    ASSERT_GT(id, 0);
    std::string message;
    EXPECT_TRUE(waitFor([&] {
        Ipp queue(_client->printerAttributes("KZRefused"));
        message = text(queue.get(), "printer-state-message");
        return integers(queue.get(), "printer-state") == std::vector<int>{IPP_PSTATE_STOPPED};
    })) << _client->errorLog();
    EXPECT_NE(message.find("refused the job"), std::string::npos) << message;
    EXPECT_NE(message.find("does not exist"), std::string::npos) << message;  // the print server's own words
    EXPECT_EQ(jobState(*_client, id), IPP_JSTATE_PENDING);
}

TEST_F(Delivery, AJobForAServerThatIsDownWaitsAndArrivesWhenItComesUp) {
    const int port = CupsTestDaemon::freePort();
    ASSERT_TRUE(_client->addPrinter("KZLater", deviceUri(port), _ppd)) << _client->error();
    const int id = lp({"-d", "KZLater", "-t", "later"});
    ASSERT_GT(id, 0);
    EXPECT_TRUE(waitFor([&] {
        Ipp job(_client->jobAttributes(id));
        return text(job.get(), "job-printer-state-message").find("cannot be reached") != std::string::npos;
    })) << _client->errorLog();
    EXPECT_LT(jobState(*_client, id), IPP_JSTATE_STOPPED);  // waiting, not given up

    auto late = startStandIn(port);
    ASSERT_TRUE(late) << _why;
    const int remote = arrived(id, *late);
    ASSERT_EQ(remote, 1);
    Ipp job(late->jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "job-name"), "later");
}

TEST_F(Delivery, TheInstalledPpdIsADriverLpadminFinds) {
    // The scheduler's driver list reads its data folder's model/ as it reads
    // /usr/share/ppd, where the package puts share/ppd/kzpde.
    std::error_code ec;
    fs::create_directory_symlink(fs::path(_ppd).parent_path(), _client->folder() + "/share/model/kzpde", ec);
    ASSERT_FALSE(ec) << ec.message();
    std::string out;
    ASSERT_EQ(_client->run({"lpinfo", "-m"}, &out), 0) << out;
    EXPECT_NE(out.find("kzpde/KZPrintServer.ppd KZ Print Server"), std::string::npos) << out;
    ASSERT_EQ(_client->run({"lpadmin", "-p", "KZFromModel", "-E", "-v", deviceUri(_standInPort), "-m",
                            "kzpde/KZPrintServer.ppd"},
                           &out),
              0)
        << out;
    Ipp queue(_client->printerAttributes("KZFromModel"));
    EXPECT_EQ(text(queue.get(), "printer-make-and-model"), "KZ Print Server");
    EXPECT_EQ(text(queue.get(), "print-color-mode-default"), "color");
}

}  // namespace
