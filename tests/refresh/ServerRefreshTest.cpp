// `kzpde server refresh` as an administrator runs it: the lists of the print
// service simulator end up in the private scheduler's queue, or, when any
// step fails, the queue keeps the PPD it had.
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "../support/CupsTestDaemon.h"
#include "../support/ToolRun.h"
#include "Common/WebService/PrinterData.h"
#include "HostileServer.h"
#include "PrintServiceSimulator.h"
#include "SamplePrinter.h"
#include "platform/foundation/PropertyList.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

const std::string kProductPpd = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd";

// Every list a PPD text carries, decoded.
kz::Dictionary listsOf(const std::string& ppdText) {
    const std::string path = ::testing::TempDir() + "/kz-refresh-read.ppd";
    std::ofstream(path) << ppdText;
    kz::Dictionary lists;
    ppd_file_t* ppd = ppdOpenFile(path.c_str());
    if (!ppd) return lists;
    for (const std::string& name : kzp::PrinterData::runNames(ppd))
        if (auto bytes = kzp::PrinterData::read(ppd, name)) lists.set(name, kz::PropertyList::read(*bytes));
    ppdClose(ppd);
    ::unlink(path.c_str());
    return lists;
}

class ServerRefresh : public ::testing::Test {
protected:
    void SetUp() override {
        cups = CupsTestDaemon::shared();
        if (!cups->running()) GTEST_SKIP() << "no private cupsd: " << cups->error();
        ASSERT_TRUE(cups->addQueue("KZ", kProductPpd)) << cups->error();
    }
    CupsTestDaemon* cups = nullptr;
};

TEST_F(ServerRefresh, InstallsTheListsTheServerGives) {
    kztest::PrintServiceSimulator server(kztest::samplePrinter());
    ASSERT_GT(server.port(), 0);
    const std::string port = std::to_string(server.port());
    const std::string before = CupsTestDaemon::queuePpd("KZ");
    ASSERT_FALSE(before.empty());

    ToolRun r = runKzpde("server refresh --printer KZ --server 127.0.0.1 --port " + port, true);
    ASSERT_EQ(r.status, 0) << r.out << cups->errorLog();
    EXPECT_NE(r.out.find("print server: 127.0.0.1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("FeederInfoList: 3 rows"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("into the queue KZ"), std::string::npos) << r.out;

    // What the panel reads from the queue's PPD is what the server gave, in
    // the rows `kzpde server lists` prints; the options of the PPD stay.
    const std::string after = CupsTestDaemon::queuePpd("KZ");
    kz::Value fetched = kz::PropertyList::read(runKzpde("server lists --host 127.0.0.1 --port " + port).out);
    ASSERT_TRUE(fetched.isDictionary());
    EXPECT_EQ(kz::Value(listsOf(after)), fetched);
    EXPECT_NE(listsOf(before), listsOf(after));
    EXPECT_NE(after.find("*OpenUI *StapleMode"), std::string::npos);
    EXPECT_EQ(fetched.dictionary().get("FeederInfoList"),
              kz::Value(kz::Array{kz::Array{"1", "Number"}, kz::Array{"2", "Number"}, kz::Array{"5", "Number"}}));
}

TEST_F(ServerRefresh, TakesTheServerFromTheDeviceAddress) {
    kztest::PrintServiceSimulator server(kztest::samplePrinter());
    ASSERT_EQ(cups->run({"lpadmin", "-p", "KZ", "-v", "ipp://v1.127.0.0.1/printers/KZ"}), 0) << cups->errorLog();
    ToolRun r = runKzpde("server refresh --printer KZ --port " + std::to_string(server.port()), true);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("print server: 127.0.0.1 (from the device address ipp://v1.127.0.0.1/printers/KZ)"),
              std::string::npos)
        << r.out;
    EXPECT_FALSE(server.requests().empty());

    // An address that names no server wants --server.
    ASSERT_EQ(cups->run({"lpadmin", "-p", "KZ", "-v", "file:/dev/null"}), 0);
    r = runKzpde("server refresh --printer KZ --port " + std::to_string(server.port()), true);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("--server"), std::string::npos) << r.out;
}

