// The piece index: the cut work polygons become the piece table the writers read, each piece
// with its cell and its points in cell-local positions. After it the piece table is in the
// exchange sort's order by cell, group and descending ring, and the work tables are empty.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "core/grid.h"
#include "generation/exchange_sort.h"
#include "generation/grid_cut.h"
#include "generation/work_tables.h"
#include "generation/world_clip.h"
#include "platform/memory.h"

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

// For each place of the sorted table, the entry (0-based) that goes there.
std::vector<int32_t> Piece_Order(const std::vector<Piece_Key>& keys) {
    return Exchange_Sort_Order(Exchange_Sort_Ranks(keys, Comes_First), false);
}

}  // namespace

void API_Piece_Local_Points(const Work_Poly_Rec& rec, int16_t mode, Piece_Area& area, std::vector<Cut_Piece_Point>& pts) {
    double centre_x = 0, centre_y = 0;
    Work_Record_Centre(rec, centre_x, centre_y);
    int16_t px = 0, py = 0;
    Com_Pixel_To_Sub_Pos_Clamped(centre_x, centre_y, area.Lod8_Col, area.Lod8_Row, area.Lod13_Col, area.Lod13_Row, px,
                                 py);
    pts.clear();
    for (int32_t i = 0; i < rec.Nb_Points; ++i) {
        const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
        Cut_Piece_Point q{p.X, p.Y, 0, 0};
        if (mode == 2)
            Com_Pixel_To_Cell_Pos_Clamped(p.X, p.Y, area.Lod8_Col, area.Lod8_Row, q.Local_X, q.Local_Y);
        else
            Com_Pixel_To_Sub_Pos_Rounded(p.X, p.Y, area.Lod8_Col, area.Lod8_Row, area.Lod13_Col, area.Lod13_Row,
                                         q.Local_X, q.Local_Y);
        pts.push_back(q);
    }
    if (pts.empty()) return;
    // The closing copy makes the last and the first neighbours; the place that moves up is not
    // compared again.
    pts.push_back(pts.front());
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        if (pts[i].Local_X == pts[i + 1].Local_X && pts[i].Local_Y == pts[i + 1].Local_Y)
            pts.erase(pts.begin() + static_cast<long>(i));
    }
    pts.pop_back();
}

bool API_Piece_Comes_First(const Cut_Piece_Record& l, const Cut_Piece_Record& k) {
    return Comes_First(Key_Of(l), Key_Of(k));
}

void API_Sort_Cut_Pieces() {
    const int32_t n = Cut_Piece_Count;
    if (n < 2) return;
    std::vector<Piece_Key> keys;
    keys.reserve(static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i) keys.push_back(Key_Of(Cut_Piece_Table(i)));
    Exchange_Sort_Apply(Piece_Order(keys), [](int32_t i) -> Cut_Piece_Record& { return Cut_Piece_Table(i + 1); });
}

// The index as it fills: the points go in as the pieces come; the records are written once the
// order is known, each straight into its sorted place. The attributes move from the work
// records, which can go before the piece table is made. The counts and capacities run here and
// reach the piece table's globals at the end, each capacity one more than the records or points
// read, as a table sized once to them all.
struct Piece_Index::Fill {
    struct Indexed {
        Shared_Attrib Attr;
        int32_t Line_Id;
        int32_t First_Point;
        int16_t Nb_Points;
    };
    std::deque<Indexed> indexed;   // given up from the front as the piece table fills
    std::vector<Piece_Key> keys;
    std::vector<Cut_Piece_Point> points;  // becomes Cut_Piece_Points
    std::vector<Cut_Piece_Point> scratch;
    int32_t count = 0, point_count = 0;
    int64_t capacity = 1, point_capacity = 1;
};

Piece_Index::Piece_Index(int16_t mode, int64_t points) : mode_(mode), fill_(std::make_unique<Fill>()) {
    // Room the pieces are likely to need, taken only as it fills.
    fill_->points.reserve(static_cast<size_t>(std::clamp<int64_t>(points + 1, 1, INT32_MAX)));
}

Piece_Index::~Piece_Index() = default;

void Piece_Index::Add(Work_Part&& part) {
    // The part stands as the work tables while its pieces are taken, its records numbered from 1
    // and their points with them.
    Work_Tables_Adopt_Part(std::move(part));
    Add_Work_Tables();
    plat::Release_Free_Memory();
}

int64_t API_Piece_Twice_Area(const std::vector<Cut_Piece_Point>& pts) {
    int64_t s = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const Cut_Piece_Point& a = pts[i];
        const Cut_Piece_Point& b = pts[(i + 1) % pts.size()];
        s += int64_t{a.Local_X} * b.Local_Y - int64_t{b.Local_X} * a.Local_Y;
    }
    return s;
}

