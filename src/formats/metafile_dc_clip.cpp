// Clipping and the path bracket of the metafile drawing state.
#include "formats/metafile_dc.h"

#include <cmath>

namespace quor::gdi {

// --- clipping ---------------------------------------------------------------

QRect DeviceContext::pixelRect(const QRectF &picture) const
{
    const QRectF reach = QRectF(m_area).adjusted(-2, -2, 2, 2);
    return (picture.normalized() & reach).toAlignedRect();
}

void DeviceContext::combineDeviceClip(const QVector<QRectF> &device, int mode)
{
    QRegion r;
    for (const QRectF &rect : device)
        r |= QRegion(pixelRect(m_base.mapRect(rect)));
    combinePictureClip(r, mode);
}

void DeviceContext::combinePictureClip(const QRegion &r, int mode)
{
    const QRegion all(m_area);
    DcState &s = m_state;
    const QRegion old = s.clipped ? s.clip : all;
    switch (mode) {
    case 1: s.clip = old & r; break;
    case 2: s.clip = old | r; break;
    case 3: s.clip = old ^ r; break;
    case 4: s.clip = old - r; break;
    case 5: s.clip = r; break;
    default: return;
    }
    s.clipped = true;
    m_clipDirty = true;
}

void DeviceContext::intersectClip(const QRectF &logical)
{
    if (auto t = transform()) {
        const QRegion r(pixelRect(t->mapRect(logical.normalized())));
        m_state.clip = m_state.clipped ? m_state.clip & r : r;
        m_state.clipped = true;
        m_clipDirty = true;
    }
}

void DeviceContext::excludeClip(const QRectF &logical)
{
    if (auto t = transform()) {
        const QRegion r(pixelRect(t->mapRect(logical.normalized())));
        m_state.clip = (m_state.clipped ? m_state.clip : QRegion(m_area)) - r;
        m_state.clipped = true;
        m_clipDirty = true;
    }
}

void DeviceContext::offsetClip(QPointF logical)
{
    const auto t = transform();
    if (!t || !m_state.clipped)
        return;
    const QPointF d = t->map(logical) - t->map(QPointF());
    if (std::fabs(d.x()) > 1e6 || std::fabs(d.y()) > 1e6) {
        m_state.clip = QRegion(); // moved right off the picture
    } else {
        m_state.clip.translate(d.toPoint());
        m_state.clip &= QRegion(pixelRect(QRectF(m_area)));
    }
    m_clipDirty = true;
}

void DeviceContext::resetClip()
{
    m_state.clipped = false;
    m_state.clip = QRegion();
    m_clipDirty = true;
}

// --- paths --------------------------------------------------------------------

void DeviceContext::beginPath()
{
    m_inPath = true;
    m_path = QPainterPath();
}

void DeviceContext::abortPath()
{
    m_inPath = false;
    m_path = QPainterPath();
}

void DeviceContext::closeFigure()
{
    if (m_inPath)
        m_path.closeSubpath();
}

void DeviceContext::finishPath(bool fill, bool stroke)
{
    m_inPath = false;
    const QPainterPath path = m_path;
    m_path = QPainterPath();
    drawShape(path, fill, stroke);
}

void DeviceContext::selectClipPath(int mode)
{
    m_inPath = false;
    const auto t = transform();
    if (t) {
        QPainterPath path = t->map(m_path);
        path.setFillRule(m_state.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
        QPainterPath reach;
        reach.addRect(QRectF(m_area).adjusted(-2, -2, 2, 2));
        path = path.intersected(reach);
        const QRegion r(path.toFillPolygon().toPolygon(), path.fillRule());
        combinePictureClip(r, mode);
    }
    m_path = QPainterPath();
}

} // namespace quor::gdi
