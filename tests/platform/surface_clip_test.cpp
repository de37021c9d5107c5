// The clipped line walk against the plain walk it replaced: same pixels inside the surface for
// every pen, style and raster operation, and bounded work for ends anywhere in int range.
#include "platform/gdi/surface.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

using namespace plat;

namespace {

// The walk as it stood before clipping: every pixel from the first end to the last, each pen
// dot of a wide pen gathered in a bitmap over the polyline's box and applied once.
class ReferenceWalk {
public:
    explicit ReferenceWalk(Surface& s) : s_(s) {}

    void Polyline(const std::vector<Point>& pts) {
        if (pts.size() < 2 || s_.DrawStyle == DS_Transparent || s_.Empty()) return;
        long long step = 0;
        wide_ = s_.DrawWidth > 1;
        if (wide_) {
            long long minx = pts[0].x, maxx = minx, miny = pts[0].y, maxy = miny;
            for (const Point& p : pts) {
                minx = std::min<long long>(minx, p.x);
                maxx = std::max<long long>(maxx, p.x);
                miny = std::min<long long>(miny, p.y);
                maxy = std::max<long long>(maxy, p.y);
            }
            x0_ = std::max(0LL, minx - s_.DrawWidth);
            y0_ = std::max(0LL, miny - s_.DrawWidth);
            w_ = std::max(0LL, std::min<long long>(s_.Width(), maxx + s_.DrawWidth + 1) - x0_);
            h_ = std::max(0LL, std::min<long long>(s_.Height(), maxy + s_.DrawWidth + 1) - y0_);
            bits_.assign(static_cast<size_t>(w_ * h_), 0);
        }
        for (size_t i = 1; i < pts.size(); ++i) Segment(pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y, step);
        if (wide_)
            for (long long y = 0; y < h_; ++y)
                for (long long x = 0; x < w_; ++x)
                    if (bits_[static_cast<size_t>(y * w_ + x)])
                        s_.Plot(static_cast<int>(x0_ + x), static_cast<int>(y0_ + y), s_.ForeColor);
    }

private:
    static bool StyleOn(int style, long long step) {
        static const std::vector<int> dash{18, 6}, dot{3, 3}, dash_dot{9, 6, 3, 6}, dash_dot_dot{9, 3, 3, 3, 3, 3};
        const std::vector<int>* p = style == DS_Dash ? &dash : style == DS_Dot ? &dot : style == DS_DashDot ? &dash_dot
                                    : style == DS_DashDotDot ? &dash_dot_dot : nullptr;
        if (!p) return true;
        int len = 0;
        for (int v : *p) len += v;
        int pos = static_cast<int>(step % len);
        for (size_t i = 0; i < p->size(); ++i) {
            if (pos < (*p)[i]) return i % 2 == 0;
            pos -= (*p)[i];
        }
        return true;
    }

    void Add(long long x, long long y) {
        x -= x0_;
        y -= y0_;
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        bits_[static_cast<size_t>(y * w_ + x)] = 1;
    }

    void Dot(long long x, long long y) {
        if (!wide_) {
            if (x >= INT_MIN && x <= INT_MAX && y >= INT_MIN && y <= INT_MAX)
                s_.Plot(static_cast<int>(x), static_cast<int>(y), s_.ForeColor);
            return;
        }
        const int w = s_.DrawWidth;
        const int lo = -(w - 1) / 2, hi = w / 2;
        const double r = w / 2.0, centre = (lo + hi) / 2.0;
        for (int dy = lo; dy <= hi; ++dy)
            for (int dx = lo; dx <= hi; ++dx) {
                const double ex = dx - centre, ey = dy - centre;
                if (w <= 3 || ex * ex + ey * ey <= r * r) Add(x + dx, y + dy);
            }
    }

