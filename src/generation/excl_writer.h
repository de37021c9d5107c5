#pragma once
// The exclusion source "\Tessaline$_Excl.ASM": one empty VTP layer per excluded kind of each
// marked LOD13 area, compiled to Bgl_Excl_Path.

// First step of the generate command. Does nothing when no exclusion flag is set.
void API_Write_Excl_Asm();
