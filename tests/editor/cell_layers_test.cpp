#include "core/grid.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "core/syst_draw.h"
#include "editor/cell_layers.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/grid_points.h"
#include "editor/map_view.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/headless/headless_host.h"
#include "support/bmp_files.h"
#include "support/program_state.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include <string>
#include <vector>

using namespace plat;

namespace {

constexpr Colour kWhite = RGB(255, 255, 255);
constexpr Colour kRed = 255;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kMagenta = 0xFF00FF;
constexpr Colour kYellow = 0xFFFF;
constexpr Colour kGrey = 0xA0A0A0;

// LOD8 cell (column 400, row 100) calibrated as a 320 x 320 map: 10 map pixels per LOD13
// cell, shown at zoom 1 with the map's north-west corner at the picture's.
constexpr int16_t kLod8Col = 400, kLod8Row = 100;

class CellLayers : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        f.Load();
        f.Pic.Move(0, 21, 340, 340);
        f.Pic.Cls();
        Calibrate(320, 320, 32, 32);
    }

    // A rectangle of `rows` x `cols` LOD13 cells from the north-west corner of the test cell.
    void Calibrate(int width_px, int height_px, double rows, double cols) {
        Map_Lat_North = Proj_Lat_NW = 90 - kLod8Row * Lod8_Height;
        Map_Lon_West = Proj_Lon_NW = kLod8Col * Lod8_Width - 180;
        Map_Lat_South = Proj_Lat_SE = Map_Lat_North - rows * Lod13_Height;
        Map_Lon_East = Proj_Lon_SE = Map_Lon_West + cols * Lod13_Width;
        Map_Px_West = Map_Px_North = 0;
        Map_Px_East = width_px;
        Map_Px_South = height_px;
        Proj_Px_NW_X = Proj_Px_NW_Y = 0;
        Proj_Px_SE_X = width_px;
        Proj_Px_SE_Y = height_px;
        Map_Width_Px = width_px;
        Map_Height_Px = height_px;
        View_Zoom = 1;
        View_Offset_X = View_Offset_Y = 0;
        Pic_Centre_X = width_px / 2.0;
        Pic_Centre_Y = height_px / 2.0;
    }

    Colour Pixel(int x, int y) const { return f.Pic.Image().GetPixel(x, y); }
    int CountInRow(int y, int x1, int x2, Colour c) const {
        int n = 0;
        for (int x = x1; x <= x2; ++x) n += Pixel(x, y) == c;
        return n;
    }
    int CountInColumn(int x, int y1, int y2, Colour c) const {
        int n = 0;
        for (int y = y1; y <= y2; ++y) n += Pixel(x, y) == c;
        return n;
    }
    bool AllWhite() const {
        for (int y = 0; y < f.Pic.Image().Height(); ++y)
            for (int x = 0; x < f.Pic.Image().Width(); ++x)
                if (Pixel(x, y) != kWhite) return false;
        return true;
    }
    // The hatch line of a one-line hatch (cells 10 pixels wide) of LOD13 cell (c13, r13).
    int HatchCount(int c13, int r13, Colour c) const { return CountInColumn(c13 * 10 + 5, r13 * 10 + 1, r13 * 10 + 9, c); }

    Lwm_Cell_Rec Area(int16_t c13, int16_t r13, int16_t fill, int16_t attrib) {
        Lwm_Cell_Rec r;
        r.Lod8_Col = kLod8Col;
        r.Lod8_Row = kLod8Row;
        r.Lod13_Col = c13;
        r.Lod13_Row = r13;
        r.Fill1x1 = fill;
        r.Attrib = attrib;
        return r;
    }

    Frm& f = Frm_Window();
};

