// Placing the two calibration points on the map: the view the author scrolls, the points the
// clicks place, and what OK and Cancel leave in the working calibration.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/erreur.h"
#include "core/grid.h"
#include "core/project.h"
#include "core/syst.h"
#include "core/tiling.h"
#include "platform/gdi/bmp.h"
#include "platform/headless/headless_host.h"
#include "setup/frm_cadbmp.h"
#include "setup/setup_services.h"
#include "support/program_state.h"
#include "support/test_env.h"
#include "setup/test_maps.h"

namespace {

namespace fs = std::filesystem;

using testmaps::Map_Colour;
using testmaps::Write_Map;

class FrmCadBmpTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        dir = testenv::ScratchDir("cadbmp");
        App_Dir = dir.string();
        fs::create_directories(dir / "Temp");
    }
    void TearDown() override { testenv::ResetProgramState(); }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }

    // A tiled map as the project window leaves it before the dialog: points on the corners.
    void Map(int32_t w, int32_t h) {
        Write_Map(dir / "map.bmp", w, h);
        Tiling_No_Progress none;
        int16_t error = 1;
        Com_Split_Map_Bitmap(none, App_Dir + "\\map.bmp", error);
        ASSERT_EQ(error, 0);
        Cad_Map_Width = w;
        Cad_Map_Height = h;
        Cad_Px_NW_X = Cad_Px_NW_Y = 0;
        Cad_Px_SE_X = w - 1;
        Cad_Px_SE_Y = h - 1;
        Cad_NW_Set = Cad_SE_Set = 1;
    }
    static void Open(std::function<void(Frm_CadBmp&)> script) {
        host().OnModal("Frm_CadBmp", [script](plat::Form& f) { script(static_cast<Frm_CadBmp&>(f)); });
        Cad_Not_Confirmed = 1;
        Frm_CadBmp_Show_Modal();
    }
    static void Type(plat::TextBox& box, const char* text) {
        box.UserFocus();
        box.UserType(text);
        box.UserKeyDown(plat::Key_Return, 0);
    }
    // The author points at picture (x, y) and clicks there.
    static void Click_At(Frm_CadBmp& w, double x, double y) {
        w.Pic.UserMouseMove(0, 0, x, y);
        w.Pic.UserMouseDown(plat::Button_Left, 0, x, y);
        w.Pic.UserMouseUp(plat::Button_Left, 0, x, y);
    }
    // The picture shows bitmap pixel (bx, by) at picture (px, py).
    static void Expect_Shows(Frm_CadBmp& w, int px, int py, int bx, int by) {
        EXPECT_EQ(w.Pic.Image().GetPixel(px, py), Map_Colour(bx, by)) << px << "," << py << " <- " << bx << "," << by;
    }
    fs::path dir;
};

TEST_F(FrmCadBmpTest, ASmallMapSitsAtTheTopLeftFromItsTilesAndDoesNotScroll) {
    Tile_Size = 100;
    Map(250, 170);   // 3 x 2 tiles
    Language = "US";
    Open([](Frm_CadBmp& w) {
        EXPECT_EQ(w.Caption(), "Fix NW/SE points in the map");
        EXPECT_EQ(w.Cmd_CadNW.Caption(), "NW point");
        EXPECT_EQ(Cad_Tile_Cols, 3);
        EXPECT_EQ(Cad_Tile_Rows, 2);
        EXPECT_EQ(Cad_Tile_Count, 6);
        for (int k = 0; k < 6; ++k) EXPECT_TRUE(w.WPic.Exists(k)) << k;
        // Pixels from every tile, each at its own place.
        for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {99, 99}, {100, 0}, {249, 169}, {150, 120}, {5, 160}})
            Expect_Shows(w, x, y, x, y);
        EXPECT_EQ(w.Pic.Image().GetPixel(250, 10), w.Pic.BackColor());
        EXPECT_EQ(w.Pic.Image().GetPixel(10, 170), w.Pic.BackColor());
        // Scroll events change nothing while the map fits.
        w.HScroll.UserScroll(10000);
        w.VScroll.UserScroll(10000);
        Expect_Shows(w, 0, 0, 0, 0);
        // Both corner points are marked.
        EXPECT_TRUE(w.L1NW.Visible());
        EXPECT_TRUE(w.RDSE.Visible());
        EXPECT_EQ(w.LNWxy.Caption(), "0x0");
        EXPECT_EQ(w.LSExy.Caption(), "249x169");
        w.Cmd_Cancel.UserClick();
    });
    // The run-time tile holders are gone with the window.
    EXPECT_FALSE(Frm_CadBmp_Window().WPic.Exists(1));
}

