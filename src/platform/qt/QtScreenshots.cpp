#include "platform/qt/QtScreenshots.h"

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <filesystem>

#include "platform/qt/QtBridge.h"
#include "platform/qt/QtSupport.h"

namespace kz::qt {

QtScreenshots::QtScreenshots(std::string folder) : _folder(std::move(folder)) {}

void QtScreenshots::install(QtBridge& bridge) {
    bridge.setShownHandler([this](QWidget& topLevel, const std::string& name) {
        // After this turn of the loop: a message box lays itself out as it shows.
        QPointer<QWidget> w = &topLevel;
        QTimer::singleShot(0, w, [this, w, name] {
            if (w && w->isVisible()) write(*w, name);
        });
    });
}

std::string QtScreenshots::write(QWidget& topLevel, const std::string& name) {
    std::string slug;
    for (char c : name) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (keep) slug += c;
        else if (!slug.empty() && slug.back() != '-') slug += '-';
    }
    while (!slug.empty() && slug.back() == '-') slug.pop_back();
    if (slug.empty()) slug = "window";
    char number[16];
    std::snprintf(number, sizeof number, "%02zu-", _written.size() + 1);
    std::error_code ec;
    std::filesystem::create_directories(_folder, ec);
    const std::string path = (std::filesystem::path(_folder) / (number + slug + ".png")).string();
    const QPixmap picture = topLevel.grab();
    if (picture.isNull() || !picture.save(toQString(path), "PNG")) return {};
    _written.push_back(path);
    return path;
}

}  // namespace kz::qt
