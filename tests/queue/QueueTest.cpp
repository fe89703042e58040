// `kzpde queue add|list|remove` as an administrator runs them, and the job
// name `kzpde print` gives, against a private scheduler that also listens on
// TCP and the print service simulator. The scheduler only takes a device
// address whose backend it has, so its backend folder gets a stand-in for
// the product's (never run: no job here leaves a hold or a file queue).
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "../support/CupsTestDaemon.h"
#include "../support/ToolRun.h"
#include "Common/WebService/PrinterData.h"
#include "PrintServiceSimulator.h"
#include "SamplePrinter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/printing/CupsJob.h"
#include "platform/printing/CupsQueueAdmin.h"
#include "platform/printing/JobOptions.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace fs = std::filesystem;
namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

const std::string kProductPpd = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd";

CupsTestDaemon* daemon() {
    static std::unique_ptr<CupsTestDaemon> cups = [] {
        auto made = std::make_unique<CupsTestDaemon>();
        made->listenOnTcp();
        made->start();
        return made;
    }();
    return cups.get();
}

// The backend folder: links to the system's backends, and the stand-in for
// the product's when PRODUCT.
void installBackends(bool product) {
    const fs::path folder = fs::path(daemon()->folder()) / "serverbin/backend";
    std::error_code ec;
    if (fs::is_symlink(folder, ec)) {
        fs::remove(folder, ec);
        fs::create_directory(folder, ec);
        for (const auto& entry : fs::directory_iterator("/usr/lib/cups/backend", ec))
            fs::create_symlink(entry.path(), folder / entry.path().filename(), ec);
    }
    const fs::path backend = folder / "kzps";
    fs::remove(backend, ec);
    if (product) {
        std::ofstream(backend) << "#!/bin/sh\nexit 0\n";
        fs::permissions(backend, fs::perms(0755), ec);
    }
}

// Runs the tool; its standard error alone.
ToolRun errorsOf(const std::string& args) {
    return runKzpde(args + " 2>&1 >/dev/null; exit $?", false);
}

std::optional<kz::CupsQueueAdmin::Queue> queueNamed(const std::string& name) {
    for (const auto& q : kz::CupsQueueAdmin::queues(CUPS_HTTP_DEFAULT, nullptr).value_or(std::vector<kz::CupsQueueAdmin::Queue>{}))
        if (q.name == name) return q;
    return std::nullopt;
}

std::string lpstat(const std::string& option, const std::string& queue) {
    std::string out;
    daemon()->run({"lpstat", option, queue}, &out);
    return out;
}

nlohmann::json listed() {
    ToolRun r = runKzpde("queue list --json");
    EXPECT_EQ(r.status, 0);
    return nlohmann::json::parse(r.out, nullptr, false);
}

class Queue : public ::testing::Test {
protected:
    void SetUp() override {
        cups = daemon();
        if (!cups->running()) GTEST_SKIP() << "no private cupsd: " << cups->error();
        installBackends(true);
    }
    void TearDown() override {
        if (!cups || !cups->running()) return;
        for (const auto& q : kz::CupsQueueAdmin::queues(CUPS_HTTP_DEFAULT, nullptr).value_or(std::vector<kz::CupsQueueAdmin::Queue>{}))
            kz::CupsQueueAdmin::remove(CUPS_HTTP_DEFAULT, q.name, nullptr);
    }
    CupsTestDaemon* cups = nullptr;
};

