// Drawn polygons of one output kind made work polygons: cleaned, wound one way, checked, and
// numbered by nesting group or ring tree.
#include "generation/prepare_polygons.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>

#include "core/erreur.h"
#include "core/geometry.h"
#include "core/project.h"
#include "generation/exchange_sort.h"
#include "generation/debug_draw.h"
#include "generation/grid_cut.h"
#include "generation/polygon_checks.h"
#include "generation/resplit.h"
#include "generation/work_tables.h"
#include "generation/world_clip.h"
#include "platform/text.h"

namespace {

bool Takes_Line(const Line_Rec& line, int16_t mode) {
    const Route_Attrib& a = line.Attr;
    if (a.SurfShore != 0 && a.SurfShore != 1) return false;
    if (line.Nb_Points <= 1) return false;
    switch (mode) {
        case 0: return a.LWM_VTP2 == 0;
        case 1: return a.LWM_VTP2 == 2;
        case 2: return a.LWM_VTP2 == 1;
        default: return false;
    }
}

// The line's points along its chain. A damaged chain cannot run on: the walk stops at the last
// point, after the line's point count, or at an id of 0 or outside the table.
std::vector<Plane_Point> Chain_Points(const Line_Rec& line) {
    std::vector<Plane_Point> pts;
    int32_t id = line.First_Point;
    while (id != 0 && Point_Table.In_Range(id) && static_cast<int32_t>(pts.size()) < line.Nb_Points) {
        const Point_Rec& p = Point_Table(id);
        pts.push_back({p.X, p.Y});
        if (id == line.Last_Point) break;
        id = p.Next_Point;
    }
    return pts;
}

bool Same(const Plane_Point& a, const Plane_Point& b) { return a.X == b.X && a.Y == b.Y; }

// False when fewer than two points are left after the repeated points went; later steps may
// still leave one or two points, and such a record travels on.
bool Clean(std::vector<Plane_Point>& pts) {
    if (pts.empty()) return false;
    pts.push_back(pts.front());
    // Repeated points, the closing copy included: of each run of equal points one stays.
    pts.erase(std::unique(pts.begin(), pts.end(), Same), pts.end());
    pts.pop_back();
    if (pts.size() < 2) return false;

    if (pts.size() >= 3) {
        // A middle point on the line through its neighbours goes, and the point after it is
        // tested against the same first point; one pass, writing the kept points in place.
        pts.push_back(pts.front());
        size_t kept = 0;          // pts[0..kept] are final
        size_t candidate = 1;
        for (size_t next = 2; next < pts.size(); ++next) {
            if (API_Turn_Direction(pts[kept], pts[candidate], pts[next]) != 0) pts[++kept] = pts[candidate];
            candidate = next;
        }
        pts[++kept] = pts[candidate];
        pts.resize(kept + 1);
        pts.pop_back();
    }
    if (pts.size() >= 2 && API_Turn_Direction(pts.back(), pts[0], pts[1]) == 0) pts.erase(pts.begin());

    if (pts.size() >= 3 && API_Get_Polygon_Winding(pts, static_cast<int32_t>(pts.size())) == 0)
        std::reverse(pts.begin(), pts.end());
    return true;
}

void Append_Work_Polygon(const Line_Rec& line, const std::vector<Plane_Point>& pts) {
    std::vector<Work_Point_Rec> points;
    points.reserve(pts.size());
    for (const Plane_Point& p : pts) points.push_back({p.X, p.Y, 0});
    Work_Tables_Append(line, points, 20);
}

void Refuse() {
    Touch_Groups_Found = 0;
    Line_Groups_Numbered = 0;
}

}  // namespace

uint8_t API_Get_Polygon_Winding(const std::vector<Plane_Point>& points, int32_t count) {
    count = std::min<int32_t>(count, static_cast<int32_t>(points.size()));
    if (count < 1) return 0;
    int32_t v = 0;
    double smallest = std::numeric_limits<double>::infinity();
    for (int32_t i = 0; i < count; ++i) {
        if (points[static_cast<size_t>(i)].X < smallest) {
            smallest = points[static_cast<size_t>(i)].X;
            v = i;
        }
    }
    const Plane_Point& p = points[static_cast<size_t>(v == 0 ? count - 1 : v - 1)];
    const Plane_Point& c = points[static_cast<size_t>(v)];
    const Plane_Point& n = points[static_cast<size_t>(v == count - 1 ? 0 : v + 1)];
    return SYST_Cross_Product(p.X, p.Y, c.X, c.Y, n.X, n.Y) > 0 ? 1 : 0;
}

