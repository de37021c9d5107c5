// Paths stored in a project: how they are found from the project file, and how a copy saved
// elsewhere keeps naming the same files.
#include "core/project_paths.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/erreur.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "core/syst.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

bool Is_Absolute(const std::string& path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
    return path.size() >= 2 && path[1] == ':';   // a drive, as older projects store it
}

bool Is_Separator(char c) { return c == '/' || c == '\\'; }

std::filesystem::path Folder_Of_File(const std::string& project_file) {
    return std::filesystem::path(plat::NativePath(project_file)).parent_path();
}

}  // namespace

std::string Project_Resolve_Path(const std::string& stored) { return Project_Resolve_Path(stored, Project_File); }

std::string Project_Resolve_Path(const std::string& stored, const std::string& project_file) {
    if (stored.empty()) return stored;
    if (Is_Absolute(stored) || project_file.empty()) return plat::NativePath(stored);
    const plat::Path_Split project = plat::Split_Folder(plat::NativePath(project_file));
    return plat::NativePath(project.Separated ? project.Folder + "/" + stored : stored);
}

std::string Project_Rebase_Path(const std::string& stored, const std::string& from_project,
                                const std::string& to_project) {
    if (stored.empty() || Is_Absolute(stored)) return stored;
    const std::filesystem::path new_folder = Folder_Of_File(to_project);
    if (Folder_Of_File(from_project) == new_folder) return stored;

    std::string file = Project_Resolve_Path(stored, from_project);
    while (file.size() > 1 && file.back() == '/') file.pop_back();
    std::string text = std::filesystem::path(file).lexically_relative(new_folder).generic_string();
    if (text.empty()) text = file;
    // Written the author's way: a relative text with backslashes when it had only those, and a
    // folder keeps its closing separator.
    const bool backslashes = text != file && stored.find('\\') != std::string::npos &&
                             stored.find('/') == std::string::npos;
    if (backslashes) std::replace(text.begin(), text.end(), '/', '\\');
    if (Is_Separator(stored.back()) && !Is_Separator(text.back())) text += backslashes ? '\\' : '/';
    return text;
}

std::string Project_Bgl_Stem(const std::string& base) {
    const std::string ext = ".bgl";
    if (base.size() < ext.size()) return base;
    const std::string tail = base.substr(base.size() - ext.size());
    if (!plat::EqualsNoCase(tail, ext)) return base;
    return base.substr(0, base.size() - ext.size());
}

