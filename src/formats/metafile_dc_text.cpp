// Text and bitmaps of the metafile drawing state.
#include "formats/metafile_dc.h"

#include <QFontMetricsF>
#include <QStringDecoder>

#include <cmath>
#include <cstring>

namespace quor::gdi {

namespace {

constexpr std::uint32_t SrcPaint = 0x00ee0086, SrcAnd = 0x008800c6,
                        SrcInvert = 0x00660046, SrcErase = 0x00440328, NotSrcCopy = 0x00330008,
                        NotSrcErase = 0x001100a6, MergePaint = 0x00bb0226, PatCopy = 0x00f00021,
                        PatInvert = 0x005a0049, DstInvert = 0x00550009, Blackness = 0x00000042,
                        Whiteness = 0x00ff0062;

bool usesSource(std::uint32_t rop)
{
    // A ternary operation uses the source when its result depends on it.
    const std::uint32_t code = (rop >> 16) & 0xff;
    return ((code >> 2) & 0x33) != (code & 0x33);
}

} // namespace

QString decodeCharSet(const QByteArray &bytes, int charSet)
{
    const char *name;
    switch (charSet) {
    case 1: name = "GB18030"; break; // the default set of a Chinese system
    case 2: return QString::fromLatin1(bytes);
    case 128: name = "Shift_JIS"; break;
    case 129: name = "windows-949"; break;
    case 134: name = "GB18030"; break;
    case 136: name = "Big5"; break;
    case 161: name = "windows-1253"; break;
    case 162: name = "windows-1254"; break;
    case 163: name = "windows-1258"; break;
    case 177: name = "windows-1255"; break;
    case 178: name = "windows-1256"; break;
    case 186: name = "windows-1257"; break;
    case 204: name = "windows-1251"; break;
    case 222: name = "windows-874"; break;
    case 238: name = "windows-1250"; break;
    default: name = "windows-1252"; break;
    }
    QStringDecoder decoder(name);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

void DeviceContext::applyRop3(std::uint32_t rop)
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (rop) {
    case SrcPaint: mode = QPainter::RasterOp_SourceOrDestination; break;
    case SrcAnd: mode = QPainter::RasterOp_SourceAndDestination; break;
    case SrcInvert: case PatInvert: mode = QPainter::RasterOp_SourceXorDestination; break;
    case SrcErase: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case NotSrcCopy: mode = QPainter::RasterOp_NotSource; break;
    case NotSrcErase: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case MergePaint: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case DstInvert: mode = QPainter::RasterOp_NotDestination; break;
    default: break;
    }
    m_painter.setCompositionMode(mode);
}

void DeviceContext::text(QPointF at, const QString &s, const QVector<double> &dx,
                         std::uint32_t options, std::optional<QRectF> rect)
{
    const auto t = transform();
    if (!t || m_inPath)
        return;
    prepare(QTransform());
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver); // text ignores the mix
    const DcState &st = m_state;
    const bool updateCp = st.textAlign & 1;
    if (updateCp)
        at = st.current;
    const double sx = std::hypot(t->m11(), t->m12()), sy = std::hypot(t->m21(), t->m22());

    QFont font(st.font.face.isEmpty() ? QStringLiteral("Sans Serif") : st.font.face);
    font.setWeight(QFont::Weight(std::clamp(st.font.weight == 0 ? 400 : st.font.weight, 100, 900)));
    font.setItalic(st.font.italic);
    font.setUnderline(st.font.underline);
    font.setStrikeOut(st.font.strikeOut);
    double px = 16;
    if (st.font.height < 0) {
        px = -st.font.height * sy;
    } else if (st.font.height > 0) {
        // A positive height is the whole cell; the font's em is smaller.
        font.setPixelSize(100);
        px = st.font.height * sy * 100 / std::max(1.0, QFontMetricsF(font).height());
    }
    if (!(px >= 0.5))
        return;
    font.setPixelSize(std::max(1, int(std::lround(std::min(px, 2048.0)))));
    const QFontMetricsF fm(font);

    double width = 0;
    QVector<double> advances;
    if (!dx.isEmpty()) {
        for (double d : dx)
            advances << d * sx;
        for (double a : advances)
            width += a;
    } else {
        width = fm.horizontalAdvance(s);
    }

    if (!spend(QRectF(t->map(at), QSizeF(width, fm.height())).adjusted(-width, -width, width, width)))
        return;
    if (rect && (options & 2) && spend(t->mapRect(rect->normalized())))
        m_painter.fillRect(t->mapRect(rect->normalized()), st.backColour);
    const bool clipToRect = rect && (options & 4);
    if (clipToRect)
        m_painter.setClipRect(t->mapRect(rect->normalized()), Qt::IntersectClip);

