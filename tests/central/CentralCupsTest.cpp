// A central CUPS for many desktops: its product queues kept fresh by
// `kzpde server refresh --all`, and a desktop whose CUPS server is the
// central one over TCP getting the panel from the central queue's PPD (with
// the lists the central machine fetched) and printing through it to the
// print server; jobs held on the central server and let go from the desktop.
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>
#include <regex>

#include "CentralCups.h"
#include "SamplePrinter.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

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
    std::vector<int> values;
    ipp_attribute_t* a = ipp ? ippFindAttribute(ipp, name.c_str(), IPP_TAG_ZERO) : nullptr;
    for (int i = 0; a && i < ippGetCount(a); ++i) values.push_back(ippGetInteger(a, i));
    return values;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class Central : public ::testing::Test {
protected:
    void SetUp() override {
        org = &CentralCups::shared();
        if (!org->ready()) GTEST_SKIP() << "no central CUPS: " << org->why();
    }
    void TearDown() override {
        if (!org || !org->ready()) return;
        for (const std::string& queue : made) org->adminRun("queue remove " + queue);
    }
    bool add(const std::string& queue, int servicePort = 0, const std::string& extra = {}) {
        made.push_back(queue);
        return org->addQueue(queue, servicePort, extra);
    }
    CentralCups* org = nullptr;
    std::vector<std::string> made;
};

