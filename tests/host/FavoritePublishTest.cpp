// `kzpde favorite publish`: a favorite as the lpoptions instance QUEUE/NAME
// of a private scheduler, which `lp -d QUEUE/NAME` then prints with: root's
// in the system file (the daemon's server root) for every user, another
// user's in their home, the rest of the file kept, replaced all at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "../support/CupsTestDaemon.h"
#include "../support/ToolRun.h"
#include "platform/printing/CupsJob.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The line of destination DEST in lpoptions TEXT ("Dest DEST ..."), empty without one.
std::string lineOf(const std::string& text, const std::string& dest) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("Dest " + dest + " ", 0) == 0) return line;
    return {};
}

class FavoritePublish : public ::testing::Test {
protected:
    void SetUp() override {
        cups = CupsTestDaemon::shared();
        if (!cups->running()) GTEST_SKIP() << "no private cupsd: " << cups->error();
        const std::string ppd = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd";
        ASSERT_TRUE(cups->addQueue("KZPub", ppd)) << cups->error();
        // The daemon's empty home holds the favorites; root's instances go
        // into the daemon's server root, anyone else's into the home.
        ::unsetenv("XDG_CONFIG_HOME");
        favorites = fs::path(std::getenv("HOME")) / ".config/TORVALE/KZPrintServer/R4/favorite";
        fs::create_directories(favorites);
        homeLpoptions = fs::path(std::getenv("HOME")) / ".cups/lpoptions";
        systemLpoptions = fs::path(std::getenv("CUPS_SERVERROOT")) / "lpoptions";
        lpoptions = ::geteuid() == 0 ? systemLpoptions : homeLpoptions;
        document = fs::path(::testing::TempDir()) / ("kz-publish-" + std::to_string(::getpid()) + ".ps");
        std::ofstream(document) << "%!PS\nshowpage\n";
    }
    void TearDown() override {
        if (!cups || !cups->running()) return;
        fs::remove_all(favorites);
        fs::remove(homeLpoptions);
        fs::remove(systemLpoptions);
        fs::remove(document);
        if (!otherHome.empty()) fs::remove_all(otherHome);
    }

    void writeFavorite(const std::string& name, const std::string& options) {
        std::ofstream(favorites / (name + ".pfj"), std::ios::binary) << "2\n4\n0\nComment=\n" << options;
    }
    // `lp -d DESTINATION`: the job's attributes on the scheduler.
    kz::Dictionary lp(const std::string& destination) {
        std::string out;
        EXPECT_EQ(cups->run({"lp", "-d", destination, document.string()}, &out), 0) << out;
        std::string error;
        auto attributes = kz::CupsJob::attributes(CUPS_HTTP_DEFAULT, cups->lastJobId(), &error);
        EXPECT_TRUE(attributes) << error;
        return attributes.value_or(kz::Dictionary{});
    }
    static std::string value(const kz::Dictionary& job, const std::string& name) {
        const kz::Value* v = job.find(name);
        return v ? v->stringValue() : std::string();
    }

