#include "core/project.h"
#include "core/syst.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/line_display.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/pinit_layout.h"
#include "support/program_state.h"

#include "open_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace plat;

namespace {

constexpr Colour kWhite = RGB(255, 255, 255);
constexpr Colour kRed = 255;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kMagenta = 0xFF00FF;

Route_Attrib Attr(int16_t shore, int16_t output, int16_t land) {
    Route_Attrib a;
    a.SurfShore = shore;
    a.LWM_VTP2 = output;
    a.Attrib = land;
    return a;
}

// A 200 x 160 map shown whole in a 200 x 160 picture: at zoom 1 picture and map pixels agree.
class LineDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Open_Map_Whole(f, 200, 160, 200, 160);
        f.Pic.Cls();
    }

    int32_t AddLine(const Route_Attrib& a, const std::vector<std::pair<double, double>>& points) {
        const int32_t line = Project_Append_Line(a);
        for (auto [x, y] : points) Project_Append_Point(line, x, y);
        return line;
    }

    Colour At(int x, int y) const { return f.Pic.Image().GetPixel(x, y); }

    bool AllWhite() const {
        const Surface& s = f.Pic.Image();
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x)
                if (s.GetPixel(x, y) != kWhite) return false;
        return true;
    }

    Frm& f = Frm_Window();
};

TEST_F(LineDisplay, TypeColourFollowsShoreOptionThenOutputAndWater) {
    const int32_t water_lwm = AddLine(Attr(0, 0, 0), {});
    const int32_t land_lwm = AddLine(Attr(0, 0, 1), {});
    const int32_t water_vtp2 = AddLine(Attr(0, 1, 0), {});
    const int32_t water_vtp1 = AddLine(Attr(0, 2, 0), {});
    const int32_t shore_land = AddLine(Attr(1, 2, 1), {});
    const int32_t lake_shore = AddLine(Attr(2, 0, 0), {});
    const int32_t coast = AddLine(Attr(3, 1, 1), {});
    const int32_t beyond = AddLine(Attr(4, 1, 1), {});
    const int32_t negative = AddLine(Attr(-1, 0, 0), {});
    EXPECT_EQ(PSais_Line_Colour(water_lwm), kBlue);
    EXPECT_EQ(PSais_Line_Colour(land_lwm), kMagenta);
    EXPECT_EQ(PSais_Line_Colour(water_vtp2), kMagenta);
    EXPECT_EQ(PSais_Line_Colour(water_vtp1), kMagenta);
    EXPECT_EQ(PSais_Line_Colour(shore_land), kBlue);
    EXPECT_EQ(PSais_Line_Colour(lake_shore), kMagenta);
    EXPECT_EQ(PSais_Line_Colour(coast), kBlue);
    EXPECT_EQ(PSais_Line_Colour(beyond), kBlue);
    EXPECT_EQ(PSais_Line_Colour(negative), kBlue);
}

TEST_F(LineDisplay, PolygonIsDrawnOpenInItsColour) {
    const int32_t line = AddLine(Attr(0, 0, 0), {{20, 20}, {120, 20}, {120, 100}});
    PSais_Draw_Line(line);
    EXPECT_EQ(At(70, 20), kBlue);    // first side
    EXPECT_EQ(At(120, 60), kBlue);   // second side
    EXPECT_EQ(At(70, 60), kWhite);   // the closing side back to the first point is not drawn
    EXPECT_EQ(At(20, 21), kWhite);
    EXPECT_EQ(At(70, 21), kWhite);   // 1 pixel wide
}

TEST_F(LineDisplay, OnePointLineIsItsThreeByThreeMarkAndEmptyLineNothing) {
    const int32_t empty = AddLine(Attr(0, 0, 1), {});
    PSais_Draw_Line(empty);
    EXPECT_TRUE(AllWhite());

    const int32_t single = AddLine(Attr(0, 0, 1), {{50, 40}});
    PSais_Draw_Line(single);
    for (int y = 38; y <= 42; ++y)
        for (int x = 48; x <= 52; ++x) {
            const bool inside = x >= 49 && x <= 51 && y >= 39 && y <= 41;
            EXPECT_EQ(At(x, y), inside ? kMagenta : kWhite) << x << "," << y;
        }
}

