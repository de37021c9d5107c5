// The texture image dialog: the bitmap chosen and size-checked, the five seasonal names, and OK
// appending a new image or writing the current one back.
#include "dialogs/frm_ima.h"

#include <cstdint>
#include <limits>
#include <string>

#include "core/erreur.h"
#include "core/project.h"
#include "core/syst.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_lbmp.h"
#include "editor/editor_globals.h"
#include "editor/editor_services.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/ui/modal.h"

namespace {

constexpr int kSeasons = 5;

bool Creating() { return PSais_New_Image_Armed(); }

// Shows the bitmap browser, opened in the folder of `current` when that folder exists. True
// when the author accepted a file; the path and size are then in Bitmap_Browser_*.
bool Browse_From(const std::string& current) {
    if (!current.empty()) {
        std::string folder, file;
        uint8_t error = 0;
        SYST_Split_Path(current, folder, file, error);
        if (error == 0 && !folder.empty() && plat::FolderExists(folder)) Last_Bitmap_Folder = folder;
    }
    Frm_LBmp_Show_Modal();
    return Bitmap_Browser_Cancelled != 1;
}

// The record keeps the size in 16 bits.
bool Size_Fits_Record(int32_t w, int32_t h) {
    constexpr int32_t most = std::numeric_limits<int16_t>::max();
    return w >= 0 && h >= 0 && w <= most && h <= most;
}

void Refuse_Size(int32_t w, int32_t h) {
    const std::string size = std::to_string(w) + " x " + std::to_string(h);
    plat::CurrentHost().MsgBox(
        Language == "US"
            ? "This bitmap is " + size + " pixels: a texture image can be at most 32767 pixels wide and high."
            : "Ce bitmap mesure " + size + " pixels : une image de texture ne peut dépasser 32767 pixels "
                                            "de large ni de haut.",
        plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
}

// The largest number in the table, deleted images included, so that no number comes back.
int16_t Highest_Number() {
    int16_t highest = 0;
    const int32_t last = Image_Count < Image_Table.UBound() ? Image_Count : Image_Table.UBound();
    for (int32_t i = 1; i <= last; ++i)
        if (Image_Table(i).Ima_Number > highest) highest = Image_Table(i).Ima_Number;
    return highest;
}

}  // namespace

Frm_Ima::Frm_Ima() : Form("Frm_Ima") {
    Form_Load = [this] { Frm_Ima_Form_Load(); };
    L_Season_Num.SetWire([this](plat::Label& l, int) { l.SetContainer(&Fram_Tex_Season); });
    Texture_Name.SetWire([this](plat::TextBox& box, int i) {
        box.SetContainer(&Fram_Tex_Season);
        Cell_Wire_Value_Box(
            box, [this, i](bool& cancel) { Frm_Ima_Texture_Name_Validate(i, cancel); },
            [i] { return Image_Cur.Ima_Texture[static_cast<size_t>(i)]; });
        box.DblClick = [this, i] { Frm_Ima_Texture_Name_DblClick(i); };
    });
    DirFic.DblClick = [this] { Frm_Ima_DirFic_DblClick(); };
    Cmd_Ok.Click = [this] { Frm_Ima_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_Ima_Cmd_Cancel_Click(); };
    Cmd_Help.Click = [this] { Frm_Ima_Cmd_Help_Click(); };
}

void Frm_Ima::Design() {
    SetCaption("Modification/création de texture");
    BorderStyle = 3;
    Move(0, 0, 480, 262);
    Label1.SetCaption("Texture:");
    Label1.Move(12, 16, 56, 16);
    DirFic.SetCaption("");
    DirFic.SetBorderStyle(1);
    DirFic.Move(72, 12, 396, 21);
    Fram_Tex_Season.SetCaption("Textures saisonnières");
    Fram_Tex_Season.Move(12, 46, 456, 166);
    for (int i = 0; i < kSeasons; ++i) {
        L_Season_Num(i).SetCaption(std::to_string(i + 2));
        L_Season_Num(i).Move(12, 24 + 28 * i, 14, 16);
        Texture_Name(i).Move(30, 20 + 28 * i, 414, 21);
    }
    Cmd_Help.SetCaption("?");
    Cmd_Help.Move(12, 224, 30, 26);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(290, 224, 84, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(384, 224, 84, 26);
}

void Frm_Ima::Frm_Ima_Form_Load() {
    const bool english = Language == "US";
    SetCaption(english ? "Texture modification/creation" : "Modification/création de texture");
    Fram_Tex_Season.SetCaption(english ? "Seasonnal textures" : "Textures saisonnières");

    if (Creating()) {
        Image_Cur = Image_Rec{};
        Image_Cur.Ima_In_Use = 1;
    } else {
        // A current image that names no record (a table read anew) gives empty values.
        Image_Cur = Project_Valid_Image(Cur_Image) ? Image_Table(Cur_Image) : Image_Rec{};
    }
    DirFic.SetCaption(Image_Cur.Ima_File);
    for (int i = 0; i < kSeasons; ++i) Texture_Name(i).SetText(Image_Cur.Ima_Texture[static_cast<size_t>(i)]);
}

void Frm_Ima::Frm_Ima_DirFic_DblClick() {
    if (!Browse_From(Image_Cur.Ima_File)) return;
    if (!Size_Fits_Record(Bitmap_Browser_Width, Bitmap_Browser_Height)) {
        Refuse_Size(Bitmap_Browser_Width, Bitmap_Browser_Height);
        return;
    }
    Image_Cur.Ima_File = Bitmap_Browser_Path;
    Image_Cur.Ima_Width = static_cast<int16_t>(Bitmap_Browser_Width);
    Image_Cur.Ima_Height = static_cast<int16_t>(Bitmap_Browser_Height);
    DirFic.SetCaption(Image_Cur.Ima_File);
}

void Frm_Ima::Frm_Ima_Texture_Name_DblClick(int index) {
    if (index < 0 || index >= kSeasons) return;
    std::string& name = Image_Cur.Ima_Texture[static_cast<size_t>(index)];
    if (!Browse_From(name)) return;
    name = Bitmap_Browser_Path;
    Texture_Name(index).SetText(name);
}

void Frm_Ima::Frm_Ima_Texture_Name_Validate(int index, bool& cancel) {
    if (index < 0 || index >= kSeasons) return;
    const std::string text = Cell_Trim_Box(Texture_Name(index));
    if (!text.empty() && !plat::PathExists(text)) {
        Cell_Refuse_Entry(cancel);
        return;
    }
    Image_Cur.Ima_Texture[static_cast<size_t>(index)] = text;
}

void Frm_Ima::Frm_Ima_Cmd_Ok_Click() {
    if (Image_Cur.Ima_File.empty()) {
        Msg_Answer = ERREUR_Show_Message(37);
        return;
    }
    if (!Creating()) {
        // Nothing to write back to: the caller must not take it as changed.
        if (!Project_Valid_Image(Cur_Image)) {
            Unload();
            return;
        }
        Image_Table(Cur_Image) = Image_Cur;
    } else {
        const int16_t highest = Highest_Number();
        Table_Grow_If_Full(Image_Table, Image_Count, Image_Capacity, Image_Growth);
        // A count read from a damaged file may run ahead of the table.
        if (!Image_Table.In_Range(Image_Count + 1)) {
            Image_Capacity = Image_Count + Image_Growth;
            Image_Table.ReDim_Preserve(Image_Capacity);
        }
        ++Image_Count;
        Image_Table(Image_Count) = Image_Cur;
        Image_Table(Image_Count).Ima_Number = static_cast<int16_t>(highest + 1);
    }
    Ima_Dlg_Cancelled = 0;
    Unload();
}

void Frm_Ima::Frm_Ima_Cmd_Cancel_Click() { Unload(); }

void Frm_Ima::Frm_Ima_Cmd_Help_Click() {}

Frm_Ima& Frm_Ima_Window() {
    static Frm_Ima window;
    return window;
}

void Frm_Ima_Show_Modal() {
    plat::Show_Modal(Frm_Ima_Window(), plat::Loaded_Copy::Unload);
}

void Frm_Ima_Reset() {
    Frm_Ima& w = Frm_Ima_Window();
    if (w.Loaded()) w.ForceUnload();
}
