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

    void Frm_ModCad_NWLatDec_GotFocus() { NW_Lat().GotFocus(); }
    void Frm_ModCad_NWLatDec_KeyDown(int& key_code, int) {
        NW_Lat().KeyDown(key_code, [this](bool& c) { Frm_ModCad_NWLatDec_Validate(c); });
    }
    void Frm_ModCad_NWLatDec_Validate(bool& cancel) { cancel = NW_Lat().Validate(); }
    void Frm_ModCad_NWLonDec_GotFocus() { NW_Lon().GotFocus(); }
    void Frm_ModCad_NWLonDec_KeyDown(int& key_code, int) {
        NW_Lon().KeyDown(key_code, [this](bool& c) { Frm_ModCad_NWLonDec_Validate(c); });
    }
    void Frm_ModCad_NWLonDec_Validate(bool& cancel) { cancel = NW_Lon().Validate(); }
    void Frm_ModCad_SELatDec_GotFocus() { SE_Lat().GotFocus(); }
    void Frm_ModCad_SELatDec_KeyDown(int& key_code, int) {
        SE_Lat().KeyDown(key_code, [this](bool& c) { Frm_ModCad_SELatDec_Validate(c); });
    }
    void Frm_ModCad_SELatDec_Validate(bool& cancel) { cancel = SE_Lat().Validate(); }
    void Frm_ModCad_SELonDec_GotFocus() { SE_Lon().GotFocus(); }
    void Frm_ModCad_SELonDec_KeyDown(int& key_code, int) {
        SE_Lon().KeyDown(key_code, [this](bool& c) { Frm_ModCad_SELonDec_Validate(c); });
    }
    void Frm_ModCad_SELonDec_Validate(bool& cancel) { cancel = SE_Lon().Validate(); }

protected:
    void Design() override;

private:
    Coord_Field NW_Lat();
    Coord_Field NW_Lon();
    Coord_Field SE_Lat();
    Coord_Field SE_Lon();
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
