// The re-split stage, the cuts at grid lines and the piece index.
#include "polygon_fixture.h"

#include <map>

#include "core/project_file.h"
#include "generation/debug_draw.h"
#include "generation/grid_cut.h"
#include "generation/invariants.h"
#include "generation/mask_writer.h"
#include "generation/prepare_polygons.h"
#include "generation/resplit.h"
#include "support/scenery_check.h"
#include "support/scenery_read.h"
#include "writer_test_env.h"

using namespace polytest;

namespace {

std::vector<Plane_Point> Convex_Ring(int n, double cx, double cy, double r) {
    std::vector<Plane_Point> pts;
    for (int i = 0; i < n; ++i) pts.push_back({cx + r * std::cos(i * 2 * M_PI / n), cy + r * std::sin(i * 2 * M_PI / n)});
    return pts;
}

struct Recording_Canvas : Debug_Draw_Canvas {
    std::vector<int32_t> colours;
    void Draw_Edge(double, double, double, double, int32_t colour) override { colours.push_back(colour); }
};

}  // namespace

class PolygonResplit : public PolygonTest {};

TEST_F(PolygonResplit, FanSizesFollowThePointLimit) {
    // 60 points with limit 60: pieces (1,20), (20,20), (39,22), each closed through point 1.
    Load_Work({Convex_Ring(60, 500, 500, 100), Convex_Ring(59, 500, 500, 100), Convex_Ring(61, 500, 500, 100),
               {{0, 0}, {10, 0}, {5, 8}}});
    int32_t limit = 60;
    API_Split_Concave(limit);
    std::vector<int32_t> sizes;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) sizes.push_back(Work_Poly_Table(r).Nb_Points);
    // 60: 20, 20+1, 22+1; 59: whole; 61: (1,2) is only an edge, then 20+1, 41+1; triangle:
    // whole. The pieces share their borders and nothing else.
    EXPECT_EQ(sizes, (std::vector<int32_t>{20, 21, 23, 59, 21, 42, 3}));
    EXPECT_NEAR(Area(Work_Points(1)) + Area(Work_Points(2)) + Area(Work_Points(3)),
                Area(Convex_Ring(60, 500, 500, 100)), 1e-9);
    EXPECT_EQ(Cut_Poly_Count, 0);
    EXPECT_EQ(Gen_Captions().LCompileNom, "Concave/convexe");
    // The counter runs on through the second pass: 4 polygons, then their 7 pieces.
    EXPECT_EQ(Gen_Captions().LCompile, "11");
}

TEST_F(PolygonResplit, ConcavePolygonEndsInConvexPiecesOfTheSameArea) {
    std::vector<Plane_Point> comb{{0, 0}, {100, 0}, {100, 100}, {80, 100}, {80, 20}, {60, 20}, {60, 100},
                                  {40, 100}, {40, 20}, {20, 20}, {20, 100}, {0, 100}};
    // The preparation's winding: positive cross product at the leftmost vertex.
    Load_Work({comb});
    int32_t limit = 60;
    API_Split_Concave(limit);
    double total = 0;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        int16_t convex = 0;
        API_Is_Convex(Work_Poly_Table(r).First_Point, Work_Poly_Table(r).Last_Point, convex);
        EXPECT_EQ(convex, 1) << "piece " << r;
        total += Area(Work_Points(r));
    }
    EXPECT_GT(Work_Poly_Count, 2);
    EXPECT_NEAR(total, Area(comb), 1e-9);
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(PolygonResplit, DegenerateRingsEndWithoutLooping) {
    // Every corner reflex (the wrong winding), a zero-area ring, repeated and collinear points.
    std::vector<Plane_Point> reversed{{0, 100}, {100, 100}, {100, 0}, {50, 50}, {0, 0}};
    Load_Work({reversed, {{0, 0}, {10, 0}, {20, 0}, {10, 0}}, {{5, 5}, {5, 5}, {5, 5}, {5, 5}, {6, 6}}});
    host().strict = false;
    int32_t limit = 60;
    API_Split_Concave(limit);
    EXPECT_GE(Work_Poly_Count, 3);
    EXPECT_EQ(Cut_Poly_Count, 0);
}

