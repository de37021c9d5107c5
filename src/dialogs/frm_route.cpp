// The line/polygon attribute dialog: its five tabs laid out, a new line's defaults, the fields
// filled from the working record, the option clicks, OK and cancel.
#include "dialogs/frm_route.h"

#include <initializer_list>

#include "core/erreur.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "dialogs/cell_dialog_preview.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_ref.h"
#include "dialogs/reference_files.h"
#include "editor/editor_services.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui/modal.h"

namespace {

// What a new line starts with before the last reference file is applied. The record's spare
// word is left as it is.
void Set_New_Line_Defaults(Route_Attrib& a) {
    a.Attrib = 0;
    a.Alti = -9999;
    a.Meter_Feet = 0;
    a.SurfShore = 0;
    a.Largeur = 64;
    a.Line_Type() = 1024;
    a.LandOnRight = 0;
    a.FermerLine = 0;
    a.Layer = 32;
    a.Text_Rt.clear();
    a.Imbrication.clear();
    a.Alt_Coast = 0;
    a.Linked_Image() = 0;
    a.LWM_VTP2 = 0;
    a.Texture_Source() = 0;
    a.LC_Code = 135;
    for (std::string& t : a.Texture_Name) t.clear();
    a.Layer_Vtp2 = 4;
    a.Drive_Right = 1;
    a.Line_Night = 0;
    a.LayerScasm = 16;
    a.Vtp1_Line = 0;
    a.Effil_Deb = 0;
    a.Effil_Fin = 0;
    a.VTP1_SpecNor = 1;
    a.Flip_VTP1Texture = 1;
}

void Show_Check(plat::CheckBox& box, int16_t value) { box.SetValue(value != 0 ? plat::Checked : plat::Unchecked); }

std::string Pick(bool english, const char* en, const char* fr) { return english ? en : fr; }

}  // namespace