    const QPointF origin = t->map(at);
    QTransform place;
    place.translate(origin.x(), origin.y());
    // In floating point: a file may hold any escapement, even -2^31.
    place.rotate(-std::fmod(double(st.font.escapement), 3600.0) / 10.0);
    m_painter.setTransform(place);
    double x = 0, y = fm.ascent(); // top
    switch (st.textAlign & 6) {
    case 2: x = -width; break;
    case 6: x = -width / 2; break;
    default: break;
    }
    if ((st.textAlign & 0x18) == 0x18)
        y = 0;
    else if (st.textAlign & 8)
        y = -fm.descent();
    if (st.backMode == 2)
        m_painter.fillRect(QRectF(x, y - fm.ascent(), width, fm.ascent() + fm.descent()),
                           st.backColour);
    m_painter.setFont(font);
    m_painter.setPen(st.textColour);
    if (advances.isEmpty()) {
        m_painter.drawText(QPointF(x, y), s);
    } else {
        double pos = x;
        for (qsizetype i = 0; i < s.size(); ++i) {
            m_painter.drawText(QPointF(pos, y), QString(s[i]));
            pos += i < advances.size() ? advances[i] : 0;
        }
    }
    if (clipToRect)
        m_clipDirty = true;
    if (updateCp && sx > 0)
        m_state.current.setX(m_state.current.x() + width / sx);
}

void DeviceContext::bitmap(const QImage &image, const QRectF &dest, QRectF source,
                           std::uint32_t rop)
{
    if (!usesSource(rop)) {
        patBlt(dest, rop);
        return;
    }
    if (source.width() == 0 || source.height() == 0 || dest.width() == 0 || dest.height() == 0)
        return;
    // Source pixels onto the destination rectangle; opposite signs mirror.
    QTransform place;
    place.translate(dest.x(), dest.y());
    place.scale(dest.width() / source.width(), dest.height() / source.height());
    place.translate(-source.x(), -source.y());
    drawBitmap(image, place, source, rop);
}

void DeviceContext::bitmap(const QImage &image, const QPolygonF &corners, QRectF source,
                           std::uint32_t rop)
{
    if (corners.size() < 3 || source.width() == 0 || source.height() == 0)
        return;
    // Source x runs along the upper edge, source y down the left one.
    const QPointF ul = corners[0], across = (corners[1] - ul) / source.width(),
                  down = (corners[2] - ul) / source.height();
    const QTransform place = QTransform::fromTranslate(-source.x(), -source.y())
        * QTransform(across.x(), across.y(), down.x(), down.y(), ul.x(), ul.y());
    drawBitmap(image, place, source, rop);
}

void DeviceContext::drawBitmap(const QImage &image, const QTransform &place, QRectF source,
                               std::uint32_t rop)
{
    const auto t = transform();
    if (image.isNull() || m_inPath || !t)
        return;
    const QRectF part = source.normalized() & QRectF(image.rect());
    if (part.isEmpty() || !spend((place * *t).mapRect(part)))
        return;
    prepare(place * *t);
    applyRop3(rop);
    m_painter.drawImage(part.topLeft(), image, part);
}

QImage monoPattern(ByteSpan bits, int width, int height, std::uint64_t stride, bool bottomUp)
{
    const std::uint64_t rowBytes = (std::uint64_t(width) + 7) / 8;
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 || stride < rowBytes
        || !bits.has(0, stride * std::uint64_t(height)))
        return {};
    QImage img(width, height, QImage::Format_Mono);
    if (img.isNull())
        return {};
    img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
        std::memcpy(img.scanLine(y), bits.data() + stride * std::uint64_t(bottomUp ? height - 1 - y : y),
                    rowBytes);
    return img;
}

QImage withTransparency(const QImage &image, std::optional<QRgb> key, const QImage &mask,
                        QPoint maskOffset)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QImage m = mask.isNull() ? mask : mask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        // In 64 bits: the offset may be anything a record holds.
        const qint64 my = qint64(y) + maskOffset.y();
        const auto *maskLine = !m.isNull() && my >= 0 && my < m.height()
            ? reinterpret_cast<const QRgb *>(m.constScanLine(int(my)))
            : nullptr;
        for (int x = 0; x < out.width(); ++x) {
            const qint64 mx = qint64(x) + maskOffset.x();
            const bool hidden = (key && (line[x] & 0xffffff) == (*key & 0xffffff))
                || (!m.isNull() && (!maskLine || mx < 0 || mx >= m.width() || qGray(maskLine[mx]) < 128));
            if (hidden)
                line[x] = 0;
        }
    }
    return out;
}

void DeviceContext::patBlt(const QRectF &dest, std::uint32_t rop)
{
    const auto t = transform();
    if (m_inPath || !t || !spend(t->mapRect(dest)))
        return;
    prepare(*t);
    QPainterPath path;
    path.addRect(dest.normalized());
    applyRop3(rop);
    switch (rop) {
    case Blackness: m_painter.fillPath(path, Qt::black); break;
    case Whiteness: m_painter.fillPath(path, Qt::white); break;
    case DstInvert: m_painter.fillPath(path, Qt::black); break;
    case PatCopy: case PatInvert: paintFill(path, m_state.brush); break;
    default: break; // other mixes without a source are too rare to matter
    }
}

} // namespace quor::gdi
