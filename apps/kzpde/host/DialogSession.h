#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/FavoriteButtons.h"
#include "host/HostPpd.h"
#include "host/HostCallback.h"
#include "host/PlugInHost.h"
#include "host/PpdOptionsView.h"
#include "host/PrintDialog.h"
#include "host/Secrets.h"
#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/WindowDelegate.h"
#include "platform/printing/JobOptions.h"
#include "platform/printing/PrintSettings.h"

namespace kzpde {

// What the person asked the print dialog for.
struct DialogRequest {
    std::string bundlePath;
    std::optional<std::string> printer;  // a CUPS destination to choose
    std::optional<std::string> ppd;      // a PPD file, offered as a printer without a queue
    std::optional<std::string> file;     // the document Print submits
    std::optional<std::string> documentName;  // the job's name; FILE's own name when none
    bool japanese = false;               // the host's own texts
    bool listCupsDestinations = true;
    // A job made already (a held one): the print settings it carries, the
    // window's title, and what Print does with the panel's job options on
    // the dialog's PPD instead of submitting a file (an error text, or
    // nullopt when done). With it the menu offers the printer only.
    std::optional<kz::PrintSettings> settings;
    std::optional<std::string> title;
    std::function<std::optional<std::string>(const kz::JobOptions&, const HostPpd*)> complete;
};

// The print dialog a person works (`kzpde dialog`), as kit views any
// toolkit bridge shows: a printer menu above the plug-in's panel, the host's
// paper size, pages, orientation, copies, collate and two-sided controls,
// Print and Cancel. Choosing another printer hands the panel's saved values
// to a new panel for that printer's PPD (a printer whose PPD does not name
// the plug-in gets its own PPD options instead of the panel); Print saves the panel and submits the document through CUPS with the
// options `kzpde print` sends.
class DialogSession : private kz::WindowDelegate {
public:
    struct PrinterEntry {
        std::string title;                       // as the menu shows it
        std::optional<std::string> destination;  // a CUPS destination ("name" or "name/instance")
        std::optional<std::string> ppd;          // a PPD file; neither: the embedded printer
        bool isDefault = false;                  // the CUPS default destination
    };
    // Closed: a held job's window was closed without Print or Cancel.
    enum class Outcome { Open, Printed, Cancelled, Closed, Failed };

    // The printers the menu offers: the PPD given, the embedded sample
    // printer, then the CUPS destinations.
    static std::vector<PrinterEntry> printers(const DialogRequest& request);

    DialogSession();
    ~DialogSession() override;
    DialogSession(const DialogSession&) = delete;
    DialogSession& operator=(const DialogSession&) = delete;

    // Loads the plug-in and builds the dialog on the requested printer;
    // false with the reason in *error.
    bool open(const DialogRequest& request, std::string* error);

    kz::Window& window() const { return _dialog->window(); }
    PrintDialog& dialog() const { return *_dialog; }
    kz::PDEPanel* panel() const { return _plugIn.panel().get(); }
    // The printer's own options, shown instead of the panel; else null.
    PpdOptionsView* plainOptions() const { return _plainOptions.get(); }
    HostCallback& host() const { return *_host; }
    const std::vector<PrinterEntry>& printerEntries() const { return _printers; }
    int printerIndex() const { return _current; }
    kz::PopUpButton& printerMenu() const { return *_printerMenu; }
    kz::Button& printButton() const { return *_print; }
    kz::Button& cancelButton() const { return *_cancel; }
    FavoriteButtons& favoriteButtons() const { return *_favorites; }

    // The menu's work: the panel goes, the printer changes, a panel for its
    // PPD comes. False (reason in *error, the old printer kept) when the
    // printer cannot be had.
    bool usePrinter(int index, std::string* error);

    // Print and Cancel; the finished handler hears either.
    void print();
    void cancel();
    void setFinishedHandler(std::function<void()> handler) { _finished = std::move(handler); }

    Outcome outcome() const { return _outcome; }
    // After Print: the options the job carries (passwords as the panel
    // stored them), the job's id (0: nothing was submitted) and why not.
    const kz::JobOptions& jobOptions() const { return _jobOptions; }
    int jobId() const { return _jobId; }
    const std::string& message() const { return _message; }
    const std::string& printerName() const { return _printerName; }
    Secrets& secrets() { return _secrets; }

private:
    bool windowShouldClose(kz::Window& window) override;
    void buildRows(bool japanese);
    void placeButtons();
    bool loadPanel(std::string* error);
    void releasePanel();
    void finish(Outcome outcome);
    void tell(const std::string& message, const std::string& detail);

    PlugInHost _plugIn;
    std::shared_ptr<HostCallback> _host;
    std::unique_ptr<PrintDialog> _dialog;
    std::unique_ptr<PpdOptionsView> _plainOptions;
    std::vector<PrinterEntry> _printers;
    int _current = -1;
    std::optional<std::string> _file;
    std::function<std::optional<std::string>(const kz::JobOptions&, const HostPpd*)> _complete;
    std::shared_ptr<kz::View> _top, _bottom;
    std::shared_ptr<kz::PopUpButton> _printerMenu;
    std::shared_ptr<kz::Button> _print, _cancel;
    std::unique_ptr<FavoriteButtons> _favorites;
    std::function<void()> _finished;
    Outcome _outcome = Outcome::Open;
    kz::JobOptions _jobOptions;
    int _jobId = 0;
    std::string _message;
    std::string _documentName;
    std::string _printerName;
    Secrets _secrets;
};

}  // namespace kzpde
