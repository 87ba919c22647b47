// The program's shared state: the document list, the current tool and
// styles, and the palette and menu settings every document takes on. One
// instance per main window, so a test builds a fresh program state by
// building a fresh main window.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>

namespace quor {

class frmQuorMain;
class frmquoredit;
class frmquortools;
class frmquorcolortool;

struct ModuleQuorMain
{
    frmQuorMain *main = nullptr;
    frmquortools *tools = nullptr;
    frmquorcolortool *colours = nullptr;

    // Documents.
    QPointer<frmquoredit> hActiveEdit;
    QList<QPointer<frmquoredit>> editForms; // hEditForms(1) is editForms[0]
    std::int16_t hEditCount = 0;
    std::int32_t hNewCount = 0;
    std::int16_t hArrangeMode = 4;

    frmquoredit *hEditForms(int i) const;

    // Tools and styles. An empty optional is a value never set.
    int hTool = 1;
    std::optional<int> hFillStyle;
    std::optional<int> hDrawStyle;
    int hStartRed = 239, hStartGreen = 239, hStartBlue = 239;
    int hEndRed = 127, hEndGreen = 127, hEndBlue = 127;
    double hGradientAngle = 0;

    // Enables or disables every command that needs an open document.
    void hEnableDocCommands(bool enabled);

    // Palette and menu readings, taken fresh on every use.
    std::int32_t drawingColour() const; // PictureForeAndFillColor
    std::int32_t foreColour() const;    // Picture1Forecolor
    std::int32_t backColour() const;    // Picture1backcolor
    int lineWidth() const;              // tool palette's Text1, rounded
    int userDrawMode() const;           // first checked draw-mode entry, else 13
    std::uint32_t pasteRasterOp() const; // first checked paste entry, else SRCCOPY

    // Writes the pointer position into the colour palette's read-out.
    void showPointer(double x, double y);
    void clearPointer();
    // Writes a canvas size into the colour palette's size box.
    void showCanvasSize(double w, double h);
};

// "X  Y" with each number in its shortest single-precision form.
QString pointerText(double x, double y);

} // namespace quor

namespace quor {

// Counter arithmetic that fails like a fixed-width counter: an overflow is
// an error of the command, never a wrapped value.
template <typename T>
T checkedAdd(T a, T b)
{
    T r;
    if (__builtin_add_overflow(a, b, &r))
        throw std::overflow_error("overflow");
    return r;
}

} // namespace quor
