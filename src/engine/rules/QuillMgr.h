#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/rules/ChangePipeline.h"
#include "engine/rules/ConflictInfo.h"
#include "engine/rules/ConflictSearch.h"
#include "engine/rules/NetworkDataState.h"
#include "engine/rules/QuillMgrTexts.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/NotificationCenter.h"

namespace ComTORVALEKZ2R4_Plugin {

// The option control registry and its rule engine. Every option control is
// filed under its main keyword. One observer for every notification name
// hands each announcement of a filed keyword to the change pipeline
// (ChangePipeline), which runs the rules of its first control; the
// conflicts that need the user's answer are asked here.
class KZ_EXPORT QuillMgr {
public:
    using Controls = std::vector<std::shared_ptr<QuillUI>>;
    using ControlsDictionary = std::vector<std::pair<std::string, Controls>>;  // in the order filed

    QuillMgr();
    ~QuillMgr();
    QuillMgr(const QuillMgr&) = delete;
    QuillMgr& operator=(const QuillMgr&) = delete;

    // ---- setup
    // The plug-in bundle whose "UI" table gives every dialog text; set once.
    void setPdeResourcePath(const std::string& path) { _texts.setResourcePath(path); }
    const std::optional<std::string>& pdeResourcePath() const { return _texts.resourcePath(); }
    // Where isInitializedNetworkData is read (not owned); without one the
    // network data counts as not in yet.
    void setNetworkDataState(const NetworkDataState* state) { _networkState = state; }

    // ---- registry
    void addControl(const std::shared_ptr<QuillUI>& control);
    // Unfiles the control and its children; the keyword stays filed (with
    // fewer or no controls) so the filing order of the others holds.
    void removeControl(const std::shared_ptr<QuillUI>& control);
    const ControlsDictionary& getControlsDictionary() const { return _mainKeywordAndControls; }
    // The controls filed under a keyword; null for an unknown one.
    const Controls* controlsFor(const std::string& keyword) const;
    QuillUI* firstControl(const std::string& keyword) const;
    // The same, held: the pipeline keeps it alive while its announcements
    // may unregister it.
    std::shared_ptr<QuillUI> heldFirstControl(const std::string& keyword) const;

    // ---- values
    OptionalText getStringValue(const std::string& keyword) const;
    // Writes the value to every control of the keyword; no rule runs.
    void setStringValue(const std::string& keyword, const OptionalText& value);
    void updateOldValue(const std::string& keyword);
    kz::Dictionary getAllValueDictionary() const;

    // ---- backups and collective changes
    std::string backupSettings();
    void restoreSettings(const std::string& key);
    bool hasBackup(const std::string& key) const { return _backups.contains(key); }
    void setDefaults();
    void setSettings(const kz::Dictionary& settings);
    bool isCollectiveChange() const { return _isCollectiveChange; }

    using NameList = ChangePipeline::NameList;

    // ---- conflict searches over the registered options
    static int conflictedType(const std::string& pattern, const std::string& value);
    static std::string conflictedValue(const std::string& pattern, const std::string& value);
    std::optional<ConflictInfo> conflictInfo(const std::string& keyword, const std::string& value) const;
    std::optional<ConflictInfo> findConflictInfo(const kz::Dictionary& rule, int typeSelf,
                                                 const std::string& valueSelf) const;
    std::optional<ConflictInfo> findUnrestorableConflictInfo(const kz::Dictionary& rule, int typeSelf,
                                                             const std::string& valueSelf) const;

    // ---- changes the caller makes
    // Asks before the caller sets `keyword` to `value`; true to go ahead
    // (the options to restore are then set and announced).
    bool validateBeforeChange(const std::string& keyword, const std::string& value,
                              const std::optional<std::string>& displayName);
    // Sets the value and the options its conflict restores, without asking
    // or announcing; the restored keywords, none without a conflict.
    std::optional<std::vector<std::string>> setStringValueWithRestoreConfliction(const std::string& keyword,
                                                                                 const std::string& value);

    // A keyword whose pipeline runs further up the same cascade is not
    // validated again (a ring in the rule graph would never end); this log
    // line tells the description's author.
    static constexpr const char* kRingLog = "### ## rule ring: \"%s\" is already being validated";
    // Rules without a ring can still fan out so that one change re-announces
    // the same options exponentially often (a ladder of options that each
    // name both options of the next rung). One cascade runs at most this
    // many pipelines; the rest are dropped with this log line, once.
    static constexpr std::size_t kMaxCascade = 100000;
    static constexpr const char* kCascadeLog = "### ## rule cascade of \"%s\" stopped after %zu validations";

private:
    friend class ChangePipeline;

    // The observer's way in: an announcement of a filed keyword.
    void validateMainKeyword(const kz::NotificationCenter::Notification& notification);
    void _validateMainKeyword(const std::string& keyword, const OptionalText& optionValue);
    // The two conflict steps of the pipeline, which may ask the user; false
    // when the change was undone.
    bool validateUnrestorableConflict(const std::string& keyword, NameList& names);
    bool validateAfterChange(const std::string& keyword, NameList& names);
    // An application-modal alert: 1000 for the first button, 1001 for the second.
    long _alertDialogMessage(const std::string& message, const std::optional<std::string>& button1,
                             const std::optional<std::string>& button2);
    Controls* mutableControlsFor(const std::string& keyword);
    ConflictSearch::ValueLookup valueLookup() const;
    std::string UI(std::string_view key) const { return _texts.lookup(key); }
    // The option's label for dialogs, and the text of its value in them.
    std::string label(const std::string& keyword) const;
    std::string matchText(const std::string& keyword, int type, const std::string& threshold) const;
    std::string conflictedLines(const ConflictInfo& info) const;
    std::string restoreLines(const ConflictInfo& info) const;
    // The old value, or the default while there is none.
    static OptionalText oldOrDefault(const QuillUI& control);
    // Sets the restore values, adding each keyword to `names` and running its cooperation.
    void applyRestore(const ConflictInfo& info, NameList& names);

    class CollectiveScope;

    ControlsDictionary _mainKeywordAndControls;
    std::unordered_map<std::string, std::size_t> _index;  // keyword -> position in the above
    std::map<std::string, kz::Dictionary> _backups;
    QuillMgrTexts _texts;
    bool _isCollectiveChange = false;
    const NetworkDataState* _networkState = nullptr;
    ChangePipeline _pipeline{*this};
};

}  // namespace ComTORVALEKZ2R4_Plugin
