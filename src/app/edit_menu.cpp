// The Edit menu's picture commands: Select all, Clear, Copy and Paste of
// the floating selection through the desktop clipboard, the whole-picture
// window, and the foreground and background colours.
#include "app/main_window.h"

#include "app/see_all_window.h"
#include "document/edit_window.h"
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

// Makes picture the floating selection at (left, top). A selection that
// already floats is replaced where it lies: its frame keeps blinking on
// the one timer it has.
void floatPicture(frmquoredit *doc, const QImage &picture, double left, double top)
{
    Document &d = doc->document();
    d.selection().setPicture(picture);
    d.placeSelection(left, top);
    d.setSelectionVisible(true);
    doc->hShowSelectionFrame();
    if (d.hSelect)
        return;
    doc->hselectShape1()->setVisible(true);
    doc->hselectshapesTimer()->start();
    d.hSelect = true;
}

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

void frmQuorMain::mnuEditselect_Click()
{
    frmquoredit *doc = m_state.hActiveEdit;
    if (!doc)
        return;
    Document &d = doc->document();
    floatPicture(doc, d.canvas().image(), 0, 0);
    d.hStartx = 0;
    d.hStarty = 0;
}

void frmQuorMain::mnuEditCls_Click()
{
    frmquoredit *doc = m_state.hActiveEdit;
    if (!doc)
        return;
    // Without a floating selection this paints the hidden picture only.
    Document &d = doc->document();
    CanvasSurface &s = d.selection();
    d.beginStep();
    if (d.hSelect)
        d.markSelectionEdit();
    const Colour c = m_state.settings.drawingColour;
    const int drawStyle = s.drawStyle(), fillStyle = s.fillStyle();
    const Colour fillColour = s.fillColor();
    s.setDrawStyle(0);
    s.setFillStyle(0);
    s.setFillColor(c);
    s.line(0, 0, s.scaleWidth(), s.scaleHeight(), c, LineKind::Box);
    s.setDrawStyle(drawStyle);
    s.setFillStyle(fillStyle);
    s.setFillColor(fillColour);
    d.endStep();
}

void frmQuorMain::mnuEditCopy_Click()
{
    frmquoredit *doc = m_state.hActiveEdit;
    if (!doc || !doc->document().hSelect)
        return;
    // Offered to other programs as PNG, BMP and the other picture types.
    QGuiApplication::clipboard()->setImage(doc->document().selection().image());
}

void frmQuorMain::mnuEditPaste_Click()
{
    frmquoredit *doc = m_state.hActiveEdit;
    if (!doc)
        return;
    const ClipboardPicture offer = clipboardPicture();
    if (!offer.offered)
        return;
    QImage picture;
    try {
        picture = decodeOffered(offer);
    } catch (const QuorError &e) {
        msgBox(this, otherErrorMessage(e.description), mb::OkOnly,
               QCoreApplication::applicationName());
        return;
    }
    // Whole, however large: the canvas keeps its size. Replacing a floating
    // picture is a step of the history; floating the first is not.
    Document &d = doc->document();
    d.beginStep();
    try {
        if (d.hSelect)
            d.markSelectionEdit();
        floatPicture(doc, picture, d.hStartx, d.hStarty);
    } catch (const std::bad_alloc &) {
        msgBox(this, otherErrorMessage(QStringLiteral("内存不足，无法粘贴这张图片。")), mb::OkOnly,
               QCoreApplication::applicationName());
    }
    d.endStep();
}

void frmQuorMain::mnueditseeall_Click()
{
    QPointer<frmquoredit> doc = m_state.hActiveEdit;
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

    FrmQuorSeeAll window(this);
    window.showPicture(copy.image(), this);
    window.exec();
    // The copy is not kept once the window is gone.
    if (doc)
        doc->document().scratch().setPicture(Document::emptyPicture());
}

void frmQuorMain::mnueditforecolor_Click()
{
    frmquoredit *doc = m_state.hActiveEdit;
    if (!doc)
        return;
    const auto c = pickColour(this, this, QStringLiteral("前景色..."));
    if (!c)
        return;
    Document &d = doc->document();
    d.canvas().setForeColor(*c);
    d.selection().setForeColor(*c);
    QPalette pal = doc->hword()->palette();
    pal.setColor(QPalette::Text, toQColor(*c));
    doc->hword()->setPalette(pal);
    if (m_colours)
        m_colours->hApplyForeColour(*c);
}

void frmQuorMain::mnueditbackcolor_Click()
{
    frmquoredit *doc = m_state.hActiveEdit;
    if (!doc)
        return;
    const auto c = pickColour(this, this, QStringLiteral("背景色"));
    if (!c)
        return;
    // A new back colour repaints the whole bitmap: only a loaded picture
    // stays beneath.
    Document &d = doc->document();
    d.canvas().setBackColor(*c);
    // The blank a dropped selection leaves is no loaded picture: it would
    // stay behind as a white dot.
    CanvasSurface &s = d.selection();
    if (s.picture() == Document::emptyPicture())
        s.setPicture(QImage());
    s.setBackColor(*c);
    if (m_colours)
        m_colours->setBackColour(*c);
    d.markChanged();
}

} // namespace quor
