#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/HostPpd.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/View.h"

namespace kzpde {

// A printer's own PPD options shown plainly, one labelled menu each, for a
// printer whose PPD names no panel of ours: what a print dialog offers for
// an office printer. Choosing an item marks it in the host's PPD, which
// makes the job's options. The paper size is the page setup row's.
class PpdOptionsView {
public:
    // PPD stays the caller's and must outlive this view.
    explicit PpdOptionsView(HostPpd* ppd);
    PpdOptionsView(const PpdOptionsView&) = delete;
    PpdOptionsView& operator=(const PpdOptionsView&) = delete;

    const std::shared_ptr<kz::View>& view() const { return _view; }
    // The options shown, in the PPD's order.
    std::vector<std::string> keywords() const;
    bool has(const std::string& keyword) const;
    // Chooses CHOICE in the menu of KEYWORD as a person would; false with
    // the reason in *why (no such option or choice).
    bool choose(const std::string& keyword, const std::string& choice, std::string* why);
    // Whether choose() would find the option and the choice.
    bool offers(const std::string& keyword, const std::string& choice, std::string* why) const;

private:
    struct Row {
        std::string keyword;
        std::vector<std::string> choices;  // the menu's items, in order
        std::shared_ptr<kz::PopUpButton> menu;
    };
    const Row* find(const std::string& keyword) const;

    HostPpd* _ppd;
    std::shared_ptr<kz::View> _view;
    std::vector<Row> _rows;
};

}  // namespace kzpde
