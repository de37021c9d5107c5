#pragma once
// Calibration from the map centre: the author gives the latitude and longitude of the bitmap's
// centre and the ground size of a pixel; OK puts the two calibration points on the bitmap's
// top-left and bottom-right pixels and computes the map frame.
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "setup/coord_fields.h"

class Frm_CenterMap : public plat::Form {
public:
    Frm_CenterMap();

    plat::Label L_CoordMap{*this, "L_CoordMap"};
    plat::Label Label3{*this, "Label3"};   // "Lat:"
    plat::TextBox LatDecCenter{*this, "LatDecCenter"};
    plat::Label LLatCenter{*this, "LLatCenter"};
    plat::Label Label4{*this, "Label4"};   // "Lon:"
    plat::TextBox LonDecCenter{*this, "LonDecCenter"};
    plat::Label LLonCenter{*this, "LLonCenter"};
    plat::Label L_Meter_Pixel{*this, "L_Meter_Pixel"};
    plat::Label Label7{*this, "Label7"};   // "Lat:"
    plat::TextBox NbM_Per_Pixel_Lat{*this, "NbM_Per_Pixel_Lat"};
    plat::Label Label5{*this, "Label5"};   // "Lon:"
    plat::TextBox NbM_Per_Pixel_Lon{*this, "NbM_Per_Pixel_Lon"};
    plat::Label Label1{*this, "Label1"};   // "Bitmap "
    plat::Label Label2{*this, "Label2"};   // "Pixels  Lat. :"
    plat::Label L_Pix_Lat{*this, "L_Pix_Lat"};
    plat::Label Label6{*this, "Label6"};   // "Pixels  Lon. :"
    plat::Label L_Pix_Lon{*this, "L_Pix_Lon"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};
    plat::CommandButton Cmd_Help{*this, "Cmd_Help"};

    void Frm_CenterMap_Form_Load();
    void Frm_CenterMap_Cmd_Ok_Click();
    void Frm_CenterMap_Cmd_Cancel_Click();
    void Frm_CenterMap_Cmd_Help_Click() {}

    void Frm_CenterMap_LatDecCenter_GotFocus() { Lat().GotFocus(); }
    void Frm_CenterMap_LatDecCenter_KeyDown(int& key_code, int) {
        Lat().KeyDown(key_code, [this](bool& c) { Frm_CenterMap_LatDecCenter_Validate(c); });
    }
    void Frm_CenterMap_LatDecCenter_Validate(bool& cancel) { cancel = Lat().Validate(); }
    void Frm_CenterMap_LonDecCenter_GotFocus() { Lon().GotFocus(); }
    void Frm_CenterMap_LonDecCenter_KeyDown(int& key_code, int) {
        Lon().KeyDown(key_code, [this](bool& c) { Frm_CenterMap_LonDecCenter_Validate(c); });
    }
    void Frm_CenterMap_LonDecCenter_Validate(bool& cancel) { cancel = Lon().Validate(); }
    void Frm_CenterMap_NbM_Per_Pixel_Lat_GotFocus() { Size_Lat().GotFocus(); }
    void Frm_CenterMap_NbM_Per_Pixel_Lat_KeyDown(int& key_code, int) {
        Size_Lat().KeyDown(key_code, [this](bool& c) { Frm_CenterMap_NbM_Per_Pixel_Lat_Validate(c); });
    }
    void Frm_CenterMap_NbM_Per_Pixel_Lat_Validate(bool& cancel) { cancel = Size_Lat().Validate(); }
    void Frm_CenterMap_NbM_Per_Pixel_Lon_GotFocus() { Size_Lon().GotFocus(); }
    void Frm_CenterMap_NbM_Per_Pixel_Lon_KeyDown(int& key_code, int) {
        Size_Lon().KeyDown(key_code, [this](bool& c) { Frm_CenterMap_NbM_Per_Pixel_Lon_Validate(c); });
    }
    void Frm_CenterMap_NbM_Per_Pixel_Lon_Validate(bool& cancel) { cancel = Size_Lon().Validate(); }

protected:
    void Design() override;

private:
    Coord_Field Lat();
    Coord_Field Lon();
    Coord_Field Size_Lat();
    Coord_Field Size_Lon();
};

// The one instance of the window.
Frm_CenterMap& Frm_CenterMap_Window();
// Shows it modally (the caller has set Cad_Not_Confirmed := 1).
void Frm_CenterMap_Show_Modal();