TEST_F(CellLayers, OneLod8CellShowsThirtyThreeLinesEachWayWithRedBorders) {
    PSais_Set_Mode(Object_Mode::Lines);
    PSais_Draw_Cell_Grid();
    EXPECT_EQ(Grid_First_Col, 1);
    EXPECT_EQ(Grid_Last_Col, 33);
    EXPECT_EQ(Grid_First_Row, 1);
    EXPECT_EQ(Grid_Last_Row, 33);
    // The LOD8 borders are solid red, edge to edge (a segment leaves out its end pixel, and
    // the dotted column lines, drawn after the rows, cross the row borders).
    for (int y : {0, 320}) {
        for (int x = 1; x < 320; ++x) {
            if (x % 10 == 0) continue;
            EXPECT_EQ(Pixel(x, y), kRed) << x << "," << y;
        }
    }
    EXPECT_EQ(CountInColumn(0, 0, 319, kRed), 320);
    EXPECT_EQ(CountInColumn(320, 0, 319, kRed), 320);
    // Every LOD13 line between them is dotted in the grid colour.
    for (int i = 1; i < 32; ++i) {
        const int on_row = CountInRow(i * 10, 1, 319, Grid_Colour);
        EXPECT_GT(on_row, 50) << "row line " << i;
        EXPECT_LT(on_row, 319) << "row line " << i;
        EXPECT_GT(CountInColumn(i * 10, 1, 319, Grid_Colour), 50) << "column line " << i;
    }
    // Nothing beyond the calibrated rectangle, nothing inside a cell.
    EXPECT_EQ(CountInRow(330, 0, 339, kWhite), 340);
    EXPECT_EQ(Pixel(5, 5), kWhite);
    EXPECT_EQ(Pixel(315, 315), kWhite);
}

TEST_F(CellLayers, RowCountForgivesASpanALittleShortOfWholeRows) {
    Calibrate(320, 40, 3.95, 32);
    EXPECT_EQ(PSais_Compute_Grid_Window(false).Rows, 4);
    Calibrate(320, 40, 3.85, 32);
    EXPECT_EQ(PSais_Compute_Grid_Window(false).Rows, 3);
}

TEST_F(CellLayers, ScrolledViewKeepsLineNumbersAndTheirLod8Test) {
    // The map's west edge 25 picture pixels left of the picture: the first line drawn is
    // column line 3, half a cell left of the picture, and line 33 (the east LOD8 border) is
    // still red.
    View_Offset_X = -25;
    PSais_Draw_Cell_Grid();
    EXPECT_EQ(Grid_First_Col, 3);
    EXPECT_DOUBLE_EQ(Grid_First_X, -5);
    EXPECT_EQ(Grid_Last_Col, 33);
    EXPECT_EQ(CountInColumn(295, 0, 319, kRed), 320);
    EXPECT_LT(CountInColumn(285, 1, 319, kRed), 5);
}

TEST_F(CellLayers, RectangleOutOfViewDrawsNothing) {
    View_Offset_X = -1000;
    PSais_Draw_Cell_Grid();
    EXPECT_EQ(Grid_First_Col, 0);
    EXPECT_TRUE(AllWhite());
}

TEST_F(CellLayers, TexturedAreasAreHatchedInTheColourOfTheirFillAndOption) {
    PSais_Set_Mode(Object_Mode::Lwm_Cells);
    Lwm_Cell_Table.ReDim(5);
    Lwm_Cell_Table(1) = Area(2, 3, 1, 0);
    Lwm_Cell_Table(2) = Area(4, 3, 1, 1);
    Lwm_Cell_Table(3) = Area(6, 3, 1, 7);
    Lwm_Cell_Table(4) = Area(8, 3, 0, 1);
    // A later record of the same cell is never looked at.
    Lwm_Cell_Table(5) = Area(2, 3, 0, 0);
    Lwm_Cell_Count = 5;
    PSais_Draw_Cell_Grid();
    EXPECT_GT(HatchCount(2, 3, kBlue), 0);
    EXPECT_EQ(HatchCount(2, 3, kYellow), 0);
    EXPECT_GT(HatchCount(4, 3, kMagenta), 0);
    EXPECT_GT(HatchCount(6, 3, 0), 0);
    EXPECT_GT(HatchCount(8, 3, kYellow), 0);
    // An unmarked cell stays clear.
    EXPECT_EQ(CountInColumn(15, 31, 39, kWhite), 9);
}

