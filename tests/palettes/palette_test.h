// The program fixture with the two palettes at hand and the few ways tests
// drive their boxes.
#pragma once

#include "program_fixture.h"

#include "palettes/colour_palette.h"
#include "palettes/tool_palette.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

class PaletteTest : public ProgramTest
{
protected:
    quor::ToolPalette &tools() { return *main->toolPalette(); }
    quor::ColourPalette &colours() { return *main->colourPalette(); }
    quor::PictureBox *box(quor::StyleFamily f, int i) { return tools().styleBox(f, i); }

    // A key press as the keyboard sends it, text included.
    static void type(QWidget *w, int key, const QString &text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
    }
    static void leave(QWidget *w)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w, &out);
    }
    // Closes the one document, so none is open.
    void closeAll()
    {
        active()->document().markSaved();
        ASSERT_TRUE(active()->closeDocument());
        ASSERT_EQ(workspace().activeDocument(), nullptr);
    }
};
