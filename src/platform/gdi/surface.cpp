// The drawing surface: pixels, raster operations, the pen-drawn primitives, ClipSegment and the
// block copies.
#include "platform/gdi/surface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace plat {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

std::uint32_t Rop(int mode, std::uint32_t d, std::uint32_t p) {
    switch (mode) {
        case DM_Blackness: return 0;
        case DM_NotMergePen: return ~(d | p) & kWhite;
        case DM_MaskNotPen: return d & ~p & kWhite;
        case DM_NotCopyPen: return ~p & kWhite;
        case DM_MaskPenNot: return p & ~d & kWhite;
        case DM_Invert: return ~d & kWhite;
        case DM_XorPen: return (d ^ p) & kWhite;
        case DM_NotMaskPen: return ~(d & p) & kWhite;
        case DM_MaskPen: return d & p;
        case DM_NotXorPen: return ~(d ^ p) & kWhite;
        case DM_Nop: return d;
        case DM_MergeNotPen: return (d | ~p) & kWhite;
        case DM_MergePen: return d | p;
        case DM_MergePenNot: return (p | ~d) & kWhite;
        case DM_Whiteness: return kWhite;
        default: return p & kWhite;   // DM_CopyPen and anything unknown
    }
}

// On/off runs of the styled cosmetic pens, in pixels.
const std::vector<int>& StylePattern(int style) {
    static const std::vector<int> dash{18, 6}, dot{3, 3}, dash_dot{9, 6, 3, 6}, dash_dot_dot{9, 3, 3, 3, 3, 3};
    static const std::vector<int> none;
    switch (style) {
        case DS_Dash: return dash;
        case DS_Dot: return dot;
        case DS_DashDot: return dash_dot;
        case DS_DashDotDot: return dash_dot_dot;
        default: return none;
    }
}

// One period of a style's pattern, step by step; solid is one step, on.
struct StylePeriod {
    std::array<bool, 24> on{};
    int length = 1;
};

const StylePeriod& PeriodOf(int style) {
    static const std::array<StylePeriod, DS_DashDotDot + 1> periods = [] {
        std::array<StylePeriod, DS_DashDotDot + 1> all;
        for (int s = 0; s <= DS_DashDotDot; ++s) {
            const std::vector<int>& runs = StylePattern(s);
            if (runs.empty()) {
                all[s].on[0] = true;
                continue;
            }
            int n = 0;
            for (size_t i = 0; i < runs.size(); ++i)
                for (int k = 0; k < runs[i]; ++k) all[s].on.at(n++) = i % 2 == 0;   // a longer pattern needs room
            all[s].length = n;
        }
        return all;
    }();
    return periods[style >= DS_Solid && style <= DS_DashDotDot ? style : DS_Solid];
}

}  // namespace

// The pixels a primitive touches on the surface, applied through the raster operation once
// each. A list with a stamp per surface pixel rather than a bitmap of the primitive's box, so a
// long stroke across the picture costs what it draws. One primitive is drawn at a time (one
// thread), so the stamps and the list are shared.
class Surface::Mask {
public:
    explicit Mask(const Surface& s) : width_(s.Width()), height_(s.Height()) {
        Scratch& k = Shared();
        const size_t size = static_cast<size_t>(width_) * static_cast<size_t>(height_);
        if (k.stamps.size() < size) k.stamps.assign(size, 0);
        if (++k.generation == 0) {
            std::fill(k.stamps.begin(), k.stamps.end(), 0);
            k.generation = 1;
        }
        k.pixels.clear();
    }
    void Add(int x, int y) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        Scratch& k = Shared();
        const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
        if (k.stamps[i] == k.generation) return;
        k.stamps[i] = k.generation;
        k.pixels.push_back(i);
    }
    void Apply(Surface& s, Colour c) const {
        const size_t w = static_cast<size_t>(width_);
        for (size_t i : Shared().pixels) s.Plot(static_cast<int>(i % w), static_cast<int>(i / w), c);
    }

private:
    struct Scratch {
        std::vector<std::uint32_t> stamps;
        std::uint32_t generation = 0;
        std::vector<size_t> pixels;
    };
    static Scratch& Shared() {
        static Scratch scratch;
        return scratch;
    }
    int width_ = 0, height_ = 0;
};

