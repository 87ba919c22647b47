// Steps several end-to-end tests share.
#pragma once

#include "harness.h"

#include <QImage>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

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

// Saves a new document (F3) into the session's home through the save
// dialog titled `title`; the picture written.
inline QImage saveNew(Session &s, const QString &title, const QString &name)
{
    using namespace std::chrono_literals;
    s.key("F3");
    if (!s.waitWindow(title))
        return {};
    const QString file = s.home() + "/" + name;
    s.key("ctrl+a");
    s.type(file);
    s.key("Return");
    if (!s.waitWindowGone(title))
        return {};
    // The file is written right after the dialog closes.
    for (int i = 0; i < 50 && QImage(file).isNull(); ++i)
        std::this_thread::sleep_for(100ms);
    return Session::readImage(file);
}

// F3 again saves under the document's name: the new picture once it
// differs from `before`.
inline QImage saveAgain(Session &s, const QString &file, const QImage &before)
{
    using namespace std::chrono_literals;
    s.key("F3");
    QImage after;
    for (int i = 0; i < 50 && (after.isNull() || after == before); ++i) {
        std::this_thread::sleep_for(100ms);
        after = QImage(file);
    }
    return after.convertToFormat(QImage::Format_RGB32);
}

} // namespace e2e
