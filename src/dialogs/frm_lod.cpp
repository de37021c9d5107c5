// The textured area dialog: its layout, its fields and options, the texture boxes and the browser.
#include "dialogs/frm_lod.h"

#include "core/erreur.h"
#include "core/grid.h"
#include "core/syst.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/cell_dialog_preview.h"
#include "dialogs/frm_lbmp.h"
#include "dialogs/frm_route.h"  // Land_Class_Index
#include "platform/files.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/ui/modal.h"

#include <initializer_list>
#include <string>

Frm_LOD::Frm_LOD() : Form("Frm_LOD") {
    Form_Load = [this] { Frm_LOD_Form_Load(); };
    Form_Unload = [this](bool& cancel) { Frm_LOD_Form_Unload(cancel); };
    Chk_Fill1x1.SetContainer(&Fram_Fill1x1);
    Chk_InvertMask.SetContainer(&Fram_InvertMask);
    for (plat::Control* c : std::initializer_list<plat::Control*>{&Chk_Custom, &Cmbo, &Pic, &L_Texture, &LAutogen})
        c->SetContainer(&Fram_Textures);
    Opt_Attrib.SetWire([this](plat::OptionButton& o, int i) { o.Click = [this, i] { Frm_LOD_Opt_Attrib_Click(i); }; });
    Opt_InvertMaskValue.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Fram_InvertMask);
        o.Click = [this, i] { Frm_LOD_Opt_InvertMaskValue_Click(i); };
    });
    Opt_LandClass.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Fram_Textures);
        o.Click = [this, i] { Frm_LOD_Opt_LandClass_Click(i); };
    });
    L_Texture_Num.SetWire([this](plat::Label& l, int) { l.SetContainer(&Fram_Textures); });
    Texture_Name.SetWire([this](plat::TextBox& box, int i) {
        box.SetContainer(&Fram_Textures);
        Cell_Wire_Value_Box(
            box, [this, i](bool& cancel) { Frm_LOD_Texture_Name_Validate(i, cancel); },
            [i] { return plat::Trim(Lwm_Cell_Cur.Texture_Name[static_cast<size_t>(i)]); });
        box.DblClick = [this, i] { Frm_LOD_Texture_Name_DblClick(i); };
    });
    Cmbo.Click = [this] { Frm_LOD_Cmbo_Click(); };
    Chk_Custom.Click = [this] { Frm_LOD_Chk_Custom_Click(); };
    Chk_Fill1x1.Click = [this] { Frm_LOD_Chk_Fill1x1_Click(); };
    Chk_InvertMask.Click = [this] { Frm_LOD_Chk_InvertMask_Click(); };
    Cell_Wire_Value_Box(
        Alti, [this](bool& cancel) { Frm_LOD_Alti_Validate(cancel); }, [] { return SYST_To_Text(Lwm_Cell_Cur.Alti); });
    Cell_Wire_Value_Box(
        Layer, [this](bool& cancel) { Frm_LOD_Layer_Validate(cancel); }, [] { return SYST_To_Text(Lwm_Cell_Cur.Layer); });
    Cell_Wire_Value_Box(
        Texte, [this](bool& cancel) { Frm_LOD_Texte_Validate(cancel); }, [] { return plat::Trim(Lwm_Cell_Cur.Texte); });
    Cmd_Ok.Click = [this] { Frm_LOD_Cmd_Ok_Click(); };
    Cmd_Sup.Click = [this] { Frm_LOD_Cmd_Sup_Click(); };
    Cmd_Cancel.Click = [this] { Frm_LOD_Cmd_Cancel_Click(); };
}

