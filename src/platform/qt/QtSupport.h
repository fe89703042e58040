#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <string>
#include <string_view>

#include "platform/kit/Font.h"
#include "platform/kit/Geometry.h"
#include "platform/kit/Image.h"

namespace kz::qt {

// The one place where kit frames (origin bottom left, y upwards, in the
// superview's or the screen's coordinates) become Qt geometry (origin top
// left, y downwards) and back. One kit point is one Qt pixel.
struct QtGeometry {
    static QRect toQt(const Rect& frame, double containerHeight);
    static Rect fromQt(const QRect& rect, double containerHeight);
};

QString toQString(std::string_view utf8);
std::string fromQString(const QString& text);
// Kit texts break lines with carriage returns; Qt labels with line feeds.
QString displayText(std::string_view utf8);

// The face the kit measures texts with (same fontconfig match, same file),
// sized in pixels so that one point of a kit layout is one pixel on screen.
QFont toQFont(const Font& font);

// A deep copy of the picture, drawn at its size in points.
QImage toQImage(const Image& image);

}  // namespace kz::qt
