// Copying drawn polygons into the work tables: cleaning, winding, checks, nesting and named groups.
#include "polygon_fixture.h"

#include <boost/geometry.hpp>
#include <map>
#include <random>

#include "core/erreur.h"
#include "core/settings.h"
#include "generation/grid_cut.h"
#include "generation/line_prep.h"
#include "generation/polygon_checks.h"
#include "generation/prepare_polygons.h"
#include "generation/world_clip.h"
#include "platform/text.h"

using namespace polytest;

class PolygonPrepare : public PolygonTest {};

TEST_F(PolygonPrepare, CleaningRemovesRepeatsAndCollinearPoints) {
    std::vector<Plane_Point> closed = Square(100, 100, 10);
    closed.push_back(closed.front());  // drawn with its first point again at the end
    Add_Polygon(closed, 0, "AAA");
    Add_Polygon({{200, 100}, {205, 100}, {210, 100}, {210, 110}, {210, 110}, {200, 110}}, 0, "BBB");
    // A self-crossing third polygon stops the preparation right after the copy.
    Add_Polygon({{300, 300}, {320, 320}, {320, 300}, {300, 320}}, 0, "CCC");
    host().QueueAnswer(1);
    API_Prepare_Polygons(0);
    ASSERT_EQ(Work_Poly_Count, 3);
    EXPECT_TRUE(Same_Cycle(Work_Points(1), Square(100, 100, 10)));
    // (205,100) lay on the line of its neighbours and the corner was doubled.
    EXPECT_TRUE(Same_Cycle(Work_Points(2), Square(200, 100, 10)));
    for (int32_t i = 1; i <= Work_Point_Count; ++i) EXPECT_EQ(Work_Point_Table(i).Flag, 0);
}

TEST_F(PolygonPrepare, AbandonedCutLeavesNothingToWrite) {
    Add_Polygon(Square(100, 100, 10));
    Map_Px_South = Map_Px_North;  // a frame without height: no grid line can be stepped
    host().QueueAnswer(1);
    API_Prepare_Polygons(0);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "Anormal Lat decoupe LOD13_8");
    EXPECT_EQ(Polygon_Cut_Aborted, 1);
    EXPECT_EQ(Touch_Groups_Found, 0);
    EXPECT_EQ(Line_Groups_Numbered, 0);
    EXPECT_EQ(Work_Poly_Count, 0);
}

TEST_F(PolygonPrepare, BothDrawingDirectionsAreStoredTheSameWay) {
    std::vector<Plane_Point> cw = Square(100, 100, 20);
    std::vector<Plane_Point> ccw(cw.rbegin(), cw.rend());
    Add_Polygon(cw, 0, "AAA");
    Add_Polygon(ccw, 0, "BBB");
    Add_Polygon({{300, 300}, {320, 320}, {320, 300}, {300, 320}}, 0, "CCC");  // stops after the copy
    host().QueueAnswer(1);
    API_Prepare_Polygons(0);
    ASSERT_EQ(Work_Poly_Count, 3);
    EXPECT_TRUE(Same_Cycle(Work_Points(1), Work_Points(2)));
    std::vector<Plane_Point> p = Work_Points(1);
    EXPECT_EQ(API_Get_Polygon_Winding(p, 4), 1);
    // y grows downward: the stored order turns with a positive cross product.
    EXPECT_GT(Area(p), 0);
}

TEST_F(PolygonPrepare, SelfCrossingPolygonIsRefusedWithItsPixel) {
    Add_Polygon(Square(10, 10, 10));
    Add_Polygon({{100, 100}, {140, 140}, {140, 100}, {100, 140}});  // a bow tie, crossing at 120,120
    host().QueueAnswer(1);
    API_Prepare_Polygons(0);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_NE(host().boxes[0].prompt.find("(121) "), std::string::npos);
    EXPECT_NE(host().boxes[0].prompt.find("\r\nBmp pixel X:120 Y:120"), std::string::npos);
    EXPECT_EQ(Cross_Point_X, 120);
    EXPECT_EQ(Cross_Point_Y, 120);
    EXPECT_EQ(Touch_Groups_Found, 0);
    EXPECT_EQ(Line_Groups_Numbered, 0);
    EXPECT_EQ(Work_Poly_Count, 2);  // the cleaned polygons stay, uncut
}