TEST_F(ServerRefresh, KeepsTheOldPpdWhenAListDoesNotCome) {
    const std::string before = CupsTestDaemon::queuePpd("KZ");
    ASSERT_FALSE(before.empty());
    // Nobody listens on the discard port; then a server that answers with
    // faults, one whose replies are not XML, and one with an error status.
    ToolRun r = runKzpde("server refresh --printer KZ --server 127.0.0.1 --port 9", true);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("kzpde server refresh: StackerInfoList from 127.0.0.1:9: refused\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("18 of 18 lists did not come; the queue keeps its PPD"), std::string::npos) << r.out;
    EXPECT_TRUE(CupsTestDaemon::queuePpd("KZ") == before) << "the queue's PPD changed";
    // A server that never answers costs the deadline once.
    {
        kztest::HostileServer silent(kztest::HostileServer::Kind::Silent);
        r = runKzpde("server refresh --printer KZ --server 127.0.0.1 --timeout 1 --port " + std::to_string(silent.port()),
                     true);
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_NE(r.out.find("CalibFile from 127.0.0.1:" + std::to_string(silent.port()) + ": timed out"),
                  std::string::npos)
            << r.out;
        EXPECT_EQ(silent.connections(), 1);
        EXPECT_TRUE(CupsTestDaemon::queuePpd("KZ") == before) << "the queue's PPD changed";
    }
    for (int broken = 0; broken < 3; ++broken) {
        kz::Dictionary printer = kztest::samplePrinter();
        // The feeders' error status is one the client does not log.
        if (broken == 2) printer.set("status", kz::Dictionary{{"getFeederInfoList", kz::Value("Error")}});
        kztest::PrintServiceSimulator server(printer);
        if (broken < 2) (broken ? server.brokenXml : server.fault) = true;
        r = runKzpde("server refresh --printer KZ --server 127.0.0.1 --port " + std::to_string(server.port()), true);
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_TRUE(CupsTestDaemon::queuePpd("KZ") == before) << "the queue's PPD changed";
    }
}

// Puts a configuration on the scheduler, which restarts with it; true when it
// is running again.
bool reconfigure(CupsTestDaemon& cups, const std::string& conf) {
    const std::string path = ::testing::TempDir() + "/kz-cupsd.conf";
    std::ofstream(path) << conf;
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1, 30000, nullptr);
    if (!http) return false;
    const http_status_t put = cupsPutFile(http, "/admin/conf/cupsd.conf", path.c_str());
    httpClose(http);
    ::unlink(path.c_str());
    if (put != HTTP_STATUS_CREATED && put != HTTP_STATUS_OK) {
        ADD_FAILURE() << "PUT cupsd.conf: " << put << " " << cupsLastErrorString() << "\n" << cups.errorLog();
        return false;
    }
    for (int i = 0; i < 200; ++i) {
        std::string out;
        if (cups.run({"lpstat", "-r"}, &out) == 0 && out.find("is running") != std::string::npos &&
            !CupsTestDaemon::queuePpd("KZ").empty())
            return true;
        ::usleep(50000);
    }
    return false;
}

TEST_F(ServerRefresh, KeepsTheOldPpdWhenTheSchedulerRefusesIt) {
    const std::string confPath = cups->folder() + "/conf/cupsd.conf";
    std::stringstream original;
    original << std::ifstream(confPath).rdbuf();
    std::string refusing = original.str();
    const std::size_t at = refusing.find("  <Limit All>");
    ASSERT_NE(at, std::string::npos);
    refusing.insert(at, "  <Limit CUPS-Add-Modify-Printer>\n    AuthType Basic\n    Require user kz-nobody\n    Order deny,allow\n  </Limit>\n");
    ASSERT_TRUE(reconfigure(*cups, refusing)) << cups->errorLog();

    const std::string before = CupsTestDaemon::queuePpd("KZ");
    kztest::PrintServiceSimulator server(kztest::samplePrinter());
    // No terminal and no input: the scheduler's question for a password
    // finds nobody to answer it.
    ToolRun r = runKzpde("server refresh --printer KZ --server 127.0.0.1 --port " + std::to_string(server.port()) +
                             " </dev/null",
                         true);
    EXPECT_TRUE(reconfigure(*cups, original.str())) << cups->errorLog();
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("the scheduler refused the new PPD"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("installed"), std::string::npos) << r.out;
    EXPECT_TRUE(CupsTestDaemon::queuePpd("KZ") == before) << "the queue's PPD changed";
}

TEST_F(ServerRefresh, UsageAndMissingQueues) {
    EXPECT_EQ(runKzpde("server refresh").status, 2);
    EXPECT_EQ(runKzpde("server refresh --server h").status, 2);
    EXPECT_EQ(runKzpde("server refresh --printer KZ --port 0").status, 2);
    EXPECT_EQ(runKzpde("server refresh --printer KZ --printer KZ").status, 2);
    EXPECT_EQ(runKzpde("server refresh --printer NoSuchQueue --server 127.0.0.1 --port 9").status, 1);
    // A queue without a PPD has none to keep either, and is told so plainly.
    ASSERT_EQ(cups->run({"lpadmin", "-p", "NoPpd", "-E", "-v", "file:/dev/null"}), 0) << cups->errorLog();
    ToolRun r = runKzpde("server refresh --printer NoPpd --server 127.0.0.1 --port 9", true);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("the queue NoPpd has no PPD to keep the lists in\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("keeps its PPD"), std::string::npos) << r.out;
}

}  // namespace
