#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Common/DialogBase/TDWindowController.h"
#include "engine/dialogs/SharedDialog.h"
#include "platform/foundation/Export.h"

namespace kz {
class Alert;
class Button;
class Control;
class Matrix;
class TextField;
class Window;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

// The job name dialog: the server names the job itself ("Auto") or takes
// the name typed here ("Input"). The name field keeps at most 255
// characters and stores them escaped for transport; OK with "Input" wants
// a name of 1 to 255 characters and otherwise explains so in an alert
// sheet, leaving the dialog open. One process-wide controller, run modally
// or as a sheet; values are pushed in before every run.
class KZ_EXPORT JobNameWinController : public TDWindowController, public SharedDialog<JobNameWinController> {
public:
    static constexpr const char* kAuto = "Auto";
    static constexpr const char* kInput = "Input";
    static constexpr std::uint32_t kMaxJobNameLength = 255;

    ~JobNameWinController() override;

    // Selects the radio whose represented object is `mode` (none: left as
    // it is) and shows `jobName` in the field as the user would see it (none:
    // left as it is); the stored, escaped value follows from the field.
    void restoreValues(const std::optional<std::string>& mode, const std::optional<std::string>& jobName);
    // The selected radio's represented object; "Auto" with none selected.
    std::string specificJobName();
    // The field's value, escaped for transport; empty without a field.
    std::string escapedJobName();
    // The field's text as shown; empty without a field.
    std::string jobName();

    // 1 for OK, 0 for Cancel (or a session that ended otherwise). Whatever
    // the run changed is put back when it does not end with OK.
    int showAsModalDialog();
    // The same as a sheet on `parent`; `didEnd` hears of an OK.
    void showSheet(kz::Window& parent, std::function<void(JobNameWinController&)> didEnd);

    // The radio's action: the caption and the field are enabled exactly
    // when "Input" (any row but the first) is selected.
    void selectRatio(kz::Control* sender);
    void sheetOk(kz::Control* sender);
    void sheetCancel(kz::Control* sender);

    // The shown form of an escaped name, by the field's own rules.
    static std::string displayedJobName(std::string_view escaped);

    kz::TextField* jobNameEdit() const { return _JobNameEdit.get(); }
    kz::TextField* jobNameCaption() const { return _JobNameCaption.get(); }
    kz::Matrix* specificJobNameRadio() const { return _SpecificJobNameRadio.get(); }
    kz::Button* okButton() const { return _okButton.get(); }
    kz::Button* cancelButton() const { return _cancelButton.get(); }

    std::span<const Outlet> outlets() const override;
    std::span<const Action> actions() const override;

protected:
    void windowDidLoad() override;

private:
    friend class SharedDialog<JobNameWinController>;
    JobNameWinController();
    void takeBackups();
    void putBackBackups();
    void endWithCode(long code);

    std::shared_ptr<kz::Button> _okButton, _cancelButton;
    std::shared_ptr<kz::TextField> _JobNameCaption, _JobNameEdit;
    std::shared_ptr<kz::Matrix> _SpecificJobNameRadio;
    std::optional<std::string> jobNameBackup;
    std::int32_t tagBackup = 0;
    std::function<void(JobNameWinController&)> _didEndSelector;
    std::unique_ptr<kz::Alert> _alert;
};

// For panes: runs the shared dialog over the mode and the shown name and,
// on OK, hands back the new mode, the escaped name (only when asked for)
// and the shown name. True exactly on OK; on Cancel nothing changes.
KZ_EXPORT bool ShowJobNameModalDialog(std::string& specificJobName, std::string* escapedJobName, std::string& jobName);

extern template class SharedDialog<JobNameWinController>;

}  // namespace ComTORVALEKZ2R4_Plugin
