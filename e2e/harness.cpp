#include "harness.h"

#include <QDateTime>

#include <QFileInfo>

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <sys/prctl.h>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <thread>

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

// Qt merges or drops input events that arrive together; these gaps let it
// see each press, motion and release on its own.
const QString kStepSeconds = "0.03";
constexpr Ms kSettle = 50ms;
constexpr Ms kPoll = 100ms;

struct Result {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

std::string str(const QString &s)
{
    return s.toStdString();
}

void pause(Ms ms)
{
    std::this_thread::sleep_for(ms);
}

// Runs a helper against the session's display and collects its output.
Result run(const QString &program, const QStringList &args, const QString &display,
           Ms timeout = 10s)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForStarted())
        return {-1, {}, p.errorString().toUtf8()};
    if (!p.waitForFinished(int(timeout.count()))) {
        p.kill();
        p.waitForFinished();
        return {-1, p.readAllStandardOutput(), "timed out"};
    }
    const int code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return {code, p.readAllStandardOutput(), p.readAllStandardError()};
}

// Children die with the test process, even when it is killed outright,
// so a timed-out test never leaves a server or a program behind.
void dieWithParent(QProcess &p, int signal)
{
    p.setChildProcessModifier([signal] { prctl(PR_SET_PDEATHSIG, signal); });
}

void stop(QProcess &p, bool gently)
{
    if (p.state() == QProcess::NotRunning)
        return;
    if (gently) {
        p.terminate();
        if (p.waitForFinished(5000))
            return;
    }
    p.kill();
    p.waitForFinished(5000);
}

QString num(long n)
{
    return QString::number(n);
}

Result grabScreen(const QString &display, const QString &file)
{
    return run("import", {"-display", display, "-window", "root", file}, display, 30s);
}

} // namespace

Session::Session(const QStringList &args, const QByteArray &settings)
    : dir_(QDir::tempPath() + "/quor-e2e-XXXXXX")
{
    if (!dir_.isValid()) {
        ADD_FAILURE() << "can't make a temporary folder: " << str(dir_.errorString());
        return;
    }
    if (!settings.isEmpty()) {
        QDir().mkpath(home() + "/.config/quor");
        QFile file(home() + "/.config/quor/quor.conf");
        if (!file.open(QIODevice::WriteOnly) || file.write(settings) != settings.size())
            ADD_FAILURE() << "can't write the settings file";
    }
    if (startServer())
        startProgram(args);
}

Session::~Session()
{
    if (::testing::Test::HasFailure())
        reportFailure();
    stop(program_, false);
    for (QProcess &p : others_)
        stop(p, false);
    stop(server_, true); // SIGTERM lets Xvfb remove its lock file
}

bool Session::startServer()
{
    constexpr Ms timeout = 10s;
    int lostRaces = 0;
    for (int n = 100; n < 1000 && lostRaces < 5; ++n) {
        if (QFile::exists("/tmp/.X" + num(n) + "-lock")
            || QFile::exists("/tmp/.X11-unix/X" + num(n)))
            continue;
        display_ = ":" + num(n);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.setStandardOutputFile(dir_.filePath("xvfb.log"));
        dieWithParent(server_, SIGTERM);
        // Without -noreset the server resets when the probe below disconnects,
        // and a program connecting during the reset is turned away.
        const QString size = QString("%1x%2x24").arg(screenRect.width()).arg(screenRect.height());
        server_.start("Xvfb", {display_, "-screen", "0", size, "-nolisten", "tcp", "-noreset"});
        if (!server_.waitForStarted()) {
            ADD_FAILURE() << "can't start Xvfb: " << str(server_.errorString());
            return false;
        }
        const auto deadline = Clock::now() + timeout;
        while (Clock::now() < deadline) {
            if (run("xdpyinfo", {}, display_).code == 0)
                return true;
            if (server_.waitForFinished(int(kPoll.count())))
                break;
        }
        if (server_.state() != QProcess::NotRunning) {
            ADD_FAILURE() << "Xvfb on " << str(display_) << " did not answer within "
                          << timeout.count() << " ms";
            stop(server_, true);
            display_.clear();
            return false;
        }
        // Another test took the same number between our check and its start.
        ++lostRaces;
    }
    QFile log(dir_.filePath("xvfb.log"));
    log.open(QIODevice::ReadOnly);
    ADD_FAILURE() << "could not start an X server; Xvfb said:\n" << log.readAll().toStdString();
    display_.clear();
    return false;
}

