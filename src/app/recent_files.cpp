#include "app/recent_files.h"

#include "app/placement.h"

namespace quor {

namespace {

const QString Group = QStringLiteral("RecentFiles");

QString key(int number) { return QStringLiteral("File%1").arg(number); }

} // namespace

RecentFiles::RecentFiles()
{
    QSettings s = settingsFile();
    s.beginGroup(Group);
    for (int i = 1; i <= Count; ++i) {
        const QString name = s.value(key(i)).toString();
        if (!name.isEmpty() && !m_files.contains(name))
            m_files << name;
    }
}

void RecentFiles::add(const QString &fileName)
{
    m_files.removeAll(fileName);
    m_files.prepend(fileName);
    while (m_files.size() > Count)
        m_files.removeLast();
    write();
}

void RecentFiles::remove(const QString &fileName)
{
    m_files.removeAll(fileName);
    write();
}

void RecentFiles::write() const
{
    QSettings s = settingsFile();
    s.beginGroup(Group);
    s.remove(QString());
    for (int i = 0; i < m_files.size(); ++i)
        s.setValue(key(i + 1), m_files[i]);
    s.sync();
}

QString recentEntryText(int number, const QString &fileName)
{
    // Both ends stay: the folder it starts from and the file's own name.
    constexpr int Longest = 60, Head = 20;
    QString shown = fileName;
    if (shown.size() > Longest)
        shown = shown.left(Head) + QChar(0x2026) + shown.right(Longest - Head - 1);
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(number).arg(shown);
}

} // namespace quor