Frm_Route::Frm_Route() : Form("Frm_Route") {
    Form_Load = [this] { Frm_Route_Form_Load(); };
    Form_Unload = [this](bool& cancel) { Frm_Route_Form_Unload(cancel); };

    // Where each control stands: tab page, then frame.
    const auto on_tab = [this](int page, std::initializer_list<plat::Control*> controls) {
        for (plat::Control* c : controls) c->SetContainer(&SSTb, page);
    };
    const auto in_frame = [](plat::Frame& frame, std::initializer_list<plat::Control*> controls) {
        for (plat::Control* c : controls) c->SetContainer(&frame);
    };
    on_tab(0, {&Label11, &Text_Ref, &Cmd_Read, &Cmd_Save, &LText_Rt, &Text_Rt, &Lfrm_SurfShore, &Fram_Type_Poly,
               &Fram_Layer_VTP12, &Cmd_Ok, &Cmd_Cancel, &Cmd_Help});
    in_frame(Lfrm_SurfShore, {&LImbric, &Imbrication, &LAlt_Coast, &Alt_Coast});
    in_frame(Fram_Layer_VTP12, {&LLayer_Vtp2, &Layer_Vtp2});
    on_tab(1, {&Fram_Line, &Fram_Night, &PicLine, &Cmd_OK1, &Cmd_Cancel1, &Cmd_Help1});
    in_frame(Fram_Line, {&Cmbo, &LWaves, &LLargeur, &Largeur, &LLayer, &Layer, &Chk_LandOnRight, &Chk_FermerLine,
                         &Chk_Vtp1_Line, &Chk_Effil_Deb, &Chk_Effil_Fin, &LPoly_Or_Line});
    in_frame(Fram_Night, {&Chk_Line_Night, &Chk_Drive_Right, &LLayerScasm, &LayerScasm});
    on_tab(2, {&Fram_LWM, &Cmd_OK2, &Cmd_Cancel2, &Cmd_Help2});
    in_frame(Fram_LWM, {&Fram_Meter_Feet, &Fram_Attrib, &L_AltI, &Alti});
    on_tab(3, {&Fram_VTP1_Mode, &Fram_VTP1_Normal, &Fram_VTP1_Special, &Pic_1, &Cmd_OK3, &Cmd_Cancel3, &Cmd_Help3});
    in_frame(Fram_VTP1_Normal, {&Chk_Flip_VTP1Texture, &Cbo_LC_1, &LAutogen1});
    in_frame(Fram_VTP1_Special, {&L_VTP1_Poly});
    on_tab(4, {&Fram_VTP2, &Pic, &Cmd_OK4, &Cmd_Cancel4, &Cmd_Help4});
    in_frame(Fram_VTP2, {&Cbo_LC, &Cbo_Park, &LAutogen});

    // Each option group in a container of its own, so that the groups do not clear each other.
    Opt_SurfShore.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Lfrm_SurfShore);
        o.Click = [this, i] { Frm_Route_Opt_SurfShore_Click(i); };
    });
    Opt_LWM_VTP2.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Fram_Type_Poly);
        o.Click = [this, i] { Frm_Route_Opt_LWM_VTP2_Click(i); };
    });
    Opt_Meter_Feet_LWM.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Fram_Meter_Feet);
        o.Click = [this, i] { Frm_Route_Opt_Meter_Feet_LWM_Click(i); };
    });
    Opt_Attrib.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Fram_Attrib);
        o.Click = [this, i] { Frm_Route_Opt_Attrib_Click(i); };
    });
    Opt_VTP1_SpecNor.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Fram_VTP1_Mode);
        o.Click = [this, i] { Frm_Route_Opt_VTP1_SpecNor_Click(i); };
    });
    Opt_LandClass_1.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Fram_VTP1_Normal);
        o.Click = [this, i] { Frm_Route_Opt_LandClass_1_Click(i); };
    });
    Opt_LandClass.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Fram_VTP2);
        o.Click = [this, i] { Frm_Route_Opt_LandClass_Click(i); };
    });

    // Each check box stores its value, also while the record is being shown.
    const auto check = [](plat::CheckBox& box, int16_t Route_Attrib::*field) {
        box.Click = [&box, field] { Route_Attrib_Cur.*field = static_cast<int16_t>(box.Value()); };
    };
    check(Chk_LandOnRight, &Route_Attrib::LandOnRight);
    check(Chk_FermerLine, &Route_Attrib::FermerLine);
    check(Chk_Line_Night, &Route_Attrib::Line_Night);
    check(Chk_Vtp1_Line, &Route_Attrib::Vtp1_Line);
    check(Chk_Drive_Right, &Route_Attrib::Drive_Right);
    check(Chk_Effil_Deb, &Route_Attrib::Effil_Deb);
    check(Chk_Effil_Fin, &Route_Attrib::Effil_Fin);
    check(Chk_Flip_VTP1Texture, &Route_Attrib::Flip_VTP1Texture);

    Cmbo.Click = [this] { Frm_Route_Cmbo_Click(); };
    Cbo_LC.Click = [this] { Frm_Route_Cbo_LC_Click(); };
    Cbo_LC_1.Click = [this] { Frm_Route_Cbo_LC_1_Click(); };
    Cbo_Park.Click = [this] { Frm_Route_Cbo_Park_Click(); };

    for (plat::TextBox* box : {&Alti, &Alt_Coast, &Largeur, &Layer, &Layer_Vtp2, &LayerScasm, &Imbrication, &Text_Rt,
                               &Text_Ref})
        Wire_Field(*box);
    Texture_Name.SetWire([this](plat::TextBox& box, int i) {
        box.SetContainer(&Fram_VTP2);
        box.GotFocus = [this, &box] { Frm_Route_Field_GotFocus(box); };
        box.KeyDown = [this, i](int& key, int shift) { Frm_Route_Texture_Name_KeyDown(i, key, shift); };
        box.Validate = [this, i](bool& cancel) { Frm_Route_Texture_Name_Validate(i, cancel); };
        box.DblClick = [this, i] { Frm_Route_Texture_Name_DblClick(i); };
    });
    Texture_Name_1.SetWire([this](plat::TextBox& box, int i) {
        box.SetContainer(&Fram_VTP1_Normal);
        box.GotFocus = [this, &box] { Frm_Route_Field_GotFocus(box); };
        box.KeyDown = [this, i](int& key, int shift) { Frm_Route_Texture_Name_1_KeyDown(i, key, shift); };
        box.Validate = [this, i](bool& cancel) { Frm_Route_Texture_Name_1_Validate(i, cancel); };
        box.DblClick = [this, i] { Frm_Route_Texture_Name_1_DblClick(i); };
    });

    // Every tab can be closed from itself.
    for (plat::CommandButton* b : {&Cmd_Ok, &Cmd_OK1, &Cmd_OK2, &Cmd_OK3, &Cmd_OK4})
        b->Click = [this] { Frm_Route_Cmd_Ok_Click(); };
    for (plat::CommandButton* b : {&Cmd_Cancel, &Cmd_Cancel1, &Cmd_Cancel2, &Cmd_Cancel3, &Cmd_Cancel4})
        b->Click = [this] { Frm_Route_Cmd_Cancel_Click(); };
    for (plat::CommandButton* b : {&Cmd_Help, &Cmd_Help1, &Cmd_Help2, &Cmd_Help3, &Cmd_Help4})
        b->Click = [this] { Frm_Route_Cmd_Help_Click(); };
    Cmd_Read.Click = [this] { Frm_Route_Cmd_Read_Click(); };
    Cmd_Save.Click = [this] { Frm_Route_Cmd_Save_Click(); };
}

