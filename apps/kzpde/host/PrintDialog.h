#pragma once

#include <memory>
#include <string>

#include "host/PageSetupControls.h"
#include "platform/kit/Box.h"
#include "platform/kit/Button.h"
#include "platform/kit/TextField.h"
#include "platform/kit/View.h"
#include "platform/kit/Window.h"
#include "platform/printing/PrintSettings.h"

namespace kzpde {

// The tool's print dialog as a (headless) kit window: the panel's view on
// top and, below it, the dialog's own paper size, pages and orientation
// (PageSetupControls), copies field, collate check box and two-sided box, each writing its value into the print settings when
// the user (or the panel, as the user would) works it. The panel finds those
// three in the window that holds its view by their class, frame and action,
// so they are plain kit classes in a plain view and a box.
class PrintDialog {
public:
    // Where a panel looks for the copies field of a print dialog.
    static kz::Rect copiesFrame() { return {95, 4, 70, 22}; }
    static constexpr const char* kCollateAction = "collatedSelected:";
    static constexpr const char* kTwoSidedAction = "twoSidedSelected:";

    // WITH_HOST_CONTROLS false builds a dialog that has none of its own controls,
    // as some hosts do; the panel then does without them.
    PrintDialog(kz::PrintSettings& settings, bool withHostControls = true);
    ~PrintDialog();
    PrintDialog(const PrintDialog&) = delete;
    PrintDialog& operator=(const PrintDialog&) = delete;

    // Places the panel's view in the window (replacing an earlier one) and
    // shows the window; the controls show the settings' values.
    void setPanelView(std::shared_ptr<kz::View> view);
    // The controls take the print settings' copies, collate and duplex.
    void showSettings();
    // Fits the window around the panel's view (which may change its size
    // when it is shown) and the host's controls below it.
    void layout();

    // The texts of the dialog's own controls, in the user's language.
    struct Texts {
        std::string title = "Print";
        std::string copies = "Copies:";
        std::string collated = "Collated";
        std::string twoSided = "Two-Sided";
        PageSetupControls::Texts pageSetup;
    };
    void setTexts(const Texts& texts);
    // Rows of a dialog a person works: TOP above the panel (the printer
    // menu), BOTTOM below the host's controls (the buttons). Each keeps its
    // height and takes the window's width; null for none.
    void setAccessoryViews(std::shared_ptr<kz::View> top, std::shared_ptr<kz::View> bottom);

    kz::Window& window() const { return *_window; }
    // Null in a dialog without host controls.
    kz::TextField* copiesField() const { return _copies.get(); }
    kz::Button* collateCheckBox() const { return _collate.get(); }
    kz::Button* twoSidedCheckBox() const { return _twoSided.get(); }
    PageSetupControls* pageSetup() const { return _pageSetup.get(); }

private:
    void copiesChanged();

    kz::PrintSettings& _settings;
    std::shared_ptr<kz::Window> _window;
    std::shared_ptr<kz::View> _panelView;
    std::shared_ptr<kz::View> _top;
    std::shared_ptr<kz::View> _bottom;
    std::shared_ptr<kz::View> _copiesRow;
    std::shared_ptr<kz::Box> _layoutBox;
    std::shared_ptr<kz::TextField> _copiesLabel;
    std::shared_ptr<kz::TextField> _copies;
    std::shared_ptr<kz::Button> _collate;
    std::shared_ptr<kz::Button> _twoSided;
    std::unique_ptr<PageSetupControls> _pageSetup;
};

}  // namespace kzpde
