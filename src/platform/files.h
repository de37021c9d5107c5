#pragma once
// Files and paths. The program builds Windows paths (App_Dir & "\Temp\x.bmp"); they are mapped
// here to the local file system: "\" becomes "/", a drive "C:" is dropped, and a component that
// does not exist with the exact spelling is looked up case-insensitively.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// The local path for a program path (components resolved as far as they exist).
std::string MapPath(const std::string& path);
// The same, made absolute from the current folder: the one spelling of a file that is handed to
// an outside program (which runs in another folder) or shown to a person.
std::string NativePath(const std::string& path);

bool FileExists(const std::string& path);      // a regular file
bool FolderExists(const std::string& path);    // a directory
bool PathExists(const std::string& path);      // either

bool DeleteFile(const std::string& path);      // true when the file is gone afterwards
bool RenameFile(const std::string& from, const std::string& to); // replaces `to`
// Length in bytes, -1 when the file does not exist.
long long FileLength(const std::string& path);
bool MakeFolder(const std::string& path);      // creates missing parents; true when it exists after
// Entry names of a folder (no "." and ".."), sorted; empty when the folder is missing.
std::vector<std::string> ListFolder(const std::string& path, bool folders_only = false);

// Whole binary file; false when it cannot be opened or read.
bool ReadBinary(const std::string& path, std::vector<uint8_t>& bytes);
// The same into one text buffer, the bytes as they are on disk.
bool ReadWholeFile(const std::string& path, std::string& bytes);
// `count` bytes from `offset`; false (and `bytes` holding what was read) on a short read.
bool ReadBinaryRange(const std::string& path, long long offset, std::size_t count,
                     std::vector<uint8_t>& bytes);
bool WriteBinary(const std::string& path, const std::vector<uint8_t>& bytes);

// Text files: Windows-1252 on disk, UTF-8 here. Lines end in CR LF, LF or CR; a last line
// without its end is a line; an empty file has no lines.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);
// Writes every line followed by CR LF, through a file beside the target that then replaces it.
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines);
// Writes the bytes beside the target, then renames over it: the old file stays whole on failure.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes);

// The same, written piece by piece: the new file grows beside the target and takes its place
// only at Commit, once it is flushed to disk; its folder is flushed after. Until then, and
// whenever a step fails, the old file stays whole. A replacement dropped without Commit removes
// what it wrote.
class FileReplacement {
public:
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Appends; false once any write has failed.
    bool Write(std::string_view bytes);
    // Closes the new file and puts it in the target's place; false when anything failed.
    bool Commit();

private:
    std::string target_, temp_;
    int fd_ = -1;
    long long written_ = 0;
    bool failed_ = false;
};

// The flush of a new file to disk (fsync by default). Tests put in one that fails, as a failing
// disk would; null puts the default back.
using FlushFunction = int (*)(int fd);
void SetFileFlush(FlushFunction flush);

}  // namespace plat
