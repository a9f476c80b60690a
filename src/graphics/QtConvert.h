// Conversions between the framework's own types and Qt's, in one place:
// strings, rectangles, colours, classic fonts, mouse buttons and shift
// states, and rounding.
#pragma once

#include <QColor>
#include <QFont>
#include <QMouseEvent>
#include <QRect>
#include <QString>
#include <cmath>
#include <string>

#include "core/Types.h"
#include "graphics/Font.h"

namespace tsb {

// UTF-8 text as Qt's.
inline QString ToQ(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

inline TRect FromQRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// A colour, system colours resolved, as Qt's (opaque).
inline QColor QtColor(TColor color) {
    return QColor::fromRgb(ColorToRGB(color));
}

// A font of a classic face (mapped to its free counterpart) and a height in
// the font's own terms: negative for the pixel height of the characters.
inline QFont ClassicFont(const char* face, int height, TFontStyles style = 0) {
    TFont font;
    font.SetName(face);
    font.SetHeight(height);
    font.SetStyle(style);
    return font.ToQFont();
}

inline TMouseButton ButtonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

// The keys and buttons held during a mouse or wheel event.
inline TShiftState ShiftOf(const QSinglePointEvent* e) {
    TShiftState s = 0;
    const Qt::KeyboardModifiers m = e->modifiers();
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    if (m & Qt::AltModifier) s |= ssAlt;
    const Qt::MouseButtons b = e->buttons();
    if (b & Qt::LeftButton) s |= ssLeft;
    if (b & Qt::RightButton) s |= ssRight;
    if (b & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

// Nearest integer, ties to even.
inline int Round(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace tsb