TEST_F(LineDisplay, SegmentsFollowTheViewTransform) {
    const int32_t line = AddLine(Attr(2, 0, 0), {{60, 60}, {100, 60}});
    View_Zoom = 2;
    double px = 0, py = 0;
    PSais_Map_To_Picture(80, 60, px, py);
    ASSERT_EQ(px, 60);
    ASSERT_EQ(py, 40);
    PSais_Draw_Line_Selected(line);
    EXPECT_EQ(At(60, 40), kRed);
    EXPECT_EQ(At(80, 60), kWhite);   // where the map point would be without the zoom
}

TEST_F(LineDisplay, SegmentUsesTheCallersPenMode) {
    const int32_t line = AddLine(Attr(0, 0, 1), {{10, 30}, {90, 30}});
    const std::vector<int32_t> ids = Project_Line_Points(line);
    f.Pic.SetDrawMode(DM_XorPen);
    PSais_Draw_Segment(line, ids[0], ids[1], kRed);
    EXPECT_EQ(At(50, 30), RGB(0, 255, 255));   // white XOR red
    PSais_Draw_Segment(line, ids[0], ids[1], kRed);
    EXPECT_EQ(At(50, 30), kWhite);
    f.Pic.SetDrawMode(DM_CopyPen);
}

TEST_F(LineDisplay, RedrawDrawsEveryLineAndTheSelectedOneRed) {
    PSais_Set_Mode(Object_Mode::Lines);
    AddLine(Attr(0, 0, 0), {{10, 10}, {90, 10}});
    const int32_t selected = AddLine(Attr(0, 0, 0), {{10, 50}, {90, 50}});
    AddLine(Attr(0, 0, 1), {{10, 90}, {90, 90}});
    Line_Selected = 1;
    Cur_Line = selected;
    PSais_Redraw_Map();
    EXPECT_EQ(At(50, 10), kBlue);
    EXPECT_EQ(At(50, 50), kRed);
    EXPECT_EQ(At(50, 90), kMagenta);

    // Outside the line mode the redraw leaves the lines to the other modes' layers.
    PSais_Set_Mode(Object_Mode::None);
    PSais_Redraw_Map();
    EXPECT_TRUE(AllWhite());
}

TEST_F(LineDisplay, RubberBandsAndPointMark) {
    const int32_t line = AddLine(Attr(0, 0, 0), {{40, 30}});
    const int32_t id = Line_Table(line).First_Point;

    PSais_Show_Sel_Segment1(id, 100.4, 70.6);
    EXPECT_TRUE(f.Ln1.Visible());
    EXPECT_EQ(f.Ln1.BorderStyle(), 1);
    EXPECT_EQ(f.Ln1.BorderColor(), kRed);
    EXPECT_EQ(f.Ln1.DrawMode(), DM_CopyPen);
    EXPECT_EQ(f.Ln1.X1(), 40);
    EXPECT_EQ(f.Ln1.Y1(), 30);
    EXPECT_EQ(f.Ln1.X2(), 100);
    EXPECT_EQ(f.Ln1.Y2(), 71);

    PSais_Show_Sel_Segment3(id, 10, 20);
    EXPECT_EQ(f.Ln1.BorderStyle(), 2);
    EXPECT_EQ(f.Ln1.X2(), 10);

    PSais_Show_Sel_Segment2(id, 5, 6);
    EXPECT_TRUE(f.Ln2.Visible());
    EXPECT_EQ(f.Ln2.BorderStyle(), 1);
    EXPECT_EQ(f.Ln2.X1(), 40);
    EXPECT_EQ(f.Ln2.Y2(), 6);

    PSais_Show_Point_Mark(id);
    EXPECT_TRUE(f.Cercle.Visible());
    EXPECT_EQ(f.Cercle.BorderColor(), kRed);
    EXPECT_EQ(f.Cercle.Left(), 35);
    EXPECT_EQ(f.Cercle.Top(), 25);
}

