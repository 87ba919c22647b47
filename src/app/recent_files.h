// The pictures opened or saved last, newest first, as the File menu lists
// them; kept in the settings file.
#pragma once

#include <QStringList>

namespace quor {

class RecentFiles
{
public:
    static constexpr int Count = 8;

    // Read from the settings file.
    RecentFiles();
    const QStringList &files() const { return m_files; }
    // To the front (once), the oldest beyond eight dropped; written at once,
    // so another start of the program sees it.
    void add(const QString &fileName);
    void remove(const QString &fileName);

private:
    void write() const;

    QStringList m_files;
};

// "&1 /home/…/picture.png": the entry's number as its access key, a long
// name shortened in the middle, and any "&" in it shown as itself.
QString recentEntryText(int number, const QString &fileName);

} // namespace quor
