// The menus' picture commands as functions over a document: each is one
// step of the history, opened and closed here, so that the windows and
// menus only choose the command and show what came of it.
#pragma once

#include "core/colour.h"
#include "document/model/document.h"

#include <QImage>
#include <QSize>

#include <functional>

namespace quor::commands {

using ImageOperation = std::function<QImage(const QImage &)>;

// The floating picture if one floats, else the whole canvas, replaced by
// what op makes of it (a turn keeps the logical size, its sides
// exchanged). False, with nothing changed, when op gives no picture.
bool transformPicture(Document &doc, const ImageOperation &op);

// The canvas cut to the floating picture's place, which is put down first.
enum class CropResult { Cropped, NothingToKeep, NoMemory };
CropResult cropToSelection(Document &doc, QSize *kept = nullptr);

// The floating picture (without one, the hidden picture) painted with
// colour.
void clearSelection(Document &doc, Colour colour);

// The floating picture replaced by its mirror, which the scratch picture
// keeps as well.
void mirrorSelection(Document &doc, const QImage &mirrored);

// A picture floated at (left, top): replacing a floating one is a step,
// floating the first is not. Throws std::bad_alloc with nothing changed.
void floatPastedPicture(Document &doc, const QImage &picture, double left, double top);

// The floating picture put down on the canvas.
void putDownSelection(Document &doc);

} // namespace quor::commands
