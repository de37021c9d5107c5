// Calibrating a new project's map from its centre and the ground size of a pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/erreur.h"
#include "core/grid.h"
#include "core/project.h"
#include "core/syst.h"
#include "platform/headless/headless_host.h"
#include "setup/frm_centermap.h"
#include "setup/setup_services.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

constexpr double Pi = 3.14159265358979;

class FrmCenterMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        // Right after a map choice: both points on the corners, coordinates 0.
        Cad_Map_Width = 2001;
        Cad_Map_Height = 1001;
        Cad_Px_SE_X = 2000;
        Cad_Px_SE_Y = 1000;
        Cad_NW_Set = Cad_SE_Set = 1;
    }
    void TearDown() override { testenv::ResetProgramState(); }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }

    static void Open(std::function<void(Frm_CenterMap&)> script) {
        host().OnModal("Frm_CenterMap", [script](plat::Form& f) { script(static_cast<Frm_CenterMap&>(f)); });
        Cad_Not_Confirmed = 1;
        Frm_CenterMap_Show_Modal();
    }
    static void Type(plat::TextBox& box, const char* text) {
        box.UserFocus();
        box.UserType(text);
        box.UserKeyDown(plat::Key_Return, 0);
    }
};

TEST_F(FrmCenterMapTest, OpensOnTheWorkingCalibrationsCentreAndTheBitmapSize) {
    Cad_Lat_NW = 46;
    Cad_Lat_SE = 45;
    Cad_Lon_NW = 5;
    Cad_Lon_SE = 6;
    Language = "US";
    Open([](Frm_CenterMap& w) {
        EXPECT_EQ(w.Caption(), "Map center coordinates");
        EXPECT_EQ(w.L_CoordMap.Caption(), "Center coordinates");
        EXPECT_EQ(w.L_Meter_Pixel.Caption(), "Meters per pixel");
        EXPECT_EQ(w.L_Pix_Lat.Caption(), "1001");
        EXPECT_EQ(w.L_Pix_Lon.Caption(), "2001");
        EXPECT_EQ(w.LatDecCenter.Text(), "45.5");
        EXPECT_EQ(w.LonDecCenter.Text(), "5.5");
        EXPECT_EQ(w.LLatCenter.Caption(), "N45:30:00.0000");
        EXPECT_EQ(w.LLonCenter.Caption(), "E005:30:00.0000");
        // Proposed sizes as if the working points lay on the corners.
        EXPECT_EQ(w.NbM_Per_Pixel_Lat.Text(), SYST_To_Text(111164.75 / 1000));
        EXPECT_EQ(w.NbM_Per_Pixel_Lon.Text(), SYST_To_Text(111319.444 * std::cos(45.5 * Pi / 180) / 2000));
        w.Cmd_Cancel.UserClick();
    });
    Language = "FR";
    Open([](Frm_CenterMap& w) {
        EXPECT_EQ(w.Caption(), "Coordonnées du centre de la carte");
        EXPECT_EQ(w.L_Meter_Pixel.Caption(), "Mètres par pixel");
        w.Cmd_Cancel.UserClick();
    });
}

