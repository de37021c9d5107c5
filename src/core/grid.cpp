// Pixel <-> latitude/longitude by the calibration, and the LOD5/8/10/13 cells, cell-local
// positions and quad keys a point falls in.
#include "core/grid.h"

#include <cmath>
#include <cstdlib>

#include "core/project.h"

namespace {

// Index k of the cell holding v among n boundaries origin - j * step (j = 0..n-1), counted
// southward: origin - (k+1) step < v <= origin - k step. -1 north of the first boundary, n-1 at
// or south of the last. The division only guesses; the exact boundary comparisons decide, so a
// point on a boundary lands in the cell south of it.
int32_t Count_Down(double v, double origin, double step, int32_t n) {
    if (!(v <= origin)) return -1;  // also NaN
    double q = (origin - v) / step;
    int64_t k = q < 0 ? 0 : (q > n - 1 ? n - 1 : static_cast<int64_t>(q));
    while (k > 0 && !(v <= origin - static_cast<double>(k) * step)) --k;
    while (k + 1 <= n - 1 && v <= origin - static_cast<double>(k + 1) * step) ++k;
    return static_cast<int32_t>(k);
}

// The same eastward: origin + k step <= v < origin + (k+1) step.
int32_t Count_Up(double v, double origin, double step, int32_t n) {
    if (!(v >= origin)) return -1;
    double q = (v - origin) / step;
    int64_t k = q < 0 ? 0 : (q > n - 1 ? n - 1 : static_cast<int64_t>(q));
    while (k > 0 && !(v >= origin + static_cast<double>(k) * step)) --k;
    while (k + 1 <= n - 1 && v >= origin + static_cast<double>(k + 1) * step) ++k;
    return static_cast<int32_t>(k);
}

int16_t To_I16(int32_t v) {
    return static_cast<int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v));
}

// Nearest integer, halves to even, held within lo..hi (NaN gives lo).
int16_t Round_Even_Within(double v, int32_t lo, int32_t hi) {
    if (!(v >= lo)) return static_cast<int16_t>(lo);
    if (v >= hi) return static_cast<int16_t>(hi);
    return static_cast<int16_t>(std::nearbyint(v));
}

// Integer part, held within lo..hi (NaN gives lo).
int16_t Trunc_Within(double v, int32_t lo, int32_t hi) {
    if (!(v >= lo)) return static_cast<int16_t>(lo);
    if (v >= hi) return static_cast<int16_t>(hi);
    return static_cast<int16_t>(std::trunc(v));
}

double Lod8_West(int32_t col) { return col * Lod8_Width - 180.0; }
double Lod8_North(int32_t row) { return 90.0 - row * Lod8_Height; }

// Distance from a given edge in cell units 0..span, snapped to the edges within one unit.
int32_t Snapped_Offset(double distance, double size, int32_t span) {
    const double unit = size / span;
    if (distance < unit) return 0;
    if (std::fabs(distance - size) < unit) return span;
    double v = span * distance / size + 0.5;
    if (!(v >= 0)) return 0;
    if (v >= span) return span;
    return static_cast<int32_t>(std::trunc(v));
}

void Interpolate_To_Pixel(double lat_nw, double lon_nw, double lat_se, double lon_se,
                          double latitude, double longitude, double& x, double& y) {
    const double dx_px = static_cast<double>(static_cast<int64_t>(Proj_Px_SE_X) - Proj_Px_NW_X);
    const double dy_px = static_cast<double>(static_cast<int64_t>(Proj_Px_SE_Y) - Proj_Px_NW_Y);
    const double dlon = lon_se - lon_nw;
    const double dlat = lat_se - lat_nw;
    // A calibration with equal coordinates has no scale: the calibration pixel itself.
    x = dlon != 0 ? Proj_Px_NW_X + dx_px * (longitude - lon_nw) / dlon : Proj_Px_NW_X;
    y = dlat != 0 ? Proj_Px_NW_Y - dy_px * (lat_nw - latitude) / dlat : Proj_Px_NW_Y;
}

}  // namespace

