#include "host/PageSetupControls.h"

#include <algorithm>
#include <cstring>

#include "host/PageRanges.h"

// libcups marks the PPD interface deprecated; the dialog's paper sizes are
// still its PPD's PageSize choices.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzpde {

namespace {

// Two lines: paper size and orientation above, pages below.
constexpr double kLineHigh = 33, kLineLow = 3;

std::shared_ptr<kz::TextField> label(kz::Rect frame, const std::string& text) {
    auto field = std::make_shared<kz::TextField>(frame);
    field->setEditable(false);
    field->setBezeled(false);
    field->setDrawsBackground(false);
    field->setStringValue(text);
    return field;
}

const char* const kOrientations[] = {"portrait", "landscape"};

bool fail(std::string* why, std::string text) {
    if (why) *why = std::move(text);
    return false;
}

}  // namespace

PageSetupControls::PageSetupControls(kz::PrintSettings& settings)
    : _settings(settings), _row(std::make_shared<kz::View>(kz::Rect(0, 0, 480, 2 * kHeight - 6))) {
    const Texts texts;
    _paperLabel = label(kz::Rect(20, kLineHigh + 5, 80, 17), texts.paper);
    _paper = std::make_shared<kz::PopUpButton>(kz::Rect(100, kLineHigh, 150, 26));
    _paper->setAction({"paperSizeSelected:", [this](kz::Control&) { paperChosen(); }});
    _orientationLabel = label(kz::Rect(262, kLineHigh + 5, 85, 17), texts.orientation);
    _orientation = std::make_shared<kz::PopUpButton>(kz::Rect(350, kLineHigh, 120, 26));
    _orientation->addItemsWithTitles({texts.portrait, texts.landscape});
    _orientation->setAction({"orientationSelected:", [this](kz::Control&) { orientationChosen(); }});
    _pagesLabel = label(kz::Rect(20, kLineLow + 5, 80, 17), texts.pages);
    _pagesMenu = std::make_shared<kz::PopUpButton>(kz::Rect(100, kLineLow, 100, 26));
    _pagesMenu->addItemsWithTitles({texts.all, texts.range});
    _pagesMenu->setAction({"pagesSelected:", [this](kz::Control&) { pagesChosen(); }});
    _ranges = std::make_shared<kz::TextField>(kz::Rect(210, kLineLow + 2, 150, 22));
    _ranges->setTag(kRangesTag);
    _ranges->setAction({"pageRangesChanged:", [this](kz::Control&) { rangesTyped(); }});
    for (const auto& view : std::initializer_list<std::shared_ptr<kz::View>>{
             _paperLabel, _paper, _orientationLabel, _orientation, _pagesLabel, _pagesMenu, _ranges})
        _row->addSubview(view);
    showSettings();
}

void PageSetupControls::setTexts(const Texts& texts) {
    _paperLabel->setStringValue(texts.paper);
    _pagesLabel->setStringValue(texts.pages);
    _orientationLabel->setStringValue(texts.orientation);
    for (auto [menu, first, second] : {std::tuple{_pagesMenu.get(), &texts.all, &texts.range},
                                       std::tuple{_orientation.get(), &texts.portrait, &texts.landscape}}) {
        menu->itemAtIndex(0)->setTitle(*first);
        menu->itemAtIndex(1)->setTitle(*second);
    }
}

void PageSetupControls::attach(HostPpd* ppd, kz::PDEPanel* panel) {
    _ppd = ppd;
    _panel = panel;
    _paper->removeAllItems();
    _paperNames.clear();
    ppd_option_t* sizes = _ppd ? ppdFindOption(_ppd->file(), kPageSize) : nullptr;
    for (int i = 0; sizes && i < sizes->num_choices; ++i) {
        const ppd_choice_t& choice = sizes->choices[i];
        // A custom size takes dimensions this row has no fields for.
        if (std::strcmp(choice.choice, "Custom") == 0) continue;
        _paperNames.emplace_back(choice.choice);
        _paper->addItemWithTitle(choice.text[0] ? choice.text : choice.choice);
    }
    showSettings();
}

