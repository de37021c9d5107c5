#include "core/syst_draw.h"
#include "editor/editor_globals.h"
#include "platform/gdi/surface.h"
#include "platform/ui/ui.h"
#include "support/program_state.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

const Colour White = RGB(255, 255, 255);
const Colour Black = RGB(0, 0, 0);
const Colour Red = RGB(255, 0, 0);

int CountColour(const Surface& s, Colour c) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += s.GetPixel(x, y) == c;
    return n;
}

TEST(SurfaceColours, RedIsTheLowByteInMemoryAndInValues) {
    EXPECT_EQ(RGB(255, 0, 0), 255);
    EXPECT_EQ(RGB(0, 0, 255), 0xFF0000);
    EXPECT_EQ(RGB(255, 0, 255), 0xFF00FF);
    Surface s(2, 1);
    s.SetPixel(1, 0, RGB(10, 20, 30));
    EXPECT_EQ(s.Bits()[3], 10);
    EXPECT_EQ(s.Bits()[4], 20);
    EXPECT_EQ(s.Bits()[5], 30);
    EXPECT_EQ(s.GetPixel(1, 0), RGB(10, 20, 30));
    EXPECT_EQ(s.GetPixel(2, 0), -1) << "outside";
}

TEST(SurfaceLines, ALineLeavesOutItsLastPixelAndAPolylineJoinsWithoutGaps) {
    Surface s(20, 20, White);
    s.Line(2, 2, 10, 2, Red);
    EXPECT_EQ(s.GetPixel(2, 2), Red);
    EXPECT_EQ(s.GetPixel(9, 2), Red);
    EXPECT_EQ(s.GetPixel(10, 2), White);
    EXPECT_EQ(CountColour(s, Red), 8);

    Surface p(20, 20, White);
    p.ForeColor = Black;
    std::vector<Point> pts{{1, 1}, {10, 1}, {10, 10}, {1, 10}};
    p.Polyline(pts);
    EXPECT_EQ(CountColour(p, Black), 27);
    EXPECT_EQ(p.GetPixel(10, 1), Black) << "inner vertex drawn by the next segment";
    EXPECT_EQ(p.GetPixel(1, 10), White);
}

TEST(SurfaceLines, LinesAreClippedAtTheEdges) {
    Surface s(10, 10, White);
    s.Line(-50, 5, 60, 5, Red);
    EXPECT_EQ(CountColour(s, Red), 10);
    s.Line(-5, -5, -1, -1, Black);
    EXPECT_EQ(CountColour(s, Black), 0);
}

TEST(SurfaceModes, XorTwiceRestoresThePictureAndInvertIgnoresThePenColour) {
    Surface s(30, 30, White);
    s.FillRect(0, 0, 15, 30, RGB(0, 128, 0));
    Surface before = s;
    s.DrawMode = DM_XorPen;
    s.DrawWidth = 3;
    s.Line(0, 0, 29, 29, RGB(255, 255, 0));
    EXPECT_NE(s.GetPixel(20, 20), White);
    s.Line(0, 0, 29, 29, RGB(255, 255, 0));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(s.GetPixel(x, y), before.GetPixel(x, y)) << x << "," << y;

    s.DrawWidth = 1;
    s.DrawMode = DM_Invert;
    s.Line(0, 20, 30, 20, Red);
    EXPECT_EQ(s.GetPixel(25, 20), Black);
    EXPECT_EQ(s.GetPixel(5, 20), RGB(255, 127, 255));
    s.DrawMode = DM_NotXorPen;
    s.PSet(25, 25, Black);
    EXPECT_EQ(s.GetPixel(25, 25), Black) << "not (white xor black)";
}

