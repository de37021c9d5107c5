#include "core/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(GeometryLines, SlopeInterceptAndTheVerticalConvention) {
    double m = 9, c = 9;
    SYST_Line_Slope_Intercept(3, 5, 3, 9, m, c);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(c, 0);
    SYST_Line_Slope_Intercept(1, 5, 4, 5, m, c);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(c, 5);
    SYST_Line_Slope_Intercept(0, 0, 2, 4, m, c);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(c, 0);
    SYST_Line_Slope_Intercept(1, 1, 3, 2, m, c);
    EXPECT_DOUBLE_EQ(m, 0.5);
    EXPECT_DOUBLE_EQ(c, 0.5);
}

TEST(GeometryLines, Perpendiculars) {
    double m = 9, c = 9;
    SYST_Perpendicular(3, 0, 3, 10, 1, 7, m, c);     // vertical -> horizontal through p
    EXPECT_EQ(m, 0);
    EXPECT_EQ(c, 7);
    SYST_Perpendicular(0, 5, 10, 5, 1, 7, m, c);     // horizontal -> vertical
    EXPECT_EQ(m, 0);
    EXPECT_EQ(c, 0);
    SYST_Perpendicular(0, 0, 2, 4, 2, 0, m, c);
    EXPECT_DOUBLE_EQ(m, -0.5);
    EXPECT_DOUBLE_EQ(c, 1);
    EXPECT_DOUBLE_EQ(SYST_Cross_Product(0, 0, 1, 0, 0, 1), 1);
    EXPECT_DOUBLE_EQ(SYST_Cross_Product(0, 0, 0, 1, 1, 0), -1);
}

