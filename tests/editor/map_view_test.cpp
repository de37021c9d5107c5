#include "core/project.h"
#include "core/syst.h"
#include "core/tiling.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/map_tiles.h"
#include "editor/map_view.h"
#include "editor/pinit_layout.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/headless/headless_host.h"
#include "support/program_state.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

using namespace plat;

namespace {

// Map pixel (x, y) of the test map has its own colour, so a picture pixel tells which map
// pixel was painted there.
Colour MapColour(int x, int y) { return RGB(x * 8 + 1, y * 8 + 1, 100); }
constexpr Colour kWhite = RGB(255, 255, 255);

// A 30 x 25 map cut into 10-pixel tiles (3 columns, 3 rows) shown in a 41 x 31 picture.
class MapView : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        f.Load();
        Pinit_Init_Scrollbars();
        f.Pic.Move(0, 21, 41, 31);
        Map_Width_Px = 30;
        Map_Height_Px = 25;
        Map_Px_West = 0;
        Map_Px_North = 0;
        Map_Px_East = 30;
        Map_Px_South = 25;
        Map_Shown = 1;
        Tile_Size = 10;
    }

    void WriteAndTileMap() {
        App_Dir = testenv::ScratchDir("map_view").string();
        ASSERT_TRUE(MakeFolder(App_Dir + "\\Temp"));
        BmpFileHeader file;
        BmpInfoHeader info;
        MakeBmpHeaders(30, 25, 24, 2834, file, info);
        const auto headers = EncodeBmpHeaders(file, info);
        std::vector<uint8_t> bytes(headers.begin(), headers.end());
        for (int y = 24; y >= 0; --y) {
            for (int x = 0; x < 30; ++x) {
                const Colour c = MapColour(x, y);
                bytes.push_back(static_cast<uint8_t>(Blue(c)));
                bytes.push_back(static_cast<uint8_t>(Green(c)));
                bytes.push_back(static_cast<uint8_t>(Red(c)));
            }
            bytes.push_back(0);
            bytes.push_back(0);
        }
        ASSERT_TRUE(WriteBinary(App_Dir + "\\map.bmp", bytes));
        Tiling_No_Progress none;
        int16_t error = 1;
        Com_Split_Map_Bitmap(none, App_Dir + "\\map.bmp", error);
        ASSERT_EQ(error, 0);
        ASSERT_EQ(Tile_Count, 9);
    }

    void OpenMap() {
        WriteAndTileMap();
        PSais_Init_View();
        ASSERT_TRUE(PSais_Load_Map_Tiles());
    }

    Colour Pixel(int x, int y) const { return f.Pic.Image().GetPixel(x, y); }
    bool AllWhite() const {
        for (int y = 0; y < 31; ++y)
            for (int x = 0; x < 41; ++x)
                if (Pixel(x, y) != kWhite) return false;
        return true;
    }

    Frm& f = Frm_Window();
    HeadlessHost& host = DefaultHeadlessHost();
};

// ---------------------------------------------------------------------------------------------
// Transforms

TEST_F(MapView, AfterTheViewIsSetUpPictureAndMapPixelsCoincideAtZoomOne) {
    PSais_Init_View();
    EXPECT_DOUBLE_EQ(Pic_Centre_X, 20.5);
    EXPECT_DOUBLE_EQ(Pic_Centre_Y, 15.5);
    EXPECT_DOUBLE_EQ(View_Offset_X, 15 - 20.5);
    EXPECT_DOUBLE_EQ(View_Offset_Y, 12.5 - 15.5);
    for (double p : {0.0, 7.25, 40.0}) {
        double X = 0, Y = 0, px = 0, py = 0;
        PSais_Picture_To_Map(p, p / 2, X, Y);
        EXPECT_DOUBLE_EQ(X, p);
        EXPECT_DOUBLE_EQ(Y, p / 2);
        PSais_Map_To_Picture(p, p / 2, px, py);
        EXPECT_DOUBLE_EQ(px, p);
        EXPECT_DOUBLE_EQ(py, p / 2);
    }
}

