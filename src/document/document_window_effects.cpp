// The common run of the effects on the floating selection.
#include "document/document_window.h"

#include "core/screen_rate.h"

namespace quor {

namespace {

// Puts the pictures back in twips and hides the run's overlays when the
// run ends, however it ends.
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
        doc.setRunning(false);
        doc.endStep();
    }
};

} // namespace

void DocumentWindow::runOnSelection(const SelectionRun &run)
{
    if (!m_doc.hasFloatingSelection())
        return;
    CanvasSurface &selection = m_doc.selection();
    CanvasSurface &scratch = m_doc.scratch();
    // The selection's pixels, which the history shares, stay as they are in
    // the scratch picture as the run's source; the selection writes into a
    // copy of its own, so the filter never detaches a shared bitmap. The
    // scratch's old bitmap serves as that copy when nothing else holds it.
    const QImage source = selection.image();
    QImage target = scratch.image();
    scratch.shareImage(source);
    if (target.size() != source.size() || !target.isDetached())
        target = QImage(source.size(), QImage::Format_RGB32);
    if (target.isNull())
        return; // no memory for the result: the selection stays as it was
    // The whole run is one step of the history, with nothing to undo meanwhile.
    m_doc.beginStep();
    m_doc.markSelectionEdit();
    m_doc.setRunning(true);
    OverlayShape *frame = m_view->runFrame(), *line = m_view->runLine();
    const RunEnd end{m_doc, frame, line};
    selection.adoptImage(std::move(target), selection.scaleWidth(), selection.scaleHeight());
    selection.putPixels(source, {0, 0});
    selection.setScaleMode(ScaleMode::Pixels);
    scratch.setScaleMode(ScaleMode::Pixels);

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
    // The line moves only when the screen shows it: placing it costs more
    // than filtering a row.
    run(scratch.image(), selection.editImage(), [&](int row) {
        if (rate.due()) {
            line->moveTwips(0, pixelsToTwips(row), w, pixelsToTwips(row));
            show();
        }
    });
    show();
}

} // namespace quor
