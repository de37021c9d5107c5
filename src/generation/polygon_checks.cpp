// Self-crossing and crossing checks of work polygons, nesting groups by the ray test, and the
// vertex sorts and ring primitives of the ring tree.
#include "generation/polygon_checks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "core/geometry.h"
#include "core/syst.h"
#include "generation/exchange_sort.h"
#include "generation/work_tables.h"

Vb_Array<Srf_Poly_Rec> Srf_Poly_Table;
int32_t Srf_Poly_Count = 0;
Vb_Array<Srf_Vertex_Index_Rec> Srf_Vertex_Index;
int32_t Srf_Vertex_Count = 0;
Vb_Array<Srf_Vertex_Rec> Srf_Vertex_Table;
Vb_Array<Touch_Group_Rec> Touch_Group_Table;
int32_t Touch_Group_Count = 0;
Vb_Array<int32_t> Touch_Group_Members;
int32_t Touch_Group_Member_Count = 0;

Vb_Array<Srf_Ring_Rec> Srf_Ring_Table;
int32_t Srf_Ring_Count = 0;
Vb_Array<Srf_Vertex_Rec> Srf_Ring_Points;
int32_t Srf_Ring_Point_Count = 0;
Vb_Array<Ring_Tree_Node> Srf_Ring_Tree;
int32_t Srf_Ring_Node_Count = 0;

void Nesting_Tables_Erase() {
    Srf_Poly_Table.Erase();
    Srf_Poly_Count = 0;
    Srf_Vertex_Index.Erase();
    Srf_Vertex_Count = 0;
    Srf_Vertex_Table.Erase();
    Touch_Group_Table.Erase();
    Touch_Group_Count = 0;
    Touch_Group_Members.Erase();
    Touch_Group_Member_Count = 0;
}

void Ring_Tables_Erase() {
    Srf_Ring_Table.Erase();
    Srf_Ring_Count = 0;
    Srf_Ring_Points.Erase();
    Srf_Ring_Point_Count = 0;
    Srf_Ring_Tree.Erase();
    Srf_Ring_Node_Count = 0;
}

// ---------------------------------------------------------------------------------------------
// Self-crossing