TEST(SurfaceStyles, DashAndDotLeaveGapsOnlyForTheThinPen) {
    Surface s(60, 3, White);
    s.DrawStyle = DS_Dot;
    s.Line(0, 1, 60, 1, Black);
    EXPECT_EQ(s.GetPixel(0, 1), Black);
    EXPECT_EQ(s.GetPixel(3, 1), White);
    EXPECT_EQ(s.GetPixel(6, 1), Black);
    EXPECT_EQ(CountColour(s, Black), 30);

    Surface d(60, 3, White);
    d.DrawStyle = DS_Dash;
    d.Line(0, 1, 60, 1, Black);
    EXPECT_EQ(d.GetPixel(17, 1), Black);
    EXPECT_EQ(d.GetPixel(18, 1), White);
    EXPECT_EQ(d.GetPixel(24, 1), Black);

    Surface w(60, 9, White);
    w.DrawStyle = DS_Dot;
    w.DrawWidth = 3;
    w.Line(0, 4, 60, 4, Black);
    EXPECT_EQ(w.GetPixel(3, 4), Black) << "wide pens draw solid";
    EXPECT_EQ(w.GetPixel(30, 3), Black);
    EXPECT_EQ(w.GetPixel(30, 5), Black);
    EXPECT_EQ(w.GetPixel(30, 6), White);
}

TEST(SurfaceShapes, CircleRectanglesAndHatches) {
    Surface s(41, 41, White);
    s.Circle(20, 20, 10, Red);
    EXPECT_EQ(s.GetPixel(30, 20), Red);
    EXPECT_EQ(s.GetPixel(10, 20), Red);
    EXPECT_EQ(s.GetPixel(20, 10), Red);
    EXPECT_EQ(s.GetPixel(20, 30), Red);
    EXPECT_EQ(s.GetPixel(20, 20), White);
    EXPECT_EQ(s.GetPixel(31, 20), White);

    Surface r(20, 20, White);
    r.FillStyle = FS_Solid;
    r.FillColor = Red;
    r.Rectangle(2, 2, 10, 8);
    EXPECT_EQ(r.GetPixel(2, 2), Black);
    EXPECT_EQ(r.GetPixel(9, 7), Black);
    EXPECT_EQ(r.GetPixel(5, 5), Red);
    EXPECT_EQ(r.GetPixel(10, 8), White) << "right and bottom edges are exclusive";

    Surface h(16, 16, White);
    h.HatchRect(0, 0, 16, 16, FS_Cross, Black);
    EXPECT_EQ(h.GetPixel(0, 3), Black);
    EXPECT_EQ(h.GetPixel(3, 8), Black);
    EXPECT_EQ(h.GetPixel(3, 3), White);
    EXPECT_EQ(CountColour(h, Black), 2 * 16 * 2 - 4);
}

TEST(SurfaceBlits, BitBltClipsAndStretchBltTakesTheNearestPixel) {
    Surface src(4, 4, White);
    src.SetPixel(0, 0, Red);
    src.SetPixel(3, 3, Black);
    Surface dst(6, 6, RGB(0, 0, 255));
    BitBlt(dst, -1, -1, 4, 4, src, 0, 0);
    EXPECT_EQ(dst.GetPixel(0, 0), White) << "src (1,1)";
    EXPECT_EQ(dst.GetPixel(2, 2), Black);
    EXPECT_EQ(dst.GetPixel(3, 3), RGB(0, 0, 255));

    Surface big(8, 8, RGB(0, 0, 255));
    StretchBlt(big, 0, 0, 8, 8, src, 0, 0, 4, 4);
    EXPECT_EQ(big.GetPixel(0, 0), Red);
    EXPECT_EQ(big.GetPixel(1, 1), Red);
    EXPECT_EQ(big.GetPixel(2, 2), White);
    EXPECT_EQ(big.GetPixel(6, 6), Black);
    EXPECT_EQ(big.GetPixel(7, 7), Black);

    Surface small(2, 2, RGB(0, 0, 255));
    StretchBlt(small, 0, 0, 2, 2, src, 0, 0, 4, 4);
    EXPECT_EQ(small.GetPixel(0, 0), Red);
    EXPECT_EQ(small.GetPixel(1, 1), White) << "src (2,2)";

    // Overlapping copy on one surface.
    Surface row(5, 1, White);
    for (int x = 0; x < 5; ++x) row.SetPixel(x, 0, RGB(x, 0, 0));
    BitBlt(row, 1, 0, 4, 1, row, 0, 0);
    EXPECT_EQ(row.GetPixel(4, 0), RGB(3, 0, 0));
}

