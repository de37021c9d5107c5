#include "generation/grid_cut.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/grid.h"
#include "core/syst.h"
#include "generation/concave_split.h"
#include "generation/debug_draw.h"
#include "generation/exchange_sort.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"

namespace {

struct Box {
    double Min_X = 0, Min_Y = 0, Max_X = 0, Max_Y = 0;
};

Box Record_Box(const Vb_Array<Work_Point_Rec>& points, const Line_Rec& rec) {
    Box b{1e300, 1e300, -1e300, -1e300};
    for (int32_t i = 0; i < rec.Nb_Points; ++i) {
        const Work_Point_Rec& p = points(rec.First_Point + i);
        b.Min_X = std::min(b.Min_X, p.X);
        b.Max_X = std::max(b.Max_X, p.X);
        b.Min_Y = std::min(b.Min_Y, p.Y);
        b.Max_Y = std::max(b.Max_Y, p.Y);
    }
    return b;
}

void Append_Cut_Record(const Line_Rec& src, const std::vector<Work_Point_Rec>& pts) {
    Cut_Tables_Reserve(static_cast<int32_t>(pts.size()));
    ++Cut_Poly_Count;
    Line_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec = src;
    rec.First_Point = Cut_Point_Count + 1;
    for (const Work_Point_Rec& p : pts) Cut_Point_Table(++Cut_Point_Count) = p;
    rec.Last_Point = Cut_Point_Count;
    rec.Nb_Points = static_cast<int32_t>(pts.size());
}

// A whole record moved into the cut tables: the work tables are replaced after the pass.
void Move_Whole(int32_t record) {
    Line_Rec& src = Work_Poly_Table(record);
    const int32_t n = src.Nb_Points;
    if (n <= 0) return;
    Cut_Tables_Reserve(n);
    ++Cut_Poly_Count;
    Line_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    int32_t first = src.First_Point;
    rec = std::move(src);
    rec.First_Point = Cut_Point_Count + 1;
    for (int32_t i = 0; i < n; ++i) Cut_Point_Table(++Cut_Point_Count) = Work_Point_Table(first + i);
    rec.Last_Point = Cut_Point_Count;
    rec.Nb_Points = n;
}

void Draw_Last_Cut() {
    int32_t last = Cut_Poly_Count;
    API_Draw_Debug_Poly(last);
}

enum class Pass_Result { Done, Abnormal };

// One grid line over every work record. `horizontal`: a latitude line at `at` (map y).
Pass_Result Cut_One_Line(bool horizontal, double at, double tx, double ty, std::vector<Box>& boxes) {
    const int32_t records = Work_Poly_Count;
    Cut_Tables_Size(2 * records, SYST_Round(2.4 * Work_Point_Capacity));
    std::vector<Box> new_boxes;
    new_boxes.reserve(static_cast<size_t>(records) + 8);
    const double along_tol = horizontal ? ty : tx;   // tolerance across the line
    const double dup_tol = horizontal ? tx : ty;     // duplicates judged along the line

    for (int32_t r = 1; r <= records; ++r) {
        const Line_Rec& rec = Work_Poly_Table(r);
        const int32_t n = rec.Nb_Points;
        if (n <= 0) continue;
        const Box& box = boxes[static_cast<size_t>(r - 1)];
        const double lo = horizontal ? box.Min_Y : box.Min_X;
        const double hi = horizontal ? box.Max_Y : box.Max_X;
        // A record wholly off the line (beyond the tolerance) meets it nowhere.
        if (at < lo - 2 * along_tol || at > hi + 2 * along_tol) {
            new_boxes.push_back(box);
            Move_Whole(r);
            continue;
        }

        // Consecutive vertices within the tolerance of the line form one run: the line touches
        // or crosses the polygon there once, however many of them it passes near.
        std::vector<int32_t> run(static_cast<size_t>(n), 0);
        {
            int32_t id = 0;
            bool in_run = false;
            for (int32_t i = 0; i < n; ++i) {
                const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
                double d = horizontal ? p.Y - at : p.X - at;
                bool near = d >= -along_tol && d <= along_tol;
                if (near && !in_run) ++id;
                in_run = near;
                run[static_cast<size_t>(i)] = near ? id : 0;
            }
            // A run through the last and the first vertex of a ring is one run.
            if (n > 2 && run.front() != 0 && run.back() != 0) {
                const int32_t last_id = run.back();
                for (int32_t& r_id : run)
                    if (r_id == last_id) r_id = run.front();
            }
        }
        auto run_of = [&](double px, double py, int32_t s_pt, int32_t t_pt) {
            const Work_Point_Rec& a = Work_Point_Table(s_pt);
            int32_t v = (a.X == px && a.Y == py) ? s_pt : t_pt;
            return run[static_cast<size_t>(v - rec.First_Point)];
        };
        std::vector<int32_t> list_runs;

        std::vector<Grid_Crossing> list;
        int32_t crossings = 0;
        const int32_t edges = n == 2 ? 1 : n;
        for (int32_t e = 0; e < edges; ++e) {
            int32_t s = rec.First_Point + e;
            int32_t t = e + 1 < n ? s + 1 : rec.First_Point;
            const Work_Point_Rec& p1 = Work_Point_Table(s);
            const Work_Point_Rec& p2 = Work_Point_Table(t);
            int16_t code = 0;
            double px = 0, py = 0;
            if (horizontal)
                API_Cross_Horizontal_Line(p1.X, p1.Y, p2.X, p2.Y, at, along_tol, code, px, py);
            else
                API_Cross_Vertical_Line(p1.X, p1.Y, p2.X, p2.Y, at, along_tol, code, px, py);
            if (code != 2 && code != 3) continue;
            if (code == 3) {
                bool seen = false;
                for (const Grid_Crossing& c : list) {
                    bool shares = c.Edge_Start == s || c.Edge_Start == t || c.Edge_End == s || c.Edge_End == t;
                    double d = horizontal ? std::fabs(c.X - px) : std::fabs(c.Y - py);
                    if (shares && d <= dup_tol) {
                        seen = true;
                        break;
                    }
                }
                const int32_t this_run = run_of(px, py, s, t);
                if (!seen && this_run != 0)
                    seen = std::find(list_runs.begin(), list_runs.end(), this_run) != list_runs.end();
                if (seen) continue;
                list_runs.push_back(this_run);
            } else {
                list_runs.push_back(0);
            }
            ++crossings;
            if (list.size() < 4) list.push_back({s, t, code, px, py});
        }

        if (crossings == 0 || (crossings == 1 && (n != 2 || list[0].Code == 3))) {
            new_boxes.push_back(box);
            Move_Whole(r);
        } else if (crossings == 1) {
            API_Split_Line_At(r, list[0]);
            for (int32_t k = Cut_Poly_Count - 1; k <= Cut_Poly_Count; ++k)
                new_boxes.push_back(Record_Box(Cut_Point_Table, Cut_Poly_Table(k)));
        } else if (crossings == 2) {
            int32_t before = Cut_Poly_Count;
            if (API_Split_Polygon_Two(r, list[0], list[1]))
                for (int32_t k = before + 1; k <= Cut_Poly_Count; ++k)
                    new_boxes.push_back(Record_Box(Cut_Point_Table, Cut_Poly_Table(k)));
        } else {
            return Pass_Result::Abnormal;
        }
    }
    boxes = std::move(new_boxes);
    return Pass_Result::Done;
}

void Abandon_Cut(const char* message) {
    Cut_Tables_Erase();
    Polygon_Cut_Aborted = 1;
    Gen_Show_Failure(message);
}

}  // namespace

