// The link window following the stand-in simulator: light, buttons, recorded lines, closing.
#include <gtest/gtest.h>

#include <optional>

#include "core/project.h"
#include "editor/display_toggles.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "fake_simulator.h"
#include "platform/headless/headless_host.h"
#include "simlink/frm_fsuipc.h"
#include "simlink/simlink_services.h"
#include "support/program_state.h"

namespace {

class FrmFsuipcTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        host().Reset();
        sim.emplace();
        Frm_Window().Show();
        Map_Left_Lon = Map_Lon_West = 0;
        Map_Right_Lon = Map_Lon_East = 10;
        Map_Top_Lat = Map_Lat_North = 10;
        Map_Bottom_Lat = Map_Lat_South = 0;
        Map_Width_Px = Map_Height_Px = 101;
        w().Show(plat::Modeless);
    }
    void TearDown() override {
        testenv::ResetProgramState();
        sim.reset();
    }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
    static Frm_FSUIPC& w() { return Frm_FSUIPC_Window(); }
    std::optional<testsim::FakeSimulator> sim;
};

TEST_F(FrmFsuipcTest, OpensRedHidingTheMainWindowAndTurnsGreenOverTheMapOnBounds) {
    EXPECT_EQ(w().Caption(), "FS connexion");
    EXPECT_FALSE(Frm_Window().Visible());
    EXPECT_EQ(w().FeuVert.FillColor(), 255);
    EXPECT_FALSE(w().Cmd_start.Enabled());
    EXPECT_TRUE(w().Timer1.Enabled());
    sim->Place(10, 0);   // exactly on the north and west bounds
    w().Timer1.UserTick();
    EXPECT_EQ(Sim_Over_Map, 1);
    EXPECT_EQ(w().FeuVert.FillColor(), 65280);
    EXPECT_TRUE(w().Cmd_start.Enabled());
    EXPECT_FALSE(Frm_Window().Croix1.Visible());   // location not asked for
    EXPECT_FALSE(Frm_Window().Visible());
}

TEST_F(FrmFsuipcTest, RecordsAChainedLineAndSelectsItWhenClosed) {
    const int32_t lines = Line_Count;
    sim->Place(5, 5);
    w().Timer1.UserTick();
    w().Cmd_start.UserClick();
    EXPECT_EQ(Line_Count, lines + 1);
    EXPECT_EQ(Sim_Line_Made, 1);
    EXPECT_EQ(Line_Table(Line_Count).Attr.Layer, 16);
    EXPECT_EQ(Line_Table(Line_Count).Attr.LC_Code, 135);
    w().Timer1.UserTick();
    sim->Place(4, 6);
    w().Timer1.UserTick();
    const Line_Rec& line = Line_Table(Line_Count);
    ASSERT_EQ(line.Nb_Points, 2);
    EXPECT_DOUBLE_EQ(Point_Table(line.First_Point).X, 50);
    EXPECT_EQ(Point_Table(line.First_Point).Next_Point, line.Last_Point);
    EXPECT_EQ(Point_Table(line.Last_Point).Prev_Point, line.First_Point);
    EXPECT_DOUBLE_EQ(Point_Table(line.Last_Point).Y, 60);
    w().Cmd_Quit.UserClick();
    EXPECT_FALSE(w().Loaded());
    EXPECT_EQ(Mode_Lines, 1);
    EXPECT_EQ(Line_Selected, 1);
    EXPECT_TRUE(Frm_Window().Visible());
    EXPECT_FALSE(Frm_Window().Cmd_Saisie_Routes.Enabled());
    EXPECT_TRUE(Frm_Window().Cmd_Tabul.Enabled());
}

TEST_F(FrmFsuipcTest, EndOfLineKeepsAnEmptyLineAndTheNextStartMakesAnotherWithTheTrackDefaults) {
    const int32_t lines = Line_Count;
    sim->Place(5, 5);
    w().Timer1.UserTick();
    w().Cmd_start.UserClick();
    EXPECT_TRUE(w().Cmd_Stop.Enabled());
    EXPECT_FALSE(w().Cmd_start.Enabled());
    w().Cmd_Stop.UserClick();
    EXPECT_EQ(Sim_Recording, 0);
    EXPECT_FALSE(w().Cmd_Stop.Enabled());
    EXPECT_TRUE(w().Cmd_start.Enabled());
    w().Timer1.UserTick();
    EXPECT_EQ(Line_Table(Line_Count).Nb_Points, 0) << "no point after End of line";

    w().Cmd_start.UserClick();
    ASSERT_EQ(Line_Count, lines + 2);
    EXPECT_EQ(Line_Table(lines + 1).Nb_Points, 0);
    EXPECT_EQ(Line_Table(Line_Count).Line_Id, Line_Table(lines + 1).Line_Id + 1);
    EXPECT_EQ(Cur_Line, Line_Count);
    const Route_Attrib& a = Line_Table(Line_Count).Attr;
    EXPECT_EQ(a.Attrib, 0);
    EXPECT_EQ(a.Alti, -9999);
    EXPECT_EQ(a.SurfShore, 2);
    EXPECT_EQ(a.Largeur, 63);
    EXPECT_EQ(a.Type_Code, 1024);
    EXPECT_EQ(a.LandOnRight, 1);
    EXPECT_EQ(a.FermerLine, 0);
    EXPECT_EQ(a.Image_Link, 0);
    EXPECT_EQ(a.LWM_VTP2, 0);
    EXPECT_EQ(a.LandClass_Source, 0);
    EXPECT_EQ(a.Layer_Vtp2, 7);
    EXPECT_EQ(a.Flip_VTP1Texture, 1);
    EXPECT_EQ(a.Meter_Feet, 0);
    w().Timer1.UserTick();
    EXPECT_EQ(Line_Table(Line_Count).Nb_Points, 1);
    EXPECT_EQ(Line_Table(lines + 1).Nb_Points, 0) << "the earlier line gets none of the new points";
}

