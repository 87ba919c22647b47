#include "files/autosave.h"

#include "document/model/canvas_snapshot.h"
#include "document/model/document.h"
#include "formats/recovery_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QPointer>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTimer>

namespace quor {

QString recoveryRoot()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // Relative paths are to be ignored, as for every XDG variable.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/quor/recovery");
}

namespace {

// Why a recovery file could not be written. The picture encoder reports no
// cause of its own, and the file then says only "unknown error": a full
// disk is the usual one, so it is looked for.
QString writeProblem(const QSaveFile &file)
{
    if (file.error() != QFileDevice::NoError && file.error() != QFileDevice::UnspecifiedError)
        return file.errorString();
    const QStorageInfo disk(QFileInfo(file.fileName()).absolutePath());
    if (disk.isValid() && disk.bytesAvailable() < (1 << 20))
        return QStringLiteral("磁盘空间不足");
    return QStringLiteral("写入出错");
}

} // namespace

struct Autosave::Watched
{
    QPointer<Document> doc;
    std::function<void(RecoveryRecord &)> identify;
    QTimer timer;
    QString path;
    bool modified = false; // as the document last said
    bool onDisk = false;   // a file was (or is being) written
    bool writing = false;
    bool again = false;    // changed again while being written
};

Autosave::Autosave(const QString &root, int seconds) : m_seconds(std::max(0, seconds))
{
    m_folder = root + QLatin1Char('/') + QString::number(QCoreApplication::applicationPid())
               + QLatin1Char('-') + QString::number(QDateTime::currentMSecsSinceEpoch());
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start(QThread::LowPriority);
    if (m_seconds > 0)
        holdLock();
}

Autosave::~Autosave()
{
    release();
}

void Autosave::release()
{
    if (m_released)
        return;
    m_released = true;
    for (auto &[id, w] : m_watched)
        if (w->onDisk && w->modified)
            ++m_keptFiles;
    m_watched.clear();
    waitForWrites(); // the removals queued too
    m_thread.quit();
    m_thread.wait();
    if (m_keptFiles > 0) {
        if (m_lock)
            m_lock->unlock();
        return;
    }
    m_lock.reset();
    QDir(m_folder).removeRecursively();
}

bool Autosave::holdLock()
{
    if (m_lock && m_lock->isLocked())
        return true;
    if (!QDir().mkpath(m_folder))
        return false;
    m_lock = std::make_unique<QLockFile>(m_folder + QStringLiteral("/lock"));
    m_lock->setStaleLockTime(0); // only a dead program's lock is stale, however old
    return m_lock->tryLock(0);
}

void Autosave::onWorker(std::function<void()> job)
{
    QMetaObject::invokeMethod(m_worker, std::move(job), Qt::QueuedConnection);
}

void Autosave::waitForWrites()
{
    if (m_thread.isRunning())
        QMetaObject::invokeMethod(m_worker, [] {}, Qt::BlockingQueuedConnection);
}

void Autosave::watch(Document &doc, std::function<void(RecoveryRecord &)> identify)
{
    const int id = m_nextId++;
    auto w = std::make_unique<Watched>();
    w->doc = &doc;
    w->identify = std::move(identify);
    w->path = m_folder + QStringLiteral("/picture-%1.qrec").arg(id);
    w->modified = doc.isModified();
    w->timer.setSingleShot(true);
    connect(&w->timer, &QTimer::timeout, this, [this, id] { write(id, false); });
    const auto changedNow = [this, id] { changed(id); };
    connect(&doc, &Document::committed, this, changedNow);
    connect(&doc, &Document::restored, this, changedNow);
    connect(&doc, &Document::historyChanged, this, changedNow);
    connect(&doc, &Document::changesDiscarded, this, changedNow);
    connect(&doc, &QObject::destroyed, this, [this, id] { gone(id); });
    m_watched[id] = std::move(w);
}

Autosave::Watched *Autosave::find(int id)
{
    const auto it = m_watched.find(id);
    return it == m_watched.end() || !it->second->doc ? nullptr : it->second.get();
}

