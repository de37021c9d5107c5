// The reference chooser: the list of sets, and OK loading the chosen one for the line dialog.
#include "dialogs/frm_ref.h"

#include "core/project.h"
#include "core/syst.h"
#include "dialogs/reference_files.h"

Frm_Ref::Frm_Ref() : Form("Frm_Ref") {
    Form_Load = [this] { Frm_Ref_Form_Load(); };
    Cmbo.Click = [this] { Frm_Ref_Cmbo_Click(); };
    Cmd_Ok.Click = [this] { Frm_Ref_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_Ref_Cmd_Cancel_Click(); };
}

void Frm_Ref::Design() {
    SetCaption("Réferences lignes/polygones");
    BorderStyle = 3;
    Move(0, 0, 380, 110);
    Cmbo.SetStyle(plat::Combo_DropDownList);
    Cmbo.SetFont(plat::Font{"Courier New", 8.25, false, false, false});
    Cmbo.Move(12, 12, 356, 21);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(100, 60, 80, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(200, 60, 80, 26);
}

void Frm_Ref::Frm_Ref_Form_Load() {
    Ref_Chosen_Path.clear();
    SetCaption(Language == "US" ? "Line/poly references" : "Réferences lignes/polygones");
    for (int32_t i = 0; i < Ref_Count && i < static_cast<int32_t>(Ref_Descriptions.size()); ++i)
        Cmbo.AddItem(Ref_Descriptions[static_cast<size_t>(i)]);
    if (Cmbo.ListCount() > 0) Cmbo.SetListIndex(0);
}

void Frm_Ref::Frm_Ref_Cmbo_Click() {
    const int item = Cmbo.ListIndex();
    if (item < 0 || item >= static_cast<int>(Ref_File_Names.size())) return;
    Ref_Chosen_Path = App_Dir + "\\Resource\\" + Ref_File_Names[static_cast<size_t>(item)];
}

void Frm_Ref::Frm_Ref_Cmd_Ok_Click() {
    std::string path = Ref_Chosen_Path;
    Com_Load_Reference(path);
    Ref_Dlg_Cancelled = 0;
    Unload();
}

void Frm_Ref::Frm_Ref_Cmd_Cancel_Click() { Unload(); }

Frm_Ref& Frm_Ref_Window() {
    static Frm_Ref window;
    return window;
}

void Frm_Ref_Reset() {
    if (Frm_Ref_Window().Loaded()) Frm_Ref_Window().ForceUnload();
}
