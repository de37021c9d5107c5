// The bitmap browser: root, folder and file lists, the preview of the clicked file and its size.
#include "dialogs/frm_lbmp.h"

#include "core/erreur.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "core/texture_convert.h"
#include "dialogs/dialog_services.h"
#include "platform/files.h"
#include "platform/gdi/picture_file.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/ui/modal.h"

namespace {

constexpr int kPreviewSide = 256;
const plat::Colour kButtonFace = plat::RGB(0xF0, 0xF0, 0xF0);
const plat::Colour kErrorRed = plat::RGB(255, 0, 0);

// The folder above, or the path itself at a top folder ("c:\", "\").
std::string Parent_Folder(const std::string& path) {
    const plat::Path_Split up = plat::Split_Folder(path);
    if (!up.Separated) return path;
    if (up.Folder.empty()) return path.substr(0, 1);
    if (up.Folder.size() == 2 && up.Folder[1] == ':') return path.substr(0, 3);
    return up.Folder;
}

std::string Without_Trailing_Backslash(std::string folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

}  // namespace

std::string Frm_LBmp_File_Path(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
    return folder + "/" + name;
}

Preview_Place Frm_LBmp_Preview_Place(int w, int h) {
    Preview_Place p;
    if (w <= kPreviewSide && h <= kPreviewSide) {
        p.width = w;
        p.height = h;
    } else if (w > h) {
        p.width = kPreviewSide;
        p.height = SYST_Round(static_cast<double>(kPreviewSide) / w * h);
    } else {
        p.height = kPreviewSide;
        p.width = SYST_Round(static_cast<double>(kPreviewSide) / h * w);
    }
    p.left = SYST_Round(kPreviewSide / 2.0 - p.width / 2.0);
    p.top = SYST_Round(kPreviewSide / 2.0 - p.height / 2.0);
    return p;
}

Frm_LBmp::Frm_LBmp() : Form("Frm_LBmp") {
    Form_Load = [this] { Frm_LBmp_Form_Load(); };
    Form_Unload = [this](bool& cancel) { Frm_LBmp_Form_Unload(cancel); };
    Drive1.Change = [this] { Frm_LBmp_Drive1_Change(); };
    Dir1.Change = [this] { Frm_LBmp_Dir1_Change(); };
    File1.Click = [this] { Frm_LBmp_File1_Click(); };
    Cmd_Ok.Click = [this] { Frm_LBmp_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_LBmp_Cmd_Cancel_Click(); };
}

void Frm_LBmp::Design() {
    SetCaption("Rechercher une texture");
    BorderStyle = 3;
    Move(0, 0, 556, 338);
    Drive1.Move(12, 12, 260, 21);
    // Like any folder and file list, they open on their drive's top folder, here the root.
    Dir1.SetPath(Drive1.Drive());
    Dir1.Move(12, 40, 260, 132);
    File1.SetPattern("*.*");
    File1.SetPath(Dir1.Path());
    File1.Move(12, 178, 260, 148);
    Pic.Move(288, 12, kPreviewSide, kPreviewSide);
    Pic.SetBorderStyle(0);
    Pic.SetBackColor(plat::RGB(255, 255, 255));
    WPic.SetVisible(false);
    WPic.SetBorderStyle(0);
    WPic.Move(0, 0, 1, 1);
    LRes.Move(288, 272, kPreviewSide, 18);
    LRes.SetBorderStyle(1);
    LRes.SetAlignment(plat::Align_Center);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Default = true;
    Cmd_Ok.Move(288, 300, 120, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Cancel = true;
    Cmd_Cancel.Move(424, 300, 120, 26);
}

void Frm_LBmp::Frm_LBmp_Form_Load() {
    SetCaption(Language == "US" ? "Find a texture" : "Rechercher une texture");
    Bitmap_Browser_Chosen = 0;
    Bitmap_Browser_Path.clear();

    std::string start = Last_Bitmap_Folder;
    if (start.empty()) {
        std::string fs_dir;
        int16_t found = 0;
        Pinit_Get_Fs_Dir_Registry(fs_dir, found);
        start = found != 0 ? fs_dir : App_Dir;
    }

    // Every folder lies under the one root, one stored with a drive letter too.
    if (plat::RootedPath(start)) {
        // A start folder removed since it was stored: the nearest folder above it that is left.
        std::string folder = start;
        while (!Dir1.SetPath(folder)) {
            const std::string up = Parent_Folder(folder);
            if (up == folder) break;
            folder = up;
        }
    }
    // The file list follows even when the folder list did not move (it raised no Change then).
    Frm_LBmp_Dir1_Change();

    const std::string program = Without_Trailing_Backslash(App_Dir);
    Temp_Tex_Bmp = program + "\\$Tex$";
    Temp_Ima_Bmp = program + "\\$TBmp$";

    if (File1.ListCount() > 0) File1.SetListIndex(0);
}

void Frm_LBmp::Frm_LBmp_Drive1_Change() {
    // An unreadable drive is refused by the list, which keeps its folder.
    Dir1.SetPath(Drive1.Drive());
}

void Frm_LBmp::Frm_LBmp_Dir1_Change() {
    if (File1.SetPath(Dir1.Path())) Last_Bitmap_Folder = Dir1.Path();
}

void Frm_LBmp::Frm_LBmp_File1_Click() {
    const std::string name = File1.FileName();
    if (name.empty()) return;
    const std::string path = Frm_LBmp_File_Path(Dir1.Path(), name);
    Bitmap_Browser_Chosen = 1;
    Bitmap_Browser_Path = path;

    std::string description;
    int16_t status = 1;
    Servitudes_Convert_Texture(path, Fs5_Palette, Temp_Ima_Bmp, description, status);
    if (status != 0) {
        Show_Not_An_Image();
        return;
    }
    Pic.ClearPicture();
    LRes.SetBackColor(kButtonFace);
    LRes.SetCaption(description);
    Pic.Refresh();

    plat::Surface picture;
    if (!plat::LoadPicture(Temp_Ima_Bmp, picture)) {
        Show_Not_An_Image();
        return;
    }
    WPic.Move(WPic.Left(), WPic.Top(), picture.Width(), picture.Height());
    WPic.SetPicture(picture);
    Bitmap_Browser_Width = picture.Width();
    Bitmap_Browser_Height = picture.Height();
    Show_Preview(WPic.Picture());
    Pic.Refresh();
    plat::CurrentHost().Refresh(*this);
}

void Frm_LBmp::Show_Preview(const plat::Surface& picture) {
    const Preview_Place at = Frm_LBmp_Preview_Place(picture.Width(), picture.Height());
    plat::StretchBlt(Pic.Image(), at.left, at.top, at.width, at.height, picture, 0, 0, picture.Width(),
                     picture.Height());
    Pic.Changed();
}

void Frm_LBmp::Show_Not_An_Image() {
    // The preview of an earlier file would pass for this one's.
    Pic.ClearPicture();
    Pic.Refresh();
    LRes.SetBackColor(kErrorRed);
    LRes.SetCaption("Ce n'est pas un fichier image !!!!");
    Bitmap_Browser_Width = 0;
    Bitmap_Browser_Height = 0;
    plat::CurrentHost().Refresh(*this);
}

void Frm_LBmp::Frm_LBmp_Cmd_Ok_Click() {
    if (Bitmap_Browser_Chosen == 0) {
        Msg_Answer = ERREUR_Show_Message(12);
        return;
    }
    std::string folder, name;
    uint8_t error = 0;
    SYST_Split_Path(Bitmap_Browser_Path, folder, name, error);
    if (error == 0 && !folder.empty() && plat::FolderExists(folder)) Last_Bitmap_Folder = folder;
    Bitmap_Browser_Cancelled = 0;
    Unload();
}

void Frm_LBmp::Frm_LBmp_Cmd_Cancel_Click() { Unload(); }

void Frm_LBmp::Frm_LBmp_Form_Unload(bool& cancel) {
    (void)cancel;
    if (!Temp_Ima_Bmp.empty() && plat::FileExists(Temp_Ima_Bmp)) plat::DeleteFile(Temp_Ima_Bmp);
    if (!Temp_Tex_Bmp.empty() && plat::FileExists(Temp_Tex_Bmp)) plat::DeleteFile(Temp_Tex_Bmp);
    Pic.ClearPicture();
    WPic.ClearPicture();
}

Frm_LBmp& Frm_LBmp_Window() {
    static Frm_LBmp window;
    return window;
}

void Frm_LBmp_Show_Modal() {
    Bitmap_Browser_Cancelled = 1;
    plat::Show_Modal(Frm_LBmp_Window(), plat::Loaded_Copy::Unload);
}

void Frm_LBmp_Reset() {
    Frm_LBmp& browser = Frm_LBmp_Window();
    if (browser.Loaded()) browser.ForceUnload();
}
