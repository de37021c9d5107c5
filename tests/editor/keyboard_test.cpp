#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/keyboard.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/pinit_layout.h"
#include "support/program_state.h"

#include <gtest/gtest.h>

namespace {

// Line mode with one selected three-point line on a 100 x 80 map.
class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        f.Load();
        Pinit_Init_Scrollbars();
        f.Pic.Move(0, 21, 121, 91);
        Map_Width_Px = 100;
        Map_Height_Px = 80;
        Map_Px_East = 100;
        Map_Px_South = 80;
        PSais_Init_View();
        Project_Displayed = 1;
        PSais_Set_Mode(Object_Mode::Lines);
        Cur_Line = Project_Append_Line(Route_Attrib{});
        Project_Append_Point(Cur_Line, 10, 10);
        Project_Append_Point(Cur_Line, 20, 15);
        Project_Append_Point(Cur_Line, 30, 10);
        Line_Selected = 1;
        saved_api = f.Cmd_API.Click;
        saved_new_route = f.Cmd_New_Route.Click;
        saved_sel_route = f.Cmd_Sel_Route.Click;
        saved_lines = f.Cmd_Saisie_Routes.Click;
        saved_down = f.Pic.MouseDown;
        saved_dbl = f.Pic.DblClick;
    }
    // The window outlives the test: handlers that capture the test's locals must not stay on it.
    void TearDown() override {
        f.Cmd_API.Click = saved_api;
        f.Cmd_New_Route.Click = saved_new_route;
        f.Cmd_Sel_Route.Click = saved_sel_route;
        f.Cmd_Saisie_Routes.Click = saved_lines;
        f.Pic.MouseDown = saved_down;
        f.Pic.DblClick = saved_dbl;
    }
    double X(int i) { return Point_Table(Project_Line_Points(Cur_Line)[i]).X; }
    double Y(int i) { return Point_Table(Project_Line_Points(Cur_Line)[i]).Y; }
    Frm& f = Frm_Window();
    decltype(f.Cmd_API.Click) saved_api, saved_new_route, saved_sel_route, saved_lines;
    decltype(f.Pic.MouseDown) saved_down;
    decltype(f.Pic.DblClick) saved_dbl;
};

TEST_F(Keyboard, ArrowsMoveTheSelectedLineByScreenPixels) {
    Frm_Form_KeyDown(39, 1);  // Shift+Right: 1 pixel
    EXPECT_DOUBLE_EQ(X(0), 11);
    EXPECT_DOUBLE_EQ(X(2), 31);
    Frm_Form_KeyDown(38, 2);  // Ctrl+Up: 5 pixels
    EXPECT_DOUBLE_EQ(Y(1), 10);
    Frm_Form_KeyDown(37, 4);  // Alt+Left: 20 pixels
    EXPECT_DOUBLE_EQ(X(0), -9);
    View_Zoom = 2;
    Frm_Form_KeyDown(40, 1);  // Shift+Down at zoom 2: half a map pixel
    EXPECT_DOUBLE_EQ(Y(0), 5.5);
}

TEST_F(Keyboard, ArrowsMoveNothingInOtherStates) {
    Frm_Form_KeyDown(39, 3);  // Shift+Ctrl
    Frm_Form_KeyDown(39, 0);
    Frm_Form_KeyDown(36, 1);  // not an arrow
    PSais_Set_Line_Tool(Line_Tool::Sel_Line);
    Frm_Form_KeyDown(39, 1);
    PSais_Set_Line_Tool(Line_Tool::None);
    PSais_Set_Mode(Object_Mode::None);
    Frm_Form_KeyDown(39, 1);
    PSais_Set_Mode(Object_Mode::Lines);
    Line_Selected = 0;
    Frm_Form_KeyDown(39, 1);
    EXPECT_DOUBLE_EQ(X(0), 10);
    EXPECT_DOUBLE_EQ(Y(0), 10);
}

