// The main window's controls and their designed layout.
#include "editor/frm.h"

#include "editor/display_toggles.h"
#include "editor/generate_command.h"
#include "editor/keyboard.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "editor/project_commands.h"
#include "editor/mouse_status.h"
#include "editor/toolbar_icons.h"

namespace {
const plat::Colour kButtonFace = plat::RGB(0xC0, 0xC0, 0xC0);
const plat::Colour kStatusGrey = plat::RGB(0xC0, 0xC0, 0xC0);
const plat::Colour kStatusLight = plat::RGB(0xE0, 0xE0, 0xE0);
}  // namespace

Frm::Frm() : Form("Frm") {
    tool_bar_ = {
        {&Cmd_New, 21, 2},         {&Cmd_Save, 21, 2},          {&Cmd_AffBmp, 21, 2},
        {&Cmd_ZPlus, 21, 2},       {&Cmd_ZMoins, 21, 2},        {&Cmd_Grid, 21, 2},
        {&Cmd_ColourGrid, 21, 2},  {&Cmd_API, 21, 2},           {&Cmd_Help, 21, 2},
        {&Cmd_LandClass, 23, 4},   {&Cmd_AffTexture, 23, 2},    {&Cmd_WaterClass, 31, 2},
        {&Cmd_Excl_Areas, 21, 2},  {&Cmd_TrtCell, 21, 2},       {&Cmd_TrtArea, 21, 2},
        {&Cmd_Saisie_Routes, 21, 4}, {&Cmd_New_Route, 21, 2},   {&Cmd_Sel_Route, 21, 2},
        {&Cmd_Tabul, 21, 4},       {&Cmd_Sel_Pt_Route, 21, 4},  {&Cmd_Ins_Pt_Route, 21, 2},
        {&Cmd_Extr_Pt_Route, 21, 2}, {&Cmd_TrtIma, 21, 4},      {&Cmd_New_Ima, 23, 2},
        {&Cmd_Sel_Ima, 23, 2},     {&Cmd_Sel_Crb_Ima, 23, 2},   {&Cmd_Sup_Route_Ou_Pt, 21, 4},
        {&Cmd_FSUIPC, 21, 4},      {&Cmd_TrtMesh, 21, 4},
    };
    Ln1.SetContainer(&Pic);
    Ln2.SetContainer(&Pic);
    Croix1.SetContainer(&Pic);
    Croix2.SetContainer(&Pic);
    Cercle.SetContainer(&Pic);
    LPtGrid.SetContainer(&Pic);
    LCompileNom.SetContainer(&Fram_Compile);
    LCompile.SetContainer(&Fram_Compile);
    LTex2500.SetContainer(&Fram_Creat_2500);
    LNbTex.SetContainer(&Fram_Creat_2500);
    LPourCent.SetContainer(&Fram_Creat_2500);

    Cmd_ZPlus.Click = [] { Frm_Cmd_ZPlus_Click(); };
    Cmd_ZMoins.Click = [] { Frm_Cmd_ZMoins_Click(); };
    HScroll.Change = [] { Frm_HScroll_Change(); };
    VScroll.Change = [] { Frm_VScroll_Change(); };
    Object_Modes_Connect(*this);
    Display_Toggles_Connect(*this);
    Line_Tools_Connect(*this);
    Generate_Command_Connect(*this);
    Project_Commands_Connect(*this);
    KeyDown = [](int& key, int shift) { Frm_Form_KeyDown(static_cast<int16_t>(key), static_cast<int16_t>(shift)); };
    Pic.MouseMove = [](int b, int s, double x, double y) { Frm_Pic_MouseMove(b, s, static_cast<float>(x), static_cast<float>(y)); };
    Pic.MouseUp = [](int b, int s, double x, double y) { Frm_Pic_MouseUp(b, s, static_cast<float>(x), static_cast<float>(y)); };
}