Surface::Surface(int width, int height, Colour fill) {
    BackColor = fill;
    Resize(width, height);
}

void Surface::Resize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == width_ && height == height_) return;
    std::vector<std::uint8_t> next(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i + 2 < next.size(); i += 3) {
        next[i] = static_cast<std::uint8_t>(Red(BackColor));
        next[i + 1] = static_cast<std::uint8_t>(Green(BackColor));
        next[i + 2] = static_cast<std::uint8_t>(Blue(BackColor));
    }
    int cw = std::min(width, width_), ch = std::min(height, height_);
    for (int y = 0; y < ch; ++y)
        std::memcpy(&next[static_cast<size_t>(y) * width * 3], &pixels_[static_cast<size_t>(y) * width_ * 3], static_cast<size_t>(cw) * 3);
    pixels_ = std::move(next);
    width_ = width;
    height_ = height;
}

Colour Surface::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
    const std::uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
    return RGB(p[0], p[1], p[2]);
}

void Surface::SetPixel(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
    p[0] = static_cast<std::uint8_t>(Red(c));
    p[1] = static_cast<std::uint8_t>(Green(c));
    p[2] = static_cast<std::uint8_t>(Blue(c));
}

void Surface::Plot(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
    std::uint32_t d = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
    std::uint32_t r = DrawMode == DM_CopyPen ? (static_cast<std::uint32_t>(c) & kWhite) : Rop(DrawMode, d, static_cast<std::uint32_t>(c) & kWhite);
    p[0] = static_cast<std::uint8_t>(r & 255);
    p[1] = static_cast<std::uint8_t>((r >> 8) & 255);
    p[2] = static_cast<std::uint8_t>((r >> 16) & 255);
}

void Surface::SetPen(const PenState& p) {
    ForeColor = p.fore_color;
    DrawWidth = p.draw_width;
    DrawStyle = p.draw_style;
    DrawMode = p.draw_mode;
    FillStyle = p.fill_style;
    FillColor = p.fill_color;
}

void Surface::Cls() {
    if (pixels_.empty()) return;
    std::uint8_t r = static_cast<std::uint8_t>(Red(BackColor)), g = static_cast<std::uint8_t>(Green(BackColor)),
                 b = static_cast<std::uint8_t>(Blue(BackColor));
    if (r == g && g == b) {
        std::memset(pixels_.data(), r, pixels_.size());
        return;
    }
    for (size_t i = 0; i + 2 < pixels_.size(); i += 3) {
        pixels_[i] = r;
        pixels_[i + 1] = g;
        pixels_[i + 2] = b;
    }
}

bool Surface::StyleOn(int style, std::int64_t step) {
    const StylePeriod& p = PeriodOf(style);
    return p.on[static_cast<size_t>(step % p.length)];
}

void Surface::PenDot(Mask* mask, int x, int y, Colour c) {
    const auto put = [&](int px, int py) {
        if (mask)
            mask->Add(px, py);
        else
            Plot(px, py, c);
    };
    if (DrawWidth <= 1) {
        put(x, y);
        return;
    }
    // A round pen of DrawWidth pixels across, centred on the point.
    int w = DrawWidth;
    int lo = -(w - 1) / 2, hi = w / 2;
    double r = w / 2.0;
    double centre = (lo + hi) / 2.0;
    for (int dy = lo; dy <= hi; ++dy)
        for (int dx = lo; dx <= hi; ++dx) {
            double ex = dx - centre, ey = dy - centre;
            if (w <= 3 || ex * ex + ey * ey <= r * r) put(x + dx, y + dy);
        }
}

