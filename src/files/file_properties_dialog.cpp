#include "files/file_properties_dialog.h"

#include "core/errors.h"
#include "document/dialog_seam.h"
#include "document/fixed_layout.h"
#include "document/model/canvas_surface.h"
#include "formats/file_attributes.h"
#include "files/file_properties_layout.h"
#include "files/file_properties_texts.h"
#include "files/file_texts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace quor {

namespace {

// Design sizes, twips.
constexpr int LabelLeft = 240, LabelWidth = 1080, ValueLeft = 1380, ValueWidth = 3480;
constexpr int FormWidth = 5100, RowHeight = 255, CheckHeight = 285, CheckWidth = 1440;
constexpr int SecondColumn = 2940, ButtonWidth = 1215, ButtonHeight = 375;

int px(int twips) { return twips / CanvasSurface::TwipsPerPixel; }

QString appTitle() { return QCoreApplication::applicationName(); }

QPlainTextEdit *pathBox(QWidget *parent, const char *name)
{
    auto *box = named(new QPlainTextEdit(parent), name);
    // Paths have no blanks to break at: wrap anywhere, as the line count
    // the layout reserves assumes.
    box->setWordWrapMode(QTextOption::WrapAnywhere);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    box->document()->setDocumentMargin(1);
    return box;
}

} // namespace

FilePropertiesDialog::FilePropertiesDialog(const QString &path, QWidget *parent)
    : QDialog(parent), m_path(path)
{
    setObjectName(QStringLiteral("Frmquorfileattribute"));
    setWindowTitle(QStringLiteral("文件属性"));
    setModal(true);

    m_nameLabel = named(new QLabel(this), "Label1", QStringLiteral("名称："));
    m_name = pathBox(this, "filenametext");
    m_name->setAccessibleName(QStringLiteral("名称"));
    m_folderLabel = named(new QLabel(this), "Label2", QStringLiteral("位置："));
    m_folder = pathBox(this, "filepathtext");
    m_folder->setAccessibleName(QStringLiteral("位置"));
    // Only the name box says which file "确定" changes.
    m_folder->setReadOnly(true);
    m_sizeLabel = named(new QLabel(this), "Label3", QStringLiteral("大小："));
    m_size = named(new QLabel(this), "Labelfilesize", QStringLiteral("未知"));
    m_typeLabel = named(new QLabel(this), "Label4", QStringLiteral("类型："));
    m_type = named(new QLabel(this), "Labelfiletype", QStringLiteral("未知"));
    m_timeLabel = named(new QLabel(this), "Label5", QStringLiteral("修改时间："));
    m_time = named(new QLabel(this), "Labelfiletime", QStringLiteral("未知"));
    m_attributesLabel = named(new QLabel(this), "Label6", QStringLiteral("属性："));
    m_readOnly = named(new QCheckBox(this), "Check1", QStringLiteral("只读"));
    m_hidden = named(new QCheckBox(this), "Check2", QStringLiteral("隐藏"));
    m_system = named(new QCheckBox(this), "Check3", QStringLiteral("系统"));
    m_archive = named(new QCheckBox(this), "Check4", QStringLiteral("存档"));
    m_ok = named(new QPushButton(this), "Command1", QStringLiteral("确定"));
    m_cancel = named(new QPushButton(this), "Command2", QStringLiteral("取消"));
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &FilePropertiesDialog::apply);
    connect(m_cancel, &QPushButton::clicked, this, &FilePropertiesDialog::cancel);

    // Etched rules: a shadow line with a light one beneath it.
    for (int i = 0; i < 4; ++i) {
        auto *rule = new QFrame(this);
        rule->setObjectName(QStringLiteral("Line%1").arg(i + 1));
        rule->setAutoFillBackground(true);
        QPalette pal = rule->palette();
        pal.setColor(QPalette::Window, palette().color(i % 2 ? QPalette::Light : QPalette::Dark));
        rule->setPalette(pal);
        m_rules[i] = rule;
    }
    layOut();
}

void FilePropertiesDialog::showFor(const QString &path, QWidget *parent)
{
    FilePropertiesDialog dialog(path, parent);
    if (dialog.load())
        dialog.exec();
}

