#include "platform/kit/ScriptedUiDriver.h"

#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/TableView.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"

namespace kz {

namespace {
bool usable(View& v) {
    auto* c = dynamic_cast<Control*>(&v);
    return !v.isHiddenOrHasHiddenAncestor() && (!c || c->isEnabled());
}
}  // namespace

View* ScriptedUiDriver::find(View& root, const std::function<bool(View&)>& pred) {
    return pred(root) ? &root : root.findDescendant(pred);
}

ScriptedUiDriver& ScriptedUiDriver::then(Step step) {
    _steps.push_back(std::move(step));
    return *this;
}

ScriptedUiDriver& ScriptedUiDriver::press(std::string title) {
    return then([this, title](Application&, Window& w) {
        Application::EventScope event(Event::mouseDown({}));
        auto* b = dynamic_cast<Button*>(find(w.contentView(), [&](View& v) {
            auto* b = dynamic_cast<Button*>(&v);
            return b && b->title() == title && usable(v);
        }));
        if (!b) _problems.push_back("no button '" + title + "'");
        return b && b->performClick();
    });
}

ScriptedUiDriver& ScriptedUiDriver::click(long tag) {
    return then([this, tag](Application&, Window& w) {
        Application::EventScope event(Event::mouseDown({}));
        View* v = find(w.contentView(), [&](View& v) {
            auto* c = dynamic_cast<Control*>(&v);
            return c && usable(v) && (c->tag() == tag || (dynamic_cast<Matrix*>(c) && static_cast<Matrix*>(c)->cellWithTag(tag)));
        });
        if (auto* m = dynamic_cast<Matrix*>(v)) {
            for (int r = 0; r < m->numberOfRows(); ++r)
                for (int c = 0; c < m->numberOfColumns(); ++c)
                    if (m->cellAtRow(r, c)->tag() == tag) return m->clickCellAtRow(r, c);
        }
        if (auto* b = dynamic_cast<Button*>(v)) return b->performClick();
        _problems.push_back("no control with tag " + std::to_string(tag));
        return false;
    });
}

ScriptedUiDriver& ScriptedUiDriver::type(std::string text, long tag) {
    return then([this, text, tag](Application&, Window& w) {
        if (tag != -1) {
            auto* f = dynamic_cast<TextField*>(find(w.contentView(), [&](View& v) {
                auto* f = dynamic_cast<TextField*>(&v);
                return f && f->tag() == tag;
            }));
            if (!f || !w.makeFirstResponder(f)) {
                _problems.push_back("cannot focus the field with tag " + std::to_string(tag));
                return false;
            }
        }
        TextField* f = w.editedField();
        if (!f) {
            _problems.push_back("no field is being edited");
            return false;
        }
        // Refused keystrokes are part of what the user does.
        for (std::size_t i = 0; i < text.size();) {
            std::size_t n = 1;
            while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
            if (FieldEditor* e = f->currentEditor()) e->insertText(text.substr(i, n));
            i += n;
        }
        return true;
    });
}

ScriptedUiDriver& ScriptedUiDriver::paste(std::string text) {
    return then([this, text](Application&, Window& w) {
        TextField* f = w.editedField();
        if (!f) _problems.push_back("no field is being edited");
        if (f) f->currentEditor()->insertText(text);
        return f != nullptr;
    });
}

ScriptedUiDriver& ScriptedUiDriver::choose(std::string itemTitle) {
    return then([this, itemTitle](Application&, Window& w) {
        auto* p = dynamic_cast<PopUpButton*>(find(w.contentView(), [&](View& v) {
            auto* p = dynamic_cast<PopUpButton*>(&v);
            return p && usable(v) && p->indexOfItemWithTitle(itemTitle) >= 0;
        }));
        if (!p) _problems.push_back("no pop-up with '" + itemTitle + "'");
        return p && p->chooseItemAtIndex(p->indexOfItemWithTitle(itemTitle));
    });
}

ScriptedUiDriver& ScriptedUiDriver::pressKey(std::string key) {
    return then([this, key](Application&, Window& w) {
        Application::EventScope event(Event::keyDown(key));
        if (w.sendEvent(Event::keyDown(key))) return true;
        if (key == "\t") {
            std::vector<TextField*> fields;
            find(w.contentView(), [&](View& v) {
                if (auto* f = dynamic_cast<TextField*>(&v); f && f->acceptsFirstResponder()) fields.push_back(f);
                return false;
            });
            if (fields.empty()) return false;
            TextField* current = w.editedField();
            std::size_t next = 0;
            for (std::size_t i = 0; i < fields.size(); ++i)
                if (fields[i] == current) next = (i + 1) % fields.size();
            w.makeFirstResponder(fields[next]);  // may stay: the field keeps the focus
            return true;
        }
        auto* b = dynamic_cast<Button*>(find(w.contentView(), [&](View& v) {
            auto* b = dynamic_cast<Button*>(&v);
            return b && usable(v) && b->keyEquivalent() == key;
        }));
        if (b) return b->performClick();
        if (key == "\r")
            if (TextField* f = w.editedField()) {
                if (!w.makeFirstResponder(nullptr)) return true;
                f->sendAction();
                return true;
            }
        _problems.push_back("nothing answers the key");
        return false;
    });
}

ScriptedUiDriver& ScriptedUiDriver::mouseDown(Point at, bool right) {
    return then([this, at, right](Application&, Window& w) {
        Event e = Event::mouseDown(at, right);
        Application::EventScope event(e);
        if (!w.sendEvent(e)) _problems.push_back("nothing answers the mouse");
        return true;  // a click on nothing is still a click
    });
}

ScriptedUiDriver& ScriptedUiDriver::closeWindow() {
    return then([this](Application&, Window& w) {
        if (!w.performClose()) _problems.push_back("the window refused to close");
        return true;
    });
}

ScriptedUiDriver& ScriptedUiDriver::clickRow(int row, long tag) {
    return then([this, row, tag](Application&, Window& w) {
        Application::EventScope event(Event::mouseDown({}));
        auto* t = dynamic_cast<TableView*>(find(w.contentView(), [&](View& v) {
            auto* t = dynamic_cast<TableView*>(&v);
            return t && usable(v) && (tag == -1 ? row < t->numberOfRows() : t->tag() == tag);
        }));
        if (!t) {
            _problems.push_back("no table with row " + std::to_string(row));
            return false;
        }
        t->clickRow(row);  // a refused row is part of what the user does
        return true;
    });
}

ScriptedUiDriver& ScriptedUiDriver::pickFiles(std::vector<std::string> paths) {
    _files.push_back(FileAnswer{false, std::move(paths)});
    return *this;
}

ScriptedUiDriver& ScriptedUiDriver::cancelPanel() {
    _files.push_back(FileAnswer{true, {}});
    return *this;
}

bool ScriptedUiDriver::step(Application& app, Window& window) {
    if (_steps.empty()) return false;
    Step s = std::move(_steps.front());
    _steps.pop_front();
    return s(app, window);
}

std::optional<std::vector<std::string>> ScriptedUiDriver::chooseFiles(SavePanel&) {
    if (_files.empty()) return std::nullopt;
    FileAnswer answer = std::move(_files.front());
    _files.pop_front();
    if (answer.cancel) return std::nullopt;
    return std::move(answer.paths);
}

}  // namespace kz
