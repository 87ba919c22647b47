#include "formats/whole_file.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quor {

namespace {

QString shownName(const QString &fileName)
{
    return QFileInfo(fileName).fileName();
}

[[noreturn]] void throwForErrno(int code, const QString &fileName)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        throw QuorError(err::FileNotFound, QStringLiteral("文件未找到"));
    case EACCES:
    case EPERM:
        throw QuorError(err::PathFileAccess, QStringLiteral("路径/文件访问错误"));
    case ENOMEM:
        throw QuorError(err::OutOfMemory, QStringLiteral("内存不足，无法读入文件。"));
    default:
        throw QuorError(err::DeviceIO, QStringLiteral("无法读取文件“%1”（%2）。")
                                .arg(shownName(fileName),
                                     QString::fromLocal8Bit(std::strerror(code))));
    }
}

// Everything but a regular file is refused, saying what it is.
void requireRegular(const struct stat &st, const QString &fileName)
{
    if (S_ISREG(st.st_mode))
        return;
    QString kind;
    if (S_ISDIR(st.st_mode))
        kind = QStringLiteral("文件夹");
    else if (S_ISFIFO(st.st_mode))
        kind = QStringLiteral("命名管道");
    else if (S_ISSOCK(st.st_mode))
        kind = QStringLiteral("套接字");
    else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        kind = QStringLiteral("设备");
    const QString name = shownName(fileName);
    throw QuorError(err::NotARegularFile,
                    kind.isEmpty()
                        ? QStringLiteral("“%1”不是普通文件，无法打开。").arg(name)
                        : QStringLiteral("“%1”是%2，不是普通文件，无法打开。").arg(name, kind));
}

QuorError tooLarge(qint64 maxBytes)
{
    return QuorError(err::OutOfMemory,
                     QStringLiteral("文件太大（超过 %1 字节），无法读入内存。").arg(maxBytes));
}

} // namespace

OpenedFile::OpenedFile(const QString &fileName, qint64 maxBytes)
    : m_fileName(fileName), m_maxBytes(maxBytes)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat st;
    // Looked at before opening: opening a pipe would wait for a writer and
    // opening a device can have effects of its own.
    if (::stat(path.constData(), &st) != 0)
        throwForErrno(errno, fileName);
    requireRegular(st, fileName);
    if (st.st_size > maxBytes)
        throw QuorError(err::OutOfMemory,
                        QStringLiteral("文件太大（%1 字节），无法读入内存。").arg(qint64(st.st_size)));

    // The name may have been replaced since: opening without waiting and
    // asking the open file itself closes that gap.
    do
        m_fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        throwForErrno(errno, fileName);
    if (::fstat(m_fd, &st) != 0)
        throwForErrno(errno, fileName);
    requireRegular(st, fileName);
    m_reportedSize = std::max<qint64>(st.st_size, 0);
}

OpenedFile::~OpenedFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 OpenedFile::read(char *to, qint64 n)
{
    qint64 total = 0;
    while (total < n) {
        const ssize_t got = ::read(m_fd, to + total, std::size_t(n - total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwForErrno(errno, m_fileName);
        }
        if (got == 0)
            break;
        total += got;
        m_position += got;
        if (m_position > m_maxBytes)
            throw tooLarge(m_maxBytes);
    }
    return total;
}

QByteArray OpenedFile::readRest(QByteArray bytes)
{
    // The reported size is only a first guess: kernel files report 0, and a
    // file may grow while it is read. One byte past the limit is too many.
    qint64 total = bytes.size();
    bytes.resize(total + qsizetype(
        std::min<qint64>(std::max<qint64>(m_reportedSize - m_position, 0), m_maxBytes) + 1));
    for (;;) {
        if (total == bytes.size())
            bytes.resize(qsizetype(std::min(m_maxBytes + 1, std::max(total + 65536, total * 2))));
        const qint64 n = read(bytes.data() + total, bytes.size() - total);
        if (n == 0)
            break;
        total += n;
    }
    bytes.resize(qsizetype(total));
    return bytes;
}

QByteArray readWholeFile(const QString &fileName, qint64 maxBytes)
{
    return OpenedFile(fileName, maxBytes).readRest();
}

} // namespace quor
