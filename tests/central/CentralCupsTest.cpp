// A central CUPS for many desktops: its product queues kept fresh by
// `kzpde server refresh --all`, and a desktop whose CUPS server is the
// central one over TCP getting the panel from the central queue's PPD (with
// the lists the central machine fetched) and printing through it to the
// print server.
#include <gtest/gtest.h>

#include <cups/cups.h>

#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>

#include "CentralCups.h"
#include "SamplePrinter.h"

namespace {

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
    bool add(const std::string& queue, int servicePort = 0) {
        made.push_back(queue);
        return org->addQueue(queue, servicePort);
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

}  // namespace
