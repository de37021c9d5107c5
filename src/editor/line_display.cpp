// Drawing the lines and their edit marks on the map picture, and the picture distances the
// tools pick segments by.
#include "editor/line_display.h"

#include "core/geometry.h"
#include "core/project.h"
#include "core/syst.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/rubber_bands.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int32_t kRed = 255;
constexpr int32_t kBlue = 0xFF0000;
constexpr int32_t kMagenta = 0xFF00FF;

bool Picture_Of(int32_t id, double& px, double& py) {
    if (!Project_Valid_Point(id)) return false;
    const Point_Rec& p = Point_Table(id);
    PSais_Map_To_Picture(p.X, p.Y, px, py);
    return true;
}

plat::PictureBox& Pic() { return Frm_Window().Pic; }

void Show_Band(plat::LineControl& band, int style, int32_t point_id, double x, double y) {
    double px = 0, py = 0;
    if (!Picture_Of(point_id, px, py)) return;
    band.SetBorderStyle(style);
    band.SetBorderColor(kRed);
    band.SetDrawMode(plat::DM_CopyPen);
    plat::Point a, b;
    // A band wholly beyond reach cannot cross the picture; it is shown at its far end's edge.
    if (!PSais_Round_Segment(px, py, x, y, a, b)) a = b = {SYST_Round(x), SYST_Round(y)};
    band.SetPoints(a.x, a.y, b.x, b.y);
    band.SetVisible(true);
}

void Draw_Line_In(int32_t line_index, int32_t colour) {
    if (!Project_Valid_Line(line_index)) return;
    const Line_Rec& line = Line_Table(line_index);
    if (line.Nb_Points <= 0) return;
    if (line.Nb_Points == 1) {
        PSais_Draw_Point(line.First_Point, colour);
        return;
    }
    PSais_Draw_Line_Chain(line_index, 0, colour, 1);
}

// The edit marks of the selected line, as they stood before the redraw.
void Restore_Edit_Marks() {
    // The bands come back only as they were: all of the tool's bands shown, or none redrawn.
    const Rubber_Band_Anchors b = PSais_Rubber_Band_Anchors();
    const bool as_shown = b.Has_First == (Ln1_Was_Shown == 1) && b.Has_Second == (Ln2_Was_Shown == 1);
    const bool bands_both = as_shown && b.Has_First && b.Has_Second;
    if (as_shown && b.Has_First) {
        if (Insert_Tool == 1) {
            const Line_Rec& line = Line_Table(Cur_Line);
            const bool closing_pair = Cur_Point == line.First_Point && Neighbour_Point == line.Last_Point;
            if (!closing_pair) PSais_Draw_Red_Segment(Cur_Point, Neighbour_Point);
        } else if (Extend_Tool != 1 && !b.Lone) {
            // A moved point's segments to its neighbours.
            PSais_Draw_Red_Segment(Cur_Point, b.First);
            if (b.Has_Second) PSais_Draw_Red_Segment(Cur_Point, b.Second);
        }
        PSais_Show_Rubber_Bands(b, Mouse_X, Mouse_Y);
    }
    if (Cercle_Was_Shown == 1 && !bands_both) PSais_Show_Point_Mark(Cur_Point);
}

}  // namespace

PSais_Stroke_Pen::PSais_Stroke_Pen(int width) : SYST_Scoped_Pen(Pic(), width) {}
PSais_Stroke_Pen::PSais_Stroke_Pen(int width, int mode) : SYST_Scoped_Pen(Pic(), width, plat::DS_Solid, mode) {}

int32_t PSais_Line_Colour(int32_t line_index) {
    if (!Project_Valid_Line(line_index)) return kMagenta;
    const Route_Attrib& a = Line_Table(line_index).Attr;
    if (a.SurfShore >= 3 || a.SurfShore == 1) return kBlue;
    if (a.SurfShore == 2) return kMagenta;
    return a.LWM_VTP2 == 0 && a.Attrib == 0 ? kBlue : kMagenta;
}

bool PSais_Round_Segment(double xa, double ya, double xb, double yb, plat::Point& a, plat::Point& b) {
    constexpr double kReach = std::numeric_limits<int32_t>::max();
    for (double* v : {&xa, &ya, &xb, &yb})
        if (std::isnan(*v)) *v = 0;
    const bool within = std::fabs(xa) <= kReach && std::fabs(ya) <= kReach && std::fabs(xb) <= kReach && std::fabs(yb) <= kReach;
    if (!within && !plat::ClipSegment(xa, ya, xb, yb, -kReach, -kReach, kReach, kReach)) return false;
    a = {SYST_Round(xa), SYST_Round(ya)};
    b = {SYST_Round(xb), SYST_Round(yb)};
    return true;
}

