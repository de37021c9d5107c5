#include "platform/gdi/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

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

int PatternLength(const std::vector<int>& p) {
    int n = 0;
    for (int v : p) n += v;
    return n;
}

}  // namespace

// The pixels a primitive touches, inside a clipped box; applied through the raster operation
// once each.
class Surface::Mask {
public:
    Mask(const Surface& s, int x1, int y1, int x2, int y2) {
        x0_ = std::max(0, std::min(x1, x2));
        y0_ = std::max(0, std::min(y1, y2));
        int xe = std::min(s.Width(), std::max(x1, x2) + 1);
        int ye = std::min(s.Height(), std::max(y1, y2) + 1);
        w_ = std::max(0, xe - x0_);
        h_ = std::max(0, ye - y0_);
        bits_.assign(static_cast<size_t>(w_) * h_, 0);
    }
    void Add(int x, int y) {
        x -= x0_;
        y -= y0_;
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        bits_[static_cast<size_t>(y) * w_ + x] = 1;
    }
    void Apply(Surface& s, Colour c) const {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (bits_[static_cast<size_t>(y) * w_ + x]) s.Plot(x0_ + x, y0_ + y, c);
    }

private:
    int x0_ = 0, y0_ = 0, w_ = 0, h_ = 0;
    std::vector<std::uint8_t> bits_;
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

bool Surface::StyleOn(int style, int step) {
    const std::vector<int>& p = StylePattern(style);
    if (p.empty()) return true;
    int pos = step % PatternLength(p);
    for (size_t i = 0; i < p.size(); ++i) {
        if (pos < p[i]) return i % 2 == 0;
        pos -= p[i];
    }
    return true;
}

void Surface::PenDot(Mask* mask, int x, int y, Colour c) {
    if (DrawWidth <= 1 || !mask) {
        if (mask)
            mask->Add(x, y);
        else
            Plot(x, y, c);
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
            if (w <= 3 || ex * ex + ey * ey <= r * r) mask->Add(x + dx, y + dy);
        }
}

void Surface::SegmentPixels(Mask* mask, int x1, int y1, int x2, int y2, Colour c, int& style_step) {
    // Styles only apply to the one-pixel pen, as with cosmetic GDI pens.
    int style = DrawWidth <= 1 ? DrawStyle : DS_Solid;
    int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    while (x != x2 || y != y2) {
        if (StyleOn(style, style_step)) PenDot(mask, x, y, c);
        ++style_step;
        int e2 = 2 * err;
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

void Surface::Line(int x1, int y1, int x2, int y2) { Line(x1, y1, x2, y2, ForeColor); }

void Surface::Line(int x1, int y1, int x2, int y2, Colour c) {
    Point pts[2] = {{x1, y1}, {x2, y2}};
    Colour keep = ForeColor;
    ForeColor = c;
    Polyline(pts, 2);
    ForeColor = keep;
}

void Surface::Polyline(const Point* points, int count) {
    if (count < 2 || DrawStyle == DS_Transparent || Empty()) return;
    int step = 0;
    if (DrawWidth <= 1) {
        for (int i = 1; i < count; ++i)
            SegmentPixels(nullptr, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, ForeColor, step);
        return;
    }
    int minx = points[0].x, maxx = minx, miny = points[0].y, maxy = miny;
    for (int i = 1; i < count; ++i) {
        minx = std::min(minx, points[i].x);
        maxx = std::max(maxx, points[i].x);
        miny = std::min(miny, points[i].y);
        maxy = std::max(maxy, points[i].y);
    }
    Mask mask(*this, minx - DrawWidth, miny - DrawWidth, maxx + DrawWidth, maxy + DrawWidth);
    for (int i = 1; i < count; ++i)
        SegmentPixels(&mask, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, ForeColor, step);
    mask.Apply(*this, ForeColor);
}

void Surface::PSet(int x, int y) { PSet(x, y, ForeColor); }

void Surface::PSet(int x, int y, Colour c) {
    if (DrawWidth <= 1) {
        Plot(x, y, c);
        return;
    }
    Mask mask(*this, x - DrawWidth, y - DrawWidth, x + DrawWidth, y + DrawWidth);
    PenDot(&mask, x, y, c);
    mask.Apply(*this, c);
}

void Surface::Circle(int cx, int cy, int radius) { Circle(cx, cy, radius, ForeColor); }

void Surface::Circle(int cx, int cy, int radius, Colour c) {
    if (radius < 0) return;
    Colour keep = ForeColor;
    ForeColor = c;
    Ellipse(cx - radius, cy - radius, cx + radius + 1, cy + radius + 1);
    ForeColor = keep;
}

void Surface::Ellipse(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1 || Empty()) return;
    // Centre and radii of the inscribed ellipse, in half pixels so even boxes stay centred.
    double cx = (x1 + x2 - 1) / 2.0, cy = (y1 + y2 - 1) / 2.0;
    double rx = (x2 - x1 - 1) / 2.0, ry = (y2 - y1 - 1) / 2.0;
    if (FillStyle != FS_Transparent) {
        for (int y = y1; y < y2; ++y) {
            double t = ry > 0 ? (y - cy) / ry : 0;
            double half = rx * std::sqrt(std::max(0.0, 1 - t * t));
            int xa = static_cast<int>(std::ceil(cx - half)), xb = static_cast<int>(std::floor(cx + half));
            if (FillStyle == FS_Solid) {
                for (int x = xa; x <= xb; ++x) Plot(x, y, FillColor);
            } else {
                HatchRect(xa, y, xb + 1, y + 1, FillStyle, FillColor);
            }
        }
    }
    if (DrawStyle == DS_Transparent) return;
    Mask mask(*this, x1 - DrawWidth, y1 - DrawWidth, x2 + DrawWidth, y2 + DrawWidth);
    // Outline: for each column and each row the boundary points, so no gaps at any slope.
    for (int x = x1; x < x2; ++x) {
        double t = rx > 0 ? (x - cx) / rx : 0;
        double half = ry * std::sqrt(std::max(0.0, 1 - t * t));
        int ya = static_cast<int>(std::lround(cy - half)), yb = static_cast<int>(std::lround(cy + half));
        PenDot(&mask, x, ya, ForeColor);
        PenDot(&mask, x, yb, ForeColor);
    }
    for (int y = y1; y < y2; ++y) {
        double t = ry > 0 ? (y - cy) / ry : 0;
        double half = rx * std::sqrt(std::max(0.0, 1 - t * t));
        int xa = static_cast<int>(std::lround(cx - half)), xb = static_cast<int>(std::lround(cx + half));
        PenDot(&mask, xa, y, ForeColor);
        PenDot(&mask, xb, y, ForeColor);
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
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    FillInside(x1, y1, x2, y2);
    if (DrawStyle == DS_Transparent) return;
    Point pts[5] = {{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}, {x1, y1}};
    if (x2 - x1 == 1 || y2 - y1 == 1) {
        // A one-pixel-wide box is its line; each pixel drawn once.
        int keep = DrawStyle;
        DrawStyle = DS_Solid;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x) PSet(x, y, ForeColor);
        DrawStyle = keep;
        return;
    }
    Polyline(pts, 5);
}

void Surface::FillRect(int x1, int y1, int x2, int y2, Colour c) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width_);
    y2 = std::min(y2, height_);
    if (x1 >= x2 || y1 >= y2) return;
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
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width_);
    y2 = std::min(y2, height_);
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

void StretchBlt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh) {
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
    // A negative extent mirrors.
    bool flip_x = (dw < 0) != (sw < 0), flip_y = (dh < 0) != (sh < 0);
    if (dw < 0) { dx += dw + 1; dw = -dw; }
    if (dh < 0) { dy += dh + 1; dh = -dh; }
    if (sw < 0) { sx += sw + 1; sw = -sw; }
    if (sh < 0) { sy += sh + 1; sh = -sh; }
    int x0 = std::max(0, dx), x1 = std::min(dst.Width(), dx + dw);
    int y0 = std::max(0, dy), y1 = std::min(dst.Height(), dy + dh);
    if (x0 >= x1 || y0 >= y1) return;
    std::vector<int> col(static_cast<size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x) {
        long long i = x - dx;
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
        long long j = y - dy;
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