TEST_F(PolygonResplit, DebugDrawingOnlyWhenSwitchedOn) {
    std::vector<Plane_Point> l_shape{{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}};
    Recording_Canvas canvas;
    Debug_Draw_Set_Canvas(&canvas);
    Load_Work({l_shape});
    int32_t limit = 60;
    API_Split_Concave(limit);
    EXPECT_TRUE(canvas.colours.empty());

    Debug_Draw = 1;
    Load_Work({l_shape});
    API_Split_Concave(limit);
    ASSERT_FALSE(canvas.colours.empty());
    for (int32_t c : canvas.colours) EXPECT_EQ(c, Debug_Colour_Diagonal);

    canvas.colours.clear();
    Load_Work({Square(10, 20, 20)});  // crossed by the latitude line y = 31.25
    ASSERT_TRUE(API_Cut_Polygons_Cells(0));
    EXPECT_EQ(canvas.colours, std::vector<int32_t>(8, Debug_Colour_Piece));  // two squares' edges
}

class PolygonGridCut : public PolygonTest {};

TEST_F(PolygonGridCut, CrossingCodesOfASegmentWithAGridLine) {
    int16_t code = -1;
    double x = 0, y = 0;
    API_Cross_Horizontal_Line(0, 0, 10, 0, 0, 0.1, code, x, y);
    EXPECT_EQ(code, 0);
    API_Cross_Horizontal_Line(0, 0, 10, 10, 5, 0.1, code, x, y);
    EXPECT_EQ(code, 2);
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_DOUBLE_EQ(y, 5);
    API_Cross_Horizontal_Line(0, 0, 10, 10, 20, 0.1, code, x, y);
    EXPECT_EQ(code, 1);
    API_Cross_Horizontal_Line(3, 0.05, 10, 10, 0, 0.1, code, x, y);  // within tolerance of the start
    EXPECT_EQ(code, 3);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 0.05);
    API_Cross_Vertical_Line(0, 0, 10, 10, 9.95, 0.1, code, x, y);
    EXPECT_EQ(code, 3);
    EXPECT_EQ(x, 10);
    API_Cross_Vertical_Line(0, 0, 10, 20, 5, 0.1, code, x, y);
    EXPECT_EQ(code, 2);
    EXPECT_DOUBLE_EQ(y, 10);
}

TEST_F(PolygonGridCut, SquareInsideOneCellIsOnePieceOfThatCell) {
    // LOD13 cell (column 3, row 2) of LOD8 cell (384, 128): x 93.75..125, y 62.5..93.75.
    Load_Work({Square(100, 70, 10)});
    ASSERT_TRUE(API_Cut_Polygons_Cells(0));
    ASSERT_EQ(Work_Poly_Count, 1);
    EXPECT_TRUE(Same_Cycle(Work_Points(1), Square(100, 70, 10)));
    API_Index_Pieces(0);
    EXPECT_EQ(Work_Poly_Count, 0);
    ASSERT_EQ(Cut_Piece_Count, 1);
    const Cut_Piece_Record& p = Cut_Piece_Table(1);
    EXPECT_EQ(p.Lod8_Col, 384);
    EXPECT_EQ(p.Lod8_Row, 128);
    EXPECT_EQ(p.Lod13_Col, 3);
    EXPECT_EQ(p.Lod13_Row, 2);
    EXPECT_EQ(p.Nb_Points, 4);
    // (100, 70) is 6.25 and 7.5 pixels into the 31.25-pixel cell.
    EXPECT_EQ(Cut_Piece_Points(p.First_Point).Local_X, 51);
    EXPECT_EQ(Cut_Piece_Points(p.First_Point).Local_Y, 61);
}

TEST_F(PolygonGridCut, SquareCrossedOnceBecomesTwoSharingTheCrossings) {
    Load_Work({Square(10, 20, 20)});  // y 20..40 across the line y = 31.25
    ASSERT_TRUE(API_Cut_Polygons_Cells(0));
    ASSERT_EQ(Work_Poly_Count, 2);
    // The edge (30,20)-(30,40) is crossed first: the first piece runs from that crossing on
    // through the square's points (30,40) and (10,40) to the second crossing.
    std::vector<Plane_Point> first = Work_Points(1), second = Work_Points(2);
    EXPECT_TRUE(Same_Cycle(first, {{30, 31.25}, {30, 40}, {10, 40}, {10, 31.25}}));
    EXPECT_TRUE(Same_Cycle(second, {{10, 31.25}, {10, 20}, {30, 20}, {30, 31.25}}));
    EXPECT_DOUBLE_EQ(Area(first) + Area(second), 400);
}

