#pragma once
// The bitmap browser: a drive list (the root), a folder list and a file list; every file
// clicked is converted for display, previewed in 256 x 256 pixels with its format, and
// measured. OK hands back the last file clicked, as this system names it, through
// Bitmap_Browser_Path / _Width / _Height (dialog_services.h); the folder last shown is kept in
// Last_Bitmap_Folder for the next showing.
#include <string>

#include "platform/ui/ui.h"

class Frm_LBmp : public plat::Form {
public:
    Frm_LBmp();

    plat::DriveListBox Drive1{*this, "Drive1"};
    plat::DirListBox Dir1{*this, "Dir1"};
    plat::FileListBox File1{*this, "File1"};
    plat::PictureBox Pic{*this, "Pic"};
    plat::PictureBox WPic{*this, "WPic"};
    plat::Label LRes{*this, "LRes"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};

    void Frm_LBmp_Form_Load();
    void Frm_LBmp_Drive1_Change();
    void Frm_LBmp_Dir1_Change();
    void Frm_LBmp_File1_Click();
    void Frm_LBmp_Cmd_Ok_Click();
    void Frm_LBmp_Cmd_Cancel_Click();
    void Frm_LBmp_Form_Unload(bool& cancel);

protected:
    void Design() override;

private:
    void Show_Preview(const plat::Surface& picture);
    void Show_Not_An_Image();
};

// The one instance of the window.
Frm_LBmp& Frm_LBmp_Window();
// The caller's protocol in one call: sets Bitmap_Browser_Cancelled := 1, shows the browser
// modally from a fresh load, and makes sure it is unloaded (scratch files gone) afterwards.
void Frm_LBmp_Show_Modal();

// The full path of file `name` in the folder the lists show: one "/" between them, none added
// after a folder that already ends in one (the root).
std::string Frm_LBmp_File_Path(const std::string& folder, const std::string& name);

// Where a w x h picture lands in the 256 x 256 preview: unscaled and centred when it fits,
// else scaled so that its longer side is 256, centred.
struct Preview_Place {
    int left = 0, top = 0, width = 0, height = 0;
};
Preview_Place Frm_LBmp_Preview_Place(int w, int h);

// Start values (tests): the window unloaded.
void Frm_LBmp_Reset();
