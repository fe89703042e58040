#include "platform/qt/QtSupport.h"

#include <QFontDatabase>
#include <QStringList>

#include <cmath>
#include <map>

namespace kz::qt {

QRect QtGeometry::toQt(const Rect& frame, double containerHeight) {
    // A negative size (a hostile description) is an empty one at the origin.
    const double width = std::max(0.0, frame.size.width), height = std::max(0.0, frame.size.height);
    const long x = std::lround(frame.minX());
    const long top = std::lround(containerHeight - (frame.minY() + height));
    return QRect(static_cast<int>(x), static_cast<int>(top), static_cast<int>(std::lround(width)),
                 static_cast<int>(std::lround(height)));
}

Rect QtGeometry::fromQt(const QRect& rect, double containerHeight) {
    return Rect(rect.x(), containerHeight - rect.y() - rect.height(), rect.width(), rect.height());
}

QString toQString(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

std::string fromQString(const QString& text) { return text.toUtf8().toStdString(); }

QString displayText(std::string_view utf8) {
    QString s = toQString(utf8);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

QFont toQFont(const Font& font) {
    // Face file -> the family Qt registered it under (empty: Qt refused it).
    static std::map<std::string, QString> families;
    QFont q;
    const std::string file = font.faceFile();
    if (!file.empty()) {
        auto it = families.find(file);
        if (it == families.end()) {
            const int id = QFontDatabase::addApplicationFont(toQString(file));
            const QStringList names = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
            it = families.emplace(file, names.isEmpty() ? QString() : names.first()).first;
        }
        if (!it->second.isEmpty()) q.setFamily(it->second);
    }
    const std::string& name = font.fontName();
    const bool bold = font.isBold() || (name.size() > 5 && name.ends_with(" Bold"));
    q.setBold(bold);
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pointSize()))));
    return q;
}

QImage toQImage(const Image& image) {
    QImage q(static_cast<int>(image.pixelsWide()), static_cast<int>(image.pixelsHigh()), QImage::Format_RGBA8888);
    const auto& px = image.pixels();
    const std::size_t row = static_cast<std::size_t>(image.pixelsWide()) * 4;
    for (int y = 0; y < q.height(); ++y)
        std::copy_n(px.data() + row * static_cast<std::size_t>(y), row, q.scanLine(y));
    const int w = static_cast<int>(std::lround(image.size().width)), h = static_cast<int>(std::lround(image.size().height));
    if (w > 0 && h > 0 && (w != q.width() || h != q.height()))
        return q.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return q;
}

}  // namespace kz::qt
