#pragma once
// The files a project names. A project may store its paths relative (a demo made by hand, a
// project moved with its folder); they are taken from the project file's folder, never from
// whatever folder the program happens to run in, so that the outside tools and the program's
// own checks look at the same file. The stored text itself is left as the author wrote it,
// except in a copy saved into another folder, where it must still name the same file.
#include <string>
#include <string_view>

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
// `names` would make an output of; only outputs of `only` when it is not None. Field None: none.
Project_Output_Clash Project_Find_Output_Clash(const Project_Output_Names& names, const std::string& project_file,
                                               const std::string& map_file,
                                               Project_Output_Field only = Project_Output_Field::None);
// The field as the project parameters window names it, in the session's language
// ("Nom bgl (Exclude Bgls)"); the program's folder for Program.
std::string Project_Output_Field_Name(Project_Output_Field field);
// One sentence in the session's language: the field, the file and what it is.
std::string Project_Output_Clash_Text(const Project_Output_Clash& clash);