TEST_F(PolygonGridCut, LineThroughAVertexCountsOnce) {
    // A diamond whose lowest vertex lies on the line y = 62.5, wholly above it.
    Load_Work({{{50, 40}, {60, 50}, {50, 62.5}, {40, 50}}});
    ASSERT_TRUE(API_Cut_Polygons_Cells(0));
    ASSERT_EQ(Work_Poly_Count, 1);
    EXPECT_EQ(Work_Poly_Table(1).Nb_Points, 4);
}

TEST_F(PolygonGridCut, LinePassingNearTwoNeighbouringVerticesCountsOnce) {
    // (30, 31.23) and (30.2, 31.27) both lie within the tolerance (31.25 / 512.1) of y = 31.25:
    // one crossing there and one on the left edge, not three.
    std::vector<Plane_Point> ring{{10, 20}, {30, 20}, {30, 31.23}, {30.2, 31.27}, {30, 40}, {10, 40}};
    Load_Work({ring});
    ASSERT_TRUE(API_Cut_Polygons_Cells(0));
    EXPECT_TRUE(host().boxes.empty());
    ASSERT_EQ(Work_Poly_Count, 2);
    EXPECT_NEAR(Area(Work_Points(1)) + Area(Work_Points(2)), Area(ring), 1e-9);
}

TEST_F(PolygonGridCut, HorseshoeCrossedFourTimesStopsTheCut) {
    // Two prongs reach below y = 31.25.
    Load_Work({{{5, 10}, {25, 10}, {25, 40}, {20, 40}, {20, 15}, {10, 15}, {10, 40}, {5, 40}}});
    host().QueueAnswer(1);
    EXPECT_FALSE(API_Cut_Polygons_Cells(0));
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "Anormal Lat decoupe LOD13_8");
    EXPECT_EQ(host().boxes[0].style & 7, 0);  // OK only
    EXPECT_EQ(Polygon_Cut_Aborted, 1);
}

TEST_F(PolygonGridCut, TwoPointRecordSplitsAtTheCrossing) {
    Load_Work({{{10, 20}, {10, 40}}});
    ASSERT_TRUE(API_Cut_Polygons_Cells(0));
    ASSERT_EQ(Work_Poly_Count, 2);
    EXPECT_TRUE(Same_Cycle(Work_Points(1), {{10, 20}, {10, 31.25}}));
    EXPECT_TRUE(Same_Cycle(Work_Points(2), {{10, 31.25}, {10, 40}}));
    EXPECT_EQ(Work_Point_Table(Work_Poly_Table(1).Last_Point).Flag, 2);
}

TEST_F(PolygonGridCut, PiecesOfOneCellComeOuterRingFirst) {
    Load_Work({Square(104, 74, 4), Square(100, 70, 12), Square(200, 70, 10), Square(102, 72, 8)});
    const int32_t rings[] = {1, 3, 1, 2};
    for (int32_t r = 1; r <= 4; ++r) {
        Work_Poly_Table(r).Ring_Number = rings[r - 1];
        Work_Poly_Table(r).Group_Id = r == 3 ? 50 : 7;
    }
    API_Index_Pieces(0);
    ASSERT_EQ(Cut_Piece_Count, 4);
    // Same LOD13 cell and group: ring 3, 2, 1; the piece of the next column comes last.
    EXPECT_EQ(Cut_Piece_Table(1).Ring_Number, 3);
    EXPECT_EQ(Cut_Piece_Table(2).Ring_Number, 2);
    EXPECT_EQ(Cut_Piece_Table(3).Ring_Number, 1);
    EXPECT_EQ(Cut_Piece_Table(4).Group_Id, 50);
    // Each piece still points at its own points.
    EXPECT_EQ(Cut_Piece_Points(Cut_Piece_Table(1).First_Point).X, 100);
}

