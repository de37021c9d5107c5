#pragma once
// What the generate command, the mask writer and the polygon preparation call of the second
// share of scenery generation (coastlines, wide lines, re-mesh, VTP2, night lines, concave
// splitting, debug drawing). The routines are defined by their own writers and stages.
#include <cstdint>

#include "core/vb_array.h"
#include "generation/work_tables.h"

// Re-meshed terrain source from Grid_Point_Table, compiled to the BGL base path + "_2".
void API_Write_Remesh_Lwm_Asm();
// VTP2 polygons, compiled to the BGL base path + "_5".
void API_Write_Vtp2_Asm();
// Night-line SCASM sources, one per LOD8 cell.
void API_Make_Night_Lines();
// Coastline pieces into Coast_Piece_Table / Coast_Piece_Points / Coast_Count.
void API_Make_Coastlines();
// The wide-line writer over the prepared lines of the work tables.
void API_Write_Lines_Asm();

// 3 when a work polygon or line crosses itself (crossing pixel in Cross_Point_X / _Y), else 0.
int16_t API_Check_Self_Crossings();
// Numbers the work polygons of each named group; sets Line_Groups_Numbered when there is one.
void API_Number_Line_Groups();
// Convex pieces of the work polygons; convex polygons of `limit` points or more are fanned.
void API_Split_Concave(int32_t& limit);
// Debug drawing on the map picture while Debug_Draw is not 0.
void API_Draw_Debug_Diagonal(int32_t& record);
void API_Draw_Debug_Poly(int32_t& record);

// Coastline polygons, one record per polygon and LOD13 area, those of one area together; their
// points carry the LOD13-local position 0..255. Filled by API_Make_Coastlines, released by the
// mask writer after use.
inline Vb_Array<Cut_Piece_Record> Coast_Piece_Table;
inline Vb_Array<Cut_Piece_Point> Coast_Piece_Points;
// Number of coastline polygons; 0 when there are none or they were refused.
inline int32_t Coast_Count = 0;

// Start values of the coastline pieces (tests).
inline void Generation_Services_Reset() {
    Coast_Count = 0;
    Coast_Piece_Table.Erase();
    Coast_Piece_Points.Erase();
}
