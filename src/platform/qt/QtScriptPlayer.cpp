#include "platform/qt/QtScriptPlayer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "platform/qt/QtBridge.h"
#include "platform/qt/QtSupport.h"

namespace kz::qt {

namespace {

constexpr int kStepDelayMs = 60;
constexpr int kRetryDelayMs = 50;
constexpr int kMaxTries = 60;  // three seconds for a window to come up

bool usable(const QWidget& w) { return w.isVisible() && w.isEnabled(); }

template <class T>
T* findIn(QWidget* root, const std::function<bool(T&)>& pred) {
    if (!root) return nullptr;
    for (T* w : root->findChildren<T*>())
        if (usable(*w) && pred(*w)) return w;
    return nullptr;
}

QString plainTitle(const QAbstractButton& b) {
    QString t = b.text();
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(QChar('&'));
    t.replace(QChar('\x01'), QChar('&'));
    return t;
}

bool hasTag(const QWidget& w, const std::string& tag) {
    const QVariant v = w.property("kzTag");
    return v.isValid() && std::to_string(v.toLongLong()) == tag;
}

void sendKey(QWidget* target, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

// Types (or pastes) ARGS[0] into the field tagged ARGS[1], else the focused
// field, else the first editable one; false when there is none yet.
bool typeInto(QWidget* front, const std::vector<std::string>& args, bool paste) {
    QLineEdit* e = nullptr;
    if (args.size() > 1) e = findIn<QLineEdit>(front, [&](QLineEdit& e) { return hasTag(e, args[1]); });
    else if (auto* f = qobject_cast<QLineEdit*>(front->focusWidget()); f && usable(*f)) e = f;
    if (!e) e = findIn<QLineEdit>(front, [](QLineEdit& e) { return !e.isReadOnly(); });
    if (!e) return false;
    e->setFocus(Qt::MouseFocusReason);
    const QString text = toQString(args.empty() ? std::string() : args[0]);
    if (paste) {
        QApplication::clipboard()->setText(text);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::sendEvent(e, &press);
        return true;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        sendKey(e, 0, text.mid(i, n));
        i += n - 1;
    }
    return true;
}

// Presses row ARGS[0] (counted over every expanded level) of the tree
// tagged ARGS[1], else of the first tree that has the row.
bool pressRow(QWidget* front, const std::vector<std::string>& args) {
    const int row = std::atoi(args.empty() ? "" : args[0].c_str());
    QTreeWidgetItem* item = nullptr;
    auto* tree = findIn<QTreeWidget>(front, [&](QTreeWidget& t) {
        if (args.size() > 1 && !hasTag(t, args[1])) return false;
        int r = 0;
        for (QTreeWidgetItemIterator it(&t); *it; ++it, ++r)
            if (r == row) {
                item = *it;
                return true;
            }
        return false;
    });
    if (!tree) return false;
    emit tree->itemPressed(item, 0);
    return true;
}

}  // namespace

std::optional<std::vector<QtScriptPlayer::Step>> QtScriptPlayer::parse(std::string_view text, std::string* error) {
    static const std::vector<std::pair<std::string, std::pair<std::size_t, std::size_t>>> verbs = {
        {"press", {1, 1}}, {"click", {1, 1}}, {"choose", {1, 1}}, {"type", {1, 2}}, {"paste", {1, 1}},
        {"key", {1, 1}},   {"close", {0, 0}}, {"row", {1, 2}},    {"pick", {1, 64}}, {"cancel", {0, 0}},
        {"shot", {0, 1}}};
    std::vector<Step> steps;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        std::vector<std::string> words;
        std::size_t i = 0;
        bool bad = false;
        while (i < line.size()) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
            if (i >= line.size()) break;
            if (words.empty() && line[i] == '#') break;
            std::string word;
            if (line[i] == '"') {
                ++i;
                while (i < line.size() && line[i] != '"') {
                    if (line[i] == '\\' && i + 1 < line.size()) ++i;
                    word += line[i++];
                }
                if (i >= line.size()) bad = true;
                ++i;
            } else {
                while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
            }
            words.push_back(std::move(word));
        }
        if (bad) {
            if (error) *error = "line " + std::to_string(lineNo) + ": unterminated quote";
            return std::nullopt;
        }
        if (words.empty()) continue;
        auto it = std::find_if(verbs.begin(), verbs.end(), [&](auto& v) { return v.first == words[0]; });
        const std::size_t n = words.size() - 1;
        if (it == verbs.end() || n < it->second.first || n > it->second.second) {
            if (error)
                *error = "line " + std::to_string(lineNo) + ": " +
                         (it == verbs.end() ? "unknown step '" + words[0] + "'" : "wrong number of words for " + words[0]);
            return std::nullopt;
        }
        steps.push_back(Step{words[0], std::vector<std::string>(words.begin() + 1, words.end()), lineNo});
    }
    return steps;
}

