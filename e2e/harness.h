// Runs the real program on a private virtual X server and drives it with
// real input events, the way a user would.
//
// A Session owns the X server, the program and a throw-away HOME. When the
// test has failed by the time the Session goes away it leaves a screenshot
// in <build>/e2e-shots/ and prints the program's output. Whatever happens it
// kills what it started: the program first, then the X server.
//
//   e2e::Session s;
//   ASSERT_TRUE(s.waitWindow("Quor 画图"));
//   s.drag(s.at("Quor 画图", {100, 100}), s.at("Quor 画图", {200, 150}));
//   s.key("ctrl+s");
//   ASSERT_TRUE(s.waitWindow("另存为"));
//   s.type("a.bmp");
//   s.key("Return");
//   QImage saved = e2e::Session::readImage(s.home() + "/a.bmp");
#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <list>
#include <optional>

namespace e2e {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;
using WindowId = unsigned long;

// The virtual screen every session runs on.
inline const QRect screenRect(0, 0, 1280, 1024);

struct Window {
    WindowId id = 0;
    QString title;
};

class Session {
public:
    // Starts the X server and the program with the given arguments, and
    // with the settings file's text when there is one. A failure to start
    // is recorded as a test failure; running() says so.
    explicit Session(const QStringList &args = {}, const QByteArray &settings = {});
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    bool running();
    // Sends the program a signal (SIGKILL, SIGTERM) and waits for its end;
    // the exit code, or nothing when it crashed or did not end.
    std::optional<int> signal(int number, Ms timeout = 10s);
    // Ends the X server under the program: the display connection is lost.
    void stopServer();
    // Starts the program again on the same display with the same HOME,
    // once the last one has ended.
    void restart(const QStringList &args = {});
    // Starts one more copy of the program beside the first, with the same
    // HOME; it ends with the session.
    QProcess &startAnother(const QStringList &args = {});
    QString display() const { return display_; }
    // The program's HOME: a fresh folder, removed with the session.
    QString home() const;

    // Screen rectangle of a visible widget of the program by its object
    // name, or by the end of its named-ancestor path ("frmquortools/Text1").
    std::optional<QRect> widget(const QString &path, Ms timeout = 5s);
    // Every visible named widget the program last reported, by path.
    QList<std::pair<QString, QRect>> widgets();
    // How long ago the program last reported its widgets: it does so every
    // 150 ms from its event loop, so a large age means it stopped answering.
    Ms sinceLastReport();

    // Visible top-level windows of the program, bottom of the stack first.
    QList<Window> windows();
    // The topmost visible window whose title contains the text. Records a
    // failure (listing the windows there are) when none shows in time.
    std::optional<WindowId> waitWindow(const QString &title, Ms timeout = 20s);
    bool waitWindowGone(const QString &title, Ms timeout = 10s);
    // Position and size of the window's client area on the screen.
    QRect geometry(WindowId window);
    void resize(WindowId window, int width, int height);
    // A point given relative to a window's client area, on the screen.
    QPoint at(WindowId window, QPoint p);
    QPoint at(const QString &title, QPoint p);

    // Mouse, in screen coordinates; button 1 is left, 3 is right.
    void move(QPoint p);
    void click(QPoint p, int button = 1);
    void press(QPoint p, int button = 1);
    void release(QPoint p, int button = 1);
    // Press at the first point, move through the others, release at the last.
    void drag(const QList<QPoint> &path, int button = 1);
    void drag(QPoint from, QPoint to, int button = 1);

    // Keys by their X names, several separated by spaces: "ctrl+q",
    // "F7", "alt+f x", "Return". They go to the program's active window.
    void key(const QString &keys);
    void type(const QString &text);

    // The exit code, or nothing when the program is still running after
    // the timeout. A crash is recorded as a failure.
    std::optional<int> waitExit(Ms timeout = 10s);

    // The whole screen, saved to path (or into the session's folder).
    QImage screenshot(const QString &path = {});
    // Records a failure when the file can't be read as an image.
    static QImage readImage(const QString &path);

private:
    bool startServer();
    void startProgram(const QStringList &args);
    void startProcess(QProcess &p, const QStringList &args);
    void mouse(QPoint p, const QString &action, int button);
    QByteArray xdotool(const QStringList &args);
    void focusActiveWindow();
    QString describeWindows();
    void reportFailure();

    QTemporaryDir dir_;
    QString display_;
    QProcess server_;
    QProcess program_;
    std::list<QProcess> others_;
    bool started_ = false;
};

} // namespace e2e
