#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/kit/Geometry.h"
#include "platform/kit/UiDriver.h"

namespace kz {

class Control;
class View;

// A driver that plays a script: each step acts on the window the user works
// on. Tests write scripts; the tool builds one from its options. A step that
// finds nothing to act on ends the script (the session aborts).
class KZ_EXPORT ScriptedUiDriver : public UiDriver {
public:
    using Step = std::function<bool(Application&, Window&)>;

    ScriptedUiDriver& then(Step step);
    // Clicks the enabled, visible button with the title.
    ScriptedUiDriver& press(std::string title);
    // Clicks the control with the tag (a button, or a matrix's cell by row).
    ScriptedUiDriver& click(long tag);
    // Types character by character into the field with the tag (focusing
    // it), or into the field being edited when the tag is -1.
    ScriptedUiDriver& type(std::string text, long tag = -1);
    // Pastes the text into the field being edited as one edit.
    ScriptedUiDriver& paste(std::string text);
    // Chooses the item with the title in the pop-up that has one.
    ScriptedUiDriver& choose(std::string itemTitle);
    // "\r" presses the default button, "\x1b" the cancel button, "\t" moves
    // the focus to the next text field.
    ScriptedUiDriver& pressKey(std::string key);
    // A mouse-down at the point of the window (the left button unless right).
    ScriptedUiDriver& mouseDown(Point at, bool right = false);
    // Closes the window through its close button.
    ScriptedUiDriver& closeWindow();
    // Clicks the row of the first table (or outline) view that has it, or of
    // the one with the tag.
    ScriptedUiDriver& clickRow(int row, long tag = -1);
    // The answer to the next open or save panel (none cancels it).
    ScriptedUiDriver& pickFiles(std::vector<std::string> paths);
    ScriptedUiDriver& cancelPanel();

    bool step(Application& app, Window& window) override;
    std::optional<std::vector<std::string>> chooseFiles(SavePanel& panel) override;
    void beep() override { ++_beeps; }

    bool finished() const { return _steps.empty(); }
    int beeps() const { return _beeps; }
    // What went wrong with a step that found nothing ("no button 'OK'").
    const std::vector<std::string>& problems() const { return _problems; }

    // Depth first, the first view the predicate accepts.
    static View* find(View& root, const std::function<bool(View&)>& pred);

private:
    std::deque<Step> _steps;
    struct FileAnswer {
        bool cancel = false;
        std::vector<std::string> paths;
    };
    std::deque<FileAnswer> _files;
    std::vector<std::string> _problems;
    int _beeps = 0;
};

}  // namespace kz
