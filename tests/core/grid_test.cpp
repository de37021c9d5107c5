#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/grid.h"
#include "core/project.h"
#include "support/program_state.h"

namespace {

// Pixel x is the longitude and pixel y minus the latitude, exactly.
void Identity_Calibration() {
    Proj_Px_NW_X = 0;
    Proj_Px_NW_Y = 0;
    Proj_Px_SE_X = 1;
    Proj_Px_SE_Y = 1;
    Proj_Lat_NW = 0;
    Proj_Lon_NW = 0;
    Proj_Lat_SE = -1;
    Proj_Lon_SE = 1;
}

// The stepping search as the boundaries are walked one by one.
int Step_Down(double v, double origin, double step, int n) {
    int count = 0;
    double b = origin;
    for (int j = 0; j < n; ++j, b -= step) {
        if (v <= b) ++count;
        else break;
    }
    return count - 1;
}
int Step_Up(double v, double origin, double step, int n) {
    int count = 0;
    double b = origin;
    for (int j = 0; j < n; ++j, b += step) {
        if (v >= b) ++count;
        else break;
    }
    return count - 1;
}

struct Cell { int16_t row8, row13, col8, col13; };
Cell Find(double lat, double lon) {
    Cell c{};
    Com_LatLon_To_Cell(lat, lon, c.row8, c.row13, c.col8, c.col13);
    return c;
}

class GridArithmetic : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Identity_Calibration();
    }
};

TEST_F(GridArithmetic, BoundaryPointsBelongSouthAndEast) {
    const struct { double lat, lon; int row8, row13, col8, col13; } cases[] = {
        {90.0, -180.0, 0, 0, 0, 0},
        {45.0, 0.0, 128, 0, 384, 0},
        {90 - 3 * Lod8_Height, -180 + 7 * Lod8_Width, 3, 0, 7, 0},
        // Just north of / west of a boundary stays in the cell above / to the west.
        {std::nextafter(45.0, 90.0), std::nextafter(0.0, -1.0), 127, 31, 383, 31},
        // LOD13 boundaries inside an LOD8 cell.
        {45 - 5 * Lod13_Height, 0 + 9 * Lod13_Width, 128, 5, 384, 9},
        {std::nextafter(45 - 5 * Lod13_Height, 90.0), 9 * Lod13_Width - 1e-12, 128, 4, 384, 8},
        // The south edge of an LOD8 cell is the next row's LOD13 row 0.
        {45 - Lod8_Height, Lod8_Width, 129, 0, 385, 0},
        {-89.99, 179.99, 511, 31, 767, 31},
    };
    for (const auto& c : cases) {
        const Cell got = Find(c.lat, c.lon);
        EXPECT_EQ(got.row8, c.row8) << c.lat;
        EXPECT_EQ(got.row13, c.row13) << c.lat;
        EXPECT_EQ(got.col8, c.col8) << c.lon;
        EXPECT_EQ(got.col13, c.col13) << c.lon;
    }
}

TEST_F(GridArithmetic, OutsideTheWorldGivesTheStepBounds) {
    // The boundary walk ends after its last boundary: south of -90 is row 512, east of 180
    // column 768.
    EXPECT_EQ(Find(90.5, 0).row8, -1);
    EXPECT_EQ(Find(-90.0, 0).row8, 512);
    EXPECT_EQ(Find(-1e300, 0).row8, 512);
    EXPECT_EQ(Find(0, -180.5).col8, -1);
    EXPECT_EQ(Find(0, 180.0).col8, 768);
    EXPECT_EQ(Find(0, 1e300).col8, 768);
    const Cell nan = Find(std::nan(""), std::nan(""));
    EXPECT_EQ(nan.row8, -1);
    EXPECT_EQ(nan.col8, -1);
}

