// Windows paths mapped to local ones, and file reads, writes, copies, deletes and listings.
#include "platform/files.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/text.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace plat {
namespace {

FlushFunction file_flush = ::fsync;

// A name beside the target that no other writer in this process or another one uses.
std::string Unique(const std::string& local) {
    static std::atomic<unsigned> counter{0};
    return local + ".~" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
}

}  // namespace

std::string MapPath(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]))) p.erase(0, 2);
    if (p.empty()) return p;
    const bool absolute = p[0] == '/';
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= p.size()) {
        const auto slash = p.find('/', start);
        const auto end = slash == std::string::npos ? p.size() : slash;
        if (end > start) parts.emplace_back(p.substr(start, end - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    fs::path current = absolute ? fs::path("/") : fs::path();
    bool resolving = true;
    std::error_code ec;
    for (const auto& part : parts) {
        fs::path next = current / part;
        if (resolving && part != "." && part != ".." && !fs::exists(next, ec)) {
            bool found = false;
            const fs::path dir = current.empty() ? fs::path(".") : current;
            for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
                const std::string name = it->path().filename().string();
                if (EqualsNoCase(name, part)) { next = current / name; found = true; break; }
            }
            if (!found) resolving = false;   // the rest does not exist yet; keep its spelling
        }
        current = next;
    }
    std::string out = current.string();
    if (p.back() == '/' && !out.empty() && out.back() != '/') out += '/';
    return out;
}

std::string NativePath(const std::string& path) {
    const std::string local = MapPath(path);
    if (local.empty()) return local;
    std::error_code ec;
    fs::path absolute = fs::absolute(local, ec);
    if (ec) return local;
    std::string out = absolute.lexically_normal().string();
    // "x/." normalises to "x/": keep a closing separator only where the caller wrote one.
    if (out.size() > 1 && out.back() == '/' && local.back() != '/') out.pop_back();
    return out;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(MapPath(path), ec);
}

bool FolderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(MapPath(path), ec);
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(MapPath(path), ec);
}

bool DeleteFile(const std::string& path) {
    std::error_code ec;
    const std::string local = MapPath(path);
    if (fs::is_directory(local, ec)) return false;
    fs::remove(local, ec);
    return !fs::exists(local, ec);
}

bool RenameFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(MapPath(from), MapPath(to), ec);
    return !ec;
}

long long FileLength(const std::string& path) {
    std::error_code ec;
    const std::string local = MapPath(path);
    if (!fs::is_regular_file(local, ec)) return -1;
    const auto size = fs::file_size(local, ec);
    return ec ? -1 : static_cast<long long>(size);
}

bool MakeFolder(const std::string& path) {
    std::error_code ec;
    const std::string local = MapPath(path);
    fs::create_directories(local, ec);
    return fs::is_directory(local, ec);
}

std::vector<std::string> ListFolder(const std::string& path, bool folders_only) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(MapPath(path), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        if (folders_only && !it->is_directory(ec2)) continue;
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

template <class Buffer>
bool ReadAll(const std::string& path, Buffer& bytes) {
    bytes.clear();
    // A folder opens like a file here but its read throws: it is no file to read.
    if (!FileExists(path)) return false;
    std::ifstream in(MapPath(path), std::ios::binary);
    if (!in) return false;
    // In one read of the file's length, then whatever follows if it grew meanwhile.
    std::error_code ec;
    const auto length = fs::file_size(MapPath(path), ec);
    if (!ec) {
        bytes.resize(static_cast<std::size_t>(length));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
        if (in.bad()) return false;
        if (!in.eof()) bytes.insert(bytes.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return !in.bad();
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

bool ReadBinary(const std::string& path, std::vector<uint8_t>& bytes) { return ReadAll(path, bytes); }
bool ReadWholeFile(const std::string& path, std::string& bytes) { return ReadAll(path, bytes); }

bool ReadBinaryRange(const std::string& path, long long offset, std::size_t count,
                     std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (offset < 0 || !FileExists(path)) return false;
    std::ifstream in(MapPath(path), std::ios::binary);
    if (!in) return false;
    in.seekg(offset);
    if (!in) return false;
    bytes.resize(count);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    const auto got = static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount()));
    bytes.resize(got);
    return got == count;
}

bool WriteBinary(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(MapPath(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    TextLines text(bytes);
    lines.reserve(text.Left());
    for (std::string_view line; text.Next(line);) lines.push_back(Cp1252ToUtf8(line));
    return true;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
    FileReplacement file(path);
    file.Write(bytes);
    return file.Commit();
}

FileReplacement::FileReplacement(const std::string& path) : target_(MapPath(path)), temp_(Unique(target_)) {
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    failed_ = fd_ < 0;
}

FileReplacement::~FileReplacement() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

bool FileReplacement::Write(std::string_view bytes) {
    const char* at = bytes.data();
    size_t left = bytes.size();
    while (!failed_ && left > 0) {
        const ssize_t n = ::write(fd_, at, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            break;
        }
        at += n;
        left -= static_cast<size_t>(n);
    }
    if (failed_) return false;
#ifdef __linux__
    // Start putting this piece on disk now, while the next is made: renaming over the old file
    // would otherwise do all of it at once, at the end.
    if (!bytes.empty()) ::sync_file_range(fd_, written_, static_cast<off_t>(bytes.size()), SYNC_FILE_RANGE_WRITE);
#endif
    written_ += static_cast<long long>(bytes.size());
    return true;
}

bool FileReplacement::Commit() {
    if (fd_ >= 0) {
        // On disk before it takes the old file's name: after a power cut the name holds the old
        // file or the whole new one, never an empty one.
        if (!failed_ && file_flush(fd_) != 0) failed_ = true;
        if (::close(fd_) != 0) failed_ = true;
        fd_ = -1;
    }
    if (failed_ || temp_.empty()) return false;
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return false;  // the destructor removes the new file
    temp_.clear();
    // The rename itself lasts once the folder is on disk. The file has been replaced by now, so a
    // folder that cannot be flushed (some file systems refuse) does not make the save a failure.
    const std::string folder = fs::path(target_).parent_path().string();
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        file_flush(dir);
        ::close(dir);
    }
    return true;
}

void SetFileFlush(FlushFunction flush) { file_flush = flush ? flush : ::fsync; }

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines) {
        bytes += Utf8ToCp1252(l);
        bytes += "\r\n";
    }
    return ReplaceFileAtomically(path, bytes);
}

}  // namespace plat