TEST_F(PolygonPrepare, TouchingPolygonsAreRefused) {
    Add_Polygon(Square(100, 100, 10));
    Add_Polygon(Square(110, 110, 10));  // shares the corner (110, 110)
    host().QueueAnswer(1);
    API_Prepare_Polygons(0);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_NE(host().boxes[0].prompt.find("(122) "), std::string::npos);
    EXPECT_EQ(Msg_Answer, 1);
    EXPECT_EQ(Touch_Groups_Found, 0);
    EXPECT_EQ(Line_Groups_Numbered, 0);
}

TEST_F(PolygonPrepare, HoleAndIslandAreNumberedInsideOut) {
    int32_t land = Add_Polygon(Square(100, 100, 100));
    int32_t lake = Add_Polygon(Square(120, 120, 60));
    int32_t island = Add_Polygon(Square(140, 140, 20));
    int32_t apart = Add_Polygon(Square(400, 400, 10));
    API_Prepare_Polygons(0);
    EXPECT_EQ(Touch_Groups_Found, 1);
    EXPECT_TRUE(host().boxes.empty());
    ASSERT_GT(Work_Poly_Count, 0);
    // Every piece carries its polygon's ring number; the group id is the outer polygon's id.
    const int32_t land_id = Line_Table(land).Line_Id, apart_id = Line_Table(apart).Line_Id;
    auto ring_of = [&](int32_t line) {
        for (int32_t r = 1; r <= Work_Poly_Count; ++r)
            if (Work_Poly_Table(r).Line_Id == Line_Table(line).Line_Id) return Work_Poly_Table(r).Ring_Number;
        return -1;
    };
    EXPECT_EQ(ring_of(island), 1);
    EXPECT_EQ(ring_of(lake), 2);
    EXPECT_EQ(ring_of(land), 3);
    EXPECT_EQ(ring_of(apart), 1);
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        EXPECT_EQ(rec.Group_Id, rec.Line_Id == apart_id ? apart_id : land_id);
    }
}

TEST_F(PolygonPrepare, NamedGroupsAreNumberedByTheirText) {
    int32_t a2 = Add_Polygon(Square(100, 100, 10), 0, "ABC2");
    int32_t a1 = Add_Polygon(Square(100, 100, 10), 0, "ABC1");  // named polygons may overlap
    int32_t d1 = Add_Polygon(Square(300, 100, 10), 0, "ABD1");
    API_Prepare_Polygons(0);
    EXPECT_EQ(Line_Groups_Numbered, 1);
    EXPECT_EQ(Touch_Groups_Found, 0);  // nothing without a text: no nesting groups
    std::map<int32_t, std::pair<int32_t, int32_t>> seen;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r)
        seen[Work_Poly_Table(r).Line_Id] = {Work_Poly_Table(r).Ring_Number, Work_Poly_Table(r).Group_Id};
    const int32_t id2 = Line_Table(a2).Line_Id, id1 = Line_Table(a1).Line_Id, idd = Line_Table(d1).Line_Id;
    EXPECT_EQ(seen[id1], std::make_pair(1, id2));
    EXPECT_EQ(seen[id2], std::make_pair(2, id2));
    EXPECT_EQ(seen[idd], std::make_pair(1, idd));
}

TEST_F(PolygonPrepare, OnlyTheRequestedKindIsTaken) {
    Add_Polygon(Square(100, 100, 10), 1);  // VTP2
    Add_Polygon(Square(300, 100, 10), 2);  // VTP1
    API_Prepare_Polygons(0);
    EXPECT_EQ(Touch_Groups_Found, 0);
    EXPECT_EQ(Line_Groups_Numbered, 0);
    EXPECT_EQ(Work_Poly_Count, 0);
    EXPECT_EQ(Gen_Captions().LCompileNom, "");  // nothing was split or cut

    API_Prepare_Polygons(2);
    EXPECT_EQ(Touch_Groups_Found, 1);
    ASSERT_GE(Work_Poly_Count, 1);
    EXPECT_EQ(Work_Poly_Table(1).Attr->LWM_VTP2, 1);
}

TEST_F(PolygonPrepare, VtpOnePolygonsAreFannedAtTwentyFourPoints) {
    // A convex 30-gon inside one LOD13 cell: fanned in mode 1, kept whole in mode 0.
    std::vector<Plane_Point> ring;
    for (int i = 0; i < 30; ++i)
        ring.push_back({515 + 5 * std::cos(i * 2 * M_PI / 30), 515 + 5 * std::sin(i * 2 * M_PI / 30)});
    Add_Polygon(ring, 2);
    API_Prepare_Polygons(1);
    EXPECT_GT(Work_Poly_Count, 1);
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) EXPECT_LT(Work_Poly_Table(r).Nb_Points, 24);

    Line_Table(2).Attr.LWM_VTP2 = 0;
    API_Prepare_Polygons(0);
    EXPECT_EQ(Work_Poly_Count, 1);
    EXPECT_EQ(Work_Poly_Table(1).Nb_Points, 30);
}