void Frm_Route::Wire_Field(plat::TextBox& box) {
    box.GotFocus = [this, &box] { Frm_Route_Field_GotFocus(box); };
    box.KeyDown = [this, &box](int& key, int shift) { Frm_Route_Field_KeyDown(box, key, shift); };
    box.Validate = [this, &box](bool& cancel) { Frm_Route_Field_Validate(box, cancel); };
}

void Frm_Route::Design() {
    SetCaption("Polygons/Lignes");
    BorderStyle = 3;
    Move(0, 0, 560, 430);
    SSTb.SetTabs(5);
    const char* tabs[] = {"Main", "Lines", "LWM", "VTP1 Polys", "VTP2 Polys"};
    for (int t = 0; t < 5; ++t) SSTb.SetTabCaption(t, tabs[t]);
    SSTb.Move(4, 4, 552, 422);

    const auto buttons = [](plat::CommandButton& ok, plat::CommandButton& cancel, plat::CommandButton& help) {
        ok.SetCaption("OK");
        ok.Move(200, 380, 100, 26);
        cancel.SetCaption("Cancel");
        cancel.Move(310, 380, 100, 26);
        help.SetCaption("Help");
        help.Move(420, 380, 100, 26);
    };
    buttons(Cmd_Ok, Cmd_Cancel, Cmd_Help);
    buttons(Cmd_OK1, Cmd_Cancel1, Cmd_Help1);
    buttons(Cmd_OK2, Cmd_Cancel2, Cmd_Help2);
    buttons(Cmd_OK3, Cmd_Cancel3, Cmd_Help3);
    buttons(Cmd_OK4, Cmd_Cancel4, Cmd_Help4);

    const plat::Font fixed{"Courier New", 8.25, false, false, false};

    // Main.
    Label11.SetCaption("Ref:");
    Label11.Move(12, 36, 40, 18);
    Text_Ref.Move(56, 34, 250, 21);
    Cmd_Read.SetCaption("Lire ref.");
    Cmd_Read.Move(316, 32, 100, 26);
    Cmd_Save.SetCaption("Enreg. ref. sous");
    Cmd_Save.Move(420, 32, 120, 26);
    LText_Rt.SetCaption("Texte:");
    LText_Rt.Move(12, 68, 60, 18);
    Text_Rt.Move(76, 66, 464, 21);
    Lfrm_SurfShore.SetCaption("Poly/Ligne/Rivage");
    Lfrm_SurfShore.Move(12, 98, 260, 200);
    for (int i = 0; i < 4; ++i) Opt_SurfShore(i).Move(12, 22 + 26 * i, 236, 20);
    LImbric.SetCaption("Imbrication :");
    LImbric.Move(12, 134, 100, 18);
    Imbrication.Move(116, 132, 80, 21);
    LAlt_Coast.SetCaption("Altitude (m) :");
    LAlt_Coast.Move(12, 164, 100, 18);
    Alt_Coast.Move(116, 162, 80, 21);
    Fram_Type_Poly.SetCaption("Type_Poly");
    Fram_Type_Poly.Move(284, 98, 256, 110);
    const char* outputs[] = {"LWM Poly", "VTP2 Poly", "VTP1 poly"};
    for (int i = 0; i < 3; ++i) {
        Opt_LWM_VTP2(i).SetCaption(outputs[i]);
        Opt_LWM_VTP2(i).Move(12, 22 + 26 * i, 220, 20);
    }
    Fram_Layer_VTP12.SetCaption("VTP2");
    Fram_Layer_VTP12.Move(284, 218, 256, 60);
    LLayer_Vtp2.SetCaption("Layer:");
    LLayer_Vtp2.Move(12, 26, 60, 18);
    Layer_Vtp2.Move(76, 24, 60, 21);

    // Lines.
    Fram_Line.SetCaption("VTP2 Ligne/rivage");
    Fram_Line.Move(12, 32, 528, 200);
    Cmbo.SetStyle(plat::Combo_DropDownList);
    Cmbo.SetFont(fixed);
    Cmbo.Move(12, 22, 504, 21);
    LWaves.SetCaption("Y : effet de vaques");
    LWaves.Move(12, 48, 200, 18);
    LLargeur.SetCaption("Largeur:");
    LLargeur.Move(12, 76, 70, 18);
    Largeur.Move(86, 74, 60, 21);
    LLayer.SetCaption("Layer:");
    LLayer.Move(160, 76, 50, 18);
    Layer.Move(214, 74, 60, 21);
    Chk_LandOnRight.Move(12, 106, 240, 20);
    Chk_FermerLine.Move(12, 130, 240, 20);
    Chk_Vtp1_Line.Move(12, 154, 240, 20);
    Chk_Effil_Deb.Move(270, 106, 240, 20);
    Chk_Effil_Fin.Move(270, 130, 240, 20);
    LPoly_Or_Line.SetCaption("Poly or Line !");
    LPoly_Or_Line.Move(270, 156, 200, 18);
    Fram_Night.Move(12, 240, 300, 100);
    Chk_Line_Night.Move(12, 20, 270, 20);
    Chk_Drive_Right.Move(12, 44, 270, 20);
    LLayerScasm.SetCaption("Layer(Scasm)");
    LLayerScasm.Move(12, 72, 100, 18);
    LayerScasm.Move(116, 70, 60, 21);
    PicLine.Move(324, 240, 128, 128);

    // LWM.
    Fram_LWM.SetCaption("LWM/Poly");
    Fram_LWM.Move(12, 32, 528, 200);
    Fram_Meter_Feet.BorderStyle = 0;
    Fram_Meter_Feet.Move(12, 20, 200, 60);
    Opt_Meter_Feet_LWM(0).Move(0, 4, 190, 20);
    Opt_Meter_Feet_LWM(1).Move(0, 30, 190, 20);
    Fram_Attrib.BorderStyle = 0;
    Fram_Attrib.Move(240, 20, 200, 60);
    Opt_Attrib(0).SetCaption("Water");
    Opt_Attrib(0).Move(0, 4, 190, 20);
    Opt_Attrib(1).SetCaption("Land");
    Opt_Attrib(1).Move(0, 30, 190, 20);
    L_AltI.SetCaption("Altitude :");
    L_AltI.Move(12, 100, 80, 18);
    Alti.Move(96, 98, 100, 21);

    // VTP1 Polys.
    Fram_VTP1_Mode.BorderStyle = 0;
    Fram_VTP1_Mode.Move(12, 32, 528, 26);
    Opt_VTP1_SpecNor(0).SetCaption("Special");
    Opt_VTP1_SpecNor(0).Move(0, 2, 160, 20);
    Opt_VTP1_SpecNor(1).SetCaption("Normal");
    Opt_VTP1_SpecNor(1).Move(170, 2, 160, 20);
    Fram_VTP1_Normal.SetCaption("VTP1/Poly/Normal");
    Fram_VTP1_Normal.Move(12, 62, 380, 250);
    Chk_Flip_VTP1Texture.SetCaption("Flip texture");
    Chk_Flip_VTP1Texture.Move(12, 20, 200, 20);
    Opt_LandClass_1(0).SetCaption("LandClass");
    Opt_LandClass_1(0).Move(12, 44, 120, 20);
    Opt_LandClass_1(1).SetCaption("Other  textures");
    Opt_LandClass_1(1).Move(140, 44, 160, 20);
    Cbo_LC_1.SetStyle(plat::Combo_DropDownList);
    Cbo_LC_1.Move(12, 68, 356, 21);
    LAutogen1.Move(12, 94, 200, 18);
    for (int i = 0; i < 6; ++i) Texture_Name_1(i).Move(12, 116 + 22 * i, 356, 21);
    Fram_VTP1_Special.SetCaption("VTP1/Poly/Special");
    Fram_VTP1_Special.Move(12, 316, 380, 56);
    L_VTP1_Poly.Move(12, 22, 356, 28);
    L_VTP1_Poly.WordWrap = true;
    Pic_1.Move(400, 62, 140, 140);

    // VTP2 Polys.
    Fram_VTP2.SetCaption("VTP2/Poly");
    Fram_VTP2.Move(12, 32, 380, 340);
    Opt_LandClass(0).SetCaption("LandClass");
    Opt_LandClass(0).Move(12, 20, 110, 20);
    Opt_LandClass(1).SetCaption("Autres textures");
    Opt_LandClass(1).Move(126, 20, 130, 20);
    Opt_LandClass(2).SetCaption("Airport/park");
    Opt_LandClass(2).Move(260, 20, 110, 20);
    Cbo_LC.SetStyle(plat::Combo_DropDownList);
    Cbo_LC.Move(12, 46, 356, 21);
    Cbo_Park.SetStyle(plat::Combo_DropDownList);
    Cbo_Park.SetFont(fixed);
    Cbo_Park.Move(12, 72, 356, 21);
    LAutogen.SetCaption("Y : Autogen actif");
    LAutogen.Move(12, 98, 200, 18);
    for (int i = 0; i < 6; ++i) Texture_Name(i).Move(12, 120 + 24 * i, 356, 21);
    Pic.Move(400, 32, 140, 140);
}

