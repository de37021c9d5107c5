#pragma once
// The land/water mask source "\Tessaline$_Poly_LWM.asm": per LOD13 area the whole-area fills of
// LOD8 cells and textured areas, the coastline polygons and the land and water polygons,
// compiled to the BGL base path + "_3"; then the wide lines.
#include <cstdint>

// Third step of the generate command (after exclusions and the re-meshed terrain). The wide-line
// step is skipped only when the compiler cannot be started.
void API_Write_Lwm_Asm();
// The same after the coastline stage: on the coast piece tables as they stand.
void Lwm_Write_Source();

// An altitude as the mask writes it: whole part toward zero and 128ths of the rest (12.5 gives
// 12 and 64, -12.5 gives -12 and 64).
void Gen_Altitude_Pair(double altitude, int32_t& whole, int32_t& fraction);
