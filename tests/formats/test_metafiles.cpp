// Metafiles built with libUEMF's record builders, played at their own size:
// shapes, pens and brushes, mapping, saved states, clipping, text and
// bitmaps land where the records put them; broken files are refused.
#include "formats/picture_loader.h"
#include "formats/picture_samples.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <uemf_utf.h>

#include <cstring>

using namespace quor;
using namespace samples;

namespace {

QImage decode(const QByteArray &bytes)
{
    return decodePicture(ByteSpan(bytes.constData(), std::size_t(bytes.size())));
}

bool anyDark(const QImage &img, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(img.pixel(x, y)) < 100)
                return true;
    return false;
}

bool anyOf(const QImage &img, const QRect &area, QRgb colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixel(x, y) == colour)
                return true;
    return false;
}

const QRgb white = qRgb(255, 255, 255), red = qRgb(255, 0, 0), green = qRgb(0, 255, 0),
           blue = qRgb(0, 0, 255), yellow = qRgb(255, 255, 0), magenta = qRgb(255, 0, 255);

class Metafiles : public ::testing::Test
{
protected:
    QTemporaryDir dir;
};

} // namespace

TEST_F(Metafiles, PlaceableWmfDrawsAtItsOwnSize)
{
    // Two inches at 1440 units an inch: 192 pixels, 15 units a pixel.
    const QImage img = decode(wmfShapes(dir.filePath("a.wmf"), true));
    ASSERT_EQ(img.size(), QSize(192, 192));
    EXPECT_EQ(img.pixel(20, 20), red);
    EXPECT_EQ(img.pixel(80, 16), red);      // the restored brush, not the black one
    EXPECT_EQ(img.pixel(72, 72), green);    // ellipse centre (after the skipped records)
    EXPECT_EQ(img.pixel(95, 95), white);    // outside the ellipse
    EXPECT_EQ(img.pixel(24, 90), yellow);   // polygon
    EXPECT_EQ(img.pixel(88, 40), magenta);  // the pie's upper right quarter
    EXPECT_EQ(img.pixel(72, 40), white);    // not the rest of its circle
    EXPECT_TRUE(anyOf(img, QRect(30, 179, 1, 3), blue)); // the line at y 2700
    EXPECT_EQ(img.pixel(104, 4), blue);     // the stretched 2 x 2 bitmap
    EXPECT_EQ(img.pixel(124, 4), qRgb(255, 128, 0));
    EXPECT_EQ(img.pixel(104, 28), qRgb(0, 128, 0));
    EXPECT_EQ(img.pixel(124, 28), qRgb(128, 0, 128));
    EXPECT_TRUE(anyDark(img, QRect(100, 100, 40, 40)));  // the "W"
    EXPECT_FALSE(anyDark(img, QRect(150, 100, 40, 40)));
}

TEST_F(Metafiles, WmfWithoutPlaceableHeaderTakesItsWindow)
{
    const QImage img = decode(wmfShapes(dir.filePath("b.wmf"), false));
    ASSERT_EQ(img.size(), QSize(2880, 2880)); // one unit a pixel
    EXPECT_EQ(img.pixel(300, 300), red);
    EXPECT_EQ(img.pixel(1080, 1080), green);
    EXPECT_EQ(img.pixel(1420, 1420), white);
}

TEST_F(Metafiles, WmfWithoutAnySizeIsMeasuredByWhatItDraws)
{
    const QImage img = decode(wmfWithoutWindow(dir.filePath("m.wmf")));
    EXPECT_NEAR(img.width(), 40, 2);
    EXPECT_NEAR(img.height(), 20, 2);
    EXPECT_EQ(img.pixel(img.width() / 2, img.height() / 2), red);
}

TEST_F(Metafiles, EmfMappingWorldTransformClipTextAndBitmaps)
{
    const QImage img = decode(emfShapes(dir.filePath("c.emf")));
    ASSERT_EQ(img.size(), QSize(192, 192));
    EXPECT_EQ(img.pixel(20, 20), red);
    EXPECT_EQ(img.pixel(80, 16), red);
    EXPECT_EQ(img.pixel(72, 72), green);
    EXPECT_EQ(img.pixel(116, 116), qRgb(0, 255, 255)); // moved by the world transform
    EXPECT_EQ(img.pixel(60, 116), white);
    EXPECT_EQ(img.pixel(104, 4), blue);
    EXPECT_EQ(img.pixel(124, 28), qRgb(128, 0, 128));
    EXPECT_EQ(img.pixel(25, 155), blue);   // inside the clip rectangle
    EXPECT_EQ(img.pixel(60, 155), white);  // the same rectangle outside it
    EXPECT_EQ(img.pixel(25, 145), white);
    EXPECT_TRUE(anyDark(img, QRect(0, 100, 40, 40)));
}