void Frm_LOD::Design() {
    SetCaption("Creation/modification Area");
    BorderStyle = 3;
    Move(0, 0, 560, 470);
    const char* attributes[] = {"Water (flatten)", "Land", "Flatten"};
    for (int i = 0; i < 3; ++i) {
        Opt_Attrib(i).SetCaption(attributes[i]);
        Opt_Attrib(i).Move(12, 12 + 22 * i, 130, 20);
    }
    L_Height.SetCaption("Altitude mètres");
    L_Height.Move(150, 14, 120, 16);
    Alti.Move(150, 32, 90, 21);

    Fram_Fill1x1.SetCaption("Fill1x1/LWM");
    Fram_Fill1x1.Move(280, 8, 100, 44);
    Chk_Fill1x1.SetCaption("");
    Chk_Fill1x1.Move(12, 18, 20, 20);

    Fram_InvertMask.SetCaption("Inverser le masque/LWM");
    Fram_InvertMask.Move(12, 82, 536, 50);
    Chk_InvertMask.SetCaption("Check1");
    Chk_InvertMask.Move(12, 20, 90, 20);
    const char* mask_values[] = {"LOD13 water", "LOD13 land", "Poly"};
    for (int i = 0; i < 3; ++i) {
        Opt_InvertMaskValue(i).SetCaption(mask_values[i]);
        Opt_InvertMaskValue(i).Move(120 + 130 * i, 20, 120, 20);
    }

    Fram_Textures.SetCaption("Textures (VTP1)");
    Fram_Textures.Move(12, 140, 536, 210);
    Chk_Custom.SetCaption("");
    Chk_Custom.Move(12, 20, 20, 20);
    Opt_LandClass(0).SetCaption("LandClass");
    Opt_LandClass(0).Move(40, 20, 100, 20);
    Opt_LandClass(1).SetCaption("Autres textures");
    Opt_LandClass(1).Move(40, 100, 120, 20);
    Cmbo.SetStyle(plat::Combo_DropDownList);
    Cmbo.Move(40, 44, 250, 21);
    Pic.Move(300, 16, 64, 64);
    L_Texture.Move(372, 20, 156, 16);
    LAutogen.SetCaption("Y = Autogen actif");
    LAutogen.Move(372, 44, 156, 16);
    for (int i = 0; i < 6; ++i) {
        const int column = i / 3, row = i % 3;
        L_Texture_Num(i).SetCaption(std::to_string(i + 1));
        L_Texture_Num(i).Move(170 + 184 * column, 126 + 26 * row, 12, 16);
        Texture_Name(i).Move(184 + 184 * column, 124 + 26 * row, 166, 21);
    }

    L_Layer.SetCaption("Layer:");
    L_Layer.Move(12, 364, 50, 16);
    Layer.Move(64, 360, 40, 21);
    L_Text.SetCaption("Texte");
    L_Text.Move(120, 364, 50, 16);
    Texte.Move(172, 360, 376, 21);
    LCreatMod.Move(12, 396, 120, 18);
    L_Cell_Area.Move(140, 396, 200, 18);
    Cmd_Sup.SetCaption("Delete");
    Cmd_Sup.Move(276, 428, 84, 26);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(370, 428, 84, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(464, 428, 84, 26);
}

void Frm_LOD::Frm_LOD_Form_Load() {
    const bool english = Language == "US";
    SetCaption(english ? "Area Creation/modification" : "Creation/modification Area");
    L_Height.SetCaption(english ? "Altitude meters" : "Altitude mètres");
    Opt_LandClass(1).SetCaption(english ? "Other textures" : "Autres textures");
    Fram_InvertMask.SetCaption(english ? "Invert Mask/LWM" : "Inverser le masque/LWM");
    L_Text.SetCaption("Texte");
    LAutogen.SetCaption(english ? "Y = active Autogen" : "Y = Autogen actif");

    const Cell_Keys keys = Cell_Keys_Of_Mouse();
    L_Texture.SetCaption(Com_Cell_Quad_Key(keys.Lod8_Col, keys.Lod8_Row, keys.Lod13_Col, keys.Lod13_Row) + "xx.bmp");
    Cell_Fill_Land_Class_List(Cmbo);

    Area_Dlg_Loading = 1;
    Lwm_Cell_Rec defaults;
    defaults.Fill1x1 = 1;
    defaults.Attrib = 0;
    defaults.Alti = -9999;
    defaults.InvertMask = 0;
    defaults.InvertMaskValue = 2;
    defaults.Custom = 0;
    defaults.Texture_Source = 1;
    defaults.LC_Code = 253;
    defaults.Layer = 7;
    Cell_Look_Up(Lwm_Cell_Table, Lwm_Cell_Count, keys, 4, defaults, Lwm_Cell_Cur, Area_Dlg_Index, LCreatMod, Cmd_Sup);

    // The check boxes store what they show: give them the record's values from a copy.
    const Lwm_Cell_Rec r = Lwm_Cell_Cur;
    Cell_Select_Option(Opt_Attrib, r.Attrib);
    Alti.SetText(SYST_To_Text(r.Alti));
    Chk_Custom.SetValue(r.Custom);
    Layer.SetText(std::to_string(r.Layer));
    Texte.SetText(r.Texte);
    for (int i = 0; i < 6; ++i) Texture_Name(i).SetText(r.Texture_Name[static_cast<size_t>(i)]);
    Cell_Select_Option(Opt_LandClass, r.Texture_Source);
    Chk_Fill1x1.SetValue(r.Fill1x1);
    Chk_InvertMask.SetValue(r.InvertMask);
    Cell_Select_Option(Opt_InvertMaskValue, r.InvertMaskValue);
    L_Cell_Area.SetCaption(Cell_Area_Text(keys));

    if (Lwm_Cell_Cur.Custom == 1 && Lwm_Cell_Cur.Texture_Source == 0) {
        Land_Class_Index = Cell_Land_Class_Entry(Lwm_Cell_Cur.LC_Code);
        if (Land_Class_Loaded == 1) Cell_Select_Entry(Cmbo, Land_Class_Index, [this] { Frm_LOD_Cmbo_Click(); });
        Cell_Land_Class_Preview(Pic, Land_Class_Index);
    }
    Area_Dlg_Loading = 0;
}

void Frm_LOD::Frm_LOD_Cmbo_Click() {
    const int k = Cmbo.ListIndex();
    if (k < 0 || k > Cell_Land_Class_Last()) return;
    Land_Class_Index = static_cast<int16_t>(k);
    Cell_Land_Class_Preview(Pic, k);
    Lwm_Cell_Cur.LC_Code = Land_Class_Table(k).Code;
}

void Frm_LOD::Frm_LOD_Chk_Custom_Click() { Lwm_Cell_Cur.Custom = static_cast<int16_t>(Chk_Custom.Value()); }
void Frm_LOD::Frm_LOD_Chk_Fill1x1_Click() { Lwm_Cell_Cur.Fill1x1 = static_cast<int16_t>(Chk_Fill1x1.Value()); }
void Frm_LOD::Frm_LOD_Chk_InvertMask_Click() { Lwm_Cell_Cur.InvertMask = static_cast<int16_t>(Chk_InvertMask.Value()); }

void Frm_LOD::Frm_LOD_Opt_Attrib_Click(int index) {
    if (Area_Dlg_Loading == 1) return;
    Lwm_Cell_Cur.Attrib = static_cast<uint8_t>(index);
}

void Frm_LOD::Frm_LOD_Opt_InvertMaskValue_Click(int index) {
    if (Area_Dlg_Loading == 1) return;
    Lwm_Cell_Cur.InvertMaskValue = static_cast<int16_t>(index);
}

void Frm_LOD::Frm_LOD_Opt_LandClass_Click(int index) {
    if (Area_Dlg_Loading == 1) return;
    Lwm_Cell_Cur.Texture_Source = static_cast<int16_t>(index);
}

void Frm_LOD::Frm_LOD_Alti_Validate(bool& cancel) {
    if (!Cell_Read_Altitude(Cell_Trim_Box(Alti), Lwm_Cell_Cur.Alti)) Cell_Refuse_Entry(cancel);
}

void Frm_LOD::Frm_LOD_Layer_Validate(bool& cancel) {
    const std::string text = Cell_Trim_Box(Layer);
    const double v = Cell_Is_Whole(text) ? SYST_To_Double(text) : -1;
    if (v < 0 || v >= 16) {
        Cell_Refuse_Entry(cancel);
        return;
    }
    Lwm_Cell_Cur.Layer = static_cast<int16_t>(v);
}

void Frm_LOD::Frm_LOD_Texte_Validate(bool& cancel) {
    (void)cancel;
    Lwm_Cell_Cur.Texte = Cell_Trim_Box(Texte);
}

void Frm_LOD::Frm_LOD_Texture_Name_Validate(int index, bool& cancel) {
    if (index < 0 || index >= 6) return;
    const std::string text = Cell_Trim_Box(Texture_Name(index));
    if (!text.empty() && !plat::PathExists(text)) {
        Cell_Refuse_Entry(cancel);
        return;
    }
    Lwm_Cell_Cur.Texture_Name[static_cast<size_t>(index)] = text;
}

void Frm_LOD::Frm_LOD_Texture_Name_DblClick(int index) {
    if (index < 0 || index >= 6) return;
    std::string& name = Lwm_Cell_Cur.Texture_Name[static_cast<size_t>(index)];
    if (!name.empty()) {
        std::string folder, file;
        uint8_t error = 0;
        SYST_Split_Path(name, folder, file, error);
        if (error == 0 && plat::FolderExists(folder)) Last_Bitmap_Folder = folder;
    }
    // Textures are square images: the browser opens again until one is chosen or it is cancelled.
    for (;;) {
        Frm_LBmp_Show_Modal();
        if (Bitmap_Browser_Cancelled == 1) return;
        // The browser measures a file it cannot read as 0 x 0, which would pass for square.
        if (Bitmap_Browser_Width <= 0 || Bitmap_Browser_Height <= 0) {
            plat::CurrentHost().MsgBox(Language == "US"
                                           ? "This file is not an image that can be read: " + Bitmap_Browser_Path
                                           : "Ce fichier n'est pas une image lisible : " + Bitmap_Browser_Path,
                                       plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
            continue;
        }
        if (Bitmap_Browser_Width == Bitmap_Browser_Height) {
            name = Bitmap_Browser_Path;
            Texture_Name(index).SetText(name);
            return;
        }
        Msg_Answer = ERREUR_Show_Message(101);
    }
}

void Frm_LOD::Frm_LOD_Cmd_Ok_Click() {
    const Lwm_Cell_Rec& r = Lwm_Cell_Cur;
    if (r.Custom == 0 && r.Fill1x1 == 0 && r.InvertMask == 0) {
        Msg_Answer = ERREUR_Show_Message(12);
        return;
    }
    if (r.Custom == 1 && r.Texture_Source == 1 && r.Texture_Name[0].empty()) {
        Msg_Answer = ERREUR_Show_Message(103);
        return;
    }
    Cell_Store(Lwm_Cell_Table, Lwm_Cell_Count, Lwm_Cell_Capacity, Lwm_Cell_Growth, Area_Dlg_Index, Lwm_Cell_Cur);
    Area_Dlg_Cancelled = 0;
    Unload();
}

void Frm_LOD::Frm_LOD_Cmd_Sup_Click() {
    Cell_Delete(Lwm_Cell_Table, Lwm_Cell_Count, Area_Dlg_Index);
    Area_Dlg_Cancelled = 0;
    Unload();
}

void Frm_LOD::Frm_LOD_Cmd_Cancel_Click() { Unload(); }

void Frm_LOD::Frm_LOD_Form_Unload(bool& cancel) {
    (void)cancel;
    Cell_Drop_Preview(Pic);
}

Frm_LOD& Frm_LOD_Window() {
    static Frm_LOD window;
    return window;
}

void Frm_LOD_Show_Modal() {
    plat::Show_Modal(Frm_LOD_Window(), plat::Loaded_Copy::Unload);
}
