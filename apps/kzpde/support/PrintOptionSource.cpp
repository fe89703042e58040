#include "support/PrintOptionSource.h"

#include <ostream>

#include "engine/conversion/PrintOptionConverter.h"
#include "engine/favorites/FavoriteFile.h"
#include "engine/panes/PanePlugInMgr.h"
#include "platform/printing/PrintSettings.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace kzpde {

namespace {
void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
}
}  // namespace

std::string unescapeCustomEntry(std::string text) {
    replaceAll(text, "%x2C", ",");
    replaceAll(text, "%x27", "'");
    replaceAll(text, "%x25", "%");
    return text;
}

std::optional<kz::Dictionary> printOptionFrom(kzp::PanePlugInMgr& mgr, const std::optional<std::string>& settingsFile,
                                              const std::optional<std::string>& favoriteFile, std::ostream& err) {
    kz::Dictionary option = mgr.defaultSettings();
    if (!settingsFile && !favoriteFile) return option;
    // Both files hold the canonical form (a favorite's tags convert to it).
    // Their values are laid over the canonical defaults and the whole is
    // brought back; the defaults make the same round trip alone, so that
    // only what the files changed counts (the internal form derives keys
    // and may write a length differently).
    kz::Dictionary canonical = option;
    kzp::PrintOptionConverter::convertToCanonicalPpdKeyword(canonical, true);
    kz::Dictionary baseline = canonical;
    kzp::PrintOptionConverter::convertToInternalPpdKeyword(baseline);
    if (settingsFile) {
        std::string error;
        std::optional<kz::PrintSettings> settings = kz::PrintSettings::readFile(*settingsFile, &error);
        if (!settings) {
            err << "kzpde: " << *settingsFile << ": " << error << "\n";
            return std::nullopt;
        }
        // Whatever vendor prefix the writer chose, the main keyword follows
        // the marker; as the panel reads them, only entries of options it has.
        const std::string marker = kz::PrintSettings::kCustomEntryMarker;
        for (const auto& [key, value] : settings->values()) {
            if (!kz::PrintSettings::isCustomEntryKey(key) || !value.isString()) continue;
            std::string mainKeyword = key.substr(key.find(marker) + marker.size());
            if (canonical.contains(mainKeyword)) canonical.set(mainKeyword, unescapeCustomEntry(value.string()));
        }
    }
    if (favoriteFile) {
        kzp::FavoriteFile file(*favoriteFile);
        if (!file.options()) {
            err << "kzpde: " << *favoriteFile << ": not a readable favorite file\n";
            return std::nullopt;
        }
        kz::Dictionary favorite = kzp::PrintOptionConverter::sharedInstance().toPpdKeywordFormat(*file.options());
        for (const auto& [key, value] : favorite) canonical.set(key, value);
    }
    kzp::PrintOptionConverter::convertToInternalPpdKeyword(canonical);
    for (const auto& [key, value] : canonical)
        if (!baseline.contains(key) || baseline.get(key) != value) option.set(key, value);
    return option;
}

}  // namespace kzpde