TEST_F(GridArithmetic, SearchEqualsTheBoundaryWalk) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> lat_d(-91, 91), lon_d(-181, 181);
    std::uniform_int_distribution<int> row_d(-2, 514), col_d(-2, 770), sub_d(0, 32);
    for (int i = 0; i < 20000; ++i) {
        double lat = lat_d(rng), lon = lon_d(rng);
        if (i % 2) {  // on or next to a boundary
            lat = 90 - row_d(rng) * Lod8_Height - sub_d(rng) * Lod13_Height;
            lon = -180 + col_d(rng) * Lod8_Width + sub_d(rng) * Lod13_Width;
            if (i % 4 == 1) lat = std::nextafter(lat, 100.0), lon = std::nextafter(lon, -200.0);
        }
        const int row = Step_Down(lat, 90, Lod8_Height, 513);
        const int col = Step_Up(lon, -180, Lod8_Width, 769);
        const Cell got = Find(lat, lon);
        ASSERT_EQ(got.row8, row) << lat;
        ASSERT_EQ(got.col8, col) << lon;
        ASSERT_EQ(got.row13, Step_Down(lat, 90 - row * Lod8_Height, Lod13_Height, 33)) << lat;
        ASSERT_EQ(got.col13, Step_Up(lon, -180 + col * Lod8_Width, Lod13_Width, 33)) << lon;
    }
}

TEST_F(GridArithmetic, CentredSearchNamesTheNearestGridCorner) {
    Cell c{};
    Com_LatLon_To_Cell_Centred(45.0, 0.0, c.row8, c.row13, c.col8, c.col13);
    EXPECT_EQ((std::array<int, 4>{c.row8, c.row13, c.col8, c.col13}),
              (std::array<int, 4>{128, 0, 384, 0}));
    // A little south-east of the corner, still nearer to it.
    Com_LatLon_To_Cell_Centred(45.0 - 0.4 * Lod13_Height, 0.4 * Lod13_Width, c.row8, c.row13,
                               c.col8, c.col13);
    EXPECT_EQ((std::array<int, 4>{c.row8, c.row13, c.col8, c.col13}),
              (std::array<int, 4>{128, 0, 384, 0}));
    // Exactly half-way goes to the southern and the eastern line.
    Com_LatLon_To_Cell_Centred(45.0 - Lod13_Height / 2, Lod13_Width / 2, c.row8, c.row13, c.col8,
                               c.col13);
    EXPECT_EQ((std::array<int, 4>{c.row8, c.row13, c.col8, c.col13}),
              (std::array<int, 4>{128, 1, 384, 1}));
    // North-west of the corner by less than half a cell: the corner of the previous cells.
    Com_LatLon_To_Cell_Centred(45.0 + 0.4 * Lod13_Height, -0.4 * Lod13_Width, c.row8, c.row13,
                               c.col8, c.col13);
    EXPECT_EQ((std::array<int, 4>{c.row8, c.row13, c.col8, c.col13}),
              (std::array<int, 4>{128, 0, 384, 0}));
    int16_t col8, row8, col13, row13;
    Com_Pixel_To_Cell_Centred(Lod13_Width * 0.6, -(45.0 - 0.6 * Lod13_Height), col8, row8, col13,
                              row13);
    EXPECT_EQ((std::array<int, 4>{col8, row8, col13, row13}), (std::array<int, 4>{384, 128, 1, 1}));
}

TEST_F(GridArithmetic, Lod10AndLod5Cells) {
    int16_t r8, r10, c8, c10;
    Com_LatLon_To_Cell4(45.0 - Lod10_Height, 3 * Lod10_Width + 1e-9, r8, r10, c8, c10);
    EXPECT_EQ((std::array<int, 4>{r8, r10, c8, c10}), (std::array<int, 4>{128, 1, 384, 3}));
    Com_Pixel_To_Cell4(Lod10_Width * 2, -45.0, c8, r8, c10, r10);
    EXPECT_EQ((std::array<int, 4>{c8, r8, c10, r10}), (std::array<int, 4>{384, 128, 2, 0}));

    int16_t r5, r13, c5, c13;
    Com_LatLon_To_Cell5(45.0, 0.0, r5, r13, c5, c13);
    EXPECT_EQ((std::array<int, 4>{r5, r13, c5, c13}), (std::array<int, 4>{16, 0, 48, 0}));
    // The last LOD13 row and column of an LOD5 cell.
    Com_LatLon_To_Cell5(45.0 + Lod13_Height / 2, -Lod13_Width / 2, r5, r13, c5, c13);
    EXPECT_EQ((std::array<int, 4>{r5, r13, c5, c13}), (std::array<int, 4>{15, 255, 47, 255}));

    // LOD8 cell 385/129 is the second of its LOD5 cell in both directions: LOD13 32 + sub.
    Com_Cell_Center_Reindex(385, 129, 3, 31, c5, r5, c13, r13);
    EXPECT_EQ((std::array<int, 4>{c5, r5, c13, r13}), (std::array<int, 4>{48, 16, 35, 63}));
    Com_Cell_Center_Reindex(767, 511, 31, 31, c5, r5, c13, r13);
    EXPECT_EQ((std::array<int, 4>{c5, r5, c13, r13}), (std::array<int, 4>{95, 63, 255, 255}));
}

