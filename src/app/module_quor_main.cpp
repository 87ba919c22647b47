#include "app/module_quor_main.h"

#include "app/main_window.h"
#include "app/mode_menus.h"
#include "document/canvas_surface.h"
#include "document/colour.h"
#include "document/edit_window.h"
#include "document/picture_box.h"
#include "palettes/colour_palette.h"
#include "palettes/tool_palette.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>

#include <charconv>

namespace quor {

frmquoredit *ModuleQuorMain::hEditForms(int i) const
{
    return i >= 1 && i <= editForms.size() ? editForms[i - 1].data() : nullptr;
}

void ModuleQuorMain::hEnableDocCommands(bool enabled)
{
    if (!main)
        return;
    for (const char *name : {"mnuFileClose", "mnuAllFileClose", "mnuFileSave", "mnuFileSaveAs",
                             "mnuAllFileSave", "mnuFileProperties", "mnuFilePageSetup",
                             "mnuFilePrint"})
        main->action(name)->setEnabled(enabled);
    for (const char *name : {"mnuedit", "mnuquor", "mnudraw"})
        if (QMenu *m = main->findChild<QMenu *>(QLatin1String(name)))
            m->menuAction()->setEnabled(enabled);
    // Toolbar buttons carry their key in the "key" property.
    static const char *const keys[] = {"保存", "打印", "属性", "复制", "粘贴", "垂直翻转",
                                       "水平翻转", "对角翻转", "图片字体", "背景色", "前景色",
                                       "柔化", "锐化", "油化", "浮雕", "最大化", "横向排列",
                                       "纵向排列", "层叠"};
    if (QToolBar *bar = main->tbToolBar())
        for (const char *key : keys)
            for (QAction *a : bar->actions())
                if (a->property("key").toString() == QString::fromUtf8(key))
                    a->setEnabled(enabled);
}

std::int32_t ModuleQuorMain::drawingColour() const
{
    return colours ? colours->PictureForeAndFillColor()->backColor() : 0xffffff;
}

std::int32_t ModuleQuorMain::foreColour() const
{
    return colours ? colours->Picture1Forecolor()->backColor() : 0;
}

std::int32_t ModuleQuorMain::backColour() const
{
    return colours ? colours->Picture1backcolor()->backColor() : 0xffffff;
}

int ModuleQuorMain::lineWidth() const
{
    if (!tools)
        return 1;
    return roundHalfEven(tools->Text1()->text().toDouble());
}

int ModuleQuorMain::userDrawMode() const
{
    if (!main)
        return 13;
    return int(firstCheckedMode(
        drawModeEntries(), drawModeTestOrder(),
        [this](const char *n) { return main->action(n)->isChecked(); }, 13));
}

std::uint32_t ModuleQuorMain::pasteRasterOp() const
{
    if (!main)
        return rop::SrcCopy;
    return firstCheckedMode(
        pasteModeEntries(), pasteModeTestOrder(),
        [this](const char *n) { return main->action(n)->isChecked(); }, rop::SrcCopy);
}

static QString singleText(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, float(v), std::chars_format::fixed);
    QString s = QString::fromLatin1(buf, int(r.ptr - buf));
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

QString pointerText(double x, double y)
{
    return singleText(x) + QStringLiteral("  ") + singleText(y);
}

void ModuleQuorMain::showPointer(double x, double y)
{
    if (colours)
        colours->Text1()->setText(pointerText(x, y));
}

void ModuleQuorMain::clearPointer()
{
    if (colours)
        colours->Text1()->clear();
}

void ModuleQuorMain::showCanvasSize(double w, double h)
{
    if (colours)
        colours->Text2()->setText(pointerText(w, h));
}

} // namespace quor