TEST_F(MapView, MapToPictureUndoesPictureToMapAtAnyZoomAndOffset) {
    PSais_Init_View();
    for (double zoom : {1.0, 0.37, 2.0, 21.64}) {
        for (double offset : {-300.5, 0.0, 12.75}) {
            View_Zoom = zoom;
            View_Offset_X = offset;
            View_Offset_Y = -offset / 3;
            for (double p : {-5.0, 0.0, 20.5, 333.3}) {
                double X = 0, Y = 0, px = 0, py = 0;
                PSais_Picture_To_Map(p, 2 * p, X, Y);
                PSais_Map_To_Picture(X, Y, px, py);
                EXPECT_NEAR(px, p, 1e-9) << zoom << " " << offset;
                EXPECT_NEAR(py, 2 * p, 1e-9) << zoom << " " << offset;
            }
            // One map pixel covers `zoom` picture pixels.
            double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
            PSais_Picture_To_Map(10, 10, X1, Y1);
            PSais_Picture_To_Map(10 + zoom, 10, X2, Y2);
            EXPECT_NEAR(X2 - X1, 1, 1e-9);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Zoom

TEST_F(MapView, ZoomInStepsBy115AndSnapsNearOne) {
    View_Zoom = 1.005;
    Frm_Cmd_ZPlus_Click();
    EXPECT_DOUBLE_EQ(View_Zoom, 1.15);
    View_Zoom = 1.01;
    Frm_Cmd_ZPlus_Click();
    EXPECT_DOUBLE_EQ(View_Zoom, 1.01 * 1.15);
    View_Zoom = 0.995;
    Frm_Cmd_ZMoins_Click();
    EXPECT_DOUBLE_EQ(View_Zoom, 1 / 1.15);
}

TEST_F(MapView, ZoomInStopsAboveTwentyWithoutARedraw) {
    PSais_Init_View();
    View_Zoom = 20;
    Frm_Cmd_ZPlus_Click();
    EXPECT_DOUBLE_EQ(View_Zoom, 23);

    View_Zoom = 20.01;
    f.Pic.Image().SetPixel(3, 3, RGB(1, 2, 3));
    Frm_Cmd_ZPlus_Click();
    EXPECT_DOUBLE_EQ(View_Zoom, 20.01);
    EXPECT_EQ(Pixel(3, 3), RGB(1, 2, 3)) << "a refused zoom must not redraw";

    View_Zoom = 1;
    int steps = 0;
    for (int i = 0; i < 40; ++i) {
        const double before = View_Zoom;
        Frm_Cmd_ZPlus_Click();
        if (View_Zoom != before) ++steps;
    }
    EXPECT_EQ(steps, 22);
    EXPECT_NEAR(View_Zoom, std::pow(1.15, 22), 1e-9);
}

TEST_F(MapView, EqualRunsOfZoomInsAndZoomOutsComeBackToExactlyOne) {
    for (int i = 0; i < 10; ++i) Frm_Cmd_ZPlus_Click();
    for (int i = 0; i < 10; ++i) Frm_Cmd_ZMoins_Click();
    EXPECT_EQ(View_Zoom, 1.0);
    for (int i = 0; i < 7; ++i) Frm_Cmd_ZMoins_Click();
    for (int i = 0; i < 7; ++i) Frm_Cmd_ZPlus_Click();
    EXPECT_EQ(View_Zoom, 1.0);
}

TEST_F(MapView, ZoomKeepsTheMapPointAtThePictureCentre) {
    PSais_Init_View();
    View_Offset_X = 3.25;
    double X0 = 0, Y0 = 0;
    PSais_Picture_To_Map(Pic_Centre_X, Pic_Centre_Y, X0, Y0);
    Frm_Cmd_ZPlus_Click();
    Frm_Cmd_ZPlus_Click();
    Frm_Cmd_ZMoins_Click();
    double X = 0, Y = 0;
    PSais_Picture_To_Map(Pic_Centre_X, Pic_Centre_Y, X, Y);
    EXPECT_DOUBLE_EQ(X, X0);
    EXPECT_DOUBLE_EQ(Y, Y0);
    EXPECT_DOUBLE_EQ(View_Offset_X, 3.25);
}

TEST_F(MapView, ZoomingOutNeverReachesZeroSoZoomInCanAlwaysComeBack) {
    View_Zoom = 1.2e-100;
    Frm_Cmd_ZMoins_Click();
    Frm_Cmd_ZMoins_Click();
    EXPECT_GT(View_Zoom, 0);
    double X = 0, Y = 0;
    PSais_Picture_To_Map(5, 5, X, Y);
    EXPECT_TRUE(std::isfinite(X) && std::isfinite(Y));
    const double low = View_Zoom;
    Frm_Cmd_ZPlus_Click();
    EXPECT_GT(View_Zoom, low);
}

TEST_F(MapView, ZoomButtonsRunTheirHandlers) {
    f.Cmd_ZPlus.SetValue(true);
    EXPECT_DOUBLE_EQ(View_Zoom, 1.15);
    f.Cmd_ZMoins.SetValue(true);
    f.Cmd_ZMoins.SetValue(true);
    EXPECT_DOUBLE_EQ(View_Zoom, 1 / 1.15);
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

TEST_F(MapView, TheBarPositionSetsTheOffsetOverHalfTheRangeEachWay) {
    PSais_Init_View();
    Scroll_Range_X = 600;
    Scroll_Range_Y = 500;
    f.HScroll.SetValue(16000);
    EXPECT_DOUBLE_EQ(View_Offset_X, 0);
    f.HScroll.SetValue(0);
    EXPECT_DOUBLE_EQ(View_Offset_X, 300);
    f.HScroll.SetValue(32000);
    EXPECT_DOUBLE_EQ(View_Offset_X, -300);
    f.VScroll.SetValue(8000);
    EXPECT_DOUBLE_EQ(View_Offset_Y, 125);
    EXPECT_DOUBLE_EQ(View_Offset_X, -300) << "the vertical bar leaves the horizontal offset";
}

TEST_F(MapView, ABarSetByTheProgramChangesNothing) {
    PSais_Init_View();
    Scroll_Range_X = 600;
    View_Offset_X = 7;
    f.Pic.Image().SetPixel(1, 1, RGB(9, 9, 9));
    Scroll_Busy = 1;
    f.HScroll.SetValue(100);
    Frm_HScroll_Change();
    Scroll_Busy = 0;
    EXPECT_DOUBLE_EQ(View_Offset_X, 7);
    EXPECT_EQ(Pixel(1, 1), RGB(9, 9, 9));
}

TEST_F(MapView, ViewSetUpShowsTheOffsetsOnTheBarsWithoutARedraw) {
    Pinit_Init_Scrollbars();
    f.Pic.Image().SetPixel(2, 2, RGB(5, 6, 7));
    PSais_Init_View();
    EXPECT_DOUBLE_EQ(Scroll_Range_X, 60);
    EXPECT_DOUBLE_EQ(Scroll_Range_Y, 50);
    // 16000 - (-5.5 x 32000 / 60) = 18933.3 and 16000 - (-3 x 32000 / 50) = 17920.
    EXPECT_EQ(f.HScroll.Value(), 18933);
    EXPECT_EQ(f.VScroll.Value(), 17920);
    EXPECT_EQ(Scroll_Busy, 0);
    EXPECT_EQ(Pixel(2, 2), RGB(5, 6, 7));
    EXPECT_DOUBLE_EQ(View_Offset_X, -5.5) << "the bar's own rounding does not move the view";
}

TEST_F(MapView, OffsetsBeyondTheBarsTravelPinTheBarsToTheirEnds) {
    f.Pic.Move(0, 21, 1001, 601);   // a picture much larger than the map
    PSais_Init_View();
    EXPECT_EQ(f.HScroll.Value(), 32000);
    EXPECT_EQ(f.VScroll.Value(), 32000);
    EXPECT_EQ(PSais_Scroll_Value(1000, 60), 0);
    EXPECT_EQ(PSais_Scroll_Value(15, 60), 8000);
    // An uncalibrated rectangle gives no travel: the bar stays in the middle.
    EXPECT_EQ(PSais_Scroll_Value(15, 0), 16000);
}

// ---------------------------------------------------------------------------------------------
// Painting the map

TEST_F(MapView, AtZoomOneEveryPicturepixelShowsItsMapPixelAcrossTiles) {
    OpenMap();
    PSais_Redraw_Map();
    for (int y = 0; y < 31; ++y) {
        for (int x = 0; x < 41; ++x) {
            const Colour want = x < 30 && y < 25 ? MapColour(x, y) : kWhite;
            ASSERT_EQ(Pixel(x, y), want) << x << "," << y;
        }
    }
    EXPECT_EQ(host.mouse_pointer, Pointer_Default);
}

TEST_F(MapView, AtZoomTwoEachMapPixelCoversTwoByTwoPicturePixels) {
    OpenMap();
    View_Zoom = 2;
    View_Offset_X = 0.75;   // map point (4, 3) under the picture's top-left corner
    View_Offset_Y = 1.75;
    PSais_Redraw_Map();
    // 20 columns (41 / 2 rounded to even) and 16 rows (from row 3 to 18, 31 / 2 rounded).
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(Pixel(x, y), MapColour(4 + x / 2, 3 + y / 2)) << x << "," << y;
}

TEST_F(MapView, AMapStartingRightOfAndBelowThePictureEdgeIsPaintedFromItsFirstPixel) {
    OpenMap();
    View_Zoom = 2;
    View_Offset_X = 8.75;    // map x 0 at picture x 8
    View_Offset_Y = 6.25;    // map y 0 at picture y 3
    PSais_Redraw_Map();
    EXPECT_EQ(Pixel(7, 10), kWhite);
    EXPECT_EQ(Pixel(8, 10), MapColour(0, 3));
    EXPECT_EQ(Pixel(9, 10), MapColour(0, 3));
    EXPECT_EQ(Pixel(10, 10), MapColour(1, 3));
    EXPECT_EQ(Pixel(20, 2), kWhite);
    EXPECT_EQ(Pixel(20, 3), MapColour(6, 0));
    EXPECT_EQ(Pixel(39, 30), MapColour(15, 13));
}

TEST_F(MapView, AViewBesideTheMapPaintsNothing) {
    OpenMap();
    for (double ox : {-100.0, 100.0}) {
        View_Offset_X = ox;
        View_Offset_Y = 0;
        PSais_Redraw_Map();
        EXPECT_TRUE(AllWhite()) << ox;
    }
    View_Offset_X = 0;
    View_Offset_Y = -60;
    PSais_Redraw_Map();
    EXPECT_TRUE(AllWhite());
}

TEST_F(MapView, AHiddenMapLeavesThePlainBackground) {
    OpenMap();
    PSais_Redraw_Map();
    ASSERT_EQ(Pixel(0, 0), MapColour(0, 0));
    Map_Shown = 0;
    PSais_Redraw_Map();
    EXPECT_TRUE(AllWhite());
}

TEST_F(MapView, MovingABarScrollsThePaintedMap) {
    OpenMap();
    Scroll_Range_X = 32000;   // one bar position per map pixel
    f.HScroll.SetValue(16003);
    EXPECT_DOUBLE_EQ(View_Offset_X, -3);
    // Map x 0 now lies 2.5 pixels right of the picture's edge: painted from round(2.5) = 2.
    EXPECT_EQ(Pixel(1, 0), kWhite);
    EXPECT_EQ(Pixel(2, 0), MapColour(0, 0));
    EXPECT_EQ(Pixel(31, 24), MapColour(29, 24));
    EXPECT_EQ(Pixel(32, 24), kWhite);
}

// ---------------------------------------------------------------------------------------------
// Loading and releasing the tiles

// Records the progress labels at every refresh of the main window.
class ProgressHost : public HeadlessHost {
public:
    void Refresh(Form& form) override {
        HeadlessHost::Refresh(form);
        const Frm& f = Frm_Window();
        seen.push_back(f.LNbTex.Caption() + "|" + f.LPourCent.Caption() + "|" +
                       (f.Fram_Creat_2500.Visible() ? "shown" : "hidden"));
    }
    std::vector<std::string> seen;
};

TEST_F(MapView, LoadingCountsTheTilesWithTheirPercentages) {
    WriteAndTileMap();
    // Keep three tiles of a 3 x 1 grid.
    Tile_Rows = 1;
    Tile_Count = 3;
    ProgressHost progress;
    SetHost(&progress);
    EXPECT_TRUE(PSais_Load_Map_Tiles());
    SetHost(nullptr);
    const std::vector<std::string> want = {"1|0%|shown", " 2|50%|shown", " 3|100%|shown"};
    EXPECT_EQ(progress.seen, want);
    EXPECT_FALSE(f.Fram_Creat_2500.Visible());
    EXPECT_EQ(f.LTex2500.Caption(), "Chargement de la carte");
    EXPECT_EQ(Map_Tiles_Loaded(), 3);
    EXPECT_EQ(progress.mouse_pointer, Pointer_Default);
}

TEST_F(MapView, AOneTileMapShowsOneAndZeroPercentOnly) {
    WriteAndTileMap();
    Tile_Cols = Tile_Rows = 1;
    Tile_Count = 1;
    Language = "US";
    ProgressHost progress;
    SetHost(&progress);
    EXPECT_TRUE(PSais_Load_Map_Tiles());
    SetHost(nullptr);
    EXPECT_EQ(progress.seen, std::vector<std::string>{"1|0%|shown"});
    EXPECT_EQ(f.LTex2500.Caption(), " Image Map loading");
    EXPECT_EQ(Map_Tiles_Loaded(), 1);
    ASSERT_NE(Map_Tile(0), nullptr);
    EXPECT_EQ(Map_Tile(0)->GetPixel(9, 9), MapColour(9, 9));
    EXPECT_EQ(Map_Tile(1), nullptr);
}

TEST_F(MapView, AnUnreadableTileStopsTheLoadingWithAMessageAndThePartReadIsStillShown) {
    WriteAndTileMap();
    const std::string bad = Com_Tile_File(Tile_Cols, Tile_Rows, 4);
    ASSERT_TRUE(WriteBinary(bad, {'B', 'M', 1, 2, 3}));
    PSais_Init_View();
    host.QueueAnswer(ID_OK);
    EXPECT_FALSE(PSais_Load_Map_Tiles());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].prompt, "Impossible de lire la tuile de carte " + bad);
    EXPECT_EQ(host.boxes[0].title, "Tessaline");
    EXPECT_FALSE(f.Fram_Creat_2500.Visible());
    EXPECT_EQ(host.mouse_pointer, Pointer_Default);
    EXPECT_EQ(Map_Tiles_Loaded(), 4);

    PSais_Redraw_Map();
    EXPECT_EQ(Pixel(5, 5), MapColour(5, 5));      // tile 0
    EXPECT_EQ(Pixel(15, 5), MapColour(15, 5));    // tile 1
    EXPECT_EQ(Pixel(15, 15), kWhite);             // tile 4, not read
}

TEST_F(MapView, UnloadingReleasesTheTilesAndDeletesTheirFiles) {
    OpenMap();
    std::vector<std::string> files;
    for (int i = 0; i < 9; ++i) files.push_back(Com_Tile_File(Tile_Cols, Tile_Rows, i));
    DeleteFile(files[8]);   // a missing file is simply skipped
    Image_Count = 3;
    f.WPicIma.Load(1);
    f.WPicIma.Load(2);
    f.WPicIma(0).SetPicture(Surface(4, 4, RGB(1, 1, 1)));

    PSais_Unload_Map_Tiles();
    for (const std::string& file : files) EXPECT_FALSE(FileExists(file)) << file;
    EXPECT_TRUE(FileExists(App_Dir + "\\map.bmp"));
    EXPECT_EQ(Tile_Count, 0);
    EXPECT_EQ(Tile_Rows, 0);
    EXPECT_EQ(Tile_Cols, 0);
    EXPECT_EQ(Map_Tiles_Loaded(), 0);
    EXPECT_EQ(f.WPicIma.Count(), 1);
    EXPECT_TRUE(f.WPicIma(0).Picture().Empty());

    PSais_Redraw_Map();
    EXPECT_TRUE(AllWhite());
}

}  // namespace