void API_Cross_Horizontal_Line(double x1, double y1, double x2, double y2, double line_y,
                               double tolerance, int16_t& code, double& px, double& py) {
    px = py = 0;
    if (y1 == y2) {
        code = 0;
        return;
    }
    if (line_y >= y1 - tolerance && line_y <= y1 + tolerance) {
        code = 3;
        px = x1;
        py = y1;
        return;
    }
    if (line_y >= y2 - tolerance && line_y <= y2 + tolerance) {
        code = 3;
        px = x2;
        py = y2;
        return;
    }
    int16_t flag = 0;
    SYST_Segment_Intersection(x1, y1, x2, y2, -100, line_y, 100, line_y, flag, px, py);
    code = (line_y > std::min(y1, y2) && line_y < std::max(y1, y2)) ? 2 : 1;
}

void API_Cross_Vertical_Line(double x1, double y1, double x2, double y2, double line_x,
                             double tolerance, int16_t& code, double& px, double& py) {
    px = py = 0;
    if (x1 == x2) {
        code = 0;
        return;
    }
    if (line_x >= x1 - tolerance && line_x <= x1 + tolerance) {
        code = 3;
        px = x1;
        py = y1;
        return;
    }
    if (line_x >= x2 - tolerance && line_x <= x2 + tolerance) {
        code = 3;
        px = x2;
        py = y2;
        return;
    }
    int16_t flag = 0;
    SYST_Segment_Intersection(x1, y1, x2, y2, line_x, -100, line_x, 100, flag, px, py);
    code = (line_x > std::min(x1, x2) && line_x < std::max(x1, x2)) ? 2 : 1;
}

