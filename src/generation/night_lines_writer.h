#pragma once
// Night lighting of lines: every line or polygon marked for night lighting becomes strings of
// road lights, cut at the half-LOD10 grid lines, grouped by LOD8 cell, one SCASM source
// "\TmpRt.Sca" per cell compiled by scasm.exe and copied to the BGL base path + "_9" + "001"...
#include <cstdint>
#include <string>

#include "core/project.h"
#include "core/vb_array.h"

struct Night_Line_Rec {
    int16_t Nb_Points = 0;
    int32_t First_Point = 0;   // in Night_Line_Points
    int32_t Last_Point = 0;
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    int16_t Quarter_Col = 0;   // LOD10 cell inside the LOD8 cell, 0..3
    int16_t Quarter_Row = 0;
    int32_t Line_Id = 0;
    Route_Attrib Attr;
};

struct Night_Point {
    double X = 0;   // map-bitmap pixels
    double Y = 0;
};

// A point in metres east (X) and north (Z) of an area's reference point.
struct Road_Point {
    double X = 0;
    double Z = 0;
    bool operator==(const Road_Point&) const = default;
};

extern Vb_Array<Night_Line_Rec> Night_Line_Table;
extern int32_t Night_Line_Count;
extern Vb_Array<Night_Point> Night_Line_Points;
extern int32_t Scasm_File_Counter;

// Entry of the generate chain.
void API_Make_Night_Lines();
void API_Collect_Night_Lines();
void API_Cut_Night_Lod11();
void API_Write_Night_Cells();
void API_Write_Scasm_Night(int32_t first, int32_t last);

// The ends of a segment from Night_Line_Points i to j in metres, and the two points at distance r
// left and right of the chosen end (the second when `at_second_end`) across the direction of
// travel; with r = 0 both are the end itself.
void API_Offset_Road_Point(double ref_lat, double ref_lon, double r, int32_t i, int32_t j, bool at_second_end,
                           Road_Point& left, Road_Point& right);
// Where the line through a1, a2 meets the line through b1, b2.
Road_Point API_Join_Offset_Segments(const Road_Point& a1, const Road_Point& a2, const Road_Point& b1,
                                    const Road_Point& b2);
std::string API_Format_Road_Point(double x, double z);
double API_Round_Micro(double v);

// Lanes of a road type, and whether its lanes are laid with a gap in the middle.
int16_t Night_Lane_Count(int16_t type_code);
int16_t Night_Gap_Flag(int16_t type_code);
// Sideways offset in metres of pass a (from 1) of a road of `lanes` lanes and width w (metres).
double Night_Pass_Offset(int16_t lanes, int16_t gap, double w, int32_t a);