TEST_F(Metafiles, EndlessFillsStopOnceTheirBudgetIsSpent)
{
    // Thousands of whole-picture fills from a small file: the first ones
    // are drawn, then drawing stops instead of keeping the program busy.
    const QImage img = decode(wmfFills(dir.filePath("fills.wmf"), 5000));
    ASSERT_EQ(img.size(), QSize(960, 960));
    EXPECT_EQ(img.pixel(480, 480), red);
}

TEST_F(Metafiles, CutOrBrokenMetafilesAreDamaged)
{
    const QString damaged = damagedPicture().description;
    const QByteArray wmf = wmfShapes(dir.filePath("d.wmf"), true);
    const QByteArray emf = emfShapes(dir.filePath("e.emf"));
    QByteArray wmfBadSize = wmf;
    wmfBadSize[22 + 18] = char(0xff); // the first record claims more than the file
    wmfBadSize[22 + 19] = char(0x7f);
    QByteArray emfBadSize = emf;
    const int second = emf[4] | emf[5] << 8; // header size
    emfBadSize[second + 5] = char(0x7f);
    for (const auto &[what, bytes] : std::vector<std::pair<const char *, QByteArray>>{
             {"wmf cut", wmf.left(wmf.size() - 6)},
             {"wmf header", wmf.left(30)},
             {"wmf record size", wmfBadSize},
             {"emf cut", emf.left(emf.size() - 20)},
             {"emf record size", emfBadSize}}) {
        try {
            decode(bytes);
            ADD_FAILURE() << what << " opened";
        } catch (const QuorError &e) {
            EXPECT_EQ(e.number, InvalidPicture) << what;
            EXPECT_EQ(e.description, damaged) << what;
        }
    }
}

TEST_F(Metafiles, PlaceableWmfWithItsOwnViewportFillsThePicture)
{
    const QImage img = decode(wmfOwnViewport(dir.filePath("v.wmf")));
    ASSERT_EQ(img.size(), QSize(192, 192));
    EXPECT_EQ(img.pixel(150, 150), red);
    EXPECT_EQ(img.pixel(40, 40), white);
}

TEST_F(Metafiles, ExcludedCentreStaysBlankAfterClippedTextBlocks)
{
    for (const auto &[what, bytes] : std::vector<std::pair<const char *, QByteArray>>{
             {"emf rectangle", emfExcludedCentre(dir.filePath("r.emf"), false)},
             {"emf path", emfExcludedCentre(dir.filePath("p.emf"), true)},
             {"wmf rectangle", wmfExcludedCentre(dir.filePath("r.wmf"))}}) {
        const QImage img = decode(bytes);
        EXPECT_EQ(img.pixel(96, 96), white) << what;
        EXPECT_EQ(img.pixel(30, 180), blue) << what;
    }
}

TEST_F(Metafiles, TextWithoutAdvancesKeepsItsLettersTogether)
{
    // Two 30-pixel letters from x 10 side by side at the font's advances,
    // neither heaped up nor thrown apart by the record's header read as
    // spacing.
    const QImage img = decode(emfTextWithoutAdvances(dir.filePath("t.emf")));
    EXPECT_TRUE(anyDark(img, QRect(10, 10, 30, 30)));
    EXPECT_TRUE(anyDark(img, QRect(50, 10, 15, 30)));
    EXPECT_FALSE(anyDark(img, QRect(90, 0, 102, 192)));
    EXPECT_FALSE(anyDark(img, QRect(0, 50, 192, 142)));
}

TEST_F(Metafiles, BoundsOutsideTheFrameAreMapped)
{
    const QImage img = decode(emfBoundsOutsideFrame(dir.filePath("b.emf")));
    ASSERT_EQ(img.size(), QSize(192, 192));
    EXPECT_EQ(img.pixel(96, 96), red);
    EXPECT_EQ(img.pixel(5, 186), red);
}