TEST_F(PolygonGridCut, VtpTwoPiecesUseLodEightLocalPositions) {
    Load_Work({Square(900, 900, 200)});  // across the LOD8 lines x = 1000 and y = 1000
    ASSERT_TRUE(API_Cut_Polygons_Cells(2));
    EXPECT_EQ(Work_Poly_Count, 4);
    API_Index_Pieces(2);
    ASSERT_EQ(Cut_Piece_Count, 4);
    for (int32_t i = 1; i <= Cut_Piece_Count; ++i) {
        const Cut_Piece_Record& p = Cut_Piece_Table(i);
        EXPECT_EQ(p.Lod13_Col, 0);
        EXPECT_EQ(p.Lod13_Row, 0);
        for (int32_t k = p.First_Point; k <= p.Last_Point; ++k) {
            EXPECT_GE(Cut_Piece_Points(k).Local_X, 4080);
            EXPECT_LE(Cut_Piece_Points(k).Local_X, 12240);
        }
    }
    // North-west piece first, then north-east, south-west, south-east.
    EXPECT_EQ(Cut_Piece_Table(1).Lod8_Col, 384);
    EXPECT_EQ(Cut_Piece_Table(2).Lod8_Col, 385);
    EXPECT_EQ(Cut_Piece_Table(3).Lod8_Row, 129);
}

TEST_F(PolygonGridCut, PieceSortIsTheExchangeSortOnEqualKeys) {
    // Three pieces with the same key and one smaller after them: the exchange sort moves the
    // first equal piece behind the others (the order the writers' output depends on).
    Load_Work({Square(100, 70, 10), Square(101, 70, 10), Square(102, 70, 10), Square(20, 70, 5)});
    for (int32_t r = 1; r <= 4; ++r) Work_Poly_Table(r).Line_Id = 10 + r;
    API_Index_Pieces(0);
    ASSERT_EQ(Cut_Piece_Count, 4);
    std::vector<int32_t> ids;
    for (int32_t i = 1; i <= 4; ++i) ids.push_back(Cut_Piece_Table(i).Line_Id);
    EXPECT_EQ(ids, (std::vector<int32_t>{14, 12, 13, 11}));
}

TEST_F(PolygonGridCut, PiecesOfSeveralLinesKeepTheOrderOfLineByLinePasses) {
    // A rectangle over the lines y = 31.25 and y = 62.5, then a square that no line meets. The
    // second line cuts the rectangle's first piece in its place, before the second piece.
    Load_Work({{{10, 20}, {30, 20}, {30, 70}, {10, 70}}, Square(100, 70, 10)});
    ASSERT_TRUE(API_Cut_Polygons_Cells(0));
    ASSERT_EQ(Work_Poly_Count, 4);
    EXPECT_TRUE(Same_Cycle(Work_Points(1), {{30, 62.5}, {30, 70}, {10, 70}, {10, 62.5}}));
    EXPECT_TRUE(Same_Cycle(Work_Points(2), {{10, 62.5}, {10, 31.25}, {30, 31.25}, {30, 62.5}}));
    EXPECT_TRUE(Same_Cycle(Work_Points(3), {{10, 31.25}, {10, 20}, {30, 20}, {30, 31.25}}));
    EXPECT_TRUE(Same_Cycle(Work_Points(4), Square(100, 70, 10)));
    for (int32_t r = 1; r <= 3; ++r) EXPECT_EQ(Work_Poly_Table(r).Line_Id, 2);
    EXPECT_EQ(Work_Poly_Table(4).Line_Id, 3);
    // Each record's points are its own, one after the other.
    EXPECT_EQ(Work_Poly_Table(4).Last_Point, Work_Point_Count);
    EXPECT_EQ(Work_Poly_Count, Work_Poly_Capacity);
}

TEST_F(PolygonGridCut, AbandonedLatitudeLineDropsTheCutsMadeOnIt) {
    // The square before the horseshoe is cut by y = 31.25 first; the horseshoe then stops the
    // cut on that line, so the square stays whole as the previous line left it.
    Load_Work({Square(40, 20, 20), {{5, 10}, {25, 10}, {25, 40}, {20, 40}, {20, 15}, {10, 15}, {10, 40}, {5, 40}}});
    host().QueueAnswer(1);
    EXPECT_FALSE(API_Cut_Polygons_Cells(0));
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "Anormal Lat decoupe LOD13_8");
    ASSERT_EQ(Work_Poly_Count, 2);
    EXPECT_TRUE(Same_Cycle(Work_Points(1), Square(40, 20, 20)));
    EXPECT_EQ(Work_Poly_Table(2).Nb_Points, 8);
}

