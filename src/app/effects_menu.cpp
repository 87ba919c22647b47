// The Effects menu's four filters and the Edit menu's three flips, all on
// the active document's floating selection.
#include "app/main_window.h"

#include "document/edit_window.h"
#include "effects/flips.h"
#include "effects/neighbourhood_filters.h"

namespace quor {

namespace {

using Filter = bool (*)(const QImage &, QImage &, const effects::RowProgress &);

void runFilter(frmquoredit *doc, Filter filter)
{
    if (!doc)
        return;
    doc->runOnSelection([filter](const QImage &source, QImage &target,
                                 const std::function<void(int)> &rowDone) {
        filter(source, target, rowDone);
    });
}

bool oilWithSharedRandom(const QImage &source, QImage &target, const effects::RowProgress &p)
{
    return effects::oil(source, target, p);
}

// The mirror goes into the scratch picture, which keeps it, and from there
// back into the selection.
void flipSelection(frmquoredit *doc, effects::Flip kind)
{
    if (!doc || !doc->document().hSelect)
        return;
    Document &d = doc->document();
    const QImage mirrored = effects::flipped(d.selection().image(), kind);
    if (mirrored.isNull())
        return;
    d.beginStep();
    d.markSelectionEdit();
    d.scratch().setImage(mirrored);
    d.scratch().setScaleSize(d.selection().scaleWidth(), d.selection().scaleHeight());
    d.selection().setImage(d.scratch().image());
    d.endStep();
}

} // namespace

void frmQuorMain::mnuquorsmooth_Click() { runFilter(m_state.hActiveEdit, &effects::soften); }
void frmQuorMain::mnuquorruihua_Click() { runFilter(m_state.hActiveEdit, &effects::sharpen); }
void frmQuorMain::mnuquoryouhua_Click() { runFilter(m_state.hActiveEdit, &oilWithSharedRandom); }
void frmQuorMain::mnuquorfudiao_Click() { runFilter(m_state.hActiveEdit, &effects::emboss); }

void frmQuorMain::mnuquorfanzhuan1_Click()
{
    flipSelection(m_state.hActiveEdit, effects::Flip::Horizontal);
}

void frmQuorMain::mnuquorfanzhuan2_Click()
{
    flipSelection(m_state.hActiveEdit, effects::Flip::Vertical);
}

void frmQuorMain::mnuquorfanzhuan3_Click()
{
    flipSelection(m_state.hActiveEdit, effects::Flip::Diagonal);
}

} // namespace quor
