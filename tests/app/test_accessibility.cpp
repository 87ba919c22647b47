// Assistive tools and the keyboard: every control carries a name, the
// chosen tool and the working colours can be read, Ctrl+F6 goes round the
// panes, and the palettes answer their keys with a frame where the focus is.
#include "program_fixture.h"

#include "dialogs/custom_filter_dialog.h"
#include "dialogs/gradient_fill_dialog.h"
#include "files/file_properties_dialog.h"
#include "files/picture_browser.h"
#include "dialogs/resize_dialog.h"
#include "palettes/colour_palette.h"
#include "palettes/colour_swatches.h"
#include "palettes/tool_palette.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QTemporaryFile>
#include <QTest>
#include <QToolBar>

using namespace quor;

namespace {

// Roles a user acts on; anything focusable counts as well.
bool isControl(QAccessibleInterface *i)
{
    switch (i->role()) {
    case QAccessible::Button: case QAccessible::CheckBox: case QAccessible::RadioButton:
    case QAccessible::ComboBox: case QAccessible::SpinBox: case QAccessible::Slider:
    case QAccessible::ScrollBar: case QAccessible::EditableText: case QAccessible::MenuItem:
    case QAccessible::PageTab: case QAccessible::ToolBar:
        return true;
    default:
        return i->state().focusable;
    }
}

void collectUnnamed(QAccessibleInterface *i, QStringList &out)
{
    const QAccessible::State s = i->state();
    if (s.invisible)
        return;
    if (!s.disabled && isControl(i) && i->text(QAccessible::Name).trimmed().isEmpty())
        out << (i->object() ? i->object()->metaObject()->className() + (':' + i->object()->objectName())
                            : QStringLiteral("?"));
    for (int k = 0; k < i->childCount(); ++k)
        if (QAccessibleInterface *c = i->child(k))
            collectUnnamed(c, out);
}

// The enabled, shown controls under `w` that have no name.
QStringList unnamedIn(QWidget *w)
{
    QStringList out;
    collectUnnamed(QAccessible::queryAccessibleInterface(w), out);
    return out;
}

QAccessibleInterface *access(QWidget *w) { return QAccessible::queryAccessibleInterface(w); }

} // namespace

class Accessibility : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        active()->setFocus();
    }
    ToolPalette &tools() { return *main->toolPalette(); }
    ColourPalette &colours() { return *main->colourPalette(); }
    static void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), mods);
    }
};

TEST_F(Accessibility, EveryControlIsNamedAndTheChoicesCanBeRead)
{
    EXPECT_EQ(unnamedIn(main.get()).join(' ').toStdString(), "");
    // Narrow enough for the toolbar's overflow button and the tool
    // palette's scroll bar.
    main->resize(300, 250);
    EXPECT_EQ(unnamedIn(main.get()).join(' ').toStdString(), "");

    // Qt names a bar by its title, whatever its accessible name.
    EXPECT_EQ(access(main->toolBar())->text(QAccessible::Name), "工具栏");
    QAccessibleInterface *select = access(tools().button(1)), *arc = access(tools().button(10));
    EXPECT_EQ(arc->role(), QAccessible::RadioButton);
    EXPECT_EQ(arc->text(QAccessible::Name), "弧线");
    EXPECT_EQ(arc->text(QAccessible::Description), "画出直径，按顺时针方向指出弧线末端位置。");
    EXPECT_TRUE(select->state().checkable && select->state().checked);
    EXPECT_FALSE(arc->state().checked);
    arc->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(workspace().settings.tool, ToolId::Arc);
    EXPECT_TRUE(arc->state().checked);
    EXPECT_FALSE(select->state().checked);

    QAccessibleInterface *grey = access(colours().swatch(14));
    EXPECT_EQ(grey->role(), QAccessible::Button);
    EXPECT_TRUE(grey->state().focusable);
    EXPECT_EQ(grey->text(QAccessible::Name), "灰色 (128, 128, 128)");
    EXPECT_EQ(access(colours().swatch(15))->text(QAccessible::Name), "(255, 192, 192)");
    grey->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(access(colours().drawingColourBox())->text(QAccessible::Name),
              "绘图色、填充色：灰色 (128, 128, 128)");
    EXPECT_EQ(access(colours().foreColourBox())->text(QAccessible::Name), "前景色：黑色 (0, 0, 0)");

    QAccessibleInterface *canvas = access(active()->view()->canvasBox());
    EXPECT_EQ(canvas->text(QAccessible::Name), "画布");
    active()->document().loadPicture(QImage(30, 20, QImage::Format_RGB32));
    EXPECT_EQ(canvas->text(QAccessible::Description), "30 × 20 像素");

    ResizeDialog resize({7, 5});
    resize.show();
    EXPECT_EQ(unnamedIn(&resize).join(' ').toStdString(), "");
    main->selectAll();
    main->showCustomFilter();
    auto *filter = main->findChild<CustomFilterDialog *>();
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(unnamedIn(filter).join(' ').toStdString(), "");
    main->showGradientFill();
    auto *gradient = main->findChild<GradientFillDialog *>();
    ASSERT_NE(gradient, nullptr);
    EXPECT_EQ(unnamedIn(gradient).join(' ').toStdString(), "");
    main->showPictureBrowser();
    auto *browser = main->findChild<PictureBrowser *>();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(unnamedIn(browser).join(' ').toStdString(), "");
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    FilePropertiesDialog properties(file.fileName(), main.get());
    properties.show();
    EXPECT_EQ(unnamedIn(&properties).join(' ').toStdString(), "");
}

