// Menu captions and tool tips, in French or English.
#include "core/project.h"
#include "editor/frm.h"
#include "editor/pinit_texts.h"

namespace {

struct Text_Pair {
    const char* english;
    const char* french;
};

const char* Pick(const Text_Pair& t, bool english) { return english ? t.english : t.french; }

}  // namespace

void Pinit_Set_Main_Texts() {
    Frm& f = Frm_Window();
    // Only the exact "US" selects English.
    const bool english = Language == "US";

    const std::pair<plat::Menu*, Text_Pair> menus[] = {
        {&f.Mnu_File, {"Files", "Fichiers"}},
        {&f.Mnu_File_Close, {"Close", "Fermer"}},
        {&f.Mnu_File_Enreg, {"Save", "Enregistrer"}},
        {&f.Mnu_File_Enreg_Sous, {"Save as ...", "Enregistrer sous"}},
        {&f.Mnu_File_New, {"New", "Nouveau"}},
        {&f.Mnu_File_Open, {"Open", "Ouvrir"}},
        {&f.Mnu_File_Quit, {"Quit", "Quitter"}},
        {&f.Mnu_Param, {"Parameters", "Paramètres"}},
        {&f.Mnu_Param_File, {"File parameters", "Paramètres du projet"}},
        {&f.Mnu_par_Remesh, {"Re-Mesh", "Re-Mesh"}},
        {&f.Mnu_ModCad, {"Coordinates of the map", "Coordonnées de la carte"}},
        {&f.Mnu_Param_Gene, {"General parameters", "Paramètres généraux"}},
        {&f.Mnu_Tools, {"Tools", "Outils"}},
        {&f.Mnu_Tool_CvLL, {"Lat/Lon conversion", "Conversion Lat/Lon"}},
        {&f.Mnu_Reinit, {"Initialize project", "Initialiser le project"}},
    };
    for (const auto& [menu, text] : menus) menu->SetCaption(Pick(text, english));

    const std::pair<plat::CommandButton*, Text_Pair> tips[] = {
        {&f.Cmd_New, {"New project", "Nouveau"}},
        {&f.Cmd_Save, {"Save", "Enregistrer"}},
        {&f.Cmd_AffBmp, {"Show/hide image", "Montrer/cacher image"}},
        {&f.Cmd_AffTexture, {"Show/hide textures", "Montrer/cacher textures"}},
        {&f.Cmd_TrtCell, {"Cell attributes", "Attributs de Cell"}},
        {&f.Cmd_ColourGrid, {"Grid colour", "Couleur de la grille"}},
        {&f.Cmd_ZPlus, {"Zoom +", "Zoom +"}},
        {&f.Cmd_ZMoins, {"Zoom -", "Zoom -"}},
        {&f.Cmd_API, {"BGL generation", "Generation BGL"}},
        {&f.Cmd_Help, {"Help", "Aide"}},
        {&f.Cmd_Grid, {"Show/hide grid", "Montrer/cacher grille"}},
        {&f.Cmd_Tabul, {"Find objects", "Rechercher objet"}},
        {&f.Cmd_Extr_Pt_Route, {"Go on with end of line", "Continuer sur extrémité"}},
        {&f.Cmd_Ins_Pt_Route, {"Point insertion", "Insérer un point"}},
        {&f.Cmd_Sel_Pt_Route, {"Point selection", "Sélectionner un point"}},
        {&f.Cmd_Sel_Route, {"Object selection", "Sélectionner un objet"}},
        {&f.Cmd_New_Route, {"New object", "Nouvel objet"}},
        {&f.Cmd_Saisie_Routes, {"Road/river/lake", "Aller à saisie route/lac/rivère"}},
        {&f.Cmd_TrtArea, {"Area attributes", "Attributs d'Area"}},
        {&f.Cmd_Excl_Areas, {"Exclude in Areas", "Exclusion dans Area"}},
        {&f.Cmd_TrtIma, {"Textures and linked polys (VTP1)", "Textures et polys liés (VTP1)"}},
        {&f.Cmd_New_Ima, {"New texture (VTP1)", "Nouvelle texture (VTP1)"}},
        {&f.Cmd_Sel_Ima, {"Select a texture (VTP1)", "Selectionner une texture (VTP1)"}},
        {&f.Cmd_Sel_Crb_Ima, {"Link a poly to the selected texture (VTP1)", "Lier un poly à le texture sélectionnée (VTP1)"}},
        {&f.Cmd_Sup_Route_Ou_Pt, {"Delete selected object", "Supprimer l'objet sélectionner"}},
    };
    for (const auto& [button, text] : tips) button->SetToolTipText(Pick(text, english));
}
