// The coastline stage: drawn coastlines become closed pieces per LOD13 area, covering the
// area on the right-hand side of the line, with whole covered areas left out.
#include "generation/coast_stage.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "generation/coast_finish.h"
#include "generation/grid_cut.h"
#include "polygon_fixture.h"

namespace {

using namespace polytest;
using Pos = std::pair<int, int>;

int32_t Add_Coastline(const std::vector<Plane_Point>& pts, int16_t land_right = 0, const std::string& text = "") {
    Route_Attrib a;
    a.SurfShore = 3;
    a.LandOnRight = land_right;
    a.Text_Rt = text;
    a.Alt_Coast = 1.5;
    const int32_t line = Project_Append_Line(a);
    for (const Plane_Point& p : pts) Project_Append_Point(line, p.X, p.Y);
    return line;
}

// The places of every coast piece of one LOD13 area (LOD8 cell 384, 128).
std::set<Pos> Places_In(int c13, int r13) {
    std::set<Pos> places;
    for (int32_t i = 1; i <= Coast_Count; ++i) {
        const Cut_Piece_Record& r = Coast_Piece_Table(i);
        if (r.Lod8_Col != 384 || r.Lod8_Row != 128 || r.Lod13_Col != c13 || r.Lod13_Row != r13) continue;
        for (int32_t k = r.First_Point; k <= r.Last_Point; ++k)
            places.insert({Coast_Piece_Points(k).Local_X, Coast_Piece_Points(k).Local_Y});
    }
    return places;
}

class CoastStage : public PolygonTest {};

TEST_F(CoastStage, ALineAcrossOneAreaKeepsThePartOnItsRight) {
    Add_Coastline({{20, 110}, {45, 112}, {75, 110}}, 0, "Bay");
    API_Make_Coastlines();
    ASSERT_GE(Coast_Count, 1);
    for (int32_t i = 1; i <= Coast_Count; ++i) {
        const Cut_Piece_Record& r = Coast_Piece_Table(i);
        // Only the crossed area: its neighbours are covered whole and left out.
        EXPECT_EQ(std::tuple(r.Lod8_Col, r.Lod8_Row, r.Lod13_Col, r.Lod13_Row), std::tuple(384, 128, 1, 3));
        EXPECT_EQ(r.Attr->Text_Rt, "Bay");
        EXPECT_EQ(r.Attr->Alt_Coast, 1.5);
        EXPECT_EQ(r.Nb_Points, r.Last_Point - r.First_Point + 1);
    }
    // Drawn west to east: the southern part, between the snapped line and the south border.
    const std::set<Pos> places = Places_In(1, 3);
    for (Pos p : {Pos{0, 140}, Pos{112, 149}, Pos{255, 139}, Pos{0, 255}, Pos{255, 255}})
        EXPECT_TRUE(places.count(p)) << p.first << "," << p.second;
    for (Pos p : places) EXPECT_GE(p.second, 139);
    const auto& shown = Gen_Captions().Shown;
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front().second, "Coastlines");
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(Work_Poly_Count, 0);
    EXPECT_EQ(Cut_Poly_Count, 0);
}

TEST_F(CoastStage, LandOnTheRightTurnsTheLineRound) {
    Add_Coastline({{20, 110}, {45, 112}, {75, 110}}, 1);
    API_Make_Coastlines();
    const std::set<Pos> places = Places_In(1, 3);
    for (Pos p : {Pos{0, 140}, Pos{112, 149}, Pos{255, 139}, Pos{0, 0}, Pos{255, 0}})
        EXPECT_TRUE(places.count(p)) << p.first << "," << p.second;
    for (Pos p : places) EXPECT_LE(p.second, 149);
}