TEST_F(Accessibility, CtrlF6GoesRoundThePanesAndThePalettesAnswerTheirKeys)
{
    tools().button(2)->setFocus(Qt::TabFocusReason); // the line tool
    tools().chooseStyleBox(StyleFamily::Line, 3);
    active()->setFocus();

    // Into the tool palette at the chosen tool. A tool button acts when the
    // keyboard brings it the focus, as when clicked: the line tool starts
    // again with the solid line, and the arrow keys choose as they go.
    key(Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), tools().button(2));
    EXPECT_EQ(workspace().settings.lineStyle, LineStyle::Solid);
    key(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), tools().button(4));
    EXPECT_EQ(workspace().settings.tool, ToolId::Rectangle);
    key(Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), tools().button(3));
    key(Qt::Key_Return);
    EXPECT_EQ(workspace().settings.tool, ToolId::Ellipse);

    key(Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), colours().swatch(FirstSwatch));
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    ASSERT_EQ(QApplication::focusWidget(), colours().swatch(12));
    key(Qt::Key_Space);
    EXPECT_EQ(workspace().settings.drawingColour, swatchColour(12));
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    ASSERT_EQ(QApplication::focusWidget(), colours().foreColourBox());
    // The menu key is a right click, which a swatch takes no colour from.
    key(Qt::Key_Right);
    key(Qt::Key_Up);
    key(Qt::Key_Menu);
    EXPECT_EQ(workspace().settings.drawingColour, swatchColour(12));

    key(Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), active());
    key(Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), colours().swatch(FirstSwatch));
    key(Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), tools().button(3));
}

TEST_F(Accessibility, AFocusFrameShowsOnlyWhileTheKeyboardBroughtTheFocus)
{
    const QImage plain = colours().grab().toImage();
    key(Qt::Key_F6, Qt::ControlModifier);
    key(Qt::Key_F6, Qt::ControlModifier);
    PictureBox *white = colours().swatch(FirstSwatch);
    ASSERT_EQ(QApplication::focusWidget(), white);
    const QImage framed = colours().grab().toImage();
    const QRect r(white->mapTo(&colours(), QPoint(0, 0)), white->size());
    const int y = r.center().y();
    EXPECT_EQ(framed.pixel(r.left(), y), qRgb(0, 0, 0));
    EXPECT_EQ(framed.pixel(r.left() + 1, y), qRgb(255, 255, 255));
    EXPECT_EQ(framed.pixel(r.left() + 2, y), qRgb(0, 0, 0));
    EXPECT_EQ(framed.pixel(r.center()), qRgb(255, 255, 255));
    for (int py = 0; py < plain.height(); ++py)
        for (int px = 0; px < plain.width(); ++px)
            if (!r.contains(px, py) && plain.pixel(px, py) != framed.pixel(px, py))
                FAIL() << "changed outside the swatch at " << px << "," << py;

    // A click takes the frame away, though the focus stays.
    QTest::mouseClick(white, Qt::LeftButton, {}, white->rect().center());
    EXPECT_EQ(QApplication::focusWidget(), white);
    EXPECT_EQ(colours().grab().toImage(), plain);
}
