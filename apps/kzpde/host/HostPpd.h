#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <cups/ppd.h>

#include "platform/printing/PrintSettings.h"

namespace kzpde {

// The host's own handle on the printer's PPD, as a print dialog keeps one:
// opened from the printer's PPD file with every default marked, changed only
// by marking choices the PPD lists. The dialog's settings carry the choices
// that differ from the defaults under kSettingsKeyPrefix, so that a saved
// settings file brings them back.
class HostPpd {
public:
    static constexpr const char* kSettingsKeyPrefix = "kzpde.PPDChoice.";
    // The PPD keyword that names a print dialog extension to load.
    static constexpr const char* kDialogExtension = "APDialogExtension";

    // Nothing, with libcups' reason in *error, when the file is no PPD.
    static std::unique_ptr<HostPpd> open(const std::string& path, std::string* error);
    ~HostPpd();
    HostPpd(const HostPpd&) = delete;
    HostPpd& operator=(const HostPpd&) = delete;

    ppd_file_t* file() const { return _ppd; }
    const std::string& path() const { return _path; }

    // True when the PPD lists the option and the choice.
    bool hasChoice(const std::string& keyword, const std::string& choice) const;
    // Marks the choice when the PPD lists it; false otherwise.
    bool mark(const std::string& keyword, const std::string& choice);
    // Every option with its marked choice, in the PPD's order.
    std::vector<std::pair<std::string, std::string>> markedChoices() const;
    // The marked choices that are not the option's default.
    std::vector<std::pair<std::string, std::string>> changedChoices() const;

    // True when the PPD names the plug-in bundle at BUNDLEPATH as its print
    // dialog extension (a *APDialogExtension path). The bundle's folder name
    // decides, not the whole path: an installed tree may be moved, and a
    // build tree's bundle is the same plug-in.
    bool namesDialogExtension(const std::string& bundlePath) const;

    // Marks the choices the settings carry; the keys that name no option or
    // choice of this PPD (a file saved for another printer) are answered.
    std::vector<std::string> markFromSettings(const kz::PrintSettings& settings);
    // Replaces the settings' choice keys with this PPD's changed choices.
    void writeToSettings(kz::PrintSettings& settings) const;

private:
    HostPpd(ppd_file_t* ppd, std::string path) : _ppd(ppd), _path(std::move(path)) {}
    ppd_file_t* _ppd;
    std::string _path;
};

}  // namespace kzpde