TEST_F(CellLayers, ALod8RecordHatchesEveryLod13CellOfItsLod8Cell) {
    PSais_Set_Mode(Object_Mode::Lod8_Cells);
    Lod8_Cell_Table.ReDim(1);
    Lod8_Cell_Table(1).Lod8_Col = kLod8Col;
    Lod8_Cell_Table(1).Lod8_Row = kLod8Row;
    Lod8_Cell_Table(1).Attrib = 1;
    Lod8_Cell_Count = 1;
    PSais_Draw_Cell_Grid();
    for (int c = 0; c < 32; c += 7)
        for (int r = 0; r < 32; r += 5) EXPECT_GT(HatchCount(c, r, kMagenta), 0) << c << "," << r;
}

TEST_F(CellLayers, ExclusionAreasAreGreyAndOnlyInTheirOwnMode) {
    Excl_Cell_Table.ReDim(1);
    Excl_Cell_Table(1).Lod8_Col = kLod8Col;
    Excl_Cell_Table(1).Lod8_Row = kLod8Row;
    Excl_Cell_Table(1).Lod13_Col = 10;
    Excl_Cell_Table(1).Lod13_Row = 20;
    Excl_Cell_Count = 1;
    PSais_Set_Mode(Object_Mode::Lines);
    PSais_Draw_Cell_Grid();
    EXPECT_EQ(HatchCount(10, 20, kGrey), 0);
    PSais_Set_Mode(Object_Mode::Excl_Cells);
    PSais_Draw_Cell_Grid();
    EXPECT_GT(HatchCount(10, 20, kGrey), 0);
}

TEST_F(CellLayers, HatchLinesFollowTheCellWidth) {
    // 5 and 4.9 pixel cells: one line, then none; 150 pixel cells: six.
    PSais_Set_Mode(Object_Mode::Lwm_Cells);
    Lwm_Cell_Table.ReDim(1);
    Lwm_Cell_Table(1) = Area(0, 0, 1, 0);
    Lwm_Cell_Count = 1;
    View_Zoom = 0.5;
    Pic_Centre_X = Pic_Centre_Y = 80;
    PSais_Draw_Cell_Grid();
    EXPECT_GT(CountInColumn(2, 1, 4, kBlue), 0);

    f.Pic.Cls();
    View_Zoom = 0.49;
    Pic_Centre_X = Pic_Centre_Y = 160 * 0.49;
    PSais_Draw_Cell_Grid();
    EXPECT_EQ(CountInRow(2, 0, 4, kBlue), 0);
    EXPECT_EQ(CountInRow(3, 0, 4, kBlue), 0);

    f.Pic.Cls();
    View_Zoom = 15;
    Pic_Centre_X = Pic_Centre_Y = 160 * 15;
    PSais_Draw_Cell_Grid();
    int lines = 0;
    for (int x = 1; x < 150; ++x) lines += CountInColumn(x, 20, 130, kBlue) > 20;
    EXPECT_EQ(lines, 6);
}

TEST_F(CellLayers, HiddenGridHidesGridAndMarksInEveryMode) {
    Grid_Shown = 0;
    Lwm_Cell_Table.ReDim(1);
    Lwm_Cell_Table(1) = Area(1, 1, 1, 0);
    Lwm_Cell_Count = 1;
    Lc_Cell_Table.ReDim(1);
    Lc_Cell_Table(1) = Class_Cell_Rec{kLod8Col, kLod8Row, 1, 1, 5};
    Lc_Cell_Count = 1;
    PSais_Set_Mode(Object_Mode::Lwm_Cells);
    PSais_Draw_Cell_Grid();
    PSais_Set_Mode(Object_Mode::Land_Class);
    PSais_Draw_Class_Mode();
    EXPECT_TRUE(AllWhite());
}

class ClassCells : public CellLayers {
protected:
    void SetUp() override {
        CellLayers::SetUp();
        App_Dir = testenv::ScratchDir("class_cells").string();
        ASSERT_TRUE(MakeFolder(App_Dir + "\\Temp"));
        ASSERT_TRUE(MakeFolder(App_Dir + "\\Resource"));
        Texture_Dir = App_Dir + "\\Texture";
        ASSERT_TRUE(MakeFolder(Texture_Dir));
    }

    void WriteTexture(const std::string& name, Colour c) {
        ASSERT_TRUE(testenv::WriteBmp24(Texture_Dir + "\\" + name, 256, 256, c));
    }

