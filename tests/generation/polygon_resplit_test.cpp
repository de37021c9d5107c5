// The convex re-split against the stage walked literally over the tables with its primitives:
// on random rings (both windings, snapped to a coarse grid so that points repeat and line up,
// some crossing themselves) the pieces, their order and their points must be the same.
#include "polygon_fixture.h"

#include <algorithm>
#include <random>

#include "core/syst.h"
#include "generation/grid_cut.h"
#include "generation/prepare_polygons.h"
#include "generation/resplit.h"

using namespace polytest;

namespace {

// Cyclic slots of work polygon w as the table holds it now.
struct Slots {
    int32_t First, Last;
    int32_t Next(int32_t k) const { return k >= Last ? First : k + 1; }
    int32_t Prev(int32_t k) const { return k <= First ? Last : k - 1; }
};

Slots Slots_Of(int32_t w) { return {Work_Poly_Table(w).First_Point, Work_Poly_Table(w).First_Point + Work_Poly_Table(w).Nb_Points - 1}; }

int16_t Turn(int32_t p, int32_t k, int32_t m) {
    const Work_Point_Rec &a = Work_Point_Table(p), &b = Work_Point_Table(k), &c = Work_Point_Table(m);
    return API_Turn_Direction(a.X, a.Y, b.X, b.Y, c.X, c.Y);
}

Plane_Point At(int32_t k) { return {Work_Point_Table(k).X, Work_Point_Table(k).Y}; }

// Whether the chord p-q leaves both its corners inside and crosses no side of the chain q..p.
bool Literal_Cuts(int32_t w, int32_t p, int32_t q) {
    const Slots r = Slots_Of(w);
    return API_Chord_Leaves_Inside(At(r.Prev(p)), At(p), At(r.Next(p)), At(q)) &&
           API_Chord_Leaves_Inside(At(r.Prev(q)), At(q), At(r.Next(q)), At(p)) && API_Diagonal_Crosses_Chain(w, p, q) != 1;
}

// The chord search, every step a walk over the table.
bool Literal_Chord(int32_t w, int32_t& a, int32_t& b) {
    const Slots r = Slots_Of(w);
    const int32_t n = r.Last - r.First + 1;
    int64_t budget = 4 * static_cast<int64_t>(n) * n + 16;
    auto side = [&](int32_t k) { return Turn(r.Prev(k), k, r.Next(k)); };
    int32_t k = r.First;
    bool first_scan = true;
    for (;;) {
        int32_t scanned = 0;
        while (side(k) != 1) {
            if (first_scan && k >= r.Last) return false;
            k = r.Next(k);
            if (++scanned > n || --budget < 0) return false;
        }
        first_scan = false;
        k = r.Next(k);
        for (;;) {
            scanned = 0;
            while (side(k) == 1) {
                k = r.Next(k);
                if (++scanned > n || --budget < 0) return false;
            }
            if (Literal_Cuts(w, r.Prev(k), r.Next(k))) break;
            k = r.Next(k);
            if (--budget < 0) return false;
        }
        a = r.Prev(k);
        for (;;) {
            if (--budget < 0) return false;
            const int32_t p = k;
            k = r.Next(p);
            const int32_t m = r.Next(k);
            if (m == a) return false;
            b = k;
            if (Turn(p, k, m) == 1 || !Literal_Cuts(w, a, m)) return true;
            int16_t convex = 0;
            API_Chain_Is_Convex(w, a, m, convex);
            if (convex == 1) continue;
            int16_t outside = 0;
            int32_t count = 0;
            API_Test_Vertex_Inside(w, a, k, m, outside, count);
            if (outside == 1 || count > 3) return true;
            break;
        }
    }
}

void Literal_Fan(int32_t w, int32_t n, int32_t limit) {
    const int32_t q = std::max(1, limit / 2 - 5);
    int32_t j = n / q;
    if (n - q * j != 0) ++j;
    const int32_t per = n / j, rem = n - j * per;
    int32_t start = 1;
    for (int32_t piece = 1; piece <= j; ++piece) {
        const int32_t length = piece == 1 && rem > 0 && rem < 3 ? 2 : piece == j ? n - start + 1 : per;
        if (start != 1)
            API_Add_Split_Piece(w, start, length);
        else if (length >= 3)
            API_Add_Split_Piece(w, 1, length - 1);
        start += length - 1;
    }
}

// Returns the number of polygons kept as they stood; `looks` counts every look at a polygon.
int Literal_Split(int32_t limit, int& looks) {
    int stuck = 0;
    looks = 0;
    for (int pass = 1; pass <= 2; ++pass) {
        Cut_Tables_Size(Work_Poly_Count + 10, SYST_Round(Work_Point_Capacity * 1.2));
        const int32_t polygons = Work_Poly_Count;
        for (int32_t w = 1; w <= polygons; ++w) {
            for (;;) {
                ++looks;
                const int32_t n = Work_Poly_Table(w).Nb_Points;
                if (n <= 0) break;
                if (n < 4) {
                    API_Add_Split_Piece(w, 1, n - 1);
                    break;
                }
                int16_t convex = 0;
                API_Is_Convex(Work_Poly_Table(w).First_Point, Work_Poly_Table(w).Last_Point, convex);
                if (convex == 1) {
                    if (n < limit)
                        API_Add_Split_Piece(w, 1, n - 1);
                    else
                        Literal_Fan(w, n, limit);
                    break;
                }
                int32_t a = 0, b = 0;
                if (Literal_Chord(w, a, b)) API_Split_Off_Chain(w, a, b);
                if (Work_Poly_Table(w).Nb_Points >= n) {
                    ++stuck;
                    API_Add_Split_Piece(w, 1, Work_Poly_Table(w).Nb_Points - 1);
                    break;
                }
            }
        }
        API_Commit_Cut_Tables();
    }
    Cut_Tables_Erase();
    return stuck;
}

std::vector<Plane_Point> Random_Shape(std::mt19937& rng, int seed) {
    std::uniform_real_distribution<double> u(0, 1);
    const int n = 4 + static_cast<int>(rng() % (seed % 4 == 0 ? 150 : 60));
    std::vector<double> angles;
    for (int i = 0; i < n; ++i) angles.push_back(u(rng) * 2 * M_PI);
    const int kind = static_cast<int>(rng() % 4);
    if (kind != 3) std::sort(angles.begin(), angles.end());  // 3: crossing itself
    if (kind == 2) std::reverse(angles.begin(), angles.end());
    const double inner = rng() % 3 == 0 ? 1.0 : 0.2 + 0.7 * u(rng);
    std::vector<Plane_Point> pts;
    for (double a : angles) {
        const double r = 100 * (inner + (1 - inner) * u(rng));
        double x = 500 + r * std::cos(a), y = 500 + r * std::sin(a);
        if (seed % 3 == 0) {
            x = std::round(x / 5) * 5;
            y = std::round(y / 5) * 5;
        }
        pts.push_back({x, y});
    }
    return pts;
}

class PolygonResplitOracle : public PolygonTest {};

}  // namespace

