// Paths stored in a project: how they are found from the project file, and how a copy saved
// elsewhere keeps naming the same files.
#include "core/project_paths.h"

#include <algorithm>
#include <filesystem>

#include "core/project.h"
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
    const std::string project = plat::NativePath(project_file);
    const auto slash = project.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : project.substr(0, slash + 1);
    return plat::NativePath(folder + stored);
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
