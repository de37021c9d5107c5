#pragma once
// Calibration from the map centre: the author gives the latitude and longitude of the bitmap's
// centre and the ground size of a pixel; OK puts the two calibration points on the bitmap's
// top-left and bottom-right pixels and computes the map frame.
#include <array>

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
    // The four boxes behave as setup/coord_fields.h says; they have no handlers here.

protected:
    void Design() override;

private:
    // The centre's latitude and longitude, then the metres per pixel along a column and a row.
    std::array<Coord_Field, 4> Fields();
};

// The one instance of the window.
Frm_CenterMap& Frm_CenterMap_Window();
// Shows it modally (the caller has set Cad_Not_Confirmed := 1).
void Frm_CenterMap_Show_Modal();
