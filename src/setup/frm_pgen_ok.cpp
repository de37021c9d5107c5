// OK of the general-parameters window: the choices applied and saved, the main window's texts
// redone in the chosen language.
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "editor/pinit_texts.h"
#include "setup/frm_pgen.h"
#include "setup/setup_services.h"

void Frm_PGen::Frm_PGen_Cmd_Ok_Click() {
    Language = PGen_Language;
    Texture_Dir = PGen_Texture_Dir;
    Fs_Dir = PGen_Fs_Dir;
    // An empty folder stays empty: a lone "\" would name the root and pass for a folder.
    if (!Fs_Dir.empty()) SYST_Add_Backslash(Fs_Dir);
    Setup_Done = 1;
    Settings_Write({{"DirFS", Fs_Dir}, {"Language", Language}, {"Fl1Fois", "1"}},
                   "Les paramètres généraux n'ont pas pu être écrits", "The general parameters could not be written");
    Help_Path = App_Dir + "\\" + "Tessaline" + "_" + Language + ".Hlp";
    Pinit_Set_Main_Texts();
    Unload();
}
