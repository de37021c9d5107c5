#pragma once
// Preparation of the lines that carry a shore option (shorelines, lake shores, coastlines and the
// shore edges of polygons) for the wide-line writer: copied into the work tables with their end
// markers, cleaned, closed or reversed as their options say, cut at the LOD8 grid lines and split
// into runs of at most 280 points.
#include <cstdint>

// Centred line types (drawn on their own axis, never closed, not cut at latitude lines).
constexpr int16_t Centred_Type_First = 1213;
constexpr int16_t Centred_Type_Last = 1261;
inline bool Is_Centred_Type(int16_t type_code) {
    return type_code >= Centred_Type_First && type_code <= Centred_Type_Last;
}

// Points of one run; 278 when a run of 279 would leave a last run of a single point.
constexpr int32_t Line_Run_Length = 279;

// Runs after the mask polygons: prepares the lines, has API_Write_Lines_Asm write them, then
// empties the work and cut tables. Does nothing when no line is drawn.
void API_Prepare_Lines();

// The lines with a shore option, cleaned, with their end markers, closed or reversed, into the
// work tables; gives their number.
int32_t API_Collect_Lines();

// Cuts the work lines at every LOD8 latitude line (centred types excepted), then every LOD8
// longitude line, then splits the shore lines into runs.
void API_Cut_Lines_Lod8();