TEST_F(PolygonGridCut, AbandonedLongitudeLineKeepsTheLatitudeCuts) {
    // A square across y = 31.25, and a horseshoe lying on its side whose prongs cross x = 62.5.
    Load_Work({Square(10, 20, 20),
               {{50, 40}, {50, 45}, {75, 45}, {75, 50}, {55, 50}, {55, 55}, {75, 55}, {75, 60}, {50, 60}, {50, 62}, {45, 62}, {45, 40}}});
    host().QueueAnswer(1);
    EXPECT_FALSE(API_Cut_Polygons_Cells(0));
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "Anormal Lon decoupe LOD13_8");
    EXPECT_EQ(Polygon_Cut_Aborted, 1);
    ASSERT_EQ(Work_Poly_Count, 3);
    EXPECT_TRUE(Same_Cycle(Work_Points(1), {{30, 31.25}, {30, 40}, {10, 40}, {10, 31.25}}));
    EXPECT_EQ(Work_Poly_Table(3).Nb_Points, 12);
    EXPECT_EQ(Cut_Poly_Count, 0);
}

TEST_F(PolygonGridCut, AbandonedLineDropsOnlyItsOwnCutsAndLaterOnes) {
    // A tall rectangle over y = 31.25, 62.5 and 93.75, a horseshoe whose prongs cross y = 62.5,
    // a square across y = 31.25 and one across y = 93.75. Every polygon keeps the cuts of the
    // lines before the abandoned one and none at or after it, wherever it stands in the table.
    Load_Work({{{100, 10}, {120, 10}, {120, 100}, {100, 100}},
               {{5, 41}, {25, 41}, {25, 71}, {20, 71}, {20, 46}, {10, 46}, {10, 71}, {5, 71}},
               Square(200, 20, 20), Square(300, 80, 20)});
    host().QueueAnswer(1);
    EXPECT_FALSE(API_Cut_Polygons_Cells(0));
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "Anormal Lat decoupe LOD13_8");
    ASSERT_EQ(Work_Poly_Count, 6);
    EXPECT_TRUE(Same_Cycle(Work_Points(1), {{120, 31.25}, {120, 100}, {100, 100}, {100, 31.25}}));
    EXPECT_TRUE(Same_Cycle(Work_Points(2), {{100, 31.25}, {100, 10}, {120, 10}, {120, 31.25}}));
    EXPECT_EQ(Work_Poly_Table(3).Nb_Points, 8);
    EXPECT_TRUE(Same_Cycle(Work_Points(4), {{220, 31.25}, {220, 40}, {200, 40}, {200, 31.25}}));
    EXPECT_TRUE(Same_Cycle(Work_Points(5), {{200, 31.25}, {200, 20}, {220, 20}, {220, 31.25}}));
    EXPECT_TRUE(Same_Cycle(Work_Points(6), Square(300, 80, 20)));
    const int32_t sources[] = {2, 2, 3, 4, 4, 5};
    for (int32_t r = 1; r <= 6; ++r) EXPECT_EQ(Work_Poly_Table(r).Line_Id, sources[r - 1]) << "record " << r;
}

TEST_F(PolygonGridCut, LargeRingCutIntoManyCellsKeepsItsAreaAndPoints) {
    // 400 points over some twenty lines each way: the pieces of one polygon are cut again and
    // again, and every one of them must still hold its own points.
    const std::vector<Plane_Point> ring = Convex_Ring(400, 1000, 1000, 300);
    Load_Work({ring});
    ASSERT_TRUE(API_Cut_Polygons_Cells(0));
    ASSERT_GT(Work_Poly_Count, 200);
    double total = 0;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const std::vector<Plane_Point> pts = Work_Points(r);
        ASSERT_GE(pts.size(), 3u) << "record " << r;
        total += Area(pts);
        double min_x = 1e9, max_x = -1e9, min_y = 1e9, max_y = -1e9;
        for (const Plane_Point& p : pts) {
            min_x = std::min(min_x, p.X);
            max_x = std::max(max_x, p.X);
            min_y = std::min(min_y, p.Y);
            max_y = std::max(max_y, p.Y);
        }
        const double tol = 0.1;
        EXPECT_EQ(std::floor((min_x + tol) / Lod13_Px), std::floor((max_x - tol) / Lod13_Px)) << "record " << r;
        EXPECT_EQ(std::floor((min_y + tol) / Lod13_Px), std::floor((max_y - tol) / Lod13_Px)) << "record " << r;
    }
    EXPECT_NEAR(total, Area(ring), 1e-6 * Area(ring));
    EXPECT_EQ(Work_Poly_Table(Work_Poly_Count).Last_Point, Work_Point_Count);
}

