#pragma once

#include <deque>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/AnswerDriver.h"
#include "host/HostCallback.h"
#include "host/PageSetupRequest.h"
#include "host/PlugInHost.h"
#include "host/PpdOptionsView.h"
#include "host/PrintDialog.h"
#include "host/Secrets.h"
#include "host/ServerListsPpd.h"
#include "host/TrayWindows.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Log.h"
#include "platform/printing/JobOptions.h"
#include "platform/printing/Printer.h"
#include "platform/printing/PrintSettings.h"

namespace kzpde {

// What the user asked the print dialog for: the printer, the settings to
// start from, the changes to make, and where the settings go afterwards.
struct HostRequest {
    std::string bundlePath;                     // the plug-in
    std::optional<std::string> printer;         // a CUPS destination
    std::optional<std::string> ppd;             // a PPD file instead of a printer
    std::optional<std::string> settingsFile;    // print settings to restore
    std::optional<kz::PrintSettings> settings;  // or these (a held job's)
    std::vector<std::pair<std::string, std::string>> sets;  // KEY=VALUE, in order
    std::deque<bool> answers;                   // to the rules' questions; true: yes
    std::optional<std::string> writeSettings;   // where the saved settings go
    std::optional<std::string> saveFavorite, favoriteComment;  // a new favorite through the panel's Save
    std::optional<std::string> jobName;         // --job-name: a name, or "auto"
    std::optional<std::string> favorite;        // chosen in the panel's favorites menu
    bool json = false;
    // Server lists the printer's PPD carries when the dialog opens (--lists).
    std::optional<std::string> lists;
    // Tray windows worked after the --set values (--tray).
    std::vector<TrayWindows::Request> trays;
    // The dialog's paper size, pages and orientation, before the --set values.
    PageSetupRequest pageSetup;
    // A CUPS destination even when none is named (the default one): printing.
    bool needsQueue = false;
    // Hosts without these exist; the tests build them.
    bool withHostControls = true;
    bool withPPDChanges = true;
};

// One run of the tool's print dialog, headless: loads the plug-in, takes the
// printer and its PPD, restores the panel from the settings, shows it, makes
// each change as the user would, saves and gathers what the job would carry.
class HostSession {
public:
    // One dialog shown while a change ran (or while restoring: no key).
    struct ShownDialog {
        std::optional<std::string> key;
        AnswerDriver::Dialog dialog;
    };

    HostSession();
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Runs the dialog; the tool's exit status (messages on err, naming the
    // command). Afterwards the results below are there when it is 0.
    int run(const HostRequest& request, const std::string& command, std::ostream& err);

    // The results, with every secret masked: "printSettings",
    // "markedChoices", "jobOptions", "summary", "dialogs", "controls",
    // "trayWindows", "jobName", "favorites", "pageSetup", "panel" (false
    // for a printer whose PPD does not name the plug-in) and, after
    // --save-favorite, "savedFavorite".
    kz::Dictionary report();
    void writeText(std::ostream& out);

    HostCallback* host() const { return _host.get(); }
    kz::PDEPanel* panel() const { return _plugIn.panel().get(); }
    // The printer's own options, shown instead of the panel; else null.
    PpdOptionsView* plainOptions() const { return _plainOptions.get(); }
    PrintDialog* dialog() const { return _dialog.get(); }
    const std::shared_ptr<kz::Printer>& printer() const { return _printer; }
    const kz::JobOptions& jobOptions() const { return _jobOptions; }
    const std::vector<ShownDialog>& dialogs() const { return _dialogs; }
    Secrets& secrets() { return _secrets; }
    // Every log line of the run as it was written; the tool prints them
    // redacted only.
    const std::vector<std::string>& logLines() const { return _log.lines(); }

private:
    int fail(std::ostream& err, const std::string& command, const std::string& message, int status);
    int fail(const std::string& message, int status);
    // The steps of run(), in order; each returns 0 or the run's exit status.
    int restoreSettingsFile(const HostRequest& r);
    int openPrinter(const HostRequest& r);
    int showPanel(const HostRequest& r);
    int chooseFavorite(const HostRequest& r);
    int checkChanges(const HostRequest& r);
    int makeChanges(const HostRequest& r);
    int workTrayWindows(const HostRequest& r);
    int setJobName(const HostRequest& r);
    int saveFavorite(const HostRequest& r);
    int savePanel(const HostRequest& r);
    int writeSettings(const HostRequest& r);
    std::vector<kz::View*> optionViews() const;
    void dialogsFrom(std::size_t from, const std::optional<std::string>& key);
    // The request's steps that only the panel can do, for a printer without it.
    int needsPanel(const HostRequest& r);
    int checkSet(const std::string& key, const std::string& value);
    int checkPageSetup(const HostRequest& r);
    bool isPaperKey(const std::string& key) const;
    int refused(std::ostream& err, const std::string& command, const std::string& key, const std::string& value,
                int outcome, const std::string& why);
    // Opens the panel's detailed settings window, makes the changes there and
    // presses OK.
    int setInDetailedWindow(kz::View& panelView, const std::vector<std::pair<std::string, std::string>>& sets,
                            const std::string& command, std::ostream& err);
    void learnSecureControls();

    kz::LogCapture _log;
    // The run's command (for messages), where they go, and what the steps hand on.
    std::string _command;
    std::ostream* _err = nullptr;
    std::optional<kz::PrintSettings> _restored;
    std::shared_ptr<kz::View> _view;
    PlugInHost _plugIn;
    std::shared_ptr<kz::Printer> _printer;
    std::shared_ptr<HostCallback> _host;
    std::unique_ptr<PrintDialog> _dialog;
    std::unique_ptr<PpdOptionsView> _plainOptions;
    std::unique_ptr<AnswerDriver> _driver;
    std::vector<ShownDialog> _dialogs;
    std::size_t _told = 0;  // the driver's dialogs already in _dialogs
    std::optional<kz::Dictionary> _summary;
    kz::JobOptions _jobOptions;
    std::optional<std::string> _savedFavorite;
    Secrets _secrets;
    ServerListsPpd _listsPpd;
};

}  // namespace kzpde
