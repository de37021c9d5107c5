// Random simple polygons, convex and concave, drawn both ways round, up to a few thousand points:
// the convex split keeps the area and gives convex pieces within the point limit, and the cut
// pieces lie in the cell they are indexed under.
#include "polygon_fixture.h"

#include <algorithm>
#include <random>

#include "generation/grid_cut.h"
#include "generation/prepare_polygons.h"
#include "generation/resplit.h"

using namespace polytest;

namespace {

// A star-shaped ring around (cx, cy): sorted random angles, radii in [inner, 1] x r. With
// inner = 1 every point lies on the circle and the ring is convex.
std::vector<Plane_Point> Random_Ring(std::mt19937& rng, int n, double cx, double cy, double r, double inner) {
    std::uniform_real_distribution<double> angle(0, 2 * M_PI), radius(inner, 1.0);
    std::vector<double> angles(static_cast<size_t>(n));
    for (double& a : angles) a = angle(rng);
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    std::vector<Plane_Point> pts;
    for (double a : angles) {
        double k = inner >= 1 ? 1.0 : radius(rng);
        pts.push_back({cx + r * k * std::cos(a), cy + r * k * std::sin(a)});
    }
    return pts;
}

double Signed_Area_Of_Work() {
    double total = 0;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) total += Area(Work_Points(r));
    return total;
}

// Convex within rounding: no corner turns the wrong way by more than a hair.
bool Nearly_Convex(const std::vector<Plane_Point>& pts) {
    const size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        const Plane_Point& a = pts[(i + n - 1) % n];
        const Plane_Point& b = pts[i];
        const Plane_Point& c = pts[(i + 1) % n];
        double cross = (b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y);
        if (cross < -1e-6) return false;
    }
    return true;
}

struct Shape {
    int points;
    double inner;     // 1 convex, below 1 concave
    bool clockwise;   // drawn the other way round
};

class PolygonProperties : public PolygonTest, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(PolygonProperties, ConvexSplitKeepsAreaAndLimit) {
    std::mt19937 rng(static_cast<unsigned>(GetParam()));
    const Shape shapes[] = {{12, 0.5, false}, {90, 1.0, true}, {400, 0.6, true}, {2500, 0.7, false}, {61, 1.0, false}};
    for (const Shape& s : shapes) {
        std::vector<Plane_Point> ring = Random_Ring(rng, s.points, 500, 500, 200, s.inner);
        if (API_Get_Polygon_Winding(ring, static_cast<int32_t>(ring.size())) == 0)
            std::reverse(ring.begin(), ring.end());
        const double area = Area(ring);
        Load_Work({ring});
        int32_t limit = 60;
        API_Split_Concave(limit);
        ASSERT_TRUE(host().boxes.empty()) << host().boxes[0].prompt;
        for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
            int16_t convex = 0;
            API_Is_Convex(Work_Poly_Table(r).First_Point, Work_Poly_Table(r).Last_Point, convex);
            EXPECT_EQ(convex, 1) << s.points << " points, piece " << r;
            EXPECT_LE(Work_Poly_Table(r).Nb_Points, limit) << s.points << " points, piece " << r;
        }
        EXPECT_NEAR(Signed_Area_Of_Work(), area, 1e-6 * area) << s.points << " points";
    }
}

TEST_P(PolygonProperties, CutPiecesLieInTheCellTheyAreIndexedUnder) {
    std::mt19937 rng(static_cast<unsigned>(GetParam()) * 7919u + 1);
    const Shape shapes[] = {{30, 0.4, true}, {700, 1.0, false}, {1500, 0.65, true}};
    for (int16_t mode : {int16_t{0}, int16_t{2}}) {
        for (const Shape& s : shapes) {
            testenv::ResetProgramState();
            Work_Tables_Reset_All();
            Calibrate();
            host().Reset();
            std::uniform_real_distribution<double> centre(700, 1300);
            std::vector<Plane_Point> ring = Random_Ring(rng, s.points, centre(rng), centre(rng), mode == 2 ? 400 : 90, s.inner);
            if (s.clockwise) std::reverse(ring.begin(), ring.end());
            const double area = std::fabs(Area(ring));
            Add_Polygon(ring, mode == 2 ? 1 : 0);

            API_Prepare_Polygons(mode);
            ASSERT_TRUE(host().boxes.empty()) << host().boxes[0].prompt;
            ASSERT_EQ(Touch_Groups_Found, 1);
            EXPECT_NEAR(Signed_Area_Of_Work(), area, 1e-6 * area) << s.points << " points, mode " << mode;
            for (int32_t r = 1; r <= Work_Poly_Count; ++r)
                EXPECT_TRUE(Nearly_Convex(Work_Points(r))) << s.points << " points, piece " << r;

            API_Index_Pieces(mode);
            ASSERT_GT(Cut_Piece_Count, 0);
            const double tol = 0.1;
            for (int32_t i = 1; i <= Cut_Piece_Count; ++i) {
                const Cut_Piece_Record& p = Cut_Piece_Table(i);
                double west = (p.Lod8_Col - 384) * Lod8_Px + p.Lod13_Col * Lod13_Px;
                double north = (p.Lod8_Row - 128) * Lod8_Px + p.Lod13_Row * Lod13_Px;
                double size = mode == 2 ? Lod8_Px : Lod13_Px;
                for (int32_t k = p.First_Point; k <= p.Last_Point; ++k) {
                    const Cut_Piece_Point& q = Cut_Piece_Points(k);
                    EXPECT_GE(q.X, west - tol);
                    EXPECT_LE(q.X, west + size + tol);
                    EXPECT_GE(q.Y, north - tol);
                    EXPECT_LE(q.Y, north + size + tol);
                }
                if (i > 1) {  // sorted by cell
                    const Cut_Piece_Record& o = Cut_Piece_Table(i - 1);
                    auto key = [](const Cut_Piece_Record& c) {
                        return std::make_tuple(c.Lod8_Row, c.Lod8_Col, c.Lod13_Row, c.Lod13_Col);
                    };
                    EXPECT_LE(key(o), key(p));
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, PolygonProperties, ::testing::Values(1, 2, 3));