void PSais_Draw_Picture_Segment(double xa, double ya, double xb, double yb, int32_t colour) {
    plat::Point a, b;
    if (PSais_Round_Segment(xa, ya, xb, yb, a, b)) Pic().Line(a.x, a.y, b.x, b.y, colour);
}

namespace {

// Entries of the point table that follow one another in a chain.
struct Point_Run {
    const Point_Rec* first;
    size_t count;
};

// The chain being drawn, kept between chains for its storage.
std::vector<Point_Run>& Chain_Runs() {
    static std::vector<Point_Run> runs;
    return runs;
}

struct Box {
    double minx = HUGE_VAL, maxx = -HUGE_VAL, miny = HUGE_VAL, maxy = -HUGE_VAL;

    void Add(double x, double y) {
        minx = std::min(minx, x);
        maxx = std::max(maxx, x);
        miny = std::min(miny, y);
        maxy = std::max(maxy, y);
    }
};

// The box of the chain's map points, NaN left out (`nan` tells if there was one). In locals
// throughout: this is the first read of every point of a redraw.
Box Map_Box(const std::vector<Point_Run>& runs, bool& nan) {
    double minx = HUGE_VAL, maxx = -HUGE_VAL, miny = HUGE_VAL, maxy = -HUGE_VAL;
    bool any_nan = false;
    for (const Point_Run& run : runs)
        for (const Point_Rec *p = run.first, *end = run.first + run.count; p != end; ++p) {
            minx = std::min(minx, p->X);
            maxx = std::max(maxx, p->X);
            miny = std::min(miny, p->Y);
            maxy = std::max(maxy, p->Y);
            any_nan |= std::isnan(p->X) || std::isnan(p->Y);
        }
    nan = any_nan;
    return {minx, maxx, miny, maxy};
}

// Runs of points on one pixel give empty segments, which draw nothing, and a chain whose box
// misses the picture draws nothing at all: both are left out, with the same pixels as drawing
// segment by segment. The chain is read twice (its box, then its pixels) rather than listed.
void Draw_Chain(const std::vector<Point_Run>& runs, int32_t colour, int width) {
    size_t count = 0;
    for (const Point_Run& run : runs) count += run.count;
    if (count < 2) return;
    const Map_To_Picture_Transform view = PSais_Current_Transform();
    // Rounding puts a NaN at 0; the box must count it there too.
    const auto picture_of = [&](const Point_Rec& p, double& px, double& py) {
        view.Apply(p.X, p.Y, px, py);
        if (std::isnan(px)) px = 0;
        if (std::isnan(py)) py = 0;
    };
    const auto for_each = [&](auto&& visit) {
        for (const Point_Run& run : runs)
            for (const Point_Rec *p = run.first, *end = run.first + run.count; p != end; ++p) visit(*p);
    };
    Box box;
    if (view.Zoom > 0 && std::isfinite(view.Zoom) && std::isfinite(view.X0) && std::isfinite(view.Y0)) {
        // The picture is the map shifted and scaled up, each step rounded upwards with its
        // argument: the box of the map points gives the box of the picture points, with no
        // point converted. A NaN is left out of the map box and put at 0 after.
        bool nan = false;
        const Box map = Map_Box(runs, nan);
        box = map;
        double lox = 0, loy = 0, hix = 0, hiy = 0;
        view.Apply(map.minx, map.miny, lox, loy);
        view.Apply(map.maxx, map.maxy, hix, hiy);
        if (map.minx <= map.maxx) {
            box.minx = lox;
            box.maxx = hix;
        }
        if (map.miny <= map.maxy) {
            box.miny = loy;
            box.maxy = hiy;
        }
        if (nan) box.Add(0, 0);
    } else {
        for_each([&](const Point_Rec& p) {
            double px = 0, py = 0;
            picture_of(p, px, py);
            box.Add(px, py);
        });
    }
    plat::PictureBox& pic = Pic();
    // Rounding moves an end by half a pixel at most and the pen reaches `width` further.
    const double margin = width + 1;
    if (box.maxx < -margin || box.maxy < -margin || box.minx > pic.Width() + margin || box.miny > pic.Height() + margin)
        return;
    // The chain as runs of points: a run ends where the next segment starts elsewhere.
    static std::vector<plat::Point> chain;
    static std::vector<size_t> run_ends;
    chain.clear();
    run_ends.clear();
    size_t run_start = 0;
    const auto end_run = [&] {
        if (chain.size() - run_start < 2)
            chain.resize(run_start);   // a lone point draws nothing
        else
            run_ends.push_back(chain.size());
        run_start = chain.size();
    };
    constexpr double kSmall = 1 << 30;
    if (box.minx > -kSmall && box.maxx < kSmall && box.miny > -kSmall && box.maxy < kSmall) {
        // Converting again costs less than keeping the first results. Every point is written
        // and a repeat is then written over: no branch on where the repeats fall.
        chain.resize(count);
        plat::Point* const out = chain.data();
        size_t n = 0;
        for_each([&](const Point_Rec& q) {
            double px = 0, py = 0;
            picture_of(q, px, py);
            const plat::Point p{SYST_Round_Small(px), SYST_Round_Small(py)};
            const bool fresh = n == 0 || !(out[n - 1] == p);
            out[n] = p;
            n += fresh ? 1 : 0;
        });
        chain.resize(n);
    } else {
        // Far points: segment by segment, each cut to int reach where it leaves it; a cut end
        // starts a new run.
        double ax = 0, ay = 0;
        bool first = true;
        for_each([&](const Point_Rec& q) {
            double bx = 0, by = 0;
            picture_of(q, bx, by);
            if (!first) {
                plat::Point a, b;
                if (PSais_Round_Segment(ax, ay, bx, by, a, b)) {
                    if (chain.size() > run_start && !(chain.back() == a)) end_run();
                    if (chain.size() == run_start) chain.push_back(a);
                    if (!(chain.back() == b)) chain.push_back(b);
                }
            }
            first = false;
            ax = bx;
            ay = by;
        });
    }
    end_run();
    if (run_ends.empty()) return;
    plat::Surface& surface = pic.Image();
    const PSais_Stroke_Pen pen(width);
    const plat::KeepPen keep(surface);
    surface.ForeColor = colour;
    size_t start = 0;
    for (size_t end : run_ends) {
        surface.Polyline(chain.data() + start, static_cast<int>(end - start));
        start = end;
    }
    pic.Changed();
}

}  // namespace

