// The object modes of the map: entering each, the tool-bar reset, ending the running tool, and
// the map picture's mouse and keys.
#include "editor/object_modes.h"

#include "core/erreur.h"
#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/editor_services.h"
#include "editor/frm.h"
#include "editor/grid_points.h"
#include "editor/image_clicks.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "platform/host.h"

#include <algorithm>

Object_Mode_Windows Object_Mode_Dialogs;

namespace {

void Show(const std::function<void()>& dialog) {
    if (dialog) dialog();
}

// The point of a linked polygon that lies outside its image, if any.
bool Line_Leaves_Image(int32_t line, const Image_Rec& image) {
    for (int32_t id : Project_Line_Points(line)) {
        const Point_Rec& p = Point_Table(id);
        const bool inside = image.Ima_X1 <= p.X && p.X <= image.Ima_X2 && image.Ima_Y1 <= p.Y && p.Y <= image.Ima_Y2;
        if (!inside) return true;
    }
    return false;
}

// True when a polygon linked to a texture image has a point outside that image.
bool Linked_Polygon_Leaves_Image() {
    if (Image_Count <= 0 || Line_Count <= 1) return false;
    // Counts read from a damaged file may exceed the tables.
    const int32_t last_line = std::min(Line_Count, Line_Table.UBound());
    const int32_t last_image = std::min(Image_Count, Image_Table.UBound());
    for (int32_t line = 2; line <= last_line; ++line) {
        const Route_Attrib& a = Line_Table(line).Attr;
        if (a.SurfShore >= 2 || a.Image_Link == 0) continue;
        for (int32_t i = 1; i <= last_image; ++i) {
            const Image_Rec& image = Image_Table(i);
            if (image.Ima_Number == a.Image_Link && Line_Leaves_Image(line, image)) return true;
        }
    }
    return false;
}

// Mode buttons other than the line mode's: the running tool is ended first; a refused edit
// keeps the current mode and its buttons.
void Enter_Mode(plat::CommandButton& pressed, Object_Mode mode) {
    Frm& f = Frm_Window();
    PSais_Cancel_Tool();
    if (Edit_Refused == 1) return;
    PSais_Enable_Tool_Buttons();
    pressed.SetEnabled(false);
    if (&pressed == &f.Cmd_LandClass || &pressed == &f.Cmd_WaterClass) f.Cmd_AffTexture.SetEnabled(true);
    PSais_Set_Mode(mode);
    if (mode == Object_Mode::Grid_Points) f.LPtGrid.SetVisible(true);
    PSais_Redraw_Map();
    f.Pic.SetMousePointer(plat::Pointer_Cross);
}

bool Inside_Map_Rectangle(double col, double row) {
    return Map_Px_West <= col && col <= Map_Px_East && Map_Px_North <= row && row <= Map_Px_South;
}

// Shows a cell dialog; it clears the flag when it changed something, which then is redrawn.
void Open_Cell_Dialog(int16_t& cancelled_flag, const std::function<void()>& dialog) {
    cancelled_flag = 1;
    Show(dialog);
    if (cancelled_flag != 1) PSais_Redraw_Map();
}

}  // namespace

void PSais_Enable_Tool_Buttons() {
    Frm& f = Frm_Window();
    for (plat::CommandButton* b : {&f.Cmd_Saisie_Routes, &f.Cmd_Excl_Areas, &f.Cmd_TrtArea, &f.Cmd_TrtCell,
                                   &f.Cmd_LandClass})
        b->SetEnabled(true);
    f.Cmd_AffTexture.SetEnabled(false);
    f.Cmd_WaterClass.SetEnabled(true);
    for (plat::CommandButton* b : {&f.Cmd_New_Ima, &f.Cmd_Sel_Ima, &f.Cmd_Sel_Crb_Ima, &f.Cmd_Sel_Route,
                                   &f.Cmd_New_Route, &f.Cmd_Ins_Pt_Route, &f.Cmd_Sel_Pt_Route, &f.Cmd_Extr_Pt_Route,
                                   &f.Cmd_Sup_Route_Ou_Pt, &f.Cmd_Tabul})
        b->SetEnabled(false);
    f.Cmd_FSUIPC.SetEnabled(true);
    f.Cmd_TrtMesh.SetEnabled(true);
    PSais_Set_Mode(Object_Mode::None);
    f.LPtGrid.SetVisible(false);
}

void PSais_Enable_Line_Tools() {
    Frm& f = Frm_Window();
    f.Cmd_Saisie_Routes.SetEnabled(false);
    for (plat::CommandButton* b : {&f.Cmd_Sel_Route, &f.Cmd_New_Route, &f.Cmd_Ins_Pt_Route, &f.Cmd_Sel_Pt_Route,
                                   &f.Cmd_Extr_Pt_Route, &f.Cmd_Sup_Route_Ou_Pt, &f.Cmd_Tabul})
        b->SetEnabled(true);
}

void PSais_Cancel_Image_Tool() {
    Edit_Refused = 0;
    if (Linked_Polygon_Leaves_Image()) {
        Msg_Answer = ERREUR_Show_Message(130);
        Edit_Refused = 1;
        return;
    }
    New_Image_Armed = 0;
    Frm_Window().Pic.SetMousePointer(plat::Pointer_Cross);
}

void PSais_Cancel_Tool() {
    PSais_Cancel_Line_Tool();
    PSais_Cancel_Image_Tool();
    Frm_Window().LPtGrid.SetVisible(false);
}

void Frm_Cmd_Saisie_Routes_Click() {
    Frm& f = Frm_Window();
    PSais_Cancel_Image_Tool();
    if (Edit_Refused == 1) return;
    PSais_Enable_Tool_Buttons();
    PSais_Enable_Line_Tools();
    PSais_Set_Mode(Object_Mode::Lines);
    PSais_Redraw_Map();
    f.Pic.SetMousePointer(plat::Pointer_Cross);
}