TEST_F(Queue, AddFetchesTheListsHoldsJobsAndListsTheQueue) {
    kztest::PrintServiceSimulator server(kztest::samplePrinter());
    ASSERT_GT(server.port(), 0);
    const std::string port = std::to_string(server.port());
    ToolRun r = runKzpde("queue add Front --server 127.0.0.1:8631 --printer Main --service-port " + port + " --hold", true);
    ASSERT_EQ(r.status, 0) << r.out << cups->errorLog();
    EXPECT_EQ(r.out, "added the queue Front for kzps://127.0.0.1:8631/printers/Main?service-port=" + port +
                         " with the server lists, every job held\n");

    auto q = queueNamed("Front");
    ASSERT_TRUE(q);
    EXPECT_EQ(q->deviceURI, "kzps://127.0.0.1:8631/printers/Main?service-port=" + port);
    EXPECT_EQ(q->holdUntil, "indefinite");
    EXPECT_NE(lpstat("-p", "Front").find("enabled"), std::string::npos) << lpstat("-p", "Front");
    EXPECT_NE(lpstat("-a", "Front").find("accepting"), std::string::npos);

    // The PPD carries what the server gave, as `kzpde server lists` prints
    // it, and when it came.
    const std::string ppd = CupsTestDaemon::queuePpd("Front");
    EXPECT_NE(ppd.find("*OpenUI *StapleMode"), std::string::npos);
    const std::size_t stamp = ppd.find("*KZListsFetched: \"20");
    ASSERT_NE(stamp, std::string::npos);
    const std::string fetched = ppd.substr(stamp + 18, 20);
    const std::string path = ::testing::TempDir() + "/kz-queue.ppd";
    std::ofstream(path) << ppd;
    ppd_file_t* file = ppdOpenFile(path.c_str());
    ASSERT_NE(file, nullptr);
    kz::Value fetchedLists = kz::PropertyList::read(runKzpde("server lists --host 127.0.0.1 --port " + port).out);
    EXPECT_EQ(kz::PropertyList::read(kzp::PrinterData::read(file, "FeederInfoList").value_or("")),
              fetchedLists.dictionary().get("FeederInfoList"));
    ppdClose(file);

    // A job waits for the panel.
    kz::CupsJob::Submitted job = kz::CupsJob::submitData(CUPS_HTTP_DEFAULT, "Front", "%!PS\n", "held", {}, "application/vnd.cups-raw");
    ASSERT_TRUE(job) << job.error;
    auto attributes = kz::CupsJob::attributes(CUPS_HTTP_DEFAULT, job.id);
    ASSERT_TRUE(attributes);
    EXPECT_EQ(attributes->get("job-state"), kz::Value(IPP_JSTATE_HELD));

    ToolRun text = runKzpde("queue list");
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out, "NAME   SERVER               HOLD        LISTS FETCHED\n"
                        "Front  127.0.0.1:8631/Main  indefinite  " + fetched + "\n")
        << text.out;
    nlohmann::json json = listed();
    ASSERT_TRUE(json.is_array() && json.size() == 1) << json.dump();
    EXPECT_EQ(json[0], nlohmann::json::parse(R"({"name": "Front", "deviceURI": "kzps://127.0.0.1:8631/printers/Main?service-port=)" + port +
                                             R"(", "server": "127.0.0.1:8631", "host": "127.0.0.1", "ippPort": 8631,
                                                "printer": "Main", "servicePort": )" + port +
                                             R"(, "hold": "indefinite", "listsFetched": ")" + fetched + "\"}"));
}

TEST_F(Queue, AServerWithoutThePrintServiceStillGetsAQueue) {
    ToolRun err = errorsOf("queue add Back --server 127.0.0.1 --service-port 9");
    ASSERT_EQ(err.status, 0) << err.out << cups->errorLog();
    EXPECT_EQ(std::count(err.out.begin(), err.out.end(), '\n'), 1) << err.out;
    EXPECT_NE(err.out.find("warning: no server lists"), std::string::npos) << err.out;
    auto q = queueNamed("Back");
    ASSERT_TRUE(q);
    EXPECT_EQ(q->deviceURI, "kzps://127.0.0.1/printers/KZPrintServer?service-port=9");
    EXPECT_EQ(q->holdUntil, "no-hold");
    EXPECT_EQ(CupsTestDaemon::queuePpd("Back").find("KZListsFetched"), std::string::npos);
    // A queue of the old address form and one made from the product PPD by
    // lpadmin are the product's too; a queue of another model is not.
    ASSERT_TRUE(cups->addQueue("Old", kProductPpd)) << cups->error();
    ASSERT_EQ(cups->run({"lpadmin", "-p", "Old", "-v", "ipp://printhost.example:8631/printers/KZ"}), 0);
    ASSERT_EQ(cups->run({"lpadmin", "-p", "Other", "-E", "-v", "file:/dev/null"}), 0);
    ToolRun text = runKzpde("queue list");
    EXPECT_EQ(text.out, "NAME  SERVER                     HOLD     LISTS FETCHED\n"
                        "Back  127.0.0.1/KZPrintServer    no-hold  never\n"
                        "Old   printhost.example:8631/KZ  no-hold  never\n")
        << text.out;
    nlohmann::json json = listed();
    ASSERT_EQ(json.size(), 2u);
    EXPECT_TRUE(json[0]["listsFetched"].is_null());
    EXPECT_EQ(json[0]["servicePort"], 9);
    EXPECT_EQ(json[1]["host"], "printhost.example");
    EXPECT_EQ(json[1]["ippPort"], 8631);
}