void PSais_Draw_Line_Chain(int32_t line_index, size_t from, int32_t colour, int width) {
    std::vector<Point_Run>& runs = Chain_Runs();
    runs.clear();
    Project_Visit_Line_Runs(line_index, from, [&](const Point_Rec* first, size_t n) { runs.push_back({first, n}); });
    Draw_Chain(runs, colour, width);
}

void PSais_Draw_Line(int32_t line_index) { Draw_Line_In(line_index, PSais_Line_Colour(line_index)); }

void PSais_Draw_Line_Selected(int32_t line_index) { Draw_Line_In(line_index, kRed); }

void PSais_Draw_Points_Segment(int32_t point_a, int32_t point_b, int32_t colour, int width) {
    double xa = 0, ya = 0, xb = 0, yb = 0;
    if (!Picture_Of(point_a, xa, ya) || !Picture_Of(point_b, xb, yb)) return;
    const PSais_Stroke_Pen pen(width);
    PSais_Draw_Picture_Segment(xa, ya, xb, yb, colour);
}

void PSais_Draw_Segment(int32_t /*line_index*/, int32_t point_a, int32_t point_b, int32_t colour) {
    PSais_Draw_Points_Segment(point_a, point_b, colour, 1);
}

void PSais_Draw_Point(int32_t point_id, int32_t colour) {
    double px = 0, py = 0;
    if (!Picture_Of(point_id, px, py)) return;
    const int x = SYST_Round(px), y = SYST_Round(py);
    plat::PictureBox& pic = Pic();
    const PSais_Stroke_Pen pen(1);
    // A mark off the picture draws nothing; this also keeps x + 2 within int.
    const plat::Point centre{x, y};
    if (!PSais_Box_In_Picture(&centre, 1, 2)) return;
    // Line leaves out its end pixel: x + 2 makes each stroke cover x - 1 .. x + 1.
    for (int k = -1; k <= 1; ++k) pic.Line(x - 1, y + k, x + 2, y + k, colour);
}

// The tools' red redraws go through their own pen mode.
void PSais_Draw_Red_Segment(int32_t point_a, int32_t point_b) {
    const PSais_Stroke_Pen pen(1, Edit_Draw_Mode);
    PSais_Draw_Segment(Cur_Line, point_a, point_b, kRed);
}

