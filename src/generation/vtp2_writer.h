#pragma once
// The VTP2 polygon source "\Tessaline$_VTP2.ASM": every polygon whose output is VTP2, cut into
// convex pieces per LOD8 cell, textured by its texture set and ordered by cell, layer, set and
// nesting, compiled to the BGL base path + "_5".

// Step of the generate command after the water classes (not for the older terrain engine).
void API_Write_Vtp2_Asm();

// The order of the VTP2 pieces: LOD8 row, LOD8 column, LOD13 row, LOD13 column, VTP2 layer,
// texture set, texture entry, group id ascending, then the order within the group descending,
// then the sort key, by the exchange sort.
void API_Sort_Pieces();
