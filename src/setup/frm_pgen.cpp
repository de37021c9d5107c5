// The general-parameters window: its layout and texts, the language choice, and the simulator's
// folder and the editor program picked.
#include "setup/frm_pgen.h"

#include "core/erreur.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "core/syst_folder.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui/modal.h"
#include "setup/setup_services.h"

Frm_PGen::Frm_PGen() : Form("Frm_PGen") {
    Form_Load = [this] { Frm_PGen_Form_Load(); };
    Opt_Lang.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Frame_Lang);
        o.Click = [this, i] { Frm_PGen_Opt_Lang_Click(i); };
    });
    DirFS.DblClick = [this] { Frm_PGen_DirFS_DblClick(); };
    DirFS.KeyDown = [this](int& k, int s) { Frm_PGen_DirFS_KeyDown(k, s); };
    DirFS.Validate = [this](bool& c) { Frm_PGen_DirFS_Validate(c); };
    Editeur.DblClick = [this] { Frm_PGen_Editeur_DblClick(); };
    Editeur.KeyDown = [this](int& k, int s) { Frm_PGen_Editeur_KeyDown(k, s); };
    Editeur.Validate = [this](bool& c) { Frm_PGen_Editeur_Validate(c); };
    Cmd_Ok.Click = [this] { Frm_PGen_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_PGen_Cmd_Cancel_Click(); };
    Cmd_Help.Click = [this] { Frm_PGen_Cmd_Help_Click(); };
}

void Frm_PGen::Design() {
    SetCaption("Paramètres Généraux");
    BorderStyle = 3;
    Move(0, 0, 420, 230);
    Frame_Lang.SetCaption("Langage");
    Frame_Lang.Move(12, 8, 200, 76);
    Opt_Lang(0).SetCaption("Français");
    Opt_Lang(0).Move(12, 20, 170, 20);
    Opt_Lang(1).SetCaption("Anglais");
    Opt_Lang(1).Move(12, 46, 170, 20);
    Lab_FSdir.SetCaption("Directory FS2004 :");
    Lab_FSdir.Move(12, 96, 120, 16);
    DirFS.Move(12, 114, 396, 21);
    Lab_Edit.SetCaption("Editeur :");
    Lab_Edit.Move(12, 142, 120, 16);
    Editeur.Move(12, 160, 396, 21);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(148, 194, 80, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(236, 194, 80, 26);
    Cmd_Help.SetCaption("?");
    Cmd_Help.Move(324, 194, 84, 26);
}

void Frm_PGen::Frm_PGen_Form_Load() {
    PGen_Language = Language;
    PGen_Fs_Dir = Fs_Dir;
    PGen_Texture_Dir = PGen_Fs_Dir + "Scenery\\world\\Texture";
    Pinit_Set_PGen_Texts();
    Opt_Lang(Language == "US" ? 1 : 0).SetValue(true);
    DirFS.SetText(PGen_Fs_Dir);
    Editeur.SetText(PGen_Editor_Path);
}

void Frm_PGen::Frm_PGen_Opt_Lang_Click(int index) {
    PGen_Language = index == 1 ? "US" : "FR";
    Pinit_Set_PGen_Texts();
}

void Frm_PGen::Frm_PGen_DirFS_DblClick() {
    if (SYST_Pick_Folder("Répertoire FS9", "FS9 directory", PGen_Fs_Dir)) DirFS.SetText(PGen_Fs_Dir);
}

void Frm_PGen::Frm_PGen_DirFS_KeyDown(int& key_code, int) {
    if (key_code == 27) DirFS.SetText(PGen_Fs_Dir);
}

void Frm_PGen::Frm_PGen_DirFS_Validate(bool&) {
    const std::string text = plat::Trim(DirFS.Text());
    DirFS.SetText(text);
    // A folder that is not there leaves the last accepted one in force; the focus may leave.
    if (!plat::PathExists(text)) {
        Msg_Answer = ERREUR_Show_Message(1);
        return;
    }
    PGen_Fs_Dir = text;
    SYST_Add_Backslash(PGen_Fs_Dir);
    PGen_Texture_Dir = PGen_Fs_Dir + "Scenery\\world\\Texture";
}

void Frm_PGen::Frm_PGen_Editeur_DblClick() {
    const bool us = Language == "US";
    for (;;) {
        CM.DialogTitle = us ? "Editor Program" : "Programme d'édition";
        std::string folder;
        std::string name;
        uint8_t error = 0;
        SYST_Split_Path(PGen_Editor_Path, folder, name, error);
        if (error != 0) folder.clear(), name.clear();
        CM.InitDir = folder;
        CM.FileName = name;
        CM.Filter = "Exe (*.Exe)|*.Exe";
        CM.FilterIndex = 1;
        if (!CM.ShowOpen()) {
            Editeur.SetText(PGen_Editor_Path);
            return;
        }
        if (SYST_Valid_File_Name(CM.FileTitle) != 1) {
            Msg_Answer = ERREUR_Show_Message(1);
            continue;
        }
        PGen_Editor_Path = CM.FileName;
        Editeur.SetText(PGen_Editor_Path);
        return;
    }
}

void Frm_PGen::Frm_PGen_Editeur_KeyDown(int& key_code, int) {
    if (key_code == 13) {
        bool cancel = false;
        Frm_PGen_Editeur_Validate(cancel);
    } else if (key_code == 27) {
        Editeur.SetText(PGen_Editor_Path);
    }
}

void Frm_PGen::Frm_PGen_Editeur_Validate(bool&) {
    const std::string text = plat::Trim(Editeur.Text());
    Editeur.SetText(text);
    if (!text.empty() && !plat::PathExists(text)) {
        Msg_Answer = ERREUR_Show_Message(1);
        return;
    }
    PGen_Editor_Path = text;
}

void Frm_PGen::Frm_PGen_Cmd_Cancel_Click() { Unload(); }

Frm_PGen& Frm_PGen_Window() {
    static Frm_PGen window;
    return window;
}

void Pinit_Set_PGen_Texts() {
    Frm_PGen& w = Frm_PGen_Window();
    const bool english = PGen_Language == "US";
    w.SetCaption(english ? "Main parameters" : "Paramètres généraux");
    w.Frame_Lang.SetCaption(english ? "Language" : "Langage");
    w.Lab_FSdir.SetCaption(english ? "FS9 Directory :" : "Répertoire FS9 :");
    w.Opt_Lang(0).SetCaption(english ? "French" : "Français");
    w.Opt_Lang(1).SetCaption(english ? "English" : "Anglais");
}

void Frm_PGen_Show_Modal() {
    plat::Show_Modal(Frm_PGen_Window(), plat::Loaded_Copy::Keep);
}