namespace {

struct Seg {
    double X1, Y1, X2, Y2;
};

bool Within(double v, double a, double b) { return std::min(a, b) <= v && v <= std::max(a, b); }

// The meeting point of the two edges' lines, when it lies in both edges' boxes.
bool Edges_Cross(const Seg& e, const Seg& f, double& x, double& y) {
    int16_t flag = 0;
    x = y = 0;
    SYST_Segment_Intersection(e.X1, e.Y1, e.X2, e.Y2, f.X1, f.Y1, f.X2, f.Y2, flag, x, y);
    if (flag == 0) return false;
    return Within(x, e.X1, e.X2) && Within(y, e.Y1, e.Y2) && Within(x, f.X1, f.X2) &&
           Within(y, f.Y1, f.Y2);
}

bool Boxes_Meet(const Seg& e, const Seg& f) {
    return std::max(std::min(e.X1, e.X2), std::min(f.X1, f.X2)) <= std::min(std::max(e.X1, e.X2), std::max(f.X1, f.X2)) &&
           std::max(std::min(e.Y1, e.Y2), std::min(f.Y1, f.Y2)) <= std::min(std::max(e.Y1, e.Y2), std::max(f.Y1, f.Y2));
}

// The place of an edge pair in the order the pairs are examined: all pairs of open edges by
// (i, j), then the closing edge against j. Edges are numbered 0..count-1 from the first point;
// edge count-1 is the closing edge of a ring. Pairs never examined give no rank.
bool Pair_Rank(int32_t i, int32_t j, int32_t points, bool ring, int64_t& rank) {
    if (i > j) std::swap(i, j);
    const int32_t open_edges = points - 1;  // edges 0..points-2
    if (j - i < 2) return false;
    if (j < open_edges) {
        rank = static_cast<int64_t>(i) * points + j;
        return true;
    }
    if (!ring || j != open_edges) return false;
    // The closing edge against edges 1..points-3.
    if (i < 1 || i > points - 3) return false;
    rank = static_cast<int64_t>(points) * points + i;
    return true;
}

int16_t Line_Crosses(int32_t line, bool ring) {
    const Work_Poly_Rec& rec = Work_Poly_Table(line);
    const int32_t f = rec.First_Point;
    const int32_t l = rec.Last_Point;
    if (l - f < 3) return 0;
    const int32_t points = l - f + 1;
    std::vector<Seg> edges;
    edges.reserve(static_cast<size_t>(points));
    for (int32_t k = f; k <= l; ++k) {
        const Work_Point_Rec& p = Work_Point_Table(k);
        const Work_Point_Rec& q = Work_Point_Table(k < l ? k + 1 : f);
        edges.push_back({p.X, p.Y, q.X, q.Y});
    }
    if (!ring) edges.pop_back();
    const int32_t count = static_cast<int32_t>(edges.size());

    // Only edges whose boxes meet can cross: bucket the boxes on a grid over the line's box and
    // test the pairs that share a bucket, keeping the pair examined first.
    double min_x = 1e300, min_y = 1e300, max_x = -1e300, max_y = -1e300;
    for (const Seg& e : edges) {
        min_x = std::min({min_x, e.X1, e.X2});
        max_x = std::max({max_x, e.X1, e.X2});
        min_y = std::min({min_y, e.Y1, e.Y2});
        max_y = std::max({max_y, e.Y1, e.Y2});
    }
    const int32_t side = std::max<int32_t>(1, static_cast<int32_t>(std::sqrt(static_cast<double>(count))));
    const double cw = max_x > min_x ? (max_x - min_x) / side : 1.0;
    const double ch = max_y > min_y ? (max_y - min_y) / side : 1.0;
    auto cell = [&](double v, double lo, double size) {
        double c = std::floor((v - lo) / size);
        if (!(c >= 0)) return int32_t{0};
        return c >= side ? side - 1 : static_cast<int32_t>(c);
    };
    std::vector<std::vector<int32_t>> buckets(static_cast<size_t>(side) * side);
    int64_t inserted = 0;
    const int64_t insert_limit = 64 * static_cast<int64_t>(count) + 4096;
    bool brute = !std::isfinite(cw) || !std::isfinite(ch);
    for (int32_t e = 0; e < count && !brute; ++e) {
        const Seg& s = edges[static_cast<size_t>(e)];
        int32_t cx0 = cell(std::min(s.X1, s.X2), min_x, cw), cx1 = cell(std::max(s.X1, s.X2), min_x, cw);
        int32_t cy0 = cell(std::min(s.Y1, s.Y2), min_y, ch), cy1 = cell(std::max(s.Y1, s.Y2), min_y, ch);
        inserted += static_cast<int64_t>(cx1 - cx0 + 1) * (cy1 - cy0 + 1);
        if (inserted > insert_limit) {
            brute = true;
            break;
        }
        for (int32_t cy = cy0; cy <= cy1; ++cy)
            for (int32_t cx = cx0; cx <= cx1; ++cx) buckets[static_cast<size_t>(cy) * side + cx].push_back(e);
    }

    int64_t best = std::numeric_limits<int64_t>::max();
    double best_x = 0, best_y = 0;
    auto consider = [&](int32_t a, int32_t b) {
        int64_t rank = 0;
        if (!Pair_Rank(a, b, points, ring, rank) || rank >= best) return;
        int32_t i = std::min(a, b), j = std::max(a, b);
        const Seg& first = edges[static_cast<size_t>(j == points - 1 && ring ? j : i)];
        const Seg& second = edges[static_cast<size_t>(j == points - 1 && ring ? i : j)];
        if (!Boxes_Meet(first, second)) return;
        double x = 0, y = 0;
        if (Edges_Cross(first, second, x, y)) {
            best = rank;
            best_x = x;
            best_y = y;
        }
    };
    if (brute) {
        for (int32_t a = 0; a < count; ++a)
            for (int32_t b = a + 2; b < count; ++b) consider(a, b);
    } else {
        for (const auto& bucket : buckets)
            for (size_t u = 0; u < bucket.size(); ++u)
                for (size_t v = u + 1; v < bucket.size(); ++v) consider(bucket[u], bucket[v]);
    }
    if (best == std::numeric_limits<int64_t>::max()) return 0;
    Cross_Point_X = SYST_Round(best_x);
    Cross_Point_Y = SYST_Round(best_y);
    return 1;
}

}  // namespace