bool FilePropertiesDialog::load()
{
    const QString &p = m_path;
    try {
        m_name->setPlainText(p);
        // A document never saved names no file, even when the current
        // folder happens to hold one called like its caption.
        if (isUnsavedCaption(p))
            throw QuorError(err::FileNotFound, QStringLiteral("文件未找到"));
        const std::uint32_t bits = readFileAttributes(p);
        const QFileInfo info(p);
        m_size->setText(fileSizeText(info.size()));
        m_time->setText(fileTimeText(info.lastModified()));
        m_readOnly->setChecked(bits & dosattr::ReadOnly);
        m_hidden->setChecked(bits & dosattr::Hidden);
        m_system->setChecked(bits & dosattr::System);
        m_archive->setChecked(bits & dosattr::Archive);
        m_type->setText(fileTypeText(p));
        m_folder->setPlainText(fileFolderText(p));
    } catch (const QuorError &e) {
        if (e.number == err::FileNotFound)
            tell(this, notSavedMessage(), p, Icon::Exclamation);
        else
            tell(this, otherErrorMessage(e.description), appTitle());
        reject();
        return false;
    }
    layOut();
    return true;
}

void FilePropertiesDialog::layOut()
{
    const PropertiesLayout l = propertiesLayout(textColumns(m_path), textColumns(m_folder->toPlainText()));
    const int textLeft = ValueLeft, textWidth = ValueWidth;

    m_nameLabel->setGeometry(twipsRect(LabelLeft, 240, LabelWidth, RowHeight));
    m_name->setGeometry(twipsRect(textLeft, 200, textWidth, l.nameHeight));
    m_folderLabel->setGeometry(twipsRect(LabelLeft, l.folderLabelTop, LabelWidth, RowHeight));
    m_folder->setGeometry(twipsRect(textLeft, l.folderTop, textWidth, l.folderHeight));
    m_sizeLabel->setGeometry(twipsRect(LabelLeft, l.sizeLabelTop, LabelWidth, RowHeight));
    m_size->setGeometry(twipsRect(textLeft, l.sizeTop, textWidth, RowHeight));
    m_typeLabel->setGeometry(twipsRect(LabelLeft, l.typeLabelTop, LabelWidth, RowHeight));
    m_type->setGeometry(twipsRect(textLeft, l.typeTop, textWidth, RowHeight));
    m_timeLabel->setGeometry(twipsRect(LabelLeft, l.timeLabelTop, LabelWidth, RowHeight));
    m_time->setGeometry(twipsRect(textLeft, l.timeTop, textWidth, RowHeight));
    m_attributesLabel->setGeometry(
        twipsRect(LabelLeft, l.attributesLabelTop, LabelWidth, RowHeight));
    m_readOnly->setGeometry(twipsRect(textLeft, l.checkRow1Top, CheckWidth, CheckHeight));
    m_hidden->setGeometry(twipsRect(SecondColumn, l.checkRow1Top, CheckWidth, CheckHeight));
    m_system->setGeometry(twipsRect(textLeft, l.checkRow2Top, CheckWidth, CheckHeight));
    m_archive->setGeometry(twipsRect(SecondColumn, l.checkRow2Top, CheckWidth, CheckHeight));
    const int ruleTops[4] = {l.nameRuleTop[0], l.nameRuleTop[1], l.timeRuleTop[0],
                             l.timeRuleTop[1]};
    for (int i = 0; i < 4; ++i)
        m_rules[i]->setGeometry(px(LabelLeft), px(ruleTops[i]), px(FormWidth - 2 * LabelLeft), 1);
    const int buttonsRight = FormWidth - LabelLeft;
    m_ok->setGeometry(
        twipsRect(buttonsRight - 2 * ButtonWidth - 150, l.buttonsTop, ButtonWidth, ButtonHeight));
    m_cancel->setGeometry(
        twipsRect(buttonsRight - ButtonWidth, l.buttonsTop, ButtonWidth, ButtonHeight));
    setFixedSize(px(FormWidth), px(l.formHeight));
}

void FilePropertiesDialog::apply()
{
    const std::uint32_t bits = 2 * m_hidden->isChecked() + m_readOnly->isChecked()
        + 4 * m_system->isChecked() + 32 * m_archive->isChecked();
    try {
        const AttributesNotKept lost = applyFileAttributes(m_name->toPlainText(), bits);
        if (lost.bits)
            tell(this, notKeptMessage(lost), appTitle(), Icon::Exclamation);
    } catch (const QuorError &e) {
        // A change that did not happen is said, never passed over; the
        // dialog closes all the same.
        tell(this, otherErrorMessage(e.description), appTitle());
    }
    accept();
}

void FilePropertiesDialog::cancel()
{
    reject();
}

} // namespace quor
