// The water-class cell dialog: its class list, water-texture preview and number checks.
#include "dialogs/frm_wc.h"

#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/cell_dialog_preview.h"
#include "dialogs/class_cell_dialog.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui/modal.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// First entry whose code is `code`, -1 when none is.
int Find_Water_Class(int code) {
    if (Wc_List_Loaded != 1) return -1;
    const int last = std::min<int>(Water_Class_Count, Water_Class_Codes.UBound());
    for (int i = 0; i <= last; ++i)
        if (Water_Class_Codes(i) == code) return i;
    return -1;
}

}  // namespace

Frm_WC::Frm_WC() : Form("Frm_WC") {
    Class_Cell_Wire<Frm_WC>(*this,
                            {&Frm_WC::Frm_WC_Form_Load, &Frm_WC::Frm_WC_Form_Unload, &Frm_WC::Frm_WC_Cmbo_Click,
                             &Frm_WC::Frm_WC_Num_Validate, &Frm_WC::Frm_WC_Cmd_Ok_Click,
                             &Frm_WC::Frm_WC_Cmd_Sup_Click, &Frm_WC::Frm_WC_Cmd_Cancel_Click},
                            Water_Class_Cells());
}

void Frm_WC::Design() { Class_Cell_Design(*this, "WaterClass"); }

void Frm_WC::Show_Code() { Class_Cell_Show_Code(Num, Water_Class_Cells()); }

// The water texture of a class code, when the simulator's texture folder is there.
void Frm_WC::Preview(int code) {
    Cell_Start_Preview(App_Dir + "\\Temp\\$BmpWC$.bmp");
    if (Wc_Texture_Dir_Found != 1) return;
    Cell_Convert_And_Show(Texture_Dir + "\\" + plat::Format(code, "000") + "b2wa1.bmp", {&Pic});
}

void Frm_WC::Frm_WC_Form_Load() {
    const Cell_Keys keys = Cell_Keys_Of_Mouse_Centred();
    Wc_Texture_Dir_Found = !Texture_Dir.empty() && plat::FolderExists(Texture_Dir) ? 1 : 0;
    Water_Class_Codes.Erase();
    Water_Class_Count = 0;
    std::vector<Water_Class_Line> lines;
    // A list of fewer than two classes is not used.
    Wc_List_Loaded = Read_Water_Class_File(lines) && lines.size() >= 2 && lines.size() <= 32767 ? 1 : 0;
    if (Wc_List_Loaded == 1) {
        Water_Class_Count = static_cast<int16_t>(lines.size() - 1);
        Water_Class_Codes.ReDim(Water_Class_Count);
        for (int i = 0; i <= Water_Class_Count; ++i) {
            Water_Class_Codes(i) = lines[static_cast<size_t>(i)].Code;
            Cmbo.AddItem(lines[static_cast<size_t>(i)].Text);
        }
    }
    if (Wc_List_Loaded != 1) Cmbo.SetEnabled(false);

    // Without a list the cell is still looked up: OK and Delete work on what it finds.
    Class_Cell_Rec defaults;
    defaults.Class_Code = 1;
    Cell_Look_Up(Wc_Cell_Table, Wc_Cell_Count, keys, 4, defaults, Wc_Cell_Cur, Wc_Dlg_Index, LCreatMod, Cmd_Sup);
    L_Cell_Area.SetCaption(Cell_Area_Text(keys));

    const int k = Find_Water_Class(Wc_Cell_Cur.Class_Code);
    Water_Class_Index = static_cast<int16_t>(k < 0 ? 0 : k);
    if (Wc_List_Loaded == 1) {
        Cell_Select_Entry(Cmbo, Water_Class_Index, [this] { Frm_WC_Cmbo_Click(); });
        Preview(Water_Class_Codes(Water_Class_Index));
    } else {
        Preview(Wc_Cell_Cur.Class_Code);
    }
    Show_Code();
}

void Frm_WC::Frm_WC_Cmbo_Click() {
    const int k = Cmbo.ListIndex();
    if (Wc_List_Loaded != 1 || k < 0 || k > Water_Class_Codes.UBound()) return;
    Water_Class_Index = static_cast<int16_t>(k);
    Preview(Water_Class_Codes(k));
    Wc_Cell_Cur.Class_Code = Water_Class_Codes(k);
    Show_Code();
}

void Frm_WC::Frm_WC_Num_Validate(bool& cancel) {
    Class_Code_Rule rule{1, 60, 1, {}};
    if (Wc_List_Loaded == 1) rule.Entry_Of = Find_Water_Class;
    const Class_Code_Typed typed = Class_Cell_Take_Code(Num, Water_Class_Cells(), rule, cancel);
    if (!typed.Taken) return;
    // Without a list the typed class stands: there is no entry to fall back on.
    if (typed.Entry < 0) {
        Preview(Wc_Cell_Cur.Class_Code);
        Show_Code();
        return;
    }
    Water_Class_Index = static_cast<int16_t>(typed.Entry);
    Cell_Select_Entry(Cmbo, typed.Entry, [this] { Frm_WC_Cmbo_Click(); });
    Preview(Water_Class_Codes(typed.Entry));
}

void Frm_WC::Frm_WC_Cmd_Ok_Click() { Class_Cell_Ok(*this, Water_Class_Cells()); }

void Frm_WC::Frm_WC_Cmd_Sup_Click() { Class_Cell_Delete(*this, Water_Class_Cells()); }

void Frm_WC::Frm_WC_Cmd_Cancel_Click() { Unload(); }

void Frm_WC::Frm_WC_Form_Unload(bool& cancel) {
    (void)cancel;
    Water_Class_Codes.Erase();
    Cell_Drop_Preview(Pic);
}

Frm_WC& Frm_WC_Window() {
    static Frm_WC window;
    return window;
}

void Frm_WC_Show_Modal() { plat::Show_Modal(Frm_WC_Window(), plat::Loaded_Copy::Unload); }

void Frm_WC_Reset() {
    Water_Class_Codes.Erase();
    Water_Class_Count = 0;
    Water_Class_Index = 0;
    Wc_List_Loaded = 0;
    Wc_Texture_Dir_Found = 0;
}
