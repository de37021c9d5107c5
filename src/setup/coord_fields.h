#pragma once
// The latitude, longitude and metres-per-pixel boxes of the calibration windows. They all
// behave alike: the whole text is selected on focus, Enter validates, Escape puts the stored
// value back, and an accepted value is stored at once (with the other notation in the label
// beside a coordinate box); a refused one gets message 1 and keeps the focus.
#include <array>
#include <string>

#include "platform/ui/controls.h"
#include "setup/setup_services.h"

enum class Coord_Kind { Latitude, Longitude, Metres_Per_Pixel };

// One box, the working variable it edits and the label that shows the other notation (none
// for a metres-per-pixel box).
struct Coord_Field {
    plat::TextBox& Box;
    Coord_Kind Kind;
    double& Value;
    plat::Label* Other = nullptr;

    // Gives the box its GotFocus, KeyDown and Validate: the behaviour above.
    void Wire() const;
    void GotFocus() const;
    // Enter validates (a refusal keeps the text for a correction), Escape shows the stored value.
    void KeyDown(int key_code) const;
    // The box's text trimmed and, when accepted, stored; true (Cancel) when refused.
    bool Validate() const;
    // The stored value as text in the box.
    void Show_Value() const;
    // The stored value in degrees, minutes and seconds in the label of a coordinate box.
    void Show_Dms() const;
};

// The NW and SE latitude and longitude boxes of a window that edits the two calibration
// points (the working copy Cad_Lat_NW ... Cad_Lon_SE), each with its label below.
template <class Window>
std::array<Coord_Field, 4> Coord_Corner_Fields(Window& w) {
    return {{{w.NWLatDec, Coord_Kind::Latitude, Cad_Lat_NW, &w.LNWLat},
             {w.NWLonDec, Coord_Kind::Longitude, Cad_Lon_NW, &w.LNWLon},
             {w.SELatDec, Coord_Kind::Latitude, Cad_Lat_SE, &w.LSELat},
             {w.SELonDec, Coord_Kind::Longitude, Cad_Lon_SE, &w.LSELon}}};
}