void Session::startProgram(const QStringList &args)
{
    startProcess(program_, args);
    started_ = program_.state() != QProcess::NotRunning;
}

std::optional<int> Session::signal(int number, Ms timeout)
{
    if (program_.state() == QProcess::NotRunning)
        return std::nullopt;
    ::kill(pid_t(program_.processId()), number);
    if (!program_.waitForFinished(int(timeout.count())))
        return std::nullopt;
    // Killed outright is what was asked for; anything else must end well.
    if (program_.exitStatus() == QProcess::CrashExit)
        return number == SIGKILL ? std::optional<int>(-SIGKILL) : std::nullopt;
    return program_.exitCode();
}

void Session::stopServer()
{
    stop(server_, true);
}

void Session::restart(const QStringList &args)
{
    if (running()) {
        ADD_FAILURE() << "the program still runs";
        return;
    }
    startProgram(args);
}

QProcess &Session::startAnother(const QStringList &args)
{
    startProcess(others_.emplace_back(), args);
    return others_.back();
}

void Session::startProcess(QProcess &program, const QStringList &args)
{
    const QString runtime = dir_.filePath("runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(home());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "LC_ALL", "LC_MESSAGES", "LANGUAGE",
                             "WAYLAND_DISPLAY", "XAUTHORITY", "SESSION_MANAGER"})
        env.remove(name);
    env.insert("DISPLAY", display_);
    env.insert("LANG", "zh_CN.UTF-8");
    env.insert("HOME", home());
    env.insert("QUOR_E2E_WIDGETS", dir_.filePath("widgets.txt"));
    env.insert("XDG_CONFIG_HOME", home() + "/.config");
    env.insert("XDG_DATA_HOME", home() + "/.local/share");
    env.insert("XDG_STATE_HOME", home() + "/.local/state");
    env.insert("XDG_CACHE_HOME", home() + "/.cache");
    env.insert("XDG_RUNTIME_DIR", runtime);

    program.setProcessEnvironment(env);
    program.setWorkingDirectory(home());
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.setStandardOutputFile(dir_.filePath("quor.log"), QIODevice::Append);
    dieWithParent(program, SIGKILL);
    // Another build of the program (an installed one, a copy kept while the
    // tree is rebuilt) can stand in for the one built beside the tests.
    const QString binary = qEnvironmentVariable("QUOR_E2E_PROGRAM", QStringLiteral(QUOR_BINARY));
    program.start(binary, args);
    if (!program.waitForStarted())
        ADD_FAILURE() << "can't start " << str(binary) << ": " << str(program.errorString());
}

bool Session::running()
{
    return program_.state() != QProcess::NotRunning && !program_.waitForFinished(0);
}

QString Session::home() const
{
    return dir_.filePath("home");
}

QList<Window> Session::windows()
{
    if (program_.state() == QProcess::NotRunning)
        return {};
    const Result found = run("xdotool",
                             {"search", "--onlyvisible", "--maxdepth", "1", "--pid",
                              num(program_.processId())},
                             display_);
    QList<Window> result;
    for (const QByteArray &line : found.out.split('\n')) {
        const WindowId id = line.trimmed().toULong();
        if (id == 0)
            continue;
        // Window titles are only reliable in _NET_WM_NAME, which getwindowname
        // reads; a window that has gone meanwhile simply drops out.
        const Result name = run("xdotool", {"getwindowname", num(id)}, display_);
        if (name.code == 0)
            result.append({id, QString::fromUtf8(name.out).trimmed()});
    }
    return result;
}

std::optional<WindowId> Session::waitWindow(const QString &title, Ms timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const QList<Window> all = windows();
        for (auto it = all.crbegin(); it != all.crend(); ++it) {
            if (it->title.contains(title)) {
                pause(kPoll); // let the new window paint and settle its focus
                return it->id;
            }
        }
        if (Clock::now() >= deadline || !running())
            break;
        pause(kPoll);
    }
    ADD_FAILURE() << "no window titled \"" << str(title) << "\" within " << timeout.count()
                  << " ms; " << str(describeWindows());
    return std::nullopt;
}

