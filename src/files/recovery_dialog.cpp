#include "files/recovery_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace quor {

namespace {

// The recovery files of a folder, pipes and devices among them (refused
// when read, with the reason shown); links are passed over, since
// autosave never makes one.
QFileInfoList recoveryFiles(const QString &folder)
{
    QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.qrec")},
                                                     QDir::Files | QDir::System, QDir::Name);
    files.removeIf([](const QFileInfo &f) { return f.isSymLink(); });
    return files;
}

LeftPicture readLeftPicture(const QString &path)
{
    RecoveryRead read = readRecoveryFile(path, RecoveryPart::Header);
    return {path, std::move(read.record), std::move(read.problem)};
}

} // namespace

LeftRecovery::LeftRecovery(const QString &root, const QString &own)
{
    const QDir dir(root);
    for (const QFileInfo &folder : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString path = folder.absoluteFilePath();
        if (QDir(path) == QDir(own))
            continue;
        auto lock = std::make_unique<QLockFile>(path + QStringLiteral("/lock"));
        lock->setStaleLockTime(0); // a live program's lock is never stale
        if (!lock->tryLock(0))
            continue; // still running, or not ours to touch
        const QFileInfoList files = recoveryFiles(path);
        if (files.isEmpty()) {
            lock.reset();
            QDir(path).removeRecursively();
            continue;
        }
        for (const QFileInfo &f : files)
            m_pictures << readLeftPicture(f.absoluteFilePath());
        m_folders << path;
        m_locks.push_back(std::move(lock));
    }
}

LeftRecovery::~LeftRecovery() = default;

void LeftRecovery::remove()
{
    m_locks.clear();
    for (const QString &folder : std::as_const(m_folders))
        QDir(folder).removeRecursively();
    m_folders.clear();
    m_pictures.clear();
}

void LeftRecovery::remove(const QStringList &files)
{
    for (const QString &f : files)
        QFile::remove(f);
    m_pictures.removeIf([&](const LeftPicture &p) { return files.contains(p.path); });
    for (qsizetype i = m_folders.size() - 1; i >= 0; --i) {
            if (!recoveryFiles(m_folders[i]).isEmpty())
            continue;
        m_locks.erase(m_locks.begin() + i);
        QDir(m_folders[i]).removeRecursively();
        m_folders.removeAt(i);
    }
}

QString shownCaption(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (const QChar c : caption) {
        const ushort u = c.unicode();
        const bool bidi = (u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069)
                          || u == 0x200e || u == 0x200f || u == 0x061c;
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0) || bidi || u == 0x2028 || u == 0x2029)
            shown += QChar(0xfffd);
        else
            shown += c;
    }
    return shown;
}

namespace {

QIcon preview(const QImage &picture)
{
    constexpr int Side = RecoveryPreviewSide;
    QPixmap icon(Side, Side);
    icon.fill(Qt::transparent);
    if (!picture.isNull()) {
        // Stored small; a file of an older version has none to show.
        const QImage small = picture.scaled(Side, Side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter p(&icon);
        const QRect place((Side - small.width()) / 2, (Side - small.height()) / 2, small.width(),
                          small.height());
        p.drawImage(place, small);
        p.setPen(Qt::gray);
        p.drawRect(place.adjusted(0, 0, -1, -1));
    }
    return QIcon(icon);
}

} // namespace

RecoveryChoice askRecovery(QWidget *parent, const QList<LeftPicture> &pictures)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmRecovery"));
    dialog.setWindowTitle(QStringLiteral("恢复未保存的图片"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *text = new QLabel(QStringLiteral("Quor 画图上次没有正常结束。下列图片的更改没有保存，"
                                           "恢复后可以继续编辑并保存："));
    text->setWordWrap(true);
    layout->addWidget(text);

    auto *list = new QListWidget;
    list->setObjectName(QStringLiteral("lstRecovered"));
    list->setIconSize(QSize(96, 96));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus); // Enter goes to the default button
    const QLocale locale;
    for (const LeftPicture &p : pictures) {
        QString line;
        if (p.problem.isEmpty()) {
            line = shownCaption(QDir::toNativeSeparators(p.record.caption)) + QLatin1Char('\n')
                   + locale.toString(p.record.time.toLocalTime(), QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                   + QStringLiteral("  %1 x %2").arg(p.record.pixels.width()).arg(p.record.pixels.height());
        } else {
            line = shownCaption(QFileInfo(p.path).fileName()) + QLatin1Char('\n')
                   + QStringLiteral("无法恢复：") + shownCaption(p.problem);
        }
        auto *item = new QListWidgetItem(preview(p.record.preview), line, list);
        if (!p.problem.isEmpty())
            item->setFlags(Qt::NoItemFlags);
    }
    list->setMinimumSize(520, 380);
    layout->addWidget(list);

    auto *buttons = new QDialogButtonBox;
    QPushButton *restore = buttons->addButton(QStringLiteral("恢复(&R)"), QDialogButtonBox::AcceptRole);
    QPushButton *discard = buttons->addButton(QStringLiteral("放弃(&D)"), QDialogButtonBox::DestructiveRole);
    QPushButton *later = buttons->addButton(QStringLiteral("以后再说"), QDialogButtonBox::RejectRole);
    restore->setObjectName(QStringLiteral("cmdRestore"));
    discard->setObjectName(QStringLiteral("cmdDiscard"));
    later->setObjectName(QStringLiteral("cmdLater"));
    restore->setDefault(true);
    restore->setFocus();
    layout->addWidget(buttons);

    RecoveryChoice choice = RecoveryChoice::Later;
    QObject::connect(restore, &QPushButton::clicked, &dialog, [&] {
        choice = RecoveryChoice::Restore;
        dialog.accept();
    });
    QObject::connect(discard, &QPushButton::clicked, &dialog, [&] {
        choice = RecoveryChoice::Discard;
        dialog.accept();
    });
    QObject::connect(later, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.exec();
    return choice;
}

} // namespace quor