TEST_F(CoastStage, ACrossingWithBothEndsAtOneHeightCoversTheWholeSideOnItsRight) {
    // Drawn westward: the piece runs from (255, 140) to (0, 140) of area (1, 3), bending south.
    Add_Coastline({{76.875, 110}, {46.875, 112}, {16.875, 110}});
    API_Make_Coastlines();
    EXPECT_TRUE(host().boxes.empty());
    const std::set<Pos> places = Places_In(1, 3);
    for (Pos p : {Pos{255, 140}, Pos{128, 149}, Pos{0, 140}, Pos{0, 0}, Pos{255, 0}})
        EXPECT_TRUE(places.count(p)) << p.first << "," << p.second;
    for (Pos p : places) EXPECT_LE(p.second, 149);
}

TEST_F(CoastStage, PiecesOfSeveralAreasStandTogetherInGridOrder) {
    // Across three areas of row 3, then down through row 4 of the last column.
    Add_Coastline({{20, 110}, {80, 112}, {110, 108}, {112, 160}});
    API_Make_Coastlines();
    ASSERT_GT(Coast_Count, 0);
    std::vector<std::tuple<int, int>> cells;
    for (int32_t i = 1; i <= Coast_Count; ++i) {
        const Cut_Piece_Record& r = Coast_Piece_Table(i);
        EXPECT_TRUE(r.Lod8_Col == 384 && r.Lod8_Row == 128);
        cells.push_back({r.Lod13_Row, r.Lod13_Col});
    }
    EXPECT_TRUE(std::is_sorted(cells.begin(), cells.end()));
    const std::set<std::tuple<int, int>> distinct(cells.begin(), cells.end());
    EXPECT_EQ(distinct, (std::set<std::tuple<int, int>>{{3, 1}, {3, 2}, {3, 3}, {4, 3}}));
}

TEST_F(CoastStage, ALineThatReachesNoBorderRefusesEveryCoast) {
    Add_Coastline({{20, 110}, {45, 112}, {75, 110}});
    Add_Coastline({{380, 380}, {385, 382}, {390, 381}});  // inside one area
    host().QueueAnswer(1);
    API_Make_Coastlines();
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_NE(host().boxes[0].prompt.find("(132) "), std::string::npos);
    EXPECT_EQ(Coast_Count, 0);
    EXPECT_EQ(Work_Poly_Count, 0);
}

TEST_F(CoastStage, ASelfCrossingCoastlineIsRefusedWithItsPixel) {
    Add_Coastline({{100, 100}, {140, 140}, {140, 100}, {100, 140}});
    host().QueueAnswer(1);
    API_Make_Coastlines();
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_NE(host().boxes[0].prompt.find("(121) "), std::string::npos);
    EXPECT_NE(host().boxes[0].prompt.find("\r\nBmp pixel X:120 Y:120"), std::string::npos);
    EXPECT_EQ(Coast_Count, 0);
}

