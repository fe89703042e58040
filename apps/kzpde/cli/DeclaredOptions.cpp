#include "cli/DeclaredOptions.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "support/BundleLocation.h"

namespace kzpde {

DeclaredOptions::KeyValue DeclaredOptions::split(const std::string& text, const std::string& option) {
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        throw CLI::ValidationError(option, "takes KEY=VALUE, not '" + text + "'");
    return {text.substr(0, eq), text.substr(eq + 1)};
}

CLI::Option* DeclaredOptions::keyValue(CLI::App& app, const std::string& name, const std::string& typeName,
                                       std::function<void(KeyValue)> take, const std::string& description) {
    return app
        .add_option_function<std::string>(
            name, [name, take = std::move(take)](const std::string& text) { take(split(text, name)); }, description)
        ->type_name(typeName)
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

CLI::Option* DeclaredOptions::keyValues(CLI::App& app, const std::string& name, std::vector<KeyValue>& into,
                                        const std::string& description) {
    return keyValue(app, name, "KEY=VALUE", [&into](KeyValue kv) { into.push_back(std::move(kv)); }, description);
}

CLI::Option* DeclaredOptions::answers(CLI::App& app, std::deque<bool>& into) {
    return app
        .add_option_function<std::string>(
            "--answer", [&into](const std::string& answer) { into.push_back(answer == "yes"); },
            "the answer to the next question the rules ask (yes when none is left)")
        ->check(CLI::IsMember({"yes", "no"}))
        ->type_name("yes|no")  // after the check, which would add its own description
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

CLI::Option* DeclaredOptions::trays(CLI::App& app, std::vector<TrayWindows::Request>& into) {
    auto take = [&into](const std::vector<std::string>& words) {
        if (words.empty() || (words[0] != "automatic" && words[0] != "bypass"))
            throw CLI::ValidationError("--tray", "takes automatic or bypass, then KEY=VALUE...");
        TrayWindows::Request request{words[0], {}};
        for (std::size_t i = 1; i < words.size(); ++i) request.sets.push_back(split(words[i], "--tray"));
        into.push_back(std::move(request));
    };
    return app
        .add_option_function<std::vector<std::string>>(
            "--tray", take, "open that tray window, set its controls as a user does, press Close")
        ->type_name("automatic|bypass KEY=VALUE...")
        ->expected(1, CLI::detail::expected_max_vector_size)
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

void DeclaredOptions::pageSetup(CLI::App& app, PageSetupRequest& into) {
    auto once = [&app](const std::string& name, std::optional<std::string>& value, const std::string& typeName,
                       const std::string& description) {
        app.add_option_function<std::string>(name, [&value](const std::string& text) { value = text; }, description)
            ->type_name(typeName);
    };
    once("--paper", into.paper, "NAME", "the paper size: a PageSize choice of the printer's PPD (A4, A3, ...)");
    once("--pages", into.pages, "all|RANGES", "the pages to print: all, or ranges such as 1-3,5,8-");
    once("--orientation", into.orientation, "portrait|landscape", "the orientation of the pages");
}

void DeclaredOptions::okOrCancel(CLI::App& app, bool& ok, const std::string& description) {
    CLI::Option* yes = app.add_flag_callback("--ok", [&ok] { ok = true; }, "press OK at the end" + description);
    CLI::Option* no = app.add_flag_callback("--cancel", [&ok] { ok = false; }, "press Cancel at the end");
    yes->excludes(no);
}

CLI::Option* DeclaredOptions::port(CLI::App& app, int& into, const std::string& description,
                                   const std::string& name) {
    const CLI::Validator valid(
        [](std::string& text) {
            const bool digits = !text.empty() && text.size() <= 5 && text.find_first_not_of("0123456789") == std::string::npos;
            const int port = digits ? std::stoi(text) : 0;
            return port > 0 && port <= 65535 ? std::string() : "bad port '" + text + "'";
        },
        "", "port");
    return app.add_option(name, into, description)->type_name("P")->check(valid);
}

CLI::Option* DeclaredOptions::timeout(CLI::App& app, double& into, const std::string& description) {
    const CLI::Validator valid(
        [](std::string& text) {
            char* end = nullptr;
            const double seconds = std::strtod(text.c_str(), &end);
            const bool good = !text.empty() && !*end && std::isfinite(seconds) && seconds > 0 && seconds <= 86400;
            return good ? std::string() : "bad timeout '" + text + "' (seconds, above 0)";
        },
        "", "seconds");
    return app.add_option("--timeout", into, description)->type_name("S")->check(valid);
}

CLI::Option* DeclaredOptions::text(CLI::App& app, const std::string& name, std::string& into,
                                   const std::string& typeName, const std::string& description) {
    const CLI::Validator notEmpty([](std::string& text) { return text.empty() ? "is empty" : std::string(); }, "",
                                  "text");
    return app.add_option(name, into, description)->type_name(typeName)->check(notEmpty);
}

CLI::Option* DeclaredOptions::bundle(CLI::App& app, std::string& path) {
    path = BundleLocation::path();
    return app.add_option("--bundle", path, "the plug-in bundle (the tool's own by default)")->type_name("DIR");
}

CLI::Option* DeclaredOptions::json(CLI::App& app, bool& json, const std::string& description) {
    return app.add_flag("--json", json, description);
}

std::shared_ptr<DeclaredOptions::FileAndJson> DeclaredOptions::fileAndJson(CLI::App& app, const std::string& name,
                                                                            const std::string& description) {
    auto args = std::make_shared<FileAndJson>();
    app.add_option(name, args->file, description)->required();
    json(app, args->json);
    return args;
}

std::shared_ptr<DeclaredOptions::FileAndJson> DeclaredOptions::bundleAndJson(CLI::App& app) {
    auto args = std::make_shared<FileAndJson>();
    bundle(app, args->bundlePath);
    json(app, args->json);
    return args;
}

}  // namespace kzpde
