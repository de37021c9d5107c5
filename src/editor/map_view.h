#pragma once
// The map view of the main window: which part of the map bitmap the picture Pic shows and at
// what zoom, the two transforms between picture pixels and map-bitmap pixels, the zoom buttons,
// the scroll bars and the full redraw of the picture.
#include "platform/gdi/surface.h"

#include <cstddef>
#include <cstdint>

// View state. Positions are map-bitmap pixels unless said otherwise.
extern double View_Zoom;        // picture pixels per map pixel
extern double View_Offset_X;    // the picture centre shows map point (W/2 - offset x, H/2 - offset y)
extern double View_Offset_Y;
extern double Pic_Centre_X;     // half of Pic's width, picture pixels
extern double Pic_Centre_Y;
extern double Map_Centre_X;     // half of the map's width
extern double Map_Centre_Y;
extern double Scroll_Range_X;   // the map extent the whole travel of HScroll covers
extern double Scroll_Range_Y;

// The display switches and object-mode flags it reads are in editor/editor_globals.h.

// Scroll bar range of the main window: Min 0, Max 32000.
inline constexpr int Scroll_Max = 32000;

// Picture coordinates to map-bitmap pixels and back; nothing is rounded.
void PSais_Picture_To_Map(double px, double py, double& X, double& Y);
void PSais_Map_To_Picture(double X, double Y, double& px, double& py);
// The map-to-picture transform of the current view, taken once for a run of points.
struct Map_To_Picture_Transform {
    double X0 = 0, Y0 = 0, Zoom = 1;   // the map point at the picture's origin, and the zoom
    void Apply(double X, double Y, double& px, double& py) const {
        px = (X - X0) * Zoom;
        py = (Y - Y0) * Zoom;
    }
};
Map_To_Picture_Transform PSais_Current_Transform();

// Whether the box of `count` picture points, widened by `reach` pixels each way, touches Pic.
// In 64-bit arithmetic, so points rounded to the ends of int are safe.
bool PSais_Box_In_Picture(const plat::Point* points, size_t count, int reach);
// A picture coordinate held within +-2^20, far outside any picture, so that small offsets from it
// never overflow; a coordinate already within is kept.
int32_t PSais_Near_Picture(int32_t v);

// View_Zoom 1, both offsets 0.
void Pinit_Reset_View();
// Picture centre, offsets, scroll ranges and scroll positions for the opened or created project
// (its map size and calibrated rectangle). The bars are set without a redraw.
void PSais_Init_View();
// The bar position that shows `offset` on a bar covering `range`, kept inside 0..Scroll_Max.
int PSais_Scroll_Value(double offset, double range);

// Zoom buttons (and their keys): by 1.15, up to a zoom of about 21.6; each change redraws.
void Frm_Cmd_ZPlus_Click();
void Frm_Cmd_ZMoins_Click();
// Scroll-bar changes: the offset follows the bar, then a redraw. Nothing while Scroll_Busy.
void Frm_HScroll_Change();
void Frm_VScroll_Change();

// The full redraw: clear Pic, paint the visible map tiles while Map_Shown, then the current
// mode's layers.
void PSais_Redraw_Map();
// Paints the visible part of the map from the loaded tiles onto Pic.
void PSais_Draw_Map_Background();
// The keyboard focus to the map picture.
void Focus_Map();
// Map and grid shown, grid-point dialog not busy, no object mode.
void PSais_Reset_View_Flags();

// Zoom, offsets, centres and scroll ranges back to their start values (tests).
void Map_View_Start_Values();
