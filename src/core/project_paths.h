#pragma once
// The files a project names. A project may store its paths relative (a demo made by hand, a
// project moved with its folder); they are taken from the project file's folder, never from
// whatever folder the program happens to run in, so that the outside tools and the program's
// own checks look at the same file. The stored text itself is left as the author wrote it,
// except in a copy saved into another folder, where it must still name the same file.
#include <string>

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