TEST_F(GridArithmetic, Lod13LocalPositions) {
    int16_t c8, r8, c13, r13, px, py;
    // Middle of LOD13 cell (3, 2) of LOD8 cell (384, 128): 127.5 rounds to the even 128.
    const double w = 3 * Lod13_Width, n = 45 - 2 * Lod13_Height;
    Com_Pixel_To_Sub_Pos_Clamped(w + Lod13_Width / 2, -(n - Lod13_Height / 2), c8, r8, c13, r13,
                                 px, py);
    EXPECT_EQ((std::array<int, 6>{c8, r8, c13, r13, px, py}),
              (std::array<int, 6>{384, 128, 3, 2, 128, 128}));
    Com_Pixel_To_Sub_Pos_Clamped(w, -n, c8, r8, c13, r13, px, py);
    EXPECT_EQ(px, 0);
    EXPECT_EQ(py, 0);

    // Given-cell positions snap within 1/255 of a cell and measure absolute distances.
    Com_Pixel_To_Sub_Pos_Rounded(w + Lod13_Width, -n, 384, 128, 3, 2, px, py);
    EXPECT_EQ(px, 255);
    Com_Pixel_To_Sub_Pos_Rounded(w + Lod13_Width / 300, -(n - Lod13_Height / 300), 384, 128, 3, 2,
                                 px, py);
    EXPECT_EQ(px, 0);
    EXPECT_EQ(py, 0);
    int16_t east, west;
    Com_Pixel_To_Sub_Pos_Rounded(w + Lod13_Width * 0.3, -n, 384, 128, 3, 2, east, py);
    Com_Pixel_To_Sub_Pos_Rounded(w - Lod13_Width * 0.3, -n, 384, 128, 3, 2, west, py);
    EXPECT_EQ(east, 77);
    EXPECT_EQ(west, east);
    // Far outside the given cell the value is held at 255.
    Com_Pixel_To_Sub_Pos_Rounded(w + 10 * Lod13_Width, -n, 384, 128, 3, 2, px, py);
    EXPECT_EQ(px, 255);

    // LOD8-local through the LOD13 cell.
    int16_t lx, ly;
    Com_Pixel_To_Sub_Pos(w, -n, c8, r8, c13, r13, lx, ly);
    EXPECT_EQ(lx, 4080 + 3 * 255);
    EXPECT_EQ(ly, 4080 + 2 * 255);
}

TEST_F(GridArithmetic, Lod8LocalPositions) {
    int16_t c8, r8, lx, ly;
    Com_Pixel_To_Cell_Pos(0.0, -45.0, c8, r8, lx, ly);
    EXPECT_EQ((std::array<int, 4>{c8, r8, lx, ly}), (std::array<int, 4>{384, 128, 4080, 4080}));
    Com_Pixel_To_Cell_Pos(Lod8_Width / 4, -(45 - Lod8_Height * 0.75), c8, r8, lx, ly);
    EXPECT_EQ((std::array<int, 4>{c8, r8, lx, ly}), (std::array<int, 4>{384, 128, 6120, 10200}));

    Com_Pixel_To_Cell_Pos_Clamped(Lod8_Width, -45.0, 384, 128, lx, ly);
    EXPECT_EQ(lx, 12240);
    EXPECT_EQ(ly, 4080);
    Com_Pixel_To_Cell_Pos_Clamped(Lod8_Width / 300, -(45 - Lod8_Height / 9000), 384, 128, lx, ly);
    EXPECT_EQ(lx, 4107);
    EXPECT_EQ(ly, 4080);
    Com_Pixel_To_Cell_Pos_Clamped(-Lod8_Width / 300, -45.0, 384, 128, lx, ly);
    EXPECT_EQ(lx, 4107);  // west of the edge measures the same distance
    Com_Pixel_To_Cell_Pos_Clamped(5 * Lod8_Width, -45.0, 384, 128, lx, ly);
    EXPECT_EQ(lx, 12240);
}

