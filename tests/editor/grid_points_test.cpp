#include "core/project.h"
#include "core/project_file.h"
#include "dialogs/dialog_services.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/grid_points.h"
#include "editor/map_view.h"
#include "editor/pinit_layout.h"
#include "editor/project_commands.h"
#include "platform/number.h"
#include "support/program_state.h"

#include "open_map.h"

#include <gtest/gtest.h>

#include <string>

using namespace plat;

namespace {

constexpr Colour kWhite = RGB(255, 255, 255);
constexpr Colour kRed = 255;
constexpr Colour kBlack = 0;

// The grid-point mode on a 256 x 256 map shown whole in a 256 x 256 picture; the calibrated
// rectangle is one LOD13 cell from (0, 0) to (255, 255), so a cell step is 255 picture pixels.
// The altitude popup is a hook that stores `altitude` as the real popup does (or closes
// without a value when `accept` is false).
class GridPoints : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Open_Map_Whole(f, 256, 256, 255, 255);
        Map_Lat_North = 45;
        Map_Lat_South = 45 - 0.010986328125;
        Map_Lon_West = 5;
        Map_Lon_East = 5 + 0.0146484375;
        Mesh_Lod_Chosen = 1;
        Grid_Point_Dialogs.Show_Altitude = [this] {
            ++popups;
            busy_while_open = Grid_Point_Busy;
            if (!accept) return;
            Grid_Point_Rec& r = Grid_Point_Table(Cur_Grid_Point);
            r.Alt = altitude;
            if (r.Defined != 1) {
                PSais_Picture_To_Map(Mouse_X, Mouse_Y, r.X, r.Y);
                r.Defined = 1;
            }
            Grid_Dlg_Cancelled = 0;
            Last_Grid_Alt = altitude;
        };
        f.Cmd_TrtMesh.UserClick();
    }
    void TearDown() override { Grid_Point_Dialogs = Grid_Point_Windows{}; }

    void Move(double x, double y) { f.Pic.UserMouseMove(0, 0, x, y); }
    void Click_At(double x, double y) {
        Move(x, y);
        f.Pic.UserMouseDown(Button_Left, 0, x, y);
        f.Pic.UserMouseUp(Button_Left, 0, x, y);
    }
    int32_t Add_Point(double x, double y, float alt, uint8_t defined = 1) {
        Table_Grow_If_Full(Grid_Point_Table, Grid_Point_Count, Grid_Point_Capacity, Grid_Point_Growth);
        Grid_Point_Rec& r = Grid_Point_Table(++Grid_Point_Count);
        r.Defined = defined;
        r.X = x;
        r.Y = y;
        r.Alt = alt;
        return Grid_Point_Count;
    }
    Colour At(int x, int y) const { return f.Pic.Image().GetPixel(x, y); }
    // Black pixels of picture column x, rows 0 .. 255.
    int Black_Rows(int x) const {
        int n = 0;
        for (int y = 0; y < 256; ++y) n += At(x, y) == kBlack;
        return n;
    }

    Frm& f = Frm_Window();
    bool accept = true;
    float altitude = 250.5f;
    int popups = 0;
    int16_t busy_while_open = 0;
};

// ---------------------------------------------------------------------------------------------
// The click and the Delete key

TEST_F(GridPoints, AcceptedAltitudeDefinesAPointWhereTheMouseIsAndDrawsItsCross) {
    Grid_Shown = 0;
    PSais_Redraw_Map();
    Click_At(100, 80);
    ASSERT_EQ(popups, 1);
    ASSERT_EQ(Grid_Point_Count, 1);
    const Grid_Point_Rec& r = Grid_Point_Table(1);
    EXPECT_EQ(r.Defined, 1);
    EXPECT_EQ(r.X, 100);
    EXPECT_EQ(r.Y, 80);
    EXPECT_EQ(r.Alt, 250.5f);
    EXPECT_EQ(At(97, 80), kRed);
    EXPECT_EQ(At(102, 80), kRed);
    EXPECT_EQ(At(100, 77), kRed);
    EXPECT_EQ(At(100, 82), kRed);
    EXPECT_EQ(At(96, 80), kWhite);
    EXPECT_EQ(At(101, 81), kWhite);
    EXPECT_EQ(Grid_Point_Busy, 0);
    EXPECT_EQ(busy_while_open, 1);

    // A click on it changes its altitude only.
    altitude = 12;
    Click_At(101, 81);
    EXPECT_EQ(Grid_Point_Count, 1);
    EXPECT_EQ(Grid_Point_Table(1).Alt, 12);
    EXPECT_EQ(Grid_Point_Table(1).X, 100);
}