TEST_F(CoastStage, NoCoastlineGivesNoCoastsAndNoBox) {
    Coast_Count = 5;
    API_Make_Coastlines();  // nothing drawn at all
    EXPECT_EQ(Coast_Count, 0);
    EXPECT_TRUE(Gen_Captions().LCompile.empty());
    Add_Polygon(Square(10, 10, 50));  // a polygon is no coastline
    API_Make_Coastlines();
    EXPECT_EQ(Coast_Count, 0);
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(CoastStage, CleaningDropsRepeatsAndStraightMiddlesButKeepsAnOpenLinesEnds) {
    std::vector<Work_Point_Rec> pts = {{0, 0}, {0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 0}};
    Coast_Clean_Points(pts, false);
    // The doubled start, the middle of a straight run and a last point back on the first go.
    EXPECT_EQ(pts, (std::vector<Work_Point_Rec>{{0, 0}, {10, 0}, {10, 10}}));

    // The first point lies on the last segment's line: an open line keeps its end point.
    const std::vector<Work_Point_Rec> hook = {{0, 0}, {0, 10}, {10, 10}, {5, 5}};
    pts = hook;
    Coast_Clean_Points(pts, false);
    EXPECT_EQ(pts, hook);
    pts = hook;
    Coast_Clean_Points(pts, true);
    EXPECT_EQ(pts, (std::vector<Work_Point_Rec>{{0, 0}, {0, 10}, {10, 10}}));

    pts = {{3, 3}, {3, 3}};
    Coast_Clean_Points(pts, false);
    EXPECT_TRUE(pts.empty());
}

// Water of the coast pieces per LOD13 area of cell 384, 128, in square pixels, as the mask writer
// writes them (whole positions, 255 to an area side); every piece must turn the same way.
std::map<Pos, double> Water_By_Area(double area_px = Lod13_Px) {
    std::map<Pos, double> water;
    const double px = area_px / 255;
    for (int32_t i = 1; i <= Coast_Count; ++i) {
        const Cut_Piece_Record& r = Coast_Piece_Table(i);
        double twice = 0;
        for (int32_t k = r.First_Point; k <= r.Last_Point; ++k) {
            const Cut_Piece_Point& a = Coast_Piece_Points(k);
            const Cut_Piece_Point& b = Coast_Piece_Points(k < r.Last_Point ? k + 1 : r.First_Point);
            twice += double(a.Local_X) * b.Local_Y - double(b.Local_X) * a.Local_Y;
        }
        EXPECT_GT(twice, 0) << "piece " << i << " turns the other way";
        water[{r.Lod13_Col, r.Lod13_Row}] += twice / 2 * px * px;
    }
    return water;
}

// The part of area (c13, r13) inside the box x0..x1, y0..y1 (pixels).
double Box_In_Area(int c13, int r13, double x0, double y0, double x1, double y1) {
    const double w = std::min(x1, (c13 + 1) * Lod13_Px) - std::max(x0, c13 * Lod13_Px);
    const double h = std::min(y1, (r13 + 1) * Lod13_Px) - std::max(y0, r13 * Lod13_Px);
    return w > 0 && h > 0 ? w * h : 0;
}

// One position off along the drawn boundary in an area (at most two area sides of it).
constexpr double Allowance = 2 * Lod13_Px * Lod13_Px / 255;

TEST_F(CoastStage, SnapRepeatsAndInletsNarrowerThanAPositionCloseAsDrawn) {
    // The crossings of x 31.25 and 62.5 snap onto the places of the points just beside them, and
    // an inlet 0.04 pixel wide snaps onto one line of places.
    Add_Coastline({{20, 110}, {31.27, 111}, {45, 112}, {50, 112}, {50.02, 120}, {50.04, 112},
                   {62.48, 111}, {75, 110}});
    API_Make_Coastlines();
    EXPECT_TRUE(host().boxes.empty());
    const std::map<Pos, double> water = Water_By_Area();
    ASSERT_EQ(water.size(), 1u);
    // South of a line about 17.5 pixels into area (1, 3).
    EXPECT_NEAR(water.at(Pos(1, 3)), (125 - 111.5) * Lod13_Px, Allowance);
}


TEST_F(CoastStage, AClosingLegThroughAVertexOfItsPieceIsNotTaken) {
    // On a map of 2200 pixels the crossing of x 68.75 at (68.75, 108.5) lies exactly on the
    // leg north from the last point, (68.75, 126.6); the leg must go south instead.
    const double side = 2200.0 / 64;
    Map_Px_East = Map_Px_South = 2200;
    Proj_Px_SE_X = Proj_Px_SE_Y = 2200;
    const std::vector<Plane_Point> line = {{50, 101}, {75, 111}, {90, 131}, {61, 125}};
    Add_Coastline(line);
    API_Make_Coastlines();
    EXPECT_TRUE(host().boxes.empty());
    std::map<Pos, double> water = Water_By_Area(side);
    EXPECT_EQ(water.size(), 2u);
    // Area (1, 3) less the corner north of the line; in (2, 3) the bend east of x 68.75.
    EXPECT_NEAR(water[Pos(1, 3)], side * side - (68.75 - 55.3125) * (108.5 - 103.125) / 2, 2 * side * side / 255);
    const double bend = Area({{68.75, 108.5}, {75, 111}, {90, 131}, {68.75, 125 + 6 * 7.75 / 29}});
    EXPECT_NEAR(water[Pos(2, 3)], bend, 2 * side * side / 255);
}

TEST_F(CoastStage, TwoCoastlinesThroughOneAreaKeepTheWaterBetweenThem) {
    Add_Coastline({{20, 105}, {110, 105.5}});  // water south
    Add_Coastline({{110, 115}, {20, 115.5}});  // water north
    API_Make_Coastlines();
    EXPECT_TRUE(host().boxes.empty());
    std::map<Pos, double> water = Water_By_Area();
    EXPECT_EQ(water.size(), 2u);
    for (int c13 : {1, 2}) {
        const double x = (c13 + 0.5) * Lod13_Px;
        const double width = (115.5 - (x - 20) / 90 * 0.5) - (105 + (x - 20) / 90 * 0.5);
        EXPECT_NEAR(water[Pos(c13, 3)], width * Lod13_Px, Allowance) << c13;
    }
}

TEST_F(CoastStage, AClosedCoastlineIsARingWhateverPointItStartsAt) {
    // An island 60 by 40 pixels over six areas, drawn with the sea on its right: once back onto
    // its first point, once closed by its option.
    const std::vector<Plane_Point> island = {{40, 100}, {40, 140}, {100, 140}, {100, 100}};
    for (bool by_option : {false, true}) {
        Work_Tables_Reset_All();
        testenv::ResetProgramState();
        Calibrate();
        std::vector<Plane_Point> drawn = island;
        if (!by_option) drawn.push_back(island.front());
        const int32_t line = Add_Coastline(drawn);
        if (by_option) Line_Table(Line_Count).Attr.FermerLine = 1;
        (void)line;
        API_Make_Coastlines();
        EXPECT_TRUE(host().boxes.empty());
        std::map<Pos, double> water = Water_By_Area();
        EXPECT_EQ(water.size(), 6u);
        for (int c13 = 1; c13 <= 3; ++c13)
            for (int r13 = 3; r13 <= 4; ++r13)
                EXPECT_NEAR(water[Pos(c13, r13)], Lod13_Px * Lod13_Px - Box_In_Area(c13, r13, 40, 100, 100, 140),
                            Allowance)
                    << c13 << "," << r13 << (by_option ? " by option" : "");
    }
    // Drawn the other way round it is a lake: the water is inside.
    Work_Tables_Reset_All();
    testenv::ResetProgramState();
    Calibrate();
    Add_Coastline({{40, 100}, {100, 100}, {100, 140}, {40, 140}, {40, 100}});
    API_Make_Coastlines();
    std::map<Pos, double> water = Water_By_Area();
    EXPECT_EQ(water.size(), 6u);
    for (int c13 = 1; c13 <= 3; ++c13)
        for (int r13 = 3; r13 <= 4; ++r13)
            EXPECT_NEAR(water[Pos(c13, r13)], Box_In_Area(c13, r13, 40, 100, 100, 140), Allowance) << c13 << "," << r13;
}

TEST_F(CoastStage, AClosedCoastlineInsideOneAreaIsAnIslandOrALake) {
    // A C open to the east inside area (1, 3), 276 square pixels: drawn with the sea on its right
    // it is an island, the other way round a lake.
    std::vector<Plane_Point> ring = {{40, 98}, {40, 120}, {58, 120}, {58, 114}, {46, 114}, {46, 104}, {58, 104}, {58, 98}};
    for (bool lake : {false, true}) {
        Work_Tables_Reset_All();
        testenv::ResetProgramState();
        Calibrate();
        std::vector<Plane_Point> drawn = ring;
        if (lake) std::reverse(drawn.begin(), drawn.end());
        drawn.push_back(drawn.front());
        Add_Coastline(drawn);
        API_Make_Coastlines();
        EXPECT_TRUE(host().boxes.empty());
        std::map<Pos, double> water = Water_By_Area();
        EXPECT_EQ(water.size(), 1u);
        EXPECT_NEAR(water[Pos(1, 3)], lake ? 276 : Lod13_Px * Lod13_Px - 276, Allowance) << (lake ? "lake" : "island");
    }
}

// The part of polygon `poly` inside the box of one area (Sutherland-Hodgman, one side at a time).
double Clipped_Area(std::vector<Plane_Point> poly, double x0, double y0, double x1, double y1) {
    const auto clip = [&](auto inside, auto meet) {
        std::vector<Plane_Point> out;
        for (size_t i = 0; i < poly.size(); ++i) {
            const Plane_Point& a = poly[i];
            const Plane_Point& b = poly[(i + 1) % poly.size()];
            if (inside(a)) out.push_back(a);
            if (inside(a) != inside(b)) out.push_back(meet(a, b));
        }
        poly = out;
    };
    const auto at_x = [](double x) {
        return [x](const Plane_Point& a, const Plane_Point& b) {
            return Plane_Point{x, a.Y + (b.Y - a.Y) * (x - a.X) / (b.X - a.X)};
        };
    };
    const auto at_y = [](double y) {
        return [y](const Plane_Point& a, const Plane_Point& b) {
            return Plane_Point{a.X + (b.X - a.X) * (y - a.Y) / (b.Y - a.Y), y};
        };
    };
    clip([&](const Plane_Point& p) { return p.X >= x0; }, at_x(x0));
    clip([&](const Plane_Point& p) { return p.X <= x1; }, at_x(x1));
    clip([&](const Plane_Point& p) { return p.Y >= y0; }, at_y(y0));
    clip([&](const Plane_Point& p) { return p.Y <= y1; }, at_y(y1));
    return std::fabs(Area(poly));
}

// Water of the written pieces per area, by area counted from the map's north-west corner (so
// also beyond the map); every piece must lie in its own area and turn the right way.
std::map<Pos, double> Water_By_Map_Area() {
    std::map<Pos, double> water;
    const double px = Lod13_Px / 255;
    for (int32_t i = 1; i <= Coast_Count; ++i) {
        const Cut_Piece_Record& r = Coast_Piece_Table(i);
        const Pos area{(r.Lod8_Col - 384) * 32 + r.Lod13_Col, (r.Lod8_Row - 128) * 32 + r.Lod13_Row};
        double twice = 0;
        for (int32_t k = r.First_Point; k <= r.Last_Point; ++k) {
            const Cut_Piece_Point& a = Coast_Piece_Points(k);
            const Cut_Piece_Point& b = Coast_Piece_Points(k < r.Last_Point ? k + 1 : r.First_Point);
            twice += double(a.Local_X) * b.Local_Y - double(b.Local_X) * a.Local_Y;
            EXPECT_TRUE(a.X > (area.first - 0.01) * Lod13_Px && a.X < (area.first + 1.01) * Lod13_Px &&
                        a.Y > (area.second - 0.01) * Lod13_Px && a.Y < (area.second + 1.01) * Lod13_Px)
                << "piece " << i << " of area " << area.first << "," << area.second << " reaches " << a.X << ","
                << a.Y;
        }
        EXPECT_GT(twice, 0) << "piece " << i << " turns the other way";
        water[area] += twice / 2 * px * px;
    }
    return water;
}

TEST_F(CoastStage, ACoastlineBeyondTheMapsEdgeKeepsItsWaterAreaByArea) {
    // Each case: the drawn line, and a polygon whose inside is the water on its right near it
    // (for the straight line, a strip along it, longer at both ends).
    // One runs off the east edge and comes back; one starts north-west of the map, beyond the
    // first grid lines a map's own range would give.
    const std::vector<std::pair<std::vector<Plane_Point>, std::vector<Plane_Point>>> cases = {
        {{{1940, 100}, {2090, 105}, {2090, 170}, {1940, 175}}, {{1940, 100}, {2090, 105}, {2090, 170}, {1940, 175}}},
        {{{-200, -100}, {40, 245}}, {{-440, -445}, {280, 590}, {-65, 830}, {-785, -205}}},
    };
    for (const auto& [line, wet] : cases) {
        Work_Tables_Reset_All();
        testenv::ResetProgramState();
        Calibrate();
        Add_Coastline(line);
        API_Make_Coastlines();
        EXPECT_TRUE(host().boxes.empty());
        // The areas the line passes through, less the two where it ends (trimmed).
        std::set<Pos> crossed;
        for (size_t s = 0; s + 1 < line.size(); ++s)
            for (int t = 0; t <= 20000; ++t) {
                const double x = line[s].X + (line[s + 1].X - line[s].X) * t / 20000;
                const double y = line[s].Y + (line[s + 1].Y - line[s].Y) * t / 20000;
                crossed.insert({static_cast<int>(std::floor(x / Lod13_Px)), static_cast<int>(std::floor(y / Lod13_Px))});
            }
        const auto area_of = [](const Plane_Point& p) {
            return Pos(static_cast<int>(std::floor(p.X / Lod13_Px)), static_cast<int>(std::floor(p.Y / Lod13_Px)));
        };
        crossed.erase(area_of(line.front()));
        crossed.erase(area_of(line.back()));
        const std::map<Pos, double> water = Water_By_Map_Area();
        for (const auto& [area, got] : water) EXPECT_TRUE(crossed.count(area)) << area.first << "," << area.second;
        for (Pos area : crossed) {
            const double x0 = area.first * Lod13_Px, y0 = area.second * Lod13_Px;
            const double want = Clipped_Area(wet, x0, y0, x0 + Lod13_Px, y0 + Lod13_Px);
            const auto got = water.find(area);
            EXPECT_NEAR(got == water.end() ? 0.0 : got->second, want, Allowance)
                << area.first << "," << area.second << " from " << line.front().X;
        }
    }
}

// Water rings of areas of LOD8 cell (384, 128), given by area column, row and places, written as
// coast pieces.
void Index(const std::vector<std::tuple<int, int, std::vector<Coast_Pos>>>& rings) {
    Work_Tables_Size(1, 10);
    Work_Poly_Count = 1;
    std::vector<Coast_Water> water;
    for (const auto& [c, r, ring] : rings) water.push_back({384 * 32 + c, 128 * 32 + r, 1, {ring}});
    Coast_Write_Pieces(water);
}

TEST_F(CoastStage, AreasCoveredWholeByTheirPiecesAreLeftOut) {
    Index({{1, 1, {{0, 0}, {255, 0}, {255, 255}, {0, 255}}}});
    EXPECT_EQ(Coast_Count, 0);

    // Two triangles sharing the diagonal cover the area; two that leave a gap do not.
    Index({{1, 1, {{0, 0}, {255, 0}, {255, 255}}}, {1, 1, {{0, 0}, {255, 255}, {0, 255}}}});
    EXPECT_EQ(Coast_Count, 0);
    Index({{1, 1, {{0, 0}, {255, 0}, {255, 255}}}, {1, 1, {{0, 0}, {140, 200}, {0, 255}}}});
    EXPECT_EQ(Coast_Count, 2);
    EXPECT_EQ(Coast_Piece_Table(1).Nb_Points, 3);
}

TEST_F(CoastStage, PiecesComeOutByCellRowsThenColumns) {
    const std::vector<Coast_Pos> tri = {{10, 10}, {90, 10}, {10, 90}};
    Index({{0, 32 + 0, tri}, {32 + 0, 32 + 0, tri}, {32 + 0, 0, tri}, {1, 0, tri}, {0, 0, tri}});
    ASSERT_EQ(Coast_Count, 5);
    std::vector<std::tuple<int, int, int, int>> order;
    for (int32_t i = 1; i <= Coast_Count; ++i) {
        const Cut_Piece_Record& r = Coast_Piece_Table(i);
        order.push_back({r.Lod8_Row, r.Lod8_Col, r.Lod13_Row, r.Lod13_Col});
    }
    EXPECT_EQ(order, (std::vector<std::tuple<int, int, int, int>>{
                         {128, 384, 0, 0}, {128, 384, 0, 1}, {128, 385, 0, 0}, {129, 384, 0, 0}, {129, 385, 0, 0}}));
}

}  // namespace