namespace {

// A segment is drawn by three pieces of code that must agree on one rule, the step rule: the
// segment from p1 to p2 is n = max(|dx|, |dy|) steps, k = 0 .. n - 1 (p2 itself is left out);
// step k is the pixel k along the major axis and MinorAt(major, minor, k) across it, and has the
// pattern phase of the segment's first step plus k, whether or not it is drawn. The pixel walk
// (Walk, under every stroke) produces the steps one after another; the clipped-range search
// (StepsWithin over MinorAt) finds the steps on the surface without walking to them; the pattern
// phase (style_step in SegmentPixels) counts every step, skipped ones too, so a styled polyline's
// pattern runs on across segments and clipping. A change to one is a change to all three.
//
// The walk is the classic integer one, so step k's minor coordinate has the closed form
// floor((2 * minor * k + major) / (2 * major)). minor * k < 2^64 for any two int ends.
std::uint64_t MinorAt(std::uint64_t major, std::uint64_t minor, std::uint64_t k) {
    const std::uint64_t p = minor * k;
    const std::uint64_t q = p / major, r = p % major;
    return q + (2 * r >= major ? 1 : 0);
}

// The steps k in [0, n) whose coordinate start + dir * value(k) lies in [lo, hi], value
// nondecreasing in k; false when there are none.
template <class Value>
bool StepsWithin(std::int64_t start, int dir, std::int64_t lo, std::int64_t hi, std::int64_t n, Value value,
                 std::int64_t& first, std::int64_t& last) {
    const std::int64_t vlo = dir > 0 ? lo - start : start - hi;
    const std::int64_t vhi = dir > 0 ? hi - start : start - lo;
    if (vhi < 0 || vlo > value(n - 1)) return false;
    // First k with value(k) >= vlo, last k with value(k) <= vhi.
    std::int64_t a = 0, b = n - 1;
    while (a < b) {
        const std::int64_t m = a + (b - a) / 2;
        if (value(m) >= vlo) b = m; else a = m + 1;
    }
    first = a;
    a = first;
    b = n - 1;
    while (a < b) {
        const std::int64_t m = a + (b - a + 1) / 2;
        if (value(m) <= vhi) a = m; else b = m - 1;
    }
    last = a;
    return value(first) <= vhi;
}

// The pixel walk of the step rule: `steps` steps on from a state whose error term is err, for a
// segment of |dx| = a and |dy| = b. Each step calls at() where it stands, then move(mvx, mvy) with
// the axes it moves along. Without branches: the steps of a short segment follow no pattern a
// guess could learn.
template <class Int, class At, class Move>
inline void Walk(std::int64_t steps, Int& err, Int a, Int b, At at, Move move) {
    for (; steps > 0; --steps) {
        at();
        const Int e2 = 2 * err;
        const bool mvx = e2 >= -b, mvy = e2 <= a;
        err += (mvx ? -b : 0) + (mvy ? a : 0);
        move(mvx, mvy);
    }
}

}  // namespace

