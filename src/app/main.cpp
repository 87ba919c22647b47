#include "app/app_setup.h"
#include "app/command_line.h"
#include "app/files_from_outside.h"
#include "app/main_window.h"
#include "app/program_recovery.h"
#include "app/widget_probe.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char **argv)
{
    // Before QApplication, which would need a display to say anything.
    if (const std::optional<int> answered = quor::answerCommandLine(argc, argv))
        return *answered;
    QApplication app(argc, argv);
    quor::setUpApplication(app);
    // Qt has taken its own options out of the arguments by now.
    const QStringList files =
        quor::filesFromArguments(QApplication::arguments(), QDir::currentPath());
    // Outlives the window, so that its documents' files are settled first.
    quor::ProgramRecovery recovery;
    quor::MainWindow w(nullptr, files.isEmpty() && !recovery.hasLeftPictures());
    recovery.attach(w);
    w.show();
    quor::startWidgetProbe(&w);
    // Opened over the shown window, so a message about one of them has the
    // program behind it.
    if (!files.isEmpty())
        w.openStartFiles(files);
    if (recovery.hasLeftPictures())
        QTimer::singleShot(0, &w, [&] { recovery.offer(w); });
    return app.exec();
}
