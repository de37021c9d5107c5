// Start-up reading: the settings file, the simulator's folder from the registry, the land and
// water class lists, and the texture definitions of Terrain.cfg and OwnLines4.txt.
#include "core/settings.h"

#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "core/project.h"
#include "core/project_file.h"
#include "core/syst.h"
#include "platform/files.h"
#include "platform/number.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/text.h"

int16_t Setup_Done = 0;
std::string Fs_Dir;
std::string Texture_Dir;
int16_t Texture_Dir_Found = 0;
std::string Help_Path;
std::string Ref_Last_Path;

namespace {

std::string Setting(const std::string& key, const std::string& default_value) {
    return plat::Trim(plat::GetPrivateProfileString("Tessaline", key, default_value, Ini_Path, 256));
}

// A value read as far as it reads as a number; one that does not fit [low, high] reads as 0.
// `was_number`: some number stood there.
int64_t Number_In(std::string_view text, int64_t low, int64_t high, bool* was_number = nullptr) {
    const plat::NumberText n = plat::ReadNumber(text);
    const bool ok = n.length > 0 && n.fits && std::fabs(n.value) < 2147483648.0;
    if (was_number) *was_number = ok;
    if (!ok) return 0;
    const int64_t r = SYST_Round(n.value);
    return r >= low && r <= high ? r : 0;
}

// One closing backslash, as the rest of the program expects of a folder.
std::string With_One_Backslash(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/') &&
           (folder[folder.size() - 2] == '\\' || folder[folder.size() - 2] == '/'))
        folder.pop_back();
    if (!folder.empty()) SYST_Add_Backslash(folder);
    return folder;
}

bool Starts_No_Case(const std::string& line, const char* prefix) {
    const std::string p(prefix);
    return line.size() >= p.size() && plat::EqualsNoCase(std::string_view(line).substr(0, p.size()), p);
}

void Append_Texture(Texture_Def_Rec rec) {
    const bool park = rec.Category == 1 || rec.Category == 2;
    Vb_Array<Texture_Def_Rec, 0>& table = park ? Park_Table : Line_Type_Table;
    int32_t& count = park ? Park_Count : Line_Type_Count;
    if (count > table.UBound()) table.ReDim_Preserve(table.UBound() + 5);
    table(count) = std::move(rec);
    ++count;
}

}  // namespace

uint8_t Texture_Category(int n) {
    if (n >= 4096 || (n >= 1024 && n <= 1181) || (n >= 1210 && n <= 1213)) return 0;
    if (n >= 1182 && n <= 1200) return 1;
    if (n >= 1201 && n <= 1209) return 2;
    return 3;
}

int Texture_Fixed_Number(int n) {
    static constexpr int fixed[] = {126, 128, 129, 131, 63, 132, 133, 2, 42, 40, 45, 44, 50, 8, 52, 51, 53, 9, 122};
    if (n < 1182 || n > 1200) return -1;
    return fixed[n - 1182];
}

bool Settings_Write(const std::vector<std::pair<std::string, std::string>>& keys, const std::string& what_fr,
                    const std::string& what_us) {
    bool written = true;
    for (const auto& [key, value] : keys)
        written = plat::WritePrivateProfileString("Tessaline", key, value, Ini_Path) && written;
    // The program goes on with the values in hand; only the next start will not know them.
    if (!written) {
        const std::string shown = plat::NativePath(Ini_Path);
        Project_File_Box(what_fr + " dans " + shown, what_us + " in " + shown);
    }
    return written;
}

void Pinit_Get_Fs_Dir_Registry(std::string& folder, int16_t& found) {
    folder.clear();
    found = 0;
    std::string text;
    SYST_Read_Registry(plat::HKEY_LOCAL_MACHINE, Fs_Registry_Key, "EXE Path", text);
    if (text.empty() || text == "\\") return;
    const std::string candidate = With_One_Backslash(text);
    if (plat::FolderExists(candidate + "Scenery")) {
        folder = candidate;
        found = 2;
    }
}

