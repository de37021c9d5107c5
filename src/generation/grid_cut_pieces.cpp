// The cut tables as the grid cut, the line stage and the coast stage fill them: one record at a
// time, each a copy of its work record with its own points, and handed over whole as the new
// work tables.
#include "generation/grid_cut_pieces.h"

#include "generation/debug_draw.h"

namespace grid_cut {

void Append_Cut_Record(const Work_Poly_Rec& src, const Work_Point_Rec* pts, int32_t n) {
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
    Work_Poly_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec.Last_Point = Cut_Point_Count;
    ++rec.Nb_Points;
}

void API_Cut_Lines_At(bool horizontal, double at, double tolerance, const std::function<bool(int32_t)>& whole) {
    // One grid line adds a point or two where a line crosses it: room for the points there are
    // and an eighth more; the appends make more room in the rare pass that needs it.
    Cut_Tables_Size(2 * Work_Poly_Count, Work_Point_Count + Work_Point_Count / 8 + 2 * Work_Poly_Count + 64);
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        const int32_t first = rec.First_Point;
        const int32_t last = rec.Last_Point;
        if (rec.Nb_Points < 1) continue;
        if (rec.Nb_Points < 2 || (whole && whole(r))) {
            API_Add_Cut_Line(r, first, last);
            continue;
        }
        int32_t s = first;
        for (int32_t i = first; i < last; ++i) {
            const Work_Point_Rec a = Work_Point_Table(i);
            const Work_Point_Rec b = Work_Point_Table(i + 1);
            int16_t code = 0;
            double px = 0, py = 0;
            API_Cross_Grid_Line(horizontal, a.X, a.Y, b.X, b.Y, at, tolerance, code, px, py);
            if (code == 3) {
                const bool at_i = px == a.X && py == a.Y;
                if (!at_i || i != s) {
                    API_Add_Cut_Line(r, s, i + 1);
                    if (i + 1 == last) {
                        s = last + 1;  // nothing left to append
                        break;
                    }
                    s = i + 1;
                    continue;
                }
            } else if (code == 2) {
                API_Add_Cut_Point(r, s, i, px, py);
                Work_Point_Table(i) = Work_Point_Rec{px, py, 2};
                s = i;
            }
        }
        if (s <= last) API_Add_Cut_Line(r, s, last);
    }
    API_Commit_Cut_Tables();
}