    // A home of the unprivileged user "nobody", with the favorite NAME.
    fs::path makeOtherHome(const std::string& name, const std::string& options) {
        std::string pattern = (fs::path(::testing::TempDir()) / "kz-nobody-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return {};
        otherHome = pattern;
        const fs::path folder = otherHome / ".config/TORVALE/KZPrintServer/R4/favorite";
        fs::create_directories(folder);
        std::ofstream(folder / (name + ".pfj"), std::ios::binary) << "2\n4\n0\nComment=\n" << options;
        for (const auto& entry : fs::recursive_directory_iterator(otherHome))
            EXPECT_EQ(::chown(entry.path().c_str(), 65534, 65534), 0);
        EXPECT_EQ(::chown(otherHome.c_str(), 65534, 65534), 0);
        return otherHome;
    }
    // COMMAND run as "nobody" with its own home; output and status.
    ToolRun asNobody(const std::string& command) {
        return runShell("setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=" + otherHome.string() + " " +
                        command + " 2>&1");
    }

    CupsTestDaemon* cups = nullptr;
    fs::path favorites, lpoptions, homeLpoptions, systemLpoptions, document, otherHome;
};

TEST_F(FavoritePublish, LpWithThePublishedInstanceSendsTheFavoritesJobOptions) {
    writeFavorite("Staple", "SP_STAPLEMO=1\t\tSP_OFFSETMO=1\t\tSP_DUPLEXMO=1\t\t");
    ToolRun published = runKzpde("favorite publish Staple --printer KZPub", true);
    ASSERT_EQ(published.status, 0) << published.out;
    EXPECT_EQ(published.out.rfind("published KZPub/Staple in " + lpoptions.string() + "\n", 0), 0u) << published.out;
    EXPECT_NE(readFile(lpoptions).find("KZPub/Staple "), std::string::npos) << readFile(lpoptions);

    // What `kzpde print --favorite` sends, option for option.
    ToolRun printed = runKzpde("print " + document.string() + " --printer KZPub --favorite Staple --json");
    ASSERT_EQ(printed.status, 0) << printed.out;
    const auto sent = nlohmann::json::parse(printed.out)["jobOptions"];
    ASSERT_TRUE(sent.is_object()) << printed.out;
    kz::Dictionary job = lp("KZPub/Staple");
    EXPECT_EQ(value(job, "StapleMode"), "TopLeftCorner");
    EXPECT_EQ(value(job, "OffsetMode"), "PerJob");
    EXPECT_EQ(value(job, "DuplexMode"), "DuplexNoTumble");
    // An empty text is left out, not turned into "True" by lpoptions.
    for (const auto& [name, v] : sent.items()) {
        if (name == "copies" || name == "Collate") continue;  // typed by libcups either way
        EXPECT_EQ(value(job, name), v.get<std::string>()) << name;
    }

    // Published again after the favorite changed: the instance follows,
    // and what the favorite no longer holds is gone from it.
    writeFavorite("Staple", "SP_STAPLEMO=2\t\t");
    ASSERT_EQ(runKzpde("favorite publish Staple --printer KZPub").status, 0);
    job = lp("KZPub/Staple");
    EXPECT_EQ(value(job, "StapleMode"), "TopRightCorner");
    EXPECT_EQ(value(job, "OffsetMode"), "");
    EXPECT_EQ(value(job, "DuplexMode"), "");

    // Removed: the queue is left as it was, the instance is no destination.
    ToolRun removed = runKzpde("favorite publish Staple --printer KZPub --remove");
    ASSERT_EQ(removed.status, 0) << removed.out;
    EXPECT_EQ(removed.out, "removed KZPub/Staple from " + lpoptions.string() + "\n");
    EXPECT_EQ(readFile(lpoptions).find("KZPub/Staple"), std::string::npos) << readFile(lpoptions);
    EXPECT_EQ(value(lp("KZPub/Staple"), "StapleMode"), "");
    EXPECT_EQ(value(lp("KZPub"), "StapleMode"), "");
}

TEST_F(FavoritePublish, WhatCannotBePublishedIsRefusedWithItsReasonAndChangesNothing) {
    writeFavorite("Keep", "SP_STAPLEMO=1\t\t");
    ASSERT_EQ(runKzpde("favorite publish Keep --printer KZPub").status, 0);
    const std::string before = readFile(lpoptions);

    ToolRun missing = runKzpdeErrors("favorite publish Nothing --printer KZPub");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "kzpde favorite publish: there is no favorite named 'Nothing'\n");

    // Stapling into the stacker tray: the rules ask which to give up.
    writeFavorite("Conflict", "SP_STAPLEMO=1\t\tSP_OUTPUTTR=1\t\t");
    ToolRun refused = runKzpdeErrors("favorite publish Conflict --printer KZPub");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("does not pass the panel's rules: The following properties cannot be set at the same time."),
              std::string::npos)
        << refused.out;

    writeFavorite("Two words", "SP_STAPLEMO=1\t\t");
    ToolRun spaced = runKzpdeErrors("favorite publish 'Two words' --printer KZPub");
    EXPECT_EQ(spaced.status, 1);
    EXPECT_NE(spaced.out.find("cannot hold spaces"), std::string::npos) << spaced.out;

    EXPECT_EQ(runKzpdeErrors("favorite publish Keep --printer NoSuchQueue").status, 1);
    EXPECT_EQ(runKzpdeErrors("favorite publish Gone --printer KZPub --remove").status, 1);
    EXPECT_EQ(runKzpdeErrors("favorite publish Keep --printer KZPub/Keep").status, 2);
    EXPECT_EQ(runKzpdeErrors("favorite publish Keep").status, 2);
    EXPECT_EQ(readFile(lpoptions), before);
}

