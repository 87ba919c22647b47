#include "files/picture_browser.h"

#include "document/dialog_seam.h"
#include "document/document_window.h"
#include "document/fixed_layout.h"
#include "document/window_keys.h"
#include "files/file_texts.h"
#include "files/picture_browser_rules.h"
#include "files/open_into_document.h"
#include "formats/picture_loader.h"
#include "files/sample_loader.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

#include <dirent.h>

namespace quor {

namespace {

constexpr int Twips = CanvasSurface::TwipsPerPixel;
constexpr int PathRole = Qt::UserRole;

QString appTitle() { return QCoreApplication::applicationName(); }

// Out of the top layer while a message of the browser shows, so that the
// message can lie above it; back in whatever happens.
class TopmostPause
{
public:
    explicit TopmostPause(PictureBrowser &w) : m_w(&w) {}
    ~TopmostPause() { end(); }
    TopmostPause(const TopmostPause &) = delete;
    TopmostPause &operator=(const TopmostPause &) = delete;

    void begin()
    {
        if (!m_paused && m_w) {
            m_paused = true;
            m_w->setTopmost(false);
        }
    }
    void end()
    {
        if (m_paused && m_w)
            m_w->setTopmost(true);
        m_paused = false;
    }

private:
    QPointer<PictureBrowser> m_w;
    bool m_paused = false;
};

// The folder list: a tree always open from the root down, so it draws no
// branch marks to open or close.
class FolderTree : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;

protected:
    void drawBranches(QPainter *, const QRect &, const QModelIndex &) const override {}
};

// Why the folder's entries cannot be read, or empty when they can: listed
// through Qt, an unreadable folder would only look empty.
QString folderUnreadable(const QString &folder)
{
    if (DIR *d = ::opendir(QFile::encodeName(folder).constData())) {
        ::closedir(d);
        return {};
    }
    const int code = errno;
    const QString reason = code == EACCES || code == EPERM
        ? QStringLiteral("权限不够")
        : QString::fromLocal8Bit(std::strerror(code));
    return QStringLiteral("无法读取文件夹“%1”：%2").arg(folder, reason);
}

} // namespace

SampleBox::SampleBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SampleBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    resize(picture.size());
    update();
}

double SampleBox::widthTwips() const { return double(m_picture.width()) * Twips; }
double SampleBox::heightTwips() const { return double(m_picture.height()) * Twips; }

void SampleBox::moveTwips(double left, double top)
{
    m_left = left;
    m_top = top;
    move(twipsToPixels(left), twipsToPixels(top));
}

void SampleBox::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    // Only the part in view: a sample can be far larger than its frame.
    // The box paints all of itself, so the transparent parts of an icon
    // show its back colour, not the sample shown before.
    const QRect r = e->rect();
    p.fillRect(r, palette().window());
    p.drawImage(r.topLeft(), m_picture, r);
}

