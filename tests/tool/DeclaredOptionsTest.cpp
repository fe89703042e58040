// The option types the commands share and the texts their declarations
// make, parsed as CLI11 parses a command's arguments.
#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/CommandUsage.h"
#include "cli/DeclaredOptions.h"
#include "cli/HostOptions.h"

namespace {

using kzpde::DeclaredOptions;
using Pairs = std::vector<std::pair<std::string, std::string>>;

// Parses ARGS as typed; the CLI11 error's text when they are refused.
std::string parse(CLI::App& app, std::vector<std::string> args) {
    std::reverse(args.begin(), args.end());
    try {
        app.parse(args);
    } catch (const CLI::ParseError& e) {
        return e.get_name() + ": " + e.what();
    }
    return "";
}

}  // namespace

TEST(DeclaredOptions, KeyValueSplitsAtTheFirstEqualsSign) {
    CLI::App app;
    Pairs sets;
    DeclaredOptions::keyValues(app, "--set", sets, "");
    EXPECT_EQ(parse(app, {"--set", "A=1", "--set", "B=", "--set", "C=x=y"}), "");
    EXPECT_EQ(sets, (Pairs{{"A", "1"}, {"B", ""}, {"C", "x=y"}}));
    for (const char* bad : {"NoEquals", "=1", ""}) {
        CLI::App refused;
        Pairs none;
        DeclaredOptions::keyValues(refused, "--set", none, "");
        EXPECT_NE(parse(refused, {"--set", bad}), "") << bad;
    }
    CLI::App missing;
    DeclaredOptions::keyValues(missing, "--set", sets, "");
    EXPECT_NE(parse(missing, {"--set"}), "");
}

TEST(DeclaredOptions, AnswersAreYesOrNoInOrder) {
    CLI::App app;
    std::deque<bool> answers;
    DeclaredOptions::answers(app, answers);
    EXPECT_EQ(parse(app, {"--answer", "no", "--answer", "yes", "--answer", "no"}), "");
    EXPECT_EQ(answers, (std::deque<bool>{false, true, false}));
    CLI::App refused;
    std::deque<bool> none;
    DeclaredOptions::answers(refused, none);
    EXPECT_NE(parse(refused, {"--answer", "maybe"}), "");
}

TEST(DeclaredOptions, TrayValuesRunToTheNextOptionAndLeaveTheFile) {
    CLI::App app;
    kzpde::HostRequest request;
    kzpde::HostOptions::declare(app, request);
    EXPECT_EQ(parse(app, {"--tray", "automatic", "A=1", "B=", "--tray", "bypass", "--json"}), "");
    ASSERT_EQ(request.trays.size(), 2u);
    EXPECT_EQ(request.trays[0].window, "automatic");
    EXPECT_EQ(request.trays[0].sets, (Pairs{{"A", "1"}, {"B", ""}}));
    EXPECT_TRUE(request.trays[1].sets.empty());
    EXPECT_TRUE(request.json);

    // `kzpde print` takes a file after the tray's values.
    CLI::App print;
    kzpde::HostRequest p;
    std::string file;
    print.add_option("FILE", file)->required();
    kzpde::HostOptions::declare(print, p);
    EXPECT_EQ(parse(print, {"--tray", "bypass", "X=1", "doc.pdf"}), "");
    EXPECT_EQ(file, "doc.pdf");
    ASSERT_EQ(p.trays.size(), 1u);
    EXPECT_EQ(p.trays[0].sets, (Pairs{{"X", "1"}}));

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--tray"}, {"--tray", "sideways"}, {"--tray", "automatic", "=1"}, {"--tray", "bypass", "stray"}}) {
        CLI::App refused;
        kzpde::HostRequest r;
        kzpde::HostOptions::declare(refused, r);
        EXPECT_NE(parse(refused, bad), "") << bad.back();
    }
}

TEST(DeclaredOptions, HostOptionsKeepTheirRules) {
    auto refuses = [](std::vector<std::string> args) {
        CLI::App app;
        kzpde::HostRequest r;
        kzpde::HostOptions::declare(app, r);
        return !parse(app, std::move(args)).empty();
    };
    EXPECT_TRUE(refuses({"--printer", "a", "--ppd", "b.ppd"}));
    EXPECT_TRUE(refuses({"--comment", "c"}));
    EXPECT_TRUE(refuses({"--printer", "a", "--printer", "b"}));
    EXPECT_TRUE(refuses({"--lists"}));
    EXPECT_TRUE(refuses({"--favorite"}));
    EXPECT_TRUE(refuses({"stray"}));
    EXPECT_FALSE(refuses({"--save-favorite", "F", "--comment", "c", "--job-name", "auto"}));

    // The changes keep the order they were typed in.
    CLI::App app;
    kzpde::HostRequest r;
    kzpde::HostOptions::declare(app, r);
    EXPECT_EQ(parse(app, {"--set", "B=2", "--answer", "no", "--set", "A=1"}), "");
    EXPECT_EQ(r.sets, (Pairs{{"B", "2"}, {"A", "1"}}));
    EXPECT_FALSE(r.bundlePath.empty());
}

