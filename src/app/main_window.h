// The main window: the document area, menus, toolbar, status bar, the two
// palettes, the real dialogs and the printer they set up.
#pragma once

#include "app/dialogs.h"
#include "app/recent_files.h"
#include "document/document_host.h"
#include "document/workspace.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMenu;
class QPrinter;
class QToolBar;

namespace quor {

class ToolPalette;
class ColourPalette;
struct PictureNotes;

class MainWindow : public QMainWindow, public DocumentHost
{
    Q_OBJECT
public:
    // Without the empty document the window starts with none, for the
    // program to open the files it was given (openStartFiles).
    explicit MainWindow(QWidget *parent = nullptr, bool emptyDocument = true);
    ~MainWindow() override;

    Workspace &workspace() { return m_workspace; }
    QMdiArea *mdiArea() const override { return m_mdi; }
    ToolPalette *toolPalette() const { return m_tools; }
    ColourPalette *colourPalette() const { return m_colours; }
    QToolBar *toolBar() const { return m_toolbar; }
    QDockWidget *toolsDock() const { return m_toolsDock; }
    QDockWidget *coloursDock() const { return m_coloursDock; }
    QMenu *editMenu() const override { return m_editMenu; }
    QMenu *textBoxMenu() const override { return m_quickMenu; }
    // Inner size of the document area, in pixels, laid out even before the
    // window is first shown.
    QSize documentAreaSize() override;
    // Enables or disables every command that needs an open document.
    void enableDocumentCommands(bool enabled) override;
    void writeBitmapFile(const QImage &image, const QString &fileName) override;
    SaveResult saveDocument(DocumentWindow *doc, SaveRequest request) override;
    // After a file was written: what of the replaced file's owner,
    // permissions and extended attributes could not be kept, if anything.
    void sayWhatWasNotKept(const QString &lost);
    // Holds the program while a run goes (effect_dialogs.cpp).
    void runGoing(QWidget *runner, bool going, const std::function<void()> &stop) override;
    // A menu entry by its name.
    QAction *action(const char *name) const;

    // Start-up; the constructor runs it.
    void startUp(bool emptyDocument = true);
    // Shut-down once every document agreed to close: saves the placement.
    void shutDown();

    // Creates, registers and shows one empty document window.
    void newDocumentWindow();
    // Applies the palette's drawing settings to the active canvas.
    void applyDrawingSettings();
    // Tells on the status bar what an opened picture could not show.
    void showPictureNotes(const PictureNotes &notes);

    // File.
    void newDocument();
    void openPicture();
    // Opens a picture file as a new document, like Open once a name is
    // chosen, and lists it among the recent files.
    void openPictureFile(const QString &fileName);
    // The File menu's recent files (recent_menu.cpp): a file opened or
    // saved goes to the top; an entry opens its file.
    void rememberRecentFile(const QString &fileName);
    void openRecentFile(const QString &fileName);
    void closeActiveDocument();
    void closeAll();
    void save();
    void saveAs();
    void exportPicture();
    void saveAll();
    void showFileProperties();
    void pageSetup();
    void printDocument();
    // The one printer Print and Page setup set up.
    QPrinter &printer();
    void quit();
    // Marks the active document changed.
    void markActiveDocumentChanged();
    // Edit: the floating selection and the clipboard, the whole-picture
    // window, the foreground and background colours.
    void selectAll();
    void clearPicture();
    void copy();
    void paste();
    void showWholePicture();
    void chooseForegroundColour();
    void chooseBackgroundColour();
    void chooseFont();
    // The text box's quick menu.
    void selectAllText();
    void cutText();
    void copyText();
    void pasteText();
    void pasteTextFromFile();
    void commitText();
    // Undo and redo on the active document; their entries follow what it
    // can undo or redo.
    void undo();
    void redo();
    void updateUndoCommands();
    // Effects and flips on the floating selection.
    void softenSelection();
    void sharpenSelection();
    void oilPaintSelection();
    void embossSelection();
    // The custom filter and gradient fill dialogs (effect_dialogs.cpp).
    void showCustomFilter();
    void showGradientFill();
    void flipSelectionHorizontally();
    void flipSelectionVertically();
    void flipSelectionDiagonally();
    // The Image menu (image_menu.cpp): on the floating selection if one
    // floats, else on the whole picture.
    void resizePicture();
    // A size that exceeds the picture limits is refused with a message.
    void resizePictureTo(QSize size, bool smooth);
    void turnPictureRight();
    void turnPictureLeft();
    void turnPictureHalf();
    void cropToSelection();
    void invertPicture();
    void greyPicture();
    // The toolbar's tools: the flood fill and the colour picker.
    void chooseFillTool();
    void choosePickerTool();
    // Window.
    void tileSideBySide();
    void tileOneAboveAnother();
    void cascade();
    void enlargeActiveDocument();
    void arrangeIcons();
    // The active document's view scale: a step larger, smaller, 100 %.
    void zoomViewIn();
    void zoomViewOut();
    void zoomViewActual();
    void toggleToolBar();
    void toggleStatusBar();
    // Help.
    void showHelp();
    void showAbout();
    // Browse: shows the picture browser, one per main window.
    void showPictureBrowser();
    // Ctrl+F6 (step 1) and Ctrl+Shift+F6 (-1): the keyboard focus to the
    // next pane of document, tool palette and colour palette.
    void focusNextPane(int step);
    // Runs the command of the toolbar button with this key; any other key
    // does nothing.
    void runToolBarButton(const QString &key);
    // Draw-mode and paste-mode entries.
    void chooseDrawMode(const char *name);
    void choosePasteMode(const char *name);

    // Picture files handed over from outside (command line, drops), each
    // opened as a new document; one that can not be opened says why and
    // leaves no window. Returns how many opened.
    int openFilesFromOutside(const QStringList &files);
    // The files of the command line, for a window made without its empty
    // document; when none opens the empty document is made after all.
    void openStartFiles(const QStringList &files);

    // Arranges the document windows.
    void arrange(ArrangeMode mode);
    // A Window-menu arrangement: only with a document open, and kept as
    // the mode new documents follow.
    void arrangeByMenu(ArrangeMode mode);

signals:
    // A document window was made (empty, or about to take a picture).
    void documentMade(DocumentWindow *doc);

protected:
    void closeEvent(QCloseEvent *e) override;
    // Picture files dropped anywhere on the window, documents included.
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void buildMenus();
    // Quarter turns clockwise: 1, 2 or 3.
    void turnPicture(int quarters);
    void buildToolbar();
    void buildStatusBar();
    void buildPalettes();
    void buildPaneKeys();
    void updateWindowList();
    void buildRecentFileEntries();
    void updateRecentFileEntries();
    // The draw mode and paste operation of the checked mode entries.
    void takeModeSettings();

    QtDialogBackend m_dialogs;
    std::unique_ptr<QPrinter> m_printer;
    Workspace m_workspace;
    ToolPalette *m_tools = nullptr;
    ColourPalette *m_colours = nullptr;
    QMdiArea *m_mdi = nullptr;
    QToolBar *m_toolbar = nullptr;
    QDockWidget *m_toolsDock = nullptr;
    QDockWidget *m_coloursDock = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    QMenu *m_quickMenu = nullptr;
    QList<QAction *> m_windowListActions;
    RecentFiles m_recentFiles;
    QAction *m_recentBar = nullptr;
    QList<QAction *> m_recentEntries;
    bool m_unloaded = false;
};

// The product name and credit shown in captions and About.
extern const char *const ProductName;
extern const char *const AuthorCredit;

} // namespace quor