TEST_F(FrmCenterMapTest, OkPutsThePointsOnTheCornersAroundTheCentre) {
    Open([](Frm_CenterMap& w) {
        // Right after a map choice there is no proposal: the boxes show the kept 4.75.
        EXPECT_EQ(w.NbM_Per_Pixel_Lat.Text(), "4.75");
        EXPECT_EQ(w.NbM_Per_Pixel_Lon.Text(), "4.75");
        Type(w.LatDecCenter, "45");
        Type(w.LonDecCenter, "5");
        w.Cmd_Ok.UserClick();
        EXPECT_FALSE(w.Loaded());
    });
    EXPECT_EQ(Cad_Not_Confirmed, 0);
    const double d = 1000 * 4.75 / 111164.75 / 2;
    const double e = 1000 * 4.75 / (std::cos(45 * Pi / 180) * 111319.444);
    EXPECT_DOUBLE_EQ(Cad_Lat_NW, 45 + d);
    EXPECT_DOUBLE_EQ(Cad_Lat_SE, 45 - d);
    EXPECT_DOUBLE_EQ(Cad_Lon_NW, 5 - e);
    EXPECT_DOUBLE_EQ(Cad_Lon_SE, 5 + e);
    EXPECT_EQ(Cad_Px_NW_X, 0);
    EXPECT_EQ(Cad_Px_NW_Y, 0);
    EXPECT_EQ(Cad_Px_SE_X, 2000);
    EXPECT_EQ(Cad_Px_SE_Y, 1000);
    EXPECT_EQ(Map_Top_Lat, Cad_Lat_NW);
    EXPECT_EQ(Map_Bottom_Lat, Cad_Lat_SE);
    EXPECT_EQ(Map_Left_Lon, Cad_Lon_NW);
    EXPECT_EQ(Map_Right_Lon, Cad_Lon_SE);
    // The frame is computed from those corners.
    int16_t row = 0, sub_row = 0, col = 0, sub_col = 0;
    Com_LatLon_To_Cell(Cad_Lat_SE, Cad_Lon_SE, row, sub_row, col, sub_col);
    EXPECT_EQ(Grid_Corner_Cells[2], row);
    EXPECT_EQ(Grid_Corner_Cells[7], sub_col);
    EXPECT_LT(Map_Px_West, 0);
    EXPECT_GT(Map_Px_East, 2000);
    EXPECT_NEAR(Map_Px_East - Map_Px_West, 2000 * (Map_Lon_East - Map_Lon_West) / (2 * e), 1e-6);
    // The project's own calibration waits for the project window's OK.
    EXPECT_EQ(Proj_Lat_NW, 0);
}