TEST_F(Metafiles, RecordsOfFewerWritersAreDrawn)
{
    PictureNotes notes;
    const QByteArray bytes = emfRecords(dir.filePath("n.emf"));
    const QImage img = decodePicture(ByteSpan(bytes.constData(), std::size_t(bytes.size())), {}, &notes);
    EXPECT_EQ(notes.skippedRecords, 0);
    // Gradient from red to blue across 48 pixels, and a triangle shaded
    // red, green, blue: pixel centres weighted by where they lie.
    EXPECT_EQ(img.pixel(1, 24), qRgb(247, 0, 8));
    EXPECT_EQ(img.pixel(24, 24), qRgb(125, 0, 130));
    EXPECT_EQ(img.pixel(50, 1), qRgb(234, 13, 8));
    EXPECT_EQ(img.pixel(90, 40), white);
    EXPECT_TRUE(anyDark(img, QRect(100, 5, 40, 30)));  // small text
    EXPECT_TRUE(anyDark(img, QRect(150, 23, 40, 2)));  // the drawn figure
    EXPECT_TRUE(anyDark(img, QRect(189, 26, 2, 12)));
    EXPECT_EQ(img.pixel(2, 60), red);                  // the frame
    EXPECT_EQ(img.pixel(24, 72), white);
    EXPECT_EQ(img.pixel(60, 72), yellow);              // inverted blue
    EXPECT_EQ(img.pixel(90, 72), blue);
    EXPECT_EQ(img.pixel(132, 84), green);              // the moved clip
    EXPECT_EQ(img.pixel(108, 60), white);
    EXPECT_EQ(img.pixel(156, 60), white);              // blue left out
    EXPECT_EQ(img.pixel(180, 60), qRgb(255, 128, 0));
    EXPECT_EQ(img.pixel(12, 120), red);                // the masked half
    EXPECT_EQ(img.pixel(36, 120), white);
    EXPECT_EQ(img.pixel(108, 108), qRgb(255, 128, 0)); // mirrored
    EXPECT_EQ(img.pixel(132, 108), blue);
}

TEST_F(Metafiles, PatternedPensAndBrushesUseTheirColours)
{
    const QImage img = decode(emfBrushes(dir.filePath("b.emf")));
    const QRect hatchedLine(2, 16, 44, 16), patternLine(50, 16, 44, 16);
    EXPECT_TRUE(anyOf(img, hatchedLine, red));
    EXPECT_TRUE(anyOf(img, hatchedLine, white));
    EXPECT_TRUE(anyOf(img, patternLine, blue));
    EXPECT_TRUE(anyOf(img, patternLine, qRgb(255, 128, 0)));
    EXPECT_EQ(img.pixel(120, 24), green);   // hatch 8: the text colour
    EXPECT_EQ(img.pixel(168, 24), yellow);  // hatch 10: the background colour
    const QRect mono(4, 52, 88, 40);
    EXPECT_TRUE(anyOf(img, mono, red));
    EXPECT_TRUE(anyOf(img, mono, blue));
    EXPECT_FALSE(anyOf(img, mono, qRgb(0, 0, 0)));
    const QImage wmf = decode(wmfPatternBrushes(dir.filePath("p.wmf")));
    for (const QRect &half : {QRect(10, 10, 70, 70), QRect(106, 10, 70, 70)}) {
        EXPECT_TRUE(anyOf(wmf, half, red));
        EXPECT_TRUE(anyOf(wmf, half, blue));
        EXPECT_FALSE(anyOf(wmf, half, qRgb(0, 0, 0)));
    }
}

TEST_F(Metafiles, MasksBeyondAnIntFromTheirSourceAreSkippedOrMiss)
{
    PictureNotes notes;
    const QByteArray bytes = emfFarMasks(dir.filePath("f.emf"));
    const QImage img = decodePicture(ByteSpan(bytes.constData(), std::size_t(bytes.size())), {}, &notes);
    EXPECT_EQ(notes.skippedRecords, 1);
    EXPECT_EQ(img.pixel(4, 4), white);
    EXPECT_EQ(img.pixel(20, 4), white); // its mask covers none of it
}

TEST_F(Metafiles, RecordsLeftUndrawnAreCounted)
{
    // The damaged polygon of each sample.
    for (const QByteArray &bytes : {wmfShapes(dir.filePath("s.wmf"), true), emfShapes(dir.filePath("s.emf"))}) {
        PictureNotes notes;
        decodePicture(ByteSpan(bytes.constData(), std::size_t(bytes.size())), {}, &notes);
        EXPECT_EQ(notes.skippedRecords, 1);
    }
}
