#include "setup/frm_dir.h"

#include "core/project.h"
#include "core/syst.h"
#include "platform/files.h"
#include "platform/text.h"
#include "setup/setup_services.h"

namespace {

// The list's own entry for the drive of a path ("C:\x" -> "c:"), or empty when the list has none.
std::string Listed_Drive(const plat::DriveListBox& drives, const std::string& path) {
    const std::string wanted = plat::LCase(path.substr(0, 2));
    for (int i = 0; i < drives.ListCount(); ++i)
        if (plat::LCase(drives.List(i)) == wanted) return drives.List(i);
    return {};
}

// The folder the list shows, as this system names it: the list's own form carries a drive
// letter that no file and no outside tool knows.
std::string Shown_Folder(const plat::DirListBox& list) { return plat::NativePath(list.Path()); }

}  // namespace

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
    // Like any folder list, it opens on its drive's current folder, here the drive's root.
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

    const std::string start = Dir_Pick_Path;
    if (start.size() >= 2 && start[1] == ':') {
        // A drive this system does not have leaves both lists where they are.
        const std::string drive = Listed_Drive(Drive1, start);
        if (drive.empty()) return;
        Drive1.SetDrive(drive);
        Dir1.SetPath(start);
    } else if (!start.empty() && (start[0] == '\\' || start[0] == '/')) {
        // Paths here carry no drive letter: a rooted one lies on the one drive there is.
        Dir1.SetPath(start);
    }
    // A missing start folder is refused by the list, which stays on its own folder; the start
    // text stays in Dir_Pick_Path until the author picks something.
}

void Frm_Dir::Frm_Dir_Drive1_Change() {
    Dir1.SetPath(Drive1.Drive());
    Dir_Pick_Path = Shown_Folder(Dir1);
}

void Frm_Dir::Frm_Dir_Dir1_Change() { Dir_Pick_Path = Shown_Folder(Dir1); }

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
    Frm_Dir& picker = Frm_Dir_Window();
    // Every choice starts from the window's load, never from a copy left open.
    if (picker.Loaded()) picker.ForceUnload();
    picker.Show(plat::Modal);
    // A host that returns with the window still loaded (hidden) ends the choice as a cancel.
    if (picker.Loaded()) picker.Unload(plat::Unload_FormCode);
    cancelled = Dir_Pick_Cancelled;
    folder = Dir_Pick_Path;
}
