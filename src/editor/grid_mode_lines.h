#pragma once
// The lines drawn as a plain red overlay beneath the grid points and over the cell modes.
#include <cstdint>

// Lines of 2 points or more in red, 2 pixels wide.
void PSais_Draw_Lines_Grid_Mode();
void PSais_Draw_Line_Grid_Mode(int32_t line_index);
void PSais_Draw_Segment_Grid_Mode(int32_t point_a, int32_t point_b);