TEST_F(GridArithmetic, UnclampedPositionsSaturateAt16Bits) {
    int16_t lx, ly;
    Com_Pixel_To_Cell_Pos_Unclamped(1.5 * Lod8_Width, -(45 - 2 * Lod8_Height), 384, 128, lx, ly);
    EXPECT_EQ(lx, 4080 + 12240);
    EXPECT_EQ(ly, 4080 + 16320);
    Com_Pixel_To_Cell_Pos_Centred(1.5 * Lod8_Width, -45.0, 384, 128, lx, ly);
    EXPECT_EQ(lx, 16320);
    // Five cell widths away no longer fits: held at the largest 16-bit value.
    Com_Pixel_To_Cell_Pos_Unclamped(5 * Lod8_Width, -(45 - 100 * Lod8_Height), 384, 128, lx, ly);
    EXPECT_EQ(lx, 32767);
    EXPECT_EQ(ly, 32767);
}

TEST(QuadKey, KnownCells) {
    EXPECT_EQ(Com_Cell_Quad_Key(1, 0, 0, 0), "000000000100000");
    EXPECT_EQ(Com_Cell_Quad_Key(767, 511, 31, 31), "123333333333333");
    EXPECT_EQ(Com_Cell_Quad_Key(0, 0, 0, 1), "000000000000002");
    EXPECT_EQ(Com_Cell_Quad_Key(0, 0, 1, 1), "000000000000003");
    std::string key = "junk";
    Com_Cell_Quad_Key(384, 128, 0, 0, key);
    // A = 12288 = 011000000000000, B = 4096 = 001000000000000.
    EXPECT_EQ(key, "013000000000000");
    // Indices outside the world stay 15 digits.
    EXPECT_EQ(Com_Cell_Quad_Key(-1, -1, 0, 0).size(), 15u);
}

TEST(GridFrame, CornerAndFrameCellsOfAMap) {
    // The map of NW pixel (100, 200) at 45.5 N 5.25 E, SE pixel (1100, 1700) at 45.0 N 6.0 E,
    // 1201 x 1801 pixels, extended to its edges.
    const double top = 45.5 + 0.5 * 200 / 1500;
    const double bottom = top - std::fabs(45.0 - top) * 1800 / 1700;
    const double left = 5.25 - 0.75 * 100 / 1000;
    const double right = left + std::fabs(6.0 - left) * 1200 / 1100;
    std::array<int16_t, 8> corner{}, frame{};
    double north, west, south, east;
    Com_Grid_Frame_Cells(top, left, bottom, right, corner, frame, north, west, south, east);
    EXPECT_EQ(corner, (std::array<int16_t, 8>{126, 395, 128, 396, 12, 1, 3, 30}));
    EXPECT_EQ(frame, (std::array<int16_t, 8>{11, 126, 0, 395, 4, 128, 31, 396}));
    EXPECT_EQ(west, 395 * Lod8_Width - 180);
    EXPECT_EQ(east, 396 * Lod8_Width - 180 + 32 * Lod13_Width);
    EXPECT_EQ(north, 90 - 126 * Lod8_Height - 11 * Lod13_Height);
    EXPECT_EQ(south, 90 - 128 * Lod8_Height - 5 * Lod13_Height);
}

