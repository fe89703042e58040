#include "engine/controls/types/RadioControlType.h"

#include <algorithm>

#include "engine/controls/ControlDescription.h"
#include "platform/foundation/RunLoop.h"
#include "platform/kit/ButtonCell.h"

namespace ComTORVALEKZ2R4_Plugin {

RadioControlType::RadioControlType(QuillUI::Kind kind) : QuillControlType(kind) {}

void RadioControlType::build(QuillUI& q, const Frame& f) const {
    const double top = f.top, W = f.width;
    QuillControlParts& p = parts(q);

    if (showsIcons(q))
        if (auto image = bundleImage(
                q, q.mainKeyword() + "_" + ControlDescription::text(q.controlDictionary(), "default").value_or(""),
                false))
            p.groupIconView = addIconView(q, kz::Rect(0, top - 48, 24, 24), image);
    const int count = static_cast<int>(std::min<std::size_t>(choices(q).size(), 1u << 16));
    auto prototype = std::make_unique<kz::ButtonCell>("radioButton");
    prototype->setButtonType(kz::ButtonType::Radio);
    const bool hasLabel = rawLabel(q) && !rawLabel(q)->empty();
    const double y = hasLabel ? top - kRow - kRow * count : top - kRow * count;
    p.radioButtonMatrix = std::make_shared<kz::Matrix>(kz::Rect(24, y, W - 24, kRow * count), kz::MatrixMode::Radio,
                                                       std::move(prototype), count, 1);
    std::vector<kz::Cell*> cells = p.radioButtonMatrix->cells();
    for (std::size_t i = 0; i < cells.size(); ++i) cells[i]->setTitle(localized(q, choiceTextAt(q, i).value_or("")));
    p.radioButtonMatrix->setCellSize(kz::Size{W - 24, kRow});
    p.radioButtonMatrix->setAction(action(q, "radioButtonAction:", &QuillUI::radioButtonAction));
    q.addSubview(p.radioButtonMatrix);
}

void RadioControlType::read(QuillUI& q) const {
    const auto& matrix = parts(q).radioButtonMatrix;
    if (!matrix) return;
    std::vector<kz::Cell*> cells = matrix->cells();
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (cells[i]->state() == kz::OnState) {
            if (OptionalText v = choiceAt(q, i)) q.setValue(v);
            break;
        }
}

void RadioControlType::write(QuillUI& q, const OptionalText&) const {
    const auto& matrix = parts(q).radioButtonMatrix;
    if (!matrix) return;
    const OptionalText& value = q.value();
    bool found = false;
    std::vector<kz::Cell*> cells = matrix->cells();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        bool on = value && choiceAt(q, i) == *value;
        if (on && !found) matrix->selectCellAtRow(static_cast<int>(i), 0);
        cells[i]->setState(on ? kz::OnState : kz::OffState);
        found = found || on;
    }
    if (found) scheduleSelection(q);
    q.setUnsportValue(found ? std::nullopt : value);
}

// A modal dialog's run loop mode would otherwise lose the selection made
// while it runs. One pending run is enough: it reads the value when it runs,
// and outside modal sessions the mode may not run for a long time.
void RadioControlType::scheduleSelection(QuillUI& q) {
    std::weak_ptr<kz::View> self = q.weak_from_this();
    std::weak_ptr<char>& pending = pendingSelection(q);
    if (self.expired() || !pending.expired()) return;
    // The token lives as long as the scheduled work, run or dropped.
    auto token = std::make_shared<char>(0);
    pending = token;
    kz::RunLoop::current().perform(
        [self, token] {
            (void)token;
            if (auto view = self.lock()) static_cast<QuillUI&>(*view).selectMatrix();
        },
        0, {kz::RunLoop::kModalPanelMode});
}

OptionalText RadioControlType::shown(const QuillUI& q) const {
    if (const auto& matrix = parts(q).radioButtonMatrix) {
        std::vector<kz::Cell*> cells = matrix->cells();
        for (std::size_t i = 0; i < cells.size(); ++i)
            if (cells[i]->state() == kz::OnState) return choiceTextAt(q, i);
    }
    return std::nullopt;
}

// A row per choice, and one for the label.
double RadioControlType::height(const QuillUI& q, bool hasText, bool) const {
    return 20.0 * std::max(q.getChoicesCount(), 0) + (hasText ? kRow : 0);
}

}  // namespace ComTORVALEKZ2R4_Plugin
