#include "core/erreur.h"
#include "core/project.h"
#include "dialogs/dialog_services.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/object_modes.h"
#include "editor/pinit_layout.h"
#include "editor/project_commands.h"
#include "platform/headless/headless_host.h"
#include "support/program_state.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plat;

namespace {

constexpr Colour kMarker = RGB(1, 2, 3);

// The main window with a project open and shown: a 100 x 80 calibrated map, no mode yet.
class ObjectModes : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        f.Show();
        f.Pic.SetVisible(true);
        Pinit_Set_No_Project();
        Pinit_Set_Project_Open();
        Project_Open = 1;
        Project_Displayed = 1;
        Map_Px_West = 10;
        Map_Px_North = 10;
        Map_Px_East = 100;
        Map_Px_South = 80;
        Mouse_Col = Mouse_Row = 0;
    }

    std::vector<CommandButton*> Mode_Buttons() {
        return {&f.Cmd_Saisie_Routes, &f.Cmd_TrtArea,    &f.Cmd_TrtCell, &f.Cmd_Excl_Areas,
                &f.Cmd_LandClass,     &f.Cmd_WaterClass, &f.Cmd_TrtMesh};
    }
    std::vector<CommandButton*> Line_Tools() {
        return {&f.Cmd_Sel_Route,     &f.Cmd_New_Route,       &f.Cmd_Ins_Pt_Route, &f.Cmd_Sel_Pt_Route,
                &f.Cmd_Extr_Pt_Route, &f.Cmd_Sup_Route_Ou_Pt, &f.Cmd_Tabul};
    }
    std::vector<const int16_t*> Mode_Flags() {
        return {&Mode_Lines,      &Mode_Lwm_Cells,   &Mode_Lod8_Cells, &Mode_Excl_Cells,
                &Mode_Land_Class, &Mode_Water_Class, &Mode_Images,     &Mode_Grid_Points};
    }
    int Modes_Set() {
        int n = 0;
        for (const int16_t* flag : Mode_Flags()) n += *flag;
        return n;
    }

    // A marker pixel outside the map rectangle: gone after a redraw, there without one.
    void Mark_Picture() { f.Pic.Image().PSet(150, 150, kMarker); }
    bool Redrawn() const { return f.Pic.Image().GetPixel(150, 150) != kMarker; }

    // Polygon linked to image 7, whose rectangle is 20..60 x 20..50; one point is given.
    void Linked_Polygon(double x, double y, int16_t shore = 0) {
        Route_Attrib a;
        a.SurfShore = shore;
        a.Image_Link = 7;
        const int32_t line = Project_Append_Line(a);
        Project_Append_Point(line, 30, 30);
        Project_Append_Point(line, x, y);
        Table_Grow_If_Full(Image_Table, Image_Count, Image_Capacity, Image_Growth);
        Image_Rec& image = Image_Table(++Image_Count);
        image.Ima_In_Use = 1;
        image.Ima_Number = 7;
        image.Ima_X1 = 20;
        image.Ima_Y1 = 20;
        image.Ima_X2 = 60;
        image.Ima_Y2 = 50;
    }
    Point_Rec& Last_Point_Of_Line_2() { return Point_Table(Line_Table(2).Last_Point); }

    Frm& f = Frm_Window();
    HeadlessHost& host = DefaultHeadlessHost();
};

// ---------------------------------------------------------------------------------------------
// Tool bar

TEST_F(ObjectModes, EachModeButtonSetsItsModeAndLeavesEveryOtherModeButtonUsable) {
    Mesh_Lod_Chosen = 1;
    const std::vector<const int16_t*> flag_of = {&Mode_Lines,      &Mode_Lwm_Cells,   &Mode_Lod8_Cells, &Mode_Excl_Cells,
                                           &Mode_Land_Class, &Mode_Water_Class, &Mode_Grid_Points};
    const std::vector<CommandButton*> buttons = Mode_Buttons();
    // Walk through the modes in an order where each button is usable when pressed.
    for (size_t k : {2u, 1u, 3u, 4u, 5u, 6u, 0u, 4u}) {
        SCOPED_TRACE(buttons[k]->Name());
        buttons[k]->UserClick();
        EXPECT_EQ(*flag_of[k], 1);
        EXPECT_EQ(Modes_Set(), 1);
        for (size_t j = 0; j < buttons.size(); ++j) EXPECT_EQ(buttons[j]->Enabled(), j != k) << buttons[j]->Name();
        EXPECT_TRUE(f.Cmd_FSUIPC.Enabled());
        for (CommandButton* tool : Line_Tools()) EXPECT_EQ(tool->Enabled(), k == 0) << tool->Name();
        EXPECT_EQ(f.Cmd_AffTexture.Enabled(), k == 4 || k == 5);
        EXPECT_EQ(f.LPtGrid.Visible(), k == 6);
        EXPECT_EQ(f.Pic.MousePointer(), Pointer_Cross);
        for (CommandButton* b : {&f.Cmd_TrtIma, &f.Cmd_New_Ima, &f.Cmd_Sel_Ima, &f.Cmd_Sel_Crb_Ima})
            EXPECT_FALSE(b->Enabled()) << b->Name();
        EXPECT_EQ(Mode_Images, 0);
    }
}

