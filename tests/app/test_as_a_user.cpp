// Faults only real events show: new windows' sizes, the hovering pointer,
// a left release with the right button held, the open dialog's mode, the
// cascade and the size handles at the far end of a large picture.
#include "program_fixture.h"

#include "app/dialogs.h"
#include "document/model/document.h"
#include "document/window_layout.h"
#include "palettes/colour_palette.h"

#include <QApplication>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>

using namespace quor;

class AsAUser : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    int titleBar() const
    {
        QMdiSubWindow *w = main->mdiArea()->subWindowList().first();
        return w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w);
    }
    void mouse(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button,
               Qt::MouseButtons held)
    {
        QMouseEvent e(type, p, w->mapToGlobal(p), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
};

TEST_F(AsAUser, EveryNewDocumentGetsAUsableWindowDownTheCascade)
{
    main->resize(1200, 900);
    const QSize area = main->documentAreaSize();
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(main.get(), Qt::Key_F1);
    ASSERT_EQ(workspace().documentCount(), 10);
    for (int n : {2, 3, 10}) {
        DocumentWindow *doc = workspace().document(n);
        QWidget *sub = doc->parentWidget();
        // It started one title bar further down the cascade; form load's
        // width is the area less that left and 300 twips.
        const int slot = cascadeSlot(n - 1, area, titleBar());
        EXPECT_EQ(sub->width(), area.width() - slot * titleBar() - 20) << n;
        EXPECT_GT(doc->view()->canvasBox()->widthTwips(), 9000) << n;
    }
}

TEST_F(AsAUser, CascadeKeepsEveryPictureInView)
{
    QTest::keyClick(main.get(), Qt::Key_F1);
    QTest::keyClick(main.get(), Qt::Key_F1);
    QTest::keyClick(main.get(), Qt::Key_O, Qt::ControlModifier);
    const QSize area = main->mdiArea()->viewport()->size();
    const QList<QMdiSubWindow *> wins = main->mdiArea()->subWindowList();
    ASSERT_EQ(wins.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(wins[i]->size(), QSize(area.width() * 2 / 3, area.height() * 2 / 3)) << i;
        EXPECT_EQ(wins[i]->pos(), QPoint(i * titleBar(), i * titleBar())) << i;
    }
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::Cascade);
}

TEST_F(AsAUser, TheReadOutFollowsAHoveringPointer)
{
    PictureBox *canvas = active()->view()->canvasBox();
    EXPECT_TRUE(canvas->hasMouseTracking());
    // Moves with no button held, as a tracking widget receives them.
    mouse(canvas, QEvent::MouseMove, {100, 160}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(main->colourPalette()->pointerBox()->text(), "1500  2400");
    mouse(canvas, QEvent::MouseMove, {0, 0}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(main->colourPalette()->pointerBox()->text(), "0  0");
}

TEST_F(AsAUser, ALeftReleaseWithTheRightHeldFinishesTheLine)
{
    workspace().settings.tool = ToolId::Line;
    DocumentWindow *doc = active();
    PictureBox *canvas = doc->view()->canvasBox();
    doc->document().markSaved();
    const QImage blank = canvas->surface().image();
    mouse(canvas, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    mouse(canvas, QEvent::MouseMove, {60, 10}, Qt::NoButton, Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonPress, {60, 10}, Qt::RightButton,
          Qt::LeftButton | Qt::RightButton);
    mouse(canvas, QEvent::MouseButtonRelease, {60, 10}, Qt::LeftButton, Qt::RightButton);
    mouse(canvas, QEvent::MouseButtonRelease, {60, 10}, Qt::RightButton, Qt::NoButton);

    EXPECT_TRUE(doc->document().isModified());
    EXPECT_EQ(canvas->surface().drawMode(), DrawMode::CopyPen);
    // The final line in the drawing colour, no exclusive-or band left.
    CanvasSurface reference;
    reference.setImage(blank);
    reference.setDrawMode(DrawMode::CopyPen);
    reference.line(150, 150, 900, 150, workspace().settings.drawingColour);
    EXPECT_EQ(canvas->surface().image(), reference.image());
}

TEST_F(AsAUser, TheOpenDialogTakesANameThatDoesNotExist)
{
    QtDialogBackend backend;
    FileDialogRequest request;
    request.title = "打开...";
    const QString missing = QDir::tempPath() + "/quor-no-such-picture.bmp";
    QFileDialog::FileMode mode = QFileDialog::Directory;
    QTimer::singleShot(0, [&] {
        auto *fd = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(fd);
        mode = fd->fileMode();
        fd->selectFile(missing);
        QMetaObject::invokeMethod(fd, "accept");
    });
    const std::optional<FileChoice> choice =
        backend.fileDialog(main.get(), request, FileDialogKind::Open);
    EXPECT_EQ(mode, QFileDialog::AnyFile);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->fileName, missing);
}

TEST_F(AsAUser, AtTheFarEndOfALargePictureBothSizeHandlesShowWhole)
{
    DocumentWindow *doc = active();
    doc->view()->canvasBox()->moveTwips(0, 0, 60000, 60000);
    doc->view()->verticalScrollBar()->setValue(doc->view()->verticalScrollBar()->maximum());
    doc->view()->horizontalScrollBar()->setValue(doc->view()->horizontalScrollBar()->maximum());
    const QRect visible(0, 0, doc->width() - doc->view()->verticalScrollBar()->width(),
                        doc->height() - doc->view()->horizontalScrollBar()->height());
    for (QWidget *handle : {static_cast<QWidget *>(doc->view()->widthHandle()),
                            static_cast<QWidget *>(doc->view()->heightHandle()),
                            static_cast<QWidget *>(doc->view()->cornerHandle())}) {
        const QRect r = handle->geometry();
        EXPECT_TRUE(visible.contains(r.bottomRight())) << qPrintable(handle->objectName());
        EXPECT_GE(r.width(), 4);
        EXPECT_GE(r.height(), 4);
    }
}

// A message raised while a dialog loads, before it is shown, stands over
// the main window rather than at the screen's corner.
TEST_F(AsAUser, AMessageOfADialogNotShownYetStandsOverTheMainWindow)
{
    QtDialogBackend backend;
    setDialogScript(nullptr);
    setDialogBackend(&backend);
    QWidget *owner = nullptr;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        owner = box->parentWidget() ? box->parentWidget()->window() : nullptr;
        box->accept();
    });
    main->showFileProperties(); // "New Quor1" was never saved
    setDialogBackend(nullptr);
    setDialogScript(&script);
    EXPECT_EQ(owner, main.get());
}
