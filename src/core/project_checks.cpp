// The project's values that a file can hold but the program cannot use: a frame or calibration
// beyond the poles or the 180th meridian, edges the wrong way round, pixel edges beyond 32 bits.
// Inside the world the grid has at most 16384 LOD13 rows and 24576 columns, so every count the
// drawing and the generators derive from the frame fits its integer.
#include "core/project_checks.h"

#include <string>

#include "core/project.h"
#include "core/syst.h"

namespace {

struct Edge_Pair {
    const char* fr;
    const char* us;
    double high;   // the north or east edge
    double low;    // the south or west edge
    double limit;  // 90 for latitudes, 180 for longitudes, Project_Pixel_Limit for pixels
};

bool Within(double v, double limit) { return v >= -limit && v <= limit; }  // false for NaN too

}  // namespace

Project_Value_Fault Project_Check_Values(const std::string& path) {
    // Equal edges (a project not yet calibrated) are let through: they draw no grid.
    const Edge_Pair pairs[] = {
        {"latitudes des bords de la carte", "latitudes of the map's edges", Map_Top_Lat, Map_Bottom_Lat, 90},
        {"longitudes des bords de la carte", "longitudes of the map's edges", Map_Right_Lon, Map_Left_Lon, 180},
        {"latitudes de calibration", "calibration latitudes", Proj_Lat_NW, Proj_Lat_SE, 90},
        {"longitudes de calibration", "calibration longitudes", Proj_Lon_SE, Proj_Lon_NW, 180},
        {"latitudes du cadre", "latitudes of the frame", Map_Lat_North, Map_Lat_South, 90},
        {"longitudes du cadre", "longitudes of the frame", Map_Lon_East, Map_Lon_West, 180},
        // The frame's pixel edges become picture pixels.
        {"colonnes du cadre en pixels", "pixel columns of the frame", Map_Px_East, Map_Px_West, Project_Pixel_Limit},
        {"lignes du cadre en pixels", "pixel rows of the frame", Map_Px_South, Map_Px_North, Project_Pixel_Limit},
    };
    const std::string refused_fr = "\r\nLe fichier projet n'a pas été chargé : " + path;
    const std::string refused_us = "\r\nThe project file was not loaded: " + path;
    for (const Edge_Pair& p : pairs) {
        const std::string values = " (" + SYST_To_Text(p.high) + ", " + SYST_To_Text(p.low) + ")";
        if (!Within(p.high, p.limit) || !Within(p.low, p.limit)) {
            if (p.limit > 180)
                return {"Le cadre de la carte est trop loin pour le programme : " + std::string(p.fr) + values + refused_fr,
                        "The map's frame lies too far for the program: " + std::string(p.us) + values + refused_us};
            return {"La carte sort du monde : " + std::string(p.fr) + values +
                        " ; les latitudes vont de -90 à 90 et les longitudes de -180 à 180." + refused_fr,
                    "The map lies outside the world: " + std::string(p.us) + values +
                        "; latitudes run from -90 to 90 and longitudes from -180 to 180." + refused_us};
        }
        if (p.high < p.low)
            return {"Les bords de la carte sont inversés : " + std::string(p.fr) + values + refused_fr,
                    "The map's edges are the wrong way round: " + std::string(p.us) + values + refused_us};
    }
    return {};
}
