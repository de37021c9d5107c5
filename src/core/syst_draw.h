#pragma once
// Drawing of one segment on a picture with a given pen, the pen put back to the grid's.
#include "platform/gdi/surface.h"

#include <cstdint>

// The cell grid's colour (red in the low byte), chosen in the grid colour dialog.
inline int32_t Grid_Colour = 12632256;

namespace plat {
class PictureBox;
}

// Draws points[0] to points[1] (picture pixels; the end pixel is left out, as by Polyline)
// with the colour, pen width and draw style (0 solid, 1 dash, 2 dot); then the picture's pen
// colour is Grid_Colour, its width 1 and its style solid.
void SYST_Draw_Segment(plat::PictureBox& picture, const plat::Point points[2], int32_t colour, int16_t width,
                       int16_t style);