Frm_Route& Frm_Route_Window() {
    static Frm_Route window;
    return window;
}

void Frm_Route_Show_Modal() {
    plat::Show_Modal(Frm_Route_Window(), plat::Loaded_Copy::Force_Unload);
}

void Frm_Route_Reset() {
    Line_Type_Index = Land_Class_Index = Park_Index = 0;
    if (Frm_Route_Window().Loaded()) Frm_Route_Window().ForceUnload();
}

void Frm_Route::Frm_Route_Form_Load() {
    Ref_Last_Name.clear();
    Text_Ref.SetText("");
    type_list_usable_ = true;

    const bool en = Language == "US";
    SetCaption(Pick(en, "Polygons/Lines", "Polygons/Lignes"));
    Opt_SurfShore(0).SetCaption(Pick(en, "Poly without shore", "Poly sans rivage"));
    Opt_SurfShore(1).SetCaption(Pick(en, "Poly with shore", "Poly avec rivage"));
    Opt_SurfShore(2).SetCaption(Pick(en, "Line/LakeShore", "Lignes/rivage-lac"));
    Opt_SurfShore(3).SetCaption(Pick(en, "Coastline", "Côtes (océan)"));
    L_AltI.SetCaption("Altitude :");
    Opt_Meter_Feet_LWM(0).SetCaption(Pick(en, "meters", "mètres"));
    Opt_Meter_Feet_LWM(1).SetCaption(Pick(en, "feet", "pieds"));
    Opt_LandClass(1).SetCaption(Pick(en, "Other textures", "Autres textures"));
    L_VTP1_Poly.SetCaption(Pick(en, "See module where to link textures and polys",
                                "Voir module de rattachement de poly à texture"));
    LText_Rt.SetCaption(Pick(en, "Text:", "Texte:"));
    Fram_Line.SetCaption(Pick(en, "VTP2 Line/Shore", "VTP2 Ligne/rivage"));
    Chk_LandOnRight.SetCaption(Pick(en, "Land on the right", "Terrain sur la droite"));
    Chk_FermerLine.SetCaption(Pick(en, "Join ends of line", "Joindre extrémités"));
    LLargeur.SetCaption(Pick(en, "Width:", "Largeur:"));
    Lfrm_SurfShore.SetCaption(Pick(en, "Poly/Line/Shore", "Poly/Ligne/Rivage"));
    LWaves.SetCaption(Pick(en, "Y : waves effect", "Y : effet de vaques"));
    LAutogen.SetCaption(Pick(en, "Y : active Autogen", "Y : Autogen actif"));
    Cmd_Read.SetCaption(Pick(en, "Read ref.", "Lire ref."));
    Cmd_Save.SetCaption(Pick(en, "Save ref as ...", "Enreg. ref. sous"));
    Chk_Line_Night.SetCaption(Pick(en, "Night lights", "Lumières de nuit"));
    Chk_Drive_Right.SetCaption(Pick(en, "Drive right side", "Conduite à droite"));
    Chk_Vtp1_Line.SetCaption(Pick(en, "VTP1 polys", "Polys VTP1"));
    Chk_Effil_Deb.SetCaption(Pick(en, "Beg. thinner", "Amincir début de ligne"));
    Chk_Effil_Fin.SetCaption(Pick(en, "End thinner", "Amincir fin de ligne"));
    LAutogen1.SetCaption(LAutogen.Caption());

    if (Land_Class_Loaded != 0) {
        for (int32_t i = 0; i <= Land_Class_Count && Land_Class_Table.In_Range(i); ++i) {
            const Land_Class_Rec& lc = Land_Class_Table(i);
            Cbo_LC.AddItem(plat::Format(lc.Code, "000") + " " + lc.Name);
        }
        for (int32_t i = 0; i <= Park_Count && Park_Table.In_Range(i); ++i) {
            const Texture_Def_Rec& park = Park_Table(i);
            Cbo_Park.AddItem(plat::Format(park.Num, "0000") + " " + park.Name);
        }
    } else {
        Cbo_LC.SetEnabled(false);
        Cbo_Park.SetEnabled(false);
    }
    if (Line_Type_Loaded == 1) {
        for (int32_t i = 0; i <= Line_Type_Count && Line_Type_Table.In_Range(i); ++i) {
            const Texture_Def_Rec& type = Line_Type_Table(i);
            Cmbo.AddItem(plat::Format(type.Num, "0000") + " " + (type.Has_Effect ? "Y " : "  ") + type.Name);
        }
    }

    if (PSais_New_Line_Armed()) {
        Set_New_Line_Defaults(Route_Attrib_Cur);
        if (!Ref_Last_Path.empty() && plat::PathExists(Ref_Last_Path)) {
            std::string path = Ref_Last_Path;
            Com_Load_Reference(path);
            Text_Ref.SetText(Ref_Last_Name);
        }
    } else {
        Route_Attrib_Cur = Route_Attrib_Result;
    }

    Frm_Route_PrepaDisplay();
    Route_Dlg_Loading = 0;
}

