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

    bool Inside(const Plane_Point& p) const {
        const double v = vertical ? p.X : p.Y;
        return keep_above ? v >= at : v <= at;
    }
    Plane_Point Meet(const Plane_Point& a, const Plane_Point& b) const {
        const double va = vertical ? a.X : a.Y;
        const double vb = vertical ? b.X : b.Y;
        // Each value's distance to the edge is finite when the values are; their ratio is in 0..1.
        const double da = std::fabs(va - at), db = std::fabs(vb - at);
        const double t = da + db > 0 ? std::clamp(da / (da + db), 0.0, 1.0) : 0.0;
        Plane_Point p = Between(a, b, t);
        (vertical ? p.X : p.Y) = at;
        return p;
    }
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
        // The segment's inside part, by its parameters at the four edges.
        double t0 = 0, t1 = 1;
        for (const Edge& edge : edges) {
            const double va = edge.vertical ? a.X : a.Y;
            const double vb = edge.vertical ? b.X : b.Y;
            const bool ia = edge.Inside(a), ib = edge.Inside(b);
            if (!ia && !ib) {
                t0 = 1;
                t1 = 0;
                break;
            }
            if (ia == ib) continue;
            const double da = std::fabs(va - edge.at), db = std::fabs(vb - edge.at);
            const double t = std::clamp(da / (da + db), 0.0, 1.0);
            if (ia) t1 = std::min(t1, t);
            else t0 = std::max(t0, t);
        }
        if (t0 > t1) {
            close_part();
            continue;
        }
        auto edge_point = [&](double t) {
            Plane_Point p = Between(a, b, t);
            p.X = std::clamp(p.X, box.West, box.East);
            p.Y = std::clamp(p.Y, box.North, box.South);
            return Work_Point_Rec{p.X, p.Y, 2};
        };
        if (t0 > 0) {
            close_part();
            part.push_back(edge_point(t0));
        }
        if (t1 < 1) {
            part.push_back(edge_point(t1));
            close_part();
        } else {
            part.push_back(q);
        }
    }
    close_part();
    return parts;
}