void Com_Pixel_To_LatLon(double x, double y, double& latitude, double& longitude) {
    const double dx_px = static_cast<double>(static_cast<int64_t>(Proj_Px_SE_X) - Proj_Px_NW_X);
    const double dy_px = static_cast<double>(static_cast<int64_t>(Proj_Px_SE_Y) - Proj_Px_NW_Y);
    // Two calibration points on one row or column give no scale: the calibration value itself.
    latitude = dy_px != 0 ? Proj_Lat_NW + (Proj_Lat_SE - Proj_Lat_NW) * (y - Proj_Px_NW_Y) / dy_px
                          : Proj_Lat_NW;
    longitude = dx_px != 0
                    ? Proj_Lon_NW + (Proj_Lon_SE - Proj_Lon_NW) * (x - Proj_Px_NW_X) / dx_px
                    : Proj_Lon_NW;
}

void Com_LatLon_To_Pixel(double latitude, double longitude, double& x, double& y) {
    Interpolate_To_Pixel(Proj_Lat_NW, Proj_Lon_NW, Proj_Lat_SE, Proj_Lon_SE, latitude, longitude,
                         x, y);
}

void Com_LatLon_To_Pixel_Old(double latitude, double longitude, double& x, double& y) {
    Interpolate_To_Pixel(Old_Cal_Lat_Lon[0], Old_Cal_Lat_Lon[1], Old_Cal_Lat_Lon[2],
                         Old_Cal_Lat_Lon[3], latitude, longitude, x, y);
}

namespace {

// A grid of rows x cols cells from a north-west corner, each cut into sub_n x sub_n sub-cells.
struct Nested_Grid {
    double north, west, height, width;
    int32_t rows, cols;
    double sub_height, sub_width;
    int32_t sub_n;
};

constexpr Nested_Grid Lod8_Lod13{90.0, -180.0, Lod8_Height, Lod8_Width, 513, 769,
                                 Lod13_Height, Lod13_Width, 33};
constexpr Nested_Grid Lod8_Lod10{90.0, -180.0, Lod8_Height, Lod8_Width, 513, 769,
                                 Lod10_Height, Lod10_Width, 5};
constexpr Nested_Grid Lod5_Lod13{90.0, -180.0, Lod5_Height, Lod5_Width, 65, 97,
                                 Lod13_Height, Lod13_Width, 257};

// The cell holding a position and the sub-cell within it.
void Cell_Search(const Nested_Grid& g, double latitude, double longitude, int16_t& row,
                 int16_t& sub_row, int16_t& col, int16_t& sub_col) {
    const int32_t r = Count_Down(latitude, g.north, g.height, g.rows);
    const int32_t c = Count_Up(longitude, g.west, g.width, g.cols);
    const int32_t sr = Count_Down(latitude, g.north - r * g.height, g.sub_height, g.sub_n);
    const int32_t sc = Count_Up(longitude, g.west + c * g.width, g.sub_width, g.sub_n);
    row = To_I16(r);
    sub_row = To_I16(sr);
    col = To_I16(c);
    sub_col = To_I16(sc);
}

}  // namespace

void Com_LatLon_To_Cell(double latitude, double longitude, int16_t& lod8_row, int16_t& lod13_row,
                        int16_t& lod8_col, int16_t& lod13_col) {
    Cell_Search(Lod8_Lod13, latitude, longitude, lod8_row, lod13_row, lod8_col, lod13_col);
}

void Com_LatLon_To_Cell_Centred(double latitude, double longitude, int16_t& lod8_row,
                                int16_t& lod13_row, int16_t& lod8_col, int16_t& lod13_col) {
    Nested_Grid shifted = Lod8_Lod13;
    shifted.north += Lod13_Height / 2;
    shifted.west -= Lod13_Width / 2;
    Cell_Search(shifted, latitude, longitude, lod8_row, lod13_row, lod8_col, lod13_col);
}

void Com_Pixel_To_Cell_Centred(double x, double y, int16_t& lod8_col, int16_t& lod8_row,
                               int16_t& lod13_col, int16_t& lod13_row) {
    double lat, lon;
    Com_Pixel_To_LatLon(x, y, lat, lon);
    Com_LatLon_To_Cell_Centred(lat, lon, lod8_row, lod13_row, lod8_col, lod13_col);
}

void Com_LatLon_To_Cell4(double latitude, double longitude, int16_t& lod8_row, int16_t& lod10_row,
                         int16_t& lod8_col, int16_t& lod10_col) {
    Cell_Search(Lod8_Lod10, latitude, longitude, lod8_row, lod10_row, lod8_col, lod10_col);
}

void Com_Pixel_To_Cell4(double x, double y, int16_t& lod8_col, int16_t& lod8_row,
                        int16_t& lod10_col, int16_t& lod10_row) {
    double lat, lon;
    Com_Pixel_To_LatLon(x, y, lat, lon);
    Com_LatLon_To_Cell4(lat, lon, lod8_row, lod10_row, lod8_col, lod10_col);
}

