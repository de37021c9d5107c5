#include "setup/map_frame.h"

#include <cmath>

#include "core/grid.h"
#include "core/project.h"
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

void Cad_Compute_Map_Edges(const Cad_Frame_Input& in) {
    // Pixel differences as integers first; 64 bits so that no pair of 32-bit pixels overflows.
    const double dy = static_cast<double>(static_cast<int64_t>(in.Px_SE_Y) - in.Px_NW_Y);
    const double dx = static_cast<double>(static_cast<int64_t>(in.Px_SE_X) - in.Px_NW_X);
    const double last_row = static_cast<double>(static_cast<int64_t>(in.Height) - 1);
    const double last_col = static_cast<double>(static_cast<int64_t>(in.Width) - 1);

    Map_Top_Lat = in.Lat_NW + std::fabs(in.Lat_NW - in.Lat_SE) * in.Px_NW_Y / std::fabs(dy);
    Map_Bottom_Lat = Map_Top_Lat - std::fabs(in.Lat_SE - Map_Top_Lat) * last_row / std::fabs(static_cast<double>(in.Px_SE_Y));
    Map_Left_Lon = in.Lon_NW - std::fabs(in.Lon_NW - in.Lon_SE) * in.Px_NW_X / std::fabs(dx);
    Map_Right_Lon = Map_Left_Lon + std::fabs(in.Lon_SE - Map_Left_Lon) * last_col / std::fabs(static_cast<double>(in.Px_SE_X));
}

void Cad_Compute_Map_Frame(const Cad_Frame_Input& in) {
    Com_Grid_Frame_Cells(Map_Top_Lat, Map_Left_Lon, Map_Bottom_Lat, Map_Right_Lon, Grid_Corner_Cells,
                         Grid_Frame_Cells, Map_Lat_North, Map_Lon_West, Map_Lat_South, Map_Lon_East);

    const double dx = static_cast<double>(static_cast<int64_t>(in.Px_SE_X) - in.Px_NW_X);
    const double dy = static_cast<double>(static_cast<int64_t>(in.Px_SE_Y) - in.Px_NW_Y);
    const double kx = dx / (in.Lon_SE - in.Lon_NW);
    const double ky = dy / (in.Lat_NW - in.Lat_SE);
    Map_Px_West = kx * (Map_Lon_West - Map_Left_Lon);
    Map_Px_North = ky * (Map_Top_Lat - Map_Lat_North);
    Map_Px_East = kx * (Map_Lon_East - Map_Left_Lon);
    Map_Px_South = ky * (Map_Top_Lat - Map_Lat_South);
}
