// Steps several end-to-end tests share.
#pragma once

#include "harness.h"

#include <QImage>

#include <gtest/gtest.h>

namespace e2e {

// Canvas pixel (x, y) on the screen.
inline QPoint onCanvas(const QRect &canvas, int x, int y)
{
    return canvas.topLeft() + QPoint(x, y);
}

inline bool isBlack(QRgb p) { return (p & 0xffffff) == 0; }
inline bool isWhite(QRgb p) { return (p & 0xffffff) == 0xffffff; }

// Pixels that are not white.
inline int inkCount(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += !isWhite(img.pixel(x, y));
    return n;
}

// Closes the active unsaved document with F7, answers Yes to the save
// question and types the name into the real save dialog; returns the
// picture written.
inline QImage saveThroughCloseQuestion(Session &s, const QString &caption, const QString &name)
{
    s.key("F7");
    if (!s.waitWindow(caption))
        return {};
    s.key("Return"); // Yes
    if (!s.waitWindow("保存 " + caption))
        return {};
    const QString file = s.home() + "/" + name;
    s.key("ctrl+a");
    s.type(file);
    s.key("Return");
    return Session::readImage(file);
}

} // namespace e2e
