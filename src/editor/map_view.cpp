// The map picture's view: zoom and scroll, picture <-> map transforms, and the full redraw.
#include "editor/map_view.h"

#include "core/project.h"
#include "core/syst.h"
#include "core/tiling.h"
#include "editor/cell_layers.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/grid_mode_lines.h"
#include "editor/grid_points.h"
#include "editor/line_display.h"
#include "editor/map_tiles.h"
#include "editor/object_modes.h"
#include "platform/host.h"

#include <algorithm>
#include <cmath>

double View_Zoom = 1;
double View_Offset_X = 0;
double View_Offset_Y = 0;
double Pic_Centre_X = 0;
double Pic_Centre_Y = 0;
double Map_Centre_X = 0;
double Map_Centre_Y = 0;
double Scroll_Range_X = 0;
double Scroll_Range_Y = 0;

namespace {

constexpr double kZoomStep = 1.15;
constexpr double kZoomInLimit = 20;
// Zooming out has no practical limit, but the zoom must stay far from underflowing to 0: at 0
// the transforms divide by zero and no zoom-in could ever bring the view back.
constexpr double kZoomOutFloor = 1e-100;

// Rounding in the steps would leave a run of equal numbers of zoom-ins and zoom-outs a hair
// away from 1; the snap, before and after each step, makes it exactly 1 again.
void Snap_Zoom() {
    if (std::fabs(View_Zoom - 1) < 0.01) View_Zoom = 1;
}

// The offset a bar's position stands for.
double Offset_From_Bar(const plat::ScrollBar& bar, double range) {
    const double max = bar.Max();
    if (max == 0) return 0;
    return (max / 2 - bar.Value()) * range / max;
}

// The part of a row or column of map pixels, from `pos` to `last`, that lies in tile `index`
// (from 1) of `size` pixels: the tile's first pixel, the pixels taken, their scaled length.
struct Tile_Run {
    int64_t tile_start, count, scaled;
};

Tile_Run Run_In_Tile(int64_t index, int64_t pos, int64_t last, int64_t size, double s) {
    const int64_t start = (index - 1) * size;
    const int64_t count = std::min(last, start + size - 1) - pos + 1;
    return {start, count, SYST_Round(count * s)};
}

}  // namespace

void Focus_Map() { Frm_Window().Pic.SetFocus(); }

void PSais_Picture_To_Map(double px, double py, double& X, double& Y) {
    const double s = View_Zoom;
    X = (Map_Width_Px * s / 2 + px - Pic_Centre_X - View_Offset_X * s) / s;
    Y = (Map_Height_Px * s / 2 + py - Pic_Centre_Y - View_Offset_Y * s) / s;
}

Map_To_Picture_Transform PSais_Current_Transform() {
    Map_To_Picture_Transform t;
    PSais_Picture_To_Map(0, 0, t.X0, t.Y0);
    t.Zoom = View_Zoom;
    return t;
}

void PSais_Map_To_Picture(double X, double Y, double& px, double& py) { PSais_Current_Transform().Apply(X, Y, px, py); }

bool PSais_Box_In_Picture(const plat::Point* points, size_t count, int reach) {
    if (count == 0) return false;
    int64_t minx = points[0].x, maxx = minx, miny = points[0].y, maxy = miny;
    for (size_t i = 1; i < count; ++i) {
        minx = std::min<int64_t>(minx, points[i].x);
        maxx = std::max<int64_t>(maxx, points[i].x);
        miny = std::min<int64_t>(miny, points[i].y);
        maxy = std::max<int64_t>(maxy, points[i].y);
    }
    const plat::Surface& pic = Frm_Window().Pic.Image();
    return maxx + reach >= 0 && maxy + reach >= 0 && minx - reach < pic.Width() && miny - reach < pic.Height();
}

int32_t PSais_Near_Picture(int32_t v) {
    constexpr int32_t kBand = 1 << 20;
    return std::clamp(v, -kBand, kBand);
}

int PSais_Scroll_Value(double offset, double range) {
    // An empty range shows no offset: the bar stays in the middle.
    if (!(range > 0)) return Scroll_Max / 2;
    const int32_t v = SYST_Round(Scroll_Max / 2.0 - offset * Scroll_Max / range);
    return std::clamp<int32_t>(v, 0, Scroll_Max);
}

void Pinit_Reset_View() {
    View_Zoom = 1;
    View_Offset_X = 0;
    View_Offset_Y = 0;
}

void PSais_Init_View() {
    Frm& f = Frm_Window();
    Pic_Centre_Y = f.Pic.Height() / 2.0;
    Pic_Centre_X = f.Pic.Width() / 2.0;
    Map_Centre_Y = Map_Height_Px / 2.0;
    Map_Centre_X = Map_Width_Px / 2.0;
    View_Offset_Y = Map_Centre_Y - Pic_Centre_Y;
    View_Offset_X = Map_Centre_X - Pic_Centre_X;
    Scroll_Busy = 1;
    Scroll_Range_Y = (Map_Px_South - Map_Px_North) * 2;
    f.VScroll.SetValue(PSais_Scroll_Value(View_Offset_Y, Scroll_Range_Y));
    Scroll_Range_X = (Map_Px_East - Map_Px_West) * 2;
    f.HScroll.SetValue(PSais_Scroll_Value(View_Offset_X, Scroll_Range_X));
    Scroll_Busy = 0;
}

void Frm_Cmd_ZPlus_Click() {
    Snap_Zoom();
    if (View_Zoom > kZoomInLimit) return;
    View_Zoom = View_Zoom * kZoomStep;
    Snap_Zoom();
    PSais_Redraw_Map();
    Focus_Map();
}

