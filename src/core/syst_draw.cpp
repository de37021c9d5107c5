// The resting pen of a picture, the scoped pen, and one segment drawn with its own pen.
#include "core/syst_draw.h"

#include "platform/ui/picture_box.h"

void SYST_Rest_Pen(plat::PictureBox& picture, bool keep_mode) {
    picture.SetDrawStyle(plat::DS_Solid);
    picture.SetDrawWidth(1);
    if (!keep_mode) picture.SetDrawMode(plat::DM_CopyPen);
}

SYST_Scoped_Pen::SYST_Scoped_Pen(plat::PictureBox& picture, int width, int style) : picture_(picture) {
    picture_.SetDrawWidth(width);
    picture_.SetDrawStyle(style);
}

SYST_Scoped_Pen::SYST_Scoped_Pen(plat::PictureBox& picture, int width, int style, int mode)
    : SYST_Scoped_Pen(picture, width, style) {
    picture_.SetDrawMode(mode);
    back_to_copy_pen_ = true;
}

SYST_Scoped_Pen::~SYST_Scoped_Pen() {
    if (colour_set_) picture_.SetForeColor(Grid_Colour);
    SYST_Rest_Pen(picture_, !back_to_copy_pen_);
}

void SYST_Scoped_Pen::Set_Colour(int32_t colour) {
    picture_.SetForeColor(colour);
    colour_set_ = true;
}

void SYST_Draw_Segment(plat::PictureBox& picture, const plat::Point points[2], int32_t colour, int16_t width,
                       int16_t style) {
    SYST_Scoped_Pen pen(picture, width, style);
    pen.Set_Colour(colour);
    picture.Image().Polyline(points, 2);
    picture.Changed();
}
