#pragma once
// Map pixels <-> latitude/longitude by the project's two calibration points, and
// latitude/longitude -> cells of the simulator's terrain grid (LOD5, LOD8, LOD10, LOD13),
// cell-local positions and quad keys. Pure functions of their arguments and the calibration
// globals of project.h; results come back through the out-arguments, in the order listed.
#include <array>
#include <cstdint>
#include <string>

// Exact binary fractions: every boundary below is exact in a double.
constexpr double Lod5_Height = 2.8125;           // 45/16
constexpr double Lod5_Width = 3.75;              // 15/4
constexpr double Lod8_Height = 0.3515625;        // 45/128
constexpr double Lod8_Width = 0.46875;           // 15/32
constexpr double Lod10_Height = 0.087890625;     // 45/512
constexpr double Lod10_Width = 0.1171875;        // 15/128
constexpr double Lod13_Height = 0.010986328125;  // 45/4096
constexpr double Lod13_Width = 0.0146484375;     // 15/1024

// Cell-local encodings.
constexpr int16_t Lod13_Local_Max = 255;
constexpr int16_t Lod8_Local_Origin = 4080;      // west/north edge of an LOD8 cell
constexpr int16_t Lod8_Local_Span = 8160;        // 32 x 255
constexpr int16_t Lod8_Local_Max = 12240;        // east/south edge

void Com_Pixel_To_LatLon(double x, double y, double& latitude, double& longitude);
void Com_LatLon_To_Pixel(double latitude, double longitude, double& x, double& y);
// Same, by the latitudes and longitudes of Old_Cal_Lat_Lon and the current calibration pixels.
void Com_LatLon_To_Pixel_Old(double latitude, double longitude, double& x, double& y);

// A point on a latitude boundary belongs to the cell south of it, on a longitude boundary to
// the cell east of it. Outside the world: row -1 north of 90, row 512 at or south of -90,
// column -1 west of -180, column 768 at or east of 180.
void Com_LatLon_To_Cell(double latitude, double longitude, int16_t& lod8_row, int16_t& lod13_row,
                        int16_t& lod8_col, int16_t& lod13_col);
// The LOD13 grid corner nearest to the point (the grid shifted by half an LOD13 cell north and
// west); land-class and water-class cells are keyed by it.
void Com_LatLon_To_Cell_Centred(double latitude, double longitude, int16_t& lod8_row,
                                int16_t& lod13_row, int16_t& lod8_col, int16_t& lod13_col);
void Com_Pixel_To_Cell_Centred(double x, double y, int16_t& lod8_col, int16_t& lod8_row,
                               int16_t& lod13_col, int16_t& lod13_row);
void Com_LatLon_To_Cell4(double latitude, double longitude, int16_t& lod8_row, int16_t& lod10_row,
                         int16_t& lod8_col, int16_t& lod10_col);
void Com_Pixel_To_Cell4(double x, double y, int16_t& lod8_col, int16_t& lod8_row,
                        int16_t& lod10_col, int16_t& lod10_row);
// LOD5 cell and the LOD13 row and column (0..255) inside it.
void Com_LatLon_To_Cell5(double latitude, double longitude, int16_t& lod5_row, int16_t& lod13_row,
                         int16_t& lod5_col, int16_t& lod13_col);
// The LOD5 cell of an LOD13 cell given by its LOD8 cell and its place in it.
void Com_Cell_Center_Reindex(int16_t lod8_col, int16_t lod8_row, int16_t lod13_col,
                             int16_t lod13_row, int16_t& lod5_col, int16_t& lod5_row,
                             int16_t& lod13_col_in_lod5, int16_t& lod13_row_in_lod5);

// LOD13-local position (0..255) of a pixel in the cell found for it, rounded halves to even.
void Com_Pixel_To_Sub_Pos_Clamped(double x, double y, int16_t& lod8_col, int16_t& lod8_row,
                                  int16_t& lod13_col, int16_t& lod13_row, int16_t& px, int16_t& py);
// LOD13-local position (0..255) in the given cell, snapped to the edges within 1/255.
void Com_Pixel_To_Sub_Pos_Rounded(double x, double y, int16_t lod8_col, int16_t lod8_row,
                                  int16_t lod13_col, int16_t lod13_row, int16_t& px, int16_t& py);
// LOD8-local position (4080..12240) of a pixel, measured through its LOD13 cell.
void Com_Pixel_To_Sub_Pos(double x, double y, int16_t& lod8_col, int16_t& lod8_row,
                          int16_t& lod13_col, int16_t& lod13_row, int16_t& lx, int16_t& ly);
// LOD8-local position (4080..12240) of a pixel in the LOD8 cell found for it.
void Com_Pixel_To_Cell_Pos(double x, double y, int16_t& lod8_col, int16_t& lod8_row, int16_t& lx,
                           int16_t& ly);
// LOD8-local position (4080..12240) in the given LOD8 cell, snapped to the edges.
void Com_Pixel_To_Cell_Pos_Clamped(double x, double y, int16_t lod8_col, int16_t lod8_row,
                                   int16_t& lx, int16_t& ly);
// LOD8-local position in the given LOD8 cell, neither snapped nor clamped to the cell; a point
// too far away for a 16-bit value saturates at -32768 or 32767.
void Com_Pixel_To_Cell_Pos_Unclamped(double x, double y, int16_t lod8_col, int16_t lod8_row,
                                     int16_t& lx, int16_t& ly);
inline void Com_Pixel_To_Cell_Pos_Centred(double x, double y, int16_t lod8_col, int16_t lod8_row,
                                          int16_t& lx, int16_t& ly) {
    Com_Pixel_To_Cell_Pos_Unclamped(x, y, lod8_col, lod8_row, lx, ly);
}

// 15-digit base-4 quad key of an LOD13 cell.
void Com_Cell_Quad_Key(int16_t lod8_col, int16_t lod8_row, int16_t lod13_col, int16_t lod13_row,
                       std::string& key);
std::string Com_Cell_Quad_Key(int16_t lod8_col, int16_t lod8_row, int16_t lod13_col,
                              int16_t lod13_row);

// The grid cells of the map's corners and the grid frame one LOD13 cell outside them, for the
// map's edge latitudes and longitudes (row 0, column 0, last row, last column).
// corner: NW row, NW column, SE row, SE column, NW sub-row, NW sub-column, SE sub-row,
// SE sub-column. frame: north sub-row, north row, west sub-column, west column, south sub-row,
// south row, east sub-column, east column. The frame stops at the grid's edges. Then the
// frame's edges in degrees.
void Com_Grid_Frame_Cells(double top_lat, double left_lon, double bottom_lat, double right_lon,
                          std::array<int16_t, 8>& corner, std::array<int16_t, 8>& frame,
                          double& lat_north, double& lon_west, double& lat_south,
                          double& lon_east);