int Autosave::idOf(const Document &doc) const
{
    for (const auto &[id, w] : m_watched)
        if (w->doc == &doc)
            return id;
    return 0;
}

void Autosave::startWrite(const Document &doc)
{
    if (const int id = idOf(doc))
        write(id, true);
}

bool Autosave::writeNow(const Document &doc)
{
    const int id = idOf(doc);
    if (!id)
        return false;
    write(id, true);
    waitForWrites();
    return QFile::exists(m_watched[id]->path);
}

bool Autosave::busy() const
{
    for (const auto &[id, w] : m_watched)
        if (w->writing)
            return true;
    return false;
}

void Autosave::changed(int id)
{
    Watched *w = find(id);
    if (!w)
        return;
    w->modified = w->doc->isModified();
    if (w->modified) {
        if (m_seconds > 0)
            w->timer.start(m_seconds * 1000);
    } else {
        // Saved, or the changes were given up: nothing left to recover.
        w->timer.stop();
        if (w->onDisk)
            removeFile(w->path);
        w->onDisk = false;
    }
}

void Autosave::gone(int id)
{
    const auto it = m_watched.find(id);
    if (it == m_watched.end())
        return;
    Watched &w = *it->second;
    // Closed by the user, the document was saved or given up; one that goes
    // still changed goes with the program, and its file stays.
    if (w.onDisk && w.modified)
        ++m_keptFiles;
    else if (w.onDisk)
        removeFile(w.path);
    m_watched.erase(it);
}

void Autosave::removeFile(const QString &path)
{
    // After any write of it still queued.
    onWorker([path] { QFile::remove(path); });
}

void Autosave::write(int id, bool evenWhileWriting)
{
    Watched *w = find(id);
    if (!w || !w->doc->isModified())
        return;
    if (w->writing && !evenWhileWriting) {
        w->again = true;
        return;
    }
    if (!holdLock()) {
        written(id, QStringLiteral("无法使用文件夹 %1").arg(QDir::toNativeSeparators(m_folder)));
        return;
    }
    Document &doc = *w->doc;
    auto record = std::make_shared<RecoveryRecord>();
    w->identify(*record);
    record->time = QDateTime::currentDateTimeUtc();
    record->twipsWidth = doc.canvas().scaleWidth();
    record->twipsHeight = doc.canvas().scaleHeight();
    // Copied on the worker while drawing goes on; the canvas copies the
    // rows it is about to write first, so the copy is the picture of now.
    auto snapshot = doc.canvas().snapshot();
    w->writing = true;
    w->onDisk = true;
    onWorker([this, id, record, snapshot, path = w->path] {
        record->picture = snapshot->copyAll();
        QString problem;
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !writeRecoveryRecord(file, *record) || !file.commit())
            problem = writeProblem(file);
        QMetaObject::invokeMethod(this, [this, id, problem] { written(id, problem); },
                                  Qt::QueuedConnection);
    });
}

void Autosave::written(int id, const QString &problem)
{
    if (problem.isEmpty()) {
        m_failureShown = false;
    } else if (!m_failureShown) {
        m_failureShown = true;
        if (writeFailed)
            writeFailed(QStringLiteral("自动保存失败：%1。稍后再试。").arg(problem));
    }
    Watched *w = find(id);
    if (!w)
        return;
    w->writing = false;
    if (!problem.isEmpty() && m_seconds > 0)
        w->timer.start(m_seconds * 1000); // retried later
    else if (std::exchange(w->again, false))
        write(id, false);
}

void Autosave::writeAllAndKeep()
{
    for (auto &[id, w] : m_watched) {
        if (!w->doc)
            continue;
        w->timer.stop();
        w->modified = w->doc->isModified();
        // With autosave off, only a restored picture has a file to keep.
        if (w->modified && (m_seconds > 0 || w->onDisk))
            write(id, true);
        else if (w->onDisk)
            removeFile(w->path);
        w->onDisk = w->modified && w->onDisk;
        // The documents that go with the program leave their files alone.
        disconnect(w->doc, nullptr, this, nullptr);
    }
    waitForWrites();
    release();
}

} // namespace quor