TEST(SurfaceSize, ResizeKeepsWhatFitsAndClsPaintsTheBackColour) {
    Surface s(4, 4, White);
    s.SetPixel(1, 1, Red);
    s.BackColor = Black;
    s.Resize(6, 2);
    EXPECT_EQ(s.GetPixel(1, 1), Red);
    EXPECT_EQ(s.GetPixel(5, 0), Black);
    s.Cls();
    EXPECT_EQ(CountColour(s, Black), 12);
}

class PictureSurface : public ::testing::Test {
protected:
    void SetUp() override { testenv::ResetProgramState(); }
    class Frm_Pic : public Form {
    public:
        Frm_Pic() : Form("Frm_Pic") { Ln.SetContainer(&Pic); Shp.SetContainer(&Pic); }
        PictureBox Pic{*this, "Pic"};
        LineControl Ln{*this, "Ln"};
        Shape Shp{*this, "Shp"};

    protected:
        void Design() override {
            Pic.SetBackColor(White);
            Pic.Move(0, 0, 21, 21);
            Pic.Cls();
        }
    };
};

TEST_F(PictureSurface, LineAndShapeOverlaysSurviveCls) {
    Frm_Pic f;
    f.Load();
    f.Ln.SetPoints(0, 10, 20, 10);
    f.Ln.SetBorderColor(Red);
    f.Shp.Move(2, 2, 5, 5);
    f.Pic.Line(0, 0, 20, 20, Black);
    f.Pic.Cls();
    EXPECT_EQ(f.Pic.Image().GetPixel(5, 5), White) << "the drawing is erased";
    Surface seen = f.Pic.Composed();
    EXPECT_EQ(seen.GetPixel(20, 10), Red) << "a Line control includes its end";
    EXPECT_EQ(seen.GetPixel(2, 2), Black);
    EXPECT_EQ(seen.GetPixel(4, 4), White);
    f.Ln.SetVisible(false);
    EXPECT_EQ(f.Pic.Composed().GetPixel(5, 10), White);
}

TEST_F(PictureSurface, PictureKeepsItsDrawingWhenResizedAndForeColorIsThePen) {
    Frm_Pic f;
    f.Load();
    f.Pic.SetForeColor(Red);
    f.Pic.Image().Line(0, 3, 5, 3);
    f.Pic.Move(0, 0, 30, 30);
    EXPECT_EQ(f.Pic.Image().Width(), 30);
    EXPECT_EQ(f.Pic.Image().GetPixel(2, 3), Red);
    EXPECT_EQ(f.Pic.Image().GetPixel(25, 25), White);
}

TEST_F(PictureSurface, DrawSegmentUsesThePenGivenThenPutsBackTheGridPen) {
    Frm_Pic f;
    f.Load();
    Grid_Colour = RGB(0, 0, 255);
    f.Pic.SetDrawStyle(DS_Dash);
    f.Pic.SetDrawWidth(4);
    Point pts[2] = {{0, 5}, {20, 5}};
    SYST_Draw_Segment(f.Pic, pts, Red, 1, DS_Dot);
    EXPECT_EQ(f.Pic.Image().GetPixel(0, 5), Red);
    EXPECT_EQ(f.Pic.Image().GetPixel(3, 5), White) << "dotted";
    EXPECT_EQ(f.Pic.Image().GetPixel(19, 5), Red);
    EXPECT_EQ(f.Pic.Image().GetPixel(20, 5), White) << "the end pixel is left out";
    EXPECT_EQ(f.Pic.ForeColor(), RGB(0, 0, 255));
    EXPECT_EQ(f.Pic.DrawWidth(), 1);
    EXPECT_EQ(f.Pic.DrawStyle(), DS_Solid);

    Point wide[2] = {{10, 0}, {10, 20}};
    SYST_Draw_Segment(f.Pic, wide, Black, 3, DS_Solid);
    EXPECT_EQ(f.Pic.Image().GetPixel(9, 12), Black);
    EXPECT_EQ(f.Pic.Image().GetPixel(11, 12), Black);
    EXPECT_EQ(f.Pic.Image().GetPixel(12, 12), White);
}

}  // namespace