TEST_F(PolygonPrepare, DamagedPointChainIsReadNoFurtherThanItsCount) {
    int32_t line = Add_Polygon(Square(100, 100, 10), 0, "AAA");
    // The last point links back to the first: a loop the walk must not follow for ever.
    Point_Table(Line_Table(line).Last_Point).Next_Point = Line_Table(line).First_Point;
    Line_Table(line).Last_Point = 0;
    API_Prepare_Polygons(0);
    ASSERT_EQ(Work_Poly_Count, 1);
    EXPECT_EQ(Work_Poly_Table(1).Nb_Points, 4);

    // A link to an id outside the table ends the walk there.
    Point_Table(Line_Table(line).First_Point).Next_Point = 9999;
    API_Prepare_Polygons(0);
    EXPECT_EQ(Work_Poly_Count, 0);  // one point left: skipped
}

namespace {

// The cleaning as the table rules put it: removals shift the list and test the same place again.
// Empty when the polygon is skipped.
std::vector<Plane_Point> Literal_Clean(std::vector<Plane_Point> pts) {
    if (pts.size() < 2) return {};
    auto same = [](const Plane_Point& a, const Plane_Point& b) { return a.X == b.X && a.Y == b.Y; };
    pts.push_back(pts.front());
    for (size_t i = 0; i + 1 < pts.size();) {
        if (same(pts[i + 1], pts[i]))
            pts.erase(pts.begin() + static_cast<long>(i));
        else
            ++i;
    }
    pts.pop_back();
    if (pts.size() < 2) return {};
    if (pts.size() >= 3) {
        pts.push_back(pts.front());
        for (size_t i = 0; i + 2 < pts.size();) {
            if (API_Turn_Direction(pts[i], pts[i + 1], pts[i + 2]) == 0)
                pts.erase(pts.begin() + static_cast<long>(i + 1));
            else
                ++i;
        }
        pts.pop_back();
    }
    if (pts.size() >= 2 && API_Turn_Direction(pts.back(), pts[0], pts[1]) == 0) pts.erase(pts.begin());
    if (pts.size() >= 3 && API_Get_Polygon_Winding(pts, static_cast<int32_t>(pts.size())) == 0)
        std::reverse(pts.begin(), pts.end());
    return pts;
}

}  // namespace

TEST_F(PolygonPrepare, CleaningOfRepeatedAndCollinearRunsIsTheStepwiseOne) {
    // Points on a coarse grid, so that runs of repeats and of points on one line are common,
    // some running through the closing point. A bow tie at the end stops the preparation
    // after the copy, leaving the cleaned polygons to compare.
    std::mt19937 rng(17);
    std::vector<std::vector<Plane_Point>> drawn;
    for (int p = 0; p < 40; ++p) {
        std::vector<Plane_Point> pts;
        const int n = 2 + static_cast<int>(rng() % 60);
        for (int i = 0; i < n; ++i) {
            const int step = static_cast<int>(rng() % 4);
            Plane_Point last = pts.empty() ? Plane_Point{double(rng() % 5) * 10, double(rng() % 5) * 10} : pts.back();
            if (step == 0) pts.push_back(last);                              // a repeat
            else if (step == 1) pts.push_back({last.X + 10, last.Y});        // on a line
            else pts.push_back({double(rng() % 5) * 10, double(rng() % 5) * 10});
        }
        if (p % 3 == 0) pts.push_back(pts.front());
        drawn.push_back(pts);
        Add_Polygon(pts, 0, "N" + std::to_string(p));
    }
    Add_Polygon(Square(0, 0, 0), 0, "Z0");  // one point four times: skipped
    Add_Polygon({{300, 300}, {320, 320}, {320, 300}, {300, 320}}, 0, "ZZZ");
    host().strict = false;
    API_Prepare_Polygons(0);

    int32_t r = 0;
    for (const auto& pts : drawn) {
        const std::vector<Plane_Point> want = Literal_Clean(pts);
        if (want.empty()) continue;
        ++r;
        ASSERT_LE(r, Work_Poly_Count);
        const std::vector<Plane_Point> got = Work_Points(r);
        ASSERT_EQ(got.size(), want.size()) << "polygon " << r;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].X, want[i].X) << "polygon " << r << " point " << i;
            EXPECT_EQ(got[i].Y, want[i].Y) << "polygon " << r << " point " << i;
        }
    }
    EXPECT_EQ(Work_Poly_Count, r + 1);  // and the bow tie
}