void PageSetupControls::showSettings() {
    ppd_choice_t* marked = _ppd ? ppdFindMarkedChoice(_ppd->file(), kPageSize) : nullptr;
    const auto at = marked ? std::find(_paperNames.begin(), _paperNames.end(), marked->choice) : _paperNames.end();
    _paper->selectItemAtIndex(at == _paperNames.end() ? -1 : static_cast<int>(at - _paperNames.begin()));
    _paper->setEnabled(!_paperNames.empty());
    const kz::Value* ranges = _settings.value(kPageRangesKey);
    const bool range = ranges && ranges->isString() && !ranges->string().empty();
    _pagesMenu->selectItemAtIndex(range ? 1 : 0);
    _ranges->setStringValue(range ? ranges->string() : "");
    _ranges->setEnabled(range);
    const kz::Value* orientation = _settings.value(kOrientationKey);
    _orientation->selectItemAtIndex(orientation && orientation->stringValue() == kOrientations[1] ? 1 : 0);
}

bool PageSetupControls::offersPaper(const std::string& name, std::string* why) const {
    if (std::find(_paperNames.begin(), _paperNames.end(), name) != _paperNames.end()) return true;
    if (_paperNames.empty()) return fail(why, "'" + name + "': the printer's PPD lists no paper sizes");
    std::string known;
    for (const std::string& n : _paperNames) known += (known.empty() ? "" : ", ") + n;
    return fail(why, "'" + name + "' is not a paper size of the printer's PPD (" + known + ")");
}

bool PageSetupControls::choosePaper(const std::string& name, std::string* why) {
    if (!offersPaper(name, why)) return false;
    const auto at = std::find(_paperNames.begin(), _paperNames.end(), name);
    if (!_paper->chooseItemAtIndex(static_cast<int>(at - _paperNames.begin())))
        return fail(why, "the paper size menu cannot be worked now");
    return true;
}

bool PageSetupControls::choosePages(const std::string& allOrRanges, std::string* why) {
    if (allOrRanges == "all") return _pagesMenu->chooseItemAtIndex(0) || fail(why, "the pages menu cannot be worked now");
    std::string reason;
    const auto ranges = PageRanges::normalized(allOrRanges, &reason);
    if (!ranges) return fail(why, "'" + allOrRanges + "' is not \"all\" nor page ranges: " + reason);
    if (!_pagesMenu->chooseItemAtIndex(1)) return fail(why, "the pages menu cannot be worked now");
    _ranges->setStringValue(allOrRanges);
    _ranges->sendAction();
    return true;
}

bool PageSetupControls::chooseOrientation(const std::string& word, std::string* why) {
    for (int i = 0; i < 2; ++i)
        if (word == kOrientations[i])
            return _orientation->chooseItemAtIndex(i) || fail(why, "the orientation menu cannot be worked now");
    return fail(why, "'" + word + "' is not portrait or landscape");
}

bool PageSetupControls::check(const PageSetupRequest& request, std::string* why) {
    std::string reason;
    if (request.paper && request.paper->empty()) return fail(why, "--paper: no paper size given");
    if (request.pages && *request.pages != "all" && !PageRanges::normalized(*request.pages, &reason))
        return fail(why, "--pages " + *request.pages + ": not \"all\" nor page ranges: " + reason);
    if (request.orientation && *request.orientation != kOrientations[0] && *request.orientation != kOrientations[1])
        return fail(why, "--orientation " + *request.orientation + ": not portrait or landscape");
    return true;
}

bool PageSetupControls::apply(const PageSetupRequest& request, std::string* why) {
    std::string reason;
    if (request.paper && !choosePaper(*request.paper, &reason)) return fail(why, "--paper " + *request.paper + ": " + reason);
    if (request.pages && !choosePages(*request.pages, &reason)) return fail(why, "--pages " + *request.pages + ": " + reason);
    if (request.orientation && !chooseOrientation(*request.orientation, &reason))
        return fail(why, "--orientation " + *request.orientation + ": " + reason);
    return true;
}

