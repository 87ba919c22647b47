#include "document/model/picture_commands.h"

#include <utility>

namespace quor::commands {

bool transformPicture(Document &d, const ImageOperation &op)
{
    const bool floating = d.hasFloatingSelection();
    const CanvasSurface &source = floating ? d.selection() : d.canvas();
    QImage result = op(source.image());
    if (result.isNull())
        return false;
    const Document::Step step(d);
    if (floating) {
        d.markSelectionEdit();
        const TwipBox at = d.selectionPlace();
        d.selection().shareImage(std::move(result)); // nothing else holds it
        d.placeSelection(at.left, at.top);
    } else {
        const CanvasSurface &c = d.canvas();
        double w = c.scaleWidth(), h = c.scaleHeight();
        if (result.size() == c.image().size().transposed() && result.size() != c.image().size())
            std::swap(w, h);
        else if (result.size() != c.image().size())
            w = result.width() * c.unit(), h = result.height() * c.unit();
        d.replaceCanvas(std::move(result), w, h);
    }
    d.markChanged();
    return true;
}

CropResult cropToSelection(Document &d, QSize *kept)
{
    const CanvasSurface &c = d.canvas();
    const TwipBox at = d.selectionPlace();
    const QRect keep = QRect(c.toPixelX(at.left), c.toPixelY(at.top), d.selection().widthPx(),
                             d.selection().heightPx())
                       & c.image().rect();
    if (kept)
        *kept = keep.size();
    if (!d.hasFloatingSelection() || keep.isEmpty())
        return CropResult::NothingToKeep;
    // What shows is what stays: the floating picture goes down first.
    const Document::Step step(d);
    d.putDownSelection();
    QImage picture = c.image().copy(keep);
    const bool done = !picture.isNull();
    if (done)
        d.replaceCanvas(std::move(picture), keep.width() * c.unit(), keep.height() * c.unit());
    d.markChanged();
    return done ? CropResult::Cropped : CropResult::NoMemory;
}

void clearSelection(Document &d, Colour colour)
{
    CanvasSurface &s = d.selection();
    const Document::Step step(d);
    if (d.hasFloatingSelection())
        d.markSelectionEdit();
    const LineStyle lineStyle = s.lineStyle();
    const FillStyle fillStyle = s.fillStyle();
    const Colour fillColour = s.fillColor();
    s.setLineStyle(LineStyle::Solid);
    s.setFillStyle(FillStyle::Solid);
    s.setFillColor(colour);
    s.line(0, 0, s.scaleWidth(), s.scaleHeight(), colour, LineKind::Box);
    s.setLineStyle(lineStyle);
    s.setFillStyle(fillStyle);
    s.setFillColor(fillColour);
}

void mirrorSelection(Document &d, const QImage &mirrored)
{
    const Document::Step step(d);
    d.markSelectionEdit();
    d.scratch().shareImage(mirrored);
    d.scratch().setScaleSize(d.selection().scaleWidth(), d.selection().scaleHeight());
    d.selection().shareImage(mirrored);
}

void floatPastedPicture(Document &d, const QImage &picture, double left, double top)
{
    const Document::Step step(d);
    if (d.hasFloatingSelection())
        d.markSelectionEdit();
    d.floatPicture(picture, left, top);
}

void putDownSelection(Document &d)
{
    const Document::Step step(d);
    d.putDownSelection();
}

} // namespace quor::commands