void API_Split_Line_At(int32_t record, const Grid_Crossing& crossing) {
    const Line_Rec& rec = Work_Poly_Table(record);
    Work_Point_Rec first = Work_Point_Table(rec.First_Point);
    Work_Point_Rec last = Work_Point_Table(rec.Last_Point);
    Work_Point_Rec x{crossing.X, crossing.Y, 2};
    Append_Cut_Record(rec, {first, x});
    Draw_Last_Cut();
    Append_Cut_Record(Work_Poly_Table(record), {x, last});
    Draw_Last_Cut();
}

bool API_Split_Polygon_Two(int32_t record, const Grid_Crossing& a, const Grid_Crossing& b) {
    const Line_Rec& rec = Work_Poly_Table(record);
    const Grid_Crossing& c1 = b.Edge_Start < a.Edge_Start ? b : a;
    const Grid_Crossing& c2 = b.Edge_Start < a.Edge_Start ? a : b;
    const int32_t last = rec.First_Point + rec.Nb_Points - 1;

    std::vector<Work_Point_Rec> scratch;
    scratch.reserve(static_cast<size_t>(rec.Nb_Points) + 2);
    size_t p1 = 0, p2 = 0;  // 1-based positions of the two crossing points in the scratch list
    if (c1.Edge_Start == last && c2.Edge_Start == last) {
        Gen_Show_Failure("Anormal 2 Dec_2Poly");
        return false;
    }
    for (int32_t v = rec.First_Point; v <= last; ++v) {
        scratch.push_back(Work_Point_Table(v));
        if (p1 == 0 && v == c1.Edge_Start) {
            scratch.push_back({c1.X, c1.Y, 0});
            p1 = scratch.size();
        } else if (p1 != 0 && p2 == 0 && v == c2.Edge_Start) {
            scratch.push_back({c2.X, c2.Y, 0});
            p2 = scratch.size();
        }
    }
    if (p1 == 0) {
        Gen_Show_Failure("Anormal 1 Dec_2Poly");
        return false;
    }
    if (p2 == 0) {
        Gen_Show_Failure("Anormal 3 Dec_2Poly");
        return false;
    }
    std::vector<Work_Point_Rec> poly_a(scratch.begin() + static_cast<long>(p1 - 1),
                                       scratch.begin() + static_cast<long>(p2));
    std::vector<Work_Point_Rec> poly_b(scratch.begin() + static_cast<long>(p2 - 1), scratch.end());
    poly_b.insert(poly_b.end(), scratch.begin(), scratch.begin() + static_cast<long>(p1));
    Append_Cut_Record(rec, poly_a);
    Draw_Last_Cut();
    Append_Cut_Record(Work_Poly_Table(record), poly_b);
    Draw_Last_Cut();
    return true;
}

void API_Commit_Cut_Tables() { Work_Tables_Take_Cut_Tables(); }