void PageSetupControls::paperChosen() {
    const int index = _paper->indexOfSelectedItem();
    if (!_ppd || index < 0 || index >= static_cast<int>(_paperNames.size())) return;
    const std::string& name = _paperNames[static_cast<std::size_t>(index)];
    _ppd->mark(kPageSize, name);
    // The panel follows the paper size where it says it does (imposition
    // and tray choices depend on it).
    if (!_panel) return;
    const auto keys = _panel->supportedPPDOptionKeys();
    if (keys && std::find(keys->begin(), keys->end(), kPageSize) != keys->end())
        _panel->PPDOptionKeyValueDidChange(std::string(kPageSize), name);
}

void PageSetupControls::pagesChosen() {
    const bool range = _pagesMenu->indexOfSelectedItem() == 1;
    _ranges->setEnabled(range);
    if (!range) {
        _settings.remove(kPageRangesKey);
        _ranges->setStringValue("");
    } else if (!_ranges->stringValue().empty()) {
        rangesTyped();
    }
}

void PageSetupControls::rangesTyped() {
    // Ranges the job can carry, or the field goes back to what the settings
    // hold, as the copies field refuses what it cannot take; emptied, the
    // job prints every page.
    const std::string text = _ranges->stringValue();
    if (text.find_first_not_of(" \t") == std::string::npos) {
        _settings.remove(kPageRangesKey);
        return;
    }
    if (const auto ranges = PageRanges::normalized(text, nullptr)) {
        _settings.setValue(kPageRangesKey, kz::Value(*ranges));
        return;
    }
    showSettings();
}

void PageSetupControls::orientationChosen() {
    const int index = _orientation->indexOfSelectedItem();
    if (index == 0 || index == 1) _settings.setValue(kOrientationKey, kz::Value(kOrientations[index]));
}

kz::Dictionary PageSetupControls::report() const {
    ppd_choice_t* marked = _ppd ? ppdFindMarkedChoice(_ppd->file(), kPageSize) : nullptr;
    const kz::Value* ranges = _settings.value(kPageRangesKey);
    const kz::Value* orientation = _settings.value(kOrientationKey);
    kz::Dictionary out;
    out.set("paper", kz::Value(marked ? std::string(marked->choice) : std::string()));
    out.set("pages", kz::Value(ranges && ranges->isString() ? ranges->string() : std::string("all")));
    out.set("orientation", kz::Value(orientation && orientation->isString() ? orientation->string() : std::string("portrait")));
    return out;
}

void PageSetupControls::addJobOptions(const kz::PrintSettings& settings, kz::JobOptions& options) {
    const kz::Value* ranges = settings.value(kPageRangesKey);
    if (ranges && ranges->isString())
        if (const auto checked = PageRanges::normalized(ranges->string(), nullptr))
            options.set("page-ranges", *checked, kz::JobOptions::Kind::typed);
    // IPP's enums: 3 portrait, 4 landscape.
    const kz::Value* orientation = settings.value(kOrientationKey);
    if (orientation && orientation->isString()) {
        if (orientation->string() == kOrientations[0]) options.set("orientation-requested", "3", kz::JobOptions::Kind::typed);
        if (orientation->string() == kOrientations[1]) options.set("orientation-requested", "4", kz::JobOptions::Kind::typed);
    }
}

std::vector<std::string> PageSetupControls::dropInvalid(kz::PrintSettings& settings) {
    std::vector<std::string> dropped;
    const kz::Value* ranges = settings.value(kPageRangesKey);
    if (ranges && (!ranges->isString() || !PageRanges::normalized(ranges->string(), nullptr)))
        dropped.emplace_back(kPageRangesKey);
    const kz::Value* orientation = settings.value(kOrientationKey);
    if (orientation && (!orientation->isString() ||
                        (orientation->string() != kOrientations[0] && orientation->string() != kOrientations[1])))
        dropped.emplace_back(kOrientationKey);
    for (const std::string& key : dropped) settings.remove(key);
    return dropped;
}

}  // namespace kzpde