bool Session::waitWindowGone(const QString &title, Ms timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const QList<Window> all = windows();
        if (std::none_of(all.begin(), all.end(),
                         [&](const Window &w) { return w.title.contains(title); }))
            return true;
        if (Clock::now() >= deadline)
            break;
        pause(kPoll);
    }
    ADD_FAILURE() << "window \"" << str(title) << "\" still open after " << timeout.count()
                  << " ms; " << str(describeWindows());
    return false;
}

void Session::resize(WindowId window, int width, int height)
{
    xdotool({"windowsize", "--sync", num(window), QString::number(width), QString::number(height)});
    pause(300ms); // let the program lay itself out and refresh its widget map
}

QRect Session::geometry(WindowId window)
{
    const QByteArray out = xdotool({"getwindowgeometry", "--shell", num(window)});
    QRect r;
    for (const QByteArray &line : out.split('\n')) {
        const int eq = line.indexOf('=');
        const QByteArray key = line.left(eq);
        const int value = line.mid(eq + 1).toInt();
        if (key == "X")
            r.moveLeft(value);
        else if (key == "Y")
            r.moveTop(value);
        else if (key == "WIDTH")
            r.setWidth(value);
        else if (key == "HEIGHT")
            r.setHeight(value);
    }
    return r;
}

QPoint Session::at(WindowId window, QPoint p)
{
    return geometry(window).topLeft() + p;
}

QPoint Session::at(const QString &title, QPoint p)
{
    const std::optional<WindowId> window = waitWindow(title);
    return window ? at(*window, p) : QPoint();
}

void Session::mouse(QPoint p, const QString &action, int button)
{
    QStringList args{"mousemove", num(p.x()), num(p.y())};
    if (!action.isEmpty())
        args << "sleep" << kStepSeconds << action << num(button);
    xdotool(args);
    pause(kSettle);
}

void Session::move(QPoint p)
{
    mouse(p, {}, 0);
}

void Session::click(QPoint p, int button)
{
    mouse(p, "click", button);
}

void Session::press(QPoint p, int button)
{
    mouse(p, "mousedown", button);
}

void Session::release(QPoint p, int button)
{
    mouse(p, "mouseup", button);
}

void Session::drag(const QList<QPoint> &path, int button)
{
    if (path.isEmpty())
        return;
    QStringList args;
    for (qsizetype i = 0; i < path.size(); ++i) {
        args << "mousemove" << num(path[i].x()) << num(path[i].y()) << "sleep" << kStepSeconds;
        if (i == 0)
            args << "mousedown" << num(button) << "sleep" << kStepSeconds;
    }
    args << "mouseup" << num(button);
    xdotool(args);
    pause(kSettle);
}

void Session::drag(QPoint from, QPoint to, int button)
{
    // Intermediate points, so the program sees a movement and not a jump.
    constexpr int steps = 8;
    QList<QPoint> path;
    for (int i = 0; i <= steps; ++i)
        path << from + (to - from) * i / steps;
    drag(path, button);
}

void Session::key(const QString &keys)
{
    focusActiveWindow();
    xdotool(QStringList{"key", "--clearmodifiers"} + keys.split(' ', Qt::SkipEmptyParts));
    pause(kSettle);
}

void Session::type(const QString &text)
{
    focusActiveWindow();
    xdotool({"type", "--clearmodifiers", "--delay", "30", "--", text});
    pause(kSettle);
}

std::optional<int> Session::waitExit(Ms timeout)
{
    if (!started_)
        return std::nullopt;
    if (program_.state() != QProcess::NotRunning && !program_.waitForFinished(int(timeout.count())))
        return std::nullopt;
    if (program_.exitStatus() == QProcess::CrashExit) {
        ADD_FAILURE() << "the program crashed";
        return std::nullopt;
    }
    return program_.exitCode();
}

QImage Session::screenshot(const QString &path)
{
    const QString file = path.isEmpty() ? dir_.filePath("screen.png") : path;
    const Result r = grabScreen(display_, file);
    if (r.code != 0) {
        ADD_FAILURE() << "screenshot failed: " << r.err.toStdString();
        return {};
    }
    return readImage(file);
}

QImage Session::readImage(const QString &path)
{
    QImage image(path);
    if (image.isNull())
        ADD_FAILURE() << "can't read image " << str(path);
    return image;
}

