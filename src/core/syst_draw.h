#pragma once
// The pen of a picture: its resting state, the scoped pen through which every stroke outside
// the surface sets and resets it, and one segment drawn with a given pen.
#include "platform/gdi/surface.h"

#include <cstdint>

// The cell grid's colour (red in the low byte), chosen in the grid colour dialog.
inline int32_t Grid_Colour = 12632256;
// Its start value (tests).
inline void SYST_Draw_Reset() { Grid_Colour = 12632256; }

namespace plat {
class PictureBox;
}

// The picture's pen at rest: solid and one pixel wide, and the copy pen unless `keep_mode`.
void SYST_Rest_Pen(plat::PictureBox& picture, bool keep_mode = false);

// The pen of one stroke: `width` pixels wide in `style` while it lives, in the pen mode already
// set or in `mode` when one is given. When it ends the pen is at rest, the mode kept where none
// was given, and the colour the grid's where one was set.
class SYST_Scoped_Pen {
public:
    SYST_Scoped_Pen(plat::PictureBox& picture, int width, int style = plat::DS_Solid);
    SYST_Scoped_Pen(plat::PictureBox& picture, int width, int style, int mode);
    ~SYST_Scoped_Pen();
    SYST_Scoped_Pen(const SYST_Scoped_Pen&) = delete;
    SYST_Scoped_Pen& operator=(const SYST_Scoped_Pen&) = delete;
    // The picture's pen colour for this stroke.
    void Set_Colour(int32_t colour);

private:
    plat::PictureBox& picture_;
    bool back_to_copy_pen_ = false;
    bool colour_set_ = false;
};

// Draws points[0] to points[1] (picture pixels; the end pixel is left out, as by Polyline)
// with the colour, pen width and draw style (0 solid, 1 dash, 2 dot); then the picture's pen
// colour is Grid_Colour, its width 1 and its style solid.
void SYST_Draw_Segment(plat::PictureBox& picture, const plat::Point points[2], int32_t colour, int16_t width,
                       int16_t style);