bool API_Cut_Polygons_Cells(int16_t mode) {
    Polygon_Cut_Aborted = 0;
    Gen_Set_Compile_Name("Lod8/13 cut");
    Gen_Repaint();

    const double lat_step = mode == 2 ? Lod8_Height : Lod13_Height;
    const double lon_step = mode == 2 ? Lod8_Width : Lod13_Width;
    const double divisor = mode == 2 ? 16321.1 : 512.1;
    const double h = (Map_Px_South - Map_Px_North) / (Map_Lat_North - Map_Lat_South) * lat_step;
    const double w = (Map_Px_East - Map_Px_West) / (Map_Lon_East - Map_Lon_West) * lon_step;
    const double tx = w / divisor;
    const double ty = h / divisor;

    // Cells without a size (an uncalibrated or inverted frame) would step for ever.
    auto lines_needed = [](double from, double to, double step) {
        return (to - from) / step + 3;
    };
    if (!(h > 0) || !(w > 0) || !std::isfinite(h) || !std::isfinite(w)) {
        Abandon_Cut("Anormal Lat decoupe LOD13_8");
        return false;
    }

    std::vector<Box> boxes;
    boxes.reserve(static_cast<size_t>(Work_Poly_Count));
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) boxes.push_back(Record_Box(Work_Point_Table, Work_Poly_Table(r)));

    int32_t r0 = SYST_Truncate((90 - Map_Lat_North) / lat_step) - 3;
    if (r0 < 0) r0 = 0;
    double lat0 = 90 - r0 * lat_step;
    double y = Map_Px_North - (lat0 - Map_Lat_North) * h / lat_step;
    double max_lines = lines_needed(y, Map_Px_South + h, h);
    if (!(max_lines < 1e7)) {
        Abandon_Cut("Anormal Lat decoupe LOD13_8");
        return false;
    }
    for (int64_t line = 0; line <= static_cast<int64_t>(max_lines); ++line) {
        if (Cut_One_Line(true, y, tx, ty, boxes) == Pass_Result::Abnormal) {
            Abandon_Cut("Anormal Lat decoupe LOD13_8");
            return false;
        }
        API_Commit_Cut_Tables();
        if (y >= Map_Px_South + h) break;
        y += h;
    }

    int32_t c0 = SYST_Truncate((Map_Lon_West + 180) / lon_step) - 3;
    if (c0 < 0) c0 = 0;
    double lon0 = c0 * lon_step - 180;
    double x = Map_Px_West - std::fabs(lon0 - Map_Lon_West) * w / lon_step;
    max_lines = lines_needed(x, Map_Px_East + w, w);
    if (!(max_lines < 1e7)) {
        Abandon_Cut("Anormal Lon decoupe LOD13_8");
        return false;
    }
    for (int64_t line = 0; line <= static_cast<int64_t>(max_lines); ++line) {
        if (Cut_One_Line(false, x, tx, ty, boxes) == Pass_Result::Abnormal) {
            Abandon_Cut("Anormal Lon decoupe LOD13_8");
            return false;
        }
        API_Commit_Cut_Tables();
        if (x >= Map_Px_East + w) break;
        x += w;
    }
    return true;
}

namespace {

struct Piece_Key {
    int16_t Lod8_Row, Lod8_Col, Lod13_Row, Lod13_Col;
    int32_t Group_Id, Ring_Number;
};

Piece_Key Key_Of(const Cut_Piece_Record& p) {
    return {p.Lod8_Row, p.Lod8_Col, p.Lod13_Row, p.Lod13_Col, p.Group_Id, p.Ring_Number};
}

// True when `l` must stand before `k`.
bool Comes_First(const Piece_Key& l, const Piece_Key& k) {
    if (l.Lod8_Row != k.Lod8_Row) return l.Lod8_Row < k.Lod8_Row;
    if (l.Lod8_Col != k.Lod8_Col) return l.Lod8_Col < k.Lod8_Col;
    if (l.Lod13_Row != k.Lod13_Row) return l.Lod13_Row < k.Lod13_Row;
    if (l.Lod13_Col != k.Lod13_Col) return l.Lod13_Col < k.Lod13_Col;
    if (l.Group_Id != k.Group_Id) return l.Group_Id < k.Group_Id;
    return l.Ring_Number > k.Ring_Number;
}

}  // namespace

void API_Sort_Cut_Pieces() {
    const int32_t n = Cut_Piece_Count;
    if (n < 2) return;
    std::vector<Piece_Key> keys;
    keys.reserve(static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i) keys.push_back(Key_Of(Cut_Piece_Table(i)));
    const std::vector<int32_t> order =
        Exchange_Sort_Order(Exchange_Sort_Ranks(keys, Comes_First), false);
    std::vector<Cut_Piece_Record> sorted;
    sorted.reserve(static_cast<size_t>(n));
    for (int32_t entry : order) sorted.push_back(std::move(Cut_Piece_Table(entry + 1)));
    for (int32_t i = 1; i <= n; ++i) Cut_Piece_Table(i) = std::move(sorted[static_cast<size_t>(i - 1)]);
}