TEST_F(Queue, BadInputIsRefusedInOneLineAndMakesNothing) {
    ASSERT_EQ(runKzpde("queue add Kept --server 127.0.0.1 --service-port 9").status, 0);
    const std::string keptUri = queueNamed("Kept")->deviceURI;
    for (const char* args : {"queue add 'a b' --server h", "queue add a/b --server h", "queue add \"a#b\" --server h",
                             "queue add Kept --server 127.0.0.2 --service-port 9",  // exists
                             "queue add kept --server 127.0.0.2 --service-port 9",  // CUPS names ignore case
                             "queue add N --server h --colour", "queue add N", "queue add --server h",
                             "queue add N M --server h", "queue add N --server", "queue add N --server '[::1'",
                             "queue add N --server 'h:0'", "queue add N --server 'h x'", "queue add N --server h --service-port 70000",
                             "queue add N --server h --printer 'a/b'", "queue add N --server h --server g",
                             "queue remove", "queue remove Nothing", "queue remove --json", "queue list --text"}) {
        ToolRun err = errorsOf(args);
        EXPECT_EQ(err.status, 1) << args << "\n" << err.out;
        EXPECT_EQ(std::count(err.out.begin(), err.out.end(), '\n'), 1) << args << "\n" << err.out;
        EXPECT_TRUE(err.out.starts_with("kzpde queue ")) << err.out;
    }
    auto queues = kz::CupsQueueAdmin::queues(CUPS_HTTP_DEFAULT, nullptr);
    ASSERT_TRUE(queues);
    ASSERT_EQ(queues->size(), 1u);
    EXPECT_EQ(queues->front().deviceURI, keptUri);
    // Queues of other makes are lpadmin's to delete.
    ASSERT_EQ(cups->run({"lpadmin", "-p", "Other", "-E", "-v", "file:/dev/null"}), 0);
    ToolRun err = errorsOf("queue remove Other");
    EXPECT_EQ(err.status, 1);
    EXPECT_NE(err.out.find("no queue of the product"), std::string::npos) << err.out;
    EXPECT_TRUE(queueNamed("Other"));
}

TEST_F(Queue, WhatTheSchedulerRefusesLeavesNoQueueBehind) {
    // Without the product's backend the scheduler refuses the device
    // address after it has made the queue.
    installBackends(false);
    ToolRun err = errorsOf("queue add Half --server 127.0.0.1 --service-port 9");
    installBackends(true);
    EXPECT_EQ(err.status, 1);
    EXPECT_NE(err.out.find("the scheduler refused the queue Half: "), std::string::npos) << err.out;
    EXPECT_FALSE(queueNamed("Half")) << "a half-made queue stayed";
}

TEST_F(Queue, RemoveDeletesAProductQueue) {
    ASSERT_EQ(runKzpde("queue add Gone --server 127.0.0.1 --service-port 9").status, 0);
    ToolRun r = runKzpde("queue remove gone", true);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "removed the queue Gone\n");
    EXPECT_FALSE(queueNamed("Gone"));
    EXPECT_EQ(runKzpde("queue list").out, "NAME  SERVER  HOLD  LISTS FETCHED\n");
    EXPECT_EQ(listed(), nlohmann::json::array());
}