TEST_F(LineDisplay, SegmentDistanceAlongThePerpendicularOrMinusOne) {
    const int32_t line = AddLine(Attr(0, 0, 0), {{10, 10}, {10, 50}, {60, 50}, {100, 90}});
    const std::vector<int32_t> p = Project_Line_Points(line);
    // Vertical and horizontal segments: the plain coordinate difference, ends inclusive.
    EXPECT_DOUBLE_EQ(PSais_Point_Segment_Distance(p[0], p[1], 17, 30), 7);
    EXPECT_DOUBLE_EQ(PSais_Point_Segment_Distance(p[0], p[1], 3, 50), 7);
    EXPECT_EQ(PSais_Point_Segment_Distance(p[0], p[1], 12, 51), -1);
    EXPECT_DOUBLE_EQ(PSais_Point_Segment_Distance(p[1], p[2], 30, 45), 5);
    EXPECT_EQ(PSais_Point_Segment_Distance(p[1], p[2], 61, 50), -1);
    // Diagonal y = x - 10: the foot of the perpendicular from (70, 80) is (80, 70).
    EXPECT_NEAR(PSais_Point_Segment_Distance(p[2], p[3], 70, 60), 0, 1e-12);
    EXPECT_NEAR(PSais_Point_Segment_Distance(p[2], p[3], 70, 80), std::sqrt(200.0), 1e-9);
    // On the extension of the segment beyond its end.
    EXPECT_EQ(PSais_Point_Segment_Distance(p[2], p[3], 110, 100), -1);
    EXPECT_EQ(PSais_Point_Segment_Distance(p[2], p[3], 50, 40), -1);

    // Picture distances: at zoom 2 the same map offset counts twice.
    View_Zoom = 2;
    double px = 0, py = 0;
    PSais_Map_To_Picture(17, 30, px, py);
    EXPECT_DOUBLE_EQ(PSais_Point_Segment_Distance(p[0], p[1], px, py), 14);
}

TEST_F(LineDisplay, MeanDistanceToBothEnds) {
    const int32_t line = AddLine(Attr(0, 0, 0), {{0, 0}, {30, 40}});
    const std::vector<int32_t> p = Project_Line_Points(line);
    EXPECT_DOUBLE_EQ(PSais_Point_Distance(p[0], p[1], 0, 0), 25);
    EXPECT_DOUBLE_EQ(PSais_Point_Distance(p[0], p[1], 30, 0), (30.0 + 40.0) / 2);
}

TEST_F(LineDisplay, CentringSetsOffsetsAndBarsWithoutARedraw) {
    const int32_t line = AddLine(Attr(0, 0, 0), {{100, 80}, {2, 3}, {190, 150}});
    const std::vector<int32_t> p = Project_Line_Points(line);
    f.Pic.Image().SetPixel(5, 5, kRed);   // a redraw would clear it

    PSais_Scroll_To_Point(p[0]);
    EXPECT_DOUBLE_EQ(View_Offset_X, 0);
    EXPECT_DOUBLE_EQ(View_Offset_Y, 0);
    EXPECT_EQ(f.HScroll.Value(), 16000);
    EXPECT_EQ(f.VScroll.Value(), 16000);

    PSais_Scroll_To_Point(p[1]);
    EXPECT_DOUBLE_EQ(View_Offset_X, 98);
    EXPECT_DOUBLE_EQ(View_Offset_Y, 77);
    EXPECT_EQ(f.HScroll.Value(), 8160);   // 16000 - 98 * 32000 / 400
    EXPECT_EQ(f.VScroll.Value(), 8300);   // 16000 - 77 * 32000 / 320
    // The bars' change handlers saw Scroll_Busy: the view kept the centring's offsets.
    EXPECT_DOUBLE_EQ(View_Offset_X, 98);
    EXPECT_EQ(Scroll_Busy, 0);
    EXPECT_EQ(At(5, 5), kRed);

    // A calibrated rectangle of 50 x 50 pixels: near the top-left corner the value would be
    // negative and stops at 0; near the bottom-right it would pass Max and stops at Max.
    Scroll_Range_X = 100;
    Scroll_Range_Y = 100;
    PSais_Scroll_To_Point(p[1]);
    EXPECT_EQ(f.HScroll.Value(), 0);
    EXPECT_EQ(f.VScroll.Value(), 0);
    PSais_Scroll_To_Point(p[2]);
    EXPECT_DOUBLE_EQ(View_Offset_X, -90);
    EXPECT_DOUBLE_EQ(View_Offset_Y, -70);
    EXPECT_EQ(f.HScroll.Value(), 32000);
    EXPECT_EQ(f.VScroll.Value(), 32000);
}