TEST_F(PolygonPrepare, LongSidesOfManyPointsKeepOnlyTheCorners) {
    std::vector<Plane_Point> pts;
    for (int i = 0; i < 3000; ++i) pts.push_back({double(i) / 10, 0});
    for (int i = 0; i < 3000; ++i) pts.push_back({300, double(i) / 10});
    for (int i = 0; i < 3000; ++i) pts.push_back({300 - double(i) / 10, 300});
    for (int i = 0; i < 3000; ++i) pts.push_back({0, 300 - double(i) / 10});
    pts.push_back(pts.back());
    Add_Polygon(pts, 0, "AAA");
    Add_Polygon({{400, 400}, {420, 420}, {420, 400}, {400, 420}}, 0, "BBB");  // stops after the copy
    host().strict = false;
    API_Prepare_Polygons(0);
    ASSERT_EQ(Work_Poly_Count, 2);
    EXPECT_TRUE(Same_Cycle(Work_Points(1), {{0, 0}, {300, 0}, {300, 300}, {0, 300}}) ||
                Same_Cycle(Work_Points(1), {{0, 300}, {300, 300}, {300, 0}, {0, 0}}));
}

TEST_F(PolygonPrepare, NamedGroupsCompareThreeCharactersEvenWhenAccented) {
    // "éa1" and "éa2" differ in their third character (their first three bytes are equal);
    // "éa1x" shares all three with "éa1".
    Load_Work({});
    const std::vector<std::string> texts{"\xC3\xA9" "a1", "\xC3\xA9" "a2", "\xC3\xA9" "a1x"};
    for (size_t i = 0; i < texts.size(); ++i) {
        Work_Poly_Rec rec;
        rec.Line_Id = static_cast<int32_t>(i) + 2;
        Route_Attrib a;
        a.Imbrication = texts[i];
        rec.Attr = a;
        Work_Poly_Table.ReDim_Preserve(static_cast<int32_t>(i) + 1);
        Work_Poly_Table(static_cast<int32_t>(i) + 1) = rec;
    }
    Work_Poly_Count = static_cast<int32_t>(texts.size());
    API_Number_Line_Groups();
    EXPECT_EQ(Work_Poly_Table(1).Group_Id, Work_Poly_Table(3).Group_Id);
    EXPECT_NE(Work_Poly_Table(1).Group_Id, Work_Poly_Table(2).Group_Id);
    EXPECT_EQ(Work_Poly_Table(2).Ring_Number, 1);
    EXPECT_EQ(plat::Left_Chars("\xC3\xA9t\xC3\xA9s", 3), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(plat::Left_Chars("ab", 3), "ab");
}

TEST_F(PolygonPrepare, NamedGroupsWithEqualTextsKeepTheExchangeOrder) {
    // Equal texts are not exchanged: the order among them is the one the exchange leaves, which
    // decides which polygon of a run is numbered first and whose line id names the group.
    const std::vector<std::string> texts{"BB1", "AA1", "BB1", "AA2", "AA1", "BB1", "AA1", "CC"};
    for (size_t i = 0; i < texts.size(); ++i) Add_Polygon(Square(100 + 40.0 * i, 100, 10), 0, texts[i]);
    std::vector<std::pair<std::string, int32_t>> literal;
    for (size_t i = 0; i < texts.size(); ++i) literal.push_back({texts[i], static_cast<int32_t>(i) + 2});
    for (size_t k = 0; k + 1 < literal.size(); ++k)
        for (size_t l = k + 1; l < literal.size(); ++l)
            if (literal[l].first < literal[k].first) std::swap(literal[k], literal[l]);
    Load_Work({});
    for (size_t i = 0; i < texts.size(); ++i) {
        Work_Poly_Rec rec;
        rec.Line_Id = static_cast<int32_t>(i) + 2;
        Route_Attrib a;
        a.Imbrication = texts[i];
        rec.Attr = a;
        Work_Poly_Table.ReDim_Preserve(static_cast<int32_t>(i) + 1);
        Work_Poly_Table(static_cast<int32_t>(i) + 1) = rec;
    }
    Work_Poly_Count = static_cast<int32_t>(texts.size());
    API_Number_Line_Groups();
    EXPECT_EQ(Line_Groups_Numbered, 1);
    std::map<int32_t, std::pair<int32_t, int32_t>> want;  // line id -> ring number, group id
    size_t start = 0;
    while (start < literal.size()) {
        size_t end = start + 1;
        while (end < literal.size() && literal[end].first.substr(0, 3) == literal[start].first.substr(0, 3)) ++end;
        for (size_t k = start; k < end; ++k)
            want[literal[k].second] = {static_cast<int32_t>(k - start + 1), literal[end - 1].second};
        start = end;
    }
    for (int32_t w = 1; w <= Work_Poly_Count; ++w) {
        const Work_Poly_Rec& rec = Work_Poly_Table(w);
        EXPECT_EQ(rec.Ring_Number, want[rec.Line_Id].first) << rec.Attr->Imbrication << " " << rec.Line_Id;
        EXPECT_EQ(rec.Group_Id, want[rec.Line_Id].second) << rec.Attr->Imbrication << " " << rec.Line_Id;
    }
}

TEST_F(PolygonPrepare, LargeProjectIsCutPartByPartAsInOnePass) {
    // Enough wobbly lakes that the split and the cut go over several parts: the tables, and the
    // piece index fed part by part, must come out as the split, the cut and the index over the
    // whole table make them.
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 9; ++i) {
            std::vector<Plane_Point> ring;
            for (int k = 0; k < 4000; ++k) {
                const double t = 2 * 3.14159265358979 * k / 4000;
                const double r = 80 * (0.8 + 0.2 * std::cos(7 * t + i + j));
                ring.push_back({std::round((110 + 220 * i + r * std::cos(t)) * 100) / 100,
                                std::round((110 + 240 * j + r * std::sin(t)) * 100) / 100});
            }
            Add_Polygon(ring);
        }
    struct Table {
        std::vector<Work_Poly_Rec> polys;
        std::vector<Work_Point_Rec> points;
        std::vector<std::string> boxes;
        std::vector<Cut_Piece_Record> pieces;
        std::vector<Cut_Piece_Point> piece_points;
    };
    auto prepare = [&](int16_t debug_draw) {
        Work_Tables_Reset_All();
        host().boxes.clear();
        Debug_Draw = debug_draw;  // drawn (with no canvas) only through the stages one after the other
        API_Prepare_Polygons(0);
        Table t;
        for (int32_t r = 1; r <= Work_Poly_Count; ++r) t.polys.push_back(Work_Poly_Table(r));
        for (int32_t p = 1; p <= Work_Point_Count; ++p) t.points.push_back(Work_Point_Table(p));
        Work_Tables_Reset_All();
        EXPECT_TRUE(API_Prepare_Pieces(0));
        t.pieces.assign(Cut_Piece_Table.begin(), Cut_Piece_Table.begin() + Cut_Piece_Count);
        t.piece_points.assign(Cut_Piece_Points.begin(), Cut_Piece_Points.begin() + Cut_Piece_Point_Count);
        for (const auto& box : host().boxes) t.boxes.push_back(box.prompt);
        return t;
    };
    const Table parts = prepare(0);
    const Table whole = prepare(1);
    EXPECT_GT(parts.points.size(), 300000u);
    EXPECT_TRUE(parts.polys == whole.polys);
    EXPECT_TRUE(parts.points == whole.points);
    EXPECT_GT(parts.pieces.size(), 10000u);
    EXPECT_TRUE(parts.pieces == whole.pieces);
    EXPECT_TRUE(parts.piece_points == whole.piece_points);
    EXPECT_EQ(parts.boxes, whole.boxes);
}