int16_t API_Line_Crosses_Itself(int32_t& line) { return Line_Crosses(line, true); }
int16_t API_Coast_Crosses_Itself(int32_t& line) { return Line_Crosses(line, false); }

int16_t API_Check_Self_Crossings() {
    for (int32_t line = 1; line <= Work_Poly_Count; ++line)
        if (API_Line_Crosses_Itself(line) == 1) return 3;
    return 0;
}

int16_t API_Check_Coast_Crossings() {
    for (int32_t line = 1; line <= Work_Poly_Count; ++line)
        if (API_Coast_Crosses_Itself(line) == 1) return 3;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Nesting groups

void Srf_Exchange_Sort(Vb_Array<Srf_Vertex_Rec>& table, int32_t n) {
    if (n < 2) return;
    // Exchanging equal entries too leaves them in reverse table order. The order is worked out
    // on places and applied in the table itself: a sorted copy of the vertices would be as big.
    std::vector<int32_t> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        const Srf_Vertex_Rec& p = table(a + 1);
        const Srf_Vertex_Rec& q = table(b + 1);
        if (p.X < q.X || (p.X == q.X && p.Y < q.Y)) return true;
        if (q.X < p.X || (q.X == p.X && q.Y < p.Y)) return false;
        return a > b;
    });
    Exchange_Sort_Apply(std::move(order), [&](int32_t i) -> Srf_Vertex_Rec& { return table(i + 1); });
}

namespace {

void Separate(Vb_Array<Srf_Vertex_Rec>& table, int32_t n, double step, bool along_x) {
    auto value = [&](int32_t i) -> double& { return along_x ? table(i).X : table(i).Y; };
    int32_t i = 1;
    while (i <= n - 1) {
        const double base = value(i);
        if (value(i + 1) != base) {
            ++i;
            continue;
        }
        int32_t j = i + 1;
        while (j <= n && value(j) == base) ++j;
        for (int32_t t = i + 1; t < j; ++t) value(t) = base + (t - i) * step;
        i = j;
    }
}

// Crossings of the downward ray from p with the ring whose vertices are given by `vertex`
// (cyclic); the smallest crossing y in `nearest`.
template <class Vertex_At>
int32_t Ray_Crossings(double px, double py, int32_t count, Vertex_At vertex, double& nearest) {
    nearest = 1e10;
    int32_t crossings = 0;
    for (int32_t i = 0; i < count; ++i) {
        const Srf_Vertex_Rec& e1 = vertex(i);
        const Srf_Vertex_Rec& e2 = vertex(i + 1 < count ? i + 1 : 0);
        if (!(std::min(e1.X, e2.X) <= px && px <= std::max(e1.X, e2.X))) continue;
        double ye;
        if (e1.Y == e2.Y) {
            ye = e1.Y;
        } else {
            if (e1.X == e2.X) continue;  // the separation keeps this from happening
            ye = e1.Y + (px - e1.X) * ((e2.Y - e1.Y) / (e2.X - e1.X));
        }
        if (ye > py) {
            ++crossings;
            nearest = std::min(nearest, ye);
        }
    }
    return crossings;
}

const Srf_Vertex_Rec& Sorted_Vertex(int32_t vertex_entry) {
    return Srf_Vertex_Table(Srf_Vertex_Index(vertex_entry).Sorted_Pos);
}

}  // namespace

void Srf_Separate_X() { Separate(Srf_Vertex_Table, Srf_Vertex_Count, 0.00001, true); }
void Srf_Separate_Y() { Separate(Srf_Vertex_Table, Srf_Vertex_Count, 0.00001, false); }

