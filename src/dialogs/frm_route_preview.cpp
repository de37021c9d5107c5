// Which tabs of the line/polygon attribute dialog are usable, and the previews of the line type
// and of the polygon's land class, park type or chosen texture.
#include <string>
#include <vector>

#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "dialogs/cell_dialog_preview.h"
#include "dialogs/frm_route.h"
#include "platform/host.h"
#include "platform/text.h"

namespace {

std::string Preview_Bmp() { return App_Dir + "\\Temp\\$BmpLC$.bmp"; }
std::string Line_Preview_Bmp() { return App_Dir + "\\Temp\\$BmpEffet$.bmp"; }

std::string Land_Class_Texture_File(int texture_number) {
    return Texture_Dir + "\\" + plat::Format(texture_number, "000") + "b2su1.bmp";
}

// First entry of the texture table with that number, or -1.
int Find_Texture(const Vb_Array<Texture_Def_Rec, 0>& table, int32_t last, int number) {
    for (int32_t i = 0; i <= last && table.In_Range(i); ++i)
        if (table(i).Num == number) return i;
    return -1;
}

bool Land_Class_Exists(int index) { return index >= 0 && index <= Land_Class_Count && Land_Class_Table.In_Range(index); }

// The TEXTURES text cut at its commas: at most six names.
std::vector<std::string> Texture_Names(const std::string& textures) {
    std::vector<std::string> names;
    size_t start = 0;
    while (names.size() < 6) {
        const size_t comma = textures.find(',', start);
        names.push_back(plat::Trim(textures.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return names;
}

}  // namespace

void Frm_Route::Frm_Route_EnableDisable() {
    const Route_Attrib& a = Route_Attrib_Cur;
    for (int t = 0; t < 5; ++t) SSTb.SetTabEnabled(t, true);
    Fram_Type_Poly.SetEnabled(true);
    Fram_Layer_VTP12.SetEnabled(true);
    Chk_FermerLine.SetEnabled(true);
    if (a.SurfShore > 1) {
        SSTb.SetTabEnabled(2, false);
        SSTb.SetTabEnabled(3, false);
        SSTb.SetTabEnabled(4, false);
        Fram_Type_Poly.SetEnabled(false);
    }
    if (a.SurfShore == 0) SSTb.SetTabEnabled(1, false);
    if (a.SurfShore < 2) {
        switch (a.LWM_VTP2) {
            case 0:
                SSTb.SetTabEnabled(3, false);
                SSTb.SetTabEnabled(4, false);
                Fram_Layer_VTP12.SetEnabled(false);
                break;
            case 1:
                SSTb.SetTabEnabled(2, false);
                SSTb.SetTabEnabled(3, false);
                break;
            case 2:
                SSTb.SetTabEnabled(2, false);
                SSTb.SetTabEnabled(4, false);
                break;
            default:
                break;
        }
    }
    if (a.SurfShore == 3) {
        // A coastline's ends are never joined; the box's click stores the 0.
        Chk_FermerLine.SetValue(plat::Unchecked);
        Chk_FermerLine.SetEnabled(false);
    }
    plat::CurrentHost().Refresh(*this);
}

void Frm_Route::Frm_Route_Display_Line(plat::PictureBox& picture, int16_t& type_number) {
    const int entry = Find_Texture(Line_Type_Table, Line_Type_Count, type_number);
    if (entry < 0) {
        picture.ClearPicture();
        return;
    }
    const Texture_Def_Rec& type = Line_Type_Table(entry);
    std::string source;
    if (type.Has_Vectorautogen) {
        source = App_Dir + "\\Resource\\Autogen_" + std::to_string(type.Vectorautogen) + ".bmp";
    } else if (type.Has_Textures) {
        const std::vector<std::string> names = Texture_Names(type.Textures);
        const std::string& name = names.size() >= 4 && !names[3].empty() ? names[3] : names[0];
        source = Texture_Dir + "\\" + name;
    } else {
        picture.ClearPicture();
        return;
    }
    Cell_Start_Preview(Line_Preview_Bmp());
    Cell_Convert_And_Show(source, {&picture});
}

void Frm_Route::Preview_Polygon() {
    Route_Attrib& a = Route_Attrib_Cur;
    Cell_Start_Preview(Preview_Bmp());
    switch (a.Texture_Source()) {
        case 2: {
            const int entry = Find_Texture(Park_Table, Park_Count, a.Line_Type());
            if (entry >= 0) Park_Index = static_cast<int16_t>(entry);
            // The list shows the entry and the record takes it, even when it is shown already.
            if (Land_Class_Loaded == 1) Cell_Select_Entry(Cbo_Park, Park_Index, [this] { Frm_Route_Cbo_Park_Click(); });
            Preview_Park();
            break;
        }
        case 1:
            Cell_Convert_And_Show(a.Texture_Name[0], {&Pic});
            break;
        case 0: {
            const int16_t entry = Cell_Find_Land_Class(a.LC_Code);
            if (entry >= 0) Land_Class_Index = entry;
            // A code missing from the table becomes the shown entry's, as if the author chose it.
            if (Land_Class_Loaded == 1) Cell_Select_Entry(Cbo_LC, Land_Class_Index, [this] { Frm_Route_Cbo_LC_Click(); });
            Preview_Land_Class(false);
            break;
        }
        default:
            Pic.ClearPicture();
            break;
    }
}

void Frm_Route::Preview_Land_Class(bool both_pictures) {
    const auto clear = [&] {
        Pic.ClearPicture();
        if (both_pictures) Pic_1.ClearPicture();
    };
    if (Texture_Dir_Found != 1 || !Land_Class_Exists(Land_Class_Index)) return clear();
    const Land_Class_Rec& lc = Land_Class_Table(Land_Class_Index);
    // 252 and above are the water and no-class codes: they have no ground texture.
    if (lc.Code >= 252) return clear();
    const std::string source = Land_Class_Texture_File(lc.Texture_Num);
    if (both_pictures) Cell_Convert_And_Show(source, {&Pic, &Pic_1});
    else Cell_Convert_And_Show(source, {&Pic});
}

void Frm_Route::Preview_Park() {
    const int entry = Find_Texture(Park_Table, Park_Count, Route_Attrib_Cur.Line_Type());
    if (entry < 0 || Texture_Dir_Found != 1) {
        Pic.ClearPicture();
        return;
    }
    const double code = plat::Val(Park_Table(entry).Textures);
    int texture_number = 0;
    for (int32_t i = 0; i <= Land_Class_Count && Land_Class_Table.In_Range(i); ++i) {
        if (Land_Class_Table(i).Code == code) {
            texture_number = Land_Class_Table(i).Texture_Num;
            break;
        }
    }
    Cell_Convert_And_Show(Land_Class_Texture_File(texture_number), {&Pic});
}

void Frm_Route::Preview_File(plat::PictureBox& picture, const std::string& source) {
    Cell_Start_Preview(Preview_Bmp());
    Cell_Convert_And_Show(source, {&picture});
}

void Frm_Route::Frm_Route_Cbo_LC_Click() {
    const int item = Cbo_LC.ListIndex();
    if (!Land_Class_Exists(item)) return;
    Land_Class_Index = static_cast<int16_t>(item);
    Cell_Start_Preview(Preview_Bmp());
    if (Texture_Dir_Found == 1) Preview_Land_Class(false);
    Route_Attrib_Cur.LC_Code = Land_Class_Table(Land_Class_Index).Code;
}

void Frm_Route::Frm_Route_Cbo_LC_1_Click() {
    const int item = Cbo_LC_1.ListIndex();
    if (!Land_Class_Exists(item)) return;
    Land_Class_Index = static_cast<int16_t>(item);
    Cell_Select_Item(Cbo_LC, item);
    Cell_Start_Preview(Preview_Bmp());
    Preview_Land_Class(true);
    Route_Attrib_Cur.LC_Code = Land_Class_Table(Land_Class_Index).Code;
}

void Frm_Route::Frm_Route_Cbo_Park_Click() {
    const int item = Cbo_Park.ListIndex();
    if (item < 0 || item > Park_Count || !Park_Table.In_Range(item)) return;
    Park_Index = static_cast<int16_t>(item);
    Route_Attrib_Cur.Line_Type() = Park_Table(item).Num;
    Cell_Start_Preview(Preview_Bmp());
    if (Texture_Dir_Found == 1) Preview_Park();
}