    void Segment(long long x1, long long y1, long long x2, long long y2, long long& step) {
        const int style = s_.DrawWidth <= 1 ? s_.DrawStyle : DS_Solid;
        const long long dx = std::llabs(x2 - x1), dy = -std::llabs(y2 - y1);
        const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
        long long err = dx + dy, x = x1, y = y1;
        while (x != x2 || y != y2) {
            if (StyleOn(style, step)) Dot(x, y);
            ++step;
            const long long e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
    }

    Surface& s_;
    bool wide_ = false;
    long long x0_ = 0, y0_ = 0, w_ = 0, h_ = 0;
    std::vector<std::uint8_t> bits_;
};

constexpr int kW = 61, kH = 43;
constexpr int kModes[] = {DM_CopyPen, DM_XorPen, DM_NotXorPen, DM_Invert, DM_MergePen, DM_MaskNotPen};

// A surface of varied colours, so that every raster operation shows.
Surface Speckled(std::mt19937& rng) {
    Surface s(kW, kH);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) s.SetPixel(x, y, RGB(byte(rng), byte(rng), byte(rng)));
    return s;
}

// Ends inside, just around the edges, or far off (but short enough for the plain walk).
Point RandomEnd(std::mt19937& rng) {
    std::uniform_int_distribution<int> kind(0, 3);
    switch (kind(rng)) {
        case 0: return {std::uniform_int_distribution<int>(0, kW - 1)(rng), std::uniform_int_distribution<int>(0, kH - 1)(rng)};
        case 1: return {std::uniform_int_distribution<int>(-12, kW + 12)(rng), std::uniform_int_distribution<int>(-12, kH + 12)(rng)};
        case 2: {
            // On one side of the surface, across from it: a segment that crosses an edge.
            const int side = std::uniform_int_distribution<int>(0, 3)(rng);
            const int along = std::uniform_int_distribution<int>(-200, 200)(rng);
            const int off = std::uniform_int_distribution<int>(1, 1500)(rng);
            if (side == 0) return {-off, along};
            if (side == 1) return {kW + off, along};
            if (side == 2) return {along, -off};
            return {along, kH + off};
        }
        default: return {std::uniform_int_distribution<int>(-6000, 6000)(rng), std::uniform_int_distribution<int>(-6000, 6000)(rng)};
    }
}

bool SamePixels(const Surface& a, const Surface& b) {
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
    return true;
}

void SetPen(Surface& s, int width, int style, int mode, Colour c) {
    s.DrawWidth = width;
    s.DrawStyle = style;
    s.DrawMode = mode;
    s.ForeColor = c;
}

// `pts` drawn with one pen on a speckled surface by the surface and by the plain walk: true when
// both give the same pixels.
bool Draws_As_Plain_Walk(std::mt19937& rng, const std::vector<Point>& pts, int width, int style, int mode, Colour c) {
    Surface drawn = Speckled(rng);
    Surface plain = drawn;
    SetPen(drawn, width, style, mode, c);
    SetPen(plain, width, style, mode, c);
    drawn.Polyline(pts);
    ReferenceWalk(plain).Polyline(pts);
    return SamePixels(drawn, plain);
}

TEST(SurfaceClipping, RandomPolylinesDrawThePixelsOfThePlainWalkForEveryPen) {
    std::mt19937 rng(1234);
    int compared = 0;
    for (int round = 0; round < 3000; ++round) {
        const int width = std::uniform_int_distribution<int>(1, 6)(rng);
        const int style = std::uniform_int_distribution<int>(DS_Solid, DS_DashDotDot)(rng);
        const int mode = kModes[std::uniform_int_distribution<int>(0, 5)(rng)];
        std::vector<Point> pts;
        const int count = std::uniform_int_distribution<int>(2, 4)(rng);
        for (int i = 0; i < count; ++i) pts.push_back(RandomEnd(rng));

        ASSERT_TRUE(Draws_As_Plain_Walk(rng, pts, width, style, mode, RGB(200, 40, 90)))
            << "round " << round << " width " << width << " style " << style << " mode " << mode << " from ("
            << pts[0].x << "," << pts[0].y << ") to (" << pts[1].x << "," << pts[1].y << ")";
        ++compared;
    }
    EXPECT_EQ(compared, 3000);
}

// Long chains of short steps, mostly on the surface, as a redraw of the whole map draws them:
// the copied pens of 1 to 3 pixels take a quicker way there, which must give the same pixels.
TEST(SurfaceClipping, ChainsOfShortStepsDrawThePixelsOfThePlainWalk) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> step(-7, 7), start_x(-10, kW + 10), start_y(-10, kH + 10);
    for (int round = 0; round < 400; ++round) {
        const int width = std::uniform_int_distribution<int>(1, 4)(rng);
        const int style = round % 3 == 0 ? DS_Dot : DS_Solid;
        const int mode = round % 4 == 0 ? DM_XorPen : DM_CopyPen;
        std::vector<Point> pts{{start_x(rng), start_y(rng)}};
        for (int i = 0; i < 30; ++i) pts.push_back({pts.back().x + step(rng), pts.back().y + step(rng)});

        ASSERT_TRUE(Draws_As_Plain_Walk(rng, pts, width, style, mode, RGB(20, 140, 250)))
            << "round " << round << " width " << width << " style " << style;
    }
}