void Pinit_Read_Settings() {
    for (int k = 0; k < 4; ++k) {
        Recent_Projects[static_cast<size_t>(k)] = Setting("DerApt" + std::to_string(k + 1), "");
        if (Project_Window.Set_Recent_Caption) Project_Window.Set_Recent_Caption(k, Recent_Projects[static_cast<size_t>(k)]);
    }
    Language = Setting("Language", "FR");
    Help_Path = App_Dir + "\\" + "Tessaline" + "_" + Language + ".Hlp";
    Setup_Done = static_cast<int16_t>(Number_In(Setting("Fl1Fois", "0"), -32768, 32767));

    Fs_Dir = With_One_Backslash(Setting("DirFS", ""));
    if (!Fs_Dir.empty() && plat::FolderExists(Fs_Dir)) {
        Texture_Dir = Fs_Dir + "Scenery\\world\\Texture";
    } else {
        Fs_Dir.clear();
        Texture_Dir.clear();
    }
    Ref_Last_Path = Setting("DerRefLu", "");
    Debug_Draw = static_cast<int16_t>(Number_In(Setting("ShowVTP1L", "0"), -32768, 32767));

    std::string folder;
    int16_t found = 0;
    Pinit_Get_Fs_Dir_Registry(folder, found);
    if (Fs_Dir.empty() && found != 0) {
        Fs_Dir = folder;
        Settings_Write({{"DirFS", Fs_Dir}}, "Le dossier du simulateur n'a pas pu être écrit",
                       "The simulator's folder could not be written");
        Texture_Dir = Fs_Dir + "Scenery\\world\\Texture";
    }
}

void Pinit_Read_Texture_Cfg(const std::string& path) {
    std::vector<std::string> lines;
    if (!plat::ReadTextLines(path, lines)) return;
    bool in_section = false;
    Texture_Def_Rec rec;
    auto finish = [&] {
        if (!in_section) return;
        rec.Category = Texture_Category(rec.Num);
        const int fixed = Texture_Fixed_Number(rec.Num);
        if (fixed >= 0) {
            rec.Textures = " " + std::to_string(fixed);
            rec.Has_Textures = 1;
        }
        Append_Texture(std::move(rec));
        rec = Texture_Def_Rec{};
        in_section = false;
    };
    for (const std::string& line : lines) {
        if (line.empty() || line.compare(0, 2, "//") == 0) continue;
        if (line[0] == '[') {
            finish();
            if (Starts_No_Case(line, "[TEXTURE.")) {
                in_section = true;
                rec = Texture_Def_Rec{};
                rec.Num = static_cast<int16_t>(Number_In(plat::Mid(line, 10, 4), -32768, 32767));
                const long comment = line.size() >= 15 ? plat::InStr(line, "//", 15) : 0;
                if (comment > 0) rec.Name = plat::Trim(plat::Mid(line, comment + 2));
            }
            continue;
        }
        if (!in_section) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = plat::UCase(line.substr(0, eq));
        const std::string value = plat::Trim(line.substr(eq + 1));
        if (key == "TYPE") rec.Type = static_cast<uint8_t>(Number_In(value, 0, 255));
        else if (key == "SIZE") rec.Size = static_cast<uint8_t>(Number_In(value, 0, 255));
        else if (key == "TEXTURES") {
            rec.Textures = value;
            rec.Has_Textures = value.empty() ? 0 : 1;
        } else if (key == "EFFECT") {
            rec.Effect = value;
            rec.Has_Effect = 1;
        } else if (key == "EXCLUDEAUTOGEN") rec.Excludeautogen = static_cast<uint8_t>(Number_In(value, 0, 255));
        else if (key == "MASKCLASSMAP") rec.Maskclassmap = static_cast<int16_t>(Number_In(value, -32768, 32767));
        else if (key == "OFFSET") {
            bool numeric = false;
            const int64_t v = Number_In(value, -32768, 32767, &numeric);
            if (numeric) rec.Offset = static_cast<int16_t>(v);
        } else if (key == "RENDERTOTEXTURE") rec.Rendertotexture = static_cast<uint8_t>(Number_In(value, 0, 255));
        else if (key == "VECTORAUTOGEN") {
            rec.Vectorautogen = static_cast<int16_t>(Number_In(value, -32768, 32767));
            rec.Has_Vectorautogen = 1;
        }
    }
    finish();
}

