#pragma once
// The map bitmap's tiles in memory: loaded from the tile files in App_Dir & "\Temp" when a
// project is opened or created, released (and their files deleted) before it is closed.
#include "core/tiling.h"
#include "platform/gdi/surface.h"

// The main window's progress frame Fram_Creat_2500 with LTex2500, LPourCent and LNbTex.
Tiling_Progress_Window& Frm_Progress_Window();

// Loads tile files 0 .. Tile_Count - 1 with the progress display. A tile that cannot be read
// stops the loading with a message; the tiles read before it stay. False then.
bool PSais_Load_Map_Tiles();
// Releases the tiles and the texture-image pictures, deletes the tile files, tiling 0.
void PSais_Unload_Map_Tiles();

// Tile k (0-based, row by row), or nullptr when it is not loaded.
const plat::Surface* Map_Tile(int k);
// Number of tiles held.
int Map_Tiles_Loaded();

// Releases the tiles without touching any file (tests).
void Map_Tiles_Reset();