QtScriptPlayer::QtScriptPlayer(std::vector<Step> steps) : _steps(std::move(steps)) {}

void QtScriptPlayer::start(std::function<void(bool)> finished) {
    _finished = std::move(finished);
    QTimer::singleShot(kStepDelayMs, [this] { next(); });
}

QWidget* QtScriptPlayer::frontWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QtBridge::shared().frontWindow();
}

void QtScriptPlayer::next() {
    if (_done) return;
    if (_at >= _steps.size()) {
        _done = true;
        if (_finished) _finished(true);
        return;
    }
    const Step step = _steps[_at];
    // The following step is due even while this one opens a modal loop.
    ++_at;
    QTimer::singleShot(kStepDelayMs, [this] { next(); });
    const Outcome outcome = run(step);
    if (outcome == Outcome::Done) {
        _tries = 0;
        return;
    }
    // Not there (yet): this step again, a little later, instead of the next.
    --_at;
    if (outcome == Outcome::NotYet && ++_tries < kMaxTries) return;
    _done = true;
    _problems.push_back("line " + std::to_string(step.line) + ": " + step.verb +
                        (step.args.empty() ? std::string() : " " + step.args[0]) + ": nothing to act on");
    if (_finished) _finished(false);
}

QtScriptPlayer::Outcome QtScriptPlayer::run(const Step& step) {
    QWidget* front = frontWindow();
    if (!front) return Outcome::NotYet;
    const std::string& verb = step.verb;
    const std::string arg = step.args.empty() ? std::string() : step.args[0];
    if (verb == "shot") {
        if (_photograph) _photograph(*front, step.args.empty() ? fromQString(front->windowTitle()) : arg);
        return Outcome::Done;
    }
    if (verb == "press") {
        auto* b = findIn<QAbstractButton>(front, [&](QAbstractButton& b) { return plainTitle(b) == toQString(arg); });
        if (b) {
            b->click();
            return Outcome::Done;
        }
        // A tab is pressed as a person clicks it: the bar's current tab changes.
        int tab = -1;
        auto* bar = findIn<QTabBar>(front, [&](QTabBar& bar) {
            for (int i = 0; i < bar.count(); ++i)
                if (bar.tabText(i) == toQString(arg) && bar.isTabEnabled(i)) tab = i;
            return tab >= 0;
        });
        if (!bar) return Outcome::NotYet;
        bar->setCurrentIndex(tab);
        return Outcome::Done;
    }
    if (verb == "click") {
        auto* b = findIn<QAbstractButton>(front, [&](QAbstractButton& b) { return hasTag(b, arg); });
        if (!b) return Outcome::NotYet;
        b->click();
        return Outcome::Done;
    }
    if (verb == "choose") {
        auto* c = findIn<QComboBox>(front, [&](QComboBox& c) { return c.findText(toQString(arg)) >= 0; });
        if (!c) return Outcome::NotYet;
        const int index = c->findText(toQString(arg));
        c->setCurrentIndex(index);
        emit c->activated(index);  // what a click on the item in the open menu sends
        return Outcome::Done;
    }
    if (verb == "type" || verb == "paste") {
        return typeInto(front, step.args, verb == "paste") ? Outcome::Done : Outcome::NotYet;
    }
    if (verb == "key") {
        const int key = arg == "return" ? Qt::Key_Return : arg == "escape" ? Qt::Key_Escape : arg == "tab" ? Qt::Key_Tab : 0;
        if (!key) return Outcome::Failed;
        QWidget* target = front->focusWidget() && front->isAncestorOf(front->focusWidget()) ? front->focusWidget() : front;
        sendKey(target, key, arg == "return" ? QStringLiteral("\r") : arg == "escape" ? QStringLiteral("\x1b") : QStringLiteral("\t"));
        return Outcome::Done;
    }
    if (verb == "close") {
        front->close();
        return Outcome::Done;
    }
    if (verb == "row") {
        return pressRow(front, step.args) ? Outcome::Done : Outcome::NotYet;
    }
    if (verb == "pick" || verb == "cancel") {
        auto* dialog = qobject_cast<QFileDialog*>(front);
        if (!dialog) return Outcome::NotYet;
        if (verb == "cancel") {
            dialog->reject();
            return Outcome::Done;
        }
        QStringList names;
        for (const auto& p : step.args) names << "\"" + toQString(p) + "\"";
        // Qt leaves the name field alone while it has the focus (as it has
        // once the dialog is shown): the choice would not arrive.
        if (QWidget* focused = dialog->focusWidget()) focused->clearFocus();
        dialog->selectFile(step.args.size() == 1 ? toQString(arg) : names.join(' '));
        static_cast<QDialog*>(dialog)->accept();  // public there, the file dialog's own check runs
        return Outcome::Done;
    }
    return Outcome::Failed;
}

}  // namespace kz::qt