    // Class cells are keyed on the grid moved half a cell north-west: class cell (c, r) is
    // drawn over picture pixels c*10-5 .. c*10+5.
    int CellCount(int c13, int r13, Colour colour) const {
        int n = 0;
        for (int y = r13 * 10 - 4; y <= r13 * 10 + 4; ++y)
            for (int x = c13 * 10 - 4; x <= c13 * 10 + 4; ++x) n += Pixel(x, y) == colour;
        return n;
    }
};

TEST_F(ClassCells, WaterClassPaintsItsNumberedTextureStretchedIntoTheCell) {
    const Colour green = RGB(10, 200, 30);
    WriteTexture("007b2wa1.bmp", green);
    PSais_Set_Mode(Object_Mode::Water_Class);
    Textures_Shown = 1;
    Wc_Cell_Table.ReDim(1);
    Wc_Cell_Table(1) = Class_Cell_Rec{kLod8Col, kLod8Row, 5, 6, 7};
    Wc_Cell_Count = 1;
    PSais_Draw_Class_Mode();
    EXPECT_EQ(CellCount(5, 6, green), 81);
    EXPECT_EQ(CellCount(6, 6, green), 0);
    EXPECT_TRUE(FileExists(App_Dir + "\\Temp\\$BmpLCWC.bmp"));
    // The hidden picture that carried the texture is emptied afterwards.
    EXPECT_EQ(f.WPicLCWC.Picture().Width(), 0);
}

TEST_F(ClassCells, LandClassGoesThroughTheClassListAndFailsToGreyHatch) {
    const Colour brown = RGB(120, 80, 20);
    const Colour sand = RGB(230, 210, 140);
    // A title line is no class: class 0 is the line that says so.
    ASSERT_TRUE(WriteTextLines(App_Dir + "\\Resource\\LC.txt",
                               {"Code Tex Name", "012 034 some class", "000 056 beach", "014 300 past a byte"}));
    WriteTexture("034b2su1.bmp", brown);
    WriteTexture("056b2su1.bmp", sand);
    WriteTexture("044b2su1.bmp", kMagenta);   // 300 cut to a byte
    WriteTexture("000b2su1.bmp", kMagenta);
    PSais_Set_Mode(Object_Mode::Land_Class);
    Textures_Shown = 1;
    Lc_Cell_Table.ReDim(5);
    Lc_Cell_Table(1) = Class_Cell_Rec{kLod8Col, kLod8Row, 2, 2, 12};
    Lc_Cell_Table(2) = Class_Cell_Rec{kLod8Col, kLod8Row, 4, 2, 253};  // no texture above 251
    Lc_Cell_Table(3) = Class_Cell_Rec{kLod8Col, kLod8Row, 6, 2, 13};   // not in the list
    Lc_Cell_Table(4) = Class_Cell_Rec{kLod8Col, kLod8Row, 8, 2, 0};
    Lc_Cell_Table(5) = Class_Cell_Rec{kLod8Col, kLod8Row, 10, 2, 14};  // texture 300: not there
    Lc_Cell_Count = 5;
    PSais_Draw_Class_Mode();
    EXPECT_EQ(CellCount(2, 2, brown), 81);
    EXPECT_EQ(CellCount(8, 2, sand), 81);
    EXPECT_GT(CountInColumn(40, 16, 24, kGrey), 0);
    EXPECT_GT(CountInColumn(60, 16, 24, kGrey), 0);
    EXPECT_EQ(CellCount(4, 2, brown), 0);
    EXPECT_EQ(CellCount(10, 2, kMagenta), 0);
    EXPECT_GT(CountInColumn(100, 16, 24, kGrey), 0);

    // No texture folder: every cell hatched, nothing painted.
    f.Pic.Cls();
    Texture_Dir = App_Dir + "\\Missing";
    PSais_Draw_Class_Mode();
    EXPECT_EQ(CellCount(2, 2, brown), 0);
    EXPECT_GT(CountInColumn(20, 16, 24, kGrey), 0);
}

