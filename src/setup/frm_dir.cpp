// The folder picker window: drive list, folder tree, OK and cancel.
#include "setup/frm_dir.h"

#include "core/project.h"
#include "core/syst.h"
#include "platform/files.h"
#include "platform/text.h"
#include "setup/setup_services.h"
#include "platform/ui/modal.h"

Frm_Dir::Frm_Dir() : Form("Frm_Dir") {
    Form_Load = [this] { Frm_Dir_Form_Load(); };
    Drive1.Change = [this] { Frm_Dir_Drive1_Change(); };
    Dir1.Change = [this] { Frm_Dir_Dir1_Change(); };
    Cmd_Ok.Click = [this] { Frm_Dir_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_Dir_Cmd_Cancel_Click(); };
}

void Frm_Dir::Design() {
    BorderStyle = 3;
    Move(0, 0, 300, 330);
    Drive1.Move(12, 12, 276, 21);
    // Like any folder list, it opens on its drive's current folder, here the root.
    Dir1.SetPath(Drive1.Drive());
    Dir1.Move(12, 42, 276, 210);
    Lab_DblClick.SetCaption("Double-click sur le répertoire");
    Lab_DblClick.Move(12, 258, 276, 16);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(60, 288, 80, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(160, 288, 80, 26);
}

void Frm_Dir::Frm_Dir_Form_Load() {
    Dir_Pick_Cancelled = 1;
    SetCaption(Dir_Pick_Title);
    Lab_DblClick.SetCaption(Language == "US" ? "Double-click on the directory" : "Double-click sur le répertoire");
    if (Dir_Pick_Path.empty()) Dir_Pick_Path = App_Dir;

    // Every folder here lies under the one root, a start written with a drive letter too. A
    // relative or missing start is refused by the list, which stays on its own folder; the
    // start text stays in Dir_Pick_Path until the author picks something.
    if (plat::RootedPath(Dir_Pick_Path) && Dir1.SetPath(Dir_Pick_Path)) Dir_Pick_Path = Dir1.Path();
}

void Frm_Dir::Frm_Dir_Drive1_Change() {
    Dir1.SetPath(Drive1.Drive());
    Dir_Pick_Path = Dir1.Path();
}

void Frm_Dir::Frm_Dir_Dir1_Change() { Dir_Pick_Path = Dir1.Path(); }

void Frm_Dir::Frm_Dir_Cmd_Ok_Click() {
    if (Dir_Pick_Path.empty()) return;
    Dir_Pick_Cancelled = 0;
    Unload();
}

void Frm_Dir::Frm_Dir_Cmd_Cancel_Click() { Unload(); }

Frm_Dir& Frm_Dir_Window() {
    static Frm_Dir window;
    return window;
}

void Frm_Dir_Choose(int16_t& cancelled, std::string& folder) {
    Dir_Pick_Path = folder;
    cancelled = 0;
    // Every choice starts from the window's load; a hidden return ends it as a cancel.
    plat::Show_Modal(Frm_Dir_Window(), plat::Loaded_Copy::Force_Unload);
    cancelled = Dir_Pick_Cancelled;
    folder = Dir_Pick_Path;
}