void API_Index_Pieces(int16_t mode) {
    Cut_Piece_Count = 0;
    Cut_Piece_Point_Count = 0;
    Cut_Piece_Capacity = Work_Poly_Count + 1;
    Cut_Piece_Point_Capacity = Work_Point_Count + 1;
    Cut_Piece_Table.ReDim(Cut_Piece_Capacity);
    Cut_Piece_Points.ReDim(Cut_Piece_Point_Capacity);

    std::vector<Cut_Piece_Point> scratch;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Line_Rec& rec = Work_Poly_Table(r);
        const int32_t n = rec.Nb_Points;
        if (n <= 0) continue;
        double min_x = 9999999999999, min_y = 9999999999999;
        double max_x = -9999999999999, max_y = -9999999999999;
        for (int32_t i = 0; i < n; ++i) {
            const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
            min_x = std::min(min_x, p.X);
            max_x = std::max(max_x, p.X);
            min_y = std::min(min_y, p.Y);
            max_y = std::max(max_y, p.Y);
        }
        int16_t c8 = 0, r8 = 0, c13 = 0, r13 = 0, px = 0, py = 0;
        Com_Pixel_To_Sub_Pos_Clamped((min_x + max_x) / 2, (min_y + max_y) / 2, c8, r8, c13, r13, px, py);

        scratch.clear();
        for (int32_t i = 0; i < n; ++i) {
            const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
            int16_t lx = 0, ly = 0;
            if (mode == 2)
                Com_Pixel_To_Cell_Pos_Clamped(p.X, p.Y, c8, r8, lx, ly);
            else
                Com_Pixel_To_Sub_Pos_Rounded(p.X, p.Y, c8, r8, c13, r13, lx, ly);
            scratch.push_back({p.X, p.Y, lx, ly});
        }
        scratch.push_back(scratch.front());
        // Consecutive points that fall on one local position: the first of each pair goes.
        for (size_t i = 0; i + 1 < scratch.size(); ++i) {
            if (scratch[i].Local_X == scratch[i + 1].Local_X && scratch[i].Local_Y == scratch[i + 1].Local_Y)
                scratch.erase(scratch.begin() + static_cast<long>(i));
        }
        const size_t kept = scratch.size() - 1;  // the closing copy is not stored
        const size_t needed = n == 2 ? 2 : 3;
        if (kept < needed || kept > INT16_MAX) continue;

        if (Cut_Piece_Count + 1 >= Cut_Piece_Capacity) {
            Cut_Piece_Capacity += 10;
            Cut_Piece_Table.ReDim_Preserve(Cut_Piece_Capacity);
        }
        if (Cut_Piece_Point_Count + static_cast<int32_t>(kept) >= Cut_Piece_Point_Capacity) {
            Cut_Piece_Point_Capacity += static_cast<int32_t>(kept) + 20;
            Cut_Piece_Points.ReDim_Preserve(Cut_Piece_Point_Capacity);
        }
        Cut_Piece_Record& piece = Cut_Piece_Table(++Cut_Piece_Count);
        piece = Cut_Piece_Record{};
        piece.Nb_Points = static_cast<int16_t>(kept);
        piece.First_Point = Cut_Piece_Point_Count + 1;
        for (size_t i = 0; i < kept; ++i) Cut_Piece_Points(++Cut_Piece_Point_Count) = scratch[i];
        piece.Last_Point = Cut_Piece_Point_Count;
        piece.Lod8_Col = c8;
        piece.Lod8_Row = r8;
        piece.Lod13_Col = mode == 2 ? 0 : c13;
        piece.Lod13_Row = mode == 2 ? 0 : r13;
        piece.Line_Id = rec.Line_Id;
        piece.Attr = rec.Attr;
        piece.Ring_Number = rec.Ring_Number;
        piece.Group_Id = rec.Group_Id;
        piece.Sort_Key = 0;
    }
    API_Sort_Cut_Pieces();
    Work_Tables_Erase();
}

void API_Add_Cut_Line(int32_t record, int32_t first, int32_t last) {
    const int32_t k = last >= first ? last - first + 1 : 0;
    Cut_Tables_Reserve(k + 1);
    ++Cut_Poly_Count;
    Line_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec = Work_Poly_Table(record);
    rec.First_Point = Cut_Point_Count + 1;
    for (int32_t i = first; i <= last; ++i) Cut_Point_Table(++Cut_Point_Count) = Work_Point_Table(i);
    rec.Last_Point = Cut_Point_Count;
    rec.Nb_Points = k;
}

void API_Add_Cut_Point(int32_t record, int32_t first, int32_t last, double x, double y) {
    API_Add_Cut_Line(record, first, last);
    Cut_Point_Table(++Cut_Point_Count) = Work_Point_Rec{x, y, 2};
    Line_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec.Last_Point = Cut_Point_Count;
    ++rec.Nb_Points;
}