TEST_F(ObjectModes, ModeChangeRedrawsTheMap) {
    Mark_Picture();
    f.Cmd_TrtCell.UserClick();
    EXPECT_TRUE(Redrawn());
    Mark_Picture();
    f.Cmd_Saisie_Routes.UserClick();
    EXPECT_TRUE(Redrawn());
}

TEST_F(ObjectModes, ResettingTheToolBarLeavesNoModeAndNoToolOfAMode) {
    f.Cmd_Saisie_Routes.UserClick();
    PSais_Enable_Tool_Buttons();
    EXPECT_EQ(Modes_Set(), 0);
    for (CommandButton* b : Mode_Buttons()) EXPECT_TRUE(b->Enabled()) << b->Name();
    for (CommandButton* tool : Line_Tools()) EXPECT_FALSE(tool->Enabled()) << tool->Name();
    EXPECT_FALSE(f.Cmd_AffTexture.Enabled());
}

// ---------------------------------------------------------------------------------------------
// Re-mesh level

TEST_F(ObjectModes, ReMeshModeAsksForTheLevelOnlyUntilOneIsChosen) {
    int showings = 0;
    Object_Mode_Dialogs.Show_Remesh_Level = [&] {
        ++showings;
        Mesh_Lod_Index = 3;
        Mesh_Lod_Chosen = 1;
    };
    f.Cmd_TrtMesh.UserClick();
    EXPECT_EQ(showings, 1);
    EXPECT_EQ(Mode_Grid_Points, 1);
    EXPECT_TRUE(f.LPtGrid.Visible());

    f.Cmd_LandClass.UserClick();
    EXPECT_FALSE(f.LPtGrid.Visible());
    f.Cmd_TrtMesh.UserClick();
    EXPECT_EQ(showings, 1);
    EXPECT_EQ(Mode_Grid_Points, 1);
}

TEST_F(ObjectModes, ReMeshLevelDialogClosedWithoutChoiceKeepsTheCurrentMode) {
    int showings = 0;
    Object_Mode_Dialogs.Show_Remesh_Level = [&] { ++showings; };
    f.Cmd_Excl_Areas.UserClick();
    f.Cmd_TrtMesh.UserClick();
    EXPECT_EQ(showings, 1);
    EXPECT_EQ(Mode_Excl_Cells, 1);
    EXPECT_EQ(Mode_Grid_Points, 0);
    EXPECT_FALSE(f.Cmd_Excl_Areas.Enabled());
    EXPECT_TRUE(f.Cmd_TrtMesh.Enabled());
}

TEST_F(ObjectModes, CancellingTheToolHidesTheAltitudeTip) {
    Mesh_Lod_Chosen = 1;
    f.Cmd_TrtMesh.UserClick();
    ASSERT_TRUE(f.LPtGrid.Visible());
    PSais_Cancel_Tool();
    EXPECT_FALSE(f.LPtGrid.Visible());
    EXPECT_EQ(Edit_Refused, 0);
}

// ---------------------------------------------------------------------------------------------
// Link check

TEST_F(ObjectModes, PolygonLeavingItsImageRefusesEveryModeChange) {
    f.Cmd_TrtCell.UserClick();
    Linked_Polygon(61, 30);
    for (CommandButton* b : {&f.Cmd_Excl_Areas, &f.Cmd_Saisie_Routes}) {
        SCOPED_TRACE(b->Name());
        host.boxes.clear();
        host.QueueAnswer(ID_OK);
        b->UserClick();
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].prompt.rfind("(130) ", 0), 0u) << host.boxes[0].prompt;
        EXPECT_EQ(Edit_Refused, 1);
        EXPECT_EQ(Mode_Lod8_Cells, 1);
        EXPECT_EQ(Modes_Set(), 1);
        EXPECT_FALSE(f.Cmd_TrtCell.Enabled());
        EXPECT_TRUE(b->Enabled());
    }

    // Back inside its image (bounds included): the next press checks afresh and goes through.
    host.boxes.clear();
    Last_Point_Of_Line_2().X = 60;
    Last_Point_Of_Line_2().Y = 50;
    f.Cmd_Excl_Areas.UserClick();
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(Edit_Refused, 0);
    EXPECT_EQ(Mode_Excl_Cells, 1);
}

TEST_F(ObjectModes, InEnglishTheRefusalShowsTheEnglishMessage) {
    Language = "US";
    Linked_Polygon(30, 19.5);
    host.QueueAnswer(ID_OK);
    f.Cmd_LandClass.UserClick();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].prompt.rfind("(630) ", 0), 0u) << host.boxes[0].prompt;
    EXPECT_EQ(Mode_Land_Class, 0);
}

