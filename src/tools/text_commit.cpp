#include "tools/text_commit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegion>

#include <cmath>

namespace quor {

namespace {

int px(double twips) { return int(std::floor(twips / CanvasSurface::TwipsPerPixel)); }

// The copy with the glyphs in `colour` over it, written into `out` for the
// pixels of `part`.
void blend(const QImage &copy, const QImage &coverage, QImage &out, const QRect &part,
           Colour colour)
{
    const QRgb pen = toQRgb(colour);
    auto mix = [](int under, int over, int a) { return (under * (255 - a) + over * a + 127) / 255; };
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const auto *under = reinterpret_cast<const QRgb *>(copy.constScanLine(y));
        const auto *cover = reinterpret_cast<const QRgb *>(coverage.constScanLine(y));
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = part.left(); x <= part.right(); ++x) {
            const QRgb u = under[x], a = cover[x];
            line[x] = qRgb(mix(qRed(u), qRed(pen), qRed(a)), mix(qGreen(u), qGreen(pen), qGreen(a)),
                           mix(qBlue(u), qBlue(pen), qBlue(a)));
        }
    }
}

} // namespace

QImage textCoverage(const QString &text, const QFont &font, QSize size, const QImage &like,
                    QPoint origin)
{
    QImage ink(size, QImage::Format_RGB32);
    ink.setDotsPerMeterX(like.dotsPerMeterX());
    ink.setDotsPerMeterY(like.dotsPerMeterY());
    ink.fill(Qt::white);
    {
        QPainter p(&ink);
        p.setFont(font);
        p.setPen(Qt::black);
        p.setRenderHint(QPainter::TextAntialiasing);
        const QFontMetricsF fm(font, &ink);
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const double top = origin.y() + std::floor(double(i) * fm.height());
            if (top > size.height())
                break;
            if (top + fm.height() >= 0)
                p.drawText(QPointF(origin.x(), top + fm.ascent()), lines[i]);
        }
    }
    ink.invertPixels(); // black ink on white into coverage
    return ink;
}

void sweepText(Document &doc, const QString &text, const QFont &font, QPointF at,
               const TwipBox &buffer, const std::vector<SweepStep> &steps,
               const TextSweepPace &pace)
{
    if (steps.empty())
        return;
    CanvasSurface &canvas = doc.canvas();
    const QRect place(px(buffer.left), px(buffer.top), std::max(1, px(buffer.width)),
                      std::max(1, px(buffer.height)));
    const QRect visible = (place & canvas.image().rect()).translated(-place.topLeft());
    if (visible.isEmpty())
        return;
    const QImage copy = canvas.image().copy(place);
    const QPoint origin = QPoint(px(at.x()), px(at.y())) - place.topLeft();
    const QImage coverage = textCoverage(text, font, place.size(), canvas.image(), origin);
    QImage result = copy;

    auto paint = [&](const QRect &strip, Colour colour) {
        const QRect part = strip & visible;
        if (part.isEmpty())
            return;
        blend(copy, coverage, result, part, colour);
        const QPoint at = place.topLeft() + part.topLeft();
        canvas.paintPicture(result, canvas.fromPixel(at.x()), canvas.fromPixel(at.y()),
                            canvas.fromPixel(part.width()), canvas.fromPixel(part.height()),
                            part.x(), part.y(), part.width(), part.height(), rop::SrcCopy, true);
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const SweepStep &step = steps[i];
        const bool show = pace.due && pace.due();
        if (show || i + 1 == steps.size()) {
            paint(step.strip, step.colour);
        } else {
            // What the next step covers it paints again: only the rest is
            // final now.
            for (const QRect &r : QRegion(step.strip).subtracted(QRegion(steps[i + 1].strip)))
                paint(r, step.colour);
        }
        if (show && pace.show)
            pace.show();
    }
}

} // namespace quor
