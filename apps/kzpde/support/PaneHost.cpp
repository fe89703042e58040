#include "support/PaneHost.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "Common/Util/BundleUtil.h"
#include "engine/panes/PanelInspection.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Bundle.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace kzpde {

namespace {
// A print option is a few hundred entries; anything far larger is not one.
constexpr std::size_t kMaxPrintOptionBytes = 16 * 1024 * 1024;
}  // namespace

bool PaneHost::open(const std::string& bundlePath, std::ostream& err) {
    _bundle = kz::Bundle::open(bundlePath);
    if (!_bundle) {
        err << "kzpde: " << bundlePath << ": not a bundle folder\n";
        return false;
    }
    kzp::SetNSBundleForPrincipalBundle(_bundle);
    kzp::SetNSBundleForLocalizedString(_bundle);
    kzp::AppPreference::sharedInstance().setBundle(_bundle);
    kzp::PanelInspection::endPaneManager();
    return true;
}

PaneHost::~PaneHost() { kzp::PanelInspection::endPaneManager(); }

kzp::PanePlugInMgr& PaneHost::manager() { return kzp::PanelInspection::paneManager(); }

kzp::PanePlugInMgr& PaneHost::managerWithPaneViews() {
    kzp::PanePlugInMgr& mgr = manager();
    mgr.loadPlugIns();
    while (mgr.loadPanelView()) {
    }
    return mgr;
}

std::optional<kz::Dictionary> readPrintOption(const std::optional<std::string>& file, std::istream& in,
                                              std::ostream& err) {
    std::string text;
    std::ifstream stream;
    std::istream* source = &in;
    if (file && *file != "-") {
        stream.open(*file, std::ios::binary);
        if (!stream) {
            err << "kzpde: " << *file << ": cannot be read\n";
            return std::nullopt;
        }
        source = &stream;
    }
    char buffer[65536];
    while (source->read(buffer, sizeof buffer) || source->gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(source->gcount()));
        if (text.size() > kMaxPrintOptionBytes) {
            err << "kzpde: the print option is larger than " << kMaxPrintOptionBytes << " bytes\n";
            return std::nullopt;
        }
    }
    nlohmann::ordered_json json = nlohmann::ordered_json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        err << "kzpde: " << file.value_or("standard input") << ": not a JSON object\n";
        return std::nullopt;
    }
    kz::Dictionary option;
    for (const auto& [key, value] : json.items()) {
        if (value.is_string())
            option.set(key, value.get<std::string>());
        else if (value.is_boolean())
            option.set(key, std::string(value.get<bool>() ? "True" : "False"));
        else if (value.is_number_integer())
            option.set(key, std::to_string(value.get<long long>()));
        else if (value.is_number())
            option.set(key, value.dump());
    }
    return option;
}

}  // namespace kzpde
