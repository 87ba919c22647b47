#include "app/widget_probe.h"

#include <QApplication>
#include <QSaveFile>
#include <QTimer>
#include <QWidget>

namespace quor {

namespace {

// "ancestor/…/name" over the named ancestors, so equal names in different
// windows stay apart.
QString pathOf(const QWidget *w)
{
    QString path = w->objectName();
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_")))
            path = p->objectName() + QLatin1Char('/') + path;
    return path;
}

void writeMap(const QString &file)
{
    QByteArray out;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (!top->isVisible())
            continue;
        QList<QWidget *> all = top->findChildren<QWidget *>();
        all.prepend(top);
        for (const QWidget *w : all) {
            if (w->objectName().isEmpty() || !w->isVisible()
                || w->objectName().startsWith(QLatin1String("qt_")))
                continue;
            const QPoint g = w->mapToGlobal(QPoint(0, 0));
            out += pathOf(w).toUtf8() + '\t' + QByteArray::number(g.x()) + ' '
                + QByteArray::number(g.y()) + ' ' + QByteArray::number(w->width()) + ' '
                + QByteArray::number(w->height()) + '\n';
        }
    }
    QSaveFile f(file);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(out);
        f.commit();
    }
}

} // namespace

void startWidgetProbe(QObject *owner)
{
    const QString file = qEnvironmentVariable("QUOR_E2E_WIDGETS");
    if (file.isEmpty())
        return;
    auto *timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, owner, [file] { writeMap(file); });
    timer->start(150);
}

} // namespace quor
