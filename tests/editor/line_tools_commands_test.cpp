#include "editor/line_tools_fixture.h"

#include "app/window_hooks.h"

#include <string>

namespace {

using LineCommands = LineToolsTest;
using XY = LineToolsTest::XY;

// Selects the line nearest (x, y) and its point nearest (px, py) with the point tool.
void Select_Point(double x, double y, double px, double py) {
    Frm& f = Frm_Window();
    f.Cmd_Sel_Route.UserClick();
    f.Pic.UserDoubleClick(plat::Button_Left, 0, x, y);
    f.Cmd_Sel_Pt_Route.UserClick();
    f.Pic.UserDoubleClick(plat::Button_Left, 0, px, py);
}

// ---------------------------------------------------------------------------------------------
// Delete

TEST_F(LineCommands, DeletingPointsUnlinksThemAndKeepsTheChainSound) {
    const int32_t line = Add_Line({{20, 20}, {60, 60}, {100, 20}, {140, 60}});
    Select_Point(60, 60, 60, 60);
    f.Cmd_Sup_Route_Ou_Pt.UserClick();
    EXPECT_EQ(Points(line), (std::vector<XY>{{20, 20}, {100, 20}, {140, 60}}));
    EXPECT_EQ(Points_Backwards(line), Points(line));
    EXPECT_EQ(Line_Table(line).Nb_Points, 3);
    EXPECT_EQ(Point_Selected, 0);
    EXPECT_TRUE(host.boxes.empty());

    Select_Point(20, 20, 20, 20);
    Key(46);   // the Delete key does the same
    EXPECT_EQ(Points(line), (std::vector<XY>{{100, 20}, {140, 60}}));
    EXPECT_EQ(Point_Table(Line_Table(line).First_Point).Prev_Point, 0);

    Select_Point(140, 60, 140, 60);
    f.Cmd_Sup_Route_Ou_Pt.UserClick();
    EXPECT_EQ(Points(line), (std::vector<XY>{{100, 20}}));
    EXPECT_EQ(Point_Table(Line_Table(line).Last_Point).Next_Point, 0);
    EXPECT_EQ(Line_Count, 2);
}

TEST_F(LineCommands, DeletingTheOnlyPointAsksAndNoKeepsTheLine) {
    const int32_t line = Add_Line({{50, 50}});
    Select_Point(50, 50, 50, 50);
    host.QueueAnswer(plat::ID_NO);
    f.Cmd_Sup_Route_Ou_Pt.UserClick();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_NE(host.boxes[0].prompt.find("ligne"), std::string::npos) << host.boxes[0].prompt;
    EXPECT_EQ(Line_Count, 2);
    EXPECT_EQ(Points(line), (std::vector<XY>{{50, 50}}));
}

TEST_F(LineCommands, DeletingTheOnlyPointWithYesDeletesTheLineAndTheLaterLinesMoveDown) {
    Add_Line({{20, 20}, {30, 30}});
    Add_Line({{50, 50}});
    const int32_t later_id = Line_Table(Add_Line({{100, 100}, {120, 120}, {140, 100}})).Line_Id;
    Select_Point(50, 50, 50, 50);
    host.QueueAnswer(plat::ID_YES);
    f.Cmd_Sup_Route_Ou_Pt.UserClick();
    ASSERT_EQ(Line_Count, 3);
    EXPECT_EQ(Line_Table(3).Line_Id, later_id);
    EXPECT_EQ(Points(3), (std::vector<XY>{{100, 100}, {120, 120}, {140, 100}}));
    EXPECT_EQ(Line_Selected, 0);
    EXPECT_EQ(Point_Selected, 0);
    EXPECT_EQ(Red_Line_Shown, 0);

    // The deleted line's point is no longer selected: Tab picks a line instead of walking
    // the points of whatever line took the old index.
    f.Cmd_Tabul.UserClick();
    EXPECT_EQ(Line_Selected, 1);
    EXPECT_EQ(Point_Selected, 0);
    EXPECT_EQ(Sel_Point_Armed, 0);
}

TEST_F(LineCommands, DeleteWithoutASelectedPointAsksForTheWholeLine) {
    Add_Line({{20, 20}, {60, 20}});
    Select_Line_At(20, 20);
    host.QueueAnswer(plat::ID_NO);
    f.Cmd_Sup_Route_Ou_Pt.UserClick();
    EXPECT_EQ(Line_Count, 2);
    host.QueueAnswer(plat::ID_YES);
    Key(46);
    EXPECT_EQ(Line_Count, 1);
    EXPECT_EQ(host.boxes.size(), 2u);
    // With no line selected nothing is asked.
    Key(46);
    EXPECT_EQ(host.boxes.size(), 2u);
}

// ---------------------------------------------------------------------------------------------
// Tab

TEST_F(LineCommands, TabWalksTheLinesWithPointsAndWrapsToTheFirst) {
    const int32_t a = Add_Line({{20, 20}, {40, 20}});
    Add_Line({});
    const int32_t c = Add_Line({{20, 60}});
    f.Cmd_Tabul.UserClick();
    EXPECT_EQ(Cur_Line, a);
    EXPECT_EQ(Red_Line_Index, a);
    f.Cmd_Tabul.UserClick();
    EXPECT_EQ(Cur_Line, c);
    f.Cmd_Tabul.UserClick();
    EXPECT_EQ(Cur_Line, a);
    EXPECT_EQ(Line_Selected, 1);
    // The view is centred on the line's first point, and the line drawn red there.
    EXPECT_EQ(At(110, 80), kRed);
}

TEST_F(LineCommands, TabWalksThePointsOfTheLineAndWrapsToTheFirst) {
    const int32_t line = Add_Line({{20, 20}, {60, 20}, {100, 20}});
    Select_Point(100, 20, 100, 20);
    const std::vector<int32_t> ids = Project_Line_Points(line);
    f.Cmd_Tabul.UserClick();
    EXPECT_EQ(Cur_Point, ids[0]);
    EXPECT_TRUE(f.Cercle.Visible());
    EXPECT_EQ(f.Cercle.Left(), 15);
    f.Cmd_Tabul.UserClick();
    EXPECT_EQ(Cur_Point, ids[1]);
    // The point is ready to be moved.
    Click(0, 0);
    Click(60, 80);
    EXPECT_EQ(Points(line)[1], (XY{60, 80}));
}

TEST_F(LineCommands, TabBringsAPointOutsideThePictureIntoView) {
    Map_Width_Px = 400;
    Map_Px_East = 400;
    PSais_Init_View();
    const int32_t line = Add_Line({{20, 80}, {350, 80}});
    Select_Point(20, 80, 20, 80);
    f.Cmd_Tabul.UserClick();
    ASSERT_EQ(Cur_Point, Line_Table(line).Last_Point);
    double px = 0, py = 0;
    PSais_Map_To_Picture(350, 80, px, py);
    EXPECT_NEAR(px, 100, 1e-9);
    EXPECT_NEAR(py, 80, 1e-9);
}

TEST_F(LineCommands, TabEndsTheRunningToolSoNoPointGoesToTheOldLine) {
    const int32_t a = Add_Line({{20, 20}, {60, 20}});
    const int32_t b = Add_Line({{20, 100}, {60, 100}, {100, 100}});
    Select_Point(60, 20, 60, 20);
    Select_Line_At(100, 100);
    f.Cmd_Extr_Pt_Route.UserClick();
    f.Cmd_Tabul.UserClick();
    const int32_t points_before = Point_Count;
    Click(150, 150);
    EXPECT_EQ(Point_Count, points_before);
    EXPECT_EQ(Points(a), (std::vector<XY>{{20, 20}, {60, 20}}));
    EXPECT_EQ(Points(b), (std::vector<XY>{{20, 100}, {60, 100}, {100, 100}}));
}

TEST_F(LineCommands, TabKeepsAnArmedNewLineToolSoTheNextClickStartsALine) {
    const int32_t a = Add_Line({{20, 20}, {60, 20}});
    f.Cmd_New_Route.UserClick();
    f.Cmd_Tabul.UserClick();
    EXPECT_EQ(Cur_Line, a);
    EXPECT_EQ(Red_Line_Index, a);
    EXPECT_EQ(New_Line_Armed, 1);
    Click(150, 150);
    EXPECT_EQ(dialogs, 1);
    ASSERT_EQ(Line_Count, 3);
    EXPECT_EQ(Line_Table(3).Nb_Points, 1);
    EXPECT_EQ(Cur_Line, 3);
    EXPECT_EQ(Points(a), (std::vector<XY>{{20, 20}, {60, 20}}));
}

// ---------------------------------------------------------------------------------------------
// Esc and the end of a tool

TEST_F(LineCommands, EscWhileExtendingKeepsTheEndPointSelectedThenASecondEscEndsIt) {
    f.Cmd_New_Route.UserClick();
    Click(20, 20);
    Click(60, 20);
    Move(80, 50);
    ASSERT_TRUE(f.Ln1.Visible());
    Key(27);
    EXPECT_FALSE(f.Ln1.Visible());
    EXPECT_TRUE(f.Cercle.Visible());
    EXPECT_EQ(f.Cercle.Left(), 55);
    EXPECT_EQ(Extend_Tool, 0);
    EXPECT_EQ(Sel_Point_Armed, 1);
    // The next click lifts the end point instead of adding one.
    Click(80, 50);
    EXPECT_EQ(Line_Table(2).Nb_Points, 2);
    EXPECT_EQ(Point_Lift_Ready, 0);
    Key(27);
    EXPECT_FALSE(f.Ln1.Visible());
    EXPECT_FALSE(f.Cercle.Visible());
    EXPECT_EQ(Sel_Point_Armed, 0);
    EXPECT_EQ(Points(2), (std::vector<XY>{{20, 20}, {60, 20}}));
}


TEST_F(LineCommands, ChangingModeEndsTheToolAndClearsTheSelection) {
    f.Cmd_New_Route.UserClick();
    Click(20, 20);
    Move(80, 50);
    ASSERT_TRUE(f.Ln1.Visible());
    f.Cmd_TrtArea.UserClick();
    EXPECT_EQ(Mode_Lwm_Cells, 1);
    EXPECT_FALSE(f.Ln1.Visible());
    EXPECT_FALSE(f.Cercle.Visible());
    EXPECT_EQ(Line_Selected, 0);
    EXPECT_EQ(Extend_Tool, 0);
    // Back in the line mode nothing is armed: a click adds nothing.
    f.Cmd_Saisie_Routes.UserClick();
    Click(90, 90);
    EXPECT_EQ(Line_Table(2).Nb_Points, 1);
}

// ---------------------------------------------------------------------------------------------
// Attribute edit

TEST_F(LineCommands, RightClickEditsTheSelectedLinesAttributes) {
    const int32_t line = Add_Line({{20, 20}, {60, 20}}, 1);
    Click(20, 20, plat::Button_Right);   // no line selected yet: nothing
    EXPECT_EQ(dialogs, 0);
    Select_Line_At(20, 20);
    next_attr.SurfShore = 3;
    next_attr.Text_Rt = "Coast";
    Click(150, 150, plat::Button_Right);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(shown_attr.SurfShore, 1);   // the dialog starts from the line's attributes
    EXPECT_EQ(Line_Table(line).Attr, next_attr);
    EXPECT_EQ(Line_Count, 2);

    accept = false;
    next_attr.Text_Rt = "not kept";
    Click(150, 150, plat::Button_Right);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(Line_Table(line).Attr.Text_Rt, "Coast");
}



}  // namespace

