// The generators' work, cut and piece tables sized, emptied, filled and handed on.
#include "generation/work_tables.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "generation/debug_draw.h"
#include "generation/polygon_checks.h"
#include "platform/memory.h"

Vb_Array<Work_Poly_Rec> Work_Poly_Table;
int32_t Work_Poly_Count = 0;
int32_t Work_Poly_Capacity = 0;
Vb_Array<Work_Point_Rec> Work_Point_Table;
int32_t Work_Point_Count = 0;
int32_t Work_Point_Capacity = 0;

Vb_Array<Work_Poly_Rec> Cut_Poly_Table;
int32_t Cut_Poly_Count = 0;
int32_t Cut_Poly_Capacity = 0;
Vb_Array<Work_Point_Rec> Cut_Point_Table;
int32_t Cut_Point_Count = 0;
int32_t Cut_Point_Capacity = 0;

Vb_Array<Cut_Piece_Record> Cut_Piece_Table;
int32_t Cut_Piece_Count = 0;
int32_t Cut_Piece_Capacity = 0;
Vb_Array<Cut_Piece_Point> Cut_Piece_Points;
int32_t Cut_Piece_Point_Count = 0;
int32_t Cut_Piece_Point_Capacity = 0;

int16_t Touch_Groups_Found = 0;
int16_t Line_Groups_Numbered = 0;
int16_t Polygon_Cut_Aborted = 0;
int32_t Cross_Point_X = 0;
int32_t Cross_Point_Y = 0;

const Route_Attrib& Shared_Attrib::Defaults() {
    static const Route_Attrib defaults;
    return defaults;
}

void Work_Tables_Size(int32_t polys, int32_t points) {
    Work_Poly_Capacity = polys > 0 ? polys : 0;
    Work_Point_Capacity = points > 0 ? points : 0;
    Work_Poly_Table.ReDim(Work_Poly_Capacity);
    Work_Point_Table.ReDim(Work_Point_Capacity);
    Work_Poly_Count = 0;
    Work_Point_Count = 0;
}

namespace {

// The storage of a pass's table only ever grows; the capacity globals keep the sizes the stages
// compute, and entries past the count are never read. Only the entries asked for are made: the
// buffer under them grows geometrically by itself, and its unused tail is never touched.
template <class T>
void Ensure_Storage(Vb_Array<T>& table, int32_t capacity) {
    if (table.UBound() >= capacity) return;
    table.ReDim_Preserve(capacity);
}

// The same for a table whose entries are no longer read. The cuts of one stage hand their two
// tables back and forth, each pass a little larger than the last: storage that holds the entries
// is kept (only entries it never held are made), and new storage leaves room for the passes to
// come, so that a stage allocates its tables a few times rather than once per grid line.
template <class T>
void Renew_Storage(Vb_Array<T>& table, int32_t capacity) {
    if (table.UBound() >= capacity) return;
    const size_t entries = static_cast<size_t>(capacity);
    if (table.Capacity() >= entries) {
        table.ReDim_Preserve(capacity);
        return;
    }
    table.Erase();
    std::vector<T> storage;
    storage.reserve(entries + entries / 4);
    storage.resize(entries);
    table.Adopt(std::move(storage));
}

}  // namespace

void Cut_Tables_Size(int32_t polys, int32_t points) {
    Cut_Poly_Capacity = polys > 0 ? polys : 0;
    Cut_Point_Capacity = points > 0 ? points : 0;
    Renew_Storage(Cut_Poly_Table, Cut_Poly_Capacity);
    Renew_Storage(Cut_Point_Table, Cut_Point_Capacity);
    Cut_Poly_Count = 0;
    Cut_Point_Count = 0;
}

void Work_Tables_Erase() {
    Work_Poly_Table.Erase();
    Work_Point_Table.Erase();
    Work_Poly_Count = Work_Poly_Capacity = 0;
    Work_Point_Count = Work_Point_Capacity = 0;
}

void Cut_Tables_Erase() {
    Cut_Poly_Table.Erase();
    Cut_Point_Table.Erase();
    Cut_Poly_Count = Cut_Poly_Capacity = 0;
    Cut_Point_Count = Cut_Point_Capacity = 0;
}

void Piece_Tables_Erase() {
    Cut_Piece_Table.Erase();
    Cut_Piece_Points.Erase();
    Cut_Piece_Count = Cut_Piece_Capacity = 0;
    Cut_Piece_Point_Count = Cut_Piece_Point_Capacity = 0;
}

void Work_Tables_Reset_All() {
    Nesting_Tables_Erase();
    Ring_Tables_Erase();
    Debug_Draw = 0;
    Debug_Draw_Set_Canvas(nullptr);
    Work_Tables_Erase();
    Cut_Tables_Erase();
    Piece_Tables_Erase();
    Touch_Groups_Found = 0;
    Line_Groups_Numbered = 0;
    Polygon_Cut_Aborted = 0;
    Cross_Point_X = 0;
    Cross_Point_Y = 0;
}