void Surface::SegmentPixels(Mask* mask, int x1, int y1, int x2, int y2, Colour c, std::int64_t& style_step) {
    // Styles only apply to the one-pixel pen, as with cosmetic GDI pens.
    const int style = DrawWidth <= 1 ? DrawStyle : DS_Solid;
    const std::int64_t a = std::abs(std::int64_t{x2} - x1), b = std::abs(std::int64_t{y2} - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    const std::int64_t n = std::max(a, b);
    if (n == 0) return;
    // Pixels whose pen dot can reach the surface; a one-pixel pen's walk stays on it.
    const std::int64_t reach = DrawWidth <= 1 ? 0 : DrawWidth;
    const std::int64_t xlo = -reach, xhi = width_ - 1 + reach, ylo = -reach, yhi = height_ - 1 + reach;
    const bool x_major = a >= b;
    const std::uint64_t major = static_cast<std::uint64_t>(x_major ? a : b);
    const std::uint64_t minor = static_cast<std::uint64_t>(x_major ? b : a);
    const auto along = [](std::int64_t k) { return k; };
    const auto across = [&](std::int64_t k) {
        return static_cast<std::int64_t>(MinorAt(major, minor, static_cast<std::uint64_t>(k)));
    };
    std::int64_t k0 = 0, k1 = n - 1, c0 = 0, c1 = n - 1;
    const bool whole = x1 >= xlo && x1 <= xhi && x2 >= xlo && x2 <= xhi && y1 >= ylo && y1 <= yhi && y2 >= ylo && y2 <= yhi;
    const bool inside =
        whole || (x_major ? StepsWithin(x1, sx, xlo, xhi, n, along, k0, k1) && StepsWithin(y1, sy, ylo, yhi, n, across, c0, c1)
                          : StepsWithin(y1, sy, ylo, yhi, n, along, k0, k1) && StepsWithin(x1, sx, xlo, xhi, n, across, c0, c1));
    // Steps k0 .. k1 lie on the surface; the pattern phase still counts all n steps below.
    k0 = std::max(k0, c0);
    k1 = std::min(k1, c1);
    if (!inside || k0 > k1) {
        style_step += n;
        return;
    }
    // The walk's state at step k0 from the closed form, then the walk itself up to k1: both
    // follow the step rule, so the walk picks up exactly where the skipped steps would have led.
    const std::int64_t nx = x_major ? k0 : across(k0), ny = x_major ? across(k0) : k0;
    std::int64_t x = x1 + sx * nx, y = y1 + sy * ny;
    const auto move = [&](bool mvx, bool mvy) {
        x += mvx ? sx : 0;
        y += mvy ? sy : 0;
    };
    // err = a - b - nx * b + ny * a; the products can pass 2^63 though the sum is small.
    std::int64_t err = static_cast<std::int64_t>(static_cast<std::uint64_t>(a - b) -
                                                 static_cast<std::uint64_t>(nx) * static_cast<std::uint64_t>(b) +
                                                 static_cast<std::uint64_t>(ny) * static_cast<std::uint64_t>(a));
    style_step += k0;
    const bool styled = !StylePattern(style).empty();
    if (!mask && DrawWidth <= 1 && DrawMode == DM_CopyPen) {
        // The common strokes, the grid's dotted lines among them: every walked pixel lies on the
        // surface, written straight in.
        const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(Red(c)), static_cast<std::uint8_t>(Green(c)),
                                     static_cast<std::uint8_t>(Blue(c))};
        std::uint8_t* const bits = pixels_.data();
        const std::size_t w = static_cast<std::size_t>(width_);
        const StylePeriod& period = PeriodOf(style);
        int phase = static_cast<int>(style_step % period.length);
        Walk(k1 - k0 + 1, err, a, b,
             [&] {
                 if (period.on[static_cast<size_t>(phase)])
                     std::memcpy(bits + (static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)) * 3, rgb, 3);
                 if (++phase == period.length) phase = 0;
             },
             move);
        style_step += n - k0;
        return;
    }
    Walk(k1 - k0 + 1, err, a, b,
         [&] {
             if (!styled || StyleOn(style, style_step)) PenDot(mask, static_cast<int>(x), static_cast<int>(y), c);
             ++style_step;
         },
         move);
    style_step += n - 1 - k1;
}

void Surface::Line(int x1, int y1, int x2, int y2) { Line(x1, y1, x2, y2, ForeColor); }

void Surface::Line(int x1, int y1, int x2, int y2, Colour c) {
    Point pts[2] = {{x1, y1}, {x2, y2}};
    const KeepPen keep(*this);
    ForeColor = c;
    Polyline(pts, 2);
}

namespace {

// The square dot of a copied pen, W pixels across, written row by row through a pointer to its
// top-left pixel. Rewriting the part a dot shares with the one before costs less than sorting
// out which part is new: a copy pen leaves the same pixels either way.
template <int W>
struct SquareDot {
    std::uint8_t row[3 * W];
    std::ptrdiff_t stride;

    SquareDot(Colour c, std::ptrdiff_t surface_stride) : stride(surface_stride) {
        for (int i = 0; i < 3 * W; i += 3) {
            row[i] = static_cast<std::uint8_t>(Red(c));
            row[i + 1] = static_cast<std::uint8_t>(Green(c));
            row[i + 2] = static_cast<std::uint8_t>(Blue(c));
        }
    }
    void Put(std::uint8_t* p) const {
        for (int r = 0; r < W; ++r) std::memcpy(p + r * stride, row, sizeof row);
    }
};

// The dots of every segment of at most kReach pixels each way, by the step rule, as offsets
// from its first dot in the rows of one surface width; each list is filled up to kReach entries
// with its last dot. A copied dot written again leaves the same pixels, so every short segment
// writes kReach dots: the time of a far zoom's chain of short segments goes in branching on
// their lengths otherwise.
class ShortSegments {
public:
    static constexpr int kReach = 8;

