// The kit of the fixed-layout windows (palettes, effect dialogs, the
// browser, the properties dialog): controls placed by their design
// rectangles in twips and found by their object names, and windows kept
// above the others at a fixed screen place.
#pragma once

#include <QLatin1String>
#include <QRect>
#include <QString>

class QWidget;

namespace quor {

// A control's rectangle from its design position in twips.
QRect twipsRect(double left, double top, double width, double height);

// Gives w its object name (and its text, for a control that has one).
template <typename W>
W *named(W *w, const char *name, const QString &text = {})
{
    w->setObjectName(QLatin1String(name));
    if constexpr (requires { w->setText(text); }) {
        if (!text.isEmpty())
            w->setText(text);
    }
    return w;
}

// Makes w a window above every other, captioned with the program's title,
// whose outside (frame included, once a window manager adds one) lies at
// outer, in screen pixels.
void placeOnTop(QWidget *w, const QRect &outer);
// Puts w into or out of the always-on-top layer, keeping its place.
void setStaysOnTop(QWidget *w, bool onTop);

} // namespace quor