TEST_F(GridPoints, CancelledPopupLeavesAnUndefinedRecordThatIsNeitherDrawnNorSaved) {
    accept = false;
    Click_At(100, 80);
    Click_At(150, 80);
    EXPECT_EQ(popups, 2);
    EXPECT_EQ(Grid_Point_Count, 2);
    EXPECT_EQ(Grid_Point_Table(1).Defined, 0);
    EXPECT_EQ(Grid_Point_Table(2).Defined, 0);
    PSais_Redraw_Map();
    EXPECT_NE(At(97, 80), kRed);

    // A third click that is accepted becomes the one saved point.
    accept = true;
    Click_At(200, 200);
    EXPECT_EQ(Grid_Point_Count, 3);
    const std::string text = Project_File_Text("x.LWM", "");
    const size_t tag = text.find("0200 ");
    ASSERT_NE(tag, std::string::npos);
    // Level 2, chosen, one point.
    EXPECT_EQ(text.substr(tag, text.find('\r', tag) - tag), "0200  2  1  1");
}



TEST_F(GridPoints, DeleteKeyUndefinesThePointUnderTheMouseOnly) {
    Add_Point(100, 80, 5);
    PSais_Redraw_Map();
    ASSERT_EQ(At(97, 80), kRed);
    Move(30, 30);
    f.Pic.UserKeyDown(46, 0);
    EXPECT_EQ(Grid_Point_Table(1).Defined, 1);

    Move(101, 79);
    f.Pic.UserKeyDown(46, 1);   // with Shift: not the Delete command
    EXPECT_EQ(Grid_Point_Table(1).Defined, 1);
    f.Pic.UserKeyDown(46, 0);
    EXPECT_EQ(Grid_Point_Table(1).Defined, 0);
    EXPECT_EQ(Grid_Point_Count, 1);
    EXPECT_NE(At(97, 80), kRed);
}

// Delete acts in the current mode only: the grid-point mode leaves the selected line alone, and a
// cell mode touches neither the line nor the grid point.
TEST_F(GridPoints, DeleteKeyReachesOnlyTheCurrentModesObject) {
    const int32_t line = Project_Append_Line(Route_Attrib{});
    Project_Append_Point(line, 10, 10);
    Project_Append_Point(line, 40, 10);
    Line_Selected = 1;
    Cur_Line = line;
    Add_Point(100, 80, 5);
    Move(101, 79);
    f.Pic.UserKeyDown(46, 0);
    EXPECT_EQ(Grid_Point_Table(1).Defined, 0);
    EXPECT_EQ(Line_Count, line);
    EXPECT_EQ(Line_Table(line).Nb_Points, 2);

    Grid_Point_Table(1).Defined = 1;
    f.Cmd_TrtArea.UserClick();
    ASSERT_EQ(Mode_Lwm_Cells, 1);
    Line_Selected = 1;
    Cur_Line = line;
    Cur_Grid_Point = 1;
    f.Pic.UserKeyDown(46, 0);
    EXPECT_EQ(Grid_Point_Table(1).Defined, 1);
    EXPECT_EQ(Line_Count, line);
    EXPECT_EQ(Line_Table(line).Nb_Points, 2);
}

TEST_F(GridPoints, AClickAfterTheTablesWereEmptiedStartsANewPoint) {
    Add_Point(100, 80, 5);
    Move(100, 80);
    ASSERT_EQ(Cur_Grid_Point, 1);
    PSais_Init_Arrays();
    f.Pic.UserMouseDown(Button_Left, 0, 100, 80);
    EXPECT_EQ(Grid_Point_Count, 1);
    EXPECT_EQ(Grid_Point_Table(1).Defined, 1);
    EXPECT_EQ(Grid_Point_Table(1).Alt, 250.5f);
}

// ---------------------------------------------------------------------------------------------
// The altitude tip