TEST_F(FrmCadBmpTest, AWideMapScrollsSidewaysOnly) {
    Tile_Size = 500;
    Map(1300, 300);
    Open([](Frm_CadBmp& w) {
        EXPECT_FALSE(w.VScroll.Enabled());
        EXPECT_TRUE(w.HScroll.Enabled());
        EXPECT_EQ(w.HScroll.Value(), 0);
        Expect_Shows(w, 0, 0, 0, 0);
        Expect_Shows(w, 599, 299, 599, 299);
        // All the way right: the right edge in view.
        w.HScroll.UserScroll(10000);
        Expect_Shows(w, 599, 10, 1299, 10);
        Expect_Shows(w, 0, 10, 700, 10);
        // Half way: the middle, across a tile border.
        w.HScroll.UserScroll(5000);
        Expect_Shows(w, 0, 20, 350, 20);
        Expect_Shows(w, 160, 20, 510, 20);
        // The mouse reads the bitmap pixel under it in the scrolled view.
        w.Pic.UserMouseMove(0, 0, 10, 20);
        EXPECT_EQ(w.LMousePos.Caption(), "360x20");
        w.Cmd_Cancel.UserClick();
    });
}

TEST_F(FrmCadBmpTest, ArmedPointsFollowTheClicksAndTheMouseStaysOnTheMap) {
    Tile_Size = 100;
    Map(250, 170);
    Open([](Frm_CadBmp& w) {
        // Nothing armed: a click places nothing.
        Click_At(w, 40, 30);
        EXPECT_EQ(Cad_Px_NW_X, 0);
        w.Cmd_CadNW.UserClick();
        EXPECT_EQ(Cad_Pending_Point, 1);
        EXPECT_EQ(w.LPoint_NWSE.Caption(), "Cadrage NW en cours");
        Click_At(w, 40, 30);
        EXPECT_EQ(Cad_Px_NW_X, 40);
        EXPECT_EQ(Cad_Px_NW_Y, 30);
        EXPECT_EQ(w.LNWxy.Caption(), "40x30");
        EXPECT_EQ(w.L1NW.X1(), 30);
        EXPECT_EQ(w.L1NW.X2(), 50);
        EXPECT_EQ(w.L2NW.Y1(), 20);
        EXPECT_EQ(w.RdNW.Left(), 30);
        EXPECT_EQ(w.RdNW.Top(), 20);
        // Still armed: the next click moves it again.
        Click_At(w, 45, 35);
        EXPECT_EQ(Cad_Px_NW_X, 45);

        w.Cmd_CadSE.UserClick();
        EXPECT_EQ(w.LPoint_NWSE.Caption(), "Cadrage SE en cours");
        w.Pic.UserMouseMove(0, 0, 200, 150);
        EXPECT_EQ(w.LMousePos.Caption(), "200x150");
        // Beyond the bitmap's right edge: the last position over the bitmap stays, and a click
        // there places the point at it.
        w.Pic.UserMouseMove(0, 0, 400, 150);
        EXPECT_EQ(w.LMousePos.Caption(), "200x150");
        w.Pic.UserMouseDown(plat::Button_Left, 0, 400, 150);
        w.Pic.UserMouseUp(plat::Button_Left, 0, 400, 150);
        EXPECT_EQ(Cad_Px_SE_X, 200);
        EXPECT_EQ(Cad_Px_SE_Y, 150);
        EXPECT_EQ(Cad_Px_NW_X, 45);
        EXPECT_EQ(w.LSExy.Caption(), "200x150");

        Type(w.NWLatDec, "46");
        Type(w.NWLonDec, "6");
        Type(w.SELatDec, "45");
        Type(w.SELonDec, "7");
        w.Cmd_Ok.UserClick();
        EXPECT_FALSE(w.Loaded());
    });
    EXPECT_EQ(Cad_Not_Confirmed, 0);
    EXPECT_EQ(Cad_NW_Set, 1);
    // The frame is computed from the placed points: 155 rows per degree from row 35.
    EXPECT_DOUBLE_EQ(Map_Top_Lat, 46 + 35.0 / 115);
    EXPECT_DOUBLE_EQ(Map_Left_Lon, 6 - 45.0 / 155);
    int16_t row = 0, sub_row = 0, col = 0, sub_col = 0;
    Com_LatLon_To_Cell(Map_Top_Lat, Map_Left_Lon, row, sub_row, col, sub_col);
    EXPECT_EQ(Grid_Corner_Cells[0], row);
    EXPECT_EQ(Grid_Corner_Cells[5], sub_col);
    // The project itself waits for the project window's OK.
    EXPECT_EQ(Proj_Lat_NW, 0);
}

