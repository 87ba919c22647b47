#include "app/app_setup.h"
#include "app/files_from_outside.h"
#include "app/main_window.h"
#include "app/widget_probe.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    quor::setUpApplication(app);
    // Qt has taken its own options out of the arguments by now.
    const QStringList files =
        quor::filesFromArguments(QApplication::arguments(), QDir::currentPath());
    quor::MainWindow w(nullptr, files.isEmpty());
    w.show();
    quor::startWidgetProbe(&w);
    // Opened over the shown window, so a message about one of them has the
    // program behind it.
    if (!files.isEmpty())
        w.openStartFiles(files);
    return app.exec();
}
