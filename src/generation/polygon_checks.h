#pragma once
// Checks on the prepared work polygons: self-crossing of one polygon or line, crossing or
// touching of free polygons (those without a nesting text), their grouping into nesting groups
// by the ray test, and the ring primitives the ring tree is built from.
#include <cstdint>

#include "core/vb_array.h"

struct Srf_Poly_Rec {
    int32_t Line_Id = 0;
    uint8_t Grouped = 0;
    int32_t Work_Index = 0;
    int32_t First_Vertex = 0;   // in Srf_Vertex_Index
    int32_t Last_Vertex = 0;
};

struct Srf_Vertex_Index_Rec {
    int32_t Poly_Entry = 0;     // in Srf_Poly_Table
    int32_t Work_Point = 0;
    int32_t Sorted_Pos = 0;     // in Srf_Vertex_Table, later in Srf_Ring_Points
};

// Also the layout of Srf_Ring_Points.
struct Srf_Vertex_Rec {
    double X = 0;
    double Y = 0;
    int32_t Index_Entry = 0;    // in Srf_Vertex_Index
};

struct Touch_Group_Rec {
    int32_t Outer = 0;          // Srf_Poly_Table entry
    uint8_t Has_Members = 0;
    int32_t First_Member = 0;   // in Touch_Group_Members
    int32_t Last_Member = 0;
};

struct Srf_Ring_Rec {
    int32_t Poly_Entry = 0;
    int16_t Ring_Number = 0;
    int32_t First_Vertex = 0;   // in Srf_Vertex_Index
    int32_t Last_Vertex = 0;
};

struct Ring_Tree_Node {
    int32_t Ring = 0;           // Srf_Ring_Table entry
    int32_t Vertex_Count = 0;
    int32_t Depth = 0;          // root 1
    uint8_t Branch = 0;
    int32_t Parent = 0;
    int32_t Child_Count = 0;
    int32_t First_Child = 0;
    int32_t Next_Sibling = 0;
    uint8_t Numbered = 0;
};

extern Vb_Array<Srf_Poly_Rec> Srf_Poly_Table;
extern int32_t Srf_Poly_Count;
extern Vb_Array<Srf_Vertex_Index_Rec> Srf_Vertex_Index;
extern int32_t Srf_Vertex_Count;
extern Vb_Array<Srf_Vertex_Rec> Srf_Vertex_Table;   // one spare entry behind the last
extern Vb_Array<Touch_Group_Rec> Touch_Group_Table;
extern int32_t Touch_Group_Count;
extern Vb_Array<int32_t> Touch_Group_Members;
extern int32_t Touch_Group_Member_Count;

extern Vb_Array<Srf_Ring_Rec> Srf_Ring_Table;
extern int32_t Srf_Ring_Count;
extern Vb_Array<Srf_Vertex_Rec> Srf_Ring_Points;
extern int32_t Srf_Ring_Point_Count;
extern Vb_Array<Ring_Tree_Node> Srf_Ring_Tree;
extern int32_t Srf_Ring_Node_Count;

void Nesting_Tables_Erase();
void Ring_Tables_Erase();

// --- self-crossing (results: 3 some work line crosses itself, 0 none) ---
// As closed rings (polygon preparation) and as open lines (coastlines). The crossing's map
// pixel goes to Cross_Point_X / Cross_Point_Y.
int16_t API_Check_Self_Crossings();
int16_t API_Check_Coast_Crossings();
// 1 when work record `line` crosses itself.
int16_t API_Line_Crosses_Itself(int32_t& line);
int16_t API_Coast_Crosses_Itself(int32_t& line);

// --- nesting groups of the free polygons ---
// found := 1 when some work polygon has an empty nesting text; error := 4 when two of them
// cross or touch.
void Com_Group_Touching_Polys(int16_t& found, int16_t& error);
int16_t Srf_Check_Polygons();
void Srf_Find_Crossing(uint8_t& found);
void Srf_Separate_X();
void Srf_Separate_Y();
// inside := 1 when the first vertex of entry a lies inside entry b.
void Srf_Point_In_Polygon(int32_t a, int32_t b, int16_t& inside);

// --- ring points of one group ---
void Srf_Sort_Points();
void Srf_Separate_Points_X();
void Srf_Separate_Points_Y();
void Srf_Find_Polygon_Of_Point(int32_t p, int32_t nodes, uint8_t& skip, int32_t& ring,
                               int32_t& enclosing);
void Srf_Innermost_Polygon(int32_t p, int32_t nodes, int32_t& enclosing);

// The exchange sort of the vertex and ring-point tables on 1..n (ascending x, then y; equal
// entries are exchanged too), kept for its order of equal entries.
void Srf_Exchange_Sort(Vb_Array<Srf_Vertex_Rec>& table, int32_t n);
