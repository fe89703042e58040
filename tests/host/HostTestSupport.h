// Runs the tool's print dialog in this process on the built bundle, as
// `kzpde options` does, for the tests of the host objects.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/panes/PanePlugInMgr.h"
#include "host/HostSession.h"

inline std::string builtBundle() { return std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin"; }

inline kzpde::HostRequest defaultRequest() {
    kzpde::HostRequest request;
    request.bundlePath = builtBundle();
    return request;
}

class HostSessionTest : public ::testing::Test {
protected:
    // The pane manager is process-wide and outlives a panel: each test's
    // panel meets the panes of the one before, as in a print dialog's
    // process (the detailed settings window keeps the first manager's panes).
    void TearDown() override { session.reset(); }

    int run(const kzpde::HostRequest& request) {
        session = std::make_unique<kzpde::HostSession>();
        errors.str("");
        return session->run(request, "options", errors);
    }

    const kz::Value* setting(const std::string& key) const { return session->host()->settings().value(key); }
    // The custom entry of the main keyword, whatever vendor prefix the panel uses.
    std::optional<std::string> customEntry(const std::string& mainKeyword) const {
        const std::string suffix = std::string(kz::PrintSettings::kCustomEntryMarker) + mainKeyword;
        for (const auto& [key, value] : session->host()->settings().values())
            if (key.size() > suffix.size() && key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0)
                return value.stringValue();
        return std::nullopt;
    }
    std::string marked(const std::string& keyword) const {
        for (const auto& [k, choice] : session->host()->ppd()->markedChoices())
            if (k == keyword) return choice;
        return "";
    }

    std::unique_ptr<kzpde::HostSession> session;
    std::ostringstream errors;
};