TEST_F(LineDisplay, RedrawPutsTheInsertBandsBackAtTheNewZoom) {
    PSais_Set_Mode(Object_Mode::Lines);
    const int32_t line = AddLine(Attr(0, 0, 1), {{60, 50}, {100, 50}, {100, 90}});
    const std::vector<int32_t> p = Project_Line_Points(line);
    Line_Selected = 1;
    Cur_Line = line;
    PSais_Set_Line_Tool(Line_Tool::Insert);
    Cur_Point = p[0];
    Neighbour_Point = p[1];
    Mouse_X = 40;
    Mouse_Y = 30;
    PSais_Show_Sel_Segment1(Cur_Point, Mouse_X, Mouse_Y);
    PSais_Show_Sel_Segment2(Neighbour_Point, Mouse_X, Mouse_Y);
    f.Cercle.SetVisible(true);
    f.Cercle.SetLeft(0);
    // With an XOR pen the chosen segment's red redraw over the red line shows as black.
    Edit_Draw_Mode = DM_XorPen;

    View_Zoom = 2;
    PSais_Redraw_Map();
    EXPECT_EQ(f.Ln1.X1(), 20);
    EXPECT_EQ(f.Ln1.Y1(), 20);
    EXPECT_EQ(f.Ln2.X1(), 100);
    EXPECT_EQ(f.Ln2.Y1(), 20);
    EXPECT_EQ(f.Ln1.X2(), 40);
    EXPECT_EQ(f.Ln2.Y2(), 30);
    EXPECT_EQ(At(60, 20), RGB(0, 0, 0));
    EXPECT_EQ(At(100, 60), kRed);
    EXPECT_EQ(f.Pic.DrawMode(), DM_CopyPen);
    // The point mark is not put back while both bands are up.
    EXPECT_EQ(f.Cercle.Left(), 0);

    // The closing pair (first, last) is not drawn, so nothing is redrawn for it.
    Neighbour_Point = p[2];
    PSais_Redraw_Map();
    EXPECT_EQ(At(60, 20), kRed);
    EXPECT_EQ(At(100, 60), kRed);
    EXPECT_EQ(f.Ln2.X1(), 100);
    EXPECT_EQ(f.Ln2.Y1(), 100);
}

TEST_F(LineDisplay, RedrawPutsTheMarkBackOnTheExtendedEnd) {
    PSais_Set_Mode(Object_Mode::Lines);
    const int32_t line = AddLine(Attr(0, 0, 1), {{20, 20}, {60, 20}});
    Line_Selected = 1;
    Cur_Line = line;
    PSais_Set_Line_Tool(Line_Tool::Extend);
    Cur_Point = Line_Table(line).Last_Point;
    Mouse_X = 90;
    Mouse_Y = 90;
    PSais_Show_Point_Mark(Cur_Point);
    PSais_Show_Sel_Segment1(Cur_Point, Mouse_X, Mouse_Y);

    View_Offset_X = -10;   // the view scrolls 10 map pixels east
    PSais_Redraw_Map();
    EXPECT_EQ(f.Ln1.X1(), 50);
    EXPECT_EQ(f.Ln1.X2(), 90);
    EXPECT_EQ(f.Cercle.Left(), 45);
    EXPECT_EQ(f.Cercle.Top(), 15);
    EXPECT_EQ(At(30, 20), kRed);
    EXPECT_FALSE(f.Ln2.Visible());
}

TEST_F(LineDisplay, RedrawOfALiftedPointRedrawsItsSegmentsAndBands) {
    PSais_Set_Mode(Object_Mode::Lines);
    const int32_t line = AddLine(Attr(0, 0, 1), {{20, 20}, {60, 20}, {100, 20}, {140, 20}});
    const std::vector<int32_t> p = Project_Line_Points(line);
    Line_Selected = 1;
    Cur_Line = line;
    PSais_Set_Line_Tool(Line_Tool::Sel_Point);
    Cur_Point = p[1];
    Moved_Point_Prev = p[0];
    Moved_Point_Next = p[2];
    Mouse_X = 60;
    Mouse_Y = 100;
    f.Ln1.SetVisible(true);
    f.Ln2.SetVisible(true);
    Edit_Draw_Mode = DM_XorPen;
    PSais_Redraw_Map();
    EXPECT_EQ(At(40, 20), RGB(0, 0, 0));
    EXPECT_EQ(At(80, 20), RGB(0, 0, 0));
    EXPECT_EQ(At(120, 20), kRed);
    EXPECT_EQ(f.Ln1.X1(), 20);
    EXPECT_EQ(f.Ln2.X1(), 100);
    EXPECT_EQ(f.Ln1.Y2(), 100);

    // A lifted last point: only Ln1 was up, from its predecessor.
    f.Ln2.SetVisible(false);
    Cur_Point = p[3];
    Moved_Point_Prev = p[2];
    Moved_Point_Next = p[0];
    PSais_Redraw_Map();
    EXPECT_EQ(At(120, 20), RGB(0, 0, 0));
    EXPECT_EQ(At(80, 20), kRed);
    EXPECT_EQ(f.Ln1.X1(), 100);
    EXPECT_FALSE(f.Ln2.Visible());
}

