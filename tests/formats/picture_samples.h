// Small pictures of every format the loader reads, built byte by byte (BMP,
// DIB, RLE, GIF, icons) or with libUEMF's own record builders (WMF, EMF),
// so each test knows exactly which pixels to expect.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <uemf.h>
#include <uwmf.h>

#include <functional>
#include <vector>

namespace samples {

using Pixel = std::function<std::uint32_t(int x, int y)>;

// An info header (40 bytes) or core header (12 bytes).
QByteArray infoHeader(int width, int height, int bits, int compression, int colours = 0,
                      int imageSize = 0);
QByteArray coreHeader(int width, int height, int bits);
// RGB quads (or triples for a core header) of the given colours.
QByteArray palette(const std::vector<QRgb> &colours, bool triples = false);
// Bottom-up rows of `bits`-bit values, each row padded to four bytes;
// 24- and 32-bit values are 0xRRGGBB.
QByteArray rows(int width, int height, int bits, const Pixel &value, bool topDown = false);
// A whole file: the 14-byte file header before the DIB.
QByteArray bmpFile(const QByteArray &dib, int headerAndTable);

// A square RLE8 bitmap, colour 1 of `colours` in the lower half and 2 in
// the upper: a few hundred kilobytes even at 8000 x 8000.
QByteArray bigRle8(int side, const std::vector<QRgb> &colours);

// A GIF of indexed frames (first frame's colours, then more frames).
QByteArray gif(int width, int height, const std::vector<QRgb> &colours,
               const std::vector<Pixel> &frames);

// One icon image: a DIB with its AND mask (bit set = transparent).
QByteArray iconImage(int size, int bits, QRgb colour, const Pixel &transparent = {});
// An icon file holding the given images (DIB or PNG data).
QByteArray icoFile(const std::vector<std::pair<int, QByteArray>> &sizedImages);

// Through Qt's writer at quality 100 (lossless for WebP).
QByteArray encoded(const QImage &img, const char *format);
QByteArray png(const QImage &img);
QByteArray jpeg(const QImage &img);

// Metafiles written through libUEMF into `path` and read back.
QByteArray wmfShapes(const QString &path, bool placeable);
QByteArray emfShapes(const QString &path);
// No placeable header and no window: one red rectangle (10,10)-(50,30).
QByteArray wmfWithoutWindow(const QString &path);
// `count` red fills of the whole picture (960 x 960), then one green fill.
QByteArray wmfFills(const QString &path, int count);
// Records given to `draw` go through the sink, which takes them over.
using RecordSink = std::function<void(char *)>;
// A 192 x 192 enhanced metafile at ten logical units a pixel (window 1920,
// viewport 192), its records from `draw`.
QByteArray emfPicture(const QString &path,
                      const std::function<void(const RecordSink &, EMFHANDLES *)> &draw);
// A placeable metafile two inches square at 1440 units an inch (192 x 192
// pixels), with no mapping records of its own before `draw`.
QByteArray wmfPicture(const QString &path,
                      const std::function<void(const RecordSink &, WMFHANDLES *)> &draw);

// 192 x 192 pixels at ten logical units a pixel: a blue line across at
// y 10 pixels, drawn with a geometric pen `width` logical units wide.
QByteArray emfWideLine(const QString &path, std::uint32_t width);
// The same picture with a bold 40-pixel "W" whose top left is the centre,
// turned by `escapement` tenths of a degree counterclockwise.
QByteArray emfTurnedText(const QString &path, int escapement);

// One case each, drawn as other players draw them (see the metafile tests):
// a placeable file setting its own viewport; the centre cut out of the clip
// after clipped text blocks; text whose advance offset is 0; bounds lying
// outside the frame; records and brushes fewer writers use.
QByteArray wmfOwnViewport(const QString &path);
QByteArray emfExcludedCentre(const QString &path, bool byPath);
QByteArray wmfExcludedCentre(const QString &path);
QByteArray emfTextWithoutAdvances(const QString &path);
QByteArray emfBoundsOutsideFrame(const QString &path);
QByteArray emfRecords(const QString &path);
QByteArray emfBrushes(const QString &path);
QByteArray wmfPatternBrushes(const QString &path);
// Two masked blits of a red square whose masks lie 2^31 pixels from their
// sources: the mask's offset from the source does not fit an int in the
// first, its pixels lie beyond an int from the source's in the second.
QByteArray emfFarMasks(const QString &path);

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &data);

} // namespace samples