void Frm_Route::Frm_Route_PrepaDisplay() {
    Route_Dlg_Loading = 1;
    Route_Attrib& a = Route_Attrib_Cur;

    Cell_Select_Option(Opt_Attrib, a.Attrib);
    Cell_Select_Option(Opt_Meter_Feet_LWM, a.Meter_Feet);
    Cell_Select_Option(Opt_SurfShore, a.SurfShore);
    Cell_Select_Option(Opt_LWM_VTP2, a.LWM_VTP2);
    Cell_Select_Option(Opt_LandClass, a.Texture_Source());
    Cell_Select_Option(Opt_VTP1_SpecNor, a.VTP1_SpecNor);

    for (plat::TextBox* box : {&Alti, &Alt_Coast, &Largeur, &Layer, &Layer_Vtp2, &LayerScasm, &Text_Rt, &Imbrication})
        Show_Field(*box);
    for (int i = 0; i < 6; ++i) Show_Texture_Name(i);

    Show_Check(Chk_LandOnRight, a.LandOnRight);
    Show_Check(Chk_FermerLine, a.FermerLine);
    Show_Check(Chk_Line_Night, a.Line_Night);
    Show_Check(Chk_Vtp1_Line, a.Vtp1_Line);
    Show_Check(Chk_Drive_Right, a.Drive_Right);
    Show_Check(Chk_Effil_Deb, a.Effil_Deb);
    Show_Check(Chk_Effil_Fin, a.Effil_Fin);
    Show_Check(Chk_Flip_VTP1Texture, a.Flip_VTP1Texture);

    Cell_Drop_Scratch();

    Line_Type_Index = 0;
    if (Line_Type_Loaded != 0 && type_list_usable_) {
        bool found = false;
        for (int32_t i = 0; i <= Line_Type_Count && Line_Type_Table.In_Range(i); ++i) {
            if (Line_Type_Table(i).Num == a.Line_Type()) {
                Line_Type_Index = static_cast<int16_t>(i);
                found = true;
                break;
            }
        }
        if (!found) {
            // Only for this showing: the next opening lists the types again.
            Cmbo.SetEnabled(false);
            type_list_usable_ = false;
        }
    }
    if (Line_Type_Loaded == 1 && type_list_usable_) Cell_Select_Item(Cmbo, Line_Type_Index);

    Land_Class_Index = 0;
    Park_Index = 0;
    Preview_Polygon();

    Frm_Route_Display_Line(PicLine, a.Line_Type());
    Frm_Route_EnableDisable();
}

