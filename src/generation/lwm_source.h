#pragma once
// What the LWM sources (the land/water mask and the re-meshed terrain) write alike: the bounds
// of the map frame, the start of the body, the data marks between cells and the cell index at
// its end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "generation/writer_base.h"

// Whole degrees around the map frame, one beyond on every side.
Gen_Bounds Lwm_Map_Bounds();

// From the file header (of format `version`) to the first cell's data mark.
void Lwm_Write_Start(Gen_Source& src, int32_t version);
// The line that opens a data area of `polygons` polygons drawn with `mask` at `place` ("col,row"
// of the LOD13 area); more than six take the extended form.
std::string Lwm_Area_Line(size_t polygons, int32_t mask, const std::string& place);
// The data mark after cell `index` (0-based).
void Lwm_Write_Area_End(Gen_Source& src, size_t index);
// From the cell names to "LWMEnd".
void Lwm_Write_Tail(Gen_Source& src, const std::vector<Gen_Cell_Id>& cells);
