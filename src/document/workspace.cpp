#include "document/workspace.h"

#include "document/document_host.h"
#include "document/document_window.h"

#include <charconv>

namespace quor {

DocumentWindow *Workspace::document(int number) const
{
    return number >= 1 && number <= m_documents.size() ? m_documents[number - 1].data() : nullptr;
}

int Workspace::numberOf(const DocumentWindow *doc) const
{
    for (qsizetype i = 0; i < m_documents.size(); ++i)
        if (m_documents[i] == doc)
            return int(i) + 1;
    return 0;
}

DocumentWindow *Workspace::activeDocument() const
{
    return m_active;
}

void Workspace::setActiveDocument(DocumentWindow *doc)
{
    m_active = doc;
}

void Workspace::add(DocumentWindow *doc)
{
    m_documents.append(doc);
}

void Workspace::remove(DocumentWindow *doc)
{
    m_documents.removeAll(doc);
    if (m_documents.isEmpty()) {
        m_active = nullptr;
        enableDocumentCommands(false);
    } else if (m_active == doc) {
        m_active = nullptr; // the next activation sets it again
    }
}

void Workspace::enableDocumentCommands(bool enabled)
{
    if (host)
        host->enableDocumentCommands(enabled);
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

void Workspace::showPointer(double x, double y)
{
    if (pointerReadout)
        pointerReadout(pointerText(x, y));
}

void Workspace::showPointer(double x, double y, Colour under)
{
    if (!pointerReadout)
        return;
    QString text = pointerText(x, y);
    if (under >= 0) {
        const std::uint32_t rgb = toQRgb(under) & 0xffffffu;
        text += QStringLiteral("  #%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
    }
    pointerReadout(text);
}

void Workspace::clearPointer()
{
    if (pointerReadout)
        pointerReadout({});
}

void Workspace::showViewScale(int percent)
{
    if (viewScaleReadout)
        viewScaleReadout(QStringLiteral("显示 %1%").arg(percent));
}

void Workspace::showCanvasSize(double w, double h)
{
    if (canvasSizeReadout)
        canvasSizeReadout(pointerText(w, h));
}

} // namespace quor