    // The table for rows of `stride` bytes, or nullptr when its offsets would not fit.
    static const ShortSegments* For(std::ptrdiff_t stride) {
        static ShortSegments table;
        if (stride > std::numeric_limits<std::int32_t>::max() / (4 * kReach)) return nullptr;
        if (table.stride_ != stride) table.Build(stride);
        return &table;
    }
    // dx and dy within +-kReach, not both 0.
    const std::int32_t* Dots(int dx, int dy) const { return dots_[static_cast<size_t>((dx + kReach) * kSide + dy + kReach)].data(); }

private:
    static constexpr int kSide = 2 * kReach + 1;

    void Build(std::ptrdiff_t stride) {
        stride_ = stride;
        for (int dx = -kReach; dx <= kReach; ++dx)
            for (int dy = -kReach; dy <= kReach; ++dy) {
                std::array<std::int32_t, kReach>& dots = dots_[static_cast<size_t>((dx + kReach) * kSide + dy + kReach)];
                const int a = std::abs(dx), b = std::abs(dy), n = std::max(a, b);
                const std::ptrdiff_t step_x = dx > 0 ? 3 : -3, step_y = dy > 0 ? stride : -stride;
                std::ptrdiff_t at = 0;
                int k = 0, err = a - b;
                Walk(n, err, a, b, [&] { dots[static_cast<size_t>(k++)] = static_cast<std::int32_t>(at); },
                     [&](bool mvx, bool mvy) { at += (mvx ? step_x : 0) + (mvy ? step_y : 0); });
                for (; k < kReach; ++k) dots[static_cast<size_t>(k)] = k > 0 ? dots[static_cast<size_t>(k - 1)] : 0;
            }
    }

    std::ptrdiff_t stride_ = -1;
    std::array<std::array<std::int32_t, kReach>, kSide * kSide> dots_{};
};

}  // namespace

template <int W>
void Surface::SquarePenPolyline(const Point* points, int count) {
    constexpr int lo = -(W - 1) / 2, hi = W / 2;
    constexpr int reach = ShortSegments::kReach;
    const SquareDot<W> dot(ForeColor, Stride());
    const ShortSegments* const short_segments = ShortSegments::For(dot.stride);
    for (int i = 1; i < count; ++i) {
        const int x1 = points[i - 1].x, y1 = points[i - 1].y, x2 = points[i].x, y2 = points[i].y;
        if (std::int64_t{std::min(x1, x2)} + lo < 0 || std::int64_t{std::min(y1, y2)} + lo < 0 ||
            std::int64_t{std::max(x1, x2)} + hi >= width_ || std::int64_t{std::max(y1, y2)} + hi >= height_) {
            std::int64_t step = 0;   // solid: the phase plays no part
            SegmentPixels(nullptr, x1, y1, x2, y2, ForeColor, step);
            continue;
        }
        // Both ends on the surface, so the differences cannot overflow.
        const int dx = x2 - x1, dy = y2 - y1;
        if (short_segments && dx >= -reach && dx <= reach && dy >= -reach && dy <= reach) {
            if (dx == 0 && dy == 0) continue;
            std::uint8_t* const p = pixels_.data() + (static_cast<std::ptrdiff_t>(y1) + lo) * dot.stride + (static_cast<std::ptrdiff_t>(x1) + lo) * 3;
            const std::int32_t* const dots = short_segments->Dots(dx, dy);
            for (int k = 0; k < reach; ++k) dot.Put(p + dots[k]);
            continue;
        }
        const int a = std::abs(x2 - x1), b = std::abs(y2 - y1);
        const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
        const std::ptrdiff_t step_x = sx * 3, step_y = sy * dot.stride;
        std::uint8_t* p = pixels_.data() + (static_cast<std::ptrdiff_t>(y1) + lo) * dot.stride + (static_cast<std::ptrdiff_t>(x1) + lo) * 3;
        // The dot's top-left corner is the walk's cursor; solid, so no pattern phase to keep.
        int err = a - b;
        Walk(std::max(a, b), err, a, b, [&] { dot.Put(p); },
             [&](bool mvx, bool mvy) { p += (mvx ? step_x : 0) + (mvy ? step_y : 0); });
    }
}

