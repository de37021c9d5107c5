// The map geometry a calibration leaves for the view, the grid drawings and the generators.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "core/grid.h"
#include "core/project.h"
#include "setup/map_frame.h"
#include "support/program_state.h"

namespace {

class MapFrameTest : public ::testing::Test {
protected:
    void SetUp() override { testenv::ResetProgramState(); }
    void TearDown() override { testenv::ResetProgramState(); }

    static Cad_Frame_Input Points(int32_t xn, int32_t yn, double an, double on, int32_t xs, int32_t ys, double as,
                                  double os, int32_t w, int32_t h) {
        Cad_Frame_Input in;
        in.Px_NW_X = xn;
        in.Px_NW_Y = yn;
        in.Lat_NW = an;
        in.Lon_NW = on;
        in.Px_SE_X = xs;
        in.Px_SE_Y = ys;
        in.Lat_SE = as;
        in.Lon_SE = os;
        in.Width = w;
        in.Height = h;
        return in;
    }
    static void Compute(const Cad_Frame_Input& in) {
        Cad_Compute_Map_Edges(in);
        Cad_Compute_Map_Frame(in);
    }
};

TEST_F(MapFrameTest, TwoInnerPointsGiveTheEdgesCellsAndFrameOfTheWholeBitmap) {
    const Cad_Frame_Input in = Points(100, 200, 45.5, 5.25, 1100, 1700, 45.0, 6.0, 1201, 1801);
    Compute(in);
    const double top = 45.5 + 0.5 * 200 / 1500;
    EXPECT_DOUBLE_EQ(Map_Top_Lat, top);
    EXPECT_DOUBLE_EQ(Map_Bottom_Lat, top - (top - 45.0) * 1800 / 1700);
    EXPECT_DOUBLE_EQ(Map_Left_Lon, 5.175);
    EXPECT_DOUBLE_EQ(Map_Right_Lon, 5.175 + (6.0 - 5.175) * 1200 / 1100);
    EXPECT_EQ(Grid_Corner_Cells, (std::array<int16_t, 8>{126, 395, 128, 396, 12, 1, 3, 30}));
    EXPECT_EQ(Grid_Frame_Cells, (std::array<int16_t, 8>{11, 126, 0, 395, 4, 128, 31, 396}));
    EXPECT_DOUBLE_EQ(Map_Lon_West, 395 * Lod8_Width - 180);
    EXPECT_DOUBLE_EQ(Map_Lat_North, 90 - 126 * Lod8_Height - 11 * Lod13_Height);
    EXPECT_DOUBLE_EQ(Map_Lon_East, 396 * Lod8_Width - 180 + 32 * Lod13_Width);
    EXPECT_DOUBLE_EQ(Map_Lat_South, 90 - 128 * Lod8_Height - 5 * Lod13_Height);
    EXPECT_NEAR(Map_Px_West, -25, 1e-9);
    EXPECT_NEAR(Map_Px_East, 1225, 1e-9);
    // The frame's pixel edges lie on the same scale as the points: 1500 rows per half degree.
    EXPECT_NEAR(Map_Px_North, 3000 * (top - Map_Lat_North), 1e-9);
    EXPECT_NEAR(Map_Px_South, 3000 * (top - Map_Lat_South), 1e-9);
    EXPECT_LT(Map_Px_North, 0);
    EXPECT_GT(Map_Px_South, 1800);
}

TEST_F(MapFrameTest, PointsOnTheBitmapCornersAreItsEdges) {
    Compute(Points(0, 0, 46.0, 6.0, 999, 799, 45.0, 7.0, 1000, 800));
    EXPECT_EQ(Map_Top_Lat, 46.0);
    EXPECT_EQ(Map_Left_Lon, 6.0);
    EXPECT_DOUBLE_EQ(Map_Bottom_Lat, 45.0);
    EXPECT_DOUBLE_EQ(Map_Right_Lon, 7.0);
}

TEST_F(MapFrameTest, AGridLineBelongsToTheCellSouthAndEastOfIt) {
    // Corner latitude exactly 45: row 128, sub-row 0, so the north frame is row 127, sub-row 31.
    Compute(Points(0, 0, 45.0, 0.0, 99, 99, 44.9, 0.2, 100, 100));
    EXPECT_EQ(Grid_Corner_Cells[0], 128);
    EXPECT_EQ(Grid_Corner_Cells[4], 0);
    EXPECT_EQ(Grid_Frame_Cells[0], 31);
    EXPECT_EQ(Grid_Frame_Cells[1], 127);
    EXPECT_DOUBLE_EQ(Map_Lat_North, 45.0 + Lod13_Height);
    // Longitude 0 is the west edge of column 384: the west frame is column 383, sub-column 31.
    EXPECT_EQ(Grid_Corner_Cells[1], 384);
    EXPECT_EQ(Grid_Corner_Cells[5], 0);
    EXPECT_EQ(Grid_Frame_Cells[2], 31);
    EXPECT_EQ(Grid_Frame_Cells[3], 383);
}

TEST_F(MapFrameTest, TheFrameStopsAtTheEdgesOfTheGrid) {
    Compute(Points(0, 0, 90.0, -180.0, 99, 99, 89.9, -179.9, 100, 100));
    EXPECT_EQ(Grid_Frame_Cells[0], 0);
    EXPECT_EQ(Grid_Frame_Cells[1], 0);
    EXPECT_EQ(Grid_Frame_Cells[2], 0);
    EXPECT_EQ(Grid_Frame_Cells[3], 0);
    EXPECT_EQ(Map_Lat_North, 90.0);
    EXPECT_EQ(Map_Lon_West, -180.0);
    EXPECT_EQ(Map_Px_North, 0);
    EXPECT_EQ(Map_Px_West, 0);

    // South-east corner in the last sub-row of row 511 and the last sub-column of column 767.
    Compute(Points(0, 0, -89.9, 179.9, 99, 99, -90 + Lod13_Height / 2, 180 - Lod13_Width / 2, 100, 100));
    EXPECT_EQ(Grid_Corner_Cells[2], 511);
    EXPECT_EQ(Grid_Corner_Cells[6], 31);
    EXPECT_EQ(Grid_Frame_Cells[4], 31);
    EXPECT_EQ(Grid_Frame_Cells[5], 511);
    EXPECT_EQ(Grid_Frame_Cells[6], 31);
    EXPECT_EQ(Grid_Frame_Cells[7], 767);
    EXPECT_DOUBLE_EQ(Map_Lat_South, -90.0);
    EXPECT_DOUBLE_EQ(Map_Lon_East, 180.0);
}

TEST_F(MapFrameTest, AnEastCornerInTheLastSubColumnMovesTheFrameIntoTheNextCell) {
    const double lon = 5 * Lod8_Width - 180 + 31.5 * Lod13_Width;
    Compute(Points(0, 0, 45.3, lon - 0.1, 99, 99, 45.2, lon, 100, 100));
    EXPECT_EQ(Grid_Corner_Cells[3], 5);
    EXPECT_EQ(Grid_Corner_Cells[7], 31);
    EXPECT_EQ(Grid_Frame_Cells[6], 0);
    EXPECT_EQ(Grid_Frame_Cells[7], 6);
    EXPECT_DOUBLE_EQ(Map_Lon_East, 6 * Lod8_Width - 180 + Lod13_Width);
}

TEST_F(MapFrameTest, ChecksRefuseCalibrationsThatCannotCarryAFrame) {
    Cad_Frame_Input in = Points(10, 10, 46, 6, 90, 90, 45, 7, 100, 100);
    EXPECT_EQ(Cad_Check_Order(in), 0);
    EXPECT_EQ(Cad_Check_Pixels(in), 0);
    in.Lat_SE = 46;   // same latitude
    EXPECT_EQ(Cad_Check_Order(in), 7);
    in.Lat_SE = 47;   // NW south of SE
    EXPECT_EQ(Cad_Check_Order(in), 7);
    in.Lat_SE = 45;
    in.Lon_SE = 6;
    EXPECT_EQ(Cad_Check_Order(in), 7);
    in.Lon_SE = 7;
    in.Px_SE_X = 10;  // no horizontal extent
    EXPECT_EQ(Cad_Check_Pixels(in), 7);
    in.Px_SE_X = 90;
    in.Px_SE_Y = 5;   // SE above NW
    EXPECT_EQ(Cad_Check_Pixels(in), 7);
    in.Px_SE_Y = 90;
    in.Px_NW_X = -1;  // off the bitmap
    EXPECT_EQ(Cad_Check_Pixels(in), 7);
}

}  // namespace
