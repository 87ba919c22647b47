// The main window: the document area, menus, toolbar, status bar, the two
// palettes and the common-dialog component.
#pragma once

#include "app/dialogs.h"
#include "document/document_host.h"
#include "document/module_quor_main.h"

#include <QMainWindow>

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace quor {

class frmquortools;
class frmquorcolortool;

class frmQuorMain : public QMainWindow, public DocumentHost
{
    Q_OBJECT
public:
    // Without the empty document the window starts with none, for the
    // program to open the files it was given (openStartFiles).
    explicit frmQuorMain(QWidget *parent = nullptr, bool emptyDocument = true);
    ~frmQuorMain() override;

    ModuleQuorMain &state() { return m_state; }
    CommonDialog dlgCommonDialog{this};
    QMdiArea *mdiArea() const override { return m_mdi; }
    CommonDialog &commonDialog() override { return dlgCommonDialog; }
    frmquortools *toolsPalette() const { return m_tools; }
    frmquorcolortool *coloursPalette() const { return m_colours; }
    QToolBar *tbToolBar() const { return m_toolbar; }
    QDockWidget *toolsDock() const { return m_toolsDock; }
    QDockWidget *coloursDock() const { return m_coloursDock; }
    QMenu *mnuedit() const override { return m_editMenu; }
    QMenu *mnuquick1() const override { return m_quickMenu; }
    // Inner size of the document area, in pixels, laid out even before the
    // window is first shown.
    QSize documentAreaSize() override;
    // Enables or disables every command that needs an open document.
    void hEnableDocCommands(bool enabled) override;
    void writeBitmapFile(const QImage &image, const QString &fileName) override;
    // After a file was written: what of the replaced file's owner,
    // permissions and extended attributes could not be kept, if anything.
    void sayWhatWasNotKept(const QString &lost);
    // Holds the program while a run goes (effect_dialogs.cpp).
    void runGoing(QWidget *runner, bool going, const std::function<void()> &stop) override;
    // A menu entry by its name.
    QAction *action(const char *name) const;

    // Start-up; the constructor runs it.
    void MDIForm_Load(bool emptyDocument = true);
    // Shut-down once every document agreed to close: saves the placement.
    void MDIForm_Unload();

    // Creates, registers and shows one empty document window.
    void hNewEditWindow();
    // Applies the palette's drawing settings to the active canvas.
    void applyDrawingSettings();

    // File.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuAllFileClose_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileExport_Click();
    void mnuAllFileSave_Click();
    void mnuFileProperties_Click();
    void mnuFilePageSetup_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click();
    // Around writing a document (the active one when doc is null): the
    // floating selection's marks and the arc guides leave the picture.
    void hHideSelectionMarks(frmquoredit *doc = nullptr);
    void hShowSelectionMarks(frmquoredit *doc = nullptr);
    void hHideRadiusLines(frmquoredit *doc = nullptr);
    void hShowRadiusLines(frmquoredit *doc = nullptr);
    // Marks the active document changed.
    void hSetEditChanged();
    // Edit: the floating selection and the clipboard, the whole-picture
    // window, the foreground and background colours.
    void mnuEditselect_Click();
    void mnuEditCls_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnueditseeall_Click();
    void mnueditforecolor_Click();
    void mnueditbackcolor_Click();
    void mnufont_Click();
    // The text box's quick menu.
    void Hquickmnuselall_Click();
    void Hquickmnucut_Click();
    void Hquickmnucopy_Click();
    void Hquickmnupast_Click();
    void Hquickmnupastfrom_Click();
    void Hquickqueding_Click();
    // Undo and redo on the active document; their entries follow what it
    // can undo or redo.
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void updateUndoCommands();
    // Effects and flips on the floating selection.
    void mnuquorsmooth_Click();
    void mnuquorruihua_Click();
    void mnuquoryouhua_Click();
    void mnuquorfudiao_Click();
    // The custom filter and gradient fill dialogs (effect_dialogs.cpp).
    void mnuquorcustom_Click();
    void mnuquorjianbianse_Click();
    void mnuquorfanzhuan1_Click();
    void mnuquorfanzhuan2_Click();
    void mnuquorfanzhuan3_Click();
    // Window.
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowCascade_Click();
    void mnuWindowmax_Click();
    void mnuWindowArrangeIcons_Click();
    void mnuQuorToolbar_Click();
    void mnuQuorStatusBar_Click();
    // Help.
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    // Browse: shows the picture browser, one per main window.
    void Hexplor_Click();
    // Runs the command of the toolbar button with this key; any other key
    // does nothing.
    void tbToolBar_ButtonClick(const QString &key);
    // Draw-mode and paste-mode entries.
    void drawModeEntry_Click(const char *name);
    void pasteModeEntry_Click(const char *name);

    // Picture files handed over from outside (command line, drops), each
    // opened as a new document; one that can not be opened says why and
    // leaves no window. Returns how many opened.
    int openFilesFromOutside(const QStringList &files);
    // The files of the command line, for a window made without its empty
    // document; when none opens the empty document is made after all.
    void openStartFiles(const QStringList &files);

    // Arranges the documents with an arrangement code 0..3.
    void arrange(int code);
    // A Window-menu arrangement: only with a document open, and kept as
    // the mode new documents follow.
    void arrangeByMenu(int code);

protected:
    void closeEvent(QCloseEvent *e) override;
    // Picture files dropped anywhere on the window, documents included.
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildPalettes();
    void updateWindowList();
    // The draw mode and paste operation of the checked mode entries.
    void takeModeSettings();

    QtDialogBackend m_dialogs;
    ModuleQuorMain m_state;
    frmquortools *m_tools = nullptr;
    frmquorcolortool *m_colours = nullptr;
    QMdiArea *m_mdi = nullptr;
    QToolBar *m_toolbar = nullptr;
    QDockWidget *m_toolsDock = nullptr;
    QDockWidget *m_coloursDock = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    QMenu *m_quickMenu = nullptr;
    QList<QAction *> m_windowListActions;
    bool m_unloaded = false;
};

// The product name and credit shown in captions and About.
extern const char *const ProductName;
extern const char *const AuthorCredit;

} // namespace quor