// Root publishes for everyone: the system file, which every user's libcups
// reads; the rest of it stays, root's own file is neither read nor touched.
TEST_F(FavoritePublish, AsRootTheInstanceGoesIntoTheSystemFileForEveryUserAndTheRestStays) {
    if (::geteuid() != 0) GTEST_SKIP() << "publishing into the system file is root's";
    const std::string others = "Dest KZPub/Other StapleMode=TopRightCorner\nDefault KZPub/Other\nDest Gone/Kept a=1\n";
    std::ofstream(systemLpoptions) << others;
    fs::create_directories(homeLpoptions.parent_path());
    std::ofstream(homeLpoptions) << "Dest KZPub/Mine OffsetMode=PerJob\n";
    writeFavorite("Staple", "SP_STAPLEMO=1\t\t");

    // $PRINTER would make libcups write a default of its own: it must not.
    ToolRun published = runShell("PRINTER=KZPub " + std::string(KZ_BINARY_DIR) +
                                 "/apps/kzpde/kzpde favorite publish Staple --printer KZPub 2>&1");
    ASSERT_EQ(published.status, 0) << published.out;
    EXPECT_EQ(published.out.rfind("published KZPub/Staple in " + systemLpoptions.string() + "\n", 0), 0u) << published.out;
    const std::string text = readFile(systemLpoptions);
    EXPECT_NE(lineOf(text, "KZPub/Staple").find(" StapleMode=TopLeftCorner "), std::string::npos) << text;
    EXPECT_NE(text.find("KZPub/Other StapleMode=TopRightCorner"), std::string::npos) << text;
    EXPECT_NE(text.find("Default KZPub/Other"), std::string::npos) << text;
    EXPECT_EQ(text.find("Default KZPub\n"), std::string::npos) << text;
    // A queue the scheduler does not list now keeps its line.
    EXPECT_NE(text.find("Dest Gone/Kept a=1\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Mine"), std::string::npos) << text;
    EXPECT_EQ(readFile(homeLpoptions), "Dest KZPub/Mine OffsetMode=PerJob\n");
    struct stat info {};
    ASSERT_EQ(::stat(systemLpoptions.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    // Another user, with no lpoptions of their own, prints with it.
    makeOtherHome("Unused", "");
    ToolRun lpRun = asNobody("lp -d KZPub/Staple " + document.string());
    ASSERT_EQ(lpRun.status, 0) << lpRun.out;
    std::string error;
    auto job = kz::CupsJob::attributes(CUPS_HTTP_DEFAULT, cups->lastJobId(), &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(value(*job, "StapleMode"), "TopLeftCorner");
    EXPECT_EQ(value(*job, "job-originating-user-name"), "nobody");

    // Removed: only its line goes.
    ASSERT_EQ(runKzpde("favorite publish Staple --printer KZPub --remove").status, 0);
    const std::string after = readFile(systemLpoptions);
    EXPECT_EQ(after.find("KZPub/Staple"), std::string::npos) << after;
    EXPECT_NE(after.find("Default KZPub/Other"), std::string::npos) << after;
    EXPECT_NE(after.find("Dest Gone/Kept a=1\n"), std::string::npos) << after;
}

// Anyone but root publishes into their own home, whatever the system holds.
TEST_F(FavoritePublish, AnotherUserPublishesIntoTheirOwnHomeAndTheSystemFileStays) {
    if (::geteuid() != 0) GTEST_SKIP() << "the other tests publish as this user already";
    const std::string system = "Dest KZPub/Other StapleMode=TopRightCorner\n";
    std::ofstream(systemLpoptions) << system;
    const fs::path home = makeOtherHome("Offset", "SP_OFFSETMO=1\t\t");
    ASSERT_FALSE(home.empty());
    ToolRun published =
        asNobody(std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde favorite publish Offset --printer KZPub");
    ASSERT_EQ(published.status, 0) << published.out;
    EXPECT_EQ(published.out.rfind("published KZPub/Offset in " + (home / ".cups/lpoptions").string() + "\n", 0), 0u)
        << published.out;
    EXPECT_NE(lineOf(readFile(home / ".cups/lpoptions"), "KZPub/Offset").find(" OffsetMode=PerJob"), std::string::npos)
        << readFile(home / ".cups/lpoptions");
    EXPECT_EQ(readFile(systemLpoptions), system);
    struct stat folder {};
    ASSERT_EQ(::stat((home / ".cups").c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(folder.st_uid, 65534u);

    ToolRun lpRun = asNobody("lp -d KZPub/Offset " + document.string());
    ASSERT_EQ(lpRun.status, 0) << lpRun.out;
    std::string error;
    auto job = kz::CupsJob::attributes(CUPS_HTTP_DEFAULT, cups->lastJobId(), &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(value(*job, "OffsetMode"), "PerJob");
}

// Killed at any step of the write, the file is the old or the new one whole.
TEST_F(FavoritePublish, AKilledPublishLeavesTheOldFileOrTheNewWhole) {
    writeFavorite("Staple", "SP_STAPLEMO=1\t\t");
    fs::create_directories(lpoptions.parent_path());
    const std::string old = "Dest KZPub/Other StapleMode=TopRightCorner\n";
    // The scratch folders killed runs leave go with the test's own.
    const fs::path tmp = fs::path(::testing::TempDir()) / ("kz-publish-tmp-" + std::to_string(::getpid()));
    fs::create_directories(tmp);
    const std::string command = "TMPDIR=" + tmp.string() + " " + std::string(KZ_BINARY_DIR) +
                                "/apps/kzpde/kzpde favorite publish Staple --printer KZPub >/dev/null 2>&1";
    std::string whole;
    int oldSeen = 0, newSeen = 0;
    for (int step = 1; step < 20; ++step) {
        std::ofstream(lpoptions, std::ios::trunc) << old;
        ToolRun killed = runShell("KZ_TEST_CRASH_AT_STEP=" + std::to_string(step) + " " + command + "; echo $?");
        const std::string text = readFile(lpoptions);
        if (killed.out != "137\n") {
            // The run got past every step: this is the new file.
            ASSERT_EQ(killed.out, "0\n");
            ASSERT_GT(step, 1);
            whole = text;
            break;
        }
        const bool isNew = lineOf(text, "KZPub/Other") == "Dest KZPub/Other StapleMode=TopRightCorner" &&
                           lineOf(text, "KZPub/Staple").find(" StapleMode=TopLeftCorner ") != std::string::npos;
        EXPECT_TRUE(text == old || isNew) << "step " << step << ": " << text;
        oldSeen += text == old;
        newSeen += isNew;
    }
    fs::remove_all(tmp);
    // Killed before the file was replaced, and after.
    EXPECT_GT(oldSeen, 0);
    EXPECT_GT(newSeen, 0);
    ASSERT_NE(whole.find("KZPub/Other StapleMode=TopRightCorner"), std::string::npos) << whole;
    ASSERT_NE(lineOf(whole, "KZPub/Staple").find(" StapleMode=TopLeftCorner "), std::string::npos) << whole;
}

// Publishers at once each read, change and replace the whole file: without
// one waiting for the other, the later write drops the earlier's instance.
TEST_F(FavoritePublish, PublishersAtOnceKeepEachOthersInstances) {
    writeFavorite("Staple", "SP_STAPLEMO=1\t\t");
    writeFavorite("Keep", "SP_STAPLEMO=1\t\t");
    const std::string tool = std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde favorite publish ";
    for (int round = 0; round < 4; ++round) {
        fs::remove(lpoptions);
        ToolRun both = runShell("(" + tool + "Staple --printer KZPub >/dev/null & " + tool +
                                "Keep --printer KZPub >/dev/null & wait) 2>&1; echo done");
        ASSERT_EQ(both.out, "done\n") << both.out;
        const std::string text = readFile(lpoptions);
        EXPECT_FALSE(lineOf(text, "KZPub/Staple").empty()) << "round " << round << ": " << text;
        EXPECT_FALSE(lineOf(text, "KZPub/Keep").empty()) << "round " << round << ": " << text;
    }
}

}  // namespace
