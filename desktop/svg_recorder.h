// A paint device that writes what is painted on it as SVG, for the
// program's vector icon: the same painting code draws the window icon and
// the installed files, so they can not drift apart.
//
// It knows what the icon uses: paths, polygons, ellipses, rectangles and
// lines with solid pens and brushes under any affine transform. Anything
// else (pictures, gradients, dashes, clipping) is left out and reported by
// complete(), so the build fails instead of installing a wrong icon.
#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSize>

#include <memory>

namespace quor {

class SvgPaintEngine;

class SvgRecorder : public QPaintDevice
{
public:
    explicit SvgRecorder(QSize size);
    ~SvgRecorder() override;

    QPaintEngine *paintEngine() const override;
    // The whole document, with a view box of the device's size.
    QByteArray svg() const;
    // False when something was painted that the SVG leaves out.
    bool complete() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    std::unique_ptr<SvgPaintEngine> m_engine;
};

} // namespace quor
