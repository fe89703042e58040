// kzpde describe simulate FILE [--with FILE]... [--set KEY=VALUE]...
// [--answer yes|no]... [--network-ready] [--json]: runs the rules of a control description file
// the way the panel would, so that authors see what their rules do.
#include <deque>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/Command.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/DescriptionFile.h"
#include "support/JsonValue.h"
#include "host/AnswerDriver.h"
#include "engine/controls/QuillUI.h"
#include "engine/controls/WireNames.h"
#include "engine/rules/QuillMgr.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using nlohmann::ordered_json;

namespace {

struct Options {
    std::string path;
    std::vector<std::string> with;  // further files whose controls join the registry
    std::vector<std::pair<std::string, std::string>> sets;
    std::deque<bool> answers;  // true: yes
    bool networkReady = false;
    bool json = false;
};

struct Ready : kzp::NetworkDataState {
    bool ready = false;
    bool isInitializedNetworkData() const override { return ready; }
};

int run(const Options& o, kzpde::Invocation& inv) {
    std::string error;
    std::optional<kzpde::DescriptionFile> file = kzpde::DescriptionFile::open(o.path, &error);
    if (!file) {
        inv.err << "kzpde describe simulate: " << o.path << ": " << error << "\n";
        return kzpde::kFailure;
    }

    kzp::QuillMgr mgr;
    Ready ready;
    ready.ready = o.networkReady;
    mgr.setNetworkDataState(&ready);
    if (file->bundle()) mgr.setPdeResourcePath(file->bundlePath());
    kzpde::AnswerDriver driver(o.answers);
    kzpde::DriverScope useDriver(driver);

    // The panel and every pane register into one registry, so rules of one
    // file may act on the controls of another: --with brings those in.
    std::vector<kzpde::DescriptionFile> files{*file};
    for (const std::string& other : o.with) {
        std::optional<kzpde::DescriptionFile> more = kzpde::DescriptionFile::open(other, &error);
        if (!more) {
            inv.err << "kzpde describe simulate: " << other << ": " << error << "\n";
            return kzpde::kFailure;
        }
        files.push_back(std::move(*more));
    }
    for (const kzpde::DescriptionFile& f : files)
        for (const auto& [name, entry] : f.entries())
            if (entry.isDictionary()) mgr.addControl(f.build(entry.dictionary(), 400, 200));
    for (const auto& [key, value] : o.sets)
        if (!mgr.firstControl(key)) {
            inv.err << "kzpde describe simulate: " << o.path << ": no control has the main keyword " << key << "\n";
            return kzpde::kFailure;
        }

    mgr.setDefaults();
    std::vector<std::size_t> dialogsBefore;  // per --set, where its dialogs start
    const std::size_t atDefaults = driver.dialogs.size();
    for (const auto& [key, value] : o.sets) {
        dialogsBefore.push_back(driver.dialogs.size());
        // As a pop-up or check box announces the user's choice.
        kz::NotificationCenter::defaultCenter().post(key, nullptr, kz::Dictionary{{kzp::wire::kParameter, kz::Value(value)}});
    }
    dialogsBefore.push_back(driver.dialogs.size());

    const kz::Dictionary values = mgr.getAllValueDictionary();
    if (o.json) {
        ordered_json dialogs = ordered_json::array(), enabled = ordered_json::object(),
                     hidden = ordered_json::object();
        for (const auto& d : driver.dialogs) dialogs.push_back({{"text", d.text}, {"answer", d.answer}});
        for (const auto& [key, controls] : mgr.getControlsDictionary()) {
            enabled[key] = controls.front()->isEnabled();
            hidden[key] = controls.front()->isHidden();
        }
        kzpde::writeJson(inv.out, ordered_json{{"dialogs", dialogs},
                                               {"values", kzpde::toJson(kz::Value(values))},
                                               {"enabled", enabled},
                                               {"hidden", hidden}});
    } else {
        auto printDialogs = [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i)
                inv.out << "  dialog:\n" << kzpde::indentedDialogText(driver.dialogs[i].text) << "\n  answer: "
                        << driver.dialogs[i].answer << "\n";
        };
        inv.out << "defaults\n";
        printDialogs(0, atDefaults);
        for (std::size_t i = 0; i < o.sets.size(); ++i) {
            inv.out << "set " << o.sets[i].first << "=" << o.sets[i].second << "\n";
            printDialogs(dialogsBefore[i], dialogsBefore[i + 1]);
        }
        inv.out << "values:\n";
        for (const auto& [key, controls] : mgr.getControlsDictionary())
            inv.out << "  " << key << " = \"" << values.get(key).stringValue() << "\""
                    << (controls.front()->isEnabled() ? "" : " disabled")
                    << (controls.front()->isHidden() ? " hidden" : "") << "\n";
    }
    if (driver.defaulted() > 0)
        inv.err << "kzpde describe simulate: " << driver.defaulted()
                << " question(s) had no --answer left and were answered yes\n";
    if (driver.unusedAnswers() > 0)
        inv.err << "kzpde describe simulate: " << driver.unusedAnswers() << " --answer value(s) not used\n";
    return kzpde::kOk;
}

const kzpde::Command::Registration simulateCommand{{
    "describe simulate",
    "run the rules of a control description file on a series of user changes",
    "Builds and registers every control of the control description FILE (and of\n"
    "each --with FILE, as the panes and the panel share one registry), applies\n"
    "the defaults, then performs each --set in order as the user choosing VALUE for\n"
    "the option KEY, with all its rules: conflicts that cannot be resolved (only\n"
    "looked for with --network-ready, as in the panel once every pane was shown),\n"
    "conflicts resolved after a Yes/No question, conditions, hiding, cooperation.\n"
    "Each question takes the next --answer; without one left it is answered yes\n"
    "(the default button). A message with one button is acknowledged.\n"
    "Texts come from the \"UI\" table of the bundle when FILE lies in a bundle's\n"
    "Contents/Resources, else they show their keys.\n\n"
    "Text output: \"defaults\" and each \"set KEY=VALUE\", each followed by the dialogs\n"
    "it showed (their lines indented) and the answer given; then every option's\n"
    "value, marked \"disabled\" or \"hidden\" where it is.\n\n"
    "--json: one object: \"dialogs\" (each \"text\", exactly as shown, and \"answer\":\n"
    "\"yes\", \"no\" or \"ok\"), \"values\" (main keyword -> value), \"enabled\" and\n"
    "\"hidden\" (main keyword -> boolean).\n\n"
    "Exit status 1 when FILE cannot be read or a --set names no control's keyword.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        app.add_option("FILE", o->path, "the control description file")->required();
        app.add_option("--with", o->with, "another description file whose controls join the registry")
            ->type_name("FILE");
        kzpde::DeclaredOptions::keyValues(app, "--set", o->sets, "choose VALUE for the option KEY, as a user does");
        kzpde::DeclaredOptions::answers(app, o->answers);
        app.add_flag("--network-ready", o->networkReady, "look for conflicts that cannot be resolved");
        kzpde::DeclaredOptions::json(app, o->json);
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
}};

}  // namespace
