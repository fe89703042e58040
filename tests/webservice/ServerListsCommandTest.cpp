// `kzpde server lists` as a script sees it: the exit status tells whether
// every list came, standard error says which did not and why.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "HostileServer.h"
#include "PrintServiceSimulator.h"
#include "SamplePrinter.h"
#include "platform/foundation/PropertyList.h"

using kztest::HostileServer;

namespace {

const std::string kTool = KZ_BINARY_DIR "/apps/kzpde/kzpde";

struct ToolResult {
    int status = -1;
    std::string out, err;
};

ToolResult serverLists(int port, const std::string& more) {
    // Tests of this file run in processes side by side: each its own file.
    const std::string errFile = testing::TempDir() + "kz-server-lists-" + std::to_string(::getpid()) + ".err";
    const std::string command =
        kTool + " server lists --host 127.0.0.1 --port " + std::to_string(port) + " " + more + " 2>" + errFile;
    ToolResult r;
    FILE* p = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; p && (n = fread(buffer, 1, sizeof buffer, p)) > 0;) r.out.append(buffer, n);
    const int raw = p ? pclose(p) : -1;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::stringstream err;
    err << std::ifstream(errFile).rdbuf();
    r.err = err.str();
    std::remove(errFile.c_str());
    return r;
}

std::size_t lineCount(const std::string& text) {
    std::size_t n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

bool haveTool() { return std::ifstream(kTool).good(); }

}  // namespace

TEST(ServerListsCommand, EveryMisbehavingServerFailsTheRunWithOneReasonPerList) {
    if (!haveTool()) GTEST_SKIP() << "kzpde not built";
    // The servers that end their replies get time enough for both lists on a
    // busy machine; those that never end are given up at a short deadline.
    struct Case {
        HostileServer::Kind kind;
        const char* reason;
        const char* timeout;
    };
    for (const Case& c : {Case{HostileServer::Kind::Garbage, "not SOAP", "60"}, Case{HostileServer::Kind::Reset, "cut off", "60"},
                          Case{HostileServer::Kind::Endless, "too large", "60"},
                          Case{HostileServer::Kind::Trickle, "timed out", "2"},
                          Case{HostileServer::Kind::Silent, "timed out", "2"}}) {
        HostileServer server(c.kind);
        const ToolResult r =
            serverLists(server.port(), std::string("--list FeederInfoList --list Font --timeout ") + c.timeout);
        EXPECT_EQ(r.status, 1) << c.reason << "\n" << r.err;
        const std::string from = " from 127.0.0.1:" + std::to_string(server.port()) + ": ";
        EXPECT_EQ(r.err, "kzpde server lists: FeederInfoList" + from + c.reason + "\nkzpde server lists: Font" + from +
                             c.reason + "\n");
        // What did come is still printed: here, nothing.
        EXPECT_EQ(kz::PropertyList::read(r.out), kz::Value(kz::Dictionary{})) << r.out;
    }
    const ToolResult refused = serverLists(HostileServer::closedPort(), "--timeout 2");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(lineCount(refused.err), 18u) << refused.err;
    EXPECT_NE(refused.err.find("CalibFile from 127.0.0.1:"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find(": refused\n"), std::string::npos) << refused.err;
}

TEST(ServerListsCommand, ListsThatCameArePrintedBesideTheFailure) {
    if (!haveTool()) GTEST_SKIP() << "kzpde not built";
    kz::Dictionary printer = kztest::samplePrinter();
    printer.set("status", kz::Dictionary{{"getFeederInfoList", kz::Value("Error")}});
    kztest::PrintServiceSimulator server(printer);
    const ToolResult r = serverLists(server.port(), "--list FeederInfoList --list JobResource-FORM");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kzpde server lists: FeederInfoList from 127.0.0.1:" + std::to_string(server.port()) +
                         ": error status\n");
    kz::Value lists = kz::PropertyList::read(r.out);
    ASSERT_TRUE(lists.isDictionary()) << r.out;
    EXPECT_EQ(lists.dictionary().size(), 1u);
    EXPECT_TRUE(lists.dictionary().get("JobResource-FORM").isArray());

    // All well: exit 0 and nothing on standard error.
    const ToolResult good = serverLists(server.port(), "--list JobResource-FORM --timeout 30");
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.err, "");
}

TEST(ServerListsCommand, ABadTimeoutIsAUsageError) {
    if (!haveTool()) GTEST_SKIP() << "kzpde not built";
    for (const char* bad : {"0", "-1", "soon", "1e9", "nan"})
        EXPECT_EQ(serverLists(1, std::string("--timeout ") + bad).status, 2) << bad;
}
