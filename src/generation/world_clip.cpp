// Shapes cut at the edges of the world's grid, and the test that a cell exists.
#include "generation/world_clip.h"

#include <algorithm>
#include <cmath>

#include "core/grid.h"

namespace {

constexpr int32_t Lod8_Columns = 768;
constexpr int32_t Lod8_Rows = 512;
constexpr int32_t Lod13_Per_Lod8 = 32;

// The point of segment a-b at parameter t (0..1), in a form that cannot overflow for the far
// values a damaged file may hold.
Plane_Point Between(const Plane_Point& a, const Plane_Point& b, double t) {
    return {a.X * (1 - t) + b.X * t, a.Y * (1 - t) + b.Y * t};
}

// One side of the box: inside when `Inside` holds; the meeting of a segment with it.
struct Edge {
    bool vertical;  // an x = at edge
    double at;
    bool keep_above;  // inside where the coordinate is >= at

    bool Inside(const Plane_Point& p) const { return keep_above ? Value(p) >= at : Value(p) <= at; }
    // The parameter is taken from the end nearer the edge, so that it is at most one half: from
    // the other end it would be one less a fraction too small to hold, for a point a damaged file
    // puts far beyond the world.
    Plane_Point Meet(const Plane_Point& a, const Plane_Point& b) const {
        const double da = std::fabs(Value(a) - at), db = std::fabs(Value(b) - at);
        const bool from_a = da <= db;
        const double near = from_a ? da : db;
        // Each value's distance to the edge is finite when the values are; their ratio is in 0..1.
        const double t = da + db > 0 ? std::clamp(near / (da + db), 0.0, 1.0) : 0.0;
        Plane_Point p = from_a ? Between(a, b, t) : Between(b, a, t);
        (vertical ? p.X : p.Y) = at;
        return p;
    }
    double Value(const Plane_Point& p) const { return vertical ? p.X : p.Y; }
};

std::vector<Edge> Edges_Of(const World_Box& box) {
    return {{true, box.West, true}, {true, box.East, false}, {false, box.North, true}, {false, box.South, false}};
}

bool Finite(const Plane_Point& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

}  // namespace

World_Box World_Pixel_Box() {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Com_LatLon_To_Pixel(90, -180, x1, y1);
    Com_LatLon_To_Pixel(-90, 180, x2, y2);
    return {std::min(x1, x2), std::max(x1, x2), std::min(y1, y2), std::max(y1, y2)};
}

bool World_Has_Area(int32_t lod8_col, int32_t lod8_row, int32_t lod13_col, int32_t lod13_row) {
    return lod8_col >= 0 && lod8_col < Lod8_Columns && lod8_row >= 0 && lod8_row < Lod8_Rows && lod13_col >= 0 &&
           lod13_col < Lod13_Per_Lod8 && lod13_row >= 0 && lod13_row < Lod13_Per_Lod8;
}

bool Work_Record_Fits_Area(const Work_Poly_Rec& rec, int32_t lod8_col, int32_t lod8_row, int32_t lod13_col,
                           int32_t lod13_row, bool lod13) {
    const double width = lod13 ? Lod13_Width : Lod8_Width;
    const double height = lod13 ? Lod13_Height : Lod8_Height;
    const double units = lod13 ? Lod13_Local_Max : Lod8_Local_Span;
    double west = lod8_col * Lod8_Width - 180, north = 90 - lod8_row * Lod8_Height;
    if (lod13) {
        west += lod13_col * Lod13_Width;
        north -= lod13_row * Lod13_Height;
    }
    const double mx = width / units, my = height / units;
    for (int32_t i = 0; i < rec.Nb_Points; ++i) {
        const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
        double lat = 0, lon = 0;
        Com_Pixel_To_LatLon(p.X, p.Y, lat, lon);
        if (!(lon >= west - mx && lon <= west + width + mx && lat <= north + my && lat >= north - height - my))
            return false;
    }
    return true;
}

std::vector<Plane_Point> World_Clip_Ring(const std::vector<Plane_Point>& ring, const World_Box& box) {
    if (std::all_of(ring.begin(), ring.end(), [&](const Plane_Point& p) { return box.Holds(p.X, p.Y); }))
        return ring;
    // Infinite or undefined points have no place to be cut at; they go.
    std::vector<Plane_Point> out;
    std::copy_if(ring.begin(), ring.end(), std::back_inserter(out), Finite);
    for (const Edge& edge : Edges_Of(box)) {
        if (out.empty()) break;
        std::vector<Plane_Point> in;
        in.swap(out);
        for (size_t i = 0; i < in.size(); ++i) {
            const Plane_Point& a = in[i];
            const Plane_Point& b = in[(i + 1) % in.size()];
            const bool a_in = edge.Inside(a), b_in = edge.Inside(b);
            if (a_in) out.push_back(a);
            if (a_in != b_in) out.push_back(edge.Meet(a, b));
        }
    }
    return out;
}

std::vector<std::vector<Work_Point_Rec>> World_Clip_Line(const std::vector<Work_Point_Rec>& line,
                                                         const World_Box& box) {
    std::vector<std::vector<Work_Point_Rec>> parts;
    if (std::all_of(line.begin(), line.end(), [&](const Work_Point_Rec& p) { return box.Holds(p.X, p.Y); })) {
        parts.push_back(line);
        return parts;
    }
    const std::vector<Edge> edges = Edges_Of(box);
    std::vector<Work_Point_Rec> part;
    auto close_part = [&] {
        if (part.size() >= 2) parts.push_back(part);
        part.clear();
    };
    // A point where the part already is adds no leg of no length; a cut there marks it.
    auto add = [&](const Work_Point_Rec& p) {
        if (!part.empty() && part.back().X == p.X && part.back().Y == p.Y) {
            if (p.Flag == 2) part.back().Flag = 2;
            return;
        }
        part.push_back(p);
    };
    for (size_t i = 0; i < line.size(); ++i) {
        const Work_Point_Rec& q = line[i];
        const Plane_Point b{q.X, q.Y};
        if (i == 0) {
            if (box.Holds(b.X, b.Y)) part.push_back(q);
            continue;
        }
        const Plane_Point a{line[i - 1].X, line[i - 1].Y};
        if (!Finite(a) || !Finite(b)) {
            close_part();
            if (box.Holds(b.X, b.Y)) part.push_back(q);
            continue;
        }
        // The segment's inside part: an end beyond an edge is moved onto it, edge after edge, so
        // no two parameters measured from different ends are ever compared.
        Plane_Point from = a, to = b;
        bool entered = false, left = false, inside = true;
        for (const Edge& edge : edges) {
            const bool ia = edge.Inside(from), ib = edge.Inside(to);
            if (!ia && !ib) {
                inside = false;
                break;
            }
            if (ia == ib) continue;
            (ia ? to : from) = edge.Meet(from, to);
            (ia ? left : entered) = true;
        }
        if (!inside) {
            close_part();
            continue;
        }
        auto edge_point = [&](const Plane_Point& p) {
            return Work_Point_Rec{std::clamp(p.X, box.West, box.East), std::clamp(p.Y, box.North, box.South), 2};
        };
        if (entered) {
            close_part();
            add(edge_point(from));
        }
        if (left) {
            add(edge_point(to));
            close_part();
        } else {
            add(q);
        }
    }
    close_part();
    return parts;
}
