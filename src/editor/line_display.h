#pragma once
// Lines, points, the selected-point mark and the rubber bands drawn on the map picture, the
// two distances with which the insert tool picks a segment, and the centring of the view on a
// point. Everything is drawn straight onto Pic in picture pixels; nothing is kept.
#include "core/syst_draw.h"
#include "platform/gdi/surface.h"

#include <cstddef>
#include <cstdint>

// Which of Ln1, Ln2 and Cercle were visible when the redraw began, so it can put them back.
inline int16_t Ln1_Was_Shown = 0;
inline int16_t Ln2_Was_Shown = 0;
inline int16_t Cercle_Was_Shown = 0;

// The type colour of a line: blue for water polygons of the LWM output and for lines with a
// shore option 1 or 3, magenta otherwise.
int32_t PSais_Line_Colour(int32_t line_index);
// The line's chain in its type colour, or in red; open (no closing side), a 1-point line as
// its point mark.
void PSais_Draw_Line(int32_t line_index);
void PSais_Draw_Line_Selected(int32_t line_index);
// The scoped pen (core/syst_draw.h) of one solid stroke on Pic. Every stroke the editor draws on
// the map sets and resets the pen through this, so each starts from the same pen.
class PSais_Stroke_Pen : public SYST_Scoped_Pen {
public:
    explicit PSais_Stroke_Pen(int width);
    PSais_Stroke_Pen(int width, int mode);
};

// Line `line_index`'s chain from its point `from` (0 the first) on, walked in place, as one
// solid polyline of pen width `width` in the picture's current pen mode.
void PSais_Draw_Line_Chain(int32_t line_index, size_t from, int32_t colour, int width);
// The picture segment (xa, ya)-(xb, yb) with its ends rounded to pixels. An end beyond int reach
// is first brought along the segment to the edge of reach, so that what is drawn keeps its place
// and direction; false when no part of it lies within reach. NaN counts as 0, as in rounding.
bool PSais_Round_Segment(double xa, double ya, double xb, double yb, plat::Point& a, plat::Point& b);
// That segment drawn on Pic with the picture's pen, in `colour`.
void PSais_Draw_Picture_Segment(double xa, double ya, double xb, double yb, int32_t colour);
// The segment between points a and b, solid, `width` pixels wide, in the picture's current pen
// mode; nothing when either point is missing.
void PSais_Draw_Points_Segment(int32_t point_a, int32_t point_b, int32_t colour, int width);
// One solid 1-pixel segment a-b in the picture's current pen mode.
void PSais_Draw_Segment(int32_t line_index, int32_t point_a, int32_t point_b, int32_t colour);
// The 3 x 3 point mark.
void PSais_Draw_Point(int32_t point_id, int32_t colour);
// The segment a-b of the current line and the point mark in red, drawn in Edit_Draw_Mode; the
// pen mode is then back to the copy pen.
void PSais_Draw_Red_Segment(int32_t point_a, int32_t point_b);
void PSais_Draw_Red_Point(int32_t point_id);
// Cercle centred on the point, shown in red.
void PSais_Show_Point_Mark(int32_t point_id);
// Ln1 (solid), Ln2 (solid) and Ln1 (dashed) from the point to picture position (x, y).
void PSais_Show_Sel_Segment1(int32_t point_id, double x, double y);
void PSais_Show_Sel_Segment2(int32_t point_id, double x, double y);
void PSais_Show_Sel_Segment3(int32_t point_id, double x, double y);
// Picture distance from (x, y) to segment a-b along the perpendicular, or -1 when its foot
// falls outside the segment.
double PSais_Point_Segment_Distance(int32_t point_a, int32_t point_b, double x, double y);
// Mean picture distance from (x, y) to a and to b.
double PSais_Point_Distance(int32_t point_a, int32_t point_b, double x, double y);
// Offsets and scroll bars set so the picture centre shows the point; the caller redraws.
void PSais_Scroll_To_Point(int32_t point_id);
// Records which edit marks are visible, before a redraw.
void PSais_Save_Mark_Visibility();
// Every line in its colour, the selected one in red with the edit marks put back as they were.
void PSais_Draw_All_Lines();
// The line last drawn red goes back to its type colour.
void PSais_Restore_Red_Line();

// Start values (tests).
void Line_Display_Reset();
