// What every kzpde command and family of commands answers, checked over all
// that the tool registers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ToolCommands.h"

namespace {

bool listsEvery(const std::string& out, const std::vector<std::string>& members) {
    for (const std::string& member : members)
        if (out.find("\n  " + member + "  ") == std::string::npos) return false;
    return true;
}

}  // namespace

TEST(ToolConventions, TheOverviewNamesTheFamiliesUsersType) {
    const std::set<std::string> families = familiesOf(registeredCommands());
    for (const char* family : {"convert", "describe", "favorite", "password", "ppd", "profile", "server"})
        EXPECT_TRUE(families.count(family)) << family;
    EXPECT_EQ(runKzpde("--help").status, 0);
    EXPECT_EQ(runKzpde("").status, 2);
    EXPECT_EQ(runKzpde("no-such-command").status, 2);
}

TEST(ToolConventions, EveryFamilyListsItsCommands) {
    const std::vector<std::string> commands = registeredCommands();
    for (const std::string& family : familiesOf(commands)) {
        SCOPED_TRACE(family);
        const std::vector<std::string> members = membersOf(commands, family);
        ToolRun help = runKzpde(family + " --help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("usage: kzpde " + family + " COMMAND", 0), 0u) << help.out;
        EXPECT_TRUE(listsEvery(help.out, members)) << help.out;
        EXPECT_EQ(runKzpde("help " + family).out, help.out);

        // A bare family is a usage error that still tells what there is, on
        // standard error only.
        ToolRun bare = runKzpde(family, true);
        EXPECT_EQ(bare.status, 2);
        EXPECT_TRUE(listsEvery(bare.out, members)) << bare.out;
        EXPECT_EQ(runKzpde(family).out, "");

        ToolRun unknown = runKzpde(family + " no-such-command", true);
        EXPECT_EQ(unknown.status, 2);
        EXPECT_NE(unknown.out.find("unknown command '" + family + " no-such-command'"), std::string::npos)
            << unknown.out;
        EXPECT_TRUE(listsEvery(unknown.out, members)) << unknown.out;
    }
}

TEST(ToolConventions, EveryCommandDescribesItselfWithoutRunning) {
    for (const std::string& name : registeredCommands()) {
        SCOPED_TRACE(name);
        for (const char* flag : {" --help", " -h"}) {
            ToolRun help = runKzpde(name + flag);
            EXPECT_EQ(help.status, 0);
            EXPECT_EQ(help.out.rfind("usage: kzpde " + name, 0), 0u) << help.out;
        }
    }
}

TEST(ToolConventions, EveryCommandRefusesAnUnknownOptionOnOneLine) {
    for (const std::string& name : registeredCommands()) {
        SCOPED_TRACE(name);
        ToolRun refused = runKzpde(name + " --no-such-option", true);
        // The queue commands count bad arguments as bad input like any other.
        EXPECT_EQ(refused.status, name.starts_with("queue ") ? 1 : 2);
        EXPECT_EQ(refused.out.rfind("kzpde " + name + ": ", 0), 0u) << refused.out;
        EXPECT_EQ(std::count(refused.out.begin(), refused.out.end(), '\n'), 1) << refused.out;
    }
}

TEST(ToolConventions, VersionNamesTheBuildTreesBundle) {
    ToolRun r = runKzpde("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("kzpde ", 0), 0u);
    EXPECT_NE(r.out.find("bundle: " + std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin\n"), std::string::npos)
        << r.out;
}
