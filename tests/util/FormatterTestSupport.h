#pragma once

#include <string>
#include <vector>

#include "Common/TextInput/TextFieldEnvironment.h"
#include "platform/kit/FieldEditor.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

// Records the alert sheets the formatters show, and resets the environment.
struct SheetRecorder {
    std::vector<std::string> messages;
    explicit SheetRecorder(bool japanese = false) {
        kzp::TextFieldEnvironment::setSheetPresenter(
            [this](kz::Window*, const std::string& message) { messages.push_back(message); });
        kzp::TextFieldEnvironment::setJapanesePreferred([japanese] { return japanese; });
    }
    ~SheetRecorder() {
        kzp::TextFieldEnvironment::setSheetPresenter(nullptr);
        kzp::TextFieldEnvironment::setJapanesePreferred(nullptr);
    }
};

inline void typeText(kz::FieldEditor& editor, const std::string& text) { editor.insertText(text); }
