#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/QuillTextField.h"
#include "platform/kit/Button.h"
#include "platform/kit/DatePicker.h"
#include "platform/kit/ImageView.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/Slider.h"
#include "platform/kit/Stepper.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

// The widgets, texts and icons one option control is built of (null or
// empty where its type has none). The control owns them; its control type
// builds them and reads and writes the value through them.
struct QuillControlParts {
    std::shared_ptr<kz::Button> checkBox;
    std::shared_ptr<kz::PopUpButton> popupButton;
    std::shared_ptr<kz::Matrix> radioButtonMatrix;
    std::shared_ptr<QuillTextField> textField;
    std::shared_ptr<kz::Stepper> stepper;
    std::shared_ptr<kz::Slider> slider;
    std::shared_ptr<kz::Button> pushButton;
    std::vector<std::shared_ptr<kz::DatePicker>> datePickers;
    std::shared_ptr<kz::TextField> labelText, descText, headText, headTitleText, groupTitleText;
    std::shared_ptr<kz::TextField> minIconText, maxIconText;
    std::vector<std::shared_ptr<kz::TextField>> sliderTickLabels;
    std::shared_ptr<kz::ImageView> groupIconView, trueIconView, falseIconView;
    std::shared_ptr<kz::ImageView> minIconView, maxIconView, numberIconView;
    // A slider over "choices": the value and the text of each tick.
    std::vector<std::string> optionsKey;
    std::vector<std::string> optionsText;
};

}  // namespace ComTORVALEKZ2R4_Plugin