void Surface::Polyline(const Point* points, int count) {
    if (count < 2 || DrawStyle == DS_Transparent || Empty()) return;
    // Copied solid strokes of square pens, wholly on the surface, are written straight in; this
    // is most of a full redraw when the whole map is in view.
    if (DrawMode == DM_CopyPen && DrawWidth <= 3 && (DrawWidth > 1 || StylePattern(DrawStyle).empty())) {
        if (DrawWidth == 3)
            SquarePenPolyline<3>(points, count);
        else if (DrawWidth == 2)
            SquarePenPolyline<2>(points, count);
        else
            SquarePenPolyline<1>(points, count);
        return;
    }
    std::int64_t step = 0;
    // Copying the pen is the same however often a pixel is hit: no need to gather a wide pen's dots.
    if (DrawWidth <= 1 || DrawMode == DM_CopyPen) {
        for (int i = 1; i < count; ++i)
            SegmentPixels(nullptr, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, ForeColor, step);
        return;
    }
    Mask mask(*this);
    for (int i = 1; i < count; ++i)
        SegmentPixels(&mask, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, ForeColor, step);
    mask.Apply(*this, ForeColor);
}

void Surface::PSet(int x, int y, Colour c) {
    if (DrawWidth <= 1) {
        Plot(x, y, c);
        return;
    }
    // A dot wholly off the surface; also keeps x + dx in range at the ends of int.
    const std::int64_t reach = DrawWidth;
    if (x < -reach || y < -reach || x > width_ + reach || y > height_ + reach) return;
    Mask mask(*this);
    PenDot(&mask, x, y, c);
    mask.Apply(*this, c);
}

void Surface::Circle(int cx, int cy, int radius, Colour c) {
    if (radius < 0) return;
    const KeepPen keep(*this);
    ForeColor = c;
    // A box past the ends of int keeps its far sides there; such a circle is far off the surface.
    const auto side = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    Ellipse(side(std::int64_t{cx} - radius), side(std::int64_t{cy} - radius), side(std::int64_t{cx} + radius + 1),
            side(std::int64_t{cy} + radius + 1));
}

void Surface::Ellipse(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const std::int64_t X1 = x1, X2 = x2, Y1 = y1, Y2 = y2;
    if (X2 - X1 < 1 || Y2 - Y1 < 1 || Empty()) return;
    // Centre and radii of the inscribed ellipse, in half pixels so even boxes stay centred.
    double cx = (X1 + X2 - 1) / 2.0, cy = (Y1 + Y2 - 1) / 2.0;
    double rx = (X2 - X1 - 1) / 2.0, ry = (Y2 - Y1 - 1) / 2.0;
    // Only the rows and columns whose pen dots can reach the surface are visited.
    const std::int64_t reach = std::max(1, DrawWidth);
    const auto near = [&](double v, std::int64_t size) {
        return static_cast<int>(std::clamp<double>(std::round(v), -reach - 1.0, static_cast<double>(size + reach)));
    };
    const int row0 = static_cast<int>(std::max(Y1, -reach)), row1 = static_cast<int>(std::min<std::int64_t>(Y2, height_ + reach));
    const int col0 = static_cast<int>(std::max(X1, -reach)), col1 = static_cast<int>(std::min<std::int64_t>(X2, width_ + reach));
    if (FillStyle != FS_Transparent) {
        for (int y = row0; y < row1; ++y) {
            double t = ry > 0 ? (y - cy) / ry : 0;
            double half = rx * std::sqrt(std::max(0.0, 1 - t * t));
            int xa = std::max(near(std::ceil(cx - half), width_), 0), xb = std::min(near(std::floor(cx + half), width_), width_ - 1);
            if (FillStyle == FS_Solid) {
                for (int x = xa; x <= xb; ++x) Plot(x, y, FillColor);
            } else if (xa <= xb) {
                HatchRect(xa, y, xb + 1, y + 1, FillStyle, FillColor);
            }
        }
    }
    if (DrawStyle == DS_Transparent) return;
    Mask mask(*this);
    // Outline: for each column and each row the boundary points, so no gaps at any slope.
    for (int x = col0; x < col1; ++x) {
        double t = rx > 0 ? (x - cx) / rx : 0;
        double half = ry * std::sqrt(std::max(0.0, 1 - t * t));
        PenDot(&mask, x, near(cy - half, height_), ForeColor);
        PenDot(&mask, x, near(cy + half, height_), ForeColor);
    }
    for (int y = row0; y < row1; ++y) {
        double t = ry > 0 ? (y - cy) / ry : 0;
        double half = rx * std::sqrt(std::max(0.0, 1 - t * t));
        PenDot(&mask, near(cx - half, width_), y, ForeColor);
        PenDot(&mask, near(cx + half, width_), y, ForeColor);
    }
    mask.Apply(*this, ForeColor);
}

