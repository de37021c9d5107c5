// The turn test, convexity tests and the two appenders the convex splitting is built from.
#include "polygon_fixture.h"

#include "generation/piece_clean.h"
#include "generation/resplit.h"

using namespace polytest;

TEST(PolygonTurnDirection, SideOfThirdPointAgainstDirectedLine) {
    // Horizontal A->B, then a diagonal one.
    EXPECT_EQ(API_Turn_Direction({0, 0}, {10, 0}, {5, -3}), 1);
    EXPECT_EQ(API_Turn_Direction({0, 0}, {10, 0}, {5, 3}), 2);
    EXPECT_EQ(API_Turn_Direction({0, 0}, {10, 0}, {20, 0}), 0);
    EXPECT_EQ(API_Turn_Direction({0, 0}, {10, 10}, {10, 0}), 1);
    EXPECT_EQ(API_Turn_Direction({0, 0}, {10, 10}, {0, 10}), 2);
    EXPECT_EQ(API_Turn_Direction({0, 0}, {10, 10}, {20, 20}), 0);
    // General slopes agree with the sign of the cross product.
    Plane_Point a{1, 2}, b{7, 5}, c{3, 9}, d{9, -4};
    EXPECT_EQ(API_Turn_Direction(a, b, c), 2);
    EXPECT_EQ(API_Turn_Direction(a, b, d), 1);
    EXPECT_EQ(API_Intersect_Segments(1, 2, 7, 5, 3, 9), 2);
}

TEST(PolygonTurnDirection, PointsBesideASteepLineFallOnTheirOwnSide) {
    // A line far from the origin and almost vertical: 0.001 px across over 1 000 px up.
    const double x0 = 9000.5, y0 = 4000.25;
    for (double dx : {1e-3, 1e-6, -1e-6}) {
        const Plane_Point a{x0, y0}, b{x0 + dx, y0 + 1000};
        for (double off : {0.5, 0.01, 1e-4}) {
            // Halfway up, just left and just right of the line.
            const double mid = x0 + dx / 2;
            EXPECT_EQ(API_Turn_Direction(a, b, {mid - off, y0 + 500}), 2) << dx << " " << off;
            EXPECT_EQ(API_Turn_Direction(a, b, {mid + off, y0 + 500}), 1) << dx << " " << off;
            EXPECT_EQ(API_Turn_Direction(b, a, {mid - off, y0 + 500}), 1) << dx << " " << off;
        }
    }
}

class PolygonPrimitives : public PolygonTest {};

TEST_F(PolygonPrimitives, SquareIsConvexAndLShapeIsNot) {
    Load_Work({Square(0, 0, 10),
               {{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}},
               {{5, 5}}});
    int16_t convex = -1;
    API_Is_Convex(1, 4, convex);
    EXPECT_EQ(convex, 1);
    API_Is_Convex(5, 10, convex);
    EXPECT_EQ(convex, 0);
    API_Test_Diagonal(11, 11, convex);  // a single point counts as convex
    EXPECT_EQ(convex, 1);
    // In the L shape, chain 1..3 (two outer corners) is convex; 2..5 holds the notch.
    API_Chain_Is_Convex(2, 5, 7, convex);
    EXPECT_EQ(convex, 1);
    API_Chain_Is_Convex(2, 6, 9, convex);
    EXPECT_EQ(convex, 0);
}

TEST_F(PolygonPrimitives, DiagonalIsTestedAgainstOneChainOnly) {
    // L shape: the chord from (20,10) to (0,20) passes through the notch edge (10,10)-(10,20).
    Load_Work({{{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}}});
    EXPECT_EQ(API_Diagonal_Crosses_Chain(1, 3, 6), 0);  // chain 6 -> 1 -> 2 -> 3 misses it
    EXPECT_EQ(API_Make_Split_Piece(1, 6, 3), 1);        // chain 3 -> 4 -> 5 -> 6 holds it
    EXPECT_EQ(API_Diagonal_Crosses_Chain(1, 2, 5), 0);
    // A dart: the chord from (0,30) to (30,0) crosses the edge (30,30)-(15,5).
    Load_Work({{{0, 0}, {30, 0}, {30, 30}, {15, 5}, {0, 30}}});
    EXPECT_EQ(API_Diagonal_Crosses_Chain(1, 5, 2), 1);
}

TEST_F(PolygonPrimitives, SplitOffChainRewritesThePolygonInPlace) {
    std::vector<Plane_Point> hexagon{{0, 0}, {10, 0}, {15, 8}, {10, 16}, {0, 16}, {-5, 8}};
    Load_Work({hexagon});
    Cut_Tables_Size(10, 20);
    API_Split_Off_Chain(1, 2, 4);
    ASSERT_EQ(Cut_Poly_Count, 1);
    EXPECT_EQ(Cut_Poly_Table(1).Nb_Points, 3);
    std::vector<Plane_Point> piece;
    for (int32_t i = Cut_Poly_Table(1).First_Point; i <= Cut_Poly_Table(1).Last_Point; ++i)
        piece.push_back({Cut_Point_Table(i).X, Cut_Point_Table(i).Y});
    EXPECT_TRUE(Same_Cycle(piece, {hexagon[1], hexagon[2], hexagon[3]}));
    EXPECT_EQ(Work_Poly_Table(1).Nb_Points, 5);
    EXPECT_EQ(Work_Poly_Table(1).Last_Point, 5);
    EXPECT_TRUE(Same_Cycle(Work_Points(1), {hexagon[1], hexagon[3], hexagon[4], hexagon[5], hexagon[0]}));
    EXPECT_EQ(Cut_Poly_Table(1).Line_Id, Work_Poly_Table(1).Line_Id);
}

