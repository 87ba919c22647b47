#include "document/module_quor_main.h"

#include "document/document_host.h"
#include "document/edit_window.h"

#include <charconv>

namespace quor {

frmquoredit *ModuleQuorMain::hEditForms(int i) const
{
    return i >= 1 && i <= editForms.size() ? editForms[i - 1].data() : nullptr;
}

void ModuleQuorMain::hEnableDocCommands(bool enabled)
{
    if (main)
        main->hEnableDocCommands(enabled);
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
    if (pointerReadout)
        pointerReadout(pointerText(x, y));
}

void ModuleQuorMain::clearPointer()
{
    if (pointerReadout)
        pointerReadout({});
}

void ModuleQuorMain::showCanvasSize(double w, double h)
{
    if (canvasSizeReadout)
        canvasSizeReadout(pointerText(w, h));
}

} // namespace quor
