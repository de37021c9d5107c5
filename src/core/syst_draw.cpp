// One segment drawn with its own pen, then the grid's pen put back.
#include "core/syst_draw.h"

#include "platform/ui/picture_box.h"

void SYST_Draw_Segment(plat::PictureBox& picture, const plat::Point points[2], int32_t colour, int16_t width,
                       int16_t style) {
    picture.SetDrawWidth(width);
    picture.SetForeColor(colour);
    picture.SetDrawStyle(style);
    picture.Image().Polyline(points, 2);
    picture.Changed();
    picture.SetForeColor(Grid_Colour);
    picture.SetDrawWidth(1);
    picture.SetDrawStyle(0);
}