namespace {

// The split and the cut part by part, so that neither the whole table of concave pieces nor its
// cut ever stands: each part is split, cut and handed on (to `index`, or gathered into the work
// tables) before the next. The boxes come as the whole-table stages show them: the split's,
// then the cut's.
bool Split_And_Cut(int32_t limit, int16_t mode, Piece_Index* index) {
    std::vector<Work_Part> parts = API_Concave_Input_Parts();
    Concave_Part_Split split(limit);
    Cell_Part_Cut cut;
    std::vector<Work_Part> pieces;
    if (!cut.Begin(mode, parts)) {
        // The cut's grid cannot be stepped: the cut over the whole table says so once the split
        // is done, with the boxes of the lines it could cut.
        for (Work_Part& part : parts) pieces.push_back(split.Split(std::move(part)));
        split.End();
        Work_Tables_Join(std::move(pieces));
        if (!API_Cut_Polygons_Cells(mode)) return false;
        if (index) index->Add_Work_Tables();
        return true;
    }
    for (Work_Part& part : parts) {
        Work_Part cell_pieces = cut.Cut(split.Split(std::move(part)));
        if (index)
            index->Add(std::move(cell_pieces));
        else
            pieces.push_back(std::move(cell_pieces));
    }
    split.End();
    if (!cut.End()) return false;
    if (!pieces.empty()) Work_Tables_Join(std::move(pieces));
    return true;
}

// The preparation; with `index`, the pieces of a whole cut go there rather than into the work
// tables.
void Prepare_Polygons(int16_t mode, Piece_Index* index) {
    Polygon_Cut_Aborted = 0;
    Work_Tables_Size(Line_Count, Point_Count);
    const World_Box world = World_Pixel_Box();
    for (int32_t i = 2; i <= Line_Count; ++i) {
        const Line_Rec& line = Line_Table(i);
        if (!Takes_Line(line, mode)) continue;
        // What lies beyond the world is cut at its edge.
        std::vector<Plane_Point> pts = World_Clip_Ring(Chain_Points(line), world);
        if (!Clean(pts)) continue;
        Append_Work_Polygon(line, pts);
    }

    if (API_Check_Self_Crossings() == 3) {
        ERREUR_Show_Message_Extra(121, "Bmp pixel X:" + std::to_string(Cross_Point_X) + " Y:" +
                                           std::to_string(Cross_Point_Y));
        Refuse();
        return;
    }

    Line_Groups_Numbered = 0;
    API_Number_Line_Groups();
    int16_t error = 0;
    Com_Group_Touching_Polys(Touch_Groups_Found, error);
    if (error == 4) {
        Msg_Answer = ERREUR_Show_Message(122);
        Refuse();
        return;
    }
    if (Touch_Groups_Found != 1 && Line_Groups_Numbered != 1) return;

    if (Touch_Groups_Found == 1) API_Order_Touching_Polys();
    Nesting_Tables_Erase();
    int32_t limit = mode == 1 ? 24 : 60;
    bool cut = false;
    if (Debug_Draw == 0) {
        cut = Split_And_Cut(limit, mode, index);
    } else {
        // Drawn as ever: every split, then every cut.
        API_Split_Concave(limit);
        cut = API_Cut_Polygons_Cells(mode);
        if (cut && index) index->Add_Work_Tables();
    }
    Cut_Tables_Erase();
    if (!cut) {
        // Half-cut polygons would come out distorted: none of this run is written.
        Work_Tables_Erase();
        Refuse();
    }
}

}  // namespace

void API_Prepare_Polygons(int16_t mode) { Prepare_Polygons(mode, nullptr); }

