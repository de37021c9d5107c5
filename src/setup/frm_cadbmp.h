#pragma once
// Calibration by two points: the map bitmap at full scale in a scrollable picture, built from
// the map's tiles; the author arms the NW or the SE point, clicks on the map and types the
// point's latitude and longitude. OK checks the points and computes the map frame.
#include <cstdint>

#include "platform/ui/control_array.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/picture_box.h"
#include "setup/coord_fields.h"

// View state of the window.
inline int16_t Cad_Pending_Point = 0;              // 0 none armed, 1 NW, 2 SE
inline double Cad_Pic_Half_W = 0, Cad_Pic_Half_H = 0;
inline int32_t Cad_Map_Half_W = 0;
inline double Cad_Map_Half_H = 0;
inline double Cad_Off_X = 0, Cad_Off_Y = 0;        // view offsets, bitmap pixels
inline double Cad_Scroll_Range_X = 0, Cad_Scroll_Range_Y = 0;
inline int16_t Cad_Scroll_Busy = 0;                // 1: scroll events are ignored
inline double Cad_Last_Mouse_X = 0, Cad_Last_Mouse_Y = 0;

class Frm_CadBmp : public plat::Form {
public:
    Frm_CadBmp();

    plat::PictureBox Pic{*this, "Pic"};
    plat::HScrollBar HScroll{*this, "HScroll"};
    plat::VScrollBar VScroll{*this, "VScroll"};
    plat::ControlArray<plat::PictureBox> WPic{*this, "WPic", {0}};
    plat::LineControl L1NW{*this, "L1NW"};
    plat::LineControl L2NW{*this, "L2NW"};
    plat::Shape RdNW{*this, "RdNW"};
    plat::LineControl L1SE{*this, "L1SE"};
    plat::LineControl L2SE{*this, "L2SE"};
    plat::Shape RDSE{*this, "RDSE"};
    plat::CommandButton Cmd_CadNW{*this, "Cmd_CadNW"};
    plat::CommandButton Cmd_CadSE{*this, "Cmd_CadSE"};
    plat::Label LPoint_NWSE{*this, "LPoint_NWSE"};
    plat::Label LMousePos{*this, "LMousePos"};
    plat::Label Label1{*this, "Label1"};   // "Lat:"
    plat::Label Label2{*this, "Label2"};   // "Lon:"
    plat::Label LNWxy{*this, "LNWxy"};
    plat::TextBox NWLatDec{*this, "NWLatDec"};
    plat::Label LNWLat{*this, "LNWLat"};
    plat::TextBox NWLonDec{*this, "NWLonDec"};
    plat::Label LNWLon{*this, "LNWLon"};
    plat::Label LSExy{*this, "LSExy"};
    plat::TextBox SELatDec{*this, "SELatDec"};
    plat::Label LSELat{*this, "LSELat"};
    plat::TextBox SELonDec{*this, "SELonDec"};
    plat::Label LSELon{*this, "LSELon"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};
    plat::CommandButton Cmd_Help{*this, "Cmd_Help"};

    void Frm_CadBmp_Form_Load();
    void Frm_CadBmp_Form_Unload(bool& cancel);
    void Frm_CadBmp_Cmd_CadNW_Click();
    void Frm_CadBmp_Cmd_CadSE_Click();
    void Frm_CadBmp_Pic_MouseMove(int button, int shift, double x, double y);
    void Frm_CadBmp_Pic_Click();
    void Frm_CadBmp_HScroll_Change();
    void Frm_CadBmp_VScroll_Change();
    void Frm_CadBmp_Cmd_Ok_Click();
    void Frm_CadBmp_Cmd_Cancel_Click();
    void Frm_CadBmp_Cmd_Help_Click() {}
    // The four coordinate boxes behave as setup/coord_fields.h says; they have no handlers here.

protected:
    void Design() override;

private:
    // The bitmap pixel shown at picture (x, y).
    void Pixel_At(double x, double y, int32_t& column, int32_t& row) const;
};

// The one instance of the window.
Frm_CadBmp& Frm_CadBmp_Window();
// Shows it modally (the caller has tiled the map and set Cad_Not_Confirmed := 1).
void Frm_CadBmp_Show_Modal();
// Start values of the view state above (tests).
void Frm_CadBmp_Reset();

// The view of the window: repaint for the given bitmap size and offsets, the point markers
// for the first visible column and row, and the coordinate and pixel labels.
void Com_Paint_Cad_View(int32_t width, int32_t height, double offset_x, double offset_y);
void Com_Draw_Cad_Markers(int32_t left, int32_t top);
void Com_Show_Cad_Coords();
