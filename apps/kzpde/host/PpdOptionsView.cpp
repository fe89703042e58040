#include "host/PpdOptionsView.h"

#include <algorithm>
#include <cstring>

#include "platform/kit/TextField.h"

// libcups marks the PPD interface deprecated; a plain PPD's options are
// still read from it.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzpde {

namespace {

constexpr double kRowHeight = 30, kMargin = 12, kLabelWidth = 200, kMenuWidth = 240;
// A hostile PPD with thousands of options makes no window taller than this.
constexpr std::size_t kMaxRows = 200;

// The page setup row has the paper size; PageRegion follows it.
bool shownElsewhere(const char* keyword) {
    return std::strcmp(keyword, "PageSize") == 0 || std::strcmp(keyword, "PageRegion") == 0;
}

void collect(const ppd_group_t& group, std::vector<ppd_option_t*>& out, int depth) {
    for (int i = 0; i < group.num_options; ++i) out.push_back(&group.options[i]);
    if (depth < 2)
        for (int i = 0; i < group.num_subgroups; ++i) collect(group.subgroups[i], out, depth + 1);
}

}  // namespace

PpdOptionsView::PpdOptionsView(HostPpd* ppd) : _ppd(ppd) {
    std::vector<ppd_option_t*> options;
    for (int i = 0; _ppd && i < _ppd->file()->num_groups; ++i) collect(_ppd->file()->groups[i], options, 0);
    for (ppd_option_t* option : options) {
        if (_rows.size() >= kMaxRows) break;
        if (shownElsewhere(option->keyword) || option->num_choices < 1 || option->ui == PPD_UI_PICKMANY) continue;
        Row row{option->keyword, {}, std::make_shared<kz::PopUpButton>(kz::Rect(0, 0, kMenuWidth, 26))};
        for (int c = 0; c < option->num_choices; ++c) {
            const ppd_choice_t& choice = option->choices[c];
            if (std::strcmp(choice.choice, "Custom") == 0) continue;
            row.choices.emplace_back(choice.choice);
            row.menu->addItemWithTitle(choice.text[0] ? choice.text : choice.choice);
        }
        if (row.choices.empty()) continue;
        ppd_choice_t* marked = ppdFindMarkedChoice(_ppd->file(), option->keyword);
        const auto at = marked ? std::find(row.choices.begin(), row.choices.end(), marked->choice) : row.choices.end();
        row.menu->selectItemAtIndex(at == row.choices.end() ? 0 : static_cast<int>(at - row.choices.begin()));
        const std::string keyword = option->keyword;
        row.menu->setAction({"ppdChoiceSelected:", [this, keyword](kz::Control& control) {
                                 const Row* r = find(keyword);
                                 const int index = static_cast<kz::PopUpButton&>(control).indexOfSelectedItem();
                                 if (r && index >= 0 && index < static_cast<int>(r->choices.size()))
                                     _ppd->mark(keyword, r->choices[static_cast<std::size_t>(index)]);
                             }});
        row.menu->setToolTip(option->text[0] ? option->text : option->keyword);
        _rows.push_back(std::move(row));
    }
    // Rows from the top down, in the PPD's order.
    const double height = kMargin * 2 + kRowHeight * static_cast<double>(_rows.size());
    _view = std::make_shared<kz::View>(kz::Rect(0, 0, kMargin * 3 + kLabelWidth + kMenuWidth, height));
    for (std::size_t i = 0; i < _rows.size(); ++i) {
        const double y = height - kMargin - kRowHeight * static_cast<double>(i + 1);
        auto label = std::make_shared<kz::TextField>(kz::Rect(kMargin, y + 5, kLabelWidth, 17));
        label->setEditable(false);
        label->setBezeled(false);
        label->setDrawsBackground(false);
        ppd_option_t* option = ppdFindOption(_ppd->file(), _rows[i].keyword.c_str());
        label->setStringValue(std::string(option && option->text[0] ? option->text : _rows[i].keyword.c_str()) + ":");
        _view->addSubview(label);
        _rows[i].menu->setFrameOrigin({kMargin * 2 + kLabelWidth, y});
        _view->addSubview(_rows[i].menu);
    }
}

std::vector<std::string> PpdOptionsView::keywords() const {
    std::vector<std::string> out;
    for (const Row& row : _rows) out.push_back(row.keyword);
    return out;
}

bool PpdOptionsView::has(const std::string& keyword) const { return find(keyword) != nullptr; }

const PpdOptionsView::Row* PpdOptionsView::find(const std::string& keyword) const {
    for (const Row& row : _rows)
        if (row.keyword == keyword) return &row;
    return nullptr;
}

bool PpdOptionsView::offers(const std::string& keyword, const std::string& choice, std::string* why) const {
    const Row* row = find(keyword);
    if (!row) {
        if (why) *why = "the printer's PPD has no option " + keyword;
        return false;
    }
    if (std::find(row->choices.begin(), row->choices.end(), choice) != row->choices.end()) return true;
    std::string known;
    for (const std::string& c : row->choices) known += (known.empty() ? "" : ", ") + c;
    if (why) *why = "'" + choice + "' is not one of the choices of " + keyword + " (" + known + ")";
    return false;
}

bool PpdOptionsView::choose(const std::string& keyword, const std::string& choice, std::string* why) {
    if (!offers(keyword, choice, why)) return false;
    const Row* row = find(keyword);
    const auto at = std::find(row->choices.begin(), row->choices.end(), choice);
    if (!row->menu->chooseItemAtIndex(static_cast<int>(at - row->choices.begin()))) {
        if (why) *why = "the menu of " + keyword + " cannot be worked now";
        return false;
    }
    return true;
}

}  // namespace kzpde
