// What the backend needs of its queue's PPD: the finishing values its
// choices stand for (*cupsIPPFinishings), every option's default choice and
// the page sizes. Read once per job; a queue without PPD has none of them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kzps {

class QueueDescription {
public:
    struct Finishing {
        int value = 0;
        // Every option choice that must be chosen for this value.
        std::vector<std::pair<std::string, std::string>> choices;
    };
    // In hundredths of millimetres, as media-size wants them.
    struct Size {
        int width = 0;
        int length = 0;
    };

    QueueDescription() = default;
    // nullopt with the reason in *error when the file is no PPD.
    static std::optional<QueueDescription> load(const std::string& path, std::string* error = nullptr);

    const std::vector<Finishing>& finishings() const { return _finishings; }
    // "" for an option the PPD lacks.
    std::string defaultChoice(const std::string& option) const;
    std::optional<Size> pageSize(const std::string& name) const;

    // For tests and for building a description by hand.
    void addFinishing(Finishing finishing) { _finishings.push_back(std::move(finishing)); }
    void setDefault(const std::string& option, const std::string& choice) { _defaults[option] = choice; }
    void addPageSize(const std::string& name, Size size) { _sizes[name] = size; }

private:
    std::vector<Finishing> _finishings;
    std::map<std::string, std::string> _defaults;
    std::map<std::string, Size> _sizes;
};

}  // namespace kzps
