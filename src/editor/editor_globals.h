#pragma once
// Main-window globals shared by the layout, the view and the grid drawing.
#include <cstdint>

// 1 while the program itself sets the scroll bars: their change handlers then do nothing.
inline int16_t Scroll_Busy = 0;
// The grid's colour (red in the low byte) and the colour dialog's option holding it.
inline int32_t Grid_Colour = 12632256;
inline int16_t Grid_Colour_Index = 2;
