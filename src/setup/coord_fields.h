#pragma once
// The latitude, longitude and metres-per-pixel boxes of the calibration windows. They all
// behave alike: the whole text is selected on focus, Enter validates, Escape puts the stored
// value back, and an accepted value is stored at once (with the other notation in the label
// beside a coordinate box); a refused one gets message 1 and keeps the focus.
#include <string>

#include "platform/ui/controls.h"

enum class Coord_Kind { Latitude, Longitude, Metres_Per_Pixel };

// One box, the working variable it edits and the label that shows the other notation (none
// for a metres-per-pixel box).
struct Coord_Field {
    plat::TextBox& Box;
    Coord_Kind Kind;
    double& Value;
    plat::Label* Other = nullptr;

    void GotFocus() const;
    // Enter runs `validate` (the form's own Validate handler; its Cancel is not used further),
    // Escape shows the stored value again.
    template <class Validate>
    void KeyDown(int key_code, Validate&& validate) const {
        if (key_code == 13) {
            bool cancel = false;
            validate(cancel);
        } else if (key_code == 27) {
            Show_Value();
        }
    }
    // The box's text trimmed and, when accepted, stored; true (Cancel) when refused.
    bool Validate() const;
    // The stored value as text in the box.
    void Show_Value() const;
};
