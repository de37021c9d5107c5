#pragma once
// The wide-line source "\Tessaline$_Lines.ASM": every prepared work line as a wide VTP line in
// its LOD8 cell, grouped by layer and type, compiled to the BGL base path + "_9".
#include <cstdint>

#include "core/project.h"
#include "core/vb_array.h"

struct Line_Entry_Rec {
    int16_t Nb_Points = 0;
    int32_t First_Point = 0;   // in Line_Entry_Points
    int32_t Last_Point = 0;
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    int16_t Layer = 0;
    int16_t Texture_Index = 0; // 1-based place of the type code in the texture list
    int32_t Line_Id = 0;
    Route_Attrib Attr;
};

// A point in cell-local units (LOD8-local, see core/grid.h).
struct Line_Entry_Point {
    int16_t X = 0;
    int16_t Y = 0;

    bool operator==(const Line_Entry_Point&) const = default;
};

// Sized at the start of every run, erased at its end.
extern Vb_Array<Line_Entry_Rec> Line_Entry_Table;
extern int32_t Line_Entry_Count;
extern Vb_Array<Line_Entry_Point> Line_Entry_Points;
extern int32_t Line_Entry_Point_Count;

// The extra end point of a wide line one unit beside end point `end` (0: a, the line's first
// point, b the next; 1: b, the last point, a the one before) on the line through a and b: into
// the line for marker 1, beyond its end otherwise.
void API_Step_Beside_Segment(const Line_Entry_Point& a, Line_Entry_Point& c,
                             const Line_Entry_Point& b, int16_t end, uint8_t marker);

// This writer's entry, over the prepared lines of the work tables; the line preparation's last
// step.
void API_Write_Lines_Asm();