// Stretching one 256-pixel texture over a cell millions of pixels wide works only the picture's
// part of it: a stretched copy would need more memory than there is.
TEST_F(ClassCells, ACellStretchedFarPastThePictureIsPaintedWithoutItsStretchedSize) {
    const Colour green = RGB(10, 200, 30);
    WriteTexture("007b2wa1.bmp", green);
    PSais_Set_Mode(Object_Mode::Water_Class);
    Textures_Shown = 1;
    Wc_Cell_Table.ReDim(1);
    Wc_Cell_Table(1) = Class_Cell_Rec{kLod8Col, kLod8Row, 5, 6, 7};
    Wc_Cell_Count = 1;
    const auto start = std::chrono::steady_clock::now();
    // The cell's centre, map point (50, 60), in the middle of the picture at a zoom of a million.
    View_Zoom = 1e6;
    View_Offset_X = 110 + 10 / View_Zoom;
    View_Offset_Y = 100 + 10 / View_Zoom;
    PSais_Draw_Class_Mode();
    EXPECT_EQ(CountInRow(170, 0, 339, green), 340);
    EXPECT_EQ(CountInColumn(170, 0, 339, green), 340);
    EXPECT_EQ(CountInRow(0, 0, 339, green) + CountInRow(339, 0, 339, green), 680);

    // The ends of int as the cell's sides.
    f.Pic.Cls();
    int16_t failed = 1;
    PSais_Draw_Class_Texture(1, 1, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, failed);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(CountInRow(5, 0, 339, green) + CountInRow(330, 0, 339, green), 680);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
}

// Cells in view are looked up, not searched for: the first record on a cell still decides.
TEST_F(CellLayers, TheFirstRecordOnACellDecidesItsMarkAmongMany) {
    PSais_Set_Mode(Object_Mode::Lwm_Cells);
    Lwm_Cell_Table.ReDim(2001);
    for (int n = 1; n <= 2000; ++n) {
        Lwm_Cell_Rec& r = Lwm_Cell_Table(n);
        r.Lod8_Col = static_cast<int16_t>(kLod8Col + 1 + n % 7);   // outside the map, in every order
        r.Lod8_Row = static_cast<int16_t>(kLod8Row - n % 5);
        r.Lod13_Col = static_cast<int16_t>(n % 32);
        r.Lod13_Row = static_cast<int16_t>(n / 64);
    }
    Lwm_Cell_Table(1000) = Lwm_Cell_Rec{};
    Lwm_Cell_Table(1000).Lod8_Col = kLod8Col;
    Lwm_Cell_Table(1000).Lod8_Row = kLod8Row;
    Lwm_Cell_Table(1000).Lod13_Col = 3;
    Lwm_Cell_Table(1000).Lod13_Row = 4;
    Lwm_Cell_Table(1000).Fill1x1 = 1;
    Lwm_Cell_Table(1000).Attrib = 1;   // magenta
    Lwm_Cell_Table(2001) = Lwm_Cell_Table(1000);
    Lwm_Cell_Table(2001).Attrib = 0;   // blue, but second
    Lwm_Cell_Count = 2001;
    PSais_Draw_Cell_Grid();
    // Cell (3, 4) spans x 30..40, y 40..50; its hatch lines fall inside.
    int magenta = 0, blue = 0;
    for (int x = 31; x < 40; ++x) {
        magenta += CountInColumn(x, 41, 49, kMagenta);
        blue += CountInColumn(x, 41, 49, kBlue);
    }
    EXPECT_GT(magenta, 0);
    EXPECT_EQ(blue, 0);
    EXPECT_EQ(CountInColumn(45, 41, 49, kMagenta) + CountInColumn(25, 41, 49, kMagenta), 0);
}

