// The project file's open sequence (read, map tiles, texture-image pictures, window state), the
// recent-project list, the read and save outcome flags and the main window's hooks, and the
// helpers the writer and reader share: their message box, the tiling error report, the safe form
// of a stored text, the date text and the backup name.
#include "core/project_file.h"

#include <algorithm>
#include <ctime>

#include "core/project.h"
#include "core/project_paths.h"
#include "core/settings.h"
#include "core/syst.h"
#include "core/texture_convert.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/profile.h"
#include "platform/text.h"

std::array<std::string, 4> Recent_Projects;
int16_t Project_Read_Failed = 0;
int16_t Project_Save_Failed = 0;
Project_Window_Hooks Project_Window;

void Project_File_Box(const std::string& fr, const std::string& us) {
    plat::CurrentHost().MsgBox(Language == "US" ? us : fr, plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
}

void Project_Report_Tiling_Error(int16_t error, const std::string& map) {
    if (error == Tiling_Tile_Over_Input) {
        const std::string file = Tiling_Refused_Input;
        Project_File_Box("La carte n'a pas été découpée : une de ses tuiles prendrait la place de " + file +
                             ", que le projet lit, dans le dossier Temp du programme. Déplacez ce fichier hors de ce dossier.",
                         "The map was not cut into tiles: one of its tiles would take the place of " + file +
                             ", which the project reads, in the program's Temp folder. Move that file out of this folder.");
    } else if (error == Tiling_Tiles_Unwritable) {
        const std::string folder = plat::MapPath(App_Dir + "\\Temp");
        Project_File_Box("Impossible d'écrire les tuiles de la carte dans le dossier " + folder +
                             " (disque plein ou dossier protégé en écriture ?)",
                         "Cannot write the map tiles in the folder " + folder + " (full disk or read-only folder?)");
    } else {
        plat::CurrentHost().MsgBox("Fail to load bitmap : " + map, plat::MB_OK, "Tessaline");
    }
}

std::string Project_Safe_Text(std::string_view text) {
    std::string s(text);
    for (char& c : s) {
        if (c == '"') c = '\'';
        else if (c == '\r' || c == '\n') c = ' ';
    }
    return s;
}

std::string Project_Date_Now() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M:%S", &tm);
    return buf;
}

bool Project_Copy_File(const std::string& from, const std::string& to) {
    std::string bytes;
    return plat::ReadWholeFile(from, bytes) && plat::ReplaceFileAtomically(to, bytes);
}

std::string Project_Backup_Path(const std::string& path) {
    if (path.size() < 3) return path + "bak";
    return path.substr(0, path.size() - 3) + "bak";
}

namespace {

// The display pictures of the project's images, element = table index - 1.
void Load_Image_Pictures() {
    if (Project_Window.Clear_Image_Pictures) Project_Window.Clear_Image_Pictures();
    if (!Project_Window.Load_Image_Picture) return;
    Temp_Ima_Bmp = App_Dir + "\\Temp\\$BmpIma$.bmp";
    // Working files that are the map or an image (kept in Temp under their name) are neither
    // deleted nor written: those images get an empty picture.
    bool working_files_free = true;
    for (const Project_Read_File& read : Project_Read_Files(Project_File, Map_File))
        if ((read.What == Project_Read_File::Map || read.What == Project_Read_File::Image) &&
            (Project_Same_File(read.Path, Temp_Ima_Bmp) || Project_Same_File(read.Path, Temp_Tex_Bmp)))
            working_files_free = false;
    for (int32_t i = 1; i <= std::min(Image_Count, Image_Table.UBound()); ++i) {
        if (!working_files_free) {
            Project_Window.Load_Image_Picture(i - 1, "");
            continue;
        }
        plat::DeleteFile(Temp_Ima_Bmp);
        plat::DeleteFile(Temp_Tex_Bmp);
        std::string description;
        int16_t status = 1;
        const std::string& file = Image_Table(i).Ima_File;
        if (!file.empty() && plat::FileExists(file))
            Servitudes_Convert_Texture(file, Fs5_Palette, Temp_Ima_Bmp, description, status);
        const bool loaded = status == 0 && Project_Window.Load_Image_Picture(i - 1, Temp_Ima_Bmp);
        if (!loaded) Project_Window.Load_Image_Picture(i - 1, "");
        plat::DeleteFile(Temp_Ima_Bmp);
        plat::DeleteFile(Temp_Tex_Bmp);
    }
}

// The copy of the file as it was opened, made before anything can change it.
void Back_Up_Project(const std::string& path) {
    // The backup is never the project file itself (a project named "x.bak").
    const std::string backup = Project_Backup_Path(path);
    if (plat::EqualsNoCase(backup, path) || plat::MapPath(backup) == plat::MapPath(path)) return;
    plat::Host& host = plat::CurrentHost();
    const std::string shown = plat::NativePath(backup);
    // Nor the map or an image that carries the backup's name.
    for (const Project_Read_File& read : Project_Read_Files(path, Map_File)) {
        if (read.What == Project_Read_File::Backup || read.What == Project_Read_File::Project ||
            !Project_Same_File(read.Path, backup))
            continue;
        host.SetMousePointer(plat::Pointer_Default);
        Project_File_Box("La copie de sauvegarde du projet n'a pas été faite : " + shown + " est " + read.Fr + ".",
                         "The project's backup copy was not made: " + shown + " is " + read.Us + ".");
        host.SetMousePointer(plat::Pointer_Hourglass);
        return;
    }
    if (Project_Copy_File(path, backup)) return;
    // The project itself opens whole; the author only learns that this backup is the old one.
    host.SetMousePointer(plat::Pointer_Default);
    Project_File_Box("La copie de sauvegarde du projet n'a pas pu être écrite : " + shown +
                         "\r\nUne sauvegarde plus ancienne de ce nom, s'il y en a une, est restée telle quelle.",
                     "The project's backup copy could not be written: " + shown +
                         "\r\nAn older backup of that name, if there is one, was left as it was.");
    host.SetMousePointer(plat::Pointer_Hourglass);  // the map is cut next
}

}  // namespace