void PSais_Draw_Red_Point(int32_t point_id) {
    const PSais_Stroke_Pen pen(1, Edit_Draw_Mode);
    PSais_Draw_Point(point_id, kRed);
}

void PSais_Show_Point_Mark(int32_t point_id) {
    double px = 0, py = 0;
    if (!Picture_Of(point_id, px, py)) return;
    plat::Shape& mark = Frm_Window().Cercle;
    // Far off the picture the circle only has to stay there, not wrap round int.
    mark.SetTop(PSais_Near_Picture(SYST_Round(py)) - 5);
    mark.SetLeft(PSais_Near_Picture(SYST_Round(px)) - 5);
    mark.SetVisible(true);
    mark.SetBorderColor(kRed);
}

void PSais_Show_Sel_Segment1(int32_t point_id, double x, double y) {
    Show_Band(Frm_Window().Ln1, 1, point_id, x, y);
}

void PSais_Show_Sel_Segment2(int32_t point_id, double x, double y) {
    Show_Band(Frm_Window().Ln2, 1, point_id, x, y);
}

void PSais_Show_Sel_Segment3(int32_t point_id, double x, double y) {
    Show_Band(Frm_Window().Ln1, 2, point_id, x, y);
}

double PSais_Point_Segment_Distance(int32_t point_a, int32_t point_b, double x, double y) {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (!Picture_Of(point_a, x1, y1) || !Picture_Of(point_b, x2, y2)) return -1;
    const auto within = [](double v, double a, double b) { return v >= std::fmin(a, b) && v <= std::fmax(a, b); };
    if (x1 == x2) return within(y, y1, y2) ? std::fabs(x - x1) : -1;
    if (y1 == y2) return within(x, x1, x2) ? std::fabs(y - y1) : -1;
    double fx = 0, fy = 0;
    SYST_Perpendicular_Foot(x1, y1, x2, y2, x, y, fx, fy);
    if (!within(fx, x1, x2) || !within(fy, y1, y2)) return -1;
    return std::sqrt((x - fx) * (x - fx) + (y - fy) * (y - fy));
}

double PSais_Point_Distance(int32_t point_a, int32_t point_b, double x, double y) {
    double xa = 0, ya = 0, xb = 0, yb = 0;
    // A missing end is infinitely far, so such a pair never wins the pick.
    if (!Picture_Of(point_a, xa, ya) || !Picture_Of(point_b, xb, yb)) return HUGE_VAL;
    return (std::sqrt((x - xa) * (x - xa) + (y - ya) * (y - ya)) +
            std::sqrt((x - xb) * (x - xb) + (y - yb) * (y - yb))) / 2;
}

void PSais_Scroll_To_Point(int32_t point_id) {
    if (!Project_Valid_Point(point_id)) return;
    const Point_Rec& p = Point_Table(point_id);
    View_Offset_Y = Map_Centre_Y - p.Y;
    View_Offset_X = Map_Centre_X - p.X;
    Frm& f = Frm_Window();
    Scroll_Busy = 1;
    // Kept inside the bars' range at both ends: a point far down or right of a small calibrated
    // rectangle would otherwise ask for a value above Max.
    f.VScroll.SetValue(PSais_Scroll_Value(View_Offset_Y, Scroll_Range_Y));
    f.HScroll.SetValue(PSais_Scroll_Value(View_Offset_X, Scroll_Range_X));
    Scroll_Busy = 0;
}

void PSais_Save_Mark_Visibility() {
    Frm& f = Frm_Window();
    Ln1_Was_Shown = f.Ln1.Visible() ? 1 : 0;
    Ln2_Was_Shown = f.Ln2.Visible() ? 1 : 0;
    Cercle_Was_Shown = f.Cercle.Visible() ? 1 : 0;
}

void PSais_Draw_All_Lines() {
    for (int32_t i = 2; i <= Line_Count && Line_Table.In_Range(i); ++i) {
        if (Line_Selected == 1 && i == Cur_Line) {
            PSais_Draw_Line_Selected(i);
            Restore_Edit_Marks();
        } else {
            PSais_Draw_Line(i);
        }
    }
}

void PSais_Restore_Red_Line() {
    if (Red_Line_Shown != 1) return;
    PSais_Draw_Line(Red_Line_Index);
    Red_Line_Shown = 0;
}

void Line_Display_Reset() {
    Ln1_Was_Shown = Ln2_Was_Shown = Cercle_Was_Shown = 0;
}