TEST_F(PolygonResplitOracle, SamePiecesAsTheTableWalk) {
    host().strict = false;
    int kept_whole = 0;
    for (int seed = 0; seed < 120; ++seed) {
        std::mt19937 rng(static_cast<unsigned>(seed));
        std::vector<std::vector<Plane_Point>> shapes;
        for (int i = 1 + static_cast<int>(rng() % 4); i > 0; --i) shapes.push_back(Random_Shape(rng, seed));
        int32_t limit = seed % 5 == 0 ? 24 : 60;

        Load_Work(shapes);
        int looks = 0;
        const int stuck = Literal_Split(limit, looks);
        std::vector<Work_Poly_Rec> records(Work_Poly_Table.begin(), Work_Poly_Table.begin() + Work_Poly_Count);
        std::vector<Work_Point_Rec> points(Work_Point_Table.begin(), Work_Point_Table.begin() + Work_Point_Count);
        kept_whole += stuck;

        Load_Work(shapes);
        host().Reset();
        host().strict = false;
        Gen_Reset_Captions();
        API_Split_Concave(limit);
        ASSERT_EQ(Work_Poly_Count, static_cast<int32_t>(records.size())) << "seed " << seed;
        for (int32_t r = 1; r <= Work_Poly_Count; ++r) ASSERT_EQ(Work_Poly_Table(r), records[static_cast<size_t>(r - 1)]) << "seed " << seed << " record " << r;
        ASSERT_EQ(Work_Point_Count, static_cast<int32_t>(points.size())) << "seed " << seed;
        for (int32_t p = 1; p <= Work_Point_Count; ++p) ASSERT_EQ(Work_Point_Table(p), points[static_cast<size_t>(p - 1)]) << "seed " << seed << " point " << p;
        // One box per run when some polygon could not be cut.
        EXPECT_EQ(host().boxes.size(), stuck > 0 ? 1u : 0u) << "seed " << seed;
        EXPECT_EQ(Gen_Captions().LCompile, std::to_string(looks)) << "seed " << seed;
    }
    EXPECT_GT(kept_whole, 0);  // the search's dead ends were met too
}

