#pragma once
// Land-class and water-class cells to the simulator's class BGL files, one per LOD5 cell:
// a 257 x 257 raw raster ("FicRaw.Raw"), optionally merged with and kept as a raw copy in
// Raw_Dir, a description for the resampler, and the runs of the outside tools.
#include <array>
#include <cstdint>

// 254: no class at that LOD13 cell.
constexpr uint8_t Class_None = 254;
constexpr int Class_Raster_Size = 257;

using Class_Raster_Bytes = std::array<uint8_t, Class_Raster_Size * Class_Raster_Size>;

void API_Make_Landclass_Bgl();
void API_Make_Waterclass_Bgl();