TEST_F(FrmCadBmpTest, OkRefusesUnplacedOrMisplacedPoints) {
    Tile_Size = 100;
    Map(250, 170);
    Cad_SE_Set = 0;
    Open([](Frm_CadBmp& w) {
        // Not placed: message 6, whatever else is wrong.
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_EQ(host().boxes[0].prompt.rfind("(6) ", 0), 0u);
        // SE placed left of NW.
        w.Cmd_CadNW.UserClick();
        Click_At(w, 100, 20);
        w.Cmd_CadSE.UserClick();
        Click_At(w, 50, 120);
        Type(w.NWLatDec, "46");
        Type(w.SELatDec, "45");
        Type(w.NWLonDec, "6");
        Type(w.SELonDec, "7");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        ASSERT_EQ(host().boxes.size(), 2u);
        EXPECT_EQ(host().boxes[1].prompt.rfind("(7) ", 0), 0u);
        // Points right, coordinates in the wrong order.
        Click_At(w, 200, 120);
        Type(w.SELatDec, "47");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_EQ(host().boxes.size(), 3u);
        EXPECT_TRUE(w.Loaded());
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
    EXPECT_EQ(Map_Top_Lat, 0);
}

// Two points near the pole whose scale carries the map's top edge past it.
TEST_F(FrmCadBmpTest, OkRefusesPointsThatPutTheMapBeyondThePole) {
    Tile_Size = 100;
    Map(250, 170);
    Open([](Frm_CadBmp& w) {
        w.Cmd_CadNW.UserClick();
        Click_At(w, 10, 20);
        w.Cmd_CadSE.UserClick();
        Click_At(w, 200, 120);
        Type(w.NWLatDec, "89.99");
        Type(w.SELatDec, "89.5");
        Type(w.NWLonDec, "6");
        Type(w.SELonDec, "7");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_TRUE(w.Loaded());
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_NE(host().boxes[0].prompt.find("hors de la grille du terrain"), std::string::npos);
        EXPECT_EQ(Cad_Not_Confirmed, 1);
        // A finer scale keeps the whole map south of the pole.
        Type(w.SELatDec, "89.95");
        w.Cmd_Ok.UserClick();
    });
    EXPECT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(Cad_Not_Confirmed, 0);
    EXPECT_LE(Map_Top_Lat, 90);
    EXPECT_EQ(Grid_Frame_Cells[1], 0);
}

TEST_F(FrmCadBmpTest, CancelPutsBackTheProjectsPointsButKeepsTheTypedCoordinates) {
    Tile_Size = 100;
    Map(250, 170);
    Proj_Px_NW_X = 3;
    Proj_Px_NW_Y = 4;
    Proj_Px_SE_X = 200;
    Proj_Px_SE_Y = 150;
    Proj_NW_Set = 1;
    Proj_SE_Set = 0;
    Open([](Frm_CadBmp& w) {
        w.Cmd_CadNW.UserClick();
        Click_At(w, 40, 30);
        Type(w.NWLatDec, "46.5");
        w.UserClose();
    });
    EXPECT_EQ(Cad_Not_Confirmed, 1);
    EXPECT_EQ(Cad_Px_NW_X, 3);
    EXPECT_EQ(Cad_Px_NW_Y, 4);
    EXPECT_EQ(Cad_Px_SE_X, 200);
    EXPECT_EQ(Cad_NW_Set, 1);
    EXPECT_EQ(Cad_SE_Set, 0);
    EXPECT_DOUBLE_EQ(Cad_Lat_NW, 46.5);
}

TEST_F(FrmCadBmpTest, MarkersScrolledOutOfViewBothWaysAreHidden) {
    Tile_Size = 1000;
    Map(1300, 1000);
    Open([](Frm_CadBmp& w) {
        // The SE corner point lies outside the first view both ways.
        EXPECT_TRUE(w.L1NW.Visible());
        EXPECT_FALSE(w.L1SE.Visible());
        EXPECT_FALSE(w.RDSE.Visible());
        // Scrolled right only: the SE point's column is in view, its row is not; placed off
        // the picture below.
        w.HScroll.UserScroll(10000);
        EXPECT_TRUE(w.L1SE.Visible());
        EXPECT_EQ(w.L2SE.X1(), 1299 - 700);
        EXPECT_EQ(w.L1SE.Y1(), 999);
        w.VScroll.UserScroll(10000);
        EXPECT_EQ(w.L1SE.Y1(), 999 - 520);
        // The NW point is now out of view both ways.
        EXPECT_FALSE(w.L1NW.Visible());
        EXPECT_FALSE(w.RdNW.Visible());
        w.Cmd_Cancel.UserClick();
    });
}

TEST_F(FrmCadBmpTest, AViewNearTheIntLimitsDrawsWithoutOverflow) {
    Tile_Size = 100;
    Map(250, 170);
    Open([](Frm_CadBmp& w) {
        // A map claimed INT32_MAX pixels high and wide with its SE point at the far corner, seen
        // from 10 pixels left of and 20 above its origin.
        Cad_Px_SE_X = Cad_Px_SE_Y = INT32_MAX - 1;
        Com_Paint_Cad_View(INT32_MAX, INT32_MAX, Cad_Map_Half_W - Cad_Pic_Half_W + 10,
                           Cad_Map_Half_H - Cad_Pic_Half_H + 20);
        Expect_Shows(w, 10, 20, 0, 0);
        Expect_Shows(w, 259, 189, 249, 169);
        EXPECT_EQ(w.Pic.Image().GetPixel(5, 5), w.Pic.BackColor());
        EXPECT_TRUE(w.L2NW.Visible());
        EXPECT_EQ(w.L2NW.X1(), 10);
        EXPECT_FALSE(w.L1SE.Visible());
        w.Cmd_Cancel.UserClick();
    });
}

TEST_F(FrmCadBmpTest, AMissingTileLeavesItsPartEmptyAndSaysSo) {
    Tile_Size = 100;
    Map(250, 170);
    fs::remove(dir / "Temp" / "$$$_11.bmp");
    host().QueueAnswer(1);
    Open([](Frm_CadBmp& w) {
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_NE(host().boxes[0].prompt.find("$$$_11.bmp"), std::string::npos);
        Expect_Shows(w, 0, 0, 0, 0);
        EXPECT_EQ(w.Pic.Image().GetPixel(150, 150), w.Pic.BackColor());
        w.Cmd_Cancel.UserClick();
    });
}

TEST(CadTileGrid, AMapExactlyOneTileWideHasOneColumn) {
    testenv::ResetProgramState();
    Tile_Size = 2000;
    int32_t cols = 0, rows = 0;
    ASSERT_TRUE(Com_Tile_Grid(2000, 2001, cols, rows));
    EXPECT_EQ(cols, 1);
    EXPECT_EQ(rows, 2);
    testenv::ResetProgramState();
}

}  // namespace
