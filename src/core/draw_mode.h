// How a pen combines with what lies under it: the sixteen binary raster
// operations, numbered as the draw-mode menu stores them.
#pragma once

namespace quor {

enum class DrawMode {
    Blackness = 1,
    NotMergePen,
    MaskNotPen,
    NotCopyPen,
    MaskPenNot,
    Invert,
    XorPen,
    NotMaskPen,
    MaskPen,
    NotXorPen,
    Nop,
    MergeNotPen,
    CopyPen,
    MergePenNot,
    MergePen,
    Whiteness,
};

} // namespace quor