TEST_F(PolygonGridCut, SecondRunOverKeptStorageGivesTheSamePieces) {
    // The tables keep their storage from one run to the next; what a bigger run left in it must
    // not reach the pieces of a later one.
    auto make_a = [] {
        Add_Polygon(Convex_Ring(90, 300, 300, 70));
        Add_Polygon({{10, 20}, {30, 20}, {30, 70}, {10, 70}}, 0, "A1");
    };
    auto run = [](std::vector<Cut_Piece_Record>& pieces, std::vector<Cut_Piece_Point>& points) {
        API_Prepare_Polygons(0);
        API_Index_Pieces(0);
        pieces.assign(Cut_Piece_Table.begin(), Cut_Piece_Table.begin() + Cut_Piece_Count);
        points.assign(Cut_Piece_Points.begin(), Cut_Piece_Points.begin() + Cut_Piece_Point_Count);
    };
    std::vector<Cut_Piece_Record> first_pieces, pieces;
    std::vector<Cut_Piece_Point> first_points, points;
    make_a();
    run(first_pieces, first_points);
    ASSERT_GT(first_pieces.size(), 10u);

    testenv::ResetProgramState();
    Calibrate();
    for (int i = 0; i < 6; ++i) Add_Polygon(Convex_Ring(400, 400 + 250 * (i % 3), 400 + 300 * (i / 3), 110));
    run(pieces, points);
    ASSERT_GT(pieces.size(), 3 * first_pieces.size());

    testenv::ResetProgramState();
    Calibrate();
    make_a();
    run(pieces, points);
    EXPECT_EQ(pieces, first_pieces);
    EXPECT_EQ(points, first_points);
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(PolygonGridCut, IndexedPiecesCarryTheirOwnPolygonsAttributes) {
    // Several pieces of each polygon in a cell order unlike the table order: every record, once
    // in its sorted place, still has its own polygon's line, ring, group and attributes, and
    // the points it names are its own. The pieces of one polygon read one copy of its
    // attributes between them, and the records hold little beside: a large project's millions
    // of pieces would otherwise fill the memory.
    Load_Work({{{10, 20}, {30, 20}, {30, 70}, {10, 70}}, Square(100, 70, 10), Square(40, 25, 30)});
    for (int32_t r = 1; r <= 3; ++r) {
        Work_Poly_Rec& rec = Work_Poly_Table(r);
        Route_Attrib a;
        a.Text_Rt = "polygon " + std::to_string(r) + ", a text that needs its own storage";
        a.Texture_Name[1] = "t" + std::to_string(r);
        a.Alti = 10.0 * r;
        rec.Attr = a;
        rec.Group_Id = 100 + r;
        rec.Ring_Number = r;
    }
    ASSERT_TRUE(API_Cut_Polygons_Cells(0));
    std::vector<std::pair<int32_t, std::vector<Plane_Point>>> cut;  // line id and points of each piece
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) cut.push_back({Work_Poly_Table(r).Line_Id, Work_Points(r)});
    API_Index_Pieces(0);
    ASSERT_EQ(Cut_Piece_Count, static_cast<int32_t>(cut.size()));
    std::vector<bool> matched(cut.size(), false);
    std::map<int32_t, const Route_Attrib*> attributes;  // line id -> the copy its pieces read
    for (int32_t i = 1; i <= Cut_Piece_Count; ++i) {
        const Cut_Piece_Record& p = Cut_Piece_Table(i);
        const int32_t source = p.Line_Id - 1;  // Load_Work numbers lines from 2
        ASSERT_GE(source, 1);
        ASSERT_LE(source, 3);
        EXPECT_EQ(attributes.try_emplace(p.Line_Id, &*p.Attr).first->second, &*p.Attr) << "piece " << i;
        EXPECT_EQ(p.Attr->Text_Rt, "polygon " + std::to_string(source) + ", a text that needs its own storage");
        EXPECT_EQ(p.Attr->Texture_Name[1], "t" + std::to_string(source));
        EXPECT_EQ(p.Attr->Alti, 10.0 * source);
        EXPECT_EQ(p.Group_Id, 100 + source);
        EXPECT_EQ(p.Ring_Number, source);
        EXPECT_EQ(p.Last_Point - p.First_Point + 1, p.Nb_Points);
        std::vector<Plane_Point> pts;
        for (int32_t k = p.First_Point; k <= p.Last_Point; ++k) pts.push_back({Cut_Piece_Points(k).X, Cut_Piece_Points(k).Y});
        bool found = false;
        for (size_t c = 0; c < cut.size() && !found; ++c) {
            if (matched[c] || cut[c].first != p.Line_Id || !Same_Cycle(cut[c].second, pts)) continue;
            matched[c] = found = true;
        }
        EXPECT_TRUE(found) << "piece " << i << " of line " << p.Line_Id;
    }
    EXPECT_EQ(attributes.size(), 3u);
    EXPECT_LT(static_cast<int32_t>(attributes.size()), Cut_Piece_Count);
    EXPECT_LE(sizeof(Cut_Piece_Record), 64u);
    EXPECT_LE(sizeof(Work_Poly_Rec), 40u);
}