TEST_F(Central, RefreshAllRenewsTheLiveQueuesAndADeadServerFailsAloneKeepingItsPpd) {
    // One queue whose lists came when it was made, one whose print service
    // came up only afterwards, one whose print service never answers.
    ASSERT_TRUE(add("KZLive")) << org->why();
    const int latePort = CupsTestDaemon::freePort();
    ASSERT_TRUE(add("KZLate", latePort)) << org->why();
    const int deadPort = CupsTestDaemon::freePort();
    ASSERT_TRUE(add("KZDead", deadPort)) << org->why();
    kztest::PrintServiceSimulator late(kztest::samplePrinter(), "127.0.0.1", latePort);
    ASSERT_EQ(late.port(), latePort);
    const std::string deadBefore = CupsTestDaemon::queuePpd("KZDead");
    ASSERT_NE(deadBefore.find("*PCFileName"), std::string::npos);

    const std::string errors = org->folder() + "/refresh-all.err";
    ToolRun r = org->adminRun("server refresh --all 2>" + errors + "; exit $?");
    const std::string err = readAll(errors);
    EXPECT_EQ(r.status, 1) << r.out << err;
    const std::string live = "127.0.0.1:" + std::to_string(org->lists().port());
    const std::string dead = "127.0.0.1:" + std::to_string(deadPort);
    EXPECT_NE(r.out.find("KZLive: unchanged (lists from " + live + ")\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("KZLate: refreshed (lists from 127.0.0.1:" + std::to_string(latePort) + ")\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("KZDead: failed: 18 of 18 lists did not come (StackerInfoList from " + dead +
                         ": refused, ...); the queue keeps its PPD\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(err.find("kzpde server refresh: KZDead: CalibFile from " + dead + ": refused\n"), std::string::npos)
        << err;
    EXPECT_NE(err.find(" queues failed: KZDead\n"), std::string::npos) << err;
    EXPECT_EQ(err.find("KZLive"), std::string::npos) << err;
    EXPECT_TRUE(CupsTestDaemon::queuePpd("KZDead") == deadBefore) << "the dead server's queue changed";
    EXPECT_FALSE(late.requests().empty());

    // Each queue's server and the time of its last fetch that came whole.
    json listed = json::parse(org->adminRun("queue list --json").out, nullptr, false);
    ASSERT_TRUE(listed.is_array()) << listed;
    std::map<std::string, json> byName;
    for (const json& q : listed) byName[q["name"].get<std::string>()] = q;
    for (const char* name : {"KZLive", "KZLate", "KZDead"}) {
        ASSERT_TRUE(byName.count(name)) << listed;
        EXPECT_EQ(byName[name]["host"], "127.0.0.1");
        EXPECT_EQ(byName[name]["printer"], "KZPrintServer");
    }
    EXPECT_EQ(byName["KZLate"]["servicePort"], latePort);
    EXPECT_TRUE(byName["KZLive"]["listsFetched"].is_string()) << byName["KZLive"];
    EXPECT_TRUE(byName["KZLate"]["listsFetched"].is_string()) << byName["KZLate"];
    EXPECT_TRUE(byName["KZDead"]["listsFetched"].is_null()) << byName["KZDead"];

    // All live again: nothing failed, exit 0.
    org->adminRun("queue remove KZDead");
    r = org->adminRun("server refresh --all", true);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("KZLate: unchanged"), std::string::npos) << r.out;
}

TEST_F(Central, RefreshAllTakesNoQueueOrServerOfItsOwn) {
    EXPECT_EQ(org->adminRun("server refresh").status, 2);
    EXPECT_EQ(org->adminRun("server refresh --all --printer KZ").status, 2);
    EXPECT_EQ(org->adminRun("server refresh --all --server 127.0.0.1").status, 2);
    EXPECT_EQ(org->adminRun("server refresh --all --port 8888").status, 2);
}

TEST_F(Central, ADesktopGetsThePanelFromTheCentralQueueWithItsLists) {
    ASSERT_TRUE(add("KZFront")) << org->why();
    // The lists the central machine fetched are in the PPD the desktop gets.
    const std::string central = CupsTestDaemon::queuePpd("KZFront");
    ASSERT_NE(central.find("*KZListsFetched:"), std::string::npos);
    for (bool clientConf : {false, true}) {
        SCOPED_TRACE(clientConf ? "client.conf ServerName" : "CUPS_SERVER");
        ToolRun r = org->desktopRun("options --printer KZFront --set DuplexMode=DuplexNoTumble --json", true, {},
                                    clientConf);
        ASSERT_EQ(r.status, 0) << r.out;
        json out = json::parse(r.out.substr(r.out.find('{')), nullptr, false);
        ASSERT_TRUE(out.is_object()) << r.out;
        EXPECT_EQ(out["markedChoices"]["DuplexMode"], "DuplexNoTumble");
        // The print server's devices, as its lists tell them, hide the
        // staple control; the product PPD's own lists show it.
        EXPECT_EQ(out["controls"]["StapleMode"]["hidden"], true) << out["controls"]["StapleMode"];
    }
    ToolRun bare = org->desktopRun("options --ppd " + std::string(KZ_BINARY_DIR) +
                                       "/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd --json",
                                   true);
    ASSERT_EQ(bare.status, 0) << bare.out;
    EXPECT_EQ(json::parse(bare.out.substr(bare.out.find('{')))["controls"]["StapleMode"]["hidden"], false);
    // A desktop pointed nowhere gets no panel for the queue.
    ToolRun nowhere = org->desktopRun("options --printer KZFront", true, "CUPS_SERVER=127.0.0.1:" +
                                                                             std::to_string(CupsTestDaemon::freePort()));
    EXPECT_EQ(nowhere.status, 1) << nowhere.out;
}

TEST_F(Central, ADesktopsJobGoesThroughTheCentralCupsToThePrintServer) {
    ASSERT_TRUE(add("KZFront")) << org->why();
    ToolRun r = org->desktopRun("print " + org->document() +
                                    " --printer KZFront --set DuplexMode=DuplexNoTumble"
                                    " --job-name 'From a desktop' --json",
                                true);
    ASSERT_EQ(r.status, 0) << r.out;
    const int id = json::parse(r.out.substr(r.out.find('{')))["jobId"].get<int>();
    const int remote = org->arrived(id);
    ASSERT_GT(remote, 0) << org->central().errorLog();
    Ipp job(org->standIn().jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "job-name"), "From a desktop");
    EXPECT_EQ(text(job.get(), "sides"), "two-sided-long-edge");
    EXPECT_NE(org->recorded(remote, "document").find("%!PS"), std::string::npos);
}

#ifdef KZ_HAVE_QT
TEST_F(Central, ADesktopsPrintDialogPrintsThroughTheCentralCups) {
    ASSERT_TRUE(add("KZFront")) << org->why();
    const std::string script = org->folder() + "/dialog-script.txt";
    std::ofstream(script) << "press Print\n";
    ToolRun r = org->desktopRun("dialog --printer KZFront --script " + script + " " + org->document(), true,
                                "QT_QPA_PLATFORM=offscreen");
    ASSERT_EQ(r.status, 0) << r.out;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(r.out, match, std::regex("job ([0-9]+) on KZFront\n"))) << r.out;
    const int remote = org->arrived(std::stoi(match[1].str()));
    ASSERT_GT(remote, 0) << org->central().errorLog();
    Ipp job(org->standIn().jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "job-name"), "doc.ps");
}
#endif

// A central queue that holds every job: a desktop's plain `lp` waits there
// until the desktop's user completes it in the panel (`kzpde release`, or
// the agent's window), then goes on to the print server.
class CentralHold : public Central {
protected:
    void SetUp() override {
        Central::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(add("KZDesk", 0, "--hold")) << org->why();
    }
    // `lp -d KZDesk ARGS` on the desktop (after PREFIX, shell words); the
    // central job's id, 0 if none.
    int desktopLp(const std::string& args, const std::string& prefix = {}) {
        ToolRun r = org->desktopShell(prefix + "lp -d KZDesk " + args + " " + org->document());
        std::smatch match;
        if (r.status != 0 || !std::regex_search(r.out, match, std::regex("request id is KZDesk-([0-9]+)"))) {
            ADD_FAILURE() << r.out;
            return 0;
        }
        return std::stoi(match[1].str());
    }
    bool held(int id) {
        return CentralCups::waitFor(
            [&] { return CentralCups::jobState(org->central(), id) == IPP_JSTATE_HELD; }, std::chrono::seconds(30));
    }
};