TEST_F(FrmCenterMapTest, TypedSizesAndDmsCentreAreWhatOkUses) {
    Open([](Frm_CenterMap& w) {
        Type(w.LatDecCenter, "N45:30:00");
        EXPECT_EQ(w.LLatCenter.Caption(), "45.5");
        Type(w.LonDecCenter, "W1:30:0");
        EXPECT_EQ(w.LLonCenter.Caption(), "-1.5");
        Type(w.NbM_Per_Pixel_Lat, "10");
        Type(w.NbM_Per_Pixel_Lon, "2");
        w.Cmd_Ok.UserClick();
    });
    EXPECT_NEAR(Cad_Lat_NW - Cad_Lat_SE, 1000 * 10 / 111164.75, 1e-12);
    EXPECT_NEAR(Cad_Lon_SE - Cad_Lon_NW, 2000 * 2 / (std::cos(45.5 * Pi / 180) * 111319.444), 1e-12);
    EXPECT_NEAR((Cad_Lon_SE + Cad_Lon_NW) / 2, -1.5, 1e-12);
    EXPECT_NEAR((Cad_Lat_NW + Cad_Lat_SE) / 2, 45.5, 1e-12);

    // Opened again on that calibration, it proposes the sizes it was given.
    Open([](Frm_CenterMap& w) {
        EXPECT_NEAR(SYST_To_Double(w.NbM_Per_Pixel_Lat.Text()), 10, 1e-9);
        EXPECT_NEAR(SYST_To_Double(w.NbM_Per_Pixel_Lon.Text()), 2, 1e-9);
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_NEAR(Center_M_Per_Px_Lat, 10, 1e-9);

    // The proposal shown is what OK uses, untouched boxes included: the same calibration
    // comes out again.
    const double north = Cad_Lat_NW, east = Cad_Lon_SE;
    Center_M_Per_Px_Lat = Center_M_Per_Px_Lon = 4.75;
    Open([](Frm_CenterMap& w) { w.Cmd_Ok.UserClick(); });
    EXPECT_NEAR(Cad_Lat_NW, north, 1e-9);
    EXPECT_NEAR(Cad_Lon_SE, east, 1e-9);
}

TEST_F(FrmCenterMapTest, OkSetsBothPointsEvenAfterACancelledTwoPointCalibrationClearedThem) {
    // A cancelled two-point calibration puts back the new project's unset points.
    Cad_NW_Set = Cad_SE_Set = 0;
    Cad_Px_SE_X = Cad_Px_SE_Y = 0;
    Open([](Frm_CenterMap& w) {
        Type(w.LatDecCenter, "45");
        w.Cmd_Ok.UserClick();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 0);
    EXPECT_EQ(Cad_NW_Set, 1);
    EXPECT_EQ(Cad_SE_Set, 1);
    EXPECT_EQ(Cad_Px_SE_X, 2000);
    EXPECT_EQ(Cad_Px_SE_Y, 1000);
}

TEST_F(FrmCenterMapTest, CancelLeavesTheWorkingCalibrationAndTheFlag) {
    Open([](Frm_CenterMap& w) {
        Type(w.LatDecCenter, "45");
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
    EXPECT_EQ(Cad_Lat_NW, 0);
    EXPECT_EQ(Cad_Px_SE_X, 2000);
    EXPECT_EQ(Map_Top_Lat, 0);
    Open([](Frm_CenterMap& w) { w.UserClose(); });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
}

TEST_F(FrmCenterMapTest, ABitmapOnePixelWideHasNoExtentAndIsRefused) {
    Cad_Map_Width = 1;
    Cad_Px_SE_X = 0;
    Open([](Frm_CenterMap& w) {
        Type(w.LatDecCenter, "45");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_TRUE(w.Loaded());
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_EQ(host().boxes[0].prompt.rfind("(7) ", 0), 0u);
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
    EXPECT_EQ(Cad_Lat_NW, 0);
    EXPECT_EQ(Map_Px_West, 0);
    EXPECT_TRUE(std::isfinite(Map_Px_East));
}

// The metres per pixel reach past the pole or the 180th meridian: the grid cells of such a frame
// (column 768, sub-cells -2 and 33) do not exist, so the calibration is refused and can be mended.
TEST_F(FrmCenterMapTest, AFrameBeyondAPoleOrTheAntimeridianIsRefusedAndTheDialogStays) {
    Language = "US";
    Open([](Frm_CenterMap& w) {
        Type(w.LatDecCenter, "89.99");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_TRUE(w.Loaded());
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_NE(host().boxes[0].prompt.find("beyond a pole or the 180th meridian"), std::string::npos);
        EXPECT_EQ(Cad_Not_Confirmed, 1);
        EXPECT_EQ(Cad_Lat_NW, 0);

        Type(w.LatDecCenter, "-89.99");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_EQ(host().boxes.size(), 2u);
        Type(w.LatDecCenter, "45");
        Type(w.LonDecCenter, "179.99");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_EQ(host().boxes.size(), 3u);
        Type(w.LonDecCenter, "-179.99");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_EQ(host().boxes.size(), 4u);
        EXPECT_TRUE(w.Loaded());

        // Pixels of a billionth of a metre: the frame, a grid cell outside the map, would lie
        // beyond 32-bit pixels, which no project file can hold.
        Type(w.LonDecCenter, "5");
        const std::string size = w.NbM_Per_Pixel_Lat.Text();
        Type(w.NbM_Per_Pixel_Lat, "0.000000001");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        ASSERT_EQ(host().boxes.size(), 5u);
        EXPECT_NE(host().boxes[4].prompt.find("beyond the program's reach in pixels"), std::string::npos);
        EXPECT_EQ(Cad_Not_Confirmed, 1);
        Type(w.NbM_Per_Pixel_Lat, size.c_str());

        // Mended, and close to the pole but inside: accepted, the frame stops at the grid's edge.
        Type(w.LatDecCenter, "89.97");
        Type(w.LonDecCenter, "5");
        w.Cmd_Ok.UserClick();
    });
    EXPECT_EQ(host().boxes.size(), 5u);
    EXPECT_EQ(Cad_Not_Confirmed, 0);
    EXPECT_LT(Cad_Lat_NW, 90);
    for (int i : {1, 5}) EXPECT_TRUE(Grid_Frame_Cells[i] >= 0 && Grid_Frame_Cells[i] <= 511) << i;
    for (int i : {3, 7}) EXPECT_TRUE(Grid_Frame_Cells[i] >= 0 && Grid_Frame_Cells[i] <= 767) << i;
    for (int i : {0, 2, 4, 6}) EXPECT_TRUE(Grid_Frame_Cells[i] >= 0 && Grid_Frame_Cells[i] <= 31) << i;
    EXPECT_EQ(Grid_Frame_Cells[1], 0);
    EXPECT_EQ(Grid_Frame_Cells[0], 0);
}

TEST_F(FrmCenterMapTest, TheRefusalOfAFrameOutsideTheGridIsWordedInFrench) {
    Open([](Frm_CenterMap& w) {
        Type(w.LatDecCenter, "89.99");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_NE(host().boxes[0].prompt.find("hors de la grille du terrain"), std::string::npos);
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
}

}  // namespace
