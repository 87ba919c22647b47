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

class DocumentWindow;
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
    double leftTwips() const { return m_left; }
    double topTwips() const { return m_top; }
    double widthTwips() const;
    double heightTwips() const;
    void moveTwips(double left, double top);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QImage m_picture;
    double m_left = 0, m_top = 0;
};

class PictureBrowser : public QWidget
{
    Q_OBJECT
public:
    // What opening a file needs from the main window.
    struct Hooks
    {
        // Creates an empty document window the way New does, makes it the
        // active one and returns it; throws std::overflow_error when the
        // document counters are spent.
        std::function<DocumentWindow *()> newDocument;
        // Gives the active document the drawing settings and enables the
        // document commands.
        std::function<void()> documentReady;
    };

    explicit PictureBrowser(Hooks hooks, QWidget *parent = nullptr);
    ~PictureBrowser() override;

    QComboBox *driveBox() const { return m_drive; }
    QTreeWidget *folderList() const { return m_dir; }
    QListWidget *fileList() const { return m_file; }
    QWidget *sampleFrame() const { return m_frame; }
    SampleBox *sampleBox() const { return m_sample; }
    QScrollBar *horizontalScrollBar() const { return m_hscroll; }
    QScrollBar *verticalScrollBar() const { return m_vscroll; }
    QLineEdit *sizeBox() const { return m_size; }
    QPushButton *openButton() const { return m_open; }
    QPushButton *cancelButton() const { return m_cancel; }
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
    void setUp();
    void driveChanged();
    void folderChanged();
    // Starts reading the selected file's sample.
    void fileChosen();
    // Places the sample in its frame and sets the scroll bars and the size.
    void placeSample();
    void horizontalScrolled();
    void verticalScrolled();
    // Opens the selected file as a new document; the browser stays.
    void openChosen();
    void cancel();

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
