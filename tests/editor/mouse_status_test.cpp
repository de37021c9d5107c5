#include "core/coord_text.h"
#include "core/grid.h"
#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/mouse_status.h"
#include "editor/pinit_layout.h"
#include "support/program_state.h"

#include <gtest/gtest.h>

namespace {

// A 100 x 80 map shown at zoom 1 in a 121 x 91 picture, map pixel (0, 0) at the picture's
// top-left corner; calibrated from 45N 5E at (0, 0) to 44N 6E at (100, 80).
class MouseStatus : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        f.Load();
        Pinit_Init_Scrollbars();
        f.Pic.Move(0, 21, 121, 91);
        Map_Width_Px = 100;
        Map_Height_Px = 80;
        Map_Px_West = 0;
        Map_Px_North = 0;
        Map_Px_East = 100;
        Map_Px_South = 80;
        Proj_Lat_NW = 45;
        Proj_Lon_NW = 5;
        Proj_Lat_SE = 44;
        Proj_Lon_SE = 6;
        Proj_Px_SE_X = 100;
        Proj_Px_SE_Y = 80;
        PSais_Init_View();
        Project_Displayed = 1;
    }
    void Move(double x, double y) { f.Pic.MouseMove(0, 0, x, y); }
    Frm& f = Frm_Window();
};

TEST_F(MouseStatus, LabelsShowWhereTheMouseStandsOnTheMap) {
    Move(50, 40);
    EXPECT_EQ(Mouse_Col, 50);
    EXPECT_EQ(Mouse_Row, 40);
    EXPECT_EQ(f.L_MouseBmp.Caption(), "Mouse 50x40");
    EXPECT_EQ(f.LLatDec.Caption(), "44.5");
    EXPECT_EQ(f.LLonDec.Caption(), "5.5");
    EXPECT_EQ(f.LLat.Caption(), Com_Format_Lat_Dms(44.5));
    EXPECT_EQ(f.LLon.Caption(), Com_Format_Lon_Dms(5.5));
    int16_t c8, r8, c13, r13, x, y;
    Com_Pixel_To_Sub_Pos_Clamped(50, 40, c8, r8, c13, r13, x, y);
    EXPECT_EQ(f.L_NumCell_Area.Caption(), "C: " + std::to_string(c8) + "-" + std::to_string(r8) +
                                              "  A: " + std::to_string(c13) + "-" + std::to_string(r13) +
                                              "  x,y " + std::to_string(x) + "-" + std::to_string(y));
    EXPECT_EQ(f.L_CustomBmp.Caption(), Com_Cell_Quad_Key(c8, r8, c13, r13) + "xx.Bmp");
    EXPECT_EQ(f.L_CustomBmp.Caption().size(), 15u + 6u);
}

TEST_F(MouseStatus, NorthWestCalibrationPixelShowsTheCalibrationValues) {
    Proj_Lat_NW = 45.1234567;
    Proj_Lon_NW = -5.7654321;
    Move(0, 0);
    EXPECT_EQ(f.LLatDec.Caption(), "45.1234567");
    EXPECT_EQ(f.LLonDec.Caption(), "-5.7654321");
    EXPECT_EQ(f.LLat.Caption(), Com_Format_Lat_Dms(45.1234567));
}

TEST_F(MouseStatus, DecimalDegreesAreRoundedDownToSevenDecimals) {
    EXPECT_EQ(Mouse_Decimal_Degrees(-12.34567891), "-12.345679");
    EXPECT_EQ(Mouse_Decimal_Degrees(12.34567899), "12.3456789");
    EXPECT_EQ(Mouse_Decimal_Degrees(0.1), "0.1");
}

TEST_F(MouseStatus, BesideTheMapLabelsEmptyAndThePixelStaysOnTheEdge) {
    Move(50, 40);
    Move(115, 88);   // in the picture, right of and below the map
    EXPECT_EQ(Mouse_Col, 100);
    EXPECT_EQ(Mouse_Row, 80);
    EXPECT_DOUBLE_EQ(Mouse_X, 100);
    for (plat::Label* l : {&f.L_MouseBmp, &f.LLat, &f.LLon, &f.LLatDec, &f.LLonDec, &f.L_NumCell_Area,
                           &f.L_CustomBmp})
        EXPECT_EQ(l->Caption(), "") << l->Name();
    Move(-30, 500);  // outside the picture itself
    EXPECT_EQ(Mouse_Col, 0);
    EXPECT_EQ(Mouse_Row, 80);
}

TEST_F(MouseStatus, NothingChangesWithoutAProjectOrWhileAGridPointIsEdited) {
    Move(50, 40);
    Project_Displayed = 0;
    Move(10, 10);
    EXPECT_EQ(Mouse_Col, 50);
    EXPECT_EQ(f.L_MouseBmp.Caption(), "Mouse 50x40");
    Project_Displayed = 1;
    PSais_Set_Mode(Object_Mode::Grid_Points);
    Grid_Point_Busy = 1;
    Move(10, 10);
    EXPECT_EQ(Mouse_Row, 40);
    EXPECT_DOUBLE_EQ(Mouse_X, 50);
}

TEST_F(MouseStatus, LineModeKeepsThePositionUnclampedButTheCellClamped) {
    PSais_Set_Mode(Object_Mode::Lines);
    Move(110, 85);
    EXPECT_DOUBLE_EQ(Mouse_X, 110);
    EXPECT_DOUBLE_EQ(Mouse_Y, 85);
    EXPECT_EQ(Mouse_Col, 100);
    EXPECT_EQ(Mouse_Row, 80);
}

TEST_F(MouseStatus, ExtendBandFollowsTheMouseInsideTheMapOnly) {
    PSais_Set_Mode(Object_Mode::Lines);
    Line_Selected = 1;
    Cur_Line = Project_Append_Line(Route_Attrib{});
    Cur_Point = Project_Append_Point(Cur_Line, 10, 20);
    PSais_Set_Line_Tool(Line_Tool::Extend);
    Move(30, 35);
    EXPECT_TRUE(f.Ln1.Visible());
    EXPECT_FALSE(f.Ln2.Visible());
    f.Ln1.SetVisible(false);
    PSais_Set_Line_Tool(Line_Tool::Extend, {.Waiting = 1});
    Move(31, 36);
    EXPECT_FALSE(f.Ln1.Visible());
    PSais_Set_Line_Tool(Line_Tool::Extend);
    Move(110, 85);
    EXPECT_FALSE(f.Ln1.Visible());
}

}  // namespace
