#pragma once
// The globals through which the project set-up and calibration windows exchange their results
// with their callers. They are defined here, once, so that callers and windows share them.
#include <cstdint>
#include <string>

#include "core/project_file.h"

// General parameters window: working copies while it is open.
inline std::string PGen_Language;     // "FR" or "US"
inline std::string PGen_Fs_Dir;
inline std::string PGen_Texture_Dir;
// The editor program: kept only here, for the run, and never saved.
inline std::string PGen_Editor_Path;

// Project parameters window: New sets Proj_New := 1 (core/project_file.h) and Proj_Accepted := 0;
// OK sets 1.
inline int16_t Proj_Accepted = 0;
// Steps of a new project that its "next" buttons have passed.
inline int16_t Proj_Step_Project_Done = 0;
inline int16_t Proj_Step_Map_Done = 0;
// The window's working copy of the project parameters; OK writes it back.
inline std::string PPro_Project_File;
inline std::string PPro_Map_File;
inline std::string PPro_Bgl_Base_Path;
inline std::string PPro_Bgl_Excl_Path;
inline std::string PPro_Scenery_Dir;
inline std::string PPro_Raw_Dir;
inline int16_t PPro_Lc_Merge = 0;
inline int16_t PPro_Lc_Keep_Raw = 0;
inline int16_t PPro_Alt_Unit_Feet = 0;   // 0 metres, 1 feet
inline float PPro_Alt_Offset = 0;        // metres
inline int16_t PPro_Cfs_Mode = 0;        // 0 current engine, 1 older engine

// Calibration windows: the caller sets 1, an accepted OK clears it.
inline int16_t Cad_Not_Confirmed = 0;

// Calibration working copy shared by the project parameters window and the calibration windows.
inline double Cad_Lat_NW = 0, Cad_Lon_NW = 0, Cad_Lat_SE = 0, Cad_Lon_SE = 0;
inline int32_t Cad_Px_NW_X = 0, Cad_Px_NW_Y = 0, Cad_Px_SE_X = 0, Cad_Px_SE_Y = 0;
inline int16_t Cad_NW_Set = 0, Cad_SE_Set = 0;
inline int32_t Cad_Map_Width = 0, Cad_Map_Height = 0;
inline int16_t Cad_Tile_Count = 0, Cad_Tile_Rows = 0, Cad_Tile_Cols = 0;

// Calibration from the map centre: the centre (degrees) and the ground size of a pixel (metres,
// along a column and along a row). The map choice sets both sizes to 4.75; they persist.
inline double Center_Lat = 0, Center_Lon = 0;
inline double Center_M_Per_Px_Lat = 4.75, Center_M_Per_Px_Lon = 4.75;

// Folder picker: the caller sets the title; the picker loads with Cancelled := 1.
inline std::string Dir_Pick_Title;
inline std::string Dir_Pick_Path;
inline int16_t Dir_Pick_Cancelled = 0;

// Start values of every global above (tests).
inline void Setup_Services_Reset() {
    PGen_Language.clear();
    PGen_Fs_Dir.clear();
    PGen_Texture_Dir.clear();
    PGen_Editor_Path.clear();
    Proj_Accepted = 0;
    Proj_Step_Project_Done = Proj_Step_Map_Done = 0;
    PPro_Project_File.clear();
    PPro_Map_File.clear();
    PPro_Bgl_Base_Path.clear();
    PPro_Bgl_Excl_Path.clear();
    PPro_Scenery_Dir.clear();
    PPro_Raw_Dir.clear();
    PPro_Lc_Merge = PPro_Lc_Keep_Raw = 0;
    PPro_Alt_Unit_Feet = 0;
    PPro_Alt_Offset = 0;
    PPro_Cfs_Mode = 0;
    Cad_Not_Confirmed = 0;
    Cad_Lat_NW = Cad_Lon_NW = Cad_Lat_SE = Cad_Lon_SE = 0;
    Cad_Px_NW_X = Cad_Px_NW_Y = Cad_Px_SE_X = Cad_Px_SE_Y = 0;
    Cad_NW_Set = Cad_SE_Set = 0;
    Cad_Map_Width = Cad_Map_Height = 0;
    Cad_Tile_Count = Cad_Tile_Rows = Cad_Tile_Cols = 0;
    Center_Lat = Center_Lon = 0;
    Center_M_Per_Px_Lat = Center_M_Per_Px_Lon = 4.75;
    Dir_Pick_Title.clear();
    Dir_Pick_Path.clear();
    Dir_Pick_Cancelled = 0;
}
