#include "host/PrintDialog.h"

#include <algorithm>
#include <charconv>

#include "platform/printing/PrintingCalls.h"

namespace kzpde {

namespace {

constexpr double kControlsHeight = 34;
constexpr double kMinimumWidth = 480;

std::shared_ptr<kz::Button> checkBox(kz::Rect frame, const char* title, const char* selector,
                                     std::function<void(kz::Control&)> handler) {
    auto box = std::make_shared<kz::Button>(frame);
    box->setButtonType(kz::ButtonType::Switch);
    box->setTitle(title);
    box->setAction({selector, std::move(handler)});
    return box;
}

}  // namespace

PrintDialog::PrintDialog(kz::PrintSettings& settings, bool withHostControls)
    : _settings(settings), _window(std::make_shared<kz::Window>(kz::Rect(0, 0, kMinimumWidth, kControlsHeight))) {
    _window->setTitle("Print");
    if (withHostControls) {
        // The copies row: a label, the field and the collate box, in a plain
        // view; the two-sided box in a box of its own beside it.
        _copiesRow = std::make_shared<kz::View>(kz::Rect(0, 0, 300, kControlsHeight));
        _copiesLabel = std::make_shared<kz::TextField>(kz::Rect(20, 7, 70, 17));
        _copiesLabel->setEditable(false);
        _copiesLabel->setBezeled(false);
        _copiesLabel->setDrawsBackground(false);
        _copiesLabel->setStringValue("Copies:");
        _copiesRow->addSubview(_copiesLabel);
        _copies = std::make_shared<kz::TextField>(copiesFrame());
        _copies->setAction({"copiesChanged:", [this](kz::Control&) { copiesChanged(); }});
        _copiesRow->addSubview(_copies);
        _collate = checkBox(kz::Rect(175, 6, 110, 18), "Collated", kCollateAction, [this](kz::Control&) {
            kz::PMSetCollate(&_settings, _collate->state() == kz::OnState);
        });
        _copiesRow->addSubview(_collate);
        _layoutBox = std::make_shared<kz::Box>(kz::Rect(300, 0, 170, kControlsHeight));
        _twoSided = checkBox(kz::Rect(10, 4, 140, 18), "Two-Sided", kTwoSidedAction, [this](kz::Control&) {
            // The panel follows with the exact mode; the box alone means
            // long-edge binding, as print dialogs offer it.
            kz::PMSetDuplex(&_settings, _twoSided->state() == kz::OnState ? kz::PrintSettings::kDuplexNoTumble
                                                                           : kz::PrintSettings::kDuplexNone);
        });
        _layoutBox->contentView().addSubview(_twoSided);
        _window->contentView().addSubview(_copiesRow);
        _window->contentView().addSubview(_layoutBox);
        _pageSetup = std::make_unique<PageSetupControls>(_settings);
        _window->contentView().addSubview(_pageSetup->view());
        showSettings();
    }
    layout();
}

PrintDialog::~PrintDialog() {
    // The panel's view belongs to the panel; it leaves the window first.
    if (_panelView) _panelView->removeFromSuperview();
}

void PrintDialog::setPanelView(std::shared_ptr<kz::View> view) {
    if (_panelView) _panelView->removeFromSuperview();
    _panelView = std::move(view);
    if (_panelView) _window->contentView().addSubview(_panelView);
    layout();
    if (_panelView) _window->makeKeyAndOrderFront();
}

void PrintDialog::layout() {
    const double setup = _pageSetup ? _pageSetup->view()->frame().size.height : 0;
    const double controls = _copiesRow ? kControlsHeight + setup : 0;
    const double bottom = _bottom ? _bottom->frame().size.height : 0;
    const double top = _top ? _top->frame().size.height : 0;
    double width = kMinimumWidth, height = bottom + controls + top;
    if (_panelView) {
        width = std::max(width, _panelView->frame().size.width);
        height += _panelView->frame().size.height;
        _panelView->setFrameOrigin({0, bottom + controls});
    }
    if (_copiesRow) {
        _copiesRow->setFrameOrigin({0, bottom});
        _layoutBox->setFrameOrigin({300, bottom});
        _pageSetup->view()->setFrameOrigin({0, bottom + kControlsHeight});
    }
    if (_bottom) _bottom->setFrame(kz::Rect(0, 0, width, bottom));
    if (_top) _top->setFrame(kz::Rect(0, height - top, width, top));
    kz::Rect frame = _window->frame();
    _window->setFrame(kz::Rect(frame.origin.x, frame.origin.y, width, height));
    _window->contentView().setFrame(kz::Rect(0, 0, width, height));
}

void PrintDialog::setTexts(const Texts& texts) {
    _window->setTitle(texts.title);
    if (!_copiesRow) return;
    _copiesLabel->setStringValue(texts.copies);
    _collate->setTitle(texts.collated);
    _twoSided->setTitle(texts.twoSided);
    _pageSetup->setTexts(texts.pageSetup);
}

void PrintDialog::setAccessoryViews(std::shared_ptr<kz::View> top, std::shared_ptr<kz::View> bottom) {
    for (auto* old : {&_top, &_bottom})
        if (*old) (*old)->removeFromSuperview();
    _top = std::move(top);
    _bottom = std::move(bottom);
    for (auto* row : {&_top, &_bottom})
        if (*row) _window->contentView().addSubview(*row);
    layout();
}

void PrintDialog::showSettings() {
    if (!_copies) return;
    const kz::Value* copies = _settings.value(kz::PrintSettings::kCopiesKey);
    _copies->setStringValue(std::to_string(copies && copies->isInteger() ? copies->integerValue() : 1));
    bool collate = true;
    kz::PMGetCollate(&_settings, &collate);
    _collate->setState(collate ? kz::OnState : kz::OffState);
    int duplex = kz::PrintSettings::kDuplexNone;
    kz::PMGetDuplex(&_settings, &duplex);
    _twoSided->setState(duplex != kz::PrintSettings::kDuplexNone ? kz::OnState : kz::OffState);
    _pageSetup->showSettings();
}

void PrintDialog::copiesChanged() {
    // A number of copies the printing system takes, or the field goes back
    // to the settings' number, as a dialog's copies field refuses the rest.
    const std::string text = _copies->stringValue();
    long copies = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), copies);
    if (error == std::errc() && end == text.data() + text.size() && copies >= 1 && copies <= 9999)
        kz::PMPrintSettingsSetValue(&_settings, kz::PrintSettings::kCopiesKey, kz::Value(static_cast<long long>(copies)));
    else
        showSettings();
}

}  // namespace kzpde