void Surface::FillInside(int x1, int y1, int x2, int y2) {
    if (FillStyle == FS_Transparent) return;
    if (FillStyle == FS_Solid)
        FillRect(x1, y1, x2, y2, FillColor);
    else
        HatchRect(x1, y1, x2, y2, FillStyle, FillColor);
}

void Surface::Rectangle(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x1 == x2 || y1 == y2) return;
    FillInside(x1, y1, x2, y2);
    if (DrawStyle == DS_Transparent) return;
    Point pts[5] = {{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}, {x1, y1}};
    if (std::int64_t{x2} - x1 == 1 || std::int64_t{y2} - y1 == 1) {
        // A one-pixel-wide box is its line; each pixel drawn once.
        const KeepPen keep(*this);
        DrawStyle = DS_Solid;
        const int reach = std::max(1, DrawWidth);
        const int ya = std::max(y1, -reach), yb = std::min(y2, height_ + reach);
        const int xa = std::max(x1, -reach), xb = std::min(x2, width_ + reach);
        for (int y = ya; y < yb; ++y)
            for (int x = xa; x < xb; ++x) PSet(x, y, ForeColor);
        return;
    }
    Polyline(pts, 5);
}

bool Surface::ClipRect(int& x1, int& y1, int& x2, int& y2) const {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width_);
    y2 = std::min(y2, height_);
    return x1 < x2 && y1 < y2;
}

void Surface::FillRect(int x1, int y1, int x2, int y2, Colour c) {
    if (!ClipRect(x1, y1, x2, y2)) return;
    if (DrawMode == DM_CopyPen) {
        std::uint8_t rgb[3] = {static_cast<std::uint8_t>(Red(c)), static_cast<std::uint8_t>(Green(c)), static_cast<std::uint8_t>(Blue(c))};
        std::uint8_t* row0 = &pixels_[(static_cast<size_t>(y1) * width_ + x1) * 3];
        for (int x = 0; x < x2 - x1; ++x) std::memcpy(row0 + x * 3, rgb, 3);
        size_t bytes = static_cast<size_t>(x2 - x1) * 3;
        for (int y = y1 + 1; y < y2; ++y) std::memcpy(&pixels_[(static_cast<size_t>(y) * width_ + x1) * 3], row0, bytes);
        return;
    }
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) Plot(x, y, c);
}

void Surface::HatchRect(int x1, int y1, int x2, int y2, int fill_style, Colour c) {
    if (!ClipRect(x1, y1, x2, y2)) return;
    // Patterns are 8 x 8, aligned on the surface's origin.
    for (int y = y1; y < y2; ++y) {
        for (int x = x1; x < x2; ++x) {
            bool h = y % 8 == 0, v = x % 8 == 0, up = (x + y) % 8 == 0, down = ((x - y) % 8 + 8) % 8 == 0;
            bool on = false;
            switch (fill_style) {
                case FS_Solid: on = true; break;
                case FS_Horizontal: on = h; break;
                case FS_Vertical: on = v; break;
                case FS_UpwardDiagonal: on = up; break;
                case FS_DownwardDiagonal: on = down; break;
                case FS_Cross: on = h || v; break;
                case FS_DiagonalCross: on = up || down; break;
                default: on = false;
            }
            if (on) Plot(x, y, c);
        }
    }
}

bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right, double bottom) {
    constexpr double kMax = std::numeric_limits<double>::max();
    const double ax = std::clamp(x1, -kMax, kMax), ay = std::clamp(y1, -kMax, kMax);
    const double bx = std::clamp(x2, -kMax, kMax), by = std::clamp(y2, -kMax, kMax);
    // Halves throughout: the run between two ends of opposite sign could pass the largest double.
    // A point of the segment is a + 2 t h for t in [0, 1].
    const double hx = bx / 2 - ax / 2, hy = by / 2 - ay / 2;
    double t0 = 0, t1 = 1;
    // The points with p t <= q are inside one side of the box.
    const auto side = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!side(-hx, ax / 2 - left / 2) || !side(hx, right / 2 - ax / 2) || !side(-hy, ay / 2 - top / 2) ||
        !side(hy, bottom / 2 - ay / 2))
        return false;
    // Each point from its nearer end, which keeps the far end's size out of the sum.
    const auto at = [&](double t, double a, double b, double h) { return t <= 0.5 ? a + t * h * 2 : b - (1 - t) * h * 2; };
    x1 = std::clamp(at(t0, ax, bx, hx), left, right);
    y1 = std::clamp(at(t0, ay, by, hy), top, bottom);
    x2 = std::clamp(at(t1, ax, bx, hx), left, right);
    y2 = std::clamp(at(t1, ay, by, hy), top, bottom);
    return true;
}

void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy) {
    // Clip against both surfaces.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, src.Width() - sx, dst.Width() - dx});
    h = std::min({h, src.Height() - sy, dst.Height() - dy});
    if (w <= 0 || h <= 0) return;
    size_t bytes = static_cast<size_t>(w) * 3;
    bool same = &dst == &src;
    // Rows in the order that keeps an overlapping copy on one surface right.
    for (int i = 0; i < h; ++i) {
        int row = (same && dy > sy) ? h - 1 - i : i;
        std::memmove(dst.Bits() + static_cast<size_t>(dy + row) * dst.Stride() + static_cast<size_t>(dx) * 3,
                     src.Bits() + static_cast<size_t>(sy + row) * src.Stride() + static_cast<size_t>(sx) * 3, bytes);
    }
}

void StretchBlt(Surface& dst, std::int64_t dx, std::int64_t dy, std::int64_t dw, std::int64_t dh, const Surface& src,
                int sx, int sy, int sw, int sh) {
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
    // Past this the index products below could leave 64 bits; no picture is that large.
    constexpr std::int64_t kMaxExtent = std::int64_t{1} << 32;
    if (dw > kMaxExtent || dw < -kMaxExtent || dh > kMaxExtent || dh < -kMaxExtent) return;
    // A negative extent mirrors.
    bool flip_x = (dw < 0) != (sw < 0), flip_y = (dh < 0) != (sh < 0);
    if (dw < 0) { dx += dw + 1; dw = -dw; }
    if (dh < 0) { dy += dh + 1; dh = -dh; }
    if (sw < 0) { sx += sw + 1; sw = -sw; }
    if (sh < 0) { sy += sh + 1; sh = -sh; }
    const int x0 = static_cast<int>(std::max<std::int64_t>(0, dx)), x1 = static_cast<int>(std::min<std::int64_t>(dst.Width(), dx + dw));
    const int y0 = static_cast<int>(std::max<std::int64_t>(0, dy)), y1 = static_cast<int>(std::min<std::int64_t>(dst.Height(), dy + dh));
    if (dx >= dst.Width() || dy >= dst.Height() || x0 >= x1 || y0 >= y1) return;
    std::vector<int> col(static_cast<size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x) {
        std::int64_t i = x - dx;
        if (flip_x) i = dw - 1 - i;
        col[x - x0] = sx + static_cast<int>(i * sw / dw);
    }
    Surface copy;
    const Surface* from = &src;
    if (&dst == &src) {
        copy = src;
        from = &copy;
    }
    for (int y = y0; y < y1; ++y) {
        std::int64_t j = y - dy;
        if (flip_y) j = dh - 1 - j;
        int syy = sy + static_cast<int>(j * sh / dh);
        if (syy < 0 || syy >= from->Height()) continue;
        const std::uint8_t* srow = from->Bits() + static_cast<size_t>(syy) * from->Stride();
        std::uint8_t* drow = dst.Bits() + static_cast<size_t>(y) * dst.Stride();
        for (int x = x0; x < x1; ++x) {
            int c = col[x - x0];
            if (c < 0 || c >= from->Width()) continue;
            std::memcpy(drow + static_cast<size_t>(x) * 3, srow + static_cast<size_t>(c) * 3, 3);
        }
    }
}

}  // namespace plat
