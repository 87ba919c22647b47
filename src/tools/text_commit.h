// Laying typed text onto a document's canvas: the canvas under the text is
// copied into a buffer, the glyphs are rendered once as coverage, and the
// sweep's strips copy the buffer back with the glyphs in each strip's
// colour. Printing smoothed text again and again onto one buffer would pile
// its edges up until they turn solid; blending each pixel once, in the
// colour of the last strip that covers it, gives what the sweep means.
#pragma once

#include "tools/text_sweep.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>

#include <functional>

namespace quor {

// The coverage of the text's glyphs on a picture of `size` pixels, lines
// one under the other from `origin` (pixels), as the canvas prints them:
// per channel 0 (not touched) to 255 (inside a glyph), so text smoothed by
// colour channel blends as the desktop drew it. Measured at the
// resolution of `like`, so point sizes come out as on the canvas.
QImage textCoverage(const QString &text, const QFont &font, QSize size, const QImage &like,
                    QPoint origin = {});

// When to show the canvas during the sweep: due() is asked as each step
// begins, and when it says yes show() repaints once the step is painted.
// Either may be empty.
struct TextSweepPace
{
    std::function<bool()> due;
    std::function<void()> show;
};

// Runs the sweep over the buffer (twips on the canvas, as textBuffer gives
// it), the text's top-left corner at `at` (twips on the canvas). Each pixel ends as the canvas copy with the glyphs blended over it
// in the colour of the last step whose strip covers it; whenever a repaint
// is due the canvas shows exactly what step-by-step copying would have
// shown by then. Only the part of the buffer on the canvas is painted.
// The document is not marked changed.
void sweepText(Document &doc, const QString &text, const QFont &font, QPointF at,
               const TwipBox &buffer, const std::vector<SweepStep> &steps,
               const TextSweepPace &pace = {});

} // namespace quor
