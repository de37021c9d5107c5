#include "core/grid.h"
#include "core/project.h"
#include "editor/display_toggles.h"
#include "core/syst_draw.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_colourgrid.h"
#include "editor/frm_startup.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "editor/pinit_layout.h"
#include "editor/project_commands.h"
#include "platform/headless/headless_host.h"
#include "simlink/frm_fsuipc.h"
#include "simlink/simlink_services.h"
#include "support/program_state.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

constexpr Colour kRed = 255;
constexpr Colour kMarker = RGB(1, 2, 3);

// The main window in line mode over a calibrated 320 x 320 map of one LOD8 cell.
class DisplayToggles : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        f.Show();
        f.Pic.SetVisible(true);
        Pinit_Set_No_Project();
        Pinit_Set_Project_Open();
        Project_Open = Project_Displayed = 1;
        f.Pic.Move(0, 40, 340, 340);
        Map_Lat_North = Proj_Lat_NW = 90 - 100 * Lod8_Height;
        Map_Lon_West = Proj_Lon_NW = 400 * Lod8_Width - 180;
        Map_Lat_South = Proj_Lat_SE = Map_Lat_North - Lod8_Height;
        Map_Lon_East = Proj_Lon_SE = Map_Lon_West + Lod8_Width;
        Map_Px_West = Map_Px_North = 0;
        Map_Px_East = Map_Px_South = 320;
        Proj_Px_SE_X = Proj_Px_SE_Y = 320;
        Map_Width_Px = Map_Height_Px = 320;
        View_Zoom = 1;
        View_Offset_X = View_Offset_Y = 0;
        Pic_Centre_X = Pic_Centre_Y = 160;
        PSais_Set_Mode(Object_Mode::Lines);
    }

    // Pixels of the LOD13 row line at y = 10 drawn in colour c.
    int Grid_Pixels(Colour c) const {
        int n = 0;
        for (int x = 1; x < 320; ++x) n += f.Pic.Image().GetPixel(x, 10) == c;
        return n;
    }
    bool Border_Red() const { return f.Pic.Image().GetPixel(0, 100) == kRed; }

    Frm& f = Frm_Window();
    HeadlessHost& host = DefaultHeadlessHost();
};

TEST_F(DisplayToggles, EachSwitchFlipsItsFlagRedrawsAndHandsTheFocusToTheMap) {
    Map_Shown = 1;
    f.Cmd_AffBmp.UserClick();
    EXPECT_EQ(Map_Shown, 0);
    EXPECT_EQ(f.ActiveControl(), &f.Pic);
    f.Cmd_AffBmp.UserClick();
    EXPECT_EQ(Map_Shown, 1);

    PSais_Redraw_Map();
    ASSERT_TRUE(Border_Red());
    f.Cmd_Grid.UserClick();
    EXPECT_EQ(Grid_Shown, 0);
    EXPECT_FALSE(Border_Red());
    f.Cmd_Grid.UserClick();
    EXPECT_EQ(Grid_Shown, 1);
    EXPECT_TRUE(Border_Red());

    Frm_Cmd_AffTexture_Click();
    EXPECT_EQ(Textures_Shown, 1);
    Frm_Cmd_AffTexture_Click();
    EXPECT_EQ(Textures_Shown, 0);
}

TEST_F(DisplayToggles, ColourWindowOpensOnTheCurrentColourWithoutChangingIt) {
    Language = "US";
    Grid_Colour_Index = 4;
    Grid_Colour = 8421504;
    bool shown = false;
    host.OnModal("Frm_ColourGrid", [&](Form& form) {
        auto& w = static_cast<Frm_ColourGrid&>(form);
        shown = true;
        EXPECT_EQ(w.Caption(), "Grid colour");
        EXPECT_TRUE(w.Opt_ColourGrid(4).Value());
        EXPECT_EQ(Colour_Dlg_Loading, 0);
        EXPECT_EQ(w.Top(), f.Cmd_ColourGrid.Top() + f.Cmd_ColourGrid.Height() + 10);
        EXPECT_EQ(w.Left(), f.Cmd_ColourGrid.Left());
        EXPECT_EQ(w.Opt_ColourGrid(0).BackColor(), 16777215u);
        EXPECT_EQ(w.Opt_ColourGrid(6).BackColor(), 0u);
        // Closed without a choice.
        w.Unload();
    });
    // Something drawn on the map is gone afterwards: the map is redrawn even so.
    f.Pic.Image().PSet(200, 200, kMarker);
    f.Cmd_ColourGrid.UserClick();
    EXPECT_TRUE(shown);
    EXPECT_EQ(Grid_Colour_Index, 4);
    EXPECT_EQ(Grid_Colour, 8421504);
    EXPECT_NE(f.Pic.Image().GetPixel(200, 200), kMarker);
    EXPECT_EQ(f.ActiveControl(), &f.Pic);
}

TEST_F(DisplayToggles, ChoosingAGreyClosesTheWindowAndRedrawsTheGridInIt) {
    Language = "FR";
    host.OnModal("Frm_ColourGrid", [&](Form& form) {
        auto& w = static_cast<Frm_ColourGrid&>(form);
        EXPECT_EQ(w.Caption(), "Couleur de la grille");
        EXPECT_TRUE(w.Opt_ColourGrid(2).Value());
        w.Opt_ColourGrid(6).UserClick();
        EXPECT_FALSE(w.Visible());
    });
    f.Cmd_ColourGrid.UserClick();
    EXPECT_EQ(Grid_Colour_Index, 6);
    EXPECT_EQ(Grid_Colour, 0);
    EXPECT_GT(Grid_Pixels(0), 50);
    EXPECT_EQ(Grid_Pixels(12632256), 0);
}

TEST_F(DisplayToggles, SimulatorLinkWithAPolygonOutsideItsImageOnlyEndsTheTool) {
    Route_Attrib a;
    a.Image_Link = 7;
    const int32_t line = Project_Append_Line(a);
    Project_Append_Point(line, 30, 30);
    Project_Append_Point(line, 90, 30);
    Table_Grow_If_Full(Image_Table, Image_Count, Image_Capacity, Image_Growth);
    Image_Rec& image = Image_Table(++Image_Count);
    image.Ima_In_Use = 1;
    image.Ima_Number = 7;
    image.Ima_X1 = image.Ima_Y1 = 20;
    image.Ima_X2 = image.Ima_Y2 = 60;
    Sim_Line_Made = 1;
    host.QueueAnswer(ID_OK);
    f.Cmd_FSUIPC.UserClick();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].prompt.rfind("(130) ", 0), 0u) << host.boxes[0].prompt;
    EXPECT_EQ(Edit_Refused, 1);
    // The link window is not opened and its state is left alone.
    EXPECT_EQ(Sim_Line_Made, 1);
    EXPECT_FALSE(Frm_FSUIPC_Window().Loaded());
}

}  // namespace
