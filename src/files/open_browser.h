// The picture browser: a drive list, a folder list and a list of the
// picture files in that folder; the chosen picture shown at its natural
// size with its size in twips, and opened as a new document on request.
// It stays open and above every other window while the user works.
#pragma once

#include "files/drive_list.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QTreeWidget;

namespace quor {

class frmquoredit;
class SampleLoader;
struct SampleResult;

// The sample: a picture at its natural size, placed in twips inside the
// display frame, which clips it.
class SampleBox : public QWidget
{
    Q_OBJECT
public:
    explicit SampleBox(QWidget *parent = nullptr);

    const QImage &picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const;
    double Height() const;
    void Move(double left, double top);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QImage m_picture;
    double m_left = 0, m_top = 0;
};

class FrmQuorOpenfile : public QWidget
{
    Q_OBJECT
public:
    // What opening a file needs from the main window.
    struct Hooks
    {
        // Creates an empty document window the way New does, makes it the
        // active one and returns it; throws std::overflow_error when the
        // document counters are spent.
        std::function<frmquoredit *()> newDocument;
        // Gives the active document the drawing settings and enables the
        // document commands.
        std::function<void()> documentReady;
    };

    explicit FrmQuorOpenfile(Hooks hooks, QWidget *parent = nullptr);
    ~FrmQuorOpenfile() override;

    QComboBox *Drive1() const { return m_drive; }
    QTreeWidget *Dir1() const { return m_dir; }
    QListWidget *File1() const { return m_file; }
    QWidget *Picture0() const { return m_frame; }
    SampleBox *Picture1() const { return m_sample; }
    QScrollBar *HScroll1() const { return m_hscroll; }
    QScrollBar *VScroll1() const { return m_vscroll; }
    QLineEdit *Text1() const { return m_size; }
    QPushButton *Command1() const { return m_open; }
    QPushButton *Command2() const { return m_cancel; }
    SampleLoader *sampleLoader() const { return m_loader; }

    // The folder shown; setting it lists its subfolders and its pictures.
    QString dirPath() const { return m_dirPath; }
    void setDirPath(const QString &path);
    // The selected file's name, empty when none is selected.
    QString fileName() const;

    bool isTopmost() const;
    // Into or out of the always-on-top layer, keeping the window's place.
    void setTopmost(bool on);

    // Placement on the screen's top-left corner, above every window; the
    // drives, and the current folder.
    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    // Starts reading the selected file's sample.
    void File1_Click();
    // Places the sample in its frame and sets the scroll bars and the size.
    void Picture1_Resize();
    void HScroll1_Change();
    void VScroll1_Change();
    // Opens the selected file as a new document; the browser stays.
    void Command1_Click();
    void Command2_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void fillDrives();
    void sampleFinished(const QString &fileName, const SampleResult &result);
    void placeScrollBars();

    Hooks m_hooks;
    QList<Drive> m_drives;
    int m_driveShown = -1;
    bool m_fillingDrives = false;
    QString m_dirPath;
    QComboBox *m_drive;
    QTreeWidget *m_dir;
    QListWidget *m_file;
    QWidget *m_frame;
    SampleBox *m_sample;
    QScrollBar *m_hscroll, *m_vscroll;
    QWidget *m_corner;
    QLineEdit *m_size;
    QPushButton *m_open, *m_cancel;
    SampleLoader *m_loader;
};

} // namespace quor
