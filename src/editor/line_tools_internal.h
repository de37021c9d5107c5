#pragma once
// Shared by the line tools' two source files: table access that tolerates damaged links, and
// the red redraws of the tools.
#include "core/project.h"

#include <cstdint>

namespace line_tools {

bool Valid_Line(int32_t index);
bool Valid_Point(int32_t id);
// The selected line's record, or null when Cur_Line names no line.
Line_Rec* Current_Line();
// A fresh unlinked point at (x, y), the table grown first when full; returns its id.
int32_t New_Point_Id(double x, double y);
// Red redraws in Edit_Draw_Mode, the pen mode put back to the copy pen.
void Red_Segment(int32_t a, int32_t b);
void Red_Point(int32_t id);
// The segments that meet at the point (or its mark, for a 1-point line), from the
// neighbours stored when it was lifted.
void Red_Around_Point(const Line_Rec& line, int32_t id);
void Focus_Map();

}  // namespace line_tools