TEST_F(GridPoints, TipShowsTheAltitudeOfTheFirstDefinedPointWithinTwoMapPixels) {
    Add_Point(100, 80, 7, 0);
    Add_Point(101, 80, 250.3f);
    Add_Point(100, 80, 99);
    Move(102, 82);
    EXPECT_EQ(Cur_Grid_Point, 2);
    EXPECT_EQ(f.LPtGrid.Caption(), "Altitude= 250.3");
    EXPECT_EQ(f.LPtGrid.BackColor(), RGB(0xFF, 0xC0, 0xFF));
    EXPECT_TRUE(f.LPtGrid.Visible());

    // The altitude in the user's decimal form.
    plat::SetDecimalSeparator(',');
    Grid_Point_Table(2).Alt = -12.25f;
    Move(101, 80);
    EXPECT_EQ(f.LPtGrid.Caption(), "Altitude= -12,25");
    plat::SetDecimalSeparator('.');

    Move(104, 80);
    EXPECT_EQ(Cur_Grid_Point, 0);
    EXPECT_EQ(f.LPtGrid.Caption(), "");
    EXPECT_EQ(f.LPtGrid.BackColor(), RGB(0xFF, 0xFF, 0xC0));
    EXPECT_TRUE(f.LPtGrid.Visible());
}


TEST_F(GridPoints, TipFindsAPointUpToTwoMapPixelsBeyondTheMapEdge) {
    Add_Point(255, 100, 3);
    Mouse_X = 257;
    Mouse_Y = 100;
    PSais_Show_Altitude_Tip();
    EXPECT_EQ(Cur_Grid_Point, 1);
    Mouse_X = 258;
    PSais_Show_Altitude_Tip();
    EXPECT_EQ(Cur_Grid_Point, 0);
}

TEST_F(GridPoints, TipStaysBesideThePointerAndFlipsNearTheRightAndBottomEdges) {
    Move(100, 80);
    EXPECT_EQ(f.LPtGrid.Left(), 105);
    EXPECT_EQ(f.LPtGrid.Top(), 85);
    Move(240, 250);
    EXPECT_EQ(f.LPtGrid.Left(), 240 - f.LPtGrid.Width() - 5);
    EXPECT_EQ(f.LPtGrid.Top(), 250 - f.LPtGrid.Height() - 5);
}

// ---------------------------------------------------------------------------------------------
// What the mode draws

TEST_F(GridPoints, SubGridHasTheLinesOfTheChosenLevelPerCellFirstSolidOthersDotted) {
    // Column 1 is on every dotted pen run and on no vertical sub-grid line; column 4 lies in a
    // gap of the dotted pen, so only solid lines show there.
    for (int level : {0, 2, 4}) {
        SCOPED_TRACE(level);
        Mesh_Lod_Index = static_cast<int16_t>(level);
        PSais_Redraw_Map();
        EXPECT_EQ(Black_Rows(1), 256 / (2 << level));
        EXPECT_EQ(At(1, 255), kWhite);   // the closing line of the cell is not drawn
    }
    EXPECT_EQ(Black_Rows(4), 1);
    EXPECT_EQ(At(4, 0), kBlack);
    EXPECT_EQ(At(1, 32), kBlack);
    EXPECT_EQ(At(1, 16), kWhite);
}

TEST_F(GridPoints, LevelReadFromADamagedFileDrawsNoMoreThanTheFinestGrid) {
    Mesh_Lod_Index = -20;
    PSais_Redraw_Map();
    EXPECT_EQ(Black_Rows(1), 128);
}

TEST_F(GridPoints, WithoutTheGridTheLinesAndCrossesAreStillDrawnInOrder) {
    Grid_Shown = 0;
    Route_Attrib a;
    const int32_t line = Project_Append_Line(a);
    Project_Append_Point(line, 20, 100);
    Project_Append_Point(line, 200, 100);
    const int32_t single = Project_Append_Line(a);
    Project_Append_Point(single, 50, 50);
    Add_Point(150, 100, 1);
    Mesh_Lod_Index = 0;
    PSais_Redraw_Map();
    EXPECT_EQ(Black_Rows(1), 0);
    EXPECT_EQ(At(60, 100), kRed);
    EXPECT_TRUE(At(60, 99) == kRed || At(60, 101) == kRed);   // 2 pixels wide
    EXPECT_EQ(At(150, 97), kRed);                              // the grid point's cross
    EXPECT_EQ(At(50, 50), kWhite);                             // a 1-point line is not drawn
}

TEST_F(GridPoints, CellModesShowTheLinesAsARedOverlay) {
    Route_Attrib a;
    a.SurfShore = 2;
    const int32_t line = Project_Append_Line(a);
    Project_Append_Point(line, 20, 100);
    Project_Append_Point(line, 200, 100);
    f.Cmd_TrtArea.UserClick();
    EXPECT_EQ(At(60, 100), kRed);
    EXPECT_FALSE(f.LPtGrid.Visible());
}

}  // namespace