PictureBrowser::PictureBrowser(Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Window), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("FrmQuorOpenfile"));
    setWindowTitle(QStringLiteral("Vedoz Izoverod"));
    // The browser never keeps the program running on its own.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_drive = named(new QComboBox(this), "Drive1");
    m_dir = named(new FolderTree(this), "Dir1");
    m_dir->setHeaderHidden(true);
    m_dir->setRootIsDecorated(false);
    m_dir->setItemsExpandable(false);
    m_dir->setIndentation(12);
    m_file = named(new QListWidget(this), "File1");
    m_frame = named(new QWidget(this), "Picture0");
    m_frame->setAutoFillBackground(true);
    m_frame->setBackgroundRole(QPalette::Mid);
    m_sample = named(new SampleBox(m_frame), "Picture1");
    m_sample->hide();
    m_hscroll = named(new QScrollBar(Qt::Horizontal, m_frame), "HScroll1");
    m_vscroll = named(new QScrollBar(Qt::Vertical, m_frame), "VScroll1");
    m_hscroll->setRange(0, 0);
    m_vscroll->setRange(0, 0);
    // What a screen reader says of the controls that carry no text.
    m_drive->setAccessibleName(QStringLiteral("驱动器"));
    m_dir->setAccessibleName(QStringLiteral("文件夹"));
    m_file->setAccessibleName(QStringLiteral("图片文件"));
    m_hscroll->setAccessibleName(QStringLiteral("样图水平滚动条"));
    m_vscroll->setAccessibleName(QStringLiteral("样图垂直滚动条"));
    // Covers the square between the two bars.
    m_corner = new QWidget(m_frame);
    m_corner->setAutoFillBackground(true);
    m_corner->setBackgroundRole(QPalette::Window);
    m_size = named(new QLineEdit(QStringLiteral("相片尺寸(宽 高)"), this), "Text1");
    m_size->setReadOnly(true);
    m_size->setAccessibleName(QStringLiteral("相片尺寸"));
    m_open = named(new QPushButton(QStringLiteral("打 开"), this), "Command1");
    m_cancel = named(new QPushButton(QStringLiteral("取 消"), this), "Command2");
    m_loader = new SampleLoader(this);

    auto *lists = new QVBoxLayout;
    lists->addWidget(m_drive);
    lists->addWidget(m_dir, 2);
    lists->addWidget(m_file, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_size, 1);
    buttons->addWidget(m_open);
    buttons->addWidget(m_cancel);
    auto *sample = new QVBoxLayout;
    sample->addWidget(m_frame, 1);
    sample->addLayout(buttons);
    auto *all = new QHBoxLayout(this);
    all->setContentsMargins(8, 8, 8, 8);
    all->setSpacing(8);
    all->addLayout(lists, 1);
    all->addLayout(sample, 2);

    m_frame->installEventFilter(this);
    connect(m_drive, &QComboBox::currentIndexChanged, this, &PictureBrowser::driveChanged);
    connect(m_dir, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { setDirPath(item->data(0, PathRole).toString()); });
    // A click, and the arrow keys moving the selection, both show the sample.
    connect(m_file, &QListWidget::currentRowChanged, this, &PictureBrowser::fileChosen);
    connect(m_file, &QListWidget::itemClicked, this, &PictureBrowser::fileChosen);
    connect(m_file, &QListWidget::itemDoubleClicked, this, &PictureBrowser::openChosen);
    connect(m_hscroll, &QScrollBar::valueChanged, this, &PictureBrowser::horizontalScrolled);
    connect(m_vscroll, &QScrollBar::valueChanged, this, &PictureBrowser::verticalScrolled);
    connect(m_open, &QPushButton::clicked, this, &PictureBrowser::openChosen);
    connect(m_cancel, &QPushButton::clicked, this, &PictureBrowser::cancel);
    connect(m_loader, &SampleLoader::finished, this, &PictureBrowser::sampleFinished);
    answerWindowKeys(this, [this] { cancel(); });

    setUp();
}

PictureBrowser::~PictureBrowser() = default;

bool PictureBrowser::isTopmost() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void PictureBrowser::setTopmost(bool on)
{
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (QWindow *w = windowHandle()) {
        // Told to the window system directly: QWidget::setWindowFlags would
        // take the window down and put it up again.
        overrideWindowFlags(flags);
        w->setFlag(Qt::WindowStaysOnTopHint, on);
    } else {
        setWindowFlags(flags);
    }
}

void PictureBrowser::setUp()
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    const QScreen *screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    move(screen ? screen->geometry().topLeft() : QPoint(0, 0));
    resize(665, 475);
    setDirPath(QDir::currentPath());
    fillDrives();
}

void PictureBrowser::fillDrives()
{
    m_drives = driveList(userVolumes(), QDir::homePath());
    m_fillingDrives = true;
    m_drive->clear();
    for (const Drive &d : m_drives)
        m_drive->addItem(d.text, d.rootPath);
    m_driveShown = driveIndexOf(m_drives, m_dirPath);
    m_drive->setCurrentIndex(m_driveShown);
    m_fillingDrives = false;
}

void PictureBrowser::driveChanged()
{
    const int i = m_drive->currentIndex();
    if (m_fillingDrives || i < 0 || i >= m_drives.size() || i == m_driveShown)
        return;
    m_driveShown = i;
    const Drive drive = m_drives[i];
    TopmostPause pause(*this);
    for (;;) {
        try {
            checkDriveReady(drive);
            setDirPath(drive.rootPath);
            return;
        } catch (const QuorError &e) {
            pause.begin();
            if (e.number != err::DriveNotReady) {
                tell(this, otherErrorMessage(e.description), appTitle());
                return;
            }
            // Cancel leaves the new drive chosen and the old folder shown.
            if (ask(this, QStringLiteral("驱动器未准备好！"), drive.name.toUpper(), Buttons::RetryCancel,
                    Icon::Exclamation)
                != Answer::Retry)
                return;
        }
    }
}

void PictureBrowser::setDirPath(const QString &path)
{
    m_dirPath = QDir::cleanPath(QDir(path).absolutePath());
    // Entered all the same: its parents stay listed to go back up.
    if (const QString why = folderUnreadable(m_dirPath); !why.isEmpty()) {
        TopmostPause pause(*this);
        pause.begin();
        tell(this, otherErrorMessage(why), appTitle());
    }
    const QStringList subfolders = QDir(m_dirPath).entryList(
        QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    m_dir->clear();
    QList<QTreeWidgetItem *> byDepth;
    QTreeWidgetItem *current = nullptr;
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const FolderRow &row : folderRows(m_dirPath, subfolders)) {
        QTreeWidgetItem *item = row.depth == 0 ? new QTreeWidgetItem(m_dir)
                                               : new QTreeWidgetItem(byDepth[row.depth - 1]);
        item->setText(0, row.label);
        item->setData(0, PathRole, row.path);
        // Open folders down to the current one, closed ones beneath it.
        item->setIcon(0, current ? closed : open);
        byDepth.resize(row.depth);
        byDepth.append(item);
        if (row.current)
            current = item;
    }
    m_dir->expandAll();
    if (current) {
        m_dir->setCurrentItem(current);
        m_dir->scrollToItem(current);
    }
    // The drive list follows the folder, quietly.
    if (!m_drives.isEmpty()) {
        m_fillingDrives = true;
        m_driveShown = driveIndexOf(m_drives, m_dirPath);
        m_drive->setCurrentIndex(m_driveShown);
        m_fillingDrives = false;
    }
    folderChanged();
}

