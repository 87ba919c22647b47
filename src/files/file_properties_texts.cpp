#include "files/file_properties_texts.h"

#include <QLocale>
#include <QStringList>

namespace quor {

QString fileSizeText(qint64 bytes)
{
    return QString::number(bytes) + QStringLiteral(" 字节");
}

QString fileTypeText(const QString &path)
{
    return path.right(4) + QStringLiteral(" 文件");
}

QString fileFolderText(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString fileTimeText(const QDateTime &time)
{
    return QLocale(QLocale::Chinese, QLocale::China).toString(time, QLocale::ShortFormat);
}

QString notSavedMessage()
{
    return QLatin1Char('\r') + QStringLiteral("  文件尚未存盘！    ") + QLatin1Char('\r');
}

QString notKeptMessage(const AttributesNotKept &notKept)
{
    using Reason = AttributesNotKept::Reason;
    if (!notKept.bits || notKept.reason == Reason::None)
        return {};
    QStringList names;
    if (notKept.bits & dosattr::Hidden)
        names << QStringLiteral("“隐藏”");
    if (notKept.bits & dosattr::System)
        names << QStringLiteral("“系统”");
    if (notKept.bits & dosattr::Archive)
        names << QStringLiteral("“存档”");
    QString why;
    switch (notKept.reason) {
    case Reason::NoExtendedAttributes:
        why = QStringLiteral("文件所在的文件系统不能保存扩展属性。");
        break;
    case Reason::UnknownValue:
        why = QStringLiteral("文件已带有本程序不认识的 DOS 属性值，未作改动。");
        break;
    case Reason::Failed:
    case Reason::None:
        why = notKept.detail + QStringLiteral("。");
        break;
    }
    return QLatin1Char('\r') + QStringLiteral("未能保存属性") + names.join(QStringLiteral("、"))
        + QStringLiteral("：") + why;
}

} // namespace quor