QByteArray Session::xdotool(const QStringList &args)
{
    const Result r = run("xdotool", args, display_);
    if (r.code != 0)
        ADD_FAILURE() << "xdotool " << str(args.join(' ')) << " failed: "
                      << r.err.toStdString();
    return r.out;
}

void Session::focusActiveWindow()
{
    // Without a window manager nobody gives the program the focus when it
    // starts, or back to the main window when a dialog closes. Qt focuses
    // modal dialogs itself, so a window of ours that has it keeps it.
    const QList<Window> mine = windows();
    const Result focus = run("xdotool", {"getwindowfocus"}, display_);
    const WindowId focused = focus.code == 0 ? focus.out.trimmed().toULong() : 0;
    if (std::any_of(mine.begin(), mine.end(), [&](const Window &w) { return w.id == focused; }))
        return;
    for (auto it = mine.crbegin(); it != mine.crend(); ++it) {
        // Menus and tooltips never take the focus.
        const Result info = run("xwininfo", {"-id", num(it->id)}, display_);
        if (info.out.contains("Override Redirect State: yes"))
            continue;
        xdotool({"windowfocus", "--sync", num(it->id)});
        pause(kSettle);
        return;
    }
}

QString Session::describeWindows()
{
    if (program_.state() == QProcess::NotRunning) {
        return program_.exitStatus() == QProcess::CrashExit
                   ? "the program crashed"
                   : "the program exited with code " + num(program_.exitCode());
    }
    QStringList lines;
    for (const Window &w : windows()) {
        const QRect g = geometry(w.id);
        lines << QString("\"%1\" %2x%3+%4+%5")
                     .arg(w.title, num(g.width()), num(g.height()), num(g.x()), num(g.y()));
    }
    return lines.isEmpty() ? "the program shows no window"
                           : "windows shown: " + lines.join(", ");
}

void Session::reportFailure()
{
    if (!display_.isEmpty()) {
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        QString name = test ? QString::fromUtf8(test->test_suite_name()) + '.'
                                  + QString::fromUtf8(test->name())
                            : QString("session");
        name.replace('/', '_'); // parameterised tests
        const QString shots = QUOR_E2E_SHOTS;
        QDir().mkpath(shots);
        const QString file = shots + '/' + name + ".png";
        if (grabScreen(display_, file).code == 0)
            std::cout << "[ e2e      ] screenshot: " << str(file) << '\n';
        std::cout << "[ e2e      ] " << str(describeWindows()) << '\n';
    }
    QFile log(dir_.filePath("quor.log"));
    if (log.open(QIODevice::ReadOnly)) {
        const QByteArray output = log.readAll().right(4000);
        if (!output.isEmpty())
            std::cout << "[ e2e      ] the program's output:\n" << output.toStdString() << '\n';
    }
    std::cout << std::flush;
}

QList<std::pair<QString, QRect>> Session::widgets()
{
    QList<std::pair<QString, QRect>> result;
    QFile f(dir_.filePath("widgets.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return result;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split('\t');
        if (parts.size() != 2)
            continue;
        const QList<QByteArray> r = parts[1].split(' ');
        if (r.size() == 4)
            result.append({QString::fromUtf8(parts[0]),
                           QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt())});
    }
    return result;
}

Ms Session::sinceLastReport()
{
    const QFileInfo info(dir_.filePath("widgets.txt"));
    if (!info.exists())
        return Ms(0);
    return Ms(info.lastModified().msecsTo(QDateTime::currentDateTime()));
}

std::optional<QRect> Session::widget(const QString &path, Ms timeout)
{
    // The program keeps a map of its visible named widgets for us; a path
    // matches the end of a widget's "ancestor/…/name" path.
    const auto deadline = Clock::now() + timeout;
    do {
        QFile f(dir_.filePath("widgets.txt"));
        if (f.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : f.readAll().split('\n')) {
                const QList<QByteArray> parts = line.split('\t');
                if (parts.size() != 2)
                    continue;
                const QString name = QString::fromUtf8(parts[0]);
                if (name != path && !name.endsWith('/' + path))
                    continue;
                const QList<QByteArray> r = parts[1].split(' ');
                if (r.size() == 4)
                    return QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
            }
        }
        pause(kPoll);
    } while (Clock::now() < deadline && running());
    ADD_FAILURE() << "no visible widget " << str(path);
    return std::nullopt;
}

} // namespace e2e