void Srf_Find_Crossing(uint8_t& found) {
    found = 0;
    if (Srf_Poly_Count < 2) return;
    // Only the boxes are kept for every polygon: the edges of the two polygons of a pair whose
    // boxes meet are taken when the pair comes, so that the check holds two polygons' edges
    // rather than every one of them.
    struct Poly_Box {
        bool has_edges = false;
        double min_x = 1e300, min_y = 1e300, max_x = -1e300, max_y = -1e300;
    };
    std::vector<Poly_Box> boxes(static_cast<size_t>(Srf_Poly_Count));
    for (int32_t i = 1; i <= Srf_Poly_Count; ++i) {
        const Srf_Poly_Rec& p = Srf_Poly_Table(i);
        Poly_Box& box = boxes[static_cast<size_t>(i - 1)];
        if (p.Last_Vertex - p.First_Vertex < 1) continue;
        box.has_edges = true;
        for (int32_t d = p.First_Vertex; d <= p.Last_Vertex; ++d) {
            const Srf_Vertex_Rec& a = Sorted_Vertex(d);
            box.min_x = std::min(box.min_x, a.X);
            box.max_x = std::max(box.max_x, a.X);
            box.min_y = std::min(box.min_y, a.Y);
            box.max_y = std::max(box.max_y, a.Y);
        }
    }
    auto edges_of = [](size_t entry, std::vector<Seg>& edges) {
        const Srf_Poly_Rec& p = Srf_Poly_Table(static_cast<int64_t>(entry) + 1);
        edges.clear();
        for (int32_t d = p.First_Vertex; d <= p.Last_Vertex; ++d) {
            const Srf_Vertex_Rec& a = Sorted_Vertex(d);
            const Srf_Vertex_Rec& b = Sorted_Vertex(d < p.Last_Vertex ? d + 1 : p.First_Vertex);
            edges.push_back({a.X, a.Y, b.X, b.Y});
        }
    };
    std::vector<Seg> a_edges, b_edges;
    for (size_t i = 0; i + 1 < boxes.size(); ++i) {
        const Poly_Box& a = boxes[i];
        if (!a.has_edges) continue;
        bool a_taken = false;
        for (size_t m = i + 1; m < boxes.size(); ++m) {
            const Poly_Box& b = boxes[m];
            // Segments meet only where their boxes do, and so do the polygons' boxes.
            if (!b.has_edges || b.min_x > a.max_x || b.max_x < a.min_x || b.min_y > a.max_y || b.max_y < a.min_y)
                continue;
            if (!a_taken) {
                edges_of(i, a_edges);
                a_taken = true;
            }
            edges_of(m, b_edges);
            for (const Seg& e : a_edges) {
                for (const Seg& f : b_edges) {
                    if (!Boxes_Meet(e, f)) continue;
                    int16_t code = 0;
                    double x = 0, y = 0;
                    SYST_Classify_Segments(e.X1, e.Y1, e.X2, e.Y2, f.X1, f.Y1, f.X2, f.Y2, code, x, y);
                    if (code == 2 || code == 3) {
                        found = 1;
                        return;
                    }
                }
            }
        }
    }
}

int16_t Srf_Check_Polygons() {
    uint8_t found = 0;
    Srf_Find_Crossing(found);
    if (found) return 4;
    Srf_Separate_Y();
    Srf_Separate_X();
    return 0;
}

void Srf_Point_In_Polygon(int32_t a, int32_t b, int16_t& inside) {
    inside = 0;
    const Srf_Poly_Rec& pa = Srf_Poly_Table(a);
    const Srf_Poly_Rec& pb = Srf_Poly_Table(b);
    const int32_t count = pb.Last_Vertex - pb.First_Vertex + 1;
    if (count < 3 || pa.Last_Vertex < pa.First_Vertex) return;
    const Srf_Vertex_Rec p = Sorted_Vertex(pa.First_Vertex);
    double nearest = 0;
    int32_t crossings = Ray_Crossings(p.X, p.Y, count,
                                      [&](int32_t i) -> const Srf_Vertex_Rec& { return Sorted_Vertex(pb.First_Vertex + i); },
                                      nearest);
    inside = (crossings % 2 == 1 && nearest < 1e10) ? 1 : 0;
}