void Frm_Route::Frm_Route_Opt_Attrib_Click(int index) {
    if (Route_Dlg_Loading == 1) return;
    Route_Attrib_Cur.Attrib = static_cast<int16_t>(index);
}

void Frm_Route::Frm_Route_Opt_Meter_Feet_LWM_Click(int index) {
    if (Route_Dlg_Loading == 1) return;
    Route_Attrib_Cur.Meter_Feet = static_cast<int16_t>(index);
}

void Frm_Route::Frm_Route_Opt_VTP1_SpecNor_Click(int index) {
    if (Route_Dlg_Loading == 1) return;
    Route_Attrib_Cur.VTP1_SpecNor = static_cast<int16_t>(index);
}

void Frm_Route::Frm_Route_Opt_SurfShore_Click(int index) {
    if (Route_Dlg_Loading == 1) return;
    Route_Attrib_Cur.SurfShore = static_cast<int16_t>(index);
    // Lines and coastlines are never linked to a texture image.
    if (index > 1) Route_Attrib_Cur.Linked_Image() = 0;
    Frm_Route_EnableDisable();
}

void Frm_Route::Frm_Route_Opt_LWM_VTP2_Click(int index) {
    if (Route_Dlg_Loading == 1) return;
    Route_Attrib_Cur.LWM_VTP2 = static_cast<int16_t>(index);
    Frm_Route_EnableDisable();
}

