#include "app/program_recovery.h"

#include "app/main_window.h"
#include "app/placement.h"
#include "document/document_window.h"

#include <QPointer>

#include <QSocketNotifier>
#include <QStatusBar>

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

} // namespace

ProgramRecovery::ProgramRecovery()
    : m_autosave(recoveryRoot(), readAutosaveSeconds()), m_left(std::make_unique<LeftRecovery>(recoveryRoot(), m_autosave.folder()))
{
}

ProgramRecovery::~ProgramRecovery() = default;

void ProgramRecovery::attach(MainWindow &window)
{
    const auto watch = [this](DocumentWindow *doc) {
        m_autosave.watch(doc->document(), [doc = QPointer<DocumentWindow>(doc)] {
            return doc ? doc->caption() : QString();
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
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
}

void ProgramRecovery::offer(MainWindow &window)
{
    if (!m_left)
        return;
    const QList<LeftPicture> pictures = m_left->pictures();
    const RecoveryChoice choice = pictures.isEmpty() ? RecoveryChoice::Later : askRecovery(&window, pictures);
    bool allKept = true;
    if (choice == RecoveryChoice::Restore) {
        for (const LeftPicture &p : pictures) {
            if (!p.problem.isEmpty())
                continue;
            const int before = window.workspace().documentCount();
            window.newDocument();
            if (window.workspace().documentCount() == before)
                break; // no more documents can be had
            DocumentWindow *doc = window.workspace().activeDocument();
            Document &d = doc->document();
            d.loadPicture(p.record.picture);
            const CanvasSurface &canvas = d.canvas();
            if (canvas.toPixelSize(p.record.twipsWidth) == canvas.widthPx()
                && canvas.toPixelSize(p.record.twipsHeight) == canvas.heightPx())
                d.resizeCanvas(p.record.twipsWidth, p.record.twipsHeight);
            d.rebase(); // the restored picture is where its history starts
            doc->setCaption(p.record.caption);
            d.markUnsaved();
            // The old file goes only once the picture is safe in a new one.
            allKept = m_autosave.writeNow(d) && allKept;
        }
    }
    if (choice == RecoveryChoice::Discard || (choice == RecoveryChoice::Restore && allKept))
        m_left->remove();
    m_left.reset(); // unlocked: offered again at the next start
    if (window.workspace().documentCount() == 0)
        window.newDocument();
    else
        window.workspace().enableDocumentCommands(true);
}

} // namespace quor
