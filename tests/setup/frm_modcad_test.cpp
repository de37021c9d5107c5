// Correcting the calibration coordinates of an open project: the project takes the new values,
// the map frame follows, and every cell-keyed object stays on its place of the bitmap.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>

#include "core/erreur.h"
#include "core/grid.h"
#include "core/project.h"
#include "platform/headless/headless_host.h"
#include "setup/frm_modcad.h"
#include "setup/setup_services.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

class FrmModCadTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        // NW pixel (0, 0) at 46 N 6 E, SE pixel (999, 999) at 45 N 7 E.
        Map_Width_Px = Map_Height_Px = 1000;
        Proj_Px_NW_X = Proj_Px_NW_Y = 0;
        Proj_Px_SE_X = Proj_Px_SE_Y = 999;
        Proj_NW_Set = Proj_SE_Set = 1;
        Proj_Lat_NW = 46;
        Proj_Lon_NW = 6;
        Proj_Lat_SE = 45;
        Proj_Lon_SE = 7;

        Lod8_Cell_Table[1].Lod8_Col = 397;
        Lod8_Cell_Table[1].Lod8_Row = 126;
        Lod8_Cell_Table[1].Alti = 321;
        Lod8_Cell_Count = 1;
        Lwm_Cell_Rec area;
        area.Lod8_Col = 397;
        area.Lod8_Row = 126;
        area.Lod13_Col = 10;
        area.Lod13_Row = 20;
        area.Texte = "kept";
        Lwm_Cell_Table[1] = area;
        Lwm_Cell_Count = 1;
        Excl_Cell_Rec excl;
        excl.Lod8_Col = 397;
        excl.Lod8_Row = 126;
        excl.Lod13_Col = 10;
        excl.Lod13_Row = 20;
        excl.Excluded[4] = 1;
        Excl_Cell_Table[1] = excl;
        Excl_Cell_Count = 1;
        Class_Cell_Rec lc{397, 126, 10, 20, 7};
        Lc_Cell_Table[1] = lc;
        Lc_Cell_Count = 1;
        Class_Cell_Rec wc{397, 126, 11, 21, 3};
        Wc_Cell_Table[1] = wc;
        Wc_Cell_Count = 1;
    }
    void TearDown() override { testenv::ResetProgramState(); }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }

    // The main window's menu entry: the flag set, the window shown.
    static void Open(std::function<void(Frm_ModCad&)> script) {
        host().OnModal("Frm_ModCad", [script](plat::Form& f) { script(static_cast<Frm_ModCad&>(f)); });
        Cad_Not_Confirmed = 1;
        Frm_ModCad_Show_Modal();
    }
    static void Type(plat::TextBox& box, const char* text) {
        box.UserFocus();
        box.UserType(text);
        box.UserKeyDown(plat::Key_Return, 0);
    }
};

TEST_F(FrmModCadTest, OpensOnTheProjectsCoordinates) {
    Language = "US";
    Open([](Frm_ModCad& w) {
        EXPECT_EQ(w.Caption(), "NW/SE point map");
        EXPECT_EQ(w.NWLatDec.Text(), "46");
        EXPECT_EQ(w.NWLonDec.Text(), "6");
        EXPECT_EQ(w.SELatDec.Text(), "45");
        EXPECT_EQ(w.SELonDec.Text(), "7");
        EXPECT_EQ(w.LNWLat.Caption(), "N46:00:00.0000");
        EXPECT_EQ(w.LNWLon.Caption(), "E006:00:00.0000");
        EXPECT_EQ(w.LSELat.Caption(), "N45:00:00.0000");
        EXPECT_EQ(w.LSELon.Caption(), "E007:00:00.0000");
        EXPECT_EQ(Old_Cal_Lat_Lon, (std::array<double, 4>{46, 6, 45, 7}));
        w.Cmd_Cancel.UserClick();
    });
    Language = "FR";
    Open([](Frm_ModCad& w) {
        EXPECT_EQ(w.Caption(), "Points NW/SE carte");
        w.Cmd_Cancel.UserClick();
    });
}