TEST_F(CentralHold, ADesktopsHeldJobIsListedThereAndReleasedWithThePanelsOptions) {
    const int before = org->standIn().lastJobId();
    const int id = desktopLp("-t \"At the desk\" -o number-up=2");
    ASSERT_GT(id, 0);
    ASSERT_TRUE(held(id)) << org->central().errorLog();

    ToolRun listed = org->desktopRun("jobs --json");
    ASSERT_EQ(listed.status, 0) << listed.out;
    const json jobs = json::parse(listed.out, nullptr, false);
    const json* entry = nullptr;
    for (const json& job : jobs)
        if (job.value("id", 0) == id) entry = &job;
    ASSERT_NE(entry, nullptr) << listed.out;
    EXPECT_EQ((*entry)["queue"], "KZDesk");
    EXPECT_EQ((*entry)["title"], "At the desk");
    EXPECT_EQ((*entry)["forPanel"], true);
    EXPECT_EQ((*entry)["options"]["number-up"], "2");
    EXPECT_EQ(org->standIn().lastJobId(), before);

    ToolRun released =
        org->desktopRun("release " + std::to_string(id) + " --set DuplexMode=DuplexNoTumble --json", true);
    ASSERT_EQ(released.status, 0) << released.out;
    const int remote = org->arrived(id);
    ASSERT_GT(remote, before) << org->central().errorLog();
    Ipp job(org->standIn().jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "job-name"), "At the desk");
    // The panel's two sides and the application's two pages a sheet.
    EXPECT_EQ(text(job.get(), "sides"), "two-sided-long-edge");
    Ipp atCentral(org->central().jobAttributes(id));
    EXPECT_EQ(integers(atCentral.get(), "number-up"), (std::vector<int>{2}));
    EXPECT_EQ(org->desktopRun("jobs --json").out.find("\"id\": " + std::to_string(id)), std::string::npos);
}

// The central server knows the job's owner by the name the desktop sends:
// a desktop user lists and releases their own held job, and not another's.
TEST_F(CentralHold, ADesktopUsersHeldJobIsTheirsAloneToListAndRelease) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs a second user";
    const std::string home = org->folder() + "/nobody";
    fs::create_directories(home);
    ASSERT_EQ(::chown(home.c_str(), 65534, 65534), 0);
    const std::string nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=" + home +
                               " XDG_CONFIG_HOME=" + home + "/.config ";
    const std::string kzpde = std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde ";
    const int id = desktopLp("-t Theirs", nobody);
    ASSERT_GT(id, 0);
    ASSERT_TRUE(held(id)) << org->central().errorLog();
    Ipp atCentral(org->central().jobAttributes(id));
    EXPECT_EQ(text(atCentral.get(), "job-originating-user-name"), "nobody");

    const std::string theirs = "\"id\": " + std::to_string(id);
    ToolRun mine = org->desktopRun("jobs --json");
    ASSERT_EQ(mine.status, 0) << mine.out;
    EXPECT_EQ(mine.out.find(theirs), std::string::npos) << mine.out;
    ToolRun refused = org->desktopRun("release " + std::to_string(id), true);
    EXPECT_EQ(refused.status, 2) << refused.out;
    EXPECT_EQ(CentralCups::jobState(org->central(), id), IPP_JSTATE_HELD);

    ToolRun listed = org->desktopShell(nobody + kzpde + "jobs --json");
    ASSERT_EQ(listed.status, 0) << listed.out;
    EXPECT_NE(listed.out.find(theirs), std::string::npos) << listed.out;
    ToolRun released = org->desktopShell(nobody + kzpde + "release " + std::to_string(id) +
                                         " --set DuplexMode=DuplexNoTumble");
    ASSERT_EQ(released.status, 0) << released.out;
    const int remote = org->arrived(id);
    ASSERT_GT(remote, 0) << org->central().errorLog();
    Ipp job(org->standIn().jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "sides"), "two-sided-long-edge");
}

#ifdef KZ_HAVE_QT
TEST_F(CentralHold, TheDesktopsAgentShowsTheHeldJobAndPrintReleasesIt) {
    const std::string folder = org->folder() + "/agent";
    fs::create_directories(folder + "/runtime");
    std::ofstream(folder + "/script") << "press Print\n";
    const int before = org->standIn().lastJobId();
    const int id = desktopLp("-t \"For the agent\" -o sides=two-sided-short-edge");
    ASSERT_GT(id, 0);
    ASSERT_TRUE(held(id)) << org->central().errorLog();

    ToolRun r = org->desktopRun("agent --once --script " + folder + "/script", true,
                                "QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=" + folder + "/runtime");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("job " + std::to_string(id) + " on KZDesk released"), std::string::npos) << r.out;
    const int remote = org->arrived(id);
    ASSERT_GT(remote, before) << org->central().errorLog();
    Ipp job(org->standIn().jobAttributes(remote));
    EXPECT_EQ(text(job.get(), "job-name"), "For the agent");
    EXPECT_EQ(text(job.get(), "sides"), "two-sided-short-edge");
}
#endif

}  // namespace
