#include "engine/controls/types/SliderControlType.h"

#include <algorithm>
#include <cmath>

#include "engine/controls/ControlDescription.h"

namespace ComTORVALEKZ2R4_Plugin {

using CD = ControlDescription;

SliderControlType::SliderControlType() : QuillControlType(QuillUI::Kind::Slider) {}

void SliderControlType::build(QuillUI& q, const Frame& f) const {
    const double top = f.top, W = f.width;
    const kz::Dictionary& d = q.controlDictionary();
    QuillControlParts& p = parts(q);

    if (showsIcons(q)) {
        if (OptionalText icon = CD::nonEmptyText(d, "icon")) {
            p.minIconView = addIconView(q, kz::Rect(24, top - 42, 24, 24), bundleImage(q, *icon, true));
        } else {
            if (OptionalText minIcon = CD::nonEmptyText(d, "min_icon"))
                p.minIconView = addIconView(q, kz::Rect(24, top - 42, 24, 24), bundleImage(q, *minIcon, true));
            if (OptionalText maxIcon = CD::nonEmptyText(d, "max_icon"))
                p.maxIconView = addIconView(q, kz::Rect(W - 44, top - 42, 24, 24), bundleImage(q, *maxIcon, true));
        }
    }
    p.slider = std::make_shared<kz::Slider>(kz::Rect(48, top - 50, W - 92, 30));
    const std::size_t count = choices(q).size();
    if (count > 0) {
        buildTicks(q, top);
    } else {
        if (OptionalText minText = CD::text(d, "min")) p.slider->setMinValue(kz::intValueOfText(*minText));
        if (OptionalText maxText = CD::text(d, "max")) p.slider->setMaxValue(kz::intValueOfText(*maxText));
        p.slider->setNumberOfTickMarks(10);
    }
    p.slider->setAllowsTickMarkValuesOnly(true);
    if (count == 0) p.slider->setDoubleValue(kz::intValueOfText(initialValue(q).value_or("")));
    p.slider->setAction(action(q, "sliderAction:", &QuillUI::sliderAction));
    q.addSubview(p.slider);
    buildEnds(q, f);
}

// One tick per choice, its text below it.
void SliderControlType::buildTicks(QuillUI& q, double top) {
    QuillControlParts& p = parts(q);
    const std::size_t count = choices(q).size();
    p.slider->setMinValue(0);
    p.slider->setMaxValue(static_cast<double>(count - 1));
    p.slider->setNumberOfTickMarks(static_cast<int>(std::min<std::size_t>(count, 1u << 20)));
    p.slider->setTickMarkPosition(kz::TickMarkPosition::Below);
    // One choice has no step between ticks.
    const double stepX =
        count > 1 ? std::floor((p.slider->frame().size.width - 13) / static_cast<double>(count - 1)) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::string key = choiceAt(q, i).value_or(""), text = choiceTextAt(q, i).value_or("");
        p.optionsKey.push_back(key);
        p.optionsText.push_back(text);
        std::string shown = localized(q, text);
        if (utf8Length(shown) == 1) shown = " " + shown;
        auto tick =
            addTextItem(q, kz::Rect(48 + static_cast<double>(i) * stepX, top - 67.19999999999999, 40, 20), shown);
        tick->setFrameSize(kz::Size{40, 20});
        p.sliderTickLabels.push_back(tick);
    }
}

// The small texts at the two ends, each as wide as it is long.
void SliderControlType::buildEnds(QuillUI& q, const Frame& f) {
    const kz::Dictionary& d = q.controlDictionary();
    QuillControlParts& p = parts(q);
    const kz::Font measure("Helvetica Neue Bold", 15);
    const double y = f.top - 33.599999999999994;
    if (OptionalText minText = CD::text(d, "min_icon_text")) {
        std::string shown = localized(q, *minText);
        double width = measure.widthOfString(shown);
        p.minIconText = addTextItem(q, kz::Rect(f.indent + 12, y, width, 20), shown);
        p.minIconText->setFont(kz::Font::systemFontOfSize(9));
    }
    if (OptionalText maxText = CD::text(d, "max_icon_text")) {
        std::string shown = localized(q, *maxText);
        double width = measure.widthOfString(shown);
        p.maxIconText = addTextItem(q, kz::Rect(f.width - width, y, width, 20), shown);
        p.maxIconText->setFont(kz::Font::systemFontOfSize(9));
    }
}

void SliderControlType::read(QuillUI& q) const {
    const QuillControlParts& p = parts(q);
    if (!p.slider) return;
    if (!p.optionsKey.empty()) {
        double position = p.slider->doubleValue();
        if (position >= 0 && position < static_cast<double>(p.optionsKey.size()))
            q.setValue(p.optionsKey[static_cast<std::size_t>(position)]);
    } else {
        q.setValue(kz::Value(p.slider->doubleValue()).stringValue());
    }
}

void SliderControlType::write(QuillUI& q, const OptionalText& v) const {
    const QuillControlParts& p = parts(q);
    if (!p.slider || !v) return;
    if (!p.optionsKey.empty()) {
        auto it = std::find(p.optionsKey.begin(), p.optionsKey.end(), *v);
        if (it != p.optionsKey.end()) p.slider->setDoubleValue(static_cast<double>(it - p.optionsKey.begin()));
    } else {
        p.slider->setDoubleValue(kz::doubleValueOfText(*v));
    }
}

double SliderControlType::height(const QuillUI&, bool hasText, bool) const { return hasText ? 48 : kRow; }

}  // namespace ComTORVALEKZ2R4_Plugin
