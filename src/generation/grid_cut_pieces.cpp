// The cut tables as the grid cut, the line stage and the coast stage fill them: one record at a
// time, each a copy of its work record with its own points, and handed over whole as the new
// work tables.
#include "generation/grid_cut_pieces.h"

#include "generation/debug_draw.h"

namespace grid_cut {

void Append_Cut_Record(const Line_Rec& src, const Work_Point_Rec* pts, int32_t n) {
    Cut_Tables_Append(src, n, n, [&](int32_t i) { return pts[i]; });
}

void Draw_Last_Cut() {
    int32_t last = Cut_Poly_Count;
    API_Draw_Debug_Poly(last);
}

}  // namespace grid_cut

void API_Commit_Cut_Tables() { Work_Tables_Take_Cut_Tables(); }

void API_Add_Cut_Line(int32_t record, int32_t first, int32_t last) {
    const int32_t k = last >= first ? last - first + 1 : 0;
    Cut_Tables_Append(Work_Poly_Table(record), k, k + 1, [&](int32_t i) { return Work_Point_Table(first + i); });
}

void API_Add_Cut_Point(int32_t record, int32_t first, int32_t last, double x, double y) {
    API_Add_Cut_Line(record, first, last);
    Cut_Point_Table(++Cut_Point_Count) = Work_Point_Rec{x, y, 2};
    Line_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec.Last_Point = Cut_Point_Count;
    ++rec.Nb_Points;
}