namespace {

// Blanks, tabs and the other control characters name nothing.
std::string Trim_Blank(const std::string& text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

}  // namespace

std::string Project_Bgl_Name_Fault(const std::string& path, Project_Bgl_Field field, bool us) {
    if (Trim_Blank(path).empty()) return us ? "is empty" : "est vide";
    const std::string named = field == Project_Bgl_Field::Base ? Project_Bgl_Stem(path) : path;
    const std::string name = Trim_Blank(plat::Split_Folder(named).Name);
    if (!name.empty() && name != "." && name != "..") return {};
    return (us ? "(\"" : "(« ") + path + (us ? "\") holds no file name" : " ») ne contient aucun nom de fichier");
}

// ---------------------------------------------------------------------------------------------
// Outputs and inputs

namespace {

namespace fs = std::filesystem;

// The absolute spelling of a local path with its links and "." and ".." resolved as far as it
// exists.
std::string Resolved(const std::string& local) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(local, ec);
    if (ec) return local;
    fs::path canonical = fs::weakly_canonical(absolute, ec);
    if (ec || canonical.empty()) canonical = absolute.lexically_normal();
    std::string text = canonical.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

bool Is_Digits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "LC_048_016" or "WC_048_016" followed by `extension`, in capitals: a class file of one LOD5 cell.
bool Is_Class_File_Name(std::string_view name, std::string_view extension) {
    if (name.size() != 10 + extension.size() || !name.ends_with(extension)) return false;
    return (name.starts_with("LC_") || name.starts_with("WC_")) && Is_Digits(name.substr(3, 3)) &&
           name[6] == '_' && Is_Digits(name.substr(7, 3));
}

// Generate's working files: its sources and the compiled night-light cell in the program's
// folder, the class rasters, descriptions and intermediates in its "Temp" folder (capitals).
constexpr std::array<std::string_view, 7> Program_Outputs = {
    "TESSALINE$_EXCL.ASM", "TESSALINE$_POLY_LWM.ASM", "TESSALINE$_LINES.ASM", "TESSALINE$_VTP2.ASM",
    "TESSALINE$_REMESH_LWM.ASM", "TMPRT.SCA", "TMP.BGL"};
constexpr std::array<std::string_view, 7> Temp_Outputs = {
    "FICRAW.RAW", "TMPLC.INF", "TMPWC.INF", "FICTEMP.TMF", "COMPRESS.TMF", "LANDCLASS.TMF", "LWCCOMPRESS.TMF"};

bool Listed(std::string_view name, const std::array<std::string_view, 7>& names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

bool Project_Same_File(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    const std::string la = plat::MapPath(a), lb = plat::MapPath(b);
    std::error_code ec;
    if (fs::exists(la, ec) && fs::exists(lb, ec) && fs::equivalent(la, lb, ec)) return true;
    return plat::EqualsNoCase(Resolved(la), Resolved(lb));
}

bool Project_Is_Output_Suffix(std::string_view s) {
    if (s == "_2" || s == "_3" || s == "_5" || s == "_9") return true;
    // The counter is written with three digits at least: "_9001", "_9999", then "_91000".
    if (!s.starts_with("_9")) return false;
    const std::string_view counter = s.substr(2);
    return counter.size() >= 3 && Is_Digits(counter) && (counter.size() == 3 || counter[0] != '0');
}

bool Project_Is_Base_Output(const std::string& file, const std::string& bgl_base, const std::string& project_file) {
    // A base that names no file (empty, a folder, blanks) names no output either.
    if (file.empty() || !Project_Bgl_Name_Fault(bgl_base, Project_Bgl_Field::Base, true).empty()) return false;
    const fs::path local(plat::NativePath(file));
    const std::string name = plat::UCase(local.filename().string());
    const fs::path base(Project_Resolve_Path(Project_Bgl_Stem(bgl_base), project_file));
    const std::string prefix = plat::UCase(base.filename().string());
    const std::string_view extension = ".BGL";
    if (name.size() < prefix.size() + extension.size() || !name.starts_with(prefix) || !name.ends_with(extension) ||
        !Project_Is_Output_Suffix(
            std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - extension.size())))
        return false;
    // A night-light cell that cannot be copied is set aside in the program's folder under its
    // output's name.
    const auto or_here = [](const fs::path& p) { return p.empty() ? std::string(".") : p.string(); };
    return Project_Same_File(or_here(local.parent_path()), or_here(base.parent_path())) ||
           Project_Same_File(or_here(local.parent_path()), App_Dir);
}

Project_Output_Names Project_Current_Output_Names() {
    return {Bgl_Base_Path, Bgl_Excl_Path, Scenery_Dir, Raw_Dir};
}

Project_Output_Field Project_Output_Field_Of(const std::string& file, const Project_Output_Names& names,
                                             const std::string& project_file) {
    using F = Project_Output_Field;
    if (file.empty()) return F::None;
    const fs::path local(plat::NativePath(file));
    const std::string folder = local.parent_path().string();
    const std::string name = plat::UCase(local.filename().string());
    auto in = [&folder](const std::string& dir) { return !dir.empty() && Project_Same_File(folder, dir); };

    const std::string excl = Project_Resolve_Path(names.Bgl_Excl_Path, project_file);
    if (!excl.empty() && Project_Same_File(file, excl)) return F::Bgl_Excl;

    if (Project_Is_Base_Output(file, names.Bgl_Base_Path, project_file)) return F::Bgl_Base;
    if (in(Project_Resolve_Path(names.Scenery_Dir, project_file)) && Is_Class_File_Name(name, ".BGL"))
        return F::Scenery_Dir;
    if (in(Project_Resolve_Path(names.Raw_Dir, project_file)) && Is_Class_File_Name(name, ".RAW"))
        return F::Raw_Dir;
    if (in(App_Dir) && Listed(name, Program_Outputs)) return F::Program;
    if (in(App_Dir + "\\Temp") && Listed(name, Temp_Outputs)) return F::Program;
    return F::None;
}

std::vector<Project_Read_File> Project_Read_Files(const std::string& project_file, const std::string& map_file) {
    std::vector<Project_Read_File> reads;
    using R = Project_Read_File;
    auto add = [&reads](const std::string& path, const char* fr, const char* us, R::Kind kind = R::Program) {
        if (!path.empty()) reads.push_back({plat::NativePath(path), fr, us, kind});
    };
    if (!project_file.empty()) {
        add(project_file, "le fichier du projet", "the project file", R::Project);
        add(Project_Backup_Path(project_file), "la copie de sauvegarde du projet", "the project's backup copy", R::Backup);
    }
    add(Project_Resolve_Path(map_file, project_file), "la carte du projet", "the project's map", R::Map);
    for (int32_t i = 1; i <= std::min(Image_Count, Image_Table.UBound()); ++i)
        if (Image_Table(i).Ima_In_Use == 1)
            add(Image_Table(i).Ima_File, "une image de texture du projet", "one of the project's texture images", R::Image);
    add(Ini_Path, "le fichier des paramètres", "the settings file");
    add(Ref_Last_Path, "un fichier de référence", "a reference file");
    const char* program_fr = "un fichier que le programme lit";
    const char* program_us = "a file the program reads";
    add(Msg_File_Path, program_fr, program_us);
    for (const char* table : {"LC.txt", "WC.txt", "OwnLines4.txt"})
        add(App_Dir + "\\Resource\\" + table, program_fr, program_us);
    add(App_Dir + "\\Fs5.pal", program_fr, program_us);
    if (!Fs_Dir.empty()) add(Fs_Dir + "Terrain.cfg", program_fr, program_us);
    for (const char* tool : {"bglc.exe", "scasm.exe", "Resample.exe", "ResampleV11.exe", "tmfcompress.exe", "tmf2bgl.exe",
                             "TDFMacros.inc", "TDFHeaders.inc"})
        add(App_Dir + "\\" + tool, "un fichier que la génération utilise", "a file that Generate uses");
    return reads;
}

Project_Read_File Project_Read_File_Of(const std::string& file, const std::string& project_file,
                                       const std::string& map_file) {
    for (const Project_Read_File& read : Project_Read_Files(project_file, map_file))
        if (Project_Same_File(file, read.Path)) return read;
    const std::string folder = fs::path(plat::NativePath(file)).parent_path().string();
    const char* fr = "un fichier du programme";
    const char* us = "one of the program's files";
    for (const char* own : {"\\Resource", "\\Temp"})
        if (Project_Same_File(folder, App_Dir + own)) return {plat::NativePath(file), fr, us};
    for (const std::string& own : {App_Dir + "\\Tessaline", App_Dir + "\\Tessaline.exe", Help_Path})
        if (Project_Same_File(file, own)) return {plat::NativePath(file), fr, us};
    return {};
}

Project_Output_Clash Project_Find_Output_Clash(const Project_Output_Names& names, const std::string& project_file,
                                               const std::string& map_file, Project_Output_Field only) {
    for (const Project_Read_File& read : Project_Read_Files(project_file, map_file)) {
        const Project_Output_Field field = Project_Output_Field_Of(read.Path, names, project_file);
        if (field != Project_Output_Field::None && (only == Project_Output_Field::None || field == only))
            return {field, read.Path, read.Fr, read.Us};
    }
    // Any other file at the exclusion BGL's name would be deleted and replaced: only a BGL may be.
    if (only == Project_Output_Field::None || only == Project_Output_Field::Bgl_Excl) {
        const std::string excl = Project_Resolve_Path(names.Bgl_Excl_Path, project_file);
        std::error_code ec;
        const std::string local = plat::MapPath(excl);
        // A link named like a BGL is taken away by the sweep, not written through.
        const bool bgl = plat::EqualsNoCase(fs::path(excl).extension().string(), ".bgl") && !fs::is_directory(local, ec);
        if (!excl.empty() && fs::exists(fs::symlink_status(local, ec)) && !bgl)
            return {Project_Output_Field::Bgl_Excl, excl, "un fichier qui n'est pas un BGL", "a file that is not a BGL"};
    }
    return {};
}

std::string Project_Output_Field_Name(Project_Output_Field field) {
    const bool us = Language == "US";
    switch (field) {
    case Project_Output_Field::Bgl_Base:
        return us ? "Bgl name (Fill/Polys LWM-VTP/Lines Bgls)" : "Nom bgl (Fill/Polys LWM-VTP/Lignes Bgls)";
    case Project_Output_Field::Bgl_Excl: return us ? "Bgl name (Exclude Bgls)" : "Nom bgl (Exclude Bgls)";
    case Project_Output_Field::Scenery_Dir: return us ? "Directory Bgl (LC and WC Bgls)" : "Directory Bgl (LC et WC Bgls)";
    case Project_Output_Field::Raw_Dir: return us ? "Directory Raw (LC and WC Bgls)" : "Directory Raw (LC et WC Bgls)";
    case Project_Output_Field::Program: return us ? "The program's folder" : "Le dossier du programme";
    case Project_Output_Field::None: break;
    }
    return {};
}

std::string Project_Output_Clash_Text(const Project_Output_Clash& clash) {
    const bool us = Language == "US";
    const std::string field = Project_Output_Field_Name(clash.Field);
    return us ? field + ": Generate would write or delete " + clash.File + ", which is " + clash.What_Us + "."
              : field + " : la génération écrirait ou supprimerait " + clash.File + ", qui est " + clash.What_Fr + ".";
}
