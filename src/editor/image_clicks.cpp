// Map clicks on texture images: a new one created at the click, the current one edited, its
// bitmap converted for display.
#include "editor/image_clicks.h"

#include <string>

#include "core/erreur.h"
#include "core/project.h"
#include "core/syst.h"
#include "core/texture_convert.h"
#include "editor/editor_globals.h"
#include "editor/editor_services.h"
#include "editor/frm.h"
#include "editor/line_tools.h"
#include "editor/object_modes.h"
#include "platform/files.h"
#include "platform/gdi/picture_file.h"

Image_Click_Windows Image_Click_Dialogs;

namespace {

void Show_Image_Dialog() {
    Ima_Dlg_Cancelled = 1;
    if (Image_Click_Dialogs.Show_Image) Image_Click_Dialogs.Show_Image();
}

// Picture element n - 1 of WPicIma takes image n's bitmap, converted through the scratch
// file. False (message 124 shown) when the bitmap cannot be converted or loaded; the picture
// then keeps what it showed.
bool Load_Image_Bitmap(int32_t n) {
    Temp_Ima_Bmp = App_Dir + "\\Temp\\$BmpIma$.bmp";
    plat::DeleteFile(Temp_Ima_Bmp);
    plat::DeleteFile(Temp_Tex_Bmp);
    std::string description;
    int16_t status = 1;
    Servitudes_Convert_Texture(Image_Table(n).Ima_File, Fs5_Palette, Temp_Ima_Bmp, description, status);
    plat::Surface picture;
    const bool loaded = status == 0 && plat::LoadPicture(Temp_Ima_Bmp, picture);
    plat::DeleteFile(Temp_Ima_Bmp);
    plat::DeleteFile(Temp_Tex_Bmp);
    if (!loaded) {
        Msg_Answer = ERREUR_Show_Message(124);
        return false;
    }
    Frm& f = Frm_Window();
    const int element = static_cast<int>(n - 1);
    if (!f.WPicIma.Exists(element)) f.WPicIma.Load(element);
    f.WPicIma(element).SetPicture(picture);
    return true;
}

void Create_Image() {
    Show_Image_Dialog();
    if (Ima_Dlg_Cancelled != 0 || !Project_Valid_Image(Image_Count)) return;
    Cur_Image = Image_Count;
    New_Image_Armed = 0;
    Image_Rec& image = Image_Table(Cur_Image);
    if (!Load_Image_Bitmap(Cur_Image)) {
        // Not saved and not drawn: the record stays as a deleted one.
        image.Ima_In_Use = 0;
        Cur_Image = 0;
        return;
    }
    const double x = Mouse_Down_Map_X, y = Mouse_Down_Map_Y;
    image.Ima_X1 = x - image.Ima_Width / 2.0;
    image.Ima_X2 = image.Ima_X1 + image.Ima_Width - 1;
    image.Ima_Y1 = y - image.Ima_Height / 2.0;
    image.Ima_Y2 = image.Ima_Y1 + image.Ima_Height - 1;
}

void Modify_Image() {
    New_Image_Armed = 2;
    const Image_Rec old = Image_Table(Cur_Image);
    Show_Image_Dialog();
    if (Ima_Dlg_Cancelled != 0 || !Project_Valid_Image(Cur_Image)) return;
    if (Load_Image_Bitmap(Cur_Image)) return;
    // The bitmap that still shows is the old one, and so is the size that goes with it.
    Image_Rec& image = Image_Table(Cur_Image);
    image.Ima_File = old.Ima_File;
    image.Ima_Width = old.Ima_Width;
    image.Ima_Height = old.Ima_Height;
}

bool On_Current_Image(double x, double y) {
    if (!Project_Valid_Image(Cur_Image)) return false;
    const Image_Rec& image = Image_Table(Cur_Image);
    return image.Ima_In_Use == 1 && x >= image.Ima_X1 && x <= image.Ima_X2 && y >= image.Ima_Y1 &&
           y <= image.Ima_Y2;
}

}  // namespace

bool PSais_Image_Click(int16_t button) {
    if (button == plat::Button_Left) {
        if (New_Image_Armed != 1) return false;
        Create_Image();
        return true;
    }
    if (Mode_Images != 1 || !On_Current_Image(Mouse_Down_Map_X, Mouse_Down_Map_Y)) return false;
    Modify_Image();
    return true;
}

void Image_Clicks_Reset() { Image_Click_Dialogs = Image_Click_Windows{}; }
