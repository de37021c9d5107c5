// The calibration windows' coordinate and metres-per-pixel boxes: their events and checks.
#include "setup/coord_fields.h"

#include <cmath>
#include <cstdint>

#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/number_entry.h"
#include "core/syst.h"
#include "platform/text.h"

void Coord_Field::Wire() const {
    // The field refers to the window's controls and to globals, all of which outlive it.
    const Coord_Field field = *this;
    Box.GotFocus = [field] { field.GotFocus(); };
    Box.KeyDown = [field](int& key_code, int) { field.KeyDown(key_code); };
    Box.Validate = [field](bool& cancel) { cancel = field.Validate(); };
}

void Coord_Field::GotFocus() const {
    Box.SelStart = 0;
    Box.SelLength = static_cast<int>(Box.Text().size());
}

void Coord_Field::KeyDown(int key_code) const {
    if (key_code == plat::Key_Return) Validate();
    else if (key_code == plat::Key_Escape) Show_Value();
}

void Coord_Field::Show_Value() const { Box.SetText(SYST_To_Text(Value)); }

void Coord_Field::Show_Dms() const {
    if (Other) Other->SetCaption(Kind == Coord_Kind::Latitude ? Com_Format_Lat_Dms(Value) : Com_Format_Lon_Dms(Value));
}

bool Coord_Field::Validate() const {
    const std::string text = plat::Trim(Box.Text());
    Box.SetText(text);
    if (double v = 0; Number_Entry_Read(text, v)) {
        bool in_range = false;
        switch (Kind) {
            case Coord_Kind::Latitude: in_range = v >= -90 && v <= 90; break;
            case Coord_Kind::Longitude: in_range = v >= -180 && v <= 180; break;
            case Coord_Kind::Metres_Per_Pixel: in_range = v > 0; break;
        }
        if (in_range) {
            Value = v;
            Show_Dms();
            return false;
        }
    } else if (Kind != Coord_Kind::Metres_Per_Pixel) {
        double v = 0;
        int16_t error = 1;
        if (Kind == Coord_Kind::Latitude) SrfBis_Parse_Lat(text, v, error);
        else SrfBis_Parse_Lon(text, v, error);
        if (error == 0) {
            Value = v;
            if (Other) Other->SetCaption(SYST_To_Text(v));
            return false;
        }
    }
    Msg_Answer = ERREUR_Show_Message(1);
    return true;
}
