// The file-properties dialog: name, folder, size, type and modification
// time of a document's file, and its read-only, hidden, system and archive
// attributes, which "确定" applies to the file named in the name box.
#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quor {

class FilePropertiesDialog : public QDialog
{
    Q_OBJECT
public:
    // `path`: the document's caption, its file's full path.
    explicit FilePropertiesDialog(const QString &path, QWidget *parent = nullptr);

    // Shows the file's properties modally; says why instead when it cannot
    // read them (a document never saved has no file).
    static void showFor(const QString &path, QWidget *parent);

    // Fills the controls from the file. False when that failed: the reason
    // was shown and the dialog has nothing to show.
    bool load();
    // Places the controls for the length of the path and its folder.
    void layOut();
    // Applies the attributes to the file named in the name box and closes;
    // says what could not be applied.
    void apply();
    // Closes.
    void cancel();

private:
    QString m_path;
    QLabel *m_nameLabel, *m_folderLabel, *m_sizeLabel, *m_typeLabel, *m_timeLabel;
    QLabel *m_attributesLabel;
    QLabel *m_size, *m_type, *m_time;
    QPlainTextEdit *m_name, *m_folder;
    QCheckBox *m_readOnly, *m_hidden, *m_system, *m_archive;
    QPushButton *m_ok, *m_cancel;
    QFrame *m_rules[4];
};

} // namespace quor
