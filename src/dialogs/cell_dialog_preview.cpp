// The land-class list, list and option choice from a stored value, and texture previews
// shared by the cell dialogs and the line/polygon dialog.
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

void Cell_Select_Item(plat::ComboBox& list, int index) {
    if (index >= 0 && index < list.ListCount()) list.SetListIndex(index);
}

void Cell_Select_Option(plat::ControlArray<plat::OptionButton>& options, int value) {
    if (options.Exists(value)) {
        options(value).SetValue(true);
        return;
    }
    for (int i : options.Indices()) options(i).SetValue(false);
}

void Cell_Clear_Preview(plat::PictureBox& pic) {
    pic.ClearPicture();
    pic.Cls();
}

void Cell_Start_Preview(const std::string& scratch) {
    Temp_Ima_Bmp = scratch;
    if (plat::FileExists(Temp_Ima_Bmp)) plat::DeleteFile(Temp_Ima_Bmp);
}

void Cell_Convert_And_Show(const std::string& source, std::initializer_list<plat::PictureBox*> pictures) {
    plat::Surface surface;
    bool shown = false;
    if (!source.empty() && plat::FileExists(source)) {
        std::string description;
        int16_t status = 1;
        Servitudes_Convert_Texture(source, Fs5_Palette, Temp_Ima_Bmp, description, status);
        shown = status == 0 && plat::LoadPicture(Temp_Ima_Bmp, surface);
    }
    for (plat::PictureBox* p : pictures) {
        if (shown) p->SetPicture(surface);
        else p->ClearPicture();
    }
}

void Cell_Land_Class_Preview(plat::PictureBox& pic, int entry) {
    Cell_Start_Preview(App_Dir + "\\Temp\\$BmpLC$.bmp");
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
    Cell_Convert_And_Show(Texture_Dir + "\\" + plat::Format(c.Texture_Num, "000") + "b2su1.bmp", {&pic});
}

void Cell_Drop_Preview(plat::PictureBox& pic) {
    Cell_Clear_Preview(pic);
    Cell_Drop_Scratch();
}

void Cell_Drop_Scratch() {
    if (!Temp_Ima_Bmp.empty() && plat::FileExists(Temp_Ima_Bmp)) plat::DeleteFile(Temp_Ima_Bmp);
}
