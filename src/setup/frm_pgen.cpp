#include "setup/frm_pgen.h"

#include "core/project.h"
#include "core/settings.h"
#include "editor/pinit_main.h"
#include "setup/setup_services.h"

Frm_PGen::Frm_PGen() : Form("Frm_PGen") {
    Form_Load = [this] { Frm_PGen_Form_Load(); };
    Opt_Lang.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Frame_Lang);
        o.Click = [this, i] { Frm_PGen_Opt_Lang_Click(i); };
    });
    Cmd_Ok.Click = [this] { Frm_PGen_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_PGen_Cmd_Cancel_Click(); };
}

void Frm_PGen::Design() {
    SetCaption("Paramètres généraux");
    BorderStyle = 3;
    Move(0, 0, 420, 230);
    Frame_Lang.SetCaption("Langage");
    Frame_Lang.Move(12, 8, 200, 76);
    Opt_Lang(0).SetCaption("Français");
    Opt_Lang(0).Move(12, 20, 170, 20);
    Opt_Lang(1).SetCaption("Anglais");
    Opt_Lang(1).Move(12, 46, 170, 20);
    Lab_FSdir.SetCaption("Répertoire FS9 :");
    Lab_FSdir.Move(12, 96, 120, 16);
    DirFS.Move(12, 114, 396, 21);
    Lab_Edit.SetCaption("Editor :");
    Lab_Edit.Move(12, 142, 120, 16);
    Editeur.Move(12, 160, 396, 21);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Default = true;
    Cmd_Ok.Move(148, 194, 80, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Cancel = true;
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
}

void Frm_PGen::Frm_PGen_Opt_Lang_Click(int index) {
    PGen_Language = index == 1 ? "US" : "FR";
    Pinit_Set_PGen_Texts();
}

void Frm_PGen::Frm_PGen_Cmd_Cancel_Click() { Unload(); }

Frm_PGen& Frm_PGen_Window() {
    static Frm_PGen window;
    return window;
}