TEST_F(FrmModCadTest, CorrectedCoordinatesMoveEveryCellToTheSamePlaceOfTheBitmap) {
    Open([](Frm_ModCad& w) {
        Type(w.NWLatDec, "46.4");
        Type(w.NWLonDec, "6.5");
        Type(w.SELatDec, "45.4");
        Type(w.SELonDec, "7.5");
        w.Cmd_Ok.UserClick();
        EXPECT_FALSE(w.Loaded());
    });
    EXPECT_EQ(Cad_Not_Confirmed, 0);
    EXPECT_DOUBLE_EQ(Proj_Lat_NW, 46.4);
    EXPECT_DOUBLE_EQ(Proj_Lon_NW, 6.5);
    EXPECT_DOUBLE_EQ(Proj_Lat_SE, 45.4);
    EXPECT_DOUBLE_EQ(Proj_Lon_SE, 7.5);
    // The pixel points stay.
    EXPECT_EQ(Proj_Px_SE_X, 999);
    EXPECT_EQ(Proj_Px_SE_Y, 999);

    EXPECT_EQ(Lod8_Cell_Table[1].Lod8_Col, 398);
    EXPECT_EQ(Lod8_Cell_Table[1].Lod8_Row, 125);
    EXPECT_EQ(Lod8_Cell_Table[1].Alti, 321);
    const Lwm_Cell_Rec& a = Lwm_Cell_Table[1];
    EXPECT_EQ((std::array<int16_t, 4>{a.Lod8_Col, a.Lod8_Row, a.Lod13_Col, a.Lod13_Row}),
              (std::array<int16_t, 4>{398, 125, 12, 16}));
    EXPECT_EQ(a.Texte, "kept");
    const Excl_Cell_Rec& e = Excl_Cell_Table[1];
    EXPECT_EQ((std::array<int16_t, 4>{e.Lod8_Col, e.Lod8_Row, e.Lod13_Col, e.Lod13_Row}),
              (std::array<int16_t, 4>{398, 125, 12, 16}));
    EXPECT_EQ(e.Excluded[4], 1);
    const Class_Cell_Rec& lc = Lc_Cell_Table[1];
    EXPECT_EQ((std::array<int16_t, 4>{lc.Lod8_Col, lc.Lod8_Row, lc.Lod13_Col, lc.Lod13_Row}),
              (std::array<int16_t, 4>{398, 125, 12, 16}));
    EXPECT_EQ(lc.Class_Code, 7);
    // The water-class cell's grid point, moved the same way, is the nearest grid point found
    // for its new place.
    double x = 0, y = 0, lat = 0, lon = 0;
    Old_Cal_Lat_Lon = {46, 6, 45, 7};
    Com_LatLon_To_Pixel_Old(90 - (126 * Lod8_Height + 21 * Lod13_Height), 397 * Lod8_Width + 11 * Lod13_Width - 180,
                            x, y);
    Com_Pixel_To_LatLon(x, y, lat, lon);
    int16_t r8 = 0, r13 = 0, c8 = 0, c13 = 0;
    Com_LatLon_To_Cell_Centred(lat, lon, r8, r13, c8, c13);
    const Class_Cell_Rec& wc = Wc_Cell_Table[1];
    EXPECT_EQ((std::array<int16_t, 4>{wc.Lod8_Col, wc.Lod8_Row, wc.Lod13_Col, wc.Lod13_Row}),
              (std::array<int16_t, 4>{c8, r8, c13, r13}));
    EXPECT_EQ(wc.Class_Code, 3);

    // The frame follows the new calibration.
    EXPECT_DOUBLE_EQ(Map_Top_Lat, 46.4);
    EXPECT_DOUBLE_EQ(Map_Left_Lon, 6.5);
    int16_t row = 0, sub_row = 0, col = 0, sub_col = 0;
    Com_LatLon_To_Cell(46.4, 6.5, row, sub_row, col, sub_col);
    EXPECT_EQ(Grid_Corner_Cells[0], row);
    EXPECT_EQ(Grid_Corner_Cells[1], col);
}