TEST_F(Queue, WorksOnASchedulerReachedOverTcp) {
    ASSERT_GT(cups->tcpPort(), 0);
    kztest::PrintServiceSimulator server(kztest::samplePrinter());
    const std::string socket = cups->socketPath();
    ::setenv("CUPS_SERVER", ("127.0.0.1:" + std::to_string(cups->tcpPort())).c_str(), 1);
    ToolRun added = runKzpde("queue add Remote --server 127.0.0.1 --service-port " + std::to_string(server.port()), true);
    ToolRun text = runKzpde("queue list");
    ToolRun removed = runKzpde("queue remove Remote", true);
    ToolRun again = runKzpde("queue add Remote2 --server 127.0.0.1 --service-port 9", true);
    // Nobody listens there: the tool goes where CUPS_SERVER says, not to
    // the socket.
    ::setenv("CUPS_SERVER", "127.0.0.1:9", 1);
    ToolRun nobody = runKzpde("queue list", true);
    ::setenv("CUPS_SERVER", socket.c_str(), 1);
    EXPECT_EQ(added.status, 0) << added.out << cups->errorLog();
    EXPECT_NE(text.out.find("Remote  127.0.0.1/KZPrintServer  no-hold  20"), std::string::npos) << text.out;
    EXPECT_EQ(removed.status, 0) << removed.out;
    EXPECT_EQ(again.status, 0) << again.out;
    EXPECT_FALSE(queueNamed("Remote"));
    EXPECT_TRUE(queueNamed("Remote2"));
    EXPECT_EQ(nobody.status, 1) << nobody.out;
}

TEST_F(Queue, RefreshAsksTheServicePortTheAddressNames) {
    kztest::PrintServiceSimulator server(kztest::samplePrinter());
    const std::string uri = "kzps://127.0.0.1:8631/printers/KZPrintServer?service-port=" + std::to_string(server.port());
    ASSERT_TRUE(cups->addQueue("Refreshed", kProductPpd)) << cups->error();
    ASSERT_EQ(cups->run({"lpadmin", "-p", "Refreshed", "-v", uri}), 0) << cups->errorLog();
    ToolRun r = runKzpde("server refresh --printer Refreshed", true);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("print server: 127.0.0.1 (from the device address " + uri + ")"), std::string::npos) << r.out;
    EXPECT_FALSE(server.requests().empty());
    nlohmann::json json = listed();
    ASSERT_EQ(json.size(), 1u);
    EXPECT_TRUE(json[0]["listsFetched"].is_string()) << json.dump();
}

TEST_F(Queue, PrintNamesTheJobAsThePanelNamesIt) {
    ASSERT_TRUE(cups->addQueue("Plain", kProductPpd)) << cups->error();
    const std::string doc = ::testing::TempDir() + "/doc.ps";
    std::ofstream(doc) << "%!PS\nshowpage\n";
    auto jobName = [&](const std::string& args) {
        ToolRun r = runKzpde("print " + doc + " --printer Plain " + args + " --json");
        EXPECT_EQ(r.status, 0) << args;
        nlohmann::json out = nlohmann::json::parse(r.out, nullptr, false);
        const int id = out.is_object() ? out.value("jobId", 0) : 0;
        auto attributes = kz::CupsJob::attributes(CUPS_HTTP_DEFAULT, id);
        return attributes ? attributes->get("job-name").stringValue() : std::string("(no job)");
    };
    EXPECT_EQ(jobName(""), "doc.ps");
    EXPECT_EQ(jobName("--job-name auto"), "doc.ps");
    EXPECT_EQ(jobName("--job-name 'Monthly report, 3 copies'"), "Monthly report, 3 copies");
    // A name saved with the settings names the job too.
    const std::string settings = ::testing::TempDir() + "/named.plist";
    ASSERT_EQ(runKzpde("options --job-name Saved --write-settings " + settings).status, 0);
    EXPECT_EQ(jobName("--settings " + settings), "Saved");
    // 100 characters the dialog takes are 300 bytes: the job keeps the first
    // 85 whole characters instead of being refused.
    std::string japanese;
    for (int i = 0; i < 100; ++i) japanese += "\xE5\x90\x8D";  // 名
    EXPECT_EQ(jobName("--job-name " + japanese), japanese.substr(0, 255));
}

}  // namespace
