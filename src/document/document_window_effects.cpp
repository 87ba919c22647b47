// The common run of the effects on the floating selection.
#include "document/document_window.h"

#include "core/bitmap_memory.h"
#include "core/screen_rate.h"
#include "document/selection_frame.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>

namespace quor {

namespace {

// Puts the pictures back in twips and hides the run's overlays when the
// run ends, however it ends; the run's step closes after that.
struct RunEnd
{
    Document &doc;
    OverlayShape *frame;
    OverlayShape *line;
    ~RunEnd()
    {
        doc.selection().setScaleMode(ScaleMode::Twips);
        doc.scratch().setScaleMode(ScaleMode::Twips);
        frame->setVisible(false);
        line->setVisible(false);
    }
};

// A fresh bitmap's memory is cleared by the kernel page by page where it is
// first written: on a large picture a good part of the filter's own time.
// A helper thread has the pages mapped (never written) ahead of the rows,
// on another core, and is done by the end of the run.
class PagesAhead
{
public:
    explicit PagesAhead(const QImage &image)
    {
#ifdef MADV_POPULATE_WRITE
        constexpr qsizetype Worthwhile = qsizetype(4) << 20;
        if (image.sizeInBytes() < Worthwhile)
            return;
        const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
        const auto start = std::uintptr_t(image.constBits());
        const std::uintptr_t begin = (start + page - 1) & ~(page - 1);
        const std::uintptr_t end = (start + std::uintptr_t(image.sizeInBytes())) & ~(page - 1);
        try {
            // Older kernels refuse the advice: the filter faults the pages in itself.
            m_helper = std::thread([begin, end] {
                madvise(reinterpret_cast<void *>(begin), end - begin, MADV_POPULATE_WRITE);
            });
        } catch (const std::system_error &) {
        }
#else
        Q_UNUSED(image);
#endif
    }
    ~PagesAhead()
    {
        if (m_helper.joinable())
            m_helper.join();
    }
    PagesAhead(const PagesAhead &) = delete;
    PagesAhead &operator=(const PagesAhead &) = delete;

private:
    std::thread m_helper;
};

// The source's pixels in r copied into target (both of one size).
void copyPixels(const QImage &source, QImage &target, QRect r)
{
    r &= source.rect();
    if (r.isEmpty())
        return;
    uchar *const to = target.bits(); // one detach check, not one a row
    const qsizetype stride = target.bytesPerLine();
    const qsizetype left = qsizetype(r.left()) * qsizetype(sizeof(QRgb));
    const std::size_t bytes = std::size_t(r.width()) * sizeof(QRgb);
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(to + y * stride + left, source.constScanLine(y) + left, bytes);
}

// The frame a run leaves as it was, in `within`, from source into target.
void copyFrame(const QImage &source, QImage &target, const QMargins &m, const QRect &within)
{
    const int w = source.width(), h = source.height();
    const int middle = h - m.top() - m.bottom();
    for (const QRect &r : {QRect(0, 0, w, m.top()), QRect(0, h - m.bottom(), w, m.bottom()),
                           QRect(0, m.top(), m.left(), middle),
                           QRect(w - m.right(), m.top(), m.right(), middle)})
        copyPixels(source, target, r & within);
}

// The picture pixels box shows on screen, with a pixel to spare at each side.
QRect pixelsInView(const PictureBox *box)
{
    const QRect shown = box->visibleRegion().boundingRect();
    if (shown.isEmpty())
        return {};
    const int scale = box->viewScale();
    return QRect(QPoint(shown.left() * 100 / scale - 1, shown.top() * 100 / scale - 1),
                 QPoint(shown.right() * 100 / scale + 1, shown.bottom() * 100 / scale + 1));
}

} // namespace

void DocumentWindow::runOnSelection(const SelectionRun &run, const QMargins &unwritten)
{
    if (!m_doc.hasFloatingSelection())
        return;
    CanvasSurface &selection = m_doc.selection();
    CanvasSurface &scratch = m_doc.scratch();
    // The selection's pixels, which the history shares, stay as they are in
    // the scratch picture as the run's source; the selection writes into a
    // bitmap of its own, so the filter never detaches a shared one. The
    // scratch's old bitmap serves when nothing else holds it; the history
    // usually does, and then a fresh one in huge pages costs the least.
    const QImage source = selection.image();
    QImage target = scratch.image();
    scratch.shareImage(source);
    if (target.size() != source.size() || !target.isDetached())
        target = newBitmap(source.size());
    if (target.isNull())
        return; // no memory for the result: the selection stays as it was
    // The whole run is one step of the history, with nothing to undo meanwhile.
    const Document::Run step(m_doc);
    m_doc.markSelectionEdit();
    OverlayShape *frame = m_view->runFrame(), *line = m_view->runLine();
    const RunEnd end{m_doc, frame, line};
    selection.adoptImage(std::move(target), selection.scaleWidth(), selection.scaleHeight());
    selection.setScaleMode(ScaleMode::Pixels);
    scratch.setScaleMode(ScaleMode::Pixels);
    const PagesAhead pages(selection.image());

    // The overlays are placed in twips; in the selection's pixels they are
    // the frame round the picture and a line across its top.
    const double w = pixelsToTwips(selection.widthPx()), h = pixelsToTwips(selection.heightPx());
    frame->moveTwips(0, 0, w, h);
    line->moveTwips(0, 0, w, 0);
    frame->setVisible(true);
    line->setVisible(true);

    ScreenRate rate;
    auto show = [this, &selection] {
        selection.refresh();
        repaint();
    };
    // Until the run writes them, the result's pixels are undefined: the
    // part on screen takes the source's pixels below the rows done and in
    // the frame, once, before the screen first shows it. Nothing scrolls
    // meanwhile.
    bool viewFilled = false;
    const PictureBox *box = m_view->selectionFrame()->pictureBox();
    // The line moves only when the screen shows it: placing it costs more
    // than filtering a row.
    run(source, selection.editImage(), [&](int row) {
        if (rate.due()) {
            if (!viewFilled) {
                const QRect view = pixelsInView(box);
                QImage &result = selection.editImage();
                const QRect below(0, row + 1, source.width(), source.height());
                copyPixels(source, result, view & below);
                copyFrame(source, result, unwritten, view);
                viewFilled = true;
            }
            line->moveTwips(0, pixelsToTwips(row), w, pixelsToTwips(row));
            show();
        }
    });
    copyFrame(source, selection.editImage(), unwritten, source.rect());
    show();
}

} // namespace quor
