// `kzpde favorite publish`: a favorite as the lpoptions instance QUEUE/NAME
// of a private scheduler, which `lp -d QUEUE/NAME` then prints with.
#include <gtest/gtest.h>
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

class FavoritePublish : public ::testing::Test {
protected:
    void SetUp() override {
        cups = CupsTestDaemon::shared();
        if (!cups->running()) GTEST_SKIP() << "no private cupsd: " << cups->error();
        const std::string ppd = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd";
        ASSERT_TRUE(cups->addQueue("KZPub", ppd)) << cups->error();
        // The daemon's empty home holds the favorites and, as libcups writes
        // them where there is a home, the instances.
        ::unsetenv("XDG_CONFIG_HOME");
        favorites = fs::path(std::getenv("HOME")) / ".config/TORVALE/KZPrintServer/R4/favorite";
        fs::create_directories(favorites);
        lpoptions = fs::path(std::getenv("HOME")) / ".cups/lpoptions";
        document = fs::path(::testing::TempDir()) / ("kz-publish-" + std::to_string(::getpid()) + ".ps");
        std::ofstream(document) << "%!PS\nshowpage\n";
    }
    void TearDown() override {
        if (!cups || !cups->running()) return;
        fs::remove_all(favorites);
        fs::remove(lpoptions);
        fs::remove(document);
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

    CupsTestDaemon* cups = nullptr;
    fs::path favorites, lpoptions, document;
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

}  // namespace
