// Points far off the map, from a damaged file or a move at a tiny zoom: every layer redraws
// them in bounded time, drawing only what crosses the picture.
#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/grid_mode_lines.h"
#include "editor/grid_points.h"
#include "editor/keyboard.h"
#include "editor/line_display.h"
#include "editor/map_view.h"
#include "editor/pinit_layout.h"
#include "support/program_state.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

using namespace plat;

namespace {

constexpr Colour kWhite = RGB(255, 255, 255);

class FarPoints : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        f.Load();
        Pinit_Init_Scrollbars();
        f.Pic.Move(0, 21, 200, 160);
        Map_Width_Px = Map_Px_East = 200;
        Map_Height_Px = Map_Px_South = 160;
        Map_Px_West = Map_Px_North = 0;
        Map_Shown = 0;
        PSais_Init_View();
        start_ = std::chrono::steady_clock::now();
    }
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    int32_t AddLine(std::initializer_list<std::pair<double, double>> points) {
        const int32_t line = Project_Append_Line(Route_Attrib{});
        for (auto [x, y] : points) Project_Append_Point(line, x, y);
        return line;
    }
    int Coloured() const {
        int n = 0;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 200; ++x) n += f.Pic.Image().GetPixel(x, y) != kWhite;
        return n;
    }
    Frm& f = Frm_Window();
    std::chrono::steady_clock::time_point start_;
};

TEST_F(FarPoints, LinesMarksAndGridPointsFarAwayRedrawQuicklyAndDrawOnlyWhatCrosses) {
    const double huge = 1e15, inf = std::numeric_limits<double>::infinity();
    View_Zoom = 20;
    double mx = 0, row = 0;
    PSais_Picture_To_Map(100, 80, mx, row);
    AddLine({{-huge, row}, {huge, row}});                   // across the picture, ends saturated
    AddLine({{3e9, 3e9}, {-3e9, 3e9}, {1e300, -1e300}});  // wholly outside
    AddLine({{huge, huge}});                             // a one-point line far away: its mark
    AddLine({{2147483647.0, 10}});                       // a mark at the end of int
    AddLine({{inf, 1e9}, {-inf, 1e9}});
    Table_Grow_If_Full(Grid_Point_Table, Grid_Point_Count, Grid_Point_Capacity, 20);
    Grid_Point_Count = 1;
    Grid_Point_Table(1).Defined = 1;
    Grid_Point_Table(1).X = 2147483647.0;
    Grid_Point_Table(1).Y = -huge;

    PSais_Set_Mode(Object_Mode::Lines);
    PSais_Redraw_Map();
    // Only the row the first line crosses.
    EXPECT_EQ(Coloured(), 200);
    for (int x = 0; x < 200; ++x) EXPECT_NE(f.Pic.Image().GetPixel(x, 80), kWhite) << x;

    PSais_Set_Mode(Object_Mode::Grid_Points);
    PSais_Redraw_Map();
    PSais_Set_Mode(Object_Mode::Excl_Cells);
    PSais_Redraw_Map();
    EXPECT_LT(Seconds(), 5.0);
}

// Segments from (20, c) toward a point a third as far down as right, 3e10 pixels away: for each
// start c, every column right of 20 holds a pixel within `reach` of that true line, and no
// pixel strays from all of them.
void ExpectOnTheTrueLines(const Surface& s, double reach, std::initializer_list<double> starts) {
    const auto off = [&](int x, int y, double c) { return std::fabs(y - (c + (x - 20) / 3.0)); };
    for (int x = 0; x < s.Width(); ++x) {
        for (double c : starts) {
            int hits = 0;
            for (int y = 0; y < s.Height(); ++y) hits += s.GetPixel(x, y) != kWhite && off(x, y, c) <= reach;
            if (x > 20) {
                EXPECT_GT(hits, 0) << x << " from " << c;
            }
        }
        for (int y = 0; y < s.Height(); ++y) {
            if (s.GetPixel(x, y) == kWhite) continue;
            bool near = false;
            for (double c : starts) near = near || off(x, y, c) <= reach;
            EXPECT_TRUE(near) << x << "," << y;
        }
    }
}

TEST_F(FarPoints, SegmentsAndRubberBandsToPointsBeyondIntReachKeepTheirDirection) {
    // Out beyond reach and back, nearly parallel.
    const double far_x = 20 + 3e10, far_y = 30 + 1e10;
    const int32_t line = AddLine({{20, 30}, {far_x, far_y}, {20, 80}});
    const int32_t near = Line_Table(line).First_Point, far = Point_Table(near).Next_Point;
    PSais_Set_Mode(Object_Mode::Lines);
    PSais_Redraw_Map();
    ExpectOnTheTrueLines(f.Pic.Image(), 0.5, {30, 80});
    f.Pic.Cls();
    PSais_Draw_Red_Segment(near, far);
    ExpectOnTheTrueLines(f.Pic.Image(), 0.5, {30});
    // The lines overlay of the cell modes, with its 2-pixel pen reaching a pixel right and down.
    PSais_Set_Mode(Object_Mode::None);
    f.Pic.Cls();
    PSais_Draw_Lines_Grid_Mode();
    ExpectOnTheTrueLines(f.Pic.Image(), 1.5, {30, 80});
    f.Pic.Cls();
    PSais_Draw_Segment_Grid_Mode(far, near);
    ExpectOnTheTrueLines(f.Pic.Image(), 1.5, {30});

    // The band from the far point ends where the segment leaves int reach, on the true line.
    PSais_Show_Sel_Segment1(far, 20, 30);
    EXPECT_EQ(f.Ln1.X1(), std::numeric_limits<int>::max());
    EXPECT_NEAR(f.Ln1.Y1(), 30 + (f.Ln1.X1() - 20) / 3.0, 1);
    EXPECT_EQ(f.Ln1.X2(), 20);
    EXPECT_EQ(f.Ln1.Y2(), 30);
}

TEST_F(FarPoints, AOnePointLineMovedWithAltArrowAtATinyZoomRedrawsWhenZoomedBackIn) {
    const int32_t line = AddLine({{100, 80}});
    PSais_Set_Mode(Object_Mode::Lines);
    Line_Selected = 1;
    Cur_Line = line;
    for (int k = 0; k < 60; ++k) Frm_Cmd_ZMoins_Click();
    for (int k = 0; k < 5; ++k) Frm_Form_KeyDown(39, 4);   // Alt+right: 20 picture pixels each
    const double moved = Point_Table(Line_Table(line).First_Point).X;
    EXPECT_GT(moved, 1e4);
    for (int k = 0; k < 80; ++k) Frm_Cmd_ZPlus_Click();
    EXPECT_GT(View_Zoom, 10);
    EXPECT_LT(Seconds(), 5.0);
    // The point lies far right of the picture: nothing of its mark shows.
    EXPECT_EQ(Coloured(), 0);
}

}  // namespace
