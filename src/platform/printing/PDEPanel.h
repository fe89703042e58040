#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"

namespace kz {

class View;

// One panel of a print dialog, as the host drives it. The host owns the panel
// (shared_ptr) and calls it on the main thread only: the view to place in its
// window, show and hide, restore from and save to the print settings and the
// PPD it handed over (PDEHostCallback), and a summary of the settings.
// A panel never lets an exception out of these calls.
class KZ_EXPORT PDEPanel {
public:
    virtual ~PDEPanel();

    virtual std::string panelName() = 0;
    virtual std::string panelKind() = 0;
    // The panel's root view, or nullptr when it could not be made.
    virtual std::shared_ptr<View> panelView() = 0;
    virtual void willShow() = 0;
    // False keeps the panel in front.
    virtual bool shouldHide() = 0;
    // True on success; on failure *error (when given) says why.
    virtual bool restoreValuesAndReturnError(std::string* error) = 0;
    virtual bool saveValuesAndReturnError(std::string* error) = 0;
    // Option display name to value display name.
    virtual std::optional<Dictionary> summaryInfo() = 0;
    // The PPD main keywords the panel stands for, or nullopt.
    virtual std::optional<std::vector<std::string>> supportedPPDOptionKeys() = 0;
    // A PPD choice changed elsewhere in the dialog; either may be missing.
    virtual void PPDOptionKeyValueDidChange(const std::optional<std::string>& mainKeyword,
                                            const std::optional<std::string>& choice) = 0;
};

}  // namespace kz
