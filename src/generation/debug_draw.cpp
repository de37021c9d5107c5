// The generators' debug drawing: diagonals and new pieces sent to the installed canvas.
#include "generation/debug_draw.h"

#include <vector>

#include "generation/work_tables.h"


namespace {

Debug_Draw_Canvas* Canvas = nullptr;

void Draw_Ring(const std::vector<Work_Point_Rec>& ring, int32_t colour) {
    if (ring.size() < 2) return;
    for (size_t i = 0; i < ring.size(); ++i) {
        const Work_Point_Rec& p = ring[i];
        const Work_Point_Rec& q = ring[(i + 1) % ring.size()];
        Canvas->Draw_Edge(p.X, p.Y, q.X, q.Y, colour);
    }
}

}  // namespace

void Debug_Draw_Set_Canvas(Debug_Draw_Canvas* canvas) { Canvas = canvas; }

void API_Draw_Debug_Diagonal(int32_t& poly, int32_t a, int32_t b) {
    if (Debug_Draw == 0 || Canvas == nullptr) return;
    if (!Work_Poly_Table.In_Range(poly)) return;
    const Work_Poly_Rec& rec = Work_Poly_Table(poly);
    if (rec.Nb_Points <= 0 || a < rec.First_Point || a > rec.Last_Point || b < rec.First_Point ||
        b > rec.Last_Point)
        return;
    std::vector<Work_Point_Rec> ring;
    int32_t v = a;
    for (int32_t i = 0; i < rec.Nb_Points; ++i) {
        ring.push_back(Work_Point_Table(v));
        if (v == b) break;
        v = v >= rec.Last_Point ? rec.First_Point : v + 1;
    }
    Draw_Ring(ring, Debug_Colour_Diagonal);
}

void API_Draw_Debug_Diagonal(int32_t& record) {
    if (Debug_Draw == 0 || Canvas == nullptr || !Work_Poly_Table.In_Range(record)) return;
    int32_t first = Work_Poly_Table(record).First_Point;
    int32_t last = Work_Poly_Table(record).Last_Point;
    API_Draw_Debug_Diagonal(record, first, last);
}

void API_Draw_Debug_Poly(int32_t& record) {
    if (Debug_Draw == 0 || Canvas == nullptr) return;
    if (record < 1 || record > Cut_Poly_Count) return;
    const Work_Poly_Rec& rec = Cut_Poly_Table(record);
    std::vector<Work_Point_Rec> ring;
    for (int32_t i = 0; i < rec.Nb_Points; ++i) {
        int32_t p = rec.First_Point + i;
        if (p < 1 || p > Cut_Point_Count) break;
        ring.push_back(Cut_Point_Table(p));
    }
    Draw_Ring(ring, Debug_Colour_Piece);
}