TEST(DeclaredOptions, PortsAndTextsAreChecked) {
    for (const char* port : {"0", "65536", "-1", "80x", "", "99999999999"}) {
        CLI::App app;
        int value = 8888;
        DeclaredOptions::port(app, value, "");
        EXPECT_NE(parse(app, {"--port", port}), "") << port;
    }
    CLI::App app;
    int value = 0;
    std::string host;
    DeclaredOptions::port(app, value, "");
    DeclaredOptions::text(app, "--host", host, "H", "");
    EXPECT_EQ(parse(app, {"--port", "631", "--host", "h"}), "");
    EXPECT_EQ(value, 631);
    CLI::App empty;
    DeclaredOptions::text(empty, "--host", host, "H", "");
    EXPECT_NE(parse(empty, {"--host", ""}), "");
}

TEST(DeclaredOptions, OkAndCancelExcludeEachOther) {
    CLI::App app;
    bool ok = true;
    DeclaredOptions::okOrCancel(app, ok, "");
    EXPECT_EQ(parse(app, {"--cancel"}), "");
    EXPECT_FALSE(ok);
    CLI::App both;
    DeclaredOptions::okOrCancel(both, ok, "");
    EXPECT_NE(parse(both, {"--ok", "--cancel"}), "");
}

TEST(CommandUsage, TheSynopsisComesFromTheDeclarations) {
    kzpde::Command command{"thing", "does a thing", "What it does.\n", [](CLI::App& app) -> kzpde::Runner {
                               static std::string file, name, printer, ppd;
                               static Pairs sets;
                               static bool json = false;
                               app.add_option("FILE", file, "the file")->required();
                               app.add_option("NAME", name, "a name");
                               CLI::Option* p = app.add_option("--printer", printer, "")->type_name("NAME");
                               p->excludes(app.add_option("--ppd", ppd, "")->type_name("FILE"));
                               DeclaredOptions::keyValues(app, "--set", sets, "");
                               DeclaredOptions::json(app, json);
                               return [](kzpde::Invocation&) { return 0; };
                           }};
    const std::string help = command.help();
    EXPECT_EQ(help.substr(0, help.find('\n')),
              "usage: kzpde thing FILE [NAME] [--printer NAME | --ppd FILE] [--set KEY=VALUE]... [--json]");
    EXPECT_NE(help.find("\n\nWhat it does.\n"), std::string::npos) << help;
    EXPECT_NE(help.find("  --json "), std::string::npos) << help;
    EXPECT_EQ(command.options(), (std::vector<std::string>{"--help", "--json", "--ppd", "--printer", "--set"}));
}

TEST(CommandUsage, ErrorsAreOneLineAndUsageStatus) {
    kzpde::Command command{"thing", "", "", [](CLI::App& app) -> kzpde::Runner {
                               static std::string file;
                               app.add_option("FILE", file)->required();
                               return [](kzpde::Invocation& inv) {
                                   inv.out << "ran on " << file;
                                   return 0;
                               };
                           }};
    std::ostringstream out, err;
    kzpde::Invocation inv{out, err};
    EXPECT_EQ(kzpde::runCommand(command, {}, inv), kzpde::kUsage);
    const std::string message = err.str();
    EXPECT_EQ(message.rfind("kzpde thing: ", 0), 0u) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_EQ(out.str(), "");
    err.str("");
    EXPECT_EQ(kzpde::runCommand(command, {"a", "--unknown"}, inv), kzpde::kUsage);
    EXPECT_EQ(kzpde::runCommand(command, {"a", "--help"}, inv), kzpde::kOk);
    EXPECT_EQ(out.str().rfind("usage: kzpde thing FILE\n", 0), 0u) << out.str();
    out.str("");
    EXPECT_EQ(kzpde::runCommand(command, {"a"}, inv), kzpde::kOk);
    EXPECT_EQ(out.str(), "ran on a");
}