void Frm_Cmd_ZMoins_Click() {
    Snap_Zoom();
    if (View_Zoom / kZoomStep < kZoomOutFloor) return;
    View_Zoom = View_Zoom / kZoomStep;
    Snap_Zoom();
    PSais_Redraw_Map();
    Focus_Map();
}

void Frm_HScroll_Change() {
    if (Scroll_Busy == 1) return;
    View_Offset_X = Offset_From_Bar(Frm_Window().HScroll, Scroll_Range_X);
    PSais_Redraw_Map();
    Focus_Map();
}

void Frm_VScroll_Change() {
    if (Scroll_Busy == 1) return;
    View_Offset_Y = Offset_From_Bar(Frm_Window().VScroll, Scroll_Range_Y);
    PSais_Redraw_Map();
    Focus_Map();
}

void PSais_Redraw_Map() {
    plat::Host& host = plat::CurrentHost();
    host.SetMousePointer(plat::Pointer_Hourglass);
    Frm& f = Frm_Window();
    {
        // Shown once, whole: the layers' own refreshes wait for the last of them.
        const plat::RedrawScope redraw(f.Pic);
        f.Pic.Cls();
        PSais_Draw_Map_Background();
        // The first mode set decides the layers, bottom first.
        if (Mode_Lines == 1) {
            PSais_Save_Mark_Visibility();
            PSais_Draw_Cell_Grid();
            PSais_Draw_All_Lines();
        } else if (Mode_Excl_Cells == 1 || Mode_Lwm_Cells == 1 || Mode_Lod8_Cells == 1) {
            PSais_Draw_Cell_Grid();
            PSais_Draw_Lines_Grid_Mode();
        } else if (Mode_Land_Class == 1 || Mode_Water_Class == 1) {
            PSais_Draw_Class_Mode();
            PSais_Draw_Lines_Grid_Mode();
        } else if (Mode_Grid_Points == 1) {
            PSais_Draw_Grid_Point_Mode();
            PSais_Draw_Lines_Grid_Mode();
            PSais_Draw_Grid_Points();
        }
        f.Pic.Changed();
    }
    host.SetMousePointer(plat::Pointer_Default);
}

void PSais_Draw_Map_Background() {
    Frm& f = Frm_Window();
    plat::Surface& pic = f.Pic.Image();
    const double s = View_Zoom;
    const int64_t W = Map_Width_Px, H = Map_Height_Px;
    const int64_t scale_w = f.Pic.Width(), scale_h = f.Pic.Height();

    double mx = 0, my = 0;
    PSais_Picture_To_Map(0, 0, mx, my);
    double dx = 0, dy = 0;
    if (mx < 0) {
        dx = -mx * s;
        mx = 0;
    }
    if (my < 0) {
        dy = -my * s;
        my = 0;
    }
    const int64_t X0 = SYST_Round(mx), Y0 = SYST_Round(my);
    const int64_t DX0 = SYST_Round(dx), DY0 = SYST_Round(dy);
    if (X0 > W - 1 || Y0 > H - 1 || DX0 > scale_w - 1 || DY0 > scale_h - 1) return;

    int64_t cw = W - X0;
    if (cw * s > scale_w - DX0) cw = SYST_Round((scale_w - DX0) / s);
    if (X0 + cw > W) cw = W - X0;
    int64_t ch = H - Y0;
    if (ch * s > scale_h - DY0) ch = SYST_Round((scale_h - DY0) / s);
    if (Y0 + ch > H) ch = H - Y0;

    if (Map_Shown == 0) return;
    const int64_t T = Tile_Size;
    if (T <= 0) return;
    const int64_t first_row = Y0 / T + 1, first_col = X0 / T + 1;
    if (first_row > Tile_Rows || first_col > Tile_Cols) return;

    int64_t r = first_row, y = Y0, dest_y = DY0, rows_done = 0;
    for (;;) {
        const auto [tile_top, n, hh] = Run_In_Tile(r, y, Y0 + ch - 1, T, s);
        rows_done += n;

        int64_t c = first_col, x = X0, dest_x = DX0, cols_done = 0;
        for (;;) {
            const auto [tile_left, m, ww] = Run_In_Tile(c, x, X0 + cw - 1, T, s);
            cols_done += m;
            const int64_t k = (r - 1) * Tile_Cols + c - 1;
            if (const plat::Surface* tile = Map_Tile(static_cast<int>(k)))
                plat::StretchBlt(pic, dest_x, dest_y, ww, hh, *tile, static_cast<int>(x - tile_left),
                                 static_cast<int>(y - tile_top), static_cast<int>(m), static_cast<int>(n));
            if (cols_done >= cw || c >= Tile_Cols) break;
            c += 1;
            dest_x += ww;
            x += m;
        }
        if (rows_done >= ch || r >= Tile_Rows) break;
        r += 1;
        dest_y += hh;
        y += n;
    }
}

void PSais_Reset_View_Flags() {
    Map_Shown = 1;
    Grid_Point_Busy = 0;
    Grid_Shown = 1;
    PSais_Set_Mode(Object_Mode::None);
}

void Map_View_Start_Values() {
    View_Zoom = 1;
    View_Offset_X = View_Offset_Y = 0;
    Pic_Centre_X = Pic_Centre_Y = 0;
    Map_Centre_X = Map_Centre_Y = 0;
    Scroll_Range_X = Scroll_Range_Y = 0;
}
