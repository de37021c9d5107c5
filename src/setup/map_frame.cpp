// From a calibration: order and pixel checks, the map's edges in degrees, the grid frame in
// degrees and pixels, and the check that it lies inside the grid.
#include "setup/map_frame.h"

#include <array>
#include <cmath>

#include "core/erreur.h"
#include "core/grid.h"
#include "core/project_checks.h"
#include "core/project.h"
#include "platform/host.h"
#include "setup/setup_services.h"

Cad_Frame_Input Cad_Working_Input() {
    Cad_Frame_Input in;
    in.Lat_NW = Cad_Lat_NW;
    in.Lon_NW = Cad_Lon_NW;
    in.Lat_SE = Cad_Lat_SE;
    in.Lon_SE = Cad_Lon_SE;
    in.Px_NW_X = Cad_Px_NW_X;
    in.Px_NW_Y = Cad_Px_NW_Y;
    in.Px_SE_X = Cad_Px_SE_X;
    in.Px_SE_Y = Cad_Px_SE_Y;
    in.Width = Cad_Map_Width;
    in.Height = Cad_Map_Height;
    return in;
}

void Cad_Take_Project_Points() {
    Cad_Px_NW_X = Proj_Px_NW_X;
    Cad_Px_NW_Y = Proj_Px_NW_Y;
    Cad_Px_SE_X = Proj_Px_SE_X;
    Cad_Px_SE_Y = Proj_Px_SE_Y;
    Cad_NW_Set = Proj_NW_Set;
    Cad_SE_Set = Proj_SE_Set;
}

int16_t Cad_Check_Order(const Cad_Frame_Input& in) {
    // Written so that a NaN fails too.
    if (!(in.Lat_NW > in.Lat_SE) || !(in.Lon_NW < in.Lon_SE)) return 7;
    if (!std::isfinite(in.Lat_NW) || !std::isfinite(in.Lat_SE) || !std::isfinite(in.Lon_NW) ||
        !std::isfinite(in.Lon_SE))
        return 7;
    return 0;
}

int16_t Cad_Check_Pixels(const Cad_Frame_Input& in) {
    if (in.Px_NW_X < 0 || in.Px_NW_Y < 0) return 7;
    if (in.Px_NW_X >= in.Px_SE_X || in.Px_NW_Y >= in.Px_SE_Y) return 7;
    return 0;
}

Cad_Map_Edges Cad_Edges_Of(const Cad_Frame_Input& in) {
    // Pixel differences as integers first; 64 bits so that no pair of 32-bit pixels overflows.
    const double dy = static_cast<double>(static_cast<int64_t>(in.Px_SE_Y) - in.Px_NW_Y);
    const double dx = static_cast<double>(static_cast<int64_t>(in.Px_SE_X) - in.Px_NW_X);
    const double last_row = static_cast<double>(static_cast<int64_t>(in.Height) - 1);
    const double last_col = static_cast<double>(static_cast<int64_t>(in.Width) - 1);

    Cad_Map_Edges e;
    e.Top_Lat = in.Lat_NW + std::fabs(in.Lat_NW - in.Lat_SE) * in.Px_NW_Y / std::fabs(dy);
    e.Bottom_Lat = e.Top_Lat - std::fabs(in.Lat_SE - e.Top_Lat) * last_row / std::fabs(static_cast<double>(in.Px_SE_Y));
    e.Left_Lon = in.Lon_NW - std::fabs(in.Lon_NW - in.Lon_SE) * in.Px_NW_X / std::fabs(dx);
    e.Right_Lon = e.Left_Lon + std::fabs(in.Lon_SE - e.Left_Lon) * last_col / std::fabs(static_cast<double>(in.Px_SE_X));
    return e;
}

void Cad_Compute_Map_Edges(const Cad_Frame_Input& in) {
    const Cad_Map_Edges e = Cad_Edges_Of(in);
    Map_Top_Lat = e.Top_Lat;
    Map_Bottom_Lat = e.Bottom_Lat;
    Map_Left_Lon = e.Left_Lon;
    Map_Right_Lon = e.Right_Lon;
}

