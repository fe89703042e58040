// The tool's writes of favorites and print settings killed (SIGKILL, as
// kill -9) at each of their steps in turn, and two tools writing one
// favorite folder at once: no favorite is lost, half made or listed twice.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "TempFolder.h"
#include "engine/favorites/FavoriteFile.h"
#include "platform/foundation/PropertyList.h"

namespace {

namespace kzp = ComTORVALEKZ2R4_Plugin;
namespace fs = std::filesystem;

struct ChildRun {
    bool killed = false;
    int status = -1;
    std::string out;
};

class FavoriteCrash : public ::testing::Test {
protected:
    // The tool with ARGS, killed at its CRASH_STEP-th write step when that is
    // not 0; INPUT is its standard input.
    ChildRun run(const std::string& args, long crashStep = 0, const std::string& input = {}) const {
        std::string command = (input.empty() ? "" : "printf '%s' '" + input + "' | ") + "exec env XDG_CONFIG_HOME=" +
                              _config.path() + " XDG_DATA_HOME=" + _data.path() +
                              (crashStep ? " KZ_TEST_CRASH_AT_STEP=" + std::to_string(crashStep) : "") + " " +
                              KZ_BINARY_DIR + "/apps/kzpde/kzpde " + args + " 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        ChildRun r;
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) r.out.append(buffer, n);
        int status = pclose(pipe);
        // The shell of a pipeline reports its last command's death as 128 + 9.
        r.killed = (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) || (WIFEXITED(status) && WEXITSTATUS(status) == 137);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return r;
    }
    std::string folder() const { return _config.path() + "/TORVALE/KZPrintServer/R4/favorite"; }
    std::string path(const std::string& name) const { return kzp::FavoriteFile::pathWithName(name, folder()); }

    // A favorite whose one option tells which it is.
    void put(const std::string& name, const std::string& origin, const std::string& comment = {}) const {
        kzp::FavoriteFile file;
        file.setOptions(kz::Dictionary{{"Origin", kz::Value(origin)}});
        file.setComment(comment);
        ASSERT_TRUE(file.writeToFile(path(name)));
    }
    void resetFolder() const {
        fs::remove_all(folder());
        fs::remove_all(_data.path() + "/Trash");
        fs::create_directories(folder());
    }
    static std::string originOf(const std::string& file) {
        kzp::FavoriteFile favorite(file);
        return favorite.options() ? favorite.options()->get("Origin").stringValue() : "(unreadable)";
    }
    // What `favorite list` shows (name -> comment), the folder tidied by it.
    std::map<std::string, std::string> listed() const {
        ChildRun r = run("favorite list");
        EXPECT_EQ(r.status, 0);
        std::map<std::string, std::string> names;
        std::istringstream lines(r.out);
        std::string line;
        while (std::getline(lines, line)) {
            if (line.starts_with("folder: ")) continue;
            std::size_t tab = line.find('\t');
            names[line.substr(0, tab)] = tab == std::string::npos ? "" : line.substr(tab + 1);
        }
        return names;
    }
    // Every name in the favorite folder but its lock file.
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder()))
            if (entry.path().filename() != ".kzpde.lock") names.insert(entry.path().filename().string());
        return names;
    }

    TempFolder _config, _data;
};

}  // namespace

TEST_F(FavoriteCrash, AFavoriteWrittenOverAnotherIsTheOldOrTheNewOneAfterAKillAtAnyStep) {
    resetFolder();
    put("Daily", "daily", "kept");
    put("Weekly", "weekly", "old");
    const std::string daily = originOf(path("Daily"));
    int kills = 0;
    for (long step = 1; step < 40; ++step) {
        ChildRun r = run("favorite write Weekly --comment new", step, R"({"Origin": "rewritten"})");
        std::map<std::string, std::string> now = listed();
        ASSERT_EQ(now.size(), 2u) << "step " << step << ":\n" << r.out;
        EXPECT_EQ(now["Daily"], "kept");
        EXPECT_EQ(originOf(path("Daily")), daily);
        const std::string weekly = originOf(path("Weekly"));
        EXPECT_TRUE((now["Weekly"] == "old" && weekly == "weekly") || (now["Weekly"] == "new" && weekly == "rewritten"))
            << "step " << step << ": " << now["Weekly"] << " " << weekly;
        EXPECT_EQ(entries(), (std::set<std::string>{"Daily.pfj", "Weekly.pfj"})) << "step " << step;
        if (!r.killed) {
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(weekly, "rewritten");
            break;
        }
        ++kills;
        put("Weekly", "weekly", "old");
    }
    EXPECT_GE(kills, 3);
}

// Two favorites trading names and a third renamed: each file is found under
// its old or its new name, none twice, none missing, none hidden.
TEST_F(FavoriteCrash, RenamesKilledAtAnyStepLoseNoFavorite) {
    int kills = 0;
    for (long step = 1; step < 60; ++step) {
        resetFolder();
        put("Alpha", "alpha");
        put("Beta", "beta");
        put("Gamma", "gamma");
        ChildRun r = run("favorite manage --rename Alpha=Swap --rename Beta=Alpha --rename Swap=Beta --rename Gamma=Delta --ok",
                    step);
        std::map<std::string, std::string> now = listed();
        std::map<std::string, std::string> origins;
        for (const auto& [name, comment] : now) origins[originOf(path(name))] = name;
        ASSERT_EQ(now.size(), 3u) << "step " << step;
        ASSERT_EQ(origins.size(), 3u) << "step " << step;
        EXPECT_TRUE(origins["alpha"] == "Alpha" || origins["alpha"] == "Beta") << origins["alpha"];
        EXPECT_TRUE(origins["beta"] == "Beta" || origins["beta"] == "Alpha") << origins["beta"];
        EXPECT_TRUE(origins["gamma"] == "Gamma" || origins["gamma"] == "Delta") << origins["gamma"];
        std::set<std::string> files;
        for (const auto& [name, comment] : now) files.insert(name + ".pfj");
        EXPECT_EQ(entries(), files) << "step " << step << ": the journal or a hidden file is left";
        if (!r.killed) {
            EXPECT_EQ(r.status, 0) << r.out;
            EXPECT_EQ(origins["alpha"], "Beta");
            EXPECT_EQ(origins["beta"], "Alpha");
            EXPECT_EQ(origins["gamma"], "Delta");
            break;
        }
        ++kills;
    }
    EXPECT_GE(kills, 8);
}