TEST_F(PolygonPrimitives, SplitPieceTakesARangeAndClosesIt) {
    std::vector<Plane_Point> ten;
    for (int i = 0; i < 10; ++i) ten.push_back({double(i), double(i * i)});
    Load_Work({ten});
    Cut_Tables_Size(1, 1);  // the appender grows the tables itself
    API_Add_Split_Piece(1, 4, 3);
    API_Add_Split_Piece(1, 1, 9);
    ASSERT_EQ(Cut_Poly_Count, 2);
    auto cut_points = [](int32_t r) {
        std::vector<double> xs;
        for (int32_t i = Cut_Poly_Table(r).First_Point; i <= Cut_Poly_Table(r).Last_Point; ++i)
            xs.push_back(Cut_Point_Table(i).X);
        return xs;
    };
    EXPECT_EQ(cut_points(1), (std::vector<double>{3, 4, 5, 0}));
    EXPECT_EQ(cut_points(2), (std::vector<double>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_GE(Cut_Point_Capacity, Cut_Point_Count);
}

TEST_F(PolygonPrimitives, VertexTestSeesBothSidesOfASurroundingChain) {
    // A square ring 1..4 around the point (5, 5) given as vertex 5 of a second ring.
    Load_Work({{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}}});
    int16_t outside = -1;
    int32_t count = 0;
    API_Test_Vertex_Inside(1, 1, 4, 5, outside, count);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(count, 4);
    API_Test_Vertex_Inside(1, 1, 2, 5, outside, count);  // the chain (0,0)-(10,0) and back
    EXPECT_EQ(outside, 1);
    EXPECT_EQ(count, 2);
}

// Rounded places as the coast stage and the piece index hand them on, and what is written of them.
TEST(RoundedPieceCleaning, WritesSimplePositivePiecesOfTheWaterOnly) {
    using Ring = std::vector<std::pair<int16_t, int16_t>>;
    const auto clean = [](const Ring& ring) {
        std::vector<Cut_Piece_Point> pts;
        for (auto [x, y] : ring) pts.push_back({0, 0, x, y});
        std::vector<Ring> out;
        for (const std::vector<Cut_Piece_Point>& piece : Clean_Rounded_Piece(pts)) {
            EXPECT_EQ(Rounded_Piece_Fault(piece), "");
            out.emplace_back();
            for (const Cut_Piece_Point& p : piece) out.back().push_back({p.Local_X, p.Local_Y});
        }
        return out;
    };
    const struct {
        Ring in;
        std::vector<Ring> out;
    } cases[] = {
        // Sound, with a straight middle place: as it came; bent concave by the rounding: parted
        // along a diagonal.
        {{{10, 10}, {20, 10}, {30, 10}, {30, 40}}, {{{10, 10}, {20, 10}, {30, 10}, {30, 40}}}},
        {{{0, 0}, {40, 0}, {20, 5}, {20, 30}}, {{{0, 0}, {40, 0}, {20, 5}}, {{0, 0}, {20, 5}, {20, 30}}}},
        // One place up the border and back, a place repeated at a corner.
        {{{173, 217}, {255, 173}, {255, 172}, {255, 238}}, {{{173, 217}, {255, 173}, {255, 238}}}},
        {{{255, 255}, {255, 255}, {111, 255}, {130, 206}, {255, 88}}, {{{255, 255}, {111, 255}, {130, 206}, {255, 88}}}},
        // A spike out and back, then no area at all, then reversed.
        {{{0, 0}, {50, 0}, {50, 9}, {50, 3}, {50, 50}}, {{{0, 0}, {50, 0}, {50, 3}, {50, 50}}}},
        {{{0, 0}, {20, 20}, {10, 10}}, {}},
        {{{217, 255}, {209, 253}, {216, 255}}, {}},
        // A bow-tie: its positive half, closed at the rounded crossing.
        {{{0, 0}, {255, 255}, {255, 0}, {0, 255}}, {{{128, 128}, {0, 255}, {0, 0}}}},
        // Two loops through one place, the second turned the other way.
        {{{0, 0}, {10, 0}, {10, 10}, {0, 0}, {-10, 10}, {0, 10}}, {{{0, 0}, {10, 0}, {10, 10}}}},
    };
    for (const auto& c : cases) EXPECT_EQ(clean(c.in), c.out) << testing::PrintToString(c.in);
}