TEST_F(FrmFsuipcTest, LeavingTheMapEndsRecordingAndReturningDoesNotResumeIt) {
    sim->Place(5, 5);
    w().Timer1.UserTick();
    w().Cmd_start.UserClick();
    w().Timer1.UserTick();
    sim->Place(20, 5);
    w().Timer1.UserTick();
    EXPECT_EQ(Sim_Recording, 0);
    EXPECT_EQ(w().FeuVert.FillColor(), 255);
    sim->Place(5, 5);
    w().Timer1.UserTick();
    w().Timer1.UserTick();
    EXPECT_EQ(Line_Table(Line_Count).Nb_Points, 1);
    w().Cmd_Quit.UserClick();
    EXPECT_EQ(Line_Selected, 0);   // a one-point line is not selected
}

TEST_F(FrmFsuipcTest, ShowLocationDrawsTheCrossAndALostServerClosesTheWindow) {
    w().Chk_Show_Position.UserClick();
    EXPECT_TRUE(Frm_Window().Visible());
    sim->Place(5, 5);
    w().Timer1.UserTick();
    EXPECT_TRUE(Frm_Window().Croix1.Visible());
    const auto& c1 = Frm_Window().Croix1;
    const auto& c2 = Frm_Window().Croix2;
    EXPECT_NEAR(c1.X2() - c1.X1(), 30, 1);
    EXPECT_NEAR(c2.Y2() - c2.Y1(), 30, 1);
    EXPECT_NEAR(c2.X1(), (c1.X1() + c1.X2()) / 2.0, 1);
    sim->info_answer = 0;
    host().QueueAnswer(plat::ID_OK);
    w().Timer1.UserTick();
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "Error communicating with FSConnect :  1");
    EXPECT_FALSE(w().Loaded());
    EXPECT_FALSE(Frm_Window().Croix1.Visible());
}

// Zoomed in a long way, the aircraft over the map lies far off the picture: its cross keeps to
// that side, within int, and recording goes on.
TEST_F(FrmFsuipcTest, TheCrossOfAnAircraftFarOffThePictureStaysOffItWithinInt) {
    w().Chk_Show_Position.UserClick();
    View_Zoom = 1e12;
    View_Offset_X = View_Offset_Y = 0;
    sim->Place(9, 1);   // north-west of the map's middle, which the picture shows
    w().Timer1.UserTick();
    EXPECT_EQ(Sim_Over_Map, 1);
    const auto& c1 = Frm_Window().Croix1;
    const auto& c2 = Frm_Window().Croix2;
    for (const auto* c : {&c1, &c2}) {
        EXPECT_LT(c->X1(), 0);
        EXPECT_LT(c->X2(), 0);
        EXPECT_LT(c->Y1(), 0);
        EXPECT_LT(c->Y2(), 0);
        EXPECT_GE(c->X1(), -1000000000);
        EXPECT_GE(c->Y1(), -1000000000);
    }
    EXPECT_LE(c1.X1(), c1.X2());
    EXPECT_LE(c2.Y1(), c2.Y2());
}

TEST_F(FrmFsuipcTest, AnUncalibratedMapNeverRecordsAPoint) {
    Map_Right_Lon = Map_Left_Lon = 0;
    Map_Lat_North = Map_Lat_South = Map_Lon_West = Map_Lon_East = 0;
    sim->Place(0, 0);
    w().Timer1.UserTick();
    EXPECT_EQ(Sim_Over_Map, 0);
    EXPECT_FALSE(w().Cmd_start.Enabled());
}

TEST_F(FrmFsuipcTest, TheToolBarButtonOpensTheWindowAfterClearingTheRedLine) {
    w().ForceUnload();
    Sim_Line_Made = Red_Line_Shown = 1;
    Red_Line_Index = 4;
    host().slept_ms = 0;
    Frm_Cmd_FSUIPC_Click();
    EXPECT_TRUE(w().Loaded());
    EXPECT_FALSE(w().IsModal());
    EXPECT_EQ(Sim_Line_Made, 0);
    EXPECT_EQ(Red_Line_Shown, 0);
    EXPECT_EQ(Red_Line_Index, 0);
    EXPECT_EQ(host().slept_ms, 200);
}

}  // namespace
