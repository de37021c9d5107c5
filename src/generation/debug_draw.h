#pragma once
// Debug drawing of the polygon generators: candidate diagonals in red and the edges of each new
// cut record in green, on the main window's map picture, only while Debug_Draw is not 0.
// Generation does not reach into the editor: the main window installs a canvas that turns map
// pixels into picture pixels (PSais_Map_To_Picture), draws one edge with DrawStyle 0 and
// DrawWidth 1, puts DrawMode 13 back and refreshes the picture.
#include <cstdint>

#include "core/settings.h"   // Debug_Draw

constexpr int32_t Debug_Colour_Diagonal = 255;       // red
constexpr int32_t Debug_Colour_Piece = 0x00FF00;     // green

class Debug_Draw_Canvas {
public:
    virtual ~Debug_Draw_Canvas() = default;
    // One edge between two map-bitmap positions.
    virtual void Draw_Edge(double x1, double y1, double x2, double y2, int32_t colour) = 0;
};

// nullptr: no map picture (tests, no window); nothing is drawn.
void Debug_Draw_Set_Canvas(Debug_Draw_Canvas* canvas);

// The outline of the chain a..b of work polygon `poly`, closed by the diagonal b -> a.
void API_Draw_Debug_Diagonal(int32_t& poly, int32_t a, int32_t b);
// The whole outline of work polygon `record`.
void API_Draw_Debug_Diagonal(int32_t& record);
// Every edge of cut record `record`, the closing edge included.
void API_Draw_Debug_Poly(int32_t& record);
