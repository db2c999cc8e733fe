#pragma once
// The window's own colours, beside the style's: faults in a dark red, quiet
// notes in grey, the panels' headings in blue.

#include <QColor>
#include <QString>

namespace ui {

inline const QColor kFaultRed(0xa0, 0x00, 0x00);
inline const QColor kQuietGrey(0x55, 0x55, 0x55);
inline const QColor kHeadingBlue(0x1f, 0x3f, 0x73);

// A style sheet that gives a widget's text the colour.
inline QString textColourStyle(const QColor &colour) { return QStringLiteral("color: %1;").arg(colour.name()); }

} // namespace ui