void Pinit_Open_Project(const std::string& path) {
    plat::Host& host = plat::CurrentHost();
    Pinit_Read_Project(path);
    if (Project_Read_Failed == 1) {
        host.SetMousePointer(plat::Pointer_Default);
        return;
    }
    Load_Image_Pictures();
    Project_Open = 1;
    // Whatever becomes of the map, a later save must find the version opened kept.
    Back_Up_Project(path);

    int16_t error = 0;
    Tiling_No_Progress no_progress;
    Tiling_Progress_Window& window = Project_Window.Progress_Window ? *Project_Window.Progress_Window
                                                                     : static_cast<Tiling_Progress_Window&>(no_progress);
    const std::string map = Project_Resolve_Path(Map_File, path);
    Com_Split_Map_Bitmap(window, map, error);
    if (error != Tiling_Done) {
        host.SetMousePointer(plat::Pointer_Default);
        Project_Report_Tiling_Error(error, map);
        // Open without its map: the menus of an open project let the person close it or point
        // the map again; the recent list and the caption wait for a project that opened whole.
        Proj_New = 0;
        if (Project_Window.Enter_Project_State) Project_Window.Enter_Project_State();
        return;
    }

    if (Project_Window.Init_View_And_Tiles) Project_Window.Init_View_And_Tiles();
    Pinit_Update_Recent(path, 1);
    if (Project_Window.Set_Caption)
        Project_Window.Set_Caption(std::string(Tessaline_Version_Caption) + " " + Tessaline_Release_Date + "  " + path);
    Proj_New = 0;
    if (Project_Window.Enter_Project_State) Project_Window.Enter_Project_State();
    host.SetMousePointer(plat::Pointer_Default);
}

void Pinit_Update_Recent(const std::string& path, int16_t mode) {
    const std::string key = plat::UCase(path);
    int found = -1;
    for (int k = 0; k < 4; ++k) {
        if (plat::UCase(Recent_Projects[static_cast<size_t>(k)]) == key) {
            found = k;
            break;
        }
    }
    auto remove = [](int k) {
        for (int j = k; j < 3; ++j) Recent_Projects[static_cast<size_t>(j)] = Recent_Projects[static_cast<size_t>(j + 1)];
        Recent_Projects[3].clear();
    };
    if (mode == 2) {
        if (found < 0) return;
        remove(found);
    } else {
        if (found == 0) return;
        if (found > 0) remove(found);
        for (int j = 3; j > 0; --j) Recent_Projects[static_cast<size_t>(j)] = Recent_Projects[static_cast<size_t>(j - 1)];
        Recent_Projects[0] = path;
    }
    std::vector<std::pair<std::string, std::string>> keys;
    for (int k = 0; k < 4; ++k) {
        const std::string& entry = Recent_Projects[static_cast<size_t>(k)];
        keys.emplace_back("DerApt" + std::to_string(k + 1), entry);
        if (Project_Window.Set_Recent_Caption) Project_Window.Set_Recent_Caption(k, entry);
    }
    // The menu shows the list all the same.
    Settings_Write(keys, "La liste des projets récents n'a pas pu être écrite",
                   "The recent-project list could not be written");
}

void Project_File_Reset() {
    for (std::string& entry : Recent_Projects) entry.clear();
    Project_Read_Failed = 0;
    Project_Save_Failed = 0;
    Project_Window = Project_Window_Hooks{};
    Proj_New = 0;
    Conv_Adapt_Lines = Conv_Line_Layers = Conv_Poly_Layers = Conv_Excl_Layers = 0;
    Conv_Not_Confirmed = 0;
}