// Steps of one pixel or none, as a far zoom makes of a line: every turn of the square pens'
// walk from one dot to the next, repeated points and chains that leave and come back.
TEST(SurfaceClipping, ChainsOfUnitStepsDrawThePixelsOfThePlainWalk) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> step(-1, 1), start_x(-3, kW + 2), start_y(-3, kH + 2);
    for (int round = 0; round < 600; ++round) {
        const int width = std::uniform_int_distribution<int>(1, 3)(rng);
        std::vector<Point> pts{{start_x(rng), start_y(rng)}};
        for (int i = 0; i < 80; ++i) pts.push_back({pts.back().x + step(rng), pts.back().y + step(rng)});

        ASSERT_TRUE(Draws_As_Plain_Walk(rng, pts, width, DS_Solid, DM_CopyPen, RGB(250, 10, 30)))
            << "round " << round << " width " << width;
    }
}

// Every step of up to 9 pixels each way from a point inside, joined on into a second step, for
// the copied square pens, which take the short segments' table within 8 pixels.
TEST(SurfaceClipping, EveryShortStepDrawsThePixelsOfThePlainWalk) {
    std::mt19937 rng(5);
    for (int width = 1; width <= 3; ++width)
        for (int dx = -9; dx <= 9; ++dx)
            for (int dy = -9; dy <= 9; ++dy) {
                const Point start{30, 21}, turn{start.x + dx, start.y + dy};
                const std::vector<Point> pts{start, turn, {turn.x - dy, turn.y + dx}};
                ASSERT_TRUE(Draws_As_Plain_Walk(rng, pts, width, DS_Solid, DM_CopyPen, RGB(5, 250, 40)))
                    << "width " << width << " step " << dx << "," << dy;
            }
}

TEST(SurfaceClipping, XorStrokesAcrossTheEdgesCancelWhenDrawnTwice) {
    std::mt19937 rng(99);
    for (int round = 0; round < 300; ++round) {
        Surface s = Speckled(rng);
        const Surface before = s;
        SetPen(s, std::uniform_int_distribution<int>(1, 5)(rng), std::uniform_int_distribution<int>(0, 4)(rng),
               DM_XorPen, RGB(255, 255, 0));
        const std::vector<Point> pts{RandomEnd(rng), RandomEnd(rng), RandomEnd(rng)};
        s.Polyline(pts);
        s.Polyline(pts);
        ASSERT_TRUE(SamePixels(s, before)) << "round " << round;
    }
}

TEST(SurfaceClipping, DashPhaseRunsOnThroughTheClippedPart) {
    // A dashed line entering from far left: the pattern inside is counted from the far end.
    Surface s(40, 3, RGB(255, 255, 255));
    SetPen(s, 1, DS_Dash, DM_CopyPen, 0);
    s.Line(-1005, 1, 40, 1);
    // Step 1005 + x; dash is 18 on, 6 off, so x = 3 is step 1008 = 42 * 24: a dash starts there.
    EXPECT_EQ(s.GetPixel(2, 1), RGB(255, 255, 255));
    for (int x = 3; x < 21; ++x) EXPECT_EQ(s.GetPixel(x, 1), 0) << x;
    EXPECT_EQ(s.GetPixel(21, 1), RGB(255, 255, 255));
}

TEST(SurfaceClipping, EndsAtTheLimitsOfIntDrawWhatCrossesTheSurfaceQuickly) {
    const auto start = std::chrono::steady_clock::now();
    Surface s(50, 30, RGB(255, 255, 255));
    s.ForeColor = 0;
    // A row and a column across the whole int range, and the diagonal through the origin.
    s.Line(INT_MIN, 7, INT_MAX, 7);
    s.Line(11, INT_MAX, 11, INT_MIN);
    s.Line(INT_MIN + 1, INT_MIN + 1, INT_MAX, INT_MAX);
    for (int x = 0; x < 50; ++x) EXPECT_EQ(s.GetPixel(x, 7), 0) << x;
    for (int y = 0; y < 30; ++y) EXPECT_EQ(s.GetPixel(11, y), 0) << y;
    for (int k = 0; k < 30; ++k) EXPECT_EQ(s.GetPixel(k, k), 0) << k;
    int black = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x) black += s.GetPixel(x, y) == 0;
    EXPECT_EQ(black, 50 + 30 + 30 - 3);

    // Wide pens, styles and the other primitives with saturated ends, and lines wholly outside.
    for (int width : {1, 2, 5}) {
        for (int style : {DS_Solid, DS_Dot, DS_DashDotDot}) {
            SetPen(s, width, style, DM_XorPen, RGB(1, 2, 3));
            s.Line(INT_MIN, INT_MIN, INT_MAX, 3);
            s.Line(INT_MAX, INT_MAX, INT_MAX, INT_MIN);
            s.Line(INT_MIN, -5, INT_MAX, -5 - width);
            s.PSet(INT_MAX, INT_MIN, s.ForeColor);
            s.Circle(INT_MAX, 0, 5, s.ForeColor);
            s.Circle(20, 10, INT_MAX, s.ForeColor);
            s.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
            s.Rectangle(INT_MIN, 4, INT_MAX, 5);
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0);
}

}  // namespace