TEST_F(PolygonResplitOracle, LongConcaveRingsOfTheBenchShape) {
    // Five-lobed rings of many points: hundreds of cuts each, then fans in the second pass.
    for (int points : {300, 1200}) {
        std::vector<Plane_Point> ring;
        for (int k = 0; k < points; ++k) {
            const double t = 2 * M_PI * k / points;
            const double r = 80 * (0.75 + 0.25 * std::cos(5 * t + 2));
            ring.push_back({500 + r * std::cos(t), 500 + r * std::sin(t)});
        }
        if (API_Get_Polygon_Winding(ring, static_cast<int32_t>(ring.size())) == 0) std::reverse(ring.begin(), ring.end());
        Load_Work({ring, Square(10, 10, 5)});
        int looks = 0;
        EXPECT_EQ(Literal_Split(60, looks), 0);
        std::vector<Work_Poly_Rec> records(Work_Poly_Table.begin(), Work_Poly_Table.begin() + Work_Poly_Count);
        std::vector<Work_Point_Rec> points_after(Work_Point_Table.begin(), Work_Point_Table.begin() + Work_Point_Count);
        Load_Work({ring, Square(10, 10, 5)});
        Gen_Reset_Captions();
        int32_t limit = 60;
        API_Split_Concave(limit);
        ASSERT_EQ(Work_Poly_Count, static_cast<int32_t>(records.size())) << points;
        EXPECT_TRUE(std::equal(records.begin(), records.end(), Work_Poly_Table.begin())) << points;
        ASSERT_EQ(Work_Point_Count, static_cast<int32_t>(points_after.size())) << points;
        EXPECT_TRUE(std::equal(points_after.begin(), points_after.end(), Work_Point_Table.begin())) << points;
        EXPECT_EQ(Gen_Captions().LCompile, std::to_string(looks));
        EXPECT_TRUE(host().boxes.empty());
    }
}

TEST_F(PolygonResplitOracle, LakesWithANeckUnderAPixelAreCutWhole) {
    // Two lobes joined by sides a sixth of a pixel apart: a chord across the neck grazes them at
    // a slant where a crossing worked out through slopes misses it.
    const std::vector<std::vector<Plane_Point>> lakes = {
        {{237.67486376156134, 332.07845686144293}, {217.78784482851657, 343.56024450868506}, {206.339719886675, 323.73153103121973},
         {223.07465794997879, 306.79018483256306}, {230.3335872895865, 319.36300621243646}, {236.24369339147052, 315.9508013232589},
         {229.08531935227109, 303.55214665195695}, {240.00970989417078, 297.2449402878491}, {254.29007626397018, 321.9792347280733},
         {243.4844145630371, 328.49208526369387}, {236.32604052383766, 316.09343059239194}, {230.41593442195364, 319.5056354815695}},
        {{331.5712959731368, 202.6949147186383}, {328.09297948918197, 207.31071037535932}, {307.64211033185234, 191.89958722532023},
         {304.4178383502106, 182.23293453789353}, {317.89989406956516, 192.39258200364418}, {322.2123628547894, 186.66984953223022},
         {313.2161122461879, 179.89056181828573}, {315.5867191629055, 176.7447189484798}, {331.63550435554936, 188.838571933878},
         {331.3979596476079, 193.59182249541817}, {322.40170903900645, 186.8125347814737}, {318.08924025378224, 192.53526725288765}},
    };
    const auto twice_area = [](int32_t first, int32_t last) {
        double sum = 0;
        for (int32_t i = first; i <= last; ++i) {
            const Work_Point_Rec &p = Work_Point_Table(i), &q = Work_Point_Table(i < last ? i + 1 : first);
            sum += p.X * q.Y - q.X * p.Y;
        }
        return sum;
    };
    for (std::vector<Plane_Point> lake : lakes) {
        if (API_Get_Polygon_Winding(lake, static_cast<int32_t>(lake.size())) == 0) std::reverse(lake.begin(), lake.end());
        Load_Work({lake});
        const double whole = twice_area(1, Work_Point_Count);
        host().Reset();
        host().strict = false;
        int32_t limit = 60;
        API_Split_Concave(limit);
        EXPECT_TRUE(host().boxes.empty()) << lake.front().X;
        double pieces = 0;
        for (int32_t w = 1; w <= Work_Poly_Count; ++w) {
            const Work_Poly_Rec& rec = Work_Poly_Table(w);
            int16_t convex = 0;
            API_Is_Convex(rec.First_Point, rec.Last_Point, convex);
            EXPECT_EQ(convex, 1) << lake.front().X << " piece " << w;
            pieces += twice_area(rec.First_Point, rec.Last_Point);
        }
        EXPECT_NEAR(pieces, whole, 1e-6 * std::fabs(whole)) << lake.front().X;
    }
}
