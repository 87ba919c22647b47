// Reads the browser's sample pictures on a worker thread, so that a large
// or slow file never holds up the window. Only the newest request counts:
// a newer one cancels every older one, which then never starts reading if
// it had not yet, and whose result is dropped if it had.
#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

namespace quor {

struct SampleResult
{
    QImage picture;  // null when the file could not be read
    QString reason;  // why, then
};

class SampleLoader : public QObject
{
    Q_OBJECT
public:
    // Reads one picture; runs on a worker thread and throws QuorError.
    using Reader = std::function<QImage(const QString &fileName)>;

    explicit SampleLoader(QObject *parent = nullptr);
    ~SampleLoader() override;

    // The program's picture reader unless a test gives another.
    void setReader(Reader reader);

    void request(const QString &fileName);
    void cancel();
    // The file being read for the newest request; empty when none is.
    QString pending() const { return m_pending; }

signals:
    void finished(const QString &fileName, const quor::SampleResult &result);

private:
    Reader m_reader;
    QFutureWatcher<SampleResult> *m_watcher = nullptr;
    QString m_pending;
};

} // namespace quor
