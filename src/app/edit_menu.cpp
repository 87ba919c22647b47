// The Edit menu's picture commands: Select all, Clear, Copy and Paste of
// the floating selection through the desktop clipboard, the whole-picture
// window, and the foreground and background colours.
#include "app/main_window.h"

#include "app/whole_picture_window.h"
#include "document/document_window.h"
#include "document/model/picture_commands.h"
#include "files/file_texts.h"
#include "formats/picture_loader.h"
#include "palettes/colour_palette.h"
#include "palettes/pick_colour.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QTimer>

#include <new>

namespace quor {

namespace {

// What the desktop clipboard offers as a picture: our own copy as it is,
// or the bytes another program offers under a picture type. Every question
// to the clipboard's owner may wait 5 s for an answer, and Qt's own
// hasImage() and image() ask again for each picture type: an owner that
// hangs would freeze the program for a minute. So ask once for the list of
// types and once for the best picture type on it.
struct ClipboardPicture
{
    bool offered = false;
    QImage own;
    QByteArray bytes;
};

ClipboardPicture clipboardPicture()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    const QStringList types = data->formats();
    QString best;
    for (const char *preferred : {"image/png", "image/bmp", "image/jpeg"})
        if (types.contains(QLatin1String(preferred))) {
            best = QLatin1String(preferred);
            break;
        }
    // Any other picture type is read by its content, as Open reads a file.
    for (qsizetype i = 0; best.isEmpty() && i < types.size(); ++i)
        if (types[i].startsWith(QLatin1String("image/")))
            best = types[i];
    if (!best.isEmpty())
        return {true, {}, data->data(best)};
    // Our own copy, still held by this program, is the picture itself.
    if (types.contains(QLatin1String("application/x-qt-image")))
        return {true, qvariant_cast<QImage>(data->imageData()), {}};
    return {};
}

// The offered picture decoded exactly as Open decodes a file of the same
// bytes, with the same limits and the same reasons for refusing it.
QImage decodeOffered(const ClipboardPicture &offer)
{
    if (!offer.own.isNull())
        return offer.own;
    // An owner that does not answer in time hands over nothing.
    if (offer.bytes.isEmpty())
        throw QuorError(err::InvalidPicture,
                        QStringLiteral("剪贴板上的图片是空的（提供它的程序没有交出数据）。"));
    return decodePicture(ByteSpan(offer.bytes.constData(), std::size_t(offer.bytes.size())));
}

} // namespace

void MainWindow::selectAll()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    doc->floatPicture(doc->document().canvas().image(), 0, 0);
    doc->gesture().startX = 0;
    doc->gesture().startY = 0;
}

void MainWindow::clearPicture()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    // Without a floating selection this paints the hidden picture only.
    commands::clearSelection(doc->document(), m_workspace.settings.drawingColour);
}

void MainWindow::copy()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc || !doc->document().hasFloatingSelection())
        return;
    // Offered to other programs as PNG, BMP and the other picture types.
    QGuiApplication::clipboard()->setImage(doc->document().selection().image());
}

void MainWindow::paste()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    const ClipboardPicture offer = clipboardPicture();
    if (!offer.offered)
        return;
    QImage picture;
    try {
        picture = decodeOffered(offer);
    } catch (const QuorError &e) {
        tell(this, otherErrorMessage(e.description), QCoreApplication::applicationName());
        return;
    }
    // Whole, however large: the canvas keeps its size. Replacing a floating
    // picture is a step of the history; floating the first is not.
    Document &d = doc->document();
    const bool wasFloating = d.hasFloatingSelection();
    try {
        commands::floatPastedPicture(d, picture, doc->gesture().startX, doc->gesture().startY);
        doc->frameFloatingPicture(!wasFloating);
    } catch (const std::bad_alloc &) {
        tell(this, otherErrorMessage(QStringLiteral("内存不足，无法粘贴这张图片。")),
             QCoreApplication::applicationName());
    }
}

void MainWindow::showWholePicture()
{
    QPointer<DocumentWindow> doc = m_workspace.activeDocument();
    if (!doc)
        return;
    // The canvas through the paste operation into the scratch picture.
    Document &d = doc->document();
    const CanvasSurface &c = d.canvas();
    CanvasSurface &copy = d.scratch();
    copy.setPicture(Document::emptyPicture());
    copy.setScaleSize(c.scaleWidth(), c.scaleHeight());
    copy.paintPicture(c.image(), 0, 0, c.scaleWidth(), c.scaleHeight(), 0, 0, c.scaleWidth(),
                      c.scaleHeight(), d.pasteRasterOp);

    WholePictureWindow window(this);
    window.showPicture(copy.image(), this);
    window.exec();
    // The copy is not kept once the window is gone.
    if (doc)
        doc->document().clearScratch();
}

void MainWindow::chooseForegroundColour()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    const auto c = pickColour(this, QStringLiteral("前景色..."));
    if (!c)
        return;
    Document &d = doc->document();
    d.setForeColour(*c, Document::PenScope::CanvasAndFloating);
    QPalette pal = doc->view()->textBox()->palette();
    pal.setColor(QPalette::Text, toQColor(*c));
    doc->view()->textBox()->setPalette(pal);
    if (m_colours)
        m_colours->applyForeColour(*c);
}

void MainWindow::chooseBackgroundColour()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    const auto c = pickColour(this, QStringLiteral("背景色"));
    if (!c)
        return;
    // A new back colour repaints the whole bitmap: only a loaded picture
    // stays beneath.
    Document &d = doc->document();
    d.setBackColour(*c, Document::PenScope::CanvasAndFloating);
    if (m_colours)
        m_colours->setBackColour(*c);
    d.markChanged();
}

} // namespace quor
