// The grid-point altitude popup: its box beside the mouse, Enter and Escape, the altitude check.
#include "dialogs/frm_ptgrid.h"

#include <string>

#include "core/erreur.h"
#include "core/number_entry.h"
#include "core/project.h"
#include "core/syst.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/dialog_services.h"
#include "editor/editor_globals.h"
#include "editor/editor_services.h"
#include "editor/frm.h"
#include "editor/map_view.h"
#include "platform/number.h"
#include "platform/ui/modal.h"

Frm_PtGrid::Frm_PtGrid() : Form("Frm_PtGrid") {
    Form_Load = [this] { Frm_PtGrid_Form_Load(); };
    Alt.KeyDown = [this](int& key, int shift) { Frm_PtGrid_Alt_KeyDown(key, shift); };
    Alt.Validate = [this](bool& cancel) { Frm_PtGrid_Alt_Validate(cancel); };
}

void Frm_PtGrid::Design() {
    SetCaption("Altitude ");
    BorderStyle = 4;
    Move(0, 0, 132, 34);
    Label1.SetCaption("Altitude :");
    Label1.Move(6, 8, 54, 16);
    Alt.Move(62, 6, 64, 21);
}

void Frm_PtGrid::Frm_PtGrid_Form_Load() {
    const plat::PictureBox& pic = Frm_Window().Pic;
    const float w = static_cast<float>(ScaleWidth()), h = static_cast<float>(ScaleHeight());
    const float pw = static_cast<float>(pic.Width()), ph = static_cast<float>(pic.Height());
    const float mx = static_cast<float>(Mouse_X), my = static_cast<float>(Mouse_Y);
    // Beside the mouse, or on its other side where it would pass the picture's edge.
    const float left = pw - 1 < mx + w + 4 + 5 ? mx - (w + 4) - 5 : mx + 5;
    const float top = pic.Top() + (ph - 1 < my + h + 4 + 5 ? my - (h + 4) - 5 : my + 5);
    Move(SYST_Round(pic.Left() + left), SYST_Round(top), Width(), Height());

    const bool defined = Project_Valid_Grid_Point(Cur_Grid_Point) && Grid_Point_Table(Cur_Grid_Point).Defined == 1;
    Alt.SetText(plat::FloatText(defined ? Grid_Point_Table(Cur_Grid_Point).Alt : Last_Grid_Alt));
    Alt.SelStart = 0;
    Alt.SelLength = static_cast<int>(Alt.Text().size());
}

void Frm_PtGrid::Frm_PtGrid_Alt_KeyDown(int& key_code, int shift) {
    (void)shift;
    if (key_code == plat::Key_Return) {
        key_code = 0;
        bool cancel = false;
        Frm_PtGrid_Alt_Validate(cancel);
    } else if (key_code == plat::Key_Escape) {
        key_code = 0;
        Unload();
    }
}

void Frm_PtGrid::Frm_PtGrid_Alt_Validate(bool& cancel) {
    const std::string text = Cell_Trim_Box(Alt);
    double v = 0;
    if (!Number_Entry_Read(text, v) || !(v > -999 && v < 30000)) {
        Cell_Refuse_Entry(cancel);
        return;
    }
    if (Project_Valid_Grid_Point(Cur_Grid_Point)) {
        Grid_Point_Rec& point = Grid_Point_Table(Cur_Grid_Point);
        point.Alt = static_cast<float>(v);
        if (point.Defined != 1) PSais_Picture_To_Map(Mouse_X, Mouse_Y, point.X, point.Y);
        point.Defined = 1;
        Grid_Dlg_Cancelled = 0;
        Last_Grid_Alt = point.Alt;
    }
    Unload();
}

Frm_PtGrid& Frm_PtGrid_Window() {
    static Frm_PtGrid window;
    return window;
}

void Frm_PtGrid_Show_Modal() {
    plat::Show_Modal(Frm_PtGrid_Window(), plat::Loaded_Copy::Unload);
}

void Frm_PtGrid_Reset() {
    Frm_PtGrid& popup = Frm_PtGrid_Window();
    if (popup.Loaded()) popup.ForceUnload();
}
