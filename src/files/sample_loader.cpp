#include "files/sample_loader.h"

#include "core/errors.h"
#include "formats/picture_loader.h"

#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <new>

namespace quor {

namespace {

SampleResult readSample(const SampleLoader::Reader &reader, const QString &fileName)
{
    SampleResult r;
    try {
        QImage picture = reader(fileName);
        // Converted here, off the window's thread, to what paints fastest.
        const QImage::Format fast = picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32;
        r.picture = picture.format() == fast ? picture : picture.convertToFormat(fast);
        if (r.picture.isNull() && !picture.isNull())
            r.reason = QStringLiteral("内存不足，无法显示这张图片。");
    } catch (const QuorError &e) {
        r.reason = e.description;
    } catch (const std::bad_alloc &) {
        r.reason = QStringLiteral("内存不足，无法显示这张图片。");
    } catch (const std::exception &e) {
        r.reason = QString::fromLocal8Bit(e.what());
    }
    return r;
}

} // namespace

SampleLoader::SampleLoader(QObject *parent)
    : QObject(parent), m_reader([](const QString &f) { return loadPictureFile(f); })
{
}

SampleLoader::~SampleLoader()
{
    cancel();
}

void SampleLoader::setReader(Reader reader)
{
    m_reader = std::move(reader);
}

void SampleLoader::cancel()
{
    if (m_watcher) {
        // The worker sees the cancel before it starts; a result it already
        // produces goes to a watcher nobody listens to any more.
        m_watcher->disconnect(this);
        m_watcher->cancel();
        m_watcher->deleteLater();
        m_watcher = nullptr;
    }
    m_pending.clear();
}

void SampleLoader::request(const QString &fileName)
{
    cancel();
    auto promise = std::make_shared<QPromise<SampleResult>>();
    m_watcher = new QFutureWatcher<SampleResult>(this);
    QFutureWatcher<SampleResult> *watcher = m_watcher;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, fileName] {
        if (watcher != m_watcher)
            return;
        const QFuture<SampleResult> f = watcher->future();
        m_watcher = nullptr;
        m_pending.clear();
        watcher->deleteLater();
        if (!f.isCanceled() && f.resultCount() > 0)
            emit finished(fileName, f.result());
    });
    watcher->setFuture(promise->future());
    m_pending = fileName;
    QThreadPool::globalInstance()->start([promise, reader = m_reader, fileName] {
        promise->start();
        if (!promise->isCanceled())
            promise->addResult(readSample(reader, fileName));
        promise->finish();
    });
}

} // namespace quor