// The area of the strip that leaves segment a-b in direction u, within the box.
double Strip_Area_Within(Plane_Point a, Plane_Point b, Plane_Point u, double west, double north, double east,
                         double south) {
    namespace bg = boost::geometry;
    using Pt = bg::model::d2::point_xy<double>;
    bg::model::polygon<Pt> strip, box;
    const double l = 1e7;
    bg::assign_points(strip, std::vector<Pt>{{a.X, a.Y}, {b.X, b.Y}, {b.X + u.X * l, b.Y + u.Y * l},
                                             {a.X + u.X * l, a.Y + u.Y * l}, {a.X, a.Y}});
    bg::assign_points(box, std::vector<Pt>{{west, north}, {east, north}, {east, south}, {west, south}, {west, north}});
    bg::correct(strip);
    bg::correct(box);
    std::vector<bg::model::polygon<Pt>> both;
    bg::intersection(strip, box, both);
    double area = 0;
    for (const auto& p : both) area += std::fabs(bg::area(p));
    return area;
}

TEST_F(PolygonPrepare, APointFarBeyondTheWorldIsCutAtItsEdgeAlongBothLegs) {
    // A lake and a river out to a point far beyond the world and back, in eight directions: the
    // lake keeps its water on the map and up to the world's edge, the river both its legs.
    const World_Box world = World_Pixel_Box();
    const Plane_Point a{950, 900}, b{1050, 1100};
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            for (double far : {1e10, 1e20, 1e100, 1e300}) {
                if (dx == 0 && dy == 0) continue;
                SCOPED_TRACE("direction " + std::to_string(dx) + "," + std::to_string(dy) + " at " +
                             std::to_string(std::log10(far)));
                const Plane_Point f{1000 + dx * far, 1000 + dy * far};
                const double n = std::hypot(dx, dy);
                const Plane_Point u{dx / n, dy / n};
                testenv::ResetProgramState();
                Work_Tables_Reset_All();
                host().Reset();
                host().QueueAnswer(1);  // a box is a failure below, not the end of the run
                Calibrate();
                Add_Polygon({a, f, b});
                API_Prepare_Polygons(0);
                EXPECT_TRUE(host().boxes.empty()) << host().boxes.front().prompt;
                double on_map = 0, in_world = 0;
                for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
                    const std::vector<Plane_Point> pts = Work_Points(r);
                    double x = 0, y = 0;  // a piece lies in one cell: its mean point says which
                    for (const Plane_Point& p : pts) x += p.X / pts.size(), y += p.Y / pts.size();
                    const bool map = x > 0 && x < 2000 && y > 0 && y < 2000;
                    (map ? on_map : in_world) += std::fabs(Area(pts));
                }
                in_world += on_map;
                EXPECT_NEAR(on_map, Strip_Area_Within(a, b, u, 0, 0, 2000, 2000), 1.0);
                const double world_area = Strip_Area_Within(a, b, u, world.West, world.North, world.East, world.South);
                EXPECT_NEAR(in_world, world_area, world_area * 1e-4);

                Work_Tables_Reset_All();
                Route_Attrib river;
                river.SurfShore = 2;
                river.Type_Code = 1026;
                const int32_t line = Project_Append_Line(river);
                for (const Plane_Point& p : {a, f, b}) Project_Append_Point(line, p.X, p.Y);
                ASSERT_EQ(API_Collect_Lines(), 2);
                for (int32_t r : {1, 2}) {
                    const std::vector<Plane_Point> leg = Work_Points(r);
                    ASSERT_EQ(leg.size(), 2u);
                    const Plane_Point from = r == 1 ? a : b;
                    const Plane_Point edge = r == 1 ? leg[1] : leg[0];
                    EXPECT_EQ(r == 1 ? leg[0].X : leg[1].X, from.X);
                    EXPECT_EQ(r == 1 ? leg[0].Y : leg[1].Y, from.Y);
                    EXPECT_TRUE(edge.X == world.West || edge.X == world.East || edge.Y == world.North ||
                                edge.Y == world.South);
                    EXPECT_TRUE(world.Holds(edge.X, edge.Y));
                    const double len = std::hypot(edge.X - from.X, edge.Y - from.Y);
                    EXPECT_GT(len, 1e5);
                    EXPECT_LT(std::fabs((edge.X - from.X) * u.Y - (edge.Y - from.Y) * u.X), len * 1e-6);
                    EXPECT_GT((edge.X - from.X) * u.X + (edge.Y - from.Y) * u.Y, 0);
                }
            }
    // Coming in to a point on the world's edge, the leg starts there: no leg of no length.
    const std::vector<std::vector<Work_Point_Rec>> in =
        World_Clip_Line({{1e300, 0, 1}, {world.East, 1000, 0}, {1000, 1100, 1}}, world);
    ASSERT_EQ(in.size(), 1u);
    ASSERT_EQ(in[0].size(), 2u);
    EXPECT_EQ(in[0][0].X, world.East);
    EXPECT_EQ(in[0][0].Flag, 2);
}