TEST_F(LineDisplay, RedLineGoesBackToItsColourOnce) {
    const int32_t line = AddLine(Attr(0, 0, 0), {{10, 10}, {90, 10}});
    PSais_Draw_Line_Selected(line);
    Red_Line_Index = line;
    Red_Line_Shown = 1;
    PSais_Restore_Red_Line();
    EXPECT_EQ(At(50, 10), kBlue);
    EXPECT_EQ(Red_Line_Shown, 0);

    PSais_Draw_Line_Selected(line);
    PSais_Restore_Red_Line();
    EXPECT_EQ(At(50, 10), kRed);
}

TEST_F(LineDisplay, DamagedPointLinksDrawNothingAndNeverScore) {
    const int32_t line = AddLine(Attr(0, 0, 0), {{10, 10}, {90, 10}});
    Line_Table(line).Last_Point = 999;
    Point_Table(Line_Table(line).First_Point).Next_Point = 999;
    PSais_Set_Mode(Object_Mode::Lines);
    PSais_Redraw_Map();
    EXPECT_TRUE(AllWhite());
    EXPECT_EQ(PSais_Point_Segment_Distance(1, 999, 5, 5), -1);
    EXPECT_GT(PSais_Point_Distance(1, 999, 5, 5), 1e300);
    PSais_Show_Point_Mark(999);
    EXPECT_FALSE(f.Cercle.Visible());
    PSais_Scroll_To_Point(0);
    EXPECT_EQ(f.HScroll.Value(), 16000);
}

TEST_F(LineDisplay, LinesAtASmallZoomDrawTheSamePixelsAsTheirSegmentsOneByOne) {
    // Lines whose box only just reaches the picture, points on one pixel, NaN coordinates.
    const double nan = std::nan("");
    const std::vector<std::vector<std::pair<double, double>>> lines = {
        {{100, 100}, {1300, 900}, {1301, 901}, {1302, 900}, {3000, 200}},
        {{-40, 50}, {-26, 900}, {-30, 3000}},          // left of the picture by a pixel or so
        {{500, -25}, {2500, -27}, {4000, -40}},        // above it
        {{5012, 100}, {5030, 4000}},                   // right of it
        {{700, nan}, {900, 1200}, {nan, 1600}, {2000, 2100}},
        {{nan, 300}, {nan, 2000}, {nan, 3500}},        // every x a NaN: drawn at x = 0
    };
    for (const auto& points : lines) AddLine(Attr(2, 0, 0), points);
    View_Zoom = 0.04;
    View_Offset_X = View_Offset_Y = 0;
    Pic_Centre_X = 100;
    Pic_Centre_Y = 80;
    PSais_Set_Mode(Object_Mode::Lines);
    Grid_Shown = 0;
    PSais_Redraw_Map();
    const auto pixels = [&] {
        const Surface& image = f.Pic.Image();
        return std::vector<uint8_t>(image.Bits(), image.Bits() + size_t{3} * image.Width() * image.Height());
    };
    const std::vector<uint8_t> redrawn = pixels();

    f.Pic.Cls();
    for (const auto& points : lines)
        for (size_t k = 1; k < points.size(); ++k) {
            double ax = 0, ay = 0, bx = 0, by = 0;
            PSais_Map_To_Picture(points[k - 1].first, points[k - 1].second, ax, ay);
            PSais_Map_To_Picture(points[k].first, points[k].second, bx, by);
            PSais_Draw_Picture_Segment(ax, ay, bx, by, kMagenta);
        }
    EXPECT_FALSE(AllWhite());
    EXPECT_TRUE(redrawn == pixels());
}

}  // namespace