TEST_F(ObjectModes, OnlyPolygonsAreHeldToTheImageOfTheirOwnNumber) {
    // A shore line (option 2) outside the image: lines are not checked.
    Linked_Polygon(200, 200, 2);
    f.Cmd_Excl_Areas.UserClick();
    EXPECT_EQ(Mode_Excl_Cells, 1);

    // A polygon linked to a number no image carries.
    Line_Table(2).Attr.SurfShore = 1;
    Image_Table(1).Ima_Number = 8;
    f.Cmd_TrtCell.UserClick();
    EXPECT_EQ(Mode_Lod8_Cells, 1);

    // The same polygon, its image found again.
    Image_Table(1).Ima_Number = 7;
    host.QueueAnswer(ID_OK);
    f.Cmd_TrtArea.UserClick();
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(Mode_Lod8_Cells, 1);
    EXPECT_EQ(Edit_Refused, 1);
}

TEST_F(ObjectModes, ImageCountBeyondTheTableIsNotRead) {
    Linked_Polygon(30, 40);
    Image_Count = Image_Table.UBound() + 5;
    f.Cmd_WaterClass.UserClick();
    EXPECT_EQ(Mode_Water_Class, 1);
    EXPECT_TRUE(host.boxes.empty());
}

// ---------------------------------------------------------------------------------------------
// Double-click in the cell modes

TEST_F(ObjectModes, CellDialogOpensOnlyInsideTheMapExceptForExclusions) {
    struct Case {
        CommandButton* button;
        std::function<void()> Object_Mode_Windows::*dialog;
        bool outside_opens;
    };
    const Case cases[] = {
        {&f.Cmd_Excl_Areas, &Object_Mode_Windows::Show_Excl_Area, true},
        {&f.Cmd_TrtArea, &Object_Mode_Windows::Show_Lwm_Area, false},
        {&f.Cmd_TrtCell, &Object_Mode_Windows::Show_Lod8_Cell, false},
        {&f.Cmd_LandClass, &Object_Mode_Windows::Show_Land_Class, false},
        {&f.Cmd_WaterClass, &Object_Mode_Windows::Show_Water_Class, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button->Name());
        Object_Modes_Reset();
        std::vector<std::pair<int32_t, int32_t>> opened;
        Object_Mode_Dialogs.*c.dialog = [&] { opened.emplace_back(Mouse_Col, Mouse_Row); };
        c.button->UserClick();

        Mouse_Col = 9;   // one pixel west of the map
        Mouse_Row = 40;
        Frm_Pic_DblClick();
        EXPECT_EQ(opened.size(), c.outside_opens ? 1u : 0u);

        opened.clear();
        Mouse_Col = 100;   // on the east and south edges
        Mouse_Row = 80;
        Frm_Pic_DblClick();
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], std::make_pair(100, 80));
    }
}

TEST_F(ObjectModes, CellDialogRedrawsOnlyWhenItChangedSomething) {
    struct Case {
        CommandButton* button;
        std::function<void()> Object_Mode_Windows::*dialog;
        int16_t* flag;
    };
    const Case cases[] = {
        {&f.Cmd_Excl_Areas, &Object_Mode_Windows::Show_Excl_Area, &Excl_Dlg_Cancelled},
        {&f.Cmd_TrtArea, &Object_Mode_Windows::Show_Lwm_Area, &Area_Dlg_Cancelled},
        {&f.Cmd_TrtCell, &Object_Mode_Windows::Show_Lod8_Cell, &Area_Dlg_Cancelled},
        {&f.Cmd_LandClass, &Object_Mode_Windows::Show_Land_Class, &Lc_Dlg_Cancelled},
        {&f.Cmd_WaterClass, &Object_Mode_Windows::Show_Water_Class, &Wc_Dlg_Cancelled},
    };
    Mouse_Col = 50;
    Mouse_Row = 50;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button->Name());
        c.button->UserClick();
        int16_t seen = -1;
        bool accept = false;
        Object_Mode_Dialogs.*c.dialog = [&] {
            seen = *c.flag;
            if (accept) *c.flag = 0;
        };
        *c.flag = 0;
        Mark_Picture();
        Frm_Pic_DblClick();
        EXPECT_EQ(seen, 1);
        EXPECT_FALSE(Redrawn());

        accept = true;
        Frm_Pic_DblClick();
        EXPECT_TRUE(Redrawn());
    }
}

TEST_F(ObjectModes, DoubleClickDoesNothingWithoutAShownProject) {
    int showings = 0;
    Object_Mode_Dialogs.Show_Excl_Area = [&] { ++showings; };
    f.Cmd_Excl_Areas.UserClick();
    Project_Displayed = 0;
    Frm_Pic_DblClick();
    EXPECT_EQ(showings, 0);
    Project_Displayed = 1;
    Frm_Pic_DblClick();
    EXPECT_EQ(showings, 1);
}

}  // namespace