void Frm_Route::Frm_Route_Opt_LandClass_Click(int index) {
    if (Route_Dlg_Loading == 1) return;
    Route_Attrib_Cur.Texture_Source() = static_cast<int16_t>(index);
    if (index == 2) Route_Attrib_Cur.Line_Type() = 1182;
    Frm_Route_PrepaDisplay();
    Route_Dlg_Loading = 0;
}

void Frm_Route::Frm_Route_Opt_LandClass_1_Click(int index) {
    if (Route_Dlg_Loading == 1) return;
    Route_Attrib_Cur.Texture_Source() = static_cast<int16_t>(index);
    Route_Dlg_Loading = 1;
    Cell_Select_Option(Opt_LandClass, index);
    Route_Dlg_Loading = 0;
    Frm_Route_PrepaDisplay();
    Route_Dlg_Loading = 0;
}

void Frm_Route::Frm_Route_Cmbo_Click() {
    const int item = Cmbo.ListIndex();
    if (item < 0 || !Line_Type_Table.In_Range(item) || item > Line_Type_Count) return;
    Line_Type_Index = static_cast<int16_t>(item);
    Route_Attrib_Cur.Line_Type() = Line_Type_Table(item).Num;
    Frm_Route_Display_Line(PicLine, Route_Attrib_Cur.Line_Type());
}

void Frm_Route::Frm_Route_Cmd_Ok_Click() {
    const Route_Attrib& a = Route_Attrib_Cur;
    const bool textures_here = a.LWM_VTP2 == 1 || (a.LWM_VTP2 == 2 && a.VTP1_SpecNor == 1);
    if (textures_here && a.Texture_Source() == 1 && a.Texture_Name[0].empty()) {
        Msg_Answer = ERREUR_Show_Message(103);
        return;
    }
    Route_Attrib_Result = Route_Attrib_Cur;
    Route_Dlg_Cancelled = 0;
    Unload();
}

void Frm_Route::Frm_Route_Cmd_Cancel_Click() { Unload(); }

// The help file was never written.
void Frm_Route::Frm_Route_Cmd_Help_Click() {}

void Frm_Route::Frm_Route_Form_Unload(bool& cancel) {
    (void)cancel;
    Cell_Drop_Scratch();
    Pic.ClearPicture();
}
