// The common run of the effects on the floating selection.
#include "document/edit_window.h"

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

void frmquoredit::runOnSelection(const SelectionRun &run)
{
    if (!m_doc.hSelect)
        return;
    CanvasSurface &selection = m_doc.selection();
    CanvasSurface &scratch = m_doc.scratch();
    scratch.setImage(selection.image());
    selection.setScaleMode(ScaleMode::Pixels);
    scratch.setScaleMode(ScaleMode::Pixels);
    // The whole run is one step of the history, with nothing to undo meanwhile.
    m_doc.beginStep();
    m_doc.markSelectionEdit();
    m_doc.setRunning(true);
    const RunEnd end{m_doc, m_runShape, m_runLine};

    // The overlays are placed in twips; in the selection's pixels they are
    // the frame round the picture and a line across its top.
    const double w = pixelsToTwips(selection.widthPx()), h = pixelsToTwips(selection.heightPx());
    m_runShape->Move(0, 0, w, h);
    m_runLine->Move(0, 0, w, 0);
    m_runShape->setVisible(true);
    m_runLine->setVisible(true);

    ScreenRate rate;
    auto show = [this, &selection] {
        selection.refresh();
        repaint();
    };
    run(scratch.image(), selection.editImage(), [&](int row) {
        m_runLine->Move(0, pixelsToTwips(row), w, pixelsToTwips(row));
        if (rate.due())
            show();
    });
    show();
}

} // namespace quor