void Frm::Design() {
    SetCaption("Tessaline");
    Move(0, 0, 1024, 700);
    SetBackColor(kButtonFace);
    KeyPreview = true;

    // Tool bar: designed in the order of the bar at its designed widths; the layout places it.
    int left = 2;
    for (const Tool_Slot& slot : tool_bar_) {
        plat::CommandButton& b = *slot.button;
        b.Move(left, 0, slot.designed_width, 21);
        left += slot.designed_width + 2;
        b.SetBackColor(kButtonFace);
        b.TabStop = false;
        plat::Surface icon = Toolbar_Icon(b.Name());
        if (!icon.Empty()) {
            b.SetStyle(1);
            b.SetPicture(icon);
        }
    }
    Cmd_LandClass.SetCaption("LC");
    Cmd_LandClass.SetToolTipText("LandClass");
    Cmd_WaterClass.SetCaption("WC");
    Cmd_WaterClass.SetToolTipText("WaterClass");
    Cmd_TrtArea.SetCaption("F1");
    Cmd_FSUIPC.SetToolTipText("FSconnect");
    Cmd_TrtMesh.SetToolTipText("Re-Mesh");

    // Map area: hidden until the layout has placed it.
    Pic.SetBackColor(plat::RGB(255, 255, 255));
    Pic.SetVisible(false);
    Pic.Move(0, 21, 400, 300);
    Pic.SetBorderStyle(0);
    HScroll.Move(0, 330, 400, 16);
    HScroll.SetVisible(false);
    VScroll.Move(400, 21, 16, 300);
    VScroll.SetVisible(false);
    Ln1.SetVisible(false);
    Ln2.SetVisible(false);
    Croix1.SetVisible(false);
    Croix2.SetVisible(false);
    Cercle.SetShapeKind(plat::Shape_Circle);
    Cercle.Move(0, 0, 11, 11);
    Cercle.SetVisible(false);
    LPtGrid.SetVisible(false);
    // Wide enough for the longest altitude it shows, "Altitude= -998.99994".
    LPtGrid.Move(0, 0, 112, 16);
    LPtGrid.SetBackColor(plat::RGB(0xFF, 0xFF, 0xE1));

    // Status row.
    struct StatusLabel {
        plat::Label* label;
        int width;
        plat::Colour back;
        const char* text;
    };
    const StatusLabel status[] = {
        {&L_MouseBmp, 92, kButtonFace, "Mouse"}, {&LLat, 93, kStatusGrey, ""},
        {&LLon, 89, kStatusGrey, ""},            {&L_LLatDec, 24, kStatusGrey, "  Lat:"},
        {&LLatDec, 65, kStatusGrey, ""},         {&L_LLonDec, 24, kStatusGrey, "Lon:"},
        {&LLonDec, 65, kStatusGrey, ""},         {&L_NumCell_Area, 174, kStatusLight, ""},
        {&L_CustomBmp, 134, kButtonFace, ""},
    };
    int x = 2;
    for (const StatusLabel& s : status) {
        s.label->Move(x, 684, s.width, 16);
        s.label->SetBackColor(s.back);
        s.label->SetCaption(s.text);
        x += s.width + 2;
    }

    // Generation frame, shown by the generate command.
    Fram_Compile.SetCaption("Generation");
    Fram_Compile.Move(200, 200, 420, 90);
    Fram_Compile.SetBackColor(kButtonFace);
    Fram_Compile.SetVisible(false);
    LCompileNom.Move(12, 24, 396, 20);
    LCompileNom.SetBackColor(kButtonFace);
    LCompile.Move(12, 52, 396, 20);
    LCompile.SetBackColor(kButtonFace);

    Fram_Creat_2500.Move(300, 250, 300, 80);
    Fram_Creat_2500.SetBackColor(kButtonFace);
    Fram_Creat_2500.SetVisible(false);
    LTex2500.Move(12, 20, 276, 20);
    LTex2500.SetBackColor(kButtonFace);
    LNbTex.Move(12, 48, 60, 20);
    LNbTex.SetBackColor(kButtonFace);
    LPourCent.Move(200, 48, 88, 20);
    LPourCent.SetBackColor(kButtonFace);
    LPourCent.SetAlignment(plat::Align_Right);

    for (int i : WPic.Indices()) WPic(i).SetVisible(false);
    for (int i : WPicIma.Indices()) WPicIma(i).SetVisible(false);
    WPicLCWC.SetVisible(false);

    // Menus: designed captions are the French ones; Pinit_Set_Main_Texts sets the language.
    Mnu_File.SetCaption("Fichiers");
    Mnu_File_New.SetCaption("Nouveau");
    Mnu_File_New.SetShortcut("Ctrl+N");
    Mnu_File_Open.SetCaption("Ouvrir");
    Mnu_File_Enreg.SetCaption("Enregistrer");
    Mnu_File_Enreg.SetShortcut("Ctrl+S");
    Mnu_File_Enreg_Sous.SetCaption("Enregistrer sous");
    Mnu_File_Close.SetCaption("Fermer");
    Mnu_File_Close.SetShortcut("Ctrl+O");
    Mnu_File_Sep1.SetCaption("-");
    for (int i : Mnu_File_Prec.Indices()) Mnu_File_Prec(i).SetCaption(std::to_string(i + 1));
    Mnu_File_Sep2.SetCaption("-");
    Mnu_File_Quit.SetCaption("Quitter");
    Mnu_File_Quit.SetShortcut("Ctrl+Q");
    Mnu_Param.SetCaption("Paramètres");
    Mnu_Param_File.SetCaption("Paramètres du projet");
    Mnu_Param_Gene.SetCaption("Paramètres généraux");
    Mnu_par_Remesh.SetCaption("Re-Mesh");
    Mnu_ModCad.SetCaption("Coordonnées de la carte");
    Mnu_Reinit.SetCaption("Initialiser le project");
    Mnu_Tools.SetCaption("Outils");
    Mnu_Tool_CvLL.SetCaption("Conversion Lat/Lon");
}

Frm& Frm_Window() {
    static Frm window;
    return window;
}