// Rows a third of a pixel high: a row that rounds to no height is still painted, as a strip of
// one pixel row, when the map point under its (flat) middle is its cell.
TEST_F(ClassCells, ACellInARowOfNoHeightIsPaintedAsAOnePixelStrip) {
    const Colour green = RGB(10, 200, 30);
    WriteTexture("007b2wa1.bmp", green);
    PSais_Set_Mode(Object_Mode::Water_Class);
    Textures_Shown = 1;
    Calibrate(320, 10, 32, 32);
    const Grid_Steps g = PSais_Compute_Grid_Window(true);
    // Every row as the class display walks them, one by one: which rows of cell column 5 only a
    // row of no height reaches.
    std::vector<int> reached_by(32, 0);   // 1 by a row with height, 2 by a flat row only
    for (int32_t i = 0; i < Grid_Last_Row - Grid_First_Row; ++i) {
        const int32_t top = SYST_Round(i * g.Step_Y + Grid_First_Y), bottom = SYST_Round((i + 1) * g.Step_Y + Grid_First_Y);
        double x = 0, y = 0;
        PSais_Picture_To_Map(50, (top + bottom) / 2.0, x, y);
        int16_t c8 = 0, r8 = 0, c13 = 0, r13 = 0;
        Com_Pixel_To_Cell_Centred(x, y, c8, r8, c13, r13);
        if (c13 != 5 || r8 != kLod8Row || r13 < 0 || r13 > 31) continue;
        int& by = reached_by[static_cast<size_t>(r13)];
        by = bottom > top ? 1 : (by == 1 ? 1 : 2);
    }
    int flat_only = 0;
    for (int16_t r = 0; r < 32; ++r) {
        if (reached_by[static_cast<size_t>(r)] != 2) continue;
        ++flat_only;
        f.Pic.Cls();
        Wc_Cell_Table.ReDim(1);
        Wc_Cell_Table(1) = Class_Cell_Rec{kLod8Col, kLod8Row, 5, r, 7};
        Wc_Cell_Count = 1;
        PSais_Draw_Class_Mode();
        EXPECT_EQ(CountInColumn(50, 0, 20, green), 1) << "row " << r;
    }
    EXPECT_GT(flat_only, 0);
}

TEST_F(ClassCells, HiddenTexturesHatchEveryCellAndTheGridSitsHalfACellNorthWest) {
    WriteTexture("007b2wa1.bmp", RGB(10, 200, 30));
    PSais_Set_Mode(Object_Mode::Water_Class);
    Textures_Shown = 0;
    Wc_Cell_Table.ReDim(1);
    Wc_Cell_Table(1) = Class_Cell_Rec{kLod8Col, kLod8Row, 5, 6, 7};
    Wc_Cell_Count = 1;
    PSais_Draw_Class_Mode();
    EXPECT_EQ(CellCount(5, 6, RGB(10, 200, 30)), 0);
    EXPECT_GT(CountInColumn(50, 56, 64, kGrey), 0);
    // Grid lines at 5, 15, ... instead of 0, 10, ...
    EXPECT_DOUBLE_EQ(Grid_First_X, -5);
    EXPECT_GT(CountInRow(15, 1, 300, Grid_Colour), 50);
    EXPECT_EQ(CountInRow(10, 1, 300, Grid_Colour), 0);
}

TEST_F(CellLayers, RedrawPutsTheGridUnderTheLinesAndTheModeLayerInCellModes) {
    PSais_Set_Mode(Object_Mode::Lines);
    PSais_Redraw_Map();
    EXPECT_EQ(CountInColumn(0, 0, 319, kRed), 320);

    PSais_Set_Mode(Object_Mode::Excl_Cells);
    Excl_Cell_Table.ReDim(1);
    Excl_Cell_Table(1).Lod8_Col = kLod8Col;
    Excl_Cell_Table(1).Lod8_Row = kLod8Row;
    Excl_Cell_Table(1).Lod13_Col = 3;
    Excl_Cell_Table(1).Lod13_Row = 3;
    Excl_Cell_Count = 1;
    PSais_Redraw_Map();
    EXPECT_GT(HatchCount(3, 3, kGrey), 0);

    // No mode: the plain map, no grid.
    PSais_Set_Mode(Object_Mode::None);
    PSais_Redraw_Map();
    EXPECT_EQ(CountInColumn(0, 0, 319, kRed), 0);
}