// Lakes and islands drawn with vertices within a fraction of a pixel of a grid line or corner, or
// with sides shorter than two positions, as their authors saved them: the mask is written and
// read back, and every piece must be simple, turned as its type, and give the water drawn.
class PolygonCutDrawings : public gentest::Area_Writer_Test {};

TEST_F(PolygonCutDrawings, EveryPieceIsSimpleAndTurnedAsItsWater) {
    namespace fs = std::filesystem;
    const char* const projects[] = {
        "lake_backtrack/lake_backtrack.LWM",                // a side one place up a border and back
        "water_reversed_sliver/water_reversed_sliver.LWM",  // a sliver reversed into land
        "land_reversed_slivers/land_reversed_slivers.LWM",  // land slivers reversed into water
        "isle_on_gridline/isle_on_gridline.LWM",
        "lake_corner_backtrack/lake_corner_backtrack.LWM",
        "lake_sliver_backtrack/lake_sliver_backtrack.LWM",
        "lake_corner_repeat/lake_corner_repeat.LWM",        // a place repeated at a corner
        "lake_border_hook/lake_border_hook.LWM",
        "corner_repeat/pcut_corner_repeat.LWM",
        "line_backtrack/pcut_line_backtrack.LWM",
        "plain_reversed/pcut_plain_reversed.LWM",           // sides shorter than two positions
    };
    for (const char* name : projects) {
        SCOPED_TRACE(name);
        Open_Case(testenv::Fixtures() / "polygon_cut" / name);
        if (HasFatalFailure()) return;
        std::vector<scenery::Drawn> drawn;
        for (int32_t i = 2; i <= Line_Count; ++i) {
            drawn.push_back({Line_Table(i).Attr.Attrib == 1 ? scenery::Drawn::Land : scenery::Drawn::Water, {}});
            for (int32_t id : Project_Line_Points(i)) drawn.back().Points.push_back({Point_Table(id).X, Point_Table(id).Y});
        }
        host().boxes.clear();
        Work_Tables_Reset_All();
        API_Write_Lwm_Asm();
        std::string faults;
        for (const auto& box : host().boxes) faults += "box: " + box.prompt + "\n";
        for (const std::string& broken : Take_Broken_Invariants()) faults += broken + "\n";
        const scenery::Report r = scenery::Check_Scenery(app, drawn);
        for (const scenery::Finding& f : r.Findings) faults += f.Text + "\n";
        // The check takes a place written twice in a row once, and a polygon piece of no area
        // as nothing.
        std::vector<scenery::Finding> unread;
        for (const scenery::Lwm_Piece& p : scenery::Read_Lwm(app / "Tessaline$_Poly_LWM.asm", unread)) {
            for (size_t i = 0; i < p.Local.size() && !p.Fill; ++i)
                if (p.Local[i] == p.Local[(i + 1) % p.Local.size()]) faults += "a place written twice in a row\n";
            if (!p.Fill && scenery::Twice_Area(p.Local) <= 0) faults += "a piece of no area or reversed\n";
        }
        EXPECT_EQ(faults, "");
        EXPECT_GT(r.Areas_Compared, 0);
    }
}
