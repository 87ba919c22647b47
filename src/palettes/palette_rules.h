// The palettes' entry rules as plain functions: which keys the digit-only
// boxes take, what their texts become on a change, and how the canvas-size
// box is read.
#pragma once

#include <QString>

#include <optional>

namespace quor {

// Whether a key press may reach a digit-only box. Digits pass, and so do
// keys that type nothing (arrows, Home, End) and Delete; every other
// character, Backspace included, is swallowed.
bool digitKeyAllowed(int key, const QString &text);

// Whether a key press may reach a digit-only box while no document is
// open: only keys that cannot change the text (the arrows and the like).
bool keyAllowedWithoutDocument(int key, const QString &text);

// The line-width box: an empty box or a zero becomes "1".
QString lineWidthText(const QString &text);
// The band-width box: an empty box becomes "0".
QString bandWidthText(const QString &text);
// The gradient-direction box: empty, 180 or more becomes "0".
QString gradientAngleText(const QString &text);

// Width and height typed into the canvas-size box, in twips.
struct SizeEntry
{
    double width;
    double height;
};
constexpr double MaxCanvasWidth = 36035;
constexpr double MaxCanvasHeight = 30035;

// Splits the size box's text at its first blank and clamps both parts to
// the largest canvas. No blank, or a part that is empty or not a number,
// gives nothing. Blanks inside a part do not count ("  500" is 500).
std::optional<SizeEntry> parseSizeEntry(const QString &text);
// The size box's text after a size was taken: width, one blank, height.
QString sizeEntryText(const SizeEntry &size);

} // namespace quor