// The whole world on a 200 x 160 map: a hundred grid lines and three LOD8 lines fall on each
// pixel row and column. Each pixel gets one line, the LOD8 one, and every layer redraws in the
// time the picture's pixels take, not the world's 40 000 lines; so do frames no file can bring
// (a north edge of 1e308, or with 2^31 rows and more), without an integer overflow.
TEST_F(CellLayers, TheWholeWorldDrawsOneRedLinePerPixelAndEveryModeRedrawsQuicklyWhateverTheFrame) {
    Map_Lat_North = Proj_Lat_NW = 90;
    Map_Lat_South = Proj_Lat_SE = -90;
    Map_Lon_West = Proj_Lon_NW = -180;
    Map_Lon_East = Proj_Lon_SE = 180;
    Map_Width_Px = Proj_Px_SE_X = 200;
    Map_Height_Px = Proj_Px_SE_Y = 160;
    Map_Px_East = 200;
    Map_Px_South = 160;
    Pic_Centre_X = 100;
    Pic_Centre_Y = 80;
    PSais_Set_Mode(Object_Mode::Lines);
    PSais_Draw_Cell_Grid();
    EXPECT_EQ(Grid_Last_Row, 16385);
    EXPECT_EQ(Grid_Last_Col, 24577);
    int red = 0;
    for (int y = 0; y < 160; ++y) red += CountInRow(y, 0, 199, kRed);
    EXPECT_EQ(red, 200 * 160);
    EXPECT_EQ(CountInRow(170, 0, 339, kWhite), 340);

    // Every mode, with marks and class cells on the world's first cells.
    Lwm_Cell_Table.ReDim(1);
    Lwm_Cell_Count = 1;
    Excl_Cell_Table.ReDim(1);
    Excl_Cell_Count = 1;
    Lod8_Cell_Table.ReDim(1);
    Lod8_Cell_Count = 1;
    Lc_Cell_Table.ReDim(1);
    Lc_Cell_Count = 1;
    Wc_Cell_Table.ReDim(1);
    Wc_Cell_Count = 1;
    Mesh_Lod_Index = 0;
    const auto start = std::chrono::steady_clock::now();
    // At zoom 1000 the columns are 8 pixels wide and the cells are hatched or painted.
    for (double north : {90.0, 1e5, 1e308, 99999999999999999999.0, 2147483648.0 * Lod13_Height - 90, 1e10}) {
        Map_Lat_North = north;
        for (double zoom : {1.0, 20.0, 0.01, 1000.0}) {
            View_Zoom = zoom;
            for (Object_Mode mode : {Object_Mode::Lines, Object_Mode::Excl_Cells, Object_Mode::Lwm_Cells,
                                     Object_Mode::Lod8_Cells, Object_Mode::Land_Class, Object_Mode::Water_Class,
                                     Object_Mode::Grid_Points}) {
                PSais_Set_Mode(mode);
                PSais_Redraw_Map();
            }
        }
    }
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 3.0);
}

// Zoomed out, the grid-point mode's sub-grid lines fall on the same pixel rows and columns many
// times over and the repeats are left out: the picture must be the one every line drawn gives.
// A black pen through the mask pen darkens as the copy pen does, and draws every line.
TEST_F(CellLayers, SubGridLeavesThePixelsOfEveryLineDrawnAtEveryLevelAndZoom) {
    PSais_Set_Mode(Object_Mode::Grid_Points);
    Grid_Shown = 1;
    for (int16_t level : {0, 2, 4}) {
        for (double zoom : {0.3, 1.0, 3.0}) {
            Mesh_Lod_Index = level;
            View_Zoom = zoom;
            f.Pic.Cls();
            f.Pic.SetDrawMode(DM_CopyPen);
            PSais_Draw_Grid_Point_Mode();
            const Surface quick = f.Pic.Image();
            f.Pic.Cls();
            f.Pic.SetDrawMode(DM_MaskPen);
            PSais_Draw_Grid_Point_Mode();
            f.Pic.SetDrawMode(DM_CopyPen);
            int black = 0, differing = 0;
            for (int y = 0; y < quick.Height(); ++y)
                for (int x = 0; x < quick.Width(); ++x) {
                    black += quick.GetPixel(x, y) == 0;
                    differing += quick.GetPixel(x, y) != Pixel(x, y);
                }
            EXPECT_EQ(differing, 0) << "level " << level << " zoom " << zoom;
            EXPECT_GT(black, quick.Width()) << "level " << level << " zoom " << zoom;
        }
    }
}

}  // namespace