void Com_Group_Touching_Polys(int16_t& found, int16_t& error) {
    found = 0;
    error = 0;
    Nesting_Tables_Erase();
    int32_t capacity = 20;
    Srf_Poly_Table.ReDim(capacity);
    int32_t total = 0;
    for (int32_t w = 1; w <= Work_Poly_Count; ++w) {
        const Work_Poly_Rec& rec = Work_Poly_Table(w);
        if (!rec.Attr->Imbrication.empty()) continue;
        if (Srf_Poly_Count >= capacity) {
            capacity += 10;
            Srf_Poly_Table.ReDim_Preserve(capacity);
        }
        Srf_Poly_Rec& entry = Srf_Poly_Table(++Srf_Poly_Count);
        entry = Srf_Poly_Rec{rec.Line_Id, 0, w, 0, 0};
        found = 1;
        total += rec.Nb_Points;
    }
    if (found == 0) {
        Nesting_Tables_Erase();
        return;
    }

    Srf_Vertex_Index.ReDim(total);
    Srf_Vertex_Table.ReDim(total + 1);
    Srf_Vertex_Count = total;
    int32_t j = 0;
    for (int32_t i = 1; i <= Srf_Poly_Count; ++i) {
        Srf_Poly_Rec& entry = Srf_Poly_Table(i);
        const Work_Poly_Rec& rec = Work_Poly_Table(entry.Work_Index);
        entry.First_Vertex = j + 1;
        for (int32_t k = 0; k < rec.Nb_Points; ++k) {
            ++j;
            const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + k);
            Srf_Vertex_Index(j) = {i, rec.First_Point + k, j};
            Srf_Vertex_Table(j) = {p.X, p.Y, j};
        }
        entry.Last_Vertex = j;
    }
    Srf_Exchange_Sort(Srf_Vertex_Table, total);
    for (int32_t pos = 1; pos <= total; ++pos) Srf_Vertex_Index(Srf_Vertex_Table(pos).Index_Entry).Sorted_Pos = pos;

    if (Srf_Check_Polygons() == 4) {
        error = 4;
        Nesting_Tables_Erase();
        return;
    }

    int32_t group_capacity = 10;
    Touch_Group_Table.ReDim(group_capacity);
    Touch_Group_Members.ReDim(Srf_Poly_Count);
    std::vector<uint8_t> taken(static_cast<size_t>(Srf_Poly_Count) + 1, 0);  // outer or member
    auto owner = [](int32_t pos) { return Srf_Vertex_Index(Srf_Vertex_Table(pos).Index_Entry).Poly_Entry; };

    int32_t head = total >= 1 ? owner(1) : 0;
    int32_t pos = 1;
    while (head != 0) {
        Srf_Poly_Table(head).Grouped = 1;
        taken[static_cast<size_t>(head)] = 1;
        if (Touch_Group_Count >= group_capacity) {
            group_capacity += 10;
            Touch_Group_Table.ReDim_Preserve(group_capacity);
        }
        Touch_Group_Rec& group = Touch_Group_Table(++Touch_Group_Count);
        group = Touch_Group_Rec{head, 0, 0, 0};
        if (Work_Poly_Table(Srf_Poly_Table(head).Work_Index).Nb_Points > 2) {
            // A first vertex outside the head's box meets no edge on its ray: not inside.
            double min_x = 1e300, max_x = -1e300, max_y = -1e300;
            const Srf_Poly_Rec& hp = Srf_Poly_Table(head);
            for (int32_t d = hp.First_Vertex; d <= hp.Last_Vertex; ++d) {
                min_x = std::min(min_x, Sorted_Vertex(d).X);
                max_x = std::max(max_x, Sorted_Vertex(d).X);
                max_y = std::max(max_y, Sorted_Vertex(d).Y);
            }
            for (int32_t v = 1; v <= Srf_Poly_Count; ++v) {
                if (v == head || Srf_Poly_Table(v).Grouped) continue;
                const Srf_Poly_Rec& vp = Srf_Poly_Table(v);
                if (vp.Last_Vertex < vp.First_Vertex) continue;
                const Srf_Vertex_Rec& first = Sorted_Vertex(vp.First_Vertex);
                if (first.X < min_x || first.X > max_x || first.Y > max_y) continue;
                int16_t inside = 0;
                Srf_Point_In_Polygon(v, head, inside);
                if (!inside) continue;
                Srf_Poly_Table(v).Grouped = 1;
                taken[static_cast<size_t>(v)] = 1;
                Touch_Group_Members(++Touch_Group_Member_Count) = v;
                Touch_Group_Rec& g = Touch_Group_Table(Touch_Group_Count);
                if (!g.Has_Members) g.First_Member = Touch_Group_Member_Count;
                g.Last_Member = Touch_Group_Member_Count;
                g.Has_Members = 1;
            }
        }
        head = 0;
        for (pos = std::max(pos, 2); pos <= total; ++pos) {
            int32_t candidate = owner(pos);
            if (!taken[static_cast<size_t>(candidate)]) {
                head = candidate;
                break;
            }
        }
    }
    Srf_Vertex_Table.Erase();
}