void Com_LatLon_To_Cell5(double latitude, double longitude, int16_t& lod5_row, int16_t& lod13_row,
                         int16_t& lod5_col, int16_t& lod13_col) {
    Cell_Search(Lod5_Lod13, latitude, longitude, lod5_row, lod13_row, lod5_col, lod13_col);
}

void Com_Cell_Center_Reindex(int16_t lod8_col, int16_t lod8_row, int16_t lod13_col,
                             int16_t lod13_row, int16_t& lod5_col, int16_t& lod5_row,
                             int16_t& lod13_col_in_lod5, int16_t& lod13_row_in_lod5) {
    const double lat =
        90.0 - (lod8_row * Lod8_Height + lod13_row * Lod13_Height + Lod13_Height / 2);
    const double lon = lod8_col * Lod8_Width + lod13_col * Lod13_Width + Lod13_Width / 2 - 180.0;
    Com_LatLon_To_Cell5(lat, lon, lod5_row, lod13_row_in_lod5, lod5_col, lod13_col_in_lod5);
}

void Com_Pixel_To_Sub_Pos_Clamped(double x, double y, int16_t& lod8_col, int16_t& lod8_row,
                                  int16_t& lod13_col, int16_t& lod13_row, int16_t& px,
                                  int16_t& py) {
    double lat, lon;
    Com_Pixel_To_LatLon(x, y, lat, lon);
    Com_LatLon_To_Cell(lat, lon, lod8_row, lod13_row, lod8_col, lod13_col);
    const double w = Lod8_West(lod8_col) + lod13_col * Lod13_Width;
    const double n = Lod8_North(lod8_row) - lod13_row * Lod13_Height;
    px = Round_Even_Within(255.0 * (lon - w) / Lod13_Width, 0, 255);
    py = Round_Even_Within(255.0 * (n - lat) / Lod13_Height, 0, 255);
}

void Com_Pixel_To_Sub_Pos_Rounded(double x, double y, int16_t lod8_col, int16_t lod8_row,
                                  int16_t lod13_col, int16_t lod13_row, int16_t& px, int16_t& py) {
    double lat, lon;
    Com_Pixel_To_LatLon(x, y, lat, lon);
    const double w = Lod8_West(lod8_col) + lod13_col * Lod13_Width;
    const double n = Lod8_North(lod8_row) - lod13_row * Lod13_Height;
    px = static_cast<int16_t>(Snapped_Offset(std::fabs(lon - w), Lod13_Width, 255));
    py = static_cast<int16_t>(Snapped_Offset(std::fabs(lat - n), Lod13_Height, 255));
}

void Com_Pixel_To_Sub_Pos(double x, double y, int16_t& lod8_col, int16_t& lod8_row,
                          int16_t& lod13_col, int16_t& lod13_row, int16_t& lx, int16_t& ly) {
    double lat, lon;
    Com_Pixel_To_LatLon(x, y, lat, lon);
    Com_LatLon_To_Cell(lat, lon, lod8_row, lod13_row, lod8_col, lod13_col);
    const double w = Lod8_West(lod8_col) + lod13_col * Lod13_Width;
    const double n = Lod8_North(lod8_row) - lod13_row * Lod13_Height;
    lx = Round_Even_Within(255.0 * (lon - w) / Lod13_Width + 4080 + 255.0 * lod13_col, 4080,
                           12240);
    ly = Round_Even_Within(255.0 * (n - lat) / Lod13_Height + 4080 + 255.0 * lod13_row, 4080,
                           12240);
}

void Com_Pixel_To_Cell_Pos(double x, double y, int16_t& lod8_col, int16_t& lod8_row, int16_t& lx,
                           int16_t& ly) {
    double lat, lon;
    Com_Pixel_To_LatLon(x, y, lat, lon);
    lod8_row = To_I16(Count_Down(lat, 90.0, Lod8_Height, 513));
    lod8_col = To_I16(Count_Up(lon, -180.0, Lod8_Width, 769));
    lx = Round_Even_Within(8160.0 * (lon - Lod8_West(lod8_col)) / Lod8_Width + 4080, 4080, 12240);
    ly = Round_Even_Within(8160.0 * (Lod8_North(lod8_row) - lat) / Lod8_Height + 4080, 4080,
                           12240);
}

