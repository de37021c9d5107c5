#pragma once
// Shared by the line tools' two source files: the selected line and the red redraw round a
// lifted point.
#include "core/project.h"

#include <cstdint>

namespace line_tools {

// The selected line's record, or null when Cur_Line names no line.
Line_Rec* Current_Line();
// The segments that meet at the point (or its mark, for a 1-point line), from the
// neighbours stored when it was lifted.
void Red_Around_Point(const Line_Rec& line, int32_t id);

}  // namespace line_tools
