#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kz {
class Control;
class View;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class KemoPDEByCocoa;

// The host dialog's own controls around the panel (copies, collate, duplex),
// found among the dialog's views and mirrored in the print settings. A
// control the plug-in's configuration hides is neither read nor written.
class PanelHostControls {
public:
    explicit PanelHostControls(KemoPDEByCocoa& panel) : _panel(panel) {}

    // The host control for "NumCopies", "Collate" or "DuplexMode" among the
    // subviews of `view` (plain views and boxes searched through), or null.
    static kz::Control* getCocoaPDEsControl(const kz::View* view, std::string_view key);
    std::optional<std::string> getCopies();
    void setCopies(const std::optional<std::string>& copies);
    std::optional<std::string> getCollate();
    void setCollate(bool collate);
    std::optional<std::string> getDuplex();
    void setDuplex(const std::optional<std::string>& duplex);
    void setVLInputSlot(const std::optional<std::string>& inputSlot);

private:
    kz::View* hostDialogContentView() const;

    KemoPDEByCocoa& _panel;
};

}  // namespace ComTORVALEKZ2R4_Plugin