TEST(GridFrame, FrameCarriesAcrossCellsAndStopsAtTheGridEdge) {
    std::array<int16_t, 8> corner{}, frame{};
    double north, west, south, east;
    // A corner exactly on 45 N: row 128 sub-row 0, so the frame goes north into row 127.
    // The east corner in sub-column 31 moves the frame into the next column.
    Com_Grid_Frame_Cells(45.0, 0.0, 44.9, 0.46875 - 1e-9, corner, frame, north, west, south,
                         east);
    EXPECT_EQ(frame[0], 31);
    EXPECT_EQ(frame[1], 127);
    EXPECT_EQ(frame[2], 31);
    EXPECT_EQ(frame[3], 383);
    EXPECT_EQ(frame[6], 0);
    EXPECT_EQ(frame[7], 385);
    // The whole world: the frame stays at the grid's edges.
    Com_Grid_Frame_Cells(90.0, -180.0, -90 + 1e-9, 180 - 1e-9, corner, frame, north, west, south,
                         east);
    EXPECT_EQ(frame, (std::array<int16_t, 8>{0, 0, 0, 0, 31, 511, 31, 767}));
    EXPECT_EQ(north, 90.0);
    EXPECT_EQ(west, -180.0);
    EXPECT_EQ(south, -90.0);
    EXPECT_EQ(east, 180.0);
}

class Calibration : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Proj_Px_NW_X = 120;
        Proj_Px_NW_Y = 80;
        Proj_Px_SE_X = 3900;
        Proj_Px_SE_Y = 2750;
        Proj_Lat_NW = 45.7;
        Proj_Lon_NW = 4.8;
        Proj_Lat_SE = 45.1;
        Proj_Lon_SE = 5.9;
    }
};

TEST_F(Calibration, CalibrationPointsMapToTheirCoordinates) {
    double lat, lon;
    Com_Pixel_To_LatLon(120, 80, lat, lon);
    EXPECT_DOUBLE_EQ(lat, 45.7);
    EXPECT_DOUBLE_EQ(lon, 4.8);
    Com_Pixel_To_LatLon(3900, 2750, lat, lon);
    EXPECT_DOUBLE_EQ(lat, 45.1);
    EXPECT_DOUBLE_EQ(lon, 5.9);
    double x, y;
    Com_LatLon_To_Pixel(45.4, 5.35, x, y);
    EXPECT_NEAR(x, 2010, 1e-9);
    EXPECT_NEAR(y, 1415, 1e-9);
}

TEST_F(Calibration, RandomPixelsRoundTrip) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> px(-500, 5000);
    for (int i = 0; i < 10000; ++i) {
        const double x = px(rng), y = px(rng);
        double lat, lon, bx, by;
        Com_Pixel_To_LatLon(x, y, lat, lon);
        Com_LatLon_To_Pixel(lat, lon, bx, by);
        ASSERT_NEAR(bx, x, 1e-7);
        ASSERT_NEAR(by, y, 1e-7);
    }
}

TEST_F(Calibration, OldCalibrationFindsThePreviousPlace) {
    Old_Cal_Lat_Lon = {46.7, 5.8, 46.1, 6.9};  // the same map one degree north-east
    double x, y;
    Com_LatLon_To_Pixel_Old(46.4, 6.35, x, y);
    EXPECT_NEAR(x, 2010, 1e-9);
    EXPECT_NEAR(y, 1415, 1e-9);
}

TEST_F(Calibration, DegenerateCalibrationStaysFinite) {
    Proj_Px_SE_Y = Proj_Px_NW_Y;  // both points on one row
    Proj_Lon_SE = Proj_Lon_NW;    // and on one meridian
    double lat, lon, x, y;
    Com_Pixel_To_LatLon(500, 900, lat, lon);
    EXPECT_TRUE(std::isfinite(lat));
    EXPECT_EQ(lat, 45.7);
    Com_LatLon_To_Pixel(45.3, 5.0, x, y);
    EXPECT_TRUE(std::isfinite(x));
    EXPECT_EQ(x, 120);
    int16_t c8, r8, lx, ly;
    Com_Pixel_To_Cell_Pos(500, 900, c8, r8, lx, ly);
    EXPECT_GE(lx, 4080);
    EXPECT_LE(lx, 12240);
    // Extreme calibration pixels do not overflow the pixel difference.
    Proj_Px_NW_X = INT32_MIN;
    Proj_Px_SE_X = INT32_MAX;
    Com_Pixel_To_LatLon(0, 0, lat, lon);
    EXPECT_TRUE(std::isfinite(lon));
}

}  // namespace