void Piece_Index::Add_Work_Tables() {
    Fill& f = *fill_;
    f.capacity += std::max(Work_Poly_Count, 0);
    f.point_capacity += std::max(Work_Point_Count, 0);
    const int64_t capacity = std::min<int64_t>(f.capacity, INT32_MAX);
    const int64_t point_capacity = std::min<int64_t>(f.point_capacity, INT32_MAX);
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        Work_Poly_Rec& rec = Work_Poly_Table(r);
        const int32_t n = rec.Nb_Points;
        if (n <= 0) continue;
        Piece_Area area;
        API_Piece_Local_Points(rec, mode_, area, f.scratch);
        const int16_t c8 = area.Lod8_Col, r8 = area.Lod8_Row, c13 = area.Lod13_Col, r13 = area.Lod13_Row;
        const size_t kept = f.scratch.size();
        const size_t needed = n == 2 ? 2 : 3;
        if (kept < needed || kept > INT16_MAX) continue;
        // Shapes are cut at the world's edge; what still lies on it names no cell.
        if (!World_Has_Area(c8, r8, mode_ == 2 ? 0 : c13, mode_ == 2 ? 0 : r13)) continue;
        if (!Work_Record_Fits_Area(rec, c8, r8, c13, r13, mode_ != 2)) continue;
        // A table past what a count can number keeps what it holds.
        if (f.count + 1 >= capacity || f.point_count + static_cast<int64_t>(kept) >= point_capacity) continue;
        ++f.count;
        f.keys.push_back({r8, c8, static_cast<int16_t>(mode_ == 2 ? 0 : r13), static_cast<int16_t>(mode_ == 2 ? 0 : c13),
                          rec.Group_Id, rec.Ring_Number});
        f.indexed.push_back({std::move(rec.Attr), rec.Line_Id, f.point_count + 1, static_cast<int16_t>(kept)});
        f.points.insert(f.points.end(), f.scratch.begin(), f.scratch.end());
        f.point_count += static_cast<int32_t>(kept);
    }
    // Every point and attribute the pieces keep is in the index now.
    Work_Tables_Erase();
}

// The tables keep room for their capacity, but only the entries filled are made: the rest,
// never touched, costs no resident memory (most of a large project's capacity goes unused).
void Piece_Index::End() {
    Fill& f = *fill_;
    Cut_Piece_Count = f.count;
    Cut_Piece_Point_Count = f.point_count;
    Cut_Piece_Capacity = static_cast<int32_t>(std::min<int64_t>(f.capacity, INT32_MAX));
    Cut_Piece_Point_Capacity = static_cast<int32_t>(std::min<int64_t>(f.point_capacity, INT32_MAX));
    Cut_Piece_Points.Adopt(std::move(f.points));
    const std::vector<int32_t> order = Piece_Order(f.keys);
    // The entries put in their sorted places first, so that the table fills from the front as
    // they go.
    Exchange_Sort_Apply(order, [&](int32_t i) -> Fill::Indexed& { return f.indexed[static_cast<size_t>(i)]; });
    std::vector<Cut_Piece_Record> table;
    table.reserve(static_cast<size_t>(Cut_Piece_Capacity));
    for (size_t i = 0; i < order.size(); ++i) {
        Fill::Indexed& from = f.indexed.front();
        const Piece_Key& key = f.keys[static_cast<size_t>(order[i])];
        Cut_Piece_Record& piece = table.emplace_back();
        piece.Nb_Points = from.Nb_Points;
        piece.First_Point = from.First_Point;
        piece.Last_Point = from.First_Point + from.Nb_Points - 1;
        piece.Lod8_Col = key.Lod8_Col;
        piece.Lod8_Row = key.Lod8_Row;
        piece.Lod13_Col = key.Lod13_Col;
        piece.Lod13_Row = key.Lod13_Row;
        piece.Line_Id = from.Line_Id;
        piece.Attr = std::move(from.Attr);
        piece.Ring_Number = key.Ring_Number;
        piece.Group_Id = key.Group_Id;
        f.indexed.pop_front();
        if (i % 65536 == 65535) plat::Release_Free_Memory();
    }
    Cut_Piece_Table.Adopt(std::move(table));
    fill_ = std::make_unique<Fill>();
}

void API_Index_Pieces(int16_t mode) {
    Piece_Index index(mode, Work_Point_Count);
    index.Add_Work_Tables();
    index.End();
}
