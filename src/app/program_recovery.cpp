#include "app/program_recovery.h"

#include "app/main_window.h"
#include "app/placement.h"
#include "document/dialog_seam.h"
#include "document/document_window.h"
#include "files/file_texts.h"

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QStatusBar>
#include <QThread>

#include <csignal>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace quor {

namespace {

// The signal handler only writes a byte; the event loop does the rest.
int terminationPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(terminationPipe[0], &byte, 1);
}

// The program whose documents go to recovery when the display goes away:
// the toolkit then ends the program with exit(), past every close question.
ProgramRecovery *recoveryAtExit = nullptr;

void writeRecoveryAtExit()
{
    if (recoveryAtExit && QThread::currentThread() == qApp->thread())
        recoveryAtExit->autosave().writeAllAndKeep();
}

} // namespace

ProgramRecovery::ProgramRecovery()
    : m_autosave(recoveryRoot(), readAutosaveSeconds()), m_left(std::make_unique<LeftRecovery>(recoveryRoot(), m_autosave.folder()))
{
}

ProgramRecovery::~ProgramRecovery()
{
    if (recoveryAtExit == this)
        recoveryAtExit = nullptr;
}

void ProgramRecovery::attach(MainWindow &window)
{
    const auto watch = [this](DocumentWindow *doc) {
        m_autosave.watch(doc->document(), [doc = QPointer<DocumentWindow>(doc)](RecoveryRecord &r) {
            if (doc) {
                r.caption = doc->caption();
                r.form = doc->document().fileForm();
            }
        });
    };
    for (const auto &doc : window.workspace().documents())
        if (doc)
            watch(doc);
    QObject::connect(&window, &MainWindow::documentMade, &window, watch);
    // Said once in the status bar, never in a dialog while the user draws.
    m_autosave.writeFailed = [&window](const QString &message) {
        window.statusBar()->showMessage(message, 15000);
    };

    if (terminationPipe[0] >= 0
        || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, terminationPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(terminationPipe[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [this] {
        m_autosave.writeAllAndKeep();
        // No close questions and no waiting for open dialogs: the session
        // is going, and every changed picture is on disk.
        std::_Exit(0);
    });
    // A logout, a closed terminal, Ctrl+C: the changed pictures are kept
    // for the next start, as after a crash.
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
    recoveryAtExit = this;
    static const bool registered = std::atexit(writeRecoveryAtExit) == 0;
    Q_UNUSED(registered);
}

void ProgramRecovery::offer(MainWindow &window)
{
    if (!m_left)
        return;
    const QList<LeftPicture> pictures = m_left->pictures();
    const RecoveryChoice choice = pictures.isEmpty() ? RecoveryChoice::Later : askRecovery(&window, pictures);
    QStringList restored, failed;
    if (choice == RecoveryChoice::Restore) {
        for (const LeftPicture &p : pictures) {
            if (!p.problem.isEmpty())
                continue;
            // Read whole only now, one at a time: the offer needed no more
            // than the headers.
            const RecoveryRead read = readRecoveryFile(p.path, RecoveryPart::Whole);
            if (!read.problem.isEmpty()) {
                failed << shownCaption(p.record.caption) + QStringLiteral("：") + read.problem;
                continue;
            }
            const RecoveryRecord &record = read.record;
            const int before = window.workspace().documentCount();
            window.newDocument();
            if (window.workspace().documentCount() == before)
                break; // no more documents can be had
            DocumentWindow *doc = window.workspace().activeDocument();
            Document &d = doc->document();
            d.loadPicture(record.picture);
            const CanvasSurface &canvas = d.canvas();
            if (canvas.toPixelSize(record.twipsWidth) == canvas.widthPx()
                && canvas.toPixelSize(record.twipsHeight) == canvas.heightPx())
                d.resizeCanvas(record.twipsWidth, record.twipsHeight);
            d.rebase(); // the restored picture is where its history starts
            // Saved as the file it came from would have been.
            if (isUnsavedCaption(record.caption))
                doc->setUntitledName(record.caption);
            else
                d.setFile(record.caption, record.form);
            d.markUnsaved();
            // The old file goes only once the picture is safe in a new one.
            if (m_autosave.writeNow(d))
                restored << p.path;
        }
    }
    if (choice == RecoveryChoice::Discard)
        m_left->remove();
    else if (!restored.isEmpty())
        m_left->remove(restored); // what was not restored stays for the next start
    m_left.reset(); // unlocked: offered again at the next start
    if (window.workspace().documentCount() == 0)
        window.newDocument();
    else
        window.workspace().enableDocumentCommands(true);
    if (!failed.isEmpty())
        tell(&window,
             QStringLiteral("下列图片无法恢复，它们的恢复文件留到下次启动：\n\n") + failed.join(QLatin1Char('\n')),
             QCoreApplication::applicationName(), Icon::Exclamation);
}

} // namespace quor