bool Read_Land_Class_File(std::vector<Land_Class_Rec>& classes) {
    // Code in columns 1-3 (above 253 skipped), ground texture in 5-7, name from 8.
    classes.clear();
    std::vector<std::string> lines;
    const std::string path = App_Dir + "\\Resource\\LC.txt";
    if (!plat::FileExists(path) || !plat::ReadTextLines(path, lines)) return false;
    for (const std::string& line : lines) {
        bool numbered = false;
        const int64_t code = Number_In(plat::Mid(line, 1, 3), std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max(), &numbered);
        if (!numbered || code < 0 || code > 253) continue;
        Land_Class_Rec rec;
        rec.Code = static_cast<uint8_t>(code);
        rec.Texture_Num = static_cast<uint16_t>(Number_In(plat::Mid(line, 5, 3), 0, 65535));
        rec.Name = line.size() >= 8 ? plat::Trim(plat::Mid(line, 8)) : std::string();
        classes.push_back(std::move(rec));
    }
    return true;
}

uint8_t Water_Class_Line_Code(const std::string& line) {
    return static_cast<uint8_t>(Number_In(plat::Mid(line, 1, 3), 0, 255));
}

bool Read_Water_Class_File(std::vector<Water_Class_Line>& lines) {
    lines.clear();
    std::vector<std::string> texts;
    const std::string path = App_Dir + "\\Resource\\WC.txt";
    if (!plat::FileExists(path) || !plat::ReadTextLines(path, texts)) return false;
    for (std::string& text : texts) lines.push_back({Water_Class_Line_Code(text), std::move(text)});
    return true;
}

void Pinit_Load_Resources() {
    Land_Class_Count = 0;
    Land_Class_Loaded = 0;
    Land_Class_Table.Erase();
    Texture_Dir_Found = !Texture_Dir.empty() && plat::FolderExists(Texture_Dir) ? 1 : 0;
    std::vector<Land_Class_Rec> accepted;
    // One accepted line is a table of one entry; none leaves the table empty.
    if (Read_Land_Class_File(accepted) && !accepted.empty()) {
        Land_Class_Count = static_cast<int32_t>(accepted.size()) - 1;
        Land_Class_Table.ReDim(Land_Class_Count);
        for (int32_t i = 0; i <= Land_Class_Count; ++i) Land_Class_Table(i) = std::move(accepted[static_cast<size_t>(i)]);
        Land_Class_Loaded = 1;
    }

    Line_Type_Table.ReDim(212);
    Park_Table.ReDim(30);
    Line_Type_Count = 0;
    Park_Count = 0;
    Line_Type_Loaded = 0;
    Park_Loaded = 0;
    if (!Fs_Dir.empty() && plat::FileExists(Fs_Dir + "Terrain.cfg")) Pinit_Read_Texture_Cfg(Fs_Dir + "Terrain.cfg");
    const std::string own = App_Dir + "\\Resource\\OwnLines4.txt";
    if (plat::FileExists(own)) Pinit_Read_Texture_Cfg(own);
    Line_Type_Loaded = Line_Type_Count > 0 ? 1 : 0;
    Park_Loaded = Park_Count > 0 ? 1 : 0;
    Line_Type_Count -= 1;
    Park_Count -= 1;
}

void Settings_Reset() {
    Setup_Done = 0;
    Fs_Dir.clear();
    Texture_Dir.clear();
    Texture_Dir_Found = 0;
    Help_Path.clear();
    Ref_Last_Path.clear();
}