TEST(GeometrySegments, SharedEndPointsMeetEvenWhenParallel) {
    int16_t flag = 0, code = 0;
    double x = 0, y = 0;
    SYST_Segment_Intersection(0, 0, 1, 1, 1, 1, 2, 2, flag, x, y);   // collinear, sharing (1, 1)
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
    SYST_Classify_Segments(0, 0, 1, 1, 1, 1, 2, 2, code, x, y);
    EXPECT_EQ(code, 3);
    SYST_Segment_Intersection(5, 5, 0, 0, 0, 0, 0, 3, flag, x, y);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST(GeometrySegments, ParallelLinesDoNotMeet) {
    int16_t flag = 1, code = 1;
    double x = 0, y = 0;
    SYST_Segment_Intersection(0, 0, 0, 5, 1, 0, 1, 5, flag, x, y);    // both vertical
    EXPECT_EQ(flag, 0);
    SYST_Segment_Intersection(0, 1, 5, 1, 0, 2, 5, 2, flag, x, y);    // both horizontal
    EXPECT_EQ(flag, 0);
    // Slopes 1.00000000001 and 1: closer than 1e-10, parallel.
    SYST_Segment_Intersection(0, 0, 1, 1.00000000001, 0, 1, 1, 2, flag, x, y);
    EXPECT_EQ(flag, 0);
    SYST_Classify_Segments(0, 0, 1, 1.00000000001, 0, 1, 1, 2, code, x, y);
    EXPECT_EQ(code, 0);
}

TEST(GeometrySegments, CrossingOutsideAndAxisAlignedCases) {
    int16_t code = 0, flag = 0;
    double x = 0, y = 0;
    SYST_Classify_Segments(0, 0, 2, 2, 0, 2, 2, 0, code, x, y);
    EXPECT_EQ(code, 2);
    EXPECT_DOUBLE_EQ(x, 1);
    EXPECT_DOUBLE_EQ(y, 1);
    SYST_Classify_Segments(0, 0, 1, 1, 3, 0, 2, 1, code, x, y);
    EXPECT_EQ(code, 1);
    EXPECT_DOUBLE_EQ(x, 1.5);
    EXPECT_DOUBLE_EQ(y, 1.5);
    SYST_Segment_Intersection(2, -1, 2, 5, 0, 0, 4, 2, flag, x, y);     // first vertical
    EXPECT_EQ(flag, 1);
    EXPECT_DOUBLE_EQ(x, 2);
    EXPECT_DOUBLE_EQ(y, 1);
    SYST_Segment_Intersection(0, 3, 6, 3, 0, 0, 2, 2, flag, x, y);      // first horizontal
    EXPECT_EQ(flag, 1);
    EXPECT_DOUBLE_EQ(x, 3);
    EXPECT_DOUBLE_EQ(y, 3);
    SYST_Classify_Segments(0, 3, 6, 3, 2, 0, 2, 9, code, x, y);         // a plain cross
    EXPECT_EQ(code, 2);
    // A T-junction on the x of an end of both segments counts as an end meeting.
    SYST_Classify_Segments(2, 0, 2, 4, 2, 2, 5, 2, code, x, y);
    EXPECT_EQ(code, 3);
}

TEST(GeometrySide, SideOfTheDiagonal) {
    EXPECT_EQ(SYST_Side_Of_Line(0, 0, 10, 10, 0, 5), 2);
    EXPECT_EQ(SYST_Side_Of_Line(0, 0, 10, 10, 5, 0), 1);
    EXPECT_EQ(SYST_Side_Of_Line(0, 0, 10, 10, 5, 5), 0);
    EXPECT_EQ(SYST_Side_Of_Line(0, 0, 10, 10, 10, 10), 2);   // the end point itself
    EXPECT_EQ(SYST_Side_Of_Line(10, 10, 0, 0, 0, 5), 1);     // reversed direction
}

TEST(GeometrySide, SideAgreesWithTheCrossProductOffTheLine) {
    const double pts[][2] = {{3, 7}, {-2, 4}, {8, -1}, {6.5, 2.25}, {-4, -9}};
    const double lines[][4] = {{0, 0, 5, 2}, {5, 2, 0, 0}, {1, 1, 1, 8}, {1, 8, 1, 1}, {0, 3, 9, 3}, {9, 3, 0, 3}};
    for (const auto& l : lines)
        for (const auto& p : pts) {
            const double cross = (l[2] - l[0]) * (p[1] - l[1]) - (l[3] - l[1]) * (p[0] - l[0]);
            const int16_t want = cross > 0 ? 2 : 1;
            EXPECT_EQ(SYST_Side_Of_Line(l[0], l[1], l[2], l[3], p[0], p[1]), want)
                << l[0] << "," << l[1] << "->" << l[2] << "," << l[3] << " p " << p[0] << "," << p[1];
        }
}

TEST(GeometryCircle, LineMeetsOrMissesTheCircle) {
    double x1, y1, x2, y2;
    int16_t flag = 9;
    SYST_Line_Circle(0, 0, 2, 0, 0, x1, y1, x2, y2, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_DOUBLE_EQ(x1, -2);
    EXPECT_DOUBLE_EQ(y1, 0);
    EXPECT_DOUBLE_EQ(x2, 2);
    EXPECT_DOUBLE_EQ(y2, 0);
    SYST_Line_Circle(0, 1, 0, 0, 0, x1, y1, x2, y2, flag);
    EXPECT_EQ(flag, 1);
    EXPECT_DOUBLE_EQ(x1, 0);
    EXPECT_DOUBLE_EQ(x2, 0);
    SYST_Line_Circle(0, 0, 1, 1, 0, x1, y1, x2, y2, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_NEAR(x1 * x1 + y1 * y1, 1, 1e-12);
    EXPECT_NEAR(x2, std::sqrt(0.5), 1e-12);
}

TEST(GeometryUnits, MetresPerDegreeAndBlueByte) {
    EXPECT_DOUBLE_EQ(SysFS_Lat_Deg_To_Metres(1), 111164.75);
    EXPECT_NEAR(SysFS_Lon_Deg_To_Metres(60, 1), 55659.722, 1e-3);
    EXPECT_DOUBLE_EQ(SysFS_Lon_Deg_To_Metres(0, 2), 222638.888);
    EXPECT_EQ(SYST_Colour_Blue(144 * 256 + 245 * 65536), 245);
    EXPECT_EQ(SYST_Colour_Blue(0xFF0000), 255);
    EXPECT_EQ(SYST_Colour_Blue(0xFFFF), 0);
}