TEST_F(FrmModCadTest, OkWithoutChangeLeavesEveryCellWhereItWas) {
    const Lwm_Cell_Rec area = Lwm_Cell_Table[1];
    const Excl_Cell_Rec excl = Excl_Cell_Table[1];
    const Class_Cell_Rec lc = Lc_Cell_Table[1], wc = Wc_Cell_Table[1];
    const Lod8_Cell_Rec lod8 = Lod8_Cell_Table[1];
    Open([](Frm_ModCad& w) { w.Cmd_Ok.UserClick(); });
    EXPECT_EQ(Cad_Not_Confirmed, 0);
    EXPECT_EQ(Lwm_Cell_Table[1], area);
    EXPECT_EQ(Excl_Cell_Table[1], excl);
    EXPECT_EQ(Lc_Cell_Table[1], lc);
    EXPECT_EQ(Wc_Cell_Table[1], wc);
    EXPECT_EQ(Lod8_Cell_Table[1], lod8);
    EXPECT_DOUBLE_EQ(Map_Bottom_Lat, 45);
    EXPECT_DOUBLE_EQ(Map_Right_Lon, 7);
}

TEST_F(FrmModCadTest, CoordinatesOutOfOrderAreRefusedAndChangeNothing) {
    const Lwm_Cell_Rec area = Lwm_Cell_Table[1];
    Open([](Frm_ModCad& w) {
        Type(w.NWLatDec, "44");   // NW south of SE
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_TRUE(w.Loaded());
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_EQ(host().boxes[0].prompt.rfind("(7) ", 0), 0u);
        Type(w.NWLatDec, "46");
        Type(w.NWLonDec, "7");     // NW east of SE
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_EQ(host().boxes.size(), 2u);
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
    EXPECT_EQ(Proj_Lat_NW, 46);
    EXPECT_EQ(Proj_Lon_NW, 6);
    EXPECT_EQ(Lwm_Cell_Table[1], area);
    EXPECT_EQ(Map_Top_Lat, 0);
}

// The last pixel column on the 180th meridian or the last row on the south pole lies past the
// grid's last column or row: no cell could be moved there.
TEST_F(FrmModCadTest, CoordinatesThatPutTheMapOutsideTheGridAreRefusedAndChangeNothing) {
    const Lwm_Cell_Rec area = Lwm_Cell_Table[1];
    Language = "US";
    Open([](Frm_ModCad& w) {
        Type(w.SELonDec, "180");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_TRUE(w.Loaded());
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_NE(host().boxes[0].prompt.find("outside the terrain grid"), std::string::npos);
        Type(w.SELonDec, "7");
        Type(w.SELatDec, "-90");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_EQ(host().boxes.size(), 2u);
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
    EXPECT_EQ(Proj_Lon_SE, 7);
    EXPECT_EQ(Proj_Lat_SE, 45);
    EXPECT_EQ(Lwm_Cell_Table[1], area);
}

TEST_F(FrmModCadTest, CancelKeepsTheProjectButNotTheTypedWorkingValues) {
    Open([](Frm_ModCad& w) {
        Type(w.NWLatDec, "46.4");
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
    EXPECT_EQ(Proj_Lat_NW, 46);
    EXPECT_EQ(Lwm_Cell_Table[1].Lod8_Col, 397);
    EXPECT_DOUBLE_EQ(Cad_Lat_NW, 46.4);
    // The next opening starts from the project again.
    Open([](Frm_ModCad& w) {
        EXPECT_EQ(w.NWLatDec.Text(), "46");
        w.UserClose();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
}

TEST_F(FrmModCadTest, AProjectWithoutPixelExtentIsRefusedBeforeAnyCellMoves) {
    // A damaged file: both points on the same column.
    Proj_Px_SE_X = 0;
    const Lwm_Cell_Rec area = Lwm_Cell_Table[1];
    Open([](Frm_ModCad& w) {
        Type(w.NWLatDec, "46.4");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_EQ(host().boxes.size(), 1u);
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
    EXPECT_EQ(Proj_Lat_NW, 46);
    EXPECT_EQ(Lwm_Cell_Table[1], area);
}

}  // namespace