void Cut_Tables_Reserve(int32_t points) {
    if (points < 0) points = 0;
    if (Cut_Poly_Count >= Cut_Poly_Capacity) Cut_Poly_Capacity += 10;
    if (Cut_Point_Count + points + 1 >= Cut_Point_Capacity) Cut_Point_Capacity += points + 20;
    Ensure_Storage(Cut_Poly_Table, Cut_Poly_Capacity);
    Ensure_Storage(Cut_Point_Table, Cut_Point_Capacity);
}

void Work_Tables_Take_Cut_Tables() {
    std::swap(Work_Poly_Table, Cut_Poly_Table);
    std::swap(Work_Point_Table, Cut_Point_Table);
    Work_Poly_Count = Work_Poly_Capacity = Cut_Poly_Count;
    Work_Point_Count = Work_Point_Capacity = Cut_Point_Count;
    Ensure_Storage(Work_Poly_Table, Work_Poly_Count + 1);
    Ensure_Storage(Work_Point_Table, Work_Point_Count + 1);
    Cut_Poly_Count = Cut_Poly_Capacity = 0;
    Cut_Point_Count = Cut_Point_Capacity = 0;
}

Work_Part Work_Tables_Take_Part() {
    Work_Part part;
    const auto polys = Work_Poly_Table.begin();
    const auto pts = Work_Point_Table.begin();
    part.Polys.assign(std::make_move_iterator(polys), std::make_move_iterator(polys + Work_Poly_Count));
    part.Points.assign(pts, pts + Work_Point_Count);
    Work_Poly_Count = Work_Poly_Capacity = 0;
    Work_Point_Count = Work_Point_Capacity = 0;
    return part;
}

void Work_Tables_Adopt_Part(Work_Part&& part) {
    Work_Poly_Count = Work_Poly_Capacity = static_cast<int32_t>(std::min<size_t>(part.Polys.size(), INT32_MAX));
    Work_Point_Count = Work_Point_Capacity = static_cast<int32_t>(std::min<size_t>(part.Points.size(), INT32_MAX));
    Work_Poly_Table.Adopt(std::move(part.Polys));
    Work_Point_Table.Adopt(std::move(part.Points));
    part = Work_Part{};
}

void Work_Tables_Join(std::vector<Work_Part>&& parts) {
    size_t polys = 0, points = 0;
    for (const Work_Part& part : parts) {
        polys += part.Polys.size();
        points += part.Points.size();
    }
    Work_Tables_Erase();
    // One spare entry behind the last, as a hand-over keeps.
    std::vector<Work_Poly_Rec> all_polys;
    std::vector<Work_Point_Rec> all_points;
    all_polys.reserve(polys + 1);
    all_points.reserve(points + 1);
    for (Work_Part& part : parts) {
        const int32_t shift = static_cast<int32_t>(all_points.size());
        for (Work_Poly_Rec& rec : part.Polys) {
            rec.First_Point += shift;
            rec.Last_Point += shift;
            all_polys.push_back(std::move(rec));
        }
        all_points.insert(all_points.end(), part.Points.begin(), part.Points.end());
        part = Work_Part{};
        plat::Release_Free_Memory();
    }
    parts.clear();
    Work_Poly_Count = Work_Poly_Capacity = static_cast<int32_t>(std::min<size_t>(polys, INT32_MAX));
    Work_Point_Count = Work_Point_Capacity = static_cast<int32_t>(std::min<size_t>(points, INT32_MAX));
    all_polys.emplace_back();
    all_points.emplace_back();
    Work_Poly_Table.Adopt(std::move(all_polys));
    Work_Point_Table.Adopt(std::move(all_points));
}

void Work_Tables_Append(const Line_Rec& line, const std::vector<Work_Point_Rec>& pts, int32_t point_room) {
    if (Work_Poly_Count >= Work_Poly_Capacity) {
        Work_Poly_Capacity = Work_Poly_Count + 10;
        Work_Poly_Table.ReDim_Preserve(Work_Poly_Capacity);
    }
    const int32_t n = static_cast<int32_t>(pts.size());
    if (Work_Point_Count + n > Work_Point_Capacity) {
        Work_Point_Capacity = Work_Point_Count + n + point_room;
        Work_Point_Table.ReDim_Preserve(Work_Point_Capacity);
    }
    Work_Poly_Rec& rec = Work_Poly_Table(++Work_Poly_Count);
    rec = Work_Poly_Rec{};
    rec.Line_Id = line.Line_Id;
    rec.Attr = line.Attr;
    rec.First_Point = Work_Point_Count + 1;
    for (const Work_Point_Rec& p : pts) Work_Point_Table(++Work_Point_Count) = p;
    rec.Last_Point = Work_Point_Count;
    rec.Nb_Points = n;
}

void Work_Record_Centre(const Work_Poly_Rec& rec, double& x, double& y) {
    double min_x = 9999999999999, min_y = 9999999999999;
    double max_x = -9999999999999, max_y = -9999999999999;
    for (int32_t i = 0; i < rec.Nb_Points; ++i) {
        const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
        min_x = std::min(min_x, p.X);
        max_x = std::max(max_x, p.X);
        min_y = std::min(min_y, p.Y);
        max_y = std::max(max_y, p.Y);
    }
    x = (min_x + max_x) / 2;
    y = (min_y + max_y) / 2;
}
