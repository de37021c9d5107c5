#pragma once
// The re-meshed terrain source "\Tessaline$_Remesh_LWM.asm": every defined altitude grid point
// as a two-point polygon carrying its altitude in the mask data of its LOD13 area, compiled to
// the BGL base path + "_2".
#include <cstdint>

// Step of the generate command (not for the older terrain engine): writes and compiles the
// source from Grid_Point_Table.
void API_Write_Remesh_Lwm_Asm();

// Mesh points of one data area at most.
constexpr int32_t Mesh_Points_Per_Area = 253;

// The altitude in metres that a grid point's entered altitude stands for.
double Remesh_Altitude_Metres(float entered);
