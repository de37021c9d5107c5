#include "dialogs/cell_dialog_preview.h"

#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "core/texture_convert.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/text.h"
#include "platform/gdi/picture_file.h"

#include <cstring>

int32_t Cell_Land_Class_Last() {
    if (Land_Class_Loaded == 0) return -1;
    return Land_Class_Count < Land_Class_Table.UBound() ? Land_Class_Count : Land_Class_Table.UBound();
}

void Cell_Fill_Land_Class_List(plat::ComboBox& cmbo) {
    if (Land_Class_Loaded == 0) {
        cmbo.SetEnabled(false);
        return;
    }
    const int32_t last = Cell_Land_Class_Last();
    for (int32_t k = 0; k <= last; ++k) {
        const Land_Class_Rec& c = Land_Class_Table(k);
        cmbo.AddItem(plat::Format(c.Code, "000") + " " + c.Name);
    }
}

int16_t Cell_Find_Land_Class(int code) {
    const int32_t last = Cell_Land_Class_Last();
    for (int32_t k = 0; k <= last; ++k)
        if (Land_Class_Table(k).Code == code) return static_cast<int16_t>(k);
    return -1;
}

int16_t Cell_Land_Class_Entry(int code) {
    const int16_t k = Cell_Find_Land_Class(code);
    return k < 0 ? 0 : k;
}

void Cell_Select_Entry(plat::ComboBox& cmbo, int index, const std::function<void()>& click) {
    if (index < 0 || index >= cmbo.ListCount()) return;
    if (cmbo.ListIndex() == index) {
        if (click) click();
        return;
    }
    cmbo.SetListIndex(index);
}

void Cell_Clear_Preview(plat::PictureBox& pic) {
    pic.ClearPicture();
    pic.Cls();
}

void Cell_Show_Texture(plat::PictureBox& pic, const std::string& scratch, const std::string& texture) {
    Temp_Ima_Bmp = scratch;
    if (plat::FileExists(Temp_Ima_Bmp)) plat::DeleteFile(Temp_Ima_Bmp);
    std::string description;
    int16_t status = 1;
    Servitudes_Convert_Texture(texture, Fs5_Palette, Temp_Ima_Bmp, description, status);
    // A missing, tiny or unreadable texture leaves no bitmap: the preview shows nothing rather
    // than the previous class's texture.
    plat::Surface picture;
    if (status != 0 || !plat::LoadPicture(Temp_Ima_Bmp, picture)) {
        Cell_Clear_Preview(pic);
        return;
    }
    pic.SetPicture(picture);
}

void Cell_Land_Class_Preview(plat::PictureBox& pic, int entry) {
    const std::string scratch = App_Dir + "\\Temp\\$BmpLC$.bmp";
    Temp_Ima_Bmp = scratch;
    if (plat::FileExists(Temp_Ima_Bmp)) plat::DeleteFile(Temp_Ima_Bmp);
    if (Texture_Dir_Found != 1) return;
    if (entry < 0 || entry > Cell_Land_Class_Last()) {
        // No class table: there is no texture to show.
        Cell_Clear_Preview(pic);
        return;
    }
    const Land_Class_Rec& c = Land_Class_Table(entry);
    if (c.Code > 251) {
        Cell_Clear_Preview(pic);
        return;
    }
    Cell_Show_Texture(pic, scratch, Texture_Dir + "\\" + plat::Format(c.Texture_Num, "000") + "b2su1.bmp");
}

void Cell_Drop_Preview(plat::PictureBox& pic) {
    Cell_Clear_Preview(pic);
    if (!Temp_Ima_Bmp.empty() && plat::FileExists(Temp_Ima_Bmp)) plat::DeleteFile(Temp_Ima_Bmp);
}