bool API_Prepare_Pieces(int16_t mode) {
    Piece_Index index(mode, Point_Count);
    Prepare_Polygons(mode, &index);
    if (Touch_Groups_Found != 1 && Line_Groups_Numbered != 1) {
        Work_Tables_Erase();  // refused polygons: none of them is written
        return false;
    }
    index.End();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Named groups

void API_Number_Line_Groups() {
    struct Named {
        int32_t Line_Id;
        int32_t Work_Index;
        std::string_view Text;   // in the record's attributes, which outlive the list
    };
    std::vector<Named> list;
    for (int32_t w = 1; w <= Work_Poly_Count; ++w) {
        const Work_Poly_Rec& rec = Work_Poly_Table(w);
        if (!rec.Attr->Imbrication.empty()) list.push_back({rec.Line_Id, w, rec.Attr->Imbrication});
    }
    // The exchange sort's order (equal texts included) without its n^2 comparisons.
    Exchange_Sort_Vector(list, [](const Named& a, const Named& b) { return a.Text < b.Text; }, false);

    size_t start = 0;
    while (start < list.size()) {
        // Three characters, not bytes: an accented letter takes two.
        const std::string head = plat::Left_Chars(list[start].Text, 3);
        size_t end = start + 1;
        while (end < list.size() && plat::Left_Chars(list[end].Text, 3) == head) ++end;
        const int32_t group = list[end - 1].Line_Id;
        for (size_t k = start; k < end; ++k) {
            Work_Poly_Rec& rec = Work_Poly_Table(list[k].Work_Index);
            rec.Ring_Number = static_cast<int32_t>(k - start + 1);
            rec.Group_Id = group;
        }
        start = end;
    }
    if (!list.empty()) Line_Groups_Numbered = 1;
}

// ---------------------------------------------------------------------------------------------
// Ring tree of one nesting group

void API_Order_Touching_Polys() {
    for (int32_t g = 1; g <= Touch_Group_Count; ++g) {
        const Touch_Group_Rec& group = Touch_Group_Table(g);
        std::vector<int32_t> rings{group.Outer};
        if (group.Has_Members)
            for (int32_t m = group.First_Member; m <= group.Last_Member; ++m) rings.push_back(Touch_Group_Members(m));

        int32_t total = 0;
        for (int32_t entry : rings) {
            const Srf_Poly_Rec& p = Srf_Poly_Table(entry);
            total += p.Last_Vertex - p.First_Vertex + 1;
        }
        Srf_Ring_Count = static_cast<int32_t>(rings.size());
        Srf_Ring_Table.ReDim(Srf_Ring_Count);
        Srf_Ring_Points.ReDim(total + 1);
        Srf_Ring_Point_Count = 0;
        for (int32_t r = 1; r <= Srf_Ring_Count; ++r) {
            const Srf_Poly_Rec& p = Srf_Poly_Table(rings[static_cast<size_t>(r - 1)]);
            Srf_Ring_Table(r) = Srf_Ring_Rec{rings[static_cast<size_t>(r - 1)], 0, p.First_Vertex, p.Last_Vertex};
            for (int32_t v = p.First_Vertex; v <= p.Last_Vertex; ++v) {
                const Work_Point_Rec& wp = Work_Point_Table(Srf_Vertex_Index(v).Work_Point);
                Srf_Ring_Points(++Srf_Ring_Point_Count) = Srf_Vertex_Rec{wp.X, wp.Y, v};
            }
        }
        Srf_Sort_Points();
        for (int32_t pos = 1; pos <= Srf_Ring_Point_Count; ++pos)
            Srf_Vertex_Index(Srf_Ring_Points(pos).Index_Entry).Sorted_Pos = pos;
        Srf_Separate_Points_Y();
        Srf_Separate_Points_X();

        API_Build_Ring_Tree();
        API_Number_Rings();

        const int32_t outer_id = Srf_Poly_Table(group.Outer).Line_Id;
        for (int32_t r = 1; r <= Srf_Ring_Count; ++r) {
            const Srf_Ring_Rec& ring = Srf_Ring_Table(r);
            Work_Poly_Rec& rec = Work_Poly_Table(Srf_Poly_Table(ring.Poly_Entry).Work_Index);
            rec.Ring_Number = ring.Ring_Number;
            rec.Group_Id = outer_id;
        }
        Ring_Tables_Erase();
    }
    Nesting_Tables_Erase();
}

void API_Build_Ring_Tree() {
    Srf_Ring_Tree.ReDim(Srf_Ring_Count);
    Srf_Ring_Node_Count = 0;
    if (Srf_Ring_Count < 1) return;
    auto vertices = [](int32_t ring) {
        const Srf_Ring_Rec& r = Srf_Ring_Table(ring);
        return r.Last_Vertex - r.First_Vertex + 1;
    };
    Srf_Ring_Tree(1) = Ring_Tree_Node{1, vertices(1), 1, 0, 0, 0, 0, 0, 0};
    Srf_Ring_Node_Count = 1;
    for (int32_t p = 2; p <= Srf_Ring_Point_Count && Srf_Ring_Node_Count < Srf_Ring_Count; ++p) {
        uint8_t skip = 0;
        int32_t ring = 0, enclosing = 0;
        Srf_Find_Polygon_Of_Point(p, Srf_Ring_Node_Count, skip, ring, enclosing);
        if (skip) continue;
        int32_t parent = 1;
        for (int32_t node = 1; node <= Srf_Ring_Node_Count; ++node) {
            if (Srf_Ring_Tree(node).Ring == enclosing) {
                parent = node;
                break;
            }
        }
        const int32_t node = ++Srf_Ring_Node_Count;
        Srf_Ring_Tree(node) = Ring_Tree_Node{ring, vertices(ring), 0, 0, parent, 0, 0, 0, 0};
        Ring_Tree_Node& par = Srf_Ring_Tree(parent);
        ++par.Child_Count;
        if (par.Child_Count == 1)
            par.First_Child = node;
        else
            par.Branch = 1;
        Srf_Ring_Tree(node).Depth = par.Depth + 1;
        if (par.Child_Count > 1) {
            for (int32_t k = 2; k < node; ++k) {
                Ring_Tree_Node& sib = Srf_Ring_Tree(k);
                if (sib.Parent == parent && sib.Next_Sibling == 0) {
                    sib.Next_Sibling = node;
                    break;
                }
            }
        }
    }
}

// The numbering reads and writes the tree and the ring table only: the group's sorted points
// need no copy to come through it unchanged.
void API_Number_Rings() { API_Number_Ring_Tree(); }

void API_Number_Ring_Tree() {
    const int32_t nodes = Srf_Ring_Node_Count;
    if (nodes < 1) return;
    int16_t counter = 0;
    auto node = [](int32_t i) -> Ring_Tree_Node& { return Srf_Ring_Tree(i); };
    auto give = [&](int32_t i) { Srf_Ring_Table(node(i).Ring).Ring_Number = ++counter; };

    node(1).Branch = 1;
    // Every round numbers at least one branch node, so there are at most `nodes` rounds.
    for (int32_t round = 0; round <= nodes; ++round) {
        int32_t deepest = 0;
        for (int32_t i = 1; i <= nodes; ++i)
            if (node(i).Branch && !node(i).Numbered) deepest = std::max(deepest, node(i).Depth);
        if (deepest == 0) return;

        for (int32_t j = 1; j <= nodes; ++j) {
            if (node(j).Depth != deepest || !node(j).Branch || node(j).Numbered) continue;
            int32_t c = node(j).First_Child;
            for (int32_t guard = 0; c != 0 && guard < nodes; ++guard, c = node(c).Next_Sibling) {
                if (node(c).Numbered || node(c).Vertex_Count <= 2) continue;
                int32_t end = c;
                for (int32_t steps = 0; steps < nodes && !node(end).Branch && node(end).First_Child != 0; ++steps)
                    end = node(end).First_Child;
                int32_t start;
                if (node(end).Branch) {
                    if (end == c) continue;  // a branch of its own: numbered in its turn
                    start = node(end).Parent;
                } else {
                    start = end;
                }
                int32_t x = start;
                for (int32_t steps = 0; x != 0 && !node(x).Branch && steps <= nodes; ++steps) {
                    int32_t taker = x;
                    if (node(x).Vertex_Count < 3) {
                        node(x).Numbered = 1;
                        taker = node(x).Parent;
                        if (taker == 0) break;
                    }
                    node(taker).Numbered = 1;
                    give(taker);
                    x = node(taker).Parent;
                }
            }
            node(j).Numbered = 1;
            for (int32_t k = 1; k <= nodes; ++k)
                if (node(k).Parent == j) node(k).Numbered = 1;
            give(j);
        }
    }
}
