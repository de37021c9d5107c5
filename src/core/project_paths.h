#pragma once
// The files a project names. A project may store its paths relative (a demo made by hand, a
// project moved with its folder); they are taken from the project file's folder, never from
// whatever folder the program happens to run in, so that the outside tools and the program's
// own checks look at the same file. The stored text itself is left as the author wrote it,
// except in a copy saved into another folder, where it must still name the same file.
#include <string>
#include <string_view>
#include <vector>

// The native path of the file that `stored` names in the open project (Project_File): an
// absolute path as it is, a relative one from the project file's folder; empty stays empty.
std::string Project_Resolve_Path(const std::string& stored);
// The same for the project file `project_file` (while it is being opened).
std::string Project_Resolve_Path(const std::string& stored, const std::string& project_file);

// The text that a copy of the project `from_project` saved as `to_project` stores for `stored`:
// an absolute or empty text as it is, and so is a relative one when both files share a folder;
// otherwise the relative path from the copy's folder to the same file, with the separators and
// closing separator the author used (absolute when no relative form exists).
std::string Project_Rebase_Path(const std::string& stored, const std::string& from_project,
                                const std::string& to_project);

// The BGL base name less a real ".bgl" (in any letter case): the outputs are named from it with
// their own suffix ("Area.bgl" and "Area" both give "Area"; "Area.v2" stays whole).
std::string Project_Bgl_Stem(const std::string& base);

// The two BGL names of the parameters window: the base the outputs are named after, and the
// exclusion BGL written at its own path.
enum class Project_Bgl_Field { Base, Exclusion };
// Why `path` names no file, in the session's words or in English when `us`: "is empty", or
// "("out/.bgl") holds no file name" (a name of blanks, tabs or other control characters,
// ".", ".."); "" when it names one. The window and the project reader refuse by this alone.
std::string Project_Bgl_Name_Fault(const std::string& path, Project_Bgl_Field field, bool us);

// True when `file` (a native path) is one of the BGL files Generate names after the base
// `bgl_base` of the project `project_file`: in the base's folder (or the program's, where a
// night-light cell is set aside), the base's name, an output suffix and ".bgl", without case.
// The sweep of old outputs deletes exactly these; the check of outputs against inputs tests them.
bool Project_Is_Base_Output(const std::string& file, const std::string& bgl_base, const std::string& project_file);

// ---------------------------------------------------------------------------------------------
// Outputs never take the place of inputs. Generate writes and deletes files named from four of
// the project's paths, and working files of its own in the program's folder; none of them may
// be a file that the project or the program reads.

// True when the two paths (any form) name one file or folder as the file system finds it: the
// same file when both exist, else the same absolute path, without case, as the program's own
// path mapping finds a name.
bool Project_Same_File(const std::string& a, const std::string& b);

// The part of a BGL output's name after the base name, in capitals: "_2", "_3", "_5", "_9", and
// "_9" followed by the night-light counter ("_9001" ... "_9999", "_91000" ...).
bool Project_Is_Output_Suffix(std::string_view suffix);

// A file that the project `project_file` with the map `map_file`, or the program, reads.
struct Project_Read_File {
    std::string Path;                  // native path
    const char* Fr = "";               // what it is ("le fichier du projet")
    const char* Us = "";
    enum Kind { Project, Backup, Map, Image, Program } What = Program;
};
// Its file, backup, map and images, the settings, the last reference file, the messages, the
// resource tables, the palette, the simulator's Terrain.cfg and Generate's tools.
std::vector<Project_Read_File> Project_Read_Files(const std::string& project_file, const std::string& map_file);
// The read file that `file` is, also any file of the program's "Resource" and "Temp" folders and
// the program itself, its help file included; Path empty when it is none of them.
Project_Read_File Project_Read_File_Of(const std::string& file, const std::string& project_file,
                                       const std::string& map_file);

// The project's paths that name Generate's outputs, as stored (relative to the project file).
struct Project_Output_Names {
    std::string Bgl_Base_Path, Bgl_Excl_Path, Scenery_Dir, Raw_Dir;
};
// The open project's.
Project_Output_Names Project_Current_Output_Names();

// What makes Generate write or delete a file.
enum class Project_Output_Field { None, Bgl_Base, Bgl_Excl, Scenery_Dir, Raw_Dir, Program };

// Which of `names` makes Generate write or delete `file` (a native path), for the project file
// `project_file`; None when no step touches it.
Project_Output_Field Project_Output_Field_Of(const std::string& file, const Project_Output_Names& names,
                                             const std::string& project_file);

// A file that Generate would write or delete and that the project reads.
struct Project_Output_Clash {
    Project_Output_Field Field = Project_Output_Field::None;
    std::string File;               // native path
    std::string What_Fr, What_Us;   // what the file is ("le fichier du projet")
};
// The first file of the project `project_file` with the map `map_file` (its images, settings,
// messages, resource tables, simulator textures and the outside programs included) that
// `names` would make an output of; then a file standing at the exclusion BGL's name that is no
// BGL (a ".bgl" file), which Generate would delete. Only outputs of `only` when it is not None.
// Field None: none.
Project_Output_Clash Project_Find_Output_Clash(const Project_Output_Names& names, const std::string& project_file,
                                               const std::string& map_file,
                                               Project_Output_Field only = Project_Output_Field::None);
// The field as the project parameters window names it, in the session's language
// ("Nom bgl (Exclude Bgls)"); the program's folder for Program.
std::string Project_Output_Field_Name(Project_Output_Field field);
// One sentence in the session's language: the field, the file and what it is.
std::string Project_Output_Clash_Text(const Project_Output_Clash& clash);
