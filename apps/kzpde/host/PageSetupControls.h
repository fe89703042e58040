#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/HostPpd.h"
#include "host/PageSetupRequest.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/TextField.h"
#include "platform/kit/View.h"
#include "platform/printing/JobOptions.h"
#include "platform/printing/PDEPanel.h"
#include "platform/printing/PrintSettings.h"

namespace kzpde {

// The print dialog's own paper size, pages and orientation, one row of
// kit controls. The paper size is the PPD's PageSize, marked in the host's
// PPD and told to the panel when it lists PageSize among the keys it
// follows; pages and orientation live in the print settings and reach the
// job as IPP page-ranges and orientation-requested.
class PageSetupControls {
public:
    static constexpr const char* kPageRangesKey = "kzpde.PageRanges";
    static constexpr const char* kOrientationKey = "kzpde.Orientation";
    static constexpr const char* kPageSize = "PageSize";
    static constexpr double kHeight = 34;
    // The tag of the ranges field, by which a script types into it.
    static constexpr long kRangesTag = 7301;

    struct Texts {
        std::string paper = "Paper Size:";
        std::string pages = "Pages:";
        std::string all = "All";
        std::string range = "Range";
        std::string orientation = "Orientation:";
        std::string portrait = "Portrait";
        std::string landscape = "Landscape";
    };

    explicit PageSetupControls(kz::PrintSettings& settings);
    PageSetupControls(const PageSetupControls&) = delete;
    PageSetupControls& operator=(const PageSetupControls&) = delete;

    const std::shared_ptr<kz::View>& view() const { return _row; }
    void setTexts(const Texts& texts);

    // The dialog's printer changed: its PPD's paper sizes (none without a
    // PPD) and the panel that hears of a new one (null: no panel). Both
    // stay the caller's and must outlive the next attach.
    void attach(HostPpd* ppd, kz::PDEPanel* panel);
    // The controls show the settings and the PPD's marked paper size.
    void showSettings();

    // Worked as a person works the controls; false with the reason in *why
    // (a paper the PPD does not list, bad ranges, another orientation word).
    bool choosePaper(const std::string& name, std::string* why);
    // Whether the paper menu has NAME; the reason when not.
    bool offersPaper(const std::string& name, std::string* why) const;
    bool choosePages(const std::string& allOrRanges, std::string* why);
    bool chooseOrientation(const std::string& word, std::string* why);
    // The request's parts in that order; the first refusal stops it.
    bool apply(const PageSetupRequest& request, std::string* why);
    // The request's values are ones any printer could take (the paper is
    // checked against the PPD when chosen).
    static bool check(const PageSetupRequest& request, std::string* why);

    // The PageSize choices the paper menu offers, in its order.
    const std::vector<std::string>& paperNames() const { return _paperNames; }
    kz::PopUpButton& paperMenu() const { return *_paper; }
    kz::PopUpButton& pagesMenu() const { return *_pagesMenu; }
    kz::TextField& rangesField() const { return *_ranges; }
    kz::PopUpButton& orientationMenu() const { return *_orientation; }

    // "paper", "pages" ("all" or the ranges) and "orientation" as the
    // settings and the PPD hold them.
    kz::Dictionary report() const;
    // What the settings give the job: page-ranges, orientation-requested.
    static void addJobOptions(const kz::PrintSettings& settings, kz::JobOptions& options);
    // Removes stored values no dialog writes (a file made by hand); the
    // keys removed.
    static std::vector<std::string> dropInvalid(kz::PrintSettings& settings);

private:
    void paperChosen();
    void pagesChosen();
    void rangesTyped();
    void orientationChosen();

    kz::PrintSettings& _settings;
    HostPpd* _ppd = nullptr;
    kz::PDEPanel* _panel = nullptr;
    std::vector<std::string> _paperNames;  // the menu's items, in order
    std::shared_ptr<kz::View> _row;
    std::shared_ptr<kz::TextField> _paperLabel, _pagesLabel, _orientationLabel;
    std::shared_ptr<kz::PopUpButton> _paper, _pagesMenu, _orientation;
    std::shared_ptr<kz::TextField> _ranges;
};

}  // namespace kzpde
