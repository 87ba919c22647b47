// The custom filter and gradient fill dialogs of a main window: opening
// them from the Effects menu, the filter's numbers kept between openings,
// and holding the rest of the program still while a long run goes (a
// gradient fill, or a gradient tool on a document).
#pragma once

#include "dialogs/custom_filter_dialog.h"
#include "dialogs/effect_dialog_host.h"
#include "dialogs/gradient_fill_dialog.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace quor {

class frmQuorMain;

class EffectDialogs : public QObject, public EffectDialogHost
{
    Q_OBJECT
public:
    explicit EffectDialogs(frmQuorMain &main);
    ~EffectDialogs() override;
    // The main window's own, made on first use.
    static EffectDialogs &of(frmQuorMain &main);

    // Each opens its dialog (or brings the open one forward) when the
    // active document has a floating selection, and otherwise does nothing.
    void showCustomFilter();
    void showGradientFill();
    FrmQuorCustomFilter *customFilter() const { return m_custom; }
    FrmQuorJianbian *gradientFill() const { return m_gradient; }

    frmquoredit *activeDocument() override;
    DrawingSettings &settings() override;
    CommonDialog &commonDialog() override;
    void runGoing(QWidget *runner, bool going, const std::function<void()> &stop) override;

protected:
    // While a run goes: requests to close a document or the program, and
    // Escape.
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    bool hasSelection();
    void endRun();

    frmQuorMain &m_main;
    CustomFilterValues m_values;
    QPointer<FrmQuorCustomFilter> m_custom;
    QPointer<FrmQuorJianbian> m_gradient;

    bool m_running = false;
    std::function<void()> m_stop;
    QMetaObject::Connection m_runnerGone;
    QList<QPointer<QWidget>> m_held;
    QPointer<QWidget> m_mainFocus;
    QList<QPointer<QWidget>> m_closeAfterRun;
};

} // namespace quor
