#pragma once
// The calibration correction window: new latitudes and longitudes for the open project's two
// calibration points, whose pixels stay where they are. OK makes them the project's
// calibration, computes the map frame again and moves every cell-keyed object to the cells
// that lie on the same place of the bitmap.
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "setup/coord_fields.h"

class Frm_ModCad : public plat::Form {
public:
    Frm_ModCad();

    plat::Label Label1{*this, "Label1"};   // "NW"
    plat::Label Label2{*this, "Label2"};   // "SE"
    plat::Label Label3{*this, "Label3"};   // "Lat:"
    plat::Label Label4{*this, "Label4"};   // "Lon:"
    plat::TextBox NWLatDec{*this, "NWLatDec"};
    plat::TextBox NWLonDec{*this, "NWLonDec"};
    plat::TextBox SELatDec{*this, "SELatDec"};
    plat::TextBox SELonDec{*this, "SELonDec"};
    plat::Label LNWLat{*this, "LNWLat"};
    plat::Label LNWLon{*this, "LNWLon"};
    plat::Label LSELat{*this, "LSELat"};
    plat::Label LSELon{*this, "LSELon"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};

    void Frm_ModCad_Form_Load();
    // The four degree-minute-second labels from the working values.
    void Frm_ModCad_Aff_Coord();
    void Frm_ModCad_Cmd_Ok_Click();
    void Frm_ModCad_Cmd_Cancel_Click();
    // The four coordinate boxes behave as setup/coord_fields.h says; they have no handlers here.

protected:
    void Design() override;
};

// The one instance of the window.
Frm_ModCad& Frm_ModCad_Window();
// Shows it modally (the caller has set Cad_Not_Confirmed := 1); Cad_Not_Confirmed is 0
// afterwards when the correction was accepted.
void Frm_ModCad_Show_Modal();

// Moves the cells of the LOD8, textured-area, exclusion, land-class and water-class tables from
// the calibration in Old_Cal_Lat_Lon to the project's current one, each to the cell on the same
// bitmap place.
void Cad_Reindex_Cells();
