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

constexpr qint64 MaxRecoveryFileBytes = 1LL << 30;

LeftPicture readLeftPicture(const QString &path)
{
    LeftPicture p;
    p.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        p.problem = QStringLiteral("无法读取：") + file.errorString();
        return p;
    }
    if (file.size() > MaxRecoveryFileBytes) {
        p.problem = QStringLiteral("文件太大");
        return p;
    }
    RecoveryRead read = readRecoveryRecord(file, file.size());
    p.record = std::move(read.record);
    p.problem = std::move(read.problem);
    return p;
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
        const QFileInfoList files =
            QDir(path).entryInfoList({QStringLiteral("*.qrec")}, QDir::Files, QDir::Name);
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

namespace {

QIcon preview(const QImage &picture)
{
    constexpr int Side = 96;
    QPixmap icon(Side, Side);
    icon.fill(Qt::transparent);
    if (!picture.isNull()) {
        // A large picture is first thinned out, so the preview takes no time.
        const QImage thinned = picture.width() > 4 * Side || picture.height() > 4 * Side
                                   ? picture.scaled(4 * Side, 4 * Side, Qt::KeepAspectRatio)
                                   : picture;
        const QImage small = thinned.scaled(Side, Side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
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
            line = QDir::toNativeSeparators(p.record.caption) + QLatin1Char('\n')
                   + locale.toString(p.record.time.toLocalTime(), QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                   + QStringLiteral("  %1 x %2").arg(p.record.picture.width()).arg(p.record.picture.height());
        } else {
            line = QFileInfo(p.path).fileName() + QLatin1Char('\n') + QStringLiteral("无法恢复：")
                   + p.problem;
        }
        auto *item = new QListWidgetItem(preview(p.record.picture), line, list);
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
