// What a program that ended without saving left behind: the folders of
// programs no longer running, their recovery files read, and the dialog
// that offers them at the next start.
#pragma once

#include "formats/recovery_file.h"

#include <QList>
#include <QLockFile>
#include <QStringList>

#include <memory>
#include <vector>

class QWidget;

namespace quor {

struct LeftPicture
{
    QString path;
    RecoveryRecord record; // the header and preview; the picture is read on restore
    QString problem;       // why it can not be restored; empty when it can
};

class LeftRecovery
{
public:
    // Takes every folder under root whose program no longer runs (its lock
    // can be had), except `own`, and reads its pictures' headers and
    // previews (only regular files; nothing is decoded whole, so the cost
    // does not grow with the pictures). The folders stay locked meanwhile,
    // so a program starting at the same time leaves them alone; empty ones
    // go at once.
    LeftRecovery(const QString &root, const QString &own);
    ~LeftRecovery();

    const QList<LeftPicture> &pictures() const { return m_pictures; }
    // Removes the files, the locks and the folders.
    void remove();
    // Removes these files only; a folder goes when no picture is left in it.
    // The rest stay, offered again at the next start.
    void remove(const QStringList &files);

private:
    QList<LeftPicture> m_pictures;
    QStringList m_folders;
    std::vector<std::unique_ptr<QLockFile>> m_locks;
};

enum class RecoveryChoice { Restore, Discard, Later };

// A caption as one line safe to show: control characters (a newline would
// split the entry) and the bidirectional overrides (which would turn the
// line around) are shown as visible marks.
QString shownCaption(const QString &caption);

// "恢复未保存的图片": each picture with a small preview, its caption and
// time, or the reason it can not be restored. Restore is the default
// button; Escape leaves the files for the next start.
RecoveryChoice askRecovery(QWidget *parent, const QList<LeftPicture> &pictures);

} // namespace quor
