#include "app/app_setup.h"

#include "app/app_icon.h"
#include "app/main_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quor {

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(QString::fromUtf8(ProductName));
    QApplication::setOrganizationName(QStringLiteral("quor"));
    QApplication::setWindowIcon(quorIcon());
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase", "qt"}) {
        auto *t = new QTranslator(&app);
        if (t->load(chinese, QLatin1String(name), QStringLiteral("_"), dir)) {
            QApplication::installTranslator(t);
            break;
        }
        delete t;
    }
}

} // namespace quor
