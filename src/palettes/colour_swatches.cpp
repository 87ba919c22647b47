#include "palettes/colour_swatches.h"

namespace quor {

namespace {

// Per column: top red, green, blue, then bottom red, green, blue.
const unsigned char swatches[24][6] = {
    {255, 255, 255, 0, 0, 0},       {224, 224, 224, 64, 64, 64},   {192, 192, 192, 128, 128, 128},
    {255, 192, 192, 64, 0, 0},      {255, 128, 128, 128, 0, 0},    {255, 0, 0, 192, 0, 0},
    {255, 224, 192, 128, 64, 64},   {255, 192, 128, 128, 64, 0},   {255, 128, 0, 192, 64, 0},
    {255, 255, 192, 64, 64, 0},     {255, 255, 128, 128, 128, 0},  {255, 255, 0, 192, 192, 0},
    {192, 255, 192, 0, 64, 0},      {128, 255, 128, 0, 128, 0},    {0, 255, 0, 0, 192, 0},
    {192, 255, 255, 0, 64, 64},     {128, 255, 255, 0, 128, 128},  {0, 255, 255, 0, 192, 192},
    {192, 192, 255, 0, 0, 64},      {128, 128, 255, 0, 0, 128},    {0, 0, 255, 0, 0, 192},
    {255, 192, 255, 64, 0, 64},     {255, 128, 255, 128, 0, 128},  {255, 0, 255, 192, 0, 192},
};

} // namespace

int swatchColumn(int picture)
{
    return (picture - FirstSwatch) / 2 + 1;
}

int swatchRow(int picture)
{
    return (picture - FirstSwatch) % 2;
}

Colour swatchColour(int picture)
{
    const unsigned char *c = swatches[swatchColumn(picture) - 1] + 3 * swatchRow(picture);
    return rgbColour(c[0], c[1], c[2]);
}

} // namespace quor
