// What the grid-point mode shows: the sub-grid of the re-mesh level, the crosses of the
// defined grid points and the altitude tip under the mouse.
#include "core/project.h"
#include "core/syst.h"
#include "core/syst_draw.h"
#include "editor/cell_layers.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/grid_points.h"
#include "editor/map_view.h"
#include "platform/number.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kRed = 255;
constexpr int32_t kBlack = 0;
constexpr plat::Colour kTipOverPoint = 0xFFC0FF;   // pink
constexpr plat::Colour kTipElsewhere = 0xC0FFFF;   // light yellow

// Zoomed out, many sub-grid lines fall on one pixel row or column, one after the other. They are
// all black, so through the copy pen a line drawn again, or dotted over itself drawn solid, changes
// nothing and is left out.
class Sub_Grid_Lines {
public:
    void Draw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int16_t style) {
        const bool covered = drawn_ && x1 == x1_ && y1 == y1_ && x2 == x2_ && y2 == y2_ &&
                             (style == style_ || style_ == plat::DS_Solid) &&
                             Frm_Window().Pic.Image().DrawMode == plat::DM_CopyPen;
        if (covered) return;
        PSais_Draw_Grid_Segment(x1, y1, x2, y2, kBlack, style);
        drawn_ = true;
        x1_ = x1;
        y1_ = y1;
        x2_ = x2;
        y2_ = y2;
        style_ = style;
    }

private:
    bool drawn_ = false;
    int32_t x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    int16_t style_ = plat::DS_Solid;
};

// The sub-grid lines of the cells 0..last of one direction: a solid line where each cell starts,
// then m dotted ones `f` of a cell apart. When a whole cell's lines round onto its first pixel,
// only that solid line shows, and cells that start on one pixel give one line there.
template <class Draw>
void Draw_Cell_Sub_Lines(int32_t last, double step, double first, double f, int32_t m, Draw draw) {
    if (f * step * m < 0.5) {
        PSais_For_Each_Pixel_Run(last, step, first, [&](int32_t at, int32_t, int32_t) { draw(at, plat::DS_Solid); });
        return;
    }
    for (int32_t i = 0; i <= last; ++i) {
        const int32_t start = SYST_Round(i * step + first);
        for (int32_t k = 0; k <= m; ++k) draw(SYST_Round(f * step * k + start), k == 0 ? plat::DS_Solid : plat::DS_Dot);
    }
}

}  // namespace

std::string Grid_Altitude_Text(float altitude) {
    return plat::FloatText(altitude);
}

void PSais_Draw_Grid_Point_Mode() {
    if (Grid_Shown == 0) return;
    const Grid_Steps g = PSais_Compute_Grid_Window(false);
    // A level read from a damaged file would ask for millions of lines: keep to the five levels.
    const int level = std::clamp<int>(Mesh_Lod_Index, 0, 4);
    const int32_t spacing = 1 << (level + 1);        // LOD13 steps between sub-grid lines
    const double f = spacing / 255.0;
    const int32_t m = 256 / spacing - 1;
    Sub_Grid_Lines lines;

    if (Grid_First_Row != 0 && Grid_First_Col != 0 && Grid_Last_Row != Grid_First_Row) {
        const int32_t x1 = SYST_Round(Grid_First_X), x2 = SYST_Round(Grid_Last_X);
        Draw_Cell_Sub_Lines(Grid_Last_Row - Grid_First_Row - 1, g.Step_Y, Grid_First_Y, f, m, [&](int32_t y, int16_t style) {
            lines.Draw(x1, y, x2, y, style);
        });
    }
    if (Grid_First_Col != 0 && Grid_First_Row != 0 && Grid_Last_Col != Grid_First_Col) {
        const int32_t y1 = SYST_Round(Grid_First_Y), y2 = SYST_Round(Grid_Last_Y);
        Draw_Cell_Sub_Lines(Grid_Last_Col - Grid_First_Col - 1, g.Step_X, Grid_First_X, f, m, [&](int32_t x, int16_t style) {
            lines.Draw(x, y1, x, y2, style);
        });
    }
    Frm_Window().Pic.Refresh();
}

void PSais_Draw_Grid_Point(int32_t& n) {
    if (!Project_Valid_Grid_Point(n)) return;
    const Grid_Point_Rec& p = Grid_Point_Table(n);
    double px = 0, py = 0;
    PSais_Map_To_Picture(p.X, p.Y, px, py);
    const int32_t x = SYST_Round(px), y = SYST_Round(py);
    // A cross off the picture draws nothing; this also keeps x + 3 within int.
    const plat::Point centre{x, y};
    if (!PSais_Box_In_Picture(&centre, 1, 3)) return;
    PSais_Draw_Grid_Segment(x - 3, y, x + 3, y, kRed, plat::DS_Solid);
    PSais_Draw_Grid_Segment(x, y - 3, x, y + 3, kRed, plat::DS_Solid);
}

void PSais_Draw_Grid_Points() {
    Frm& f = Frm_Window();
    if (Grid_Point_Count != 0) {
        const int32_t last = std::min(Grid_Point_Count, Grid_Point_Table.UBound());
        for (int32_t n = 1; n <= last; ++n)
            if (Grid_Point_Table(n).Defined == 1) PSais_Draw_Grid_Point(n);
        f.Pic.Refresh();
    }
    Focus_Map();
}

void PSais_Show_Altitude_Tip() {
    Frm& f = Frm_Window();
    plat::Label& tip = f.LPtGrid;
    const double width = tip.Width(), height = tip.Height();
    const double left = width + Mouse_X + 5 > f.Pic.Width() - 1 ? Mouse_X - width - 5 : Mouse_X + 5;
    const double top = height + Mouse_Y + 5 > f.Pic.Height() - 1 ? Mouse_Y - height - 5 : Mouse_Y + 5;
    tip.Move(SYST_Round(left), SYST_Round(top), tip.Width(), tip.Height());

    double mx = 0, my = 0;
    PSais_Picture_To_Map(Mouse_X, Mouse_Y, mx, my);
    if (mx >= -2 && my >= -2 && mx <= Map_Width_Px + 1 && my <= Map_Height_Px + 1 && Grid_Point_Count > 0) {
        const int32_t last = std::min(Grid_Point_Count, Grid_Point_Table.UBound());
        for (int32_t n = 1; n <= last; ++n) {
            const Grid_Point_Rec& p = Grid_Point_Table(n);
            if (p.Defined != 1) continue;
            // Two map pixels each way, whatever the zoom.
            if (SYST_Round(p.Y - 2) <= my && my <= SYST_Round(p.Y + 2) && SYST_Round(p.X - 2) <= mx &&
                mx <= SYST_Round(p.X + 2)) {
                Cur_Grid_Point = n;
                tip.SetCaption("Altitude= " + Grid_Altitude_Text(p.Alt));
                tip.SetBackColor(kTipOverPoint);
                tip.SetVisible(true);
                return;
            }
        }
    }
    Cur_Grid_Point = 0;
    tip.SetBackColor(kTipElsewhere);
    tip.SetCaption("");
    tip.SetVisible(true);
}