void Frm_Cmd_TrtArea_Click() { Enter_Mode(Frm_Window().Cmd_TrtArea, Object_Mode::Lwm_Cells); }
void Frm_Cmd_TrtCell_Click() { Enter_Mode(Frm_Window().Cmd_TrtCell, Object_Mode::Lod8_Cells); }
void Frm_Cmd_Excl_Areas_Click() { Enter_Mode(Frm_Window().Cmd_Excl_Areas, Object_Mode::Excl_Cells); }
void Frm_Cmd_LandClass_Click() { Enter_Mode(Frm_Window().Cmd_LandClass, Object_Mode::Land_Class); }
void Frm_Cmd_WaterClass_Click() { Enter_Mode(Frm_Window().Cmd_WaterClass, Object_Mode::Water_Class); }

void Frm_Cmd_TrtMesh_Click() {
    if (Mesh_Lod_Chosen == 0) Show(Object_Mode_Dialogs.Show_Remesh_Level);
    // Closed without a choice: the current mode and tool stay as they were.
    if (Mesh_Lod_Chosen == 0) return;
    Enter_Mode(Frm_Window().Cmd_TrtMesh, Object_Mode::Grid_Points);
}

void Frm_Pic_MouseDown(int16_t Button, int16_t Shift, float X, float Y) {
    if (Project_Displayed != 1) return;
    Mouse_Button = Button;
    Mouse_Shift = Shift;
    Mouse_Down_X = X;
    Mouse_Down_Y = Y;
    double left = 0, top = 0, right = 0, bottom = 0;
    PSais_Map_To_Picture(Map_Px_West, Map_Px_North, left, top);
    PSais_Map_To_Picture(Map_Px_East, Map_Px_South, right, bottom);
    if (Mouse_Down_X < left) Mouse_Down_X = left;
    if (Mouse_Down_X > right) Mouse_Down_X = right;
    if (Mouse_Down_Y < top) Mouse_Down_Y = top;
    if (Mouse_Down_Y > bottom) Mouse_Down_Y = bottom;
    PSais_Picture_To_Map(Mouse_Down_X, Mouse_Down_Y, Mouse_Down_Map_X, Mouse_Down_Map_Y);

    if (PSais_Image_Click(Button)) return;
    if (Mode_Lines == 1)
        PSais_Line_Tool_Press();
    else if (Mode_Grid_Points == 1)
        PSais_Grid_Point_Click();
}

void Frm_Pic_DblClick() {
    if (Project_Displayed != 1) return;
    const bool inside = Inside_Map_Rectangle(Mouse_Col, Mouse_Row);
    if (Mode_Excl_Cells == 1) {
        Open_Cell_Dialog(Excl_Dlg_Cancelled, Object_Mode_Dialogs.Show_Excl_Area);
    } else if (Mode_Lwm_Cells == 1) {
        if (inside) Open_Cell_Dialog(Area_Dlg_Cancelled, Object_Mode_Dialogs.Show_Lwm_Area);
    } else if (Mode_Lod8_Cells == 1) {
        if (inside) Open_Cell_Dialog(Area_Dlg_Cancelled, Object_Mode_Dialogs.Show_Lod8_Cell);
    } else if (Mode_Land_Class == 1) {
        if (inside) Open_Cell_Dialog(Lc_Dlg_Cancelled, Object_Mode_Dialogs.Show_Land_Class);
    } else if (Mode_Water_Class == 1) {
        if (inside) Open_Cell_Dialog(Wc_Dlg_Cancelled, Object_Mode_Dialogs.Show_Water_Class);
    } else if (Mode_Lines == 1) {
        PSais_Line_Tool_DblClick();
    }
}

void Frm_Pic_KeyDown(int16_t KeyCode, int16_t Shift) {
    if (Shift != 0) return;
    // Esc goes to the line tools whatever the mode.
    if (KeyCode == 27) {
        PSais_Line_Tool_Escape();
    } else if (KeyCode == 46) {
        if (Mode_Lines == 1)
            PSais_Line_Tool_Delete();
        else if (Mode_Grid_Points == 1)
            PSais_Delete_Grid_Point();
    }
}

void Object_Modes_Connect(Frm& f) {
    f.Cmd_Saisie_Routes.Click = [] { Frm_Cmd_Saisie_Routes_Click(); };
    f.Cmd_TrtArea.Click = [] { Frm_Cmd_TrtArea_Click(); };
    f.Cmd_TrtCell.Click = [] { Frm_Cmd_TrtCell_Click(); };
    f.Cmd_Excl_Areas.Click = [] { Frm_Cmd_Excl_Areas_Click(); };
    f.Cmd_LandClass.Click = [] { Frm_Cmd_LandClass_Click(); };
    f.Cmd_WaterClass.Click = [] { Frm_Cmd_WaterClass_Click(); };
    f.Cmd_TrtMesh.Click = [] { Frm_Cmd_TrtMesh_Click(); };
    f.Pic.MouseDown = [](int b, int s, double x, double y) {
        Frm_Pic_MouseDown(static_cast<int16_t>(b), static_cast<int16_t>(s), static_cast<float>(x),
                          static_cast<float>(y));
    };
    f.Pic.DblClick = [] { Frm_Pic_DblClick(); };
    f.Pic.KeyDown = [](int& key, int shift) {
        Frm_Pic_KeyDown(static_cast<int16_t>(key), static_cast<int16_t>(shift));
    };
}

void Object_Modes_Reset() {
    Edit_Refused = 0;
    New_Image_Armed = 0;
    Object_Mode_Dialogs = Object_Mode_Windows{};
}
