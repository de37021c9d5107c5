#pragma once
// Map bitmap tiling: the map is cut into square tiles of Tile_Size pixels, each written as a
// bitmap of its own in App_Dir & "\Temp", which the map views load by name.
#include <array>
#include <cstdint>
#include <string>

#include "platform/gdi/bmp.h"

// Side of a map tile in pixels; 2000.
extern int32_t Tile_Size;
// Its start value (tests).
void Tiling_Reset();

// The progress frame that a window carries for the tiler: the frame `Fram_Creat_2500` with its
// labels `LTex2500` (title), `LPourCent` (percentage) and `LNbTex` (tile number). The main
// window and the project-parameters window implement it over their own controls.
class Tiling_Progress_Window {
public:
    virtual ~Tiling_Progress_Window() = default;
    virtual void Set_LTex2500(const std::string& caption) = 0;
    virtual void Set_LPourCent(const std::string& caption) = 0;
    virtual void Set_LNbTex(const std::string& caption) = 0;
    virtual void Show_Fram_Creat_2500(bool visible) = 0;
    // Lets the window repaint during the work.
    virtual void Refresh() = 0;
};

// A window without progress display (batch use).
class Tiling_No_Progress final : public Tiling_Progress_Window {
public:
    void Set_LTex2500(const std::string&) override {}
    void Set_LPourCent(const std::string&) override {}
    void Set_LNbTex(const std::string&) override {}
    void Show_Fram_Creat_2500(bool) override {}
    void Refresh() override {}
};

// The tile grid of a map of width x height pixels: width and height divided by Tile_Size,
// rounded up. False (and 0, 0) when either side is not positive.
bool Com_Tile_Grid(int64_t width, int64_t height, int32_t& tile_cols, int32_t& tile_rows);

// The tiler's error flag.
constexpr int16_t Tiling_Done = 0;
// The map cannot be tiled: not 8 or 24 bits, compressed, truncated or lying headers, more tiles
// than a tile count holds, a read that fails.
constexpr int16_t Tiling_Map_Unreadable = 1;
// The map reads but its tiles cannot be written in App_Dir & "\Temp" (a full disk, a folder
// that cannot be written).
constexpr int16_t Tiling_Tiles_Unwritable = 2;
// A tile would take the place of the map or of one of the project's images, kept in the Temp
// folder under a tile's name: nothing is written, and Tiling_Refused_Input names that file.
constexpr int16_t Tiling_Tile_Over_Input = 3;
inline std::string Tiling_Refused_Input;

// Cuts the map bitmap at `map_path` (a program path) into tiles. On Tiling_Done, Tile_Cols,
// Tile_Rows and Tile_Count hold the bitmap's own tiling; on failure they are left alone and the
// tiles of the attempt are removed again.
void Com_Split_Map_Bitmap(Tiling_Progress_Window& window, const std::string& map_path, int16_t& error);

// Write every tile of an opened map (8-bit maps: the map's colour table in every tile) and
// return the error flag. Called by Com_Split_Map_Bitmap.
int16_t Com_Write_Tiles_8bit(Tiling_Progress_Window& window, plat::BmpReader& map,
                             const plat::BmpFileHeader& tile_file_header,
                             const plat::BmpInfoHeader& tile_info_header, const plat::BmpPalette& palette);
int16_t Com_Write_Tiles_24bit(Tiling_Progress_Window& window, plat::BmpReader& map,
                              const plat::BmpFileHeader& tile_file_header,
                              const plat::BmpInfoHeader& tile_info_header);

// The name part of tile `tile_index` (0-based, row by row) of a grid: its column followed by its
// row ("312" for column 3, row 12). Where that joined text could name two tiles of the grid
// (grids of 12 columns and 11 rows or more), the column and row are kept apart by "_" ("1_10",
// "11_0"); every other tile keeps the joined name.
void Com_Tile_Name(int32_t tile_cols, int32_t tile_rows, int32_t tile_index, std::string& name);
// The program path of a tile's file: App_Dir & "\Temp\$$$_" & its name & ".bmp". The tiler
// and every view that loads tiles find them through this.
std::string Com_Tile_File(int32_t tile_cols, int32_t tile_rows, int32_t tile_index);
