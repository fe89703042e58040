#pragma once

namespace kz {
class Control;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class KemoPDEByCocoa;

// The panel's job name: the "Job name..." button, which opens the job name
// dialog over the panel's mode and name, and the label beside it.
class PanelJobName {
public:
    explicit PanelJobName(KemoPDEByCocoa& panel) : _panel(panel) {}

    void clickedJobNameButton(kz::Control* sender);
    void updateJobNameUI();

private:
    KemoPDEByCocoa& _panel;
};

}  // namespace ComTORVALEKZ2R4_Plugin
