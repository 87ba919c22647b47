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

class MainWindow;

class EffectDialogs : public QObject, public EffectDialogHost
{
    Q_OBJECT
public:
    explicit EffectDialogs(MainWindow &main);
    ~EffectDialogs() override;
    // The main window's own, made on first use.
    static EffectDialogs &of(MainWindow &main);

    // Each opens its dialog (or brings the open one forward) when the
    // active document has a floating selection, and otherwise only asks
    // for one on the status bar.
    void showCustomFilter();
    void showGradientFill();
    CustomFilterDialog *customFilter() const { return m_custom; }
    GradientFillDialog *gradientFill() const { return m_gradient; }

    DocumentWindow *activeDocument() override;
    DrawingSettings &settings() override;
    void runGoing(QWidget *runner, bool going, const std::function<void()> &stop) override;

protected:
    // While a run goes: requests to close a document or the program, and
    // Escape.
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    bool hasSelectionOrSaySo();
    void endRun();

    MainWindow &m_main;
    CustomFilterValues m_values;
    QPointer<CustomFilterDialog> m_custom;
    QPointer<GradientFillDialog> m_gradient;

    bool m_running = false;
    std::function<void()> m_stop;
    QMetaObject::Connection m_runnerGone;
    QList<QPointer<QWidget>> m_held;
    QPointer<QWidget> m_mainFocus;
    QList<QPointer<QWidget>> m_closeAfterRun;
};

} // namespace quor
