#include "formats/file_attributes.h"

#include "core/errors.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace quor {

namespace {

constexpr mode_t WriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

QString reasonOf(int error)
{
    switch (error) {
    case EACCES: return QStringLiteral("没有权限访问此文件");
    case EPERM: return QStringLiteral("只有文件的所有者才能更改它的属性");
    case EROFS: return QStringLiteral("文件所在的文件系统是只读的");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("磁盘空间不足");
    case ENOTSUP: return QStringLiteral("此文件系统不支持扩展属性");
    }
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void fail(int error)
{
    if (error == ENOENT || error == ENOTDIR)
        throw QuorError(err::FileNotFound, QStringLiteral("文件未找到"));
    if (error == EACCES || error == EPERM || error == EROFS)
        throw QuorError(err::PathFileAccess, reasonOf(error));
    throw QuorError(err::DeviceIO, reasonOf(error));
}

struct stat statOf(const QByteArray &name)
{
    struct stat st;
    if (name.isEmpty())
        fail(ENOENT);
    if (::stat(name.constData(), &st) != 0)
        fail(errno);
    return st;
}

// The extended attribute as found.
struct StoredValue
{
    enum State { Absent, Known, Unknown, Unsupported } state = Absent;
    QByteArray raw;
    std::uint32_t bits = 0; // Known only
    int error = 0;          // Unknown: why it could not be read (0: not understood)
};

StoredValue readStored(const QByteArray &name)
{
    StoredValue v;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = ::getxattr(name.constData(), DosAttribName, nullptr, 0);
        if (size >= 0) {
            v.raw.resize(qsizetype(size));
            const ssize_t got = ::getxattr(name.constData(), DosAttribName, v.raw.data(),
                                           std::size_t(size));
            if (got < 0 && errno == ERANGE)
                continue; // grown in between
            if (got >= 0) {
                v.raw.resize(qsizetype(got));
                const auto bits = parseDosAttrib(v.raw);
                v.state = bits ? StoredValue::Known : StoredValue::Unknown;
                v.bits = bits.value_or(0);
                return v;
            }
        }
        const int e = errno;
        if (e == ENODATA)
            v.state = StoredValue::Absent;
        else if (e == ENOTSUP)
            v.state = StoredValue::Unsupported;
        else
            v = {StoredValue::Unknown, {}, 0, e};
        return v;
    }
    return {StoredValue::Unknown, {}, 0, ERANGE};
}

} // namespace

std::uint32_t readFileAttributes(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const struct stat st = statOf(name);
    std::uint32_t bits = (st.st_mode & S_IWUSR) ? 0 : dosattr::ReadOnly;
    const StoredValue stored = readStored(name);
    if (stored.state == StoredValue::Known)
        bits |= stored.bits & dosattr::Stored;
    return bits;
}

AttributesNotKept applyFileAttributes(const QString &path, std::uint32_t bits)
{
    using Reason = AttributesNotKept::Reason;
    const QByteArray name = QFile::encodeName(path);
    const struct stat st = statOf(name);
    const mode_t mode = st.st_mode & 07777;
    const mode_t newMode = (bits & dosattr::ReadOnly) ? mode & ~WriteBits : mode | S_IWUSR;

    const StoredValue stored = readStored(name);
    const std::uint32_t asked = bits & dosattr::Stored;
    AttributesNotKept notKept;
    std::optional<QByteArray> value;
    std::uint32_t changing = 0; // the stored bits a write would change
    switch (stored.state) {
    case StoredValue::Known: {
        const std::uint32_t next = (stored.bits & ~dosattr::Shown) | (bits & dosattr::Shown);
        if (next != stored.bits)
            value = withDosAttributes(stored.raw, next);
        changing = (next ^ stored.bits) & dosattr::Stored;
        break;
    }
    case StoredValue::Absent:
        // Read-only alone needs no attribute: the permission carries it.
        if (asked)
            value = dosAttribText(bits & dosattr::Shown);
        changing = asked;
        break;
    case StoredValue::Unsupported:
        notKept = {asked, Reason::NoExtendedAttributes, reasonOf(ENOTSUP)};
        break;
    case StoredValue::Unknown:
        // Whatever it is (a newer record, say), it is not ours to overwrite.
        notKept = stored.error ? AttributesNotKept{asked, Reason::Failed, reasonOf(stored.error)}
                               : AttributesNotKept{asked, Reason::UnknownValue, {}};
        break;
    }

    const auto writeValue = [&] {
        if (!value)
            return;
        if (::setxattr(name.constData(), DosAttribName, value->constData(),
                       std::size_t(value->size()), 0)
            == 0)
            return;
        const int e = errno;
        notKept = {changing, e == ENOTSUP ? Reason::NoExtendedAttributes : Reason::Failed,
                   reasonOf(e)};
    };
    const auto changeMode = [&] {
        if (newMode != mode && ::chmod(name.constData(), newMode) != 0)
            fail(errno);
    };
    // Writing a user extended attribute needs write permission, so it goes
    // before the file turns read-only and after it turns writable.
    if (newMode & ~mode) {
        changeMode();
        writeValue();
    } else {
        writeValue();
        changeMode();
    }
    if (!notKept.bits)
        notKept = {};
    return notKept;
}

} // namespace quor