namespace {

// The attribute dialog itself, answered by a script as a person would.
TEST_F(LineCommands, TheLineDialogStartsANewLineFromItsDefaultsOrMakesNoneWhenClosed) {
    Line_Tools_Reset();
    Window_Hooks_Connect();
    host.OnModal("Frm_Route", [](plat::Form& d) { d.UserClose(); });
    f.Cmd_New_Route.UserClick();
    Click(20, 20);
    EXPECT_EQ(Line_Count, 1);
    EXPECT_EQ(New_Line_Armed, 0);

    host.OnModal("Frm_Route", [](plat::Form& d) { static_cast<Frm_Route&>(d).Cmd_Ok.UserClick(); });
    f.Cmd_New_Route.UserClick();
    Click(20, 20);
    ASSERT_EQ(Line_Count, 2);
    EXPECT_EQ(Line_Table(2).Attr.Largeur, 64);
    EXPECT_EQ(Line_Table(2).Attr, Route_Attrib_Result);

    // A right click on the selected line opens it on the line's attributes.
    Line_Table(2).Attr.Largeur = 7;
    host.OnModal("Frm_Route", [](plat::Form& d) {
        auto& route = static_cast<Frm_Route&>(d);
        EXPECT_EQ(route.Largeur.Text(), "7");
        route.Opt_SurfShore(2).SetValue(true);
        route.Cmd_Ok.UserClick();
    });
    Click(100, 100, plat::Button_Right);
    EXPECT_EQ(Line_Table(2).Attr.Largeur, 7);
    EXPECT_EQ(Line_Table(2).Attr.SurfShore, 2);
    EXPECT_TRUE(host.modal_scripts["Frm_Route"].empty());
}

}  // namespace