void Com_Pixel_To_Cell_Pos_Clamped(double x, double y, int16_t lod8_col, int16_t lod8_row,
                                   int16_t& lx, int16_t& ly) {
    double lat, lon;
    Com_Pixel_To_LatLon(x, y, lat, lon);
    lx = static_cast<int16_t>(
        4080 + Snapped_Offset(std::fabs(lon - Lod8_West(lod8_col)), Lod8_Width, 8160));
    ly = static_cast<int16_t>(
        4080 + Snapped_Offset(std::fabs(lat - Lod8_North(lod8_row)), Lod8_Height, 8160));
}

void Com_Pixel_To_Cell_Pos_Unclamped(double x, double y, int16_t lod8_col, int16_t lod8_row,
                                     int16_t& lx, int16_t& ly) {
    double lat, lon;
    Com_Pixel_To_LatLon(x, y, lat, lon);
    // Only the 16-bit field bounds it: 4080 + offset saturates instead of wrapping.
    lx = Trunc_Within(8160.0 * std::fabs(lon - Lod8_West(lod8_col)) / Lod8_Width + 0.5 + 4080,
                      -32768, 32767);
    ly = Trunc_Within(8160.0 * std::fabs(lat - Lod8_North(lod8_row)) / Lod8_Height + 0.5 + 4080,
                      -32768, 32767);
}

void Com_Cell_Quad_Key(int16_t lod8_col, int16_t lod8_row, int16_t lod13_col, int16_t lod13_row,
                       std::string& key) {
    // 15 binary digits hold 0..32767; indices outside the world are held to that range.
    auto within = [](int32_t v) { return v < 0 ? 0 : (v > 32767 ? 32767 : v); };
    const int32_t a = within(static_cast<int32_t>(lod8_col) * 32 + lod13_col);
    const int32_t b = within(static_cast<int32_t>(lod8_row) * 32 + lod13_row);
    key.assign(15, '0');
    for (int i = 0; i < 15; ++i) {
        const int bit = 14 - i;
        key[i] = static_cast<char>('0' + ((a >> bit) & 1) + 2 * ((b >> bit) & 1));
    }
}

std::string Com_Cell_Quad_Key(int16_t lod8_col, int16_t lod8_row, int16_t lod13_col,
                              int16_t lod13_row) {
    std::string key;
    Com_Cell_Quad_Key(lod8_col, lod8_row, lod13_col, lod13_row, key);
    return key;
}

namespace {

// One LOD13 cell towards the grid's start (north, west), carrying into the previous LOD8 cell.
void Step_Back(int16_t& cell, int16_t& sub) {
    if (sub != 0) --sub;
    else if (cell != 0) --cell, sub = 31;
}

// One LOD13 cell towards the grid's end (south, east), carrying into the next LOD8 cell.
void Step_On(int16_t& cell, int16_t& sub, int16_t last_cell) {
    if (sub != 31) ++sub;
    else if (cell != last_cell) ++cell, sub = 0;
}

}  // namespace

void Com_Grid_Frame_Cells(double top_lat, double left_lon, double bottom_lat, double right_lon,
                          std::array<int16_t, 8>& corner, std::array<int16_t, 8>& frame,
                          double& lat_north, double& lon_west, double& lat_south,
                          double& lon_east) {
    Com_LatLon_To_Cell(top_lat, left_lon, corner[0], corner[4], corner[1], corner[5]);
    Com_LatLon_To_Cell(bottom_lat, right_lon, corner[2], corner[6], corner[3], corner[7]);

    int16_t north_row = corner[0], north_sub = corner[4];
    int16_t west_col = corner[1], west_sub = corner[5];
    int16_t south_row = corner[2], south_sub = corner[6];
    int16_t east_col = corner[3], east_sub = corner[7];
    Step_Back(north_row, north_sub);
    Step_Back(west_col, west_sub);
    Step_On(south_row, south_sub, 511);
    Step_On(east_col, east_sub, 767);
    frame = {north_sub, north_row, west_sub, west_col, south_sub, south_row, east_sub, east_col};

    lon_west = west_col * Lod8_Width - 180.0 + west_sub * Lod13_Width;
    lat_north = 90.0 - north_row * Lod8_Height - north_sub * Lod13_Height;
    lon_east = east_col * Lod8_Width - 180.0 + (east_sub + 1) * Lod13_Width;
    lat_south = 90.0 - south_row * Lod8_Height - (south_sub + 1) * Lod13_Height;
}
