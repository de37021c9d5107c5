#pragma once
// The simulator's terrain grid over the calibrated map (dotted LOD13 lines, solid red LOD8
// lines), the hatch marks of the cells that carry an object in the three cell modes, and the
// class cells of the land-class and water-class modes painted with their ground textures.
// These are the first layers the map redraw draws above the map tiles.
#include <algorithm>
#include <cstdint>

#include "core/syst.h"

// The grid lines in view, rewritten by every grid drawing (picture coordinates). Lines are
// numbered from 1: column line 1 is the west edge, row line 1 the north edge. A first line of
// 0 means no line of that direction is in view.
extern int32_t Grid_First_Col;
extern int32_t Grid_Last_Col;
extern int32_t Grid_First_Row;
extern int32_t Grid_Last_Row;
extern double Grid_First_X;
extern double Grid_Last_X;
extern double Grid_First_Y;
extern double Grid_Last_Y;

// Grey of the hatch lines of exclusion areas and of class cells shown without a texture.
inline constexpr int32_t Hatch_Grey = 10526880;  // 0xA0A0A0

// One pen-width-1 segment of the grid layers on the map picture (style 0 solid, 2 dot), the
// pen put back to the grid's.
void PSais_Draw_Grid_Segment(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour, int16_t style);

// Counts and steps of the grid over the calibrated rectangle at the current zoom.
struct Grid_Steps {
    int32_t Rows = 0;     // LOD13 rows of the rectangle
    int32_t Cols = 0;     // LOD13 columns
    double Step_X = 0;    // picture pixels per LOD13 column
    double Step_Y = 0;    // picture pixels per LOD13 row
};

// Sets the Grid_* window for the current view and returns the steps. With half_cell_shift the
// whole grid is moved half a cell west and north (the grid the class cells are keyed on).
Grid_Steps PSais_Compute_Grid_Window(bool half_cell_shift);

// Lines i = 0..n at picture positions round(i * step + first), step > 0. Calls
// visit(position, first_i, last_i) once for each run of lines that round to one pixel, in order:
// the work follows the pixels the lines cover, not the number of lines.
template <class Visit>
void PSais_For_Each_Pixel_Run(int32_t n, double step, double first, Visit visit) {
    const auto at = [&](int64_t i) { return SYST_Round(static_cast<double>(i) * step + first); };
    int64_t start = 0;
    while (start <= n) {
        const int32_t p = at(start);
        // The first line past this pixel: the next one as a rule, else found by doubling the
        // stride and halving back (the positions never decrease).
        int64_t lo = start, past = start + 1, stride = 1;
        while (past <= n && at(past) <= p) {
            lo = past;
            past = std::min<int64_t>(past + stride, int64_t{n} + 1);
            stride *= 2;
        }
        while (past - lo > 1) {  // at(lo) <= p, and at(past) > p unless past is n + 1
            const int64_t mid = lo + (past - lo) / 2;
            (at(mid) <= p ? lo : past) = mid;
        }
        visit(p, static_cast<int32_t>(start), static_cast<int32_t>(lo));
        start = lo + 1;
    }
}

// Number of hatch lines in a cell `step_x` picture pixels wide (cells narrower than 5 are not
// hatched at all).
int16_t PSais_Hatch_Count(double step_x);

// The cell grid, and in the textured-area, LOD8 and exclusion modes the hatch marks of the
// cells of that mode's table. Nothing while Grid_Shown is 0.
void PSais_Draw_Cell_Grid();

// The class grid (half a cell north-west of the cell grid) and the cells of the land-class or
// water-class table, painted with their textures while Textures_Shown, else hatched grey.
// Nothing while Grid_Shown is 0.
void PSais_Draw_Class_Mode();

// Paints record `index` of the land-class (kind 0) or water-class (kind 1) table with its
// ground texture into the cell's picture rectangle. failed is 1 when no texture could be
// painted (no texture folder, no land-class line for the code, no convertible texture).
void PSais_Draw_Class_Texture(int16_t kind, int32_t index, int32_t left, int32_t right, int32_t top,
                              int32_t bottom, int16_t& failed);
