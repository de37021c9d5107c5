// An outside program run and waited for: its command line split, the program found in the
// folder or on PATH, a Windows program started through wine.
#include "platform/process.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/text.h"

namespace plat {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The folder of PATH that holds an executable `name`, or "".
std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return {};
    std::string all(path);
    std::size_t start = 0;
    while (start <= all.size()) {
        auto colon = all.find(':', start);
        if (colon == std::string::npos) colon = all.size();
        std::string dir = all.substr(start, colon - start);
        if (dir.empty()) dir = ".";
        const std::string candidate = dir + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = colon + 1;
    }
    return {};
}

// True when the file starts with the "MZ" of a Windows program.
bool IsWindowsProgram(const std::string& local) {
    std::ifstream in(local, std::ios::binary);
    char head[2] = {0, 0};
    in.read(head, 2);
    return in.gcount() == 2 && head[0] == 'M' && head[1] == 'Z';
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) return args;
    // The program: up to the closing quote when quoted, else up to the first blank; no escapes.
    std::string program;
    if (line[i] == '"') {
        ++i;
        while (i < line.size() && line[i] != '"') program += line[i++];
        if (i < line.size()) ++i;
    }
    while (i < line.size() && !IsBlank(line[i])) {
        if (line[i] != '"') program += line[i];
        ++i;
    }
    args.push_back(program);
    for (;;) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) break;
        std::string arg;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            if (line[i] == '\\') {
                std::size_t n = 0;
                while (i < line.size() && line[i] == '\\') { ++n; ++i; }
                if (i < line.size() && line[i] == '"') {
                    arg.append(n / 2, '\\');
                    if (n % 2 == 1) { arg += '"'; ++i; }
                } else {
                    arg.append(n, '\\');
                }
            } else if (line[i] == '"') {
                // "" inside a quoted run is a literal quote.
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') { arg += '"'; i += 2; }
                else { quoted = !quoted; ++i; }
            } else {
                arg += line[i++];
            }
        }
        args.push_back(arg);
    }
    return args;
}

ProcessResult RunAndWait(const std::string& command_line, const std::string& folder) {
    ProcessResult result;
    std::vector<std::string> args = SplitCommandLine(command_line);
    if (args.empty() || args[0].empty()) {
        result.error = "empty command line";
        return result;
    }
    const std::string local_folder = folder.empty() ? std::string() : MapPath(folder);
    if (!local_folder.empty() && !std::filesystem::is_directory(local_folder)) {
        result.error = "no such folder: " + local_folder;
        return result;
    }
    // A bare name is looked for in the given folder first, then on PATH.
    std::string program = args[0];
    std::string local;
    const bool has_folder = program.find('\\') != std::string::npos || program.find('/') != std::string::npos;
    if (has_folder) {
        local = MapPath(program);
    } else {
        const std::string here = MapPath((local_folder.empty() ? std::string(".") : local_folder) + "/" + program);
        if (std::filesystem::is_regular_file(here)) local = here;
        else local = FindOnPath(program);
    }
    if (local.empty() || !std::filesystem::is_regular_file(local)) {
        result.error = "no such program: " + program;
        return result;
    }
    if (local.find('/') == std::string::npos) local = "./" + local;
    if (!local_folder.empty() && local[0] != '/') local = std::filesystem::absolute(local).string();

    std::vector<std::string> argv_text;
    if (IsWindowsProgram(local) || ::access(local.c_str(), X_OK) != 0) {
        const std::string wine = FindOnPath("wine");
        if (!wine.empty() && UCase(Right(local, 4)) == ".EXE") argv_text.push_back(wine);
    }
    argv_text.push_back(local);
    for (std::size_t k = 1; k < args.size(); ++k) argv_text.push_back(args[k]);
    std::vector<char*> argv;
    for (auto& a : argv_text) argv.push_back(a.data());
    argv.push_back(nullptr);

    // Spawned rather than forked: starting a tool costs the same whatever this process holds.
    // A failed chdir or exec comes back as the spawn's own error, before anything runs.
    posix_spawn_file_actions_t actions;
    if (const int e = ::posix_spawn_file_actions_init(&actions); e != 0) {
        result.error = std::strerror(e);
        return result;
    }
    int e = 0;
    if (!local_folder.empty()) e = ::posix_spawn_file_actions_addchdir_np(&actions, local_folder.c_str());
    pid_t pid = -1;
    if (e == 0) e = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (e != 0) {
        result.error = std::strerror(e);
        return result;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.started = true;
    result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace plat