namespace {

struct Frame_Pixels {
    double West = 0, North = 0, East = 0, South = 0;
};

// The frame's edges in bitmap pixels, from the bitmap's edge top and left and the frame's edges
// in degrees, at the points' pixels per degree.
Frame_Pixels Frame_Pixels_Of(const Cad_Frame_Input& in, double top_lat, double left_lon, double north, double west,
                             double south, double east) {
    const double dx = static_cast<double>(static_cast<int64_t>(in.Px_SE_X) - in.Px_NW_X);
    const double dy = static_cast<double>(static_cast<int64_t>(in.Px_SE_Y) - in.Px_NW_Y);
    const double kx = dx / (in.Lon_SE - in.Lon_NW);
    const double ky = dy / (in.Lat_NW - in.Lat_SE);
    return {kx * (west - left_lon), ky * (top_lat - north), kx * (east - left_lon), ky * (top_lat - south)};
}

void Refuse_Calibration(const char* us, const char* fr) {
    plat::CurrentHost().MsgBox(Language == "US" ? us : fr, plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
}

}  // namespace

bool Cad_Check_Inside_Grid(const Cad_Frame_Input& in) {
    const Cad_Map_Edges e = Cad_Edges_Of(in);
    // The grid's last row and column end at -90 and +180: an edge on them is outside already.
    std::array<int16_t, 8> corner{}, frame{};
    double north = 0, west = 0, south = 0, east = 0;
    Com_Grid_Frame_Cells(e.Top_Lat, e.Left_Lon, e.Bottom_Lat, e.Right_Lon, corner, frame, north, west, south, east);
    const auto within = [](int16_t v, int16_t last) { return v >= 0 && v <= last; };
    const bool inside = e.Top_Lat <= 90 && e.Bottom_Lat > -90 && e.Left_Lon >= -180 && e.Right_Lon < 180 &&
                        within(corner[0], 511) && within(corner[2], 511) && within(corner[1], 767) &&
                        within(corner[3], 767) && within(corner[4], 31) && within(corner[5], 31) &&
                        within(corner[6], 31) && within(corner[7], 31);
    if (!inside) {
        Refuse_Calibration("This calibration puts the map beyond a pole or the 180th meridian, outside the terrain grid. "
                           "Check the coordinates and the size of a pixel.",
                           "Cette calibration place la carte au-delà d'un pôle ou du 180e méridien, hors de la grille du "
                           "terrain. Vérifiez les coordonnées et la taille d'un pixel.");
        return false;
    }
    // A project file holds no frame farther than this many pixels; the reader would refuse it.
    const Frame_Pixels px = Frame_Pixels_Of(in, e.Top_Lat, e.Left_Lon, north, west, south, east);
    const auto reachable = [](double v) { return std::fabs(v) <= Project_Pixel_Limit; };
    if (reachable(px.West) && reachable(px.North) && reachable(px.East) && reachable(px.South)) return true;
    Refuse_Calibration("This calibration makes a pixel so small that the terrain grid's frame lies beyond the "
                       "program's reach in pixels. Check the coordinates and the size of a pixel.",
                       "Cette calibration rend un pixel si petit que le cadre de la grille du terrain est hors de "
                       "portée du programme en pixels. Vérifiez les coordonnées et la taille d'un pixel.");
    return false;
}

bool Cad_Accept(const Cad_Frame_Input& in) {
    int16_t refused = Cad_Check_Pixels(in);
    if (refused == 0) refused = Cad_Check_Order(in);
    if (refused != 0) {
        Msg_Answer = ERREUR_Show_Message(refused);
        return false;
    }
    return Cad_Check_Inside_Grid(in);
}

void Cad_Compute_Map_Frame(const Cad_Frame_Input& in) {
    Com_Grid_Frame_Cells(Map_Top_Lat, Map_Left_Lon, Map_Bottom_Lat, Map_Right_Lon, Grid_Corner_Cells,
                         Grid_Frame_Cells, Map_Lat_North, Map_Lon_West, Map_Lat_South, Map_Lon_East);
    const Frame_Pixels px =
        Frame_Pixels_Of(in, Map_Top_Lat, Map_Left_Lon, Map_Lat_North, Map_Lon_West, Map_Lat_South, Map_Lon_East);
    Map_Px_West = px.West;
    Map_Px_North = px.North;
    Map_Px_East = px.East;
    Map_Px_South = px.South;
}
