#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/controls/QuillUI.h"

namespace ComTORVALEKZ2R4_Plugin {

class QuillMgr;

// What runs when an option is announced: the rules of its first control in
// a fixed order (conflicts that cannot be resolved, conflicts resolved after
// asking, enabling, hiding, cooperation), then every option touched is
// announced in turn, so that a change travels depth first through the rule
// graph. Rings and runaway fan-outs in the rules are cut off.
class ChangePipeline {
public:
    // Notification names the pipeline will post, each once, in order.
    class NameList {
    public:
        void add(const std::string& name) {
            if (_seen.insert(name).second) _names.push_back(name);
        }
        const std::vector<std::string>& names() const { return _names; }

    private:
        std::vector<std::string> _names;
        std::unordered_set<std::string> _seen;
    };

    explicit ChangePipeline(QuillMgr& registry) : _registry(registry) {}
    ChangePipeline(const ChangePipeline&) = delete;
    ChangePipeline& operator=(const ChangePipeline&) = delete;

    // The option `keyword` changed (to `optionValue`, when given).
    void run(const std::string& keyword, const OptionalText& optionValue);
    // Sets what the option's cooperation entry for its value names.
    void cooperate(const std::string& keyword, NameList& names);

private:
    // Whether this run may go on: false past the cascade's limit and for a
    // keyword already running further up the same cascade.
    bool enter(const std::string& keyword);
    // The rules in their order; false when the change was refused or undone.
    bool applyRules(const std::string& keyword, QuillUI* control, NameList& names);
    void announce(const std::string& keyword, const NameList& names, bool changed);
    void conditionSetting(const std::string& keyword, NameList& names);
    void hide(QuillUI& control, NameList& names);

    QuillMgr& _registry;
    std::unordered_set<std::string> _validating;  // keywords whose pipeline is running
    std::string _cascadeRoot;                     // the keyword the running cascade began with
    std::size_t _cascadeRuns = 0;
};

}  // namespace ComTORVALEKZ2R4_Plugin
