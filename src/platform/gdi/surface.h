#pragma once
// A 24-bit drawing surface with the GDI pen model the program draws with: pen colour, width,
// style and raster operation. Colours are 0x00BBGGRR (red in the low byte).
#include <cstdint>
#include <vector>

namespace plat {

using Colour = std::int32_t;

constexpr Colour RGB(int r, int g, int b) {
    return static_cast<Colour>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
constexpr int Red(Colour c) { return c & 255; }
constexpr int Green(Colour c) { return (c >> 8) & 255; }
constexpr int Blue(Colour c) { return (c >> 16) & 255; }

// DrawStyle values.
enum DrawStyleValue : int { DS_Solid = 0, DS_Dash = 1, DS_Dot = 2, DS_DashDot = 3, DS_DashDotDot = 4, DS_Transparent = 5 };

// DrawMode values (binary raster operations, R2_*).
enum DrawModeValue : int {
    DM_Blackness = 1, DM_NotMergePen = 2, DM_MaskNotPen = 3, DM_NotCopyPen = 4, DM_MaskPenNot = 5,
    DM_Invert = 6, DM_XorPen = 7, DM_NotMaskPen = 8, DM_MaskPen = 9, DM_NotXorPen = 10, DM_Nop = 11,
    DM_MergeNotPen = 12, DM_CopyPen = 13, DM_MergePenNot = 14, DM_MergePen = 15, DM_Whiteness = 16,
};

// FillStyle values for rectangles.
enum FillStyleValue : int {
    FS_Solid = 0, FS_Transparent = 1, FS_Horizontal = 2, FS_Vertical = 3, FS_UpwardDiagonal = 4,
    FS_DownwardDiagonal = 5, FS_Cross = 6, FS_DiagonalCross = 7,
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, Colour fill = RGB(255, 255, 255));

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // Resizes, keeping the pixels that still fit; new pixels take BackColor.
    void Resize(int width, int height);

    Colour GetPixel(int x, int y) const;          // -1 outside
    void SetPixel(int x, int y, Colour c);        // raw write, ignores the pen; clipped
    // Rows top-down, 3 bytes per pixel in R, G, B order, no padding (width * 3 per row).
    const std::uint8_t* Bits() const { return pixels_.data(); }
    std::uint8_t* Bits() { return pixels_.data(); }
    int Stride() const { return width_ * 3; }

    // Pen state.
    Colour ForeColor = RGB(0, 0, 0);
    Colour BackColor = RGB(255, 255, 255);
    int DrawWidth = 1;
    int DrawStyle = DS_Solid;
    int DrawMode = DM_CopyPen;
    int FillStyle = FS_Transparent;
    Colour FillColor = RGB(0, 0, 0);

    struct PenState {
        Colour fore_color;
        int draw_width, draw_style, draw_mode, fill_style;
        Colour fill_color;
    };
    PenState Pen() const { return {ForeColor, DrawWidth, DrawStyle, DrawMode, FillStyle, FillColor}; }
    void SetPen(const PenState& p);

    // Everything to BackColor.
    void Cls();
    // Pen-drawn primitives; the last point of a line is not drawn (as GDI). Lines are clipped to
    // the surface before they are walked, so ends anywhere in int range cost what is visible.
    void Line(int x1, int y1, int x2, int y2);
    void Line(int x1, int y1, int x2, int y2, Colour c);
    void Polyline(const Point* points, int count);
    void Polyline(const std::vector<Point>& points) { Polyline(points.data(), static_cast<int>(points.size())); }
    void PSet(int x, int y, Colour c);
    void Circle(int cx, int cy, int radius, Colour c);
    // The ellipse inscribed in [x1,x2) x [y1,y2), outlined with the pen, filled by FillStyle.
    void Ellipse(int x1, int y1, int x2, int y2);
    // Outline with the pen (unless DS_Transparent), inside by FillStyle / FillColor.
    void Rectangle(int x1, int y1, int x2, int y2);
    // Fills [x1,x2) x [y1,y2) with c through the current DrawMode.
    void FillRect(int x1, int y1, int x2, int y2, Colour c);
    // Raster-op fill of a hatch pattern (FS_Horizontal...) in colour c; the gaps stay.
    void HatchRect(int x1, int y1, int x2, int y2, int fill_style, Colour c);

    // Applies the DrawMode to one pixel with pen colour c, clipped.
    void Plot(int x, int y, Colour c);

private:
    // A primitive's pixels, so that a wide pen touches each pixel once (XOR modes stay exact).
    class Mask;
    void PenDot(Mask* mask, int x, int y, Colour c);
    void SegmentPixels(Mask* mask, int x1, int y1, int x2, int y2, Colour c, std::int64_t& style_step);
    // A solid polyline of a copied pen of W = 1 to 3 pixels (a square dot): the segments lying
    // wholly on the surface are written straight into the pixels.
    template <int W>
    void SquarePenPolyline(const Point* points, int count);
    void FillInside(int x1, int y1, int x2, int y2);
    // Orders the corners of [x1,x2) x [y1,y2) and cuts it to the surface; false when nothing is left.
    bool ClipRect(int& x1, int& y1, int& x2, int& y2) const;
    static bool StyleOn(int style, std::int64_t step);

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

// The surface's whole pen, put back as it was when this goes out of scope: a routine that draws
// with a pen of its own leaves its caller's pen as it found it.
class KeepPen {
public:
    explicit KeepPen(Surface& surface) : surface_(surface), saved_(surface.Pen()) {}
    ~KeepPen() { surface_.SetPen(saved_); }
    KeepPen(const KeepPen&) = delete;
    KeepPen& operator=(const KeepPen&) = delete;

private:
    Surface& surface_;
    Surface::PenState saved_;
};

// Cuts the segment (x1, y1)-(x2, y2) to its part within [left, right] x [top, bottom], in floating
// point, so that ends far beyond int reach can then be rounded without turning the segment. An
// end that is cut moves along the segment; an infinite coordinate counts as the largest double and
// NaN ends are the caller's to settle. False when no part of the segment lies within the box.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right, double bottom);

// Copies a w x h block, clipped to both surfaces (SRCCOPY).
void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy);
// Scales the source block onto the destination block, nearest neighbour (COLORONCOLOR). The
// destination block may be far larger than the surface: only its visible part is worked.
void StretchBlt(Surface& dst, std::int64_t dx, std::int64_t dy, std::int64_t dw, std::int64_t dh, const Surface& src,
                int sx, int sy, int sw, int sh);

}  // namespace plat
