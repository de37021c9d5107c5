#include "core/project_paths.h"

#include "core/project.h"
#include "platform/files.h"

namespace {

bool Is_Absolute(const std::string& path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
    return path.size() >= 2 && path[1] == ':';   // a drive, as older projects store it
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
