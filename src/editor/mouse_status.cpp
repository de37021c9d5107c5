// Mouse moves over the map: the status row, the altitude tip, and the rubber bands handed the mouse.
#include "editor/mouse_status.h"

#include "core/coord_text.h"
#include "core/grid.h"
#include "core/project.h"
#include "core/syst.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/grid_points.h"
#include "editor/line_display.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/rubber_bands.h"

#include <cmath>

namespace {

void Fill_Status_Labels(Frm& f) {
    f.L_MouseBmp.SetCaption("Mouse " + std::to_string(Mouse_Col) + "x" + std::to_string(Mouse_Row));

    double latitude = 0, longitude = 0;
    Com_Pixel_To_LatLon(Mouse_Col, Mouse_Row, latitude, longitude);
    f.LLat.SetCaption(Com_Format_Lat_Dms(latitude));
    f.LLon.SetCaption(Com_Format_Lon_Dms(longitude));
    f.LLatDec.SetCaption(Mouse_Decimal_Degrees(latitude));
    f.LLonDec.SetCaption(Mouse_Decimal_Degrees(longitude));

    int16_t c8 = 0, r8 = 0, c13 = 0, r13 = 0, x = 0, y = 0;
    Com_Pixel_To_Sub_Pos_Clamped(Mouse_Col, Mouse_Row, c8, r8, c13, r13, x, y);
    f.L_NumCell_Area.SetCaption("C: " + std::to_string(c8) + "-" + std::to_string(r8) + "  A: " +
                                std::to_string(c13) + "-" + std::to_string(r13) + "  x,y " +
                                std::to_string(x) + "-" + std::to_string(y));
    f.L_CustomBmp.SetCaption(Com_Cell_Quad_Key(c8, r8, c13, r13) + "xx.Bmp");
}

}  // namespace

std::string Mouse_Decimal_Degrees(double value) {
    double scaled = value * 1e7;
    // A value with 7 decimals is seldom exact in binary: one a hair below its own digits must
    // not lose its last digit to the rounding down.
    const double nearest = std::nearbyint(scaled);
    if (std::fabs(scaled - nearest) < 1e-6) scaled = nearest;
    return SYST_To_Text(std::floor(scaled) / 1e7);
}

void Frm_Pic_MouseMove(int16_t Button, int16_t Shift, float X, float Y) {
    (void)Button;
    (void)Shift;
    if (Project_Displayed == 0) return;
    if (Mode_Grid_Points == 1 && Grid_Point_Busy == 1) return;
    Frm& f = Frm_Window();

    Mouse_X = X;
    Mouse_Y = Y;
    if (Mouse_X < 0) Mouse_X = 0;
    if (Mouse_X > f.Pic.Width() - 1) Mouse_X = f.Pic.Width() - 1;
    if (Mouse_Y < 0) Mouse_Y = 0;
    if (Mouse_Y > f.Pic.Height() - 1) Mouse_Y = f.Pic.Height() - 1;

    double left = 0, top = 0, right = 0, bottom = 0;
    PSais_Map_To_Picture(Map_Px_West, Map_Px_North, left, top);
    PSais_Map_To_Picture(Map_Px_East, Map_Px_South, right, bottom);
    bool outside = false;
    if (Mouse_X < left) { Mouse_X = left; outside = true; }
    if (Mouse_X > right) { Mouse_X = right; outside = true; }
    if (Mouse_Y < top) { Mouse_Y = top; outside = true; }
    if (Mouse_Y > bottom) { Mouse_Y = bottom; outside = true; }

    double map_x = 0, map_y = 0;
    PSais_Picture_To_Map(Mouse_X, Mouse_Y, map_x, map_y);
    Mouse_Col = SYST_Round(map_x);
    Mouse_Row = SYST_Round(map_y);

    if (outside)
        Mouse_Status_Clear_Labels();
    else
        Fill_Status_Labels(f);

    if (Mode_Lines == 1) {
        Mouse_X = X;
        Mouse_Y = Y;
        if (!outside) PSais_Follow_Rubber_Bands();
    } else if (Mode_Lwm_Cells != 1 && Mode_Lod8_Cells != 1 && Mode_Excl_Cells != 1 && Mode_Land_Class != 1 &&
               Mode_Water_Class != 1 && Mode_Grid_Points == 1 && Grid_Point_Busy != 1) {
        PSais_Show_Altitude_Tip();
    }
}

void Frm_Pic_MouseUp(int16_t Button, int16_t Shift, float X, float Y) {
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Mouse_Status_Clear_Labels() {
    Frm& f = Frm_Window();
    for (plat::Label* l : {&f.L_MouseBmp, &f.LLat, &f.LLon, &f.LLatDec, &f.LLonDec, &f.L_NumCell_Area,
                           &f.L_CustomBmp})
        l->SetCaption("");
}
