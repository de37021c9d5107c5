#pragma once
// Shared by every suite: paths of the source tree, a scratch folder per test, and whole files
// read and written byte for byte.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testenv {

inline std::filesystem::path SourceDir() { return TESSALINE_SOURCE_DIR; }
inline std::filesystem::path BinaryDir() { return TESSALINE_BINARY_DIR; }
inline std::filesystem::path Fixtures() { return SourceDir() / "tests" / "fixtures"; }

// A path written the way the program writes its own: "\" between the parts.
inline std::string ProgramPath(const std::filesystem::path& p) {
    std::string s = p.string();
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

// A fresh empty folder for the running test, removed by the next call with the same name.
std::filesystem::path ScratchDir(const std::string& name);

// The file's bytes; empty when it cannot be read.
inline std::string Read_File(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void Write_File(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

}  // namespace testenv
