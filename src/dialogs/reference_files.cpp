// The *.Ref attribute-set files written and read, and the list of those in the Resource folder.
#include "dialogs/reference_files.h"

#include <limits>
#include <optional>

#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "core/syst.h"
#include "platform/files.h"
#include "platform/number.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace {

constexpr const char* Eol = "\r\n";

void Append_Quoted(std::string& out, const std::string& text) {
    // A quote inside would end the text early when it is read back.
    out += '"';
    out += Project_Safe_Text(text);
    out += '"';
}

// The numbers of the file's fifth line, 1..23 in file order. A missing number reads as 0; one
// that does not fit its field marks the file damaged.
struct Number_Reader {
    bool damaged = false;
    double Real() {
        Pinit_Next_Token();
        const plat::NumberText n = plat::ReadNumber(Scan_Token);
        if (!n.fits) damaged = true;
        return n.value;
    }
    int64_t Whole(int64_t low, int64_t high) {
        Pinit_Next_Token();
        const std::optional<int64_t> r = Project_Read_Whole(Scan_Token, low, high);
        if (!r) damaged = true;
        return r.value_or(0);
    }
    int16_t Word() {
        return static_cast<int16_t>(Whole(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
    }
    uint8_t Byte() { return static_cast<uint8_t>(Whole(0, 255)); }
};

std::string Resource_Dir() { return App_Dir + "\\Resource\\"; }

}  // namespace

std::string Ref_File_Text(const Route_Attrib& a, const std::string& name, const std::string& date) {
    const std::string b6(6, ' '), b5(5, ' ');
    std::string out = "0000 V5.1" + date + Eol;
    out += b6; Append_Quoted(out, plat::Trim(name)); out += Eol;
    out += b6; Append_Quoted(out, a.Text_Rt); out += Eol;
    out += b6; Append_Quoted(out, a.Imbrication); out += Eol;
    out += b6;
    const auto num = [&out](double v) {
        out += ' ';
        out += Project_Num(v);
    };
    num(a.Alti);
    for (int v : {int{a.Attrib}, int{a.LandOnRight}, int{a.Line_Type()}, int{a.Largeur}, int{a.SurfShore},
                  int{a.FermerLine}, int{a.Layer}, int{a.Linked_Image()}, int{a.LWM_VTP2}, int{a.Texture_Source()},
                  int{a.LC_Code}, int{a.Layer_Vtp2}})
        num(v);
    num(a.Alt_Coast);
    for (int v : {int{a.Line_Night}, int{a.Drive_Right}, int{a.LayerScasm}, int{a.Vtp1_Line}, int{a.Effil_Deb},
                  int{a.Effil_Fin}, int{a.VTP1_SpecNor}, int{a.Flip_VTP1Texture}, int{a.Meter_Feet}})
        num(v);
    out += Eol;
    for (const std::string& texture : a.Texture_Name) {
        out += b5; Append_Quoted(out, texture); out += Eol;
    }
    return out;
}

std::string Ref_File_Text_Now(const Route_Attrib& a, const std::string& name) {
    return Ref_File_Text(a, name, Project_Date_Now());
}

void Com_Load_Reference(std::string& path) {
    // A folder or an unreadable file holds no reference.
    if (path.empty() || !plat::FileExists(path)) return;
    Text_In_File file;
    if (!Com_Open_Text_File(path, file)) return;

    if (!Pinit_Read_Line(file)) {
        Msg_Answer = ERREUR_Show_Message(30);
        return;
    }
    Pinit_Next_Token();
    if (Scan_Token.empty() || Scan_Token[0] != 'V') {
        Msg_Answer = ERREUR_Show_Message(30);
        return;
    }
    double version = plat::ReadNumber(plat::Mid(Scan_Token, 2, 3)).value;
    if (version > 5.1) version = 5.1;

    // Read into copies: a file that ends early changes nothing.
    Route_Attrib a = Route_Attrib_Cur;
    std::string name;
    bool complete = true;
    const auto quoted_line = [&](std::string& into) {
        if (!complete || !Pinit_Read_Line(file)) {
            complete = false;
            return;
        }
        Pinit_Next_Quoted();
        into = Scan_Token;
    };
    quoted_line(name);
    quoted_line(a.Text_Rt);
    quoted_line(a.Imbrication);

    Number_Reader n;
    if (complete && Pinit_Read_Line(file)) {
        a.Alti = n.Real();
        a.Attrib = n.Word();
        a.LandOnRight = n.Word();
        a.Line_Type() = n.Word();
        a.Largeur = n.Word();
        a.SurfShore = n.Word();
        a.FermerLine = n.Word();
        a.Layer = n.Byte();
        a.Linked_Image() = n.Word();
        a.LWM_VTP2 = n.Word();
        a.Texture_Source() = n.Word();
        a.LC_Code = n.Word();
        a.Layer_Vtp2 = n.Word();
        a.Alt_Coast = version >= 2.2 ? n.Real() : 0;
        if (version >= 3) {
            a.Line_Night = n.Word();
            a.Drive_Right = n.Word();
            a.LayerScasm = n.Word();
        } else {
            a.Line_Night = 0;
            a.Drive_Right = 1;
            a.LayerScasm = 16;
        }
        if (version >= 4) {
            a.Vtp1_Line = n.Word();
            a.Effil_Deb = n.Word();
            a.Effil_Fin = n.Word();
            a.VTP1_SpecNor = n.Word();
            a.Flip_VTP1Texture = n.Word();
        } else {
            a.Vtp1_Line = a.Effil_Deb = a.Effil_Fin = a.VTP1_SpecNor = 0;
            a.Flip_VTP1Texture = 1;
        }
        a.Meter_Feet = version >= 5.1 ? n.Word() : 0;
    } else {
        complete = false;
    }
    for (std::string& texture : a.Texture_Name) quoted_line(texture);

    if (!complete || n.damaged) {
        Msg_Answer = ERREUR_Show_Message(31);
        return;
    }
    Route_Attrib_Cur = a;
    Ref_Last_Name = name;
    Ref_Remember_Last(path);
}

void Ref_Remember_Last(const std::string& path) {
    Ref_Last_Path = path;
    Settings_Write({{"DerRefLu", path}}, "Le dernier fichier de référence n'a pas pu être écrit",
                   "The last reference file could not be written");
}

void Ref_List_Files() {
    Ref_Clear_List();
    const std::string folder = Resource_Dir();
    std::vector<std::string> names;
    for (const std::string& entry : plat::ListFolder(folder)) {
        std::string base, ext;
        SYST_Split_Ext(entry, base, ext);
        if (ext == "REF" && plat::FileExists(folder + entry)) names.push_back(entry);
    }
    if (names.empty()) return;
    Ref_File_Names.assign(names.size(), std::string());
    Ref_Descriptions.assign(names.size(), std::string());
    for (const std::string& entry : names) {
        Ref_File_Names[static_cast<size_t>(Ref_Count)] = entry;
        Text_In_File file;
        if (!Com_Open_Text_File(folder + entry, file) || file.Eof()) continue;
        Com_Read_Line(file);   // the version line, whatever it holds
        if (file.Eof() || !Pinit_Read_Line(file)) continue;
        Pinit_Next_Quoted();
        ++Ref_Count;
        Ref_Descriptions[static_cast<size_t>(Ref_Count - 1)] = Scan_Token.empty() ? "???" : Scan_Token;
    }
}

void Ref_Clear_List() {
    Ref_File_Names.clear();
    Ref_Descriptions.clear();
    Ref_Count = 0;
}

void Reference_Files_Reset() {
    Ref_Last_Name.clear();
    Ref_Clear_List();
    Ref_Dlg_Cancelled = 0;
}
