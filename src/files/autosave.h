// Autosave: each changed document is written to a recovery file a while
// after its last change, so that a crash, a kill or a lost session loses
// nothing. The picture is copied, encoded and written atomically on a
// worker thread while the canvas goes on being drawn (CanvasSnapshot).
// Each running program keeps its files in a folder of its own, held by a
// lock file, so that the next start can tell a dead program's files from a
// live one's.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QPointer>
#include <QThread>

#include <functional>
#include <map>
#include <memory>

namespace quor {

class Document;
struct RecoveryRecord;

// <state folder>/quor/recovery: $XDG_STATE_HOME, or ~/.local/state.
QString recoveryRoot();

class Autosave : public QObject
{
    Q_OBJECT
public:
    // Writes into a new folder under root `seconds` after a document's last
    // change; 0 seconds writes nothing.
    Autosave(const QString &root, int seconds);
    // Waits for the writes under way. The folder goes unless a document
    // still changed when its window went left its file there.
    ~Autosave() override;

    QString folder() const { return m_folder; }
    // Watches a document; identify fills in a record's caption (what the
    // document is called) and form (what file it came from).
    void watch(Document &doc, std::function<void(RecoveryRecord &)> identify);
    // Takes a changed document's picture and hands it to the worker now.
    void startWrite(const Document &doc);
    // The same, waiting for the write; true when the file is there.
    bool writeNow(const Document &doc);
    // A write is under way.
    bool busy() const;
    // The program ends without its close questions (a logout): every
    // changed document is written now, and the files stay for the next
    // start. Returns once they are on disk and the lock is free.
    void writeAllAndKeep();
    // Returns once every write asked for so far is done.
    void waitForWrites();

    // A failing write, said once until a write works again.
    std::function<void(const QString &)> writeFailed;

private:
    struct Watched;
    Watched *find(int id);
    int idOf(const Document &doc) const;
    void changed(int id);
    void gone(int id);
    void write(int id, bool evenWhileWriting);
    void written(int id, const QString &problem);
    // Lets the folder go: removed when no file is kept, else only unlocked.
    void release();
    void removeFile(const QString &path);
    bool holdLock();
    void onWorker(std::function<void()> job);

    QString m_folder;
    int m_seconds;
    std::unique_ptr<QLockFile> m_lock;
    std::map<int, std::unique_ptr<Watched>> m_watched;
    int m_nextId = 1;
    int m_keptFiles = 0;
    bool m_failureShown = false;
    bool m_released = false;
    QThread m_thread;
    QObject *m_worker = nullptr; // lives on m_thread
};

} // namespace quor