// An import arrives whole or not at all; a deleted favorite is in the folder
// or in the trash with its information, never half in neither.
TEST_F(FavoriteCrash, ImportsAndDeletionsKilledAtAnyStepAreWholeOrNotDone) {
    TempFolder elsewhere;
    const std::string outside = elsewhere.path() + "/Imported.pfj";
    {
        // Large enough that a half-written copy would show.
        kz::Dictionary options{{"Origin", kz::Value(std::string("imported"))}};
        for (int i = 0; i < 40; ++i) options.set("Option" + std::to_string(i), kz::Value(std::string(100, 'i')));
        kzp::FavoriteFile file;
        file.setOptions(options);
        ASSERT_TRUE(file.writeToFile(outside));
    }
    int kills = 0;
    for (long step = 1; step < 40; ++step) {
        resetFolder();
        put("Alpha", "alpha");
        ChildRun r = run("favorite manage --import " + outside + " --delete Alpha --ok", step);
        std::map<std::string, std::string> now = listed();
        if (now.contains("Imported")) {
            kzp::FavoriteFile copy(path("Imported"));
            ASSERT_TRUE(copy.options()) << "step " << step;
            EXPECT_EQ(copy.options()->size(), 41u) << "step " << step;
        }
        const std::string trashed = _data.path() + "/Trash/files/Alpha.pfj";
        EXPECT_NE(now.contains("Alpha"), fs::exists(trashed)) << "step " << step;
        if (fs::exists(trashed)) {
            EXPECT_EQ(originOf(trashed), "alpha");
            EXPECT_TRUE(fs::file_size(_data.path() + "/Trash/info/Alpha.pfj.trashinfo") > 0);
        }
        std::set<std::string> files;
        for (const auto& [name, comment] : now) files.insert(name + ".pfj");
        EXPECT_EQ(entries(), files) << "step " << step;
        if (!r.killed) {
            EXPECT_EQ(r.status, 0) << r.out;
            EXPECT_EQ(now, (std::map<std::string, std::string>{{"Imported", ""}}));
            break;
        }
        ++kills;
    }
    EXPECT_GE(kills, 4);
}

TEST_F(FavoriteCrash, PrintSettingsWrittenOverOldOnesAreOneOrTheOtherWhole) {
    TempFolder out;
    const std::string settings = out.path() + "/saved.plist";
    ASSERT_EQ(run("options --write-settings " + settings).status, 0);
    const kz::Value before = kz::PropertyList::readFile(settings);
    ASSERT_TRUE(before.isDictionary());
    kz::Value after;
    int kills = 0;
    for (long step = 1; step < 40; ++step) {
        ChildRun r = run("options --settings " + settings + " --set DuplexMode=DuplexNoTumble --write-settings " + settings,
                    step);
        kz::Value now = kz::PropertyList::readFile(settings);
        ASSERT_TRUE(now.isDictionary()) << "step " << step;
        if (!r.killed) {
            ASSERT_EQ(r.status, 0);
            EXPECT_NE(now, before);
            break;
        }
        ++kills;
        if (now != before) {
            // Replaced whole just before the kill: the next round starts over.
            after = now;
            ASSERT_EQ(run("options --write-settings " + settings).status, 0);
        }
    }
    EXPECT_GE(kills, 3);
    EXPECT_FALSE(after.isNull()) << "no kill came after the new file was in place";
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), {}), 1) << "a temporary is left";
}

// Two tools save favorites into one folder at once while a third renames
// one there: every favorite arrives.
TEST_F(FavoriteCrash, ToolsWritingOneFolderAtOnceLoseNoWrite) {
    resetFolder();
    put("Old", "old");
    const std::string tool = std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde";
    std::string script = "export XDG_CONFIG_HOME=" + _config.path() + "; ";
    for (const char* who : {"First", "Second"})
        script += "(for i in 1 2 3 4 5 6; do echo '{\"Origin\": \"" + std::string(who) + "'$i'\"}' | " + tool +
                  " favorite write " + who + "$i >/dev/null 2>&1; done) & ";
    script += tool + " favorite manage --rename Old=New --ok >/dev/null 2>&1 & wait";
    FILE* shell = popen("sh", "w");
    ASSERT_TRUE(shell);
    std::fputs(script.c_str(), shell);
    ASSERT_EQ(pclose(shell), 0);
    std::map<std::string, std::string> now = listed();
    EXPECT_EQ(now.size(), 13u);
    for (const char* who : {"First", "Second"})
        for (int i = 1; i <= 6; ++i) {
            std::string name = who + std::to_string(i);
            EXPECT_TRUE(now.contains(name)) << name;
            EXPECT_EQ(originOf(path(name)), name);
        }
    EXPECT_TRUE(now.contains("New"));
    EXPECT_EQ(originOf(path("New")), "old");
}