// ---------------------------------------------------------------------------------------------
// Ring points of one group

void Srf_Sort_Points() { Srf_Exchange_Sort(Srf_Ring_Points, Srf_Ring_Point_Count); }
void Srf_Separate_Points_X() { Separate(Srf_Ring_Points, Srf_Ring_Point_Count, 0.0001, true); }
void Srf_Separate_Points_Y() { Separate(Srf_Ring_Points, Srf_Ring_Point_Count, 0.0001, false); }

namespace {

int32_t Ring_Of_Vertex(int32_t vertex_entry) {
    for (int32_t r = 1; r <= Srf_Ring_Count; ++r) {
        const Srf_Ring_Rec& ring = Srf_Ring_Table(r);
        if (vertex_entry >= ring.First_Vertex && vertex_entry <= ring.Last_Vertex) return r;
    }
    return 0;
}

}  // namespace

void Srf_Innermost_Polygon(int32_t p, int32_t nodes, int32_t& enclosing) {
    enclosing = 0;
    double best = 1e10;
    const Srf_Vertex_Rec point = Srf_Ring_Points(p);
    for (int32_t node = 1; node <= nodes; ++node) {
        const Srf_Ring_Rec& ring = Srf_Ring_Table(Srf_Ring_Tree(node).Ring);
        const int32_t count = ring.Last_Vertex - ring.First_Vertex + 1;
        if (count < 3) continue;
        double nearest = 0;
        int32_t crossings = Ray_Crossings(
            point.X, point.Y, count,
            [&](int32_t i) -> const Srf_Vertex_Rec& {
                return Srf_Ring_Points(Srf_Vertex_Index(ring.First_Vertex + i).Sorted_Pos);
            },
            nearest);
        if (crossings % 2 == 1 && nearest < best) {
            best = nearest;
            enclosing = Srf_Ring_Tree(node).Ring;
        }
    }
}

void Srf_Find_Polygon_Of_Point(int32_t p, int32_t nodes, uint8_t& skip, int32_t& ring,
                               int32_t& enclosing) {
    skip = 0;
    ring = 0;
    enclosing = 0;
    const int32_t r = Ring_Of_Vertex(Srf_Ring_Points(p).Index_Entry);
    if (r == 0) {
        skip = 1;
        return;
    }
    for (int32_t node = 1; node <= nodes; ++node) {
        if (Srf_Ring_Tree(node).Ring == r) {
            skip = 1;
            return;
        }
    }
    ring = r;
    Srf_Innermost_Polygon(p, nodes, enclosing);
}