TEST_F(Keyboard, OnePointLineMovesItsPoint) {
    Cur_Line = Project_Append_Line(Route_Attrib{});
    Project_Append_Point(Cur_Line, 50, 50);
    Frm_Form_KeyDown(40, 2);
    EXPECT_DOUBLE_EQ(Y(0), 55);
}

TEST_F(Keyboard, ImageLinkedVtp1PolygonStaysInsideItsImage) {
    Route_Attrib& a = Line_Table(Cur_Line).Attr;
    a.LWM_VTP2 = 2;
    a.Image_Link = 7;
    Image_Table.ReDim(1);
    Image_Count = 1;
    Image_Table(1).Ima_Number = 7;
    Image_Table(1).Ima_X1 = 10;
    Image_Table(1).Ima_Y1 = 0;
    Image_Table(1).Ima_X2 = 35;
    Image_Table(1).Ima_Y2 = 40;
    Frm_Form_KeyDown(37, 1);  // the first point would leave by the left edge
    EXPECT_DOUBLE_EQ(X(0), 10);
    Frm_Form_KeyDown(39, 2);  // 5 right: the last point lands on the bound
    EXPECT_DOUBLE_EQ(X(2), 35);
    Image_Table(1).Ima_Number = 8;  // no image carries the number
    Frm_Form_KeyDown(39, 2);
    EXPECT_DOUBLE_EQ(X(2), 40);
}

TEST_F(Keyboard, AltPressesOnlyEnabledButtons) {
    int clicks = 0;
    f.Cmd_API.Click = [&] { ++clicks; };
    f.Cmd_API.SetEnabled(false);
    Frm_Form_KeyDown(71, 4);
    EXPECT_EQ(clicks, 0);
    f.Cmd_API.SetEnabled(true);
    Frm_Form_KeyDown(71, 2);  // Ctrl+G is no command
    EXPECT_EQ(clicks, 0);
    Frm_Form_KeyDown(71, 4);
    EXPECT_EQ(clicks, 1);
    f.Cmd_ZPlus.SetEnabled(true);
    Frm_Form_KeyDown(107, 4);
    EXPECT_NEAR(View_Zoom, 1.15, 1e-12);
}

TEST_F(Keyboard, AltNPressesTheRightButtonAtTheLastMousePosition) {
    int clicks = 0, button = 0, shift = -1;
    double x = -1, y = -1;
    f.Cmd_New_Route.Click = [&] { ++clicks; };
    f.Pic.MouseDown = [&](int b, int s, double px, double py) { button = b; shift = s; x = px; y = py; };
    f.Cmd_New_Route.SetEnabled(true);
    Frm_Form_KeyDown(78, 4);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button, 2);
    EXPECT_EQ(shift, 0);
    EXPECT_DOUBLE_EQ(x, 0);
    EXPECT_DOUBLE_EQ(y, 0);
}

TEST_F(Keyboard, PickingToolsPickAtTheMouse) {
    int picks = 0, selects = 0;
    f.Pic.DblClick = [&] { ++picks; };
    f.Cmd_Sel_Route.Click = [&] { ++selects; };
    f.Cmd_Saisie_Routes.Click = [] {};
    Mouse_X = 12.5;
    Mouse_Y = 7;
    f.Cmd_Sel_Pt_Route.SetEnabled(true);
    Frm_Form_KeyDown(79, 4);
    EXPECT_EQ(picks, 1);
    EXPECT_DOUBLE_EQ(Mouse_Down_X, 12.5);
    EXPECT_DOUBLE_EQ(Mouse_Down_Y, 7);
    // Alt+R selects and picks even with the select button disabled, but only when lines exist.
    f.Cmd_Saisie_Routes.SetEnabled(true);
    f.Cmd_Sel_Route.SetEnabled(false);
    Frm_Form_KeyDown(82, 4);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(picks, 2);
    Line_Count = 1;
    Frm_Form_KeyDown(82, 4);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(picks, 2);
}

TEST_F(Keyboard, TheWindowSeesKeysBeforeTheMap) {
    f.KeyPreview = true;
    int key = 39;
    f.KeyDown(key, 1);
    EXPECT_DOUBLE_EQ(X(0), 11);
}

}  // namespace
