// `kzpde server refresh` killed at each of its steps: the queue keeps its old
// PPD or has the new one, and nothing of the tool's is left in the temporary
// folder (the PPD it fetched, the one it hands to the scheduler).
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <cups/ppd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../engine/TempFolder.h"
#include "../support/CupsTestDaemon.h"
#include "PrintServiceSimulator.h"
#include "SamplePrinter.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

const std::string kPpd = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd";

// The tool killed at its STEP-th write step: true when it was killed.
bool killedRefresh(const std::string& args, const std::string& tmpdir, long step, int* status) {
    std::string command = "exec env TMPDIR=" + tmpdir + " KZ_TEST_CRASH_AT_STEP=" + std::to_string(step) + " " +
                          KZ_BINARY_DIR + "/apps/kzpde/kzpde " + args + " >/dev/null 2>&1";
    int s = std::system(command.c_str());
    *status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    return (WIFSIGNALED(s) && WTERMSIG(s) == SIGKILL) || (WIFEXITED(s) && WEXITSTATUS(s) == 137);
}

}  // namespace

TEST(RefreshLeftovers, AKilledRefreshLeavesTheOldPpdAndNoFileBehind) {
    CupsTestDaemon* cups = CupsTestDaemon::shared();
    if (!cups->running()) GTEST_SKIP() << "no private cupsd: " << cups->error();
    ASSERT_TRUE(cups->addQueue("KZLeft", kPpd)) << cups->error();
    kztest::PrintServiceSimulator server(kztest::samplePrinter());
    const std::string before = CupsTestDaemon::queuePpd("KZLeft");
    ASSERT_FALSE(before.empty());
    TempFolder scratch;
    int kills = 0;
    for (long step = 1; step < 20; ++step) {
        int status = 0;
        bool killed = killedRefresh("server refresh --printer KZLeft --server 127.0.0.1 --port " +
                                        std::to_string(server.port()),
                                    scratch.path(), step, &status);
        EXPECT_TRUE(std::filesystem::is_empty(scratch.path())) << "step " << step << " left a file";
        if (!killed) {
            EXPECT_EQ(status, 0);
            break;
        }
        EXPECT_TRUE(CupsTestDaemon::queuePpd("KZLeft") == before) << "step " << step;
        ++kills;
    }
    EXPECT_GE(kills, 2);
    EXPECT_NE(CupsTestDaemon::queuePpd("KZLeft"), before);
}