void PictureBrowser::folderChanged()
{
    QDir folder(m_dirPath);
    folder.setNameFilters(browserNameFilters());
    folder.setFilter(QDir::Files);
    folder.setSorting(QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    m_file->clear();
    m_file->addItems(folder.entryList());
}

QString PictureBrowser::fileName() const
{
    const QListWidgetItem *item = m_file->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void PictureBrowser::fileChosen()
{
    const QString name = fileName();
    if (name.isEmpty())
        return;
    const QString full = browserFullName(m_dirPath, name);
    if (m_loader->pending() == full)
        return;
    m_sample->hide();
    m_loader->request(full);
}

void PictureBrowser::sampleFinished(const QString &, const SampleResult &result)
{
    m_sample->setPicture(result.picture);
    if (result.picture.isNull()) {
        // An empty sample and the reason where the size would be.
        m_sample->hide();
        placeSample();
        m_size->setText(result.reason);
        m_size->setCursorPosition(0);
        m_size->setToolTip(result.reason);
        return;
    }
    m_size->setToolTip({});
    placeSample();
    m_sample->show();
}

void PictureBrowser::placeScrollBars()
{
    const int w = m_frame->width(), h = m_frame->height();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_vscroll);
    m_vscroll->setGeometry(w - bar, 0, bar, std::max(0, h - bar));
    m_hscroll->setGeometry(0, h - bar, std::max(0, w - bar), bar);
    m_corner->setGeometry(w - bar, h - bar, bar, bar);
    m_vscroll->raise();
    m_hscroll->raise();
    m_corner->raise();
}

void PictureBrowser::placeSample()
{
    const double vw = double(m_frame->width()) * Twips, vh = double(m_frame->height()) * Twips;
    const double sv = double(m_vscroll->width()) * Twips, sh = double(m_hscroll->height()) * Twips;
    const SampleLayout l = sampleLayout(m_sample->widthTwips(), m_sample->heightTwips(), vw, vh, sv, sh);
    // Every layout starts unscrolled: a value left over from a larger sample
    // would otherwise pull this one from its place as the range shrinks.
    {
        const QSignalBlocker hb(m_hscroll), vb(m_vscroll);
        m_vscroll->setValue(0);
        m_hscroll->setValue(0);
        m_vscroll->setMaximum(l.verticalMax);
        m_hscroll->setMaximum(l.horizontalMax);
        m_vscroll->setPageStep(std::max(1, int((vh - sh) / 20)));
        m_hscroll->setPageStep(std::max(1, int((vw - sv) / 20)));
    }
    m_sample->moveTwips(l.left, l.top);
    m_size->setText(sampleSizeText(m_sample->widthTwips(), m_sample->heightTwips()));
}

void PictureBrowser::horizontalScrolled()
{
    m_sample->moveTwips(sampleOffset(m_hscroll->value()), m_sample->topTwips());
}

void PictureBrowser::verticalScrolled()
{
    m_sample->moveTwips(m_sample->leftTwips(), sampleOffset(m_vscroll->value()));
}

bool PictureBrowser::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == m_frame && e->type() == QEvent::Resize) {
        placeScrollBars();
        if (!m_sample->picture().isNull())
            placeSample();
    }
    return QWidget::eventFilter(watched, e);
}

void PictureBrowser::openChosen()
{
    const QString name = fileName();
    if (name.isEmpty())
        return;
    const QString fullName = browserFullName(m_dirPath, name);
    TopmostPause pause(*this);
    try {
        const QPointer<DocumentWindow> doc = m_hooks.newDocument();
        // The window just created stays, empty, whatever the answer.
        if (!openIntoDocument(doc, fullName, this, [&] { pause.begin(); }))
            return;
        m_hooks.documentReady();
    } catch (const std::exception &) {
        pause.begin();
        tell(this, openFailureMessage(), appTitle());
    }
    pause.end();
    // Above the new document and ready for the next file.
    setTopmost(true);
    raise();
    activateWindow();
}

void PictureBrowser::cancel()
{
    close();
}

} // namespace quor
