// BMP headers read and checked, row access, decoding to pixels and the gathering writer.
#include "platform/gdi/bmp.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace plat {

uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }
void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool ParseBmpHeaders(const uint8_t* d, std::size_t size, BmpFileHeader& file, BmpInfoHeader& info) {
    if (size < kBmpFileHeaderSize + kBmpInfoHeaderSize) return false;
    file.type = GetU16(d);
    file.file_size = GetU32(d + 2);
    file.reserved1 = GetU16(d + 6);
    file.reserved2 = GetU16(d + 8);
    file.pixel_offset = GetU32(d + 10);
    const uint8_t* h = d + kBmpFileHeaderSize;
    info.size = GetU32(h);
    info.width = GetI32(h + 4);
    info.height = GetI32(h + 8);
    info.planes = GetU16(h + 12);
    info.bit_count = GetU16(h + 14);
    info.compression = GetU32(h + 16);
    info.image_size = GetU32(h + 20);
    info.x_pels_per_metre = GetI32(h + 24);
    info.y_pels_per_metre = GetI32(h + 28);
    info.colours_used = GetU32(h + 32);
    info.colours_important = GetU32(h + 36);
    return true;
}

std::array<uint8_t, kBmpFileHeaderSize + kBmpInfoHeaderSize> EncodeBmpHeaders(const BmpFileHeader& file,
                                                                             const BmpInfoHeader& info) {
    std::array<uint8_t, kBmpFileHeaderSize + kBmpInfoHeaderSize> b{};
    PutU16(&b[0], file.type);
    PutU32(&b[2], file.file_size);
    PutU16(&b[6], file.reserved1);
    PutU16(&b[8], file.reserved2);
    PutU32(&b[10], file.pixel_offset);
    uint8_t* h = &b[kBmpFileHeaderSize];
    PutU32(h, info.size);
    PutU32(h + 4, static_cast<uint32_t>(info.width));
    PutU32(h + 8, static_cast<uint32_t>(info.height));
    PutU16(h + 12, info.planes);
    PutU16(h + 14, info.bit_count);
    PutU32(h + 16, info.compression);
    PutU32(h + 20, info.image_size);
    PutU32(h + 24, static_cast<uint32_t>(info.x_pels_per_metre));
    PutU32(h + 28, static_cast<uint32_t>(info.y_pels_per_metre));
    PutU32(h + 32, info.colours_used);
    PutU32(h + 36, info.colours_important);
    return b;
}

uint64_t BmpRowBytes(uint64_t width, unsigned bits) { return (width * bits + 31) / 32 * 4; }

uint64_t BmpLayout::RowOffset(int64_t y) const {
    return pixel_offset + static_cast<uint64_t>(StoredIndex(y)) * row_bytes;
}

BmpStatus BmpCheckLayout(const BmpFileHeader& file, const BmpInfoHeader& info, uint64_t file_length,
                         const std::vector<unsigned>& accepted_bits, bool allow_bitfields,
                         BmpLayout& out) {
    if (file.type != kBmpSignature) return BmpStatus::NotBmp;
    if (info.size < kBmpInfoHeaderSize) return BmpStatus::BadHeader;
    if (kBmpFileHeaderSize + static_cast<uint64_t>(info.size) > file_length) return BmpStatus::Truncated;
    const unsigned bits = info.bit_count;
    if (std::find(accepted_bits.begin(), accepted_bits.end(), bits) == accepted_bits.end())
        return BmpStatus::BadDepth;
    if (info.compression != BI_RGB) {
        const bool fields = info.compression == BI_BITFIELDS && (bits == 16 || bits == 32);
        if (!(fields && allow_bitfields)) return BmpStatus::Compressed;
    }
    if (info.width <= 0 || info.height == 0 || info.height == INT32_MIN) return BmpStatus::BadHeader;
    if (file.pixel_offset < kBmpFileHeaderSize + static_cast<uint64_t>(info.size))
        return BmpStatus::BadHeader;

    BmpLayout l;
    l.file = file;
    l.info = info;
    l.width = info.width;
    l.top_down = info.height < 0;
    l.height = l.top_down ? -info.height : info.height;
    l.bits = bits;
    l.row_bytes = BmpRowBytes(static_cast<uint64_t>(l.width), bits);
    l.pixel_offset = file.pixel_offset;
    l.file_length = file_length;
    if (l.pixel_offset > file_length) return BmpStatus::Truncated;
    // All rows but the last in full, the last one without its padding; divided first so that
    // no product can overflow.
    const uint64_t available = file_length - l.pixel_offset;
    const uint64_t last_row = (static_cast<uint64_t>(l.width) * bits + 7) / 8;
    const uint64_t full_rows = static_cast<uint64_t>(l.height) - 1;
    if (full_rows > available / l.row_bytes) return BmpStatus::Truncated;
    if (full_rows * l.row_bytes + last_row > available) return BmpStatus::Truncated;
    out = l;
    return BmpStatus::Ok;
}

BmpStatus BmpReadPalette(const uint8_t* bytes, std::size_t size, const BmpInfoHeader& info,
                         BmpPalette& palette) {
    palette.fill(0);
    if (info.bit_count > 8) return BmpStatus::Ok;
    uint64_t count = info.colours_used;
    if (count == 0) count = uint64_t{1} << info.bit_count;
    count = std::min<uint64_t>(count, 256);
    const uint64_t offset = kBmpFileHeaderSize + static_cast<uint64_t>(info.size);
    if (offset + 4 * count > size) return BmpStatus::Truncated;
    std::memcpy(palette.data(), bytes + offset, 4 * count);
    for (uint64_t i = 0; i < count; ++i) palette[4 * i + 3] = 0;
    return BmpStatus::Ok;
}

// ---------------------------------------------------------------------------------------------

namespace {

bool ReadAt(int fd, uint64_t offset, uint8_t* dst, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, dst + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

// A regular file opened for reading, with its length; -1 for anything else (a folder, a device).
int OpenRegularFile(const std::string& local_path, uint64_t& length) {
    const int fd = ::open(local_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    length = static_cast<uint64_t>(st.st_size);
    return fd;
}

}  // namespace

BmpReader::~BmpReader() { Close(); }

void BmpReader::Unmap() {
    if (map_) ::munmap(map_, map_size_);
    map_ = nullptr;
    map_size_ = 0;
}

void BmpReader::Close() {
    Unmap();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

BmpStatus BmpReader::Open(const std::string& local_path, const std::vector<unsigned>& accepted_bits,
                          bool allow_bitfields) {
    Close();
    layout_ = BmpLayout{};
    palette_.fill(0);
    uint64_t length = 0;
    const int fd = OpenRegularFile(local_path, length);
    if (fd < 0) return BmpStatus::CannotOpen;
    uint8_t head[kBmpFileHeaderSize + kBmpInfoHeaderSize];
    std::size_t got = 0;
    if (!ReadAt(fd, 0, head, sizeof head, got)) {
        ::close(fd);
        return BmpStatus::CannotOpen;
    }
    if (got < 2 || GetU16(head) != kBmpSignature) {
        ::close(fd);
        return BmpStatus::NotBmp;
    }
    BmpFileHeader file;
    BmpInfoHeader info;
    if (!ParseBmpHeaders(head, got, file, info)) {
        ::close(fd);
        return BmpStatus::Truncated;
    }
    BmpLayout layout;
    BmpStatus status = BmpCheckLayout(file, info, length, accepted_bits, allow_bitfields, layout);
    if (status == BmpStatus::Ok && layout.bits <= 8) {
        // The table sits between the headers and the pixels; read no more of the file than that.
        const uint64_t table_end = std::min<uint64_t>(kBmpFileHeaderSize + uint64_t{info.size} + 1024, length);
        std::vector<uint8_t> start(static_cast<std::size_t>(table_end));
        if (!ReadAt(fd, 0, start.data(), start.size(), got)) status = BmpStatus::CannotOpen;
        else status = BmpReadPalette(start.data(), got, info, palette_);
    }
    if (status != BmpStatus::Ok) {
        ::close(fd);
        return status;
    }
    fd_ = fd;
    layout_ = layout;
    return BmpStatus::Ok;
}

bool BmpReader::ReadStoredRows(int64_t first, int64_t count, uint8_t* dst) {
    if (fd_ < 0 || first < 0 || count < 0 || first + count > layout_.height) return false;
    const uint64_t offset = layout_.pixel_offset + static_cast<uint64_t>(first) * layout_.row_bytes;
    const uint64_t size = static_cast<uint64_t>(count) * layout_.row_bytes;
    const uint64_t in_file = offset >= layout_.file_length ? 0 : std::min(size, layout_.file_length - offset);
    std::size_t got = 0;
    if (!ReadAt(fd_, offset, dst, static_cast<std::size_t>(in_file), got) || got != in_file) return false;
    std::memset(dst + in_file, 0, static_cast<std::size_t>(size - in_file));
    return true;
}

const uint8_t* BmpReader::MapStoredRows(int64_t first, int64_t count) {
    Unmap();
    if (fd_ < 0 || first < 0 || count <= 0 || first + count > layout_.height) return nullptr;
    const uint64_t offset = layout_.pixel_offset + static_cast<uint64_t>(first) * layout_.row_bytes;
    const uint64_t end = std::min(offset + static_cast<uint64_t>(count) * layout_.row_bytes, layout_.file_length);
    const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
    const uint64_t start = offset / page * page;
    void* m = ::mmap(nullptr, static_cast<std::size_t>(end - start), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd_,
                     static_cast<off_t>(start));
    if (m == MAP_FAILED) return nullptr;
    map_ = m;
    map_size_ = static_cast<std::size_t>(end - start);
    return static_cast<const uint8_t*>(m) + (offset - start);
}

// ---------------------------------------------------------------------------------------------

namespace {

struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
};

Channel MakeChannel(uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask == 0) return c;
    c.shift = std::countr_zero(mask);
    c.max = mask >> c.shift;
    return c;
}

uint8_t Scale(uint32_t pixel, const Channel& c) {
    if (c.max == 0) return 0;
    const uint64_t v = (pixel & c.mask) >> c.shift;
    return static_cast<uint8_t>((v * 255 + c.max / 2) / c.max);
}

}  // namespace

BmpStatus DecodeBmp(const std::vector<uint8_t>& bytes, BmpImage& image) {
    image = BmpImage{};
    if (bytes.size() < 2 || GetU16(bytes.data()) != kBmpSignature) return BmpStatus::NotBmp;
    BmpFileHeader file;
    BmpInfoHeader info;
    if (!ParseBmpHeaders(bytes.data(), bytes.size(), file, info)) return BmpStatus::Truncated;
    BmpLayout l;
    BmpStatus status = BmpCheckLayout(file, info, bytes.size(), {8, 16, 24, 32}, true, l);
    if (status != BmpStatus::Ok) return status;
    BmpPalette palette{};
    if (l.bits == 8) {
        status = BmpReadPalette(bytes.data(), bytes.size(), info, palette);
        if (status != BmpStatus::Ok) return status;
    }
    Channel red, green, blue;
    if (info.compression == BI_BITFIELDS) {
        const uint64_t masks = kBmpFileHeaderSize + kBmpInfoHeaderSize;
        if (masks + 12 > bytes.size()) return BmpStatus::Truncated;
        red = MakeChannel(GetU32(&bytes[masks]));
        green = MakeChannel(GetU32(&bytes[masks + 4]));
        blue = MakeChannel(GetU32(&bytes[masks + 8]));
    } else if (l.bits == 16) {
        red = MakeChannel(0x7C00);
        green = MakeChannel(0x3E0);
        blue = MakeChannel(0x1F);
    } else {
        red = MakeChannel(0xFF0000);
        green = MakeChannel(0xFF00);
        blue = MakeChannel(0xFF);
    }

    const std::size_t w = static_cast<std::size_t>(l.width);
    image.width = l.width;
    image.height = l.height;
    image.rgb.assign(w * static_cast<std::size_t>(l.height) * 3, 0);
    for (int64_t y = 0; y < l.height; ++y) {
        const uint8_t* row = bytes.data() + l.RowOffset(y);
        uint8_t* out = image.rgb.data() + static_cast<std::size_t>(y) * w * 3;
        for (std::size_t x = 0; x < w; ++x, out += 3) {
            switch (l.bits) {
                case 8: {
                    const uint8_t* e = &palette[4 * row[x]];
                    out[0] = e[2], out[1] = e[1], out[2] = e[0];
                    break;
                }
                case 24:
                    out[0] = row[3 * x + 2], out[1] = row[3 * x + 1], out[2] = row[3 * x];
                    break;
                case 16: {
                    const uint32_t p = GetU16(row + 2 * x);
                    out[0] = Scale(p, red), out[1] = Scale(p, green), out[2] = Scale(p, blue);
                    break;
                }
                default: {
                    const uint32_t p = GetU32(row + 4 * x);
                    out[0] = Scale(p, red), out[1] = Scale(p, green), out[2] = Scale(p, blue);
                    break;
                }
            }
        }
    }
    return BmpStatus::Ok;
}

BmpStatus LoadBmpFile(const std::string& local_path, BmpImage& image) {
    image = BmpImage{};
    uint64_t length = 0;
    const int fd = OpenRegularFile(local_path, length);
    if (fd < 0) return BmpStatus::CannotOpen;
    std::vector<uint8_t> bytes(static_cast<std::size_t>(length));
    std::size_t got = 0;
    const bool ok = ReadAt(fd, 0, bytes.data(), bytes.size(), got);
    ::close(fd);
    if (!ok) return BmpStatus::CannotOpen;
    bytes.resize(got);
    return DecodeBmp(bytes, image);
}

void MakeBmpHeaders(int32_t width, int32_t height, unsigned bits, int32_t pels_per_metre,
                    BmpFileHeader& file, BmpInfoHeader& info) {
    const uint32_t table = bits == 8 ? 1024 : 0;
    const uint64_t image = BmpRowBytes(static_cast<uint64_t>(std::max(width, 0)), bits) *
                           static_cast<uint64_t>(height < 0 ? -int64_t{height} : int64_t{height});
    file = BmpFileHeader{};
    file.pixel_offset = kBmpFileHeaderSize + kBmpInfoHeaderSize + table;
    file.file_size = static_cast<uint32_t>(file.pixel_offset + image);
    info = BmpInfoHeader{};
    info.width = width;
    info.height = height;
    info.bit_count = static_cast<uint16_t>(bits);
    info.image_size = static_cast<uint32_t>(image);
    info.x_pels_per_metre = pels_per_metre;
    info.y_pels_per_metre = pels_per_metre;
    info.colours_used = bits == 8 ? 256 : 0;
    info.colours_important = bits == 8 ? 256 : 0;
}

// ---------------------------------------------------------------------------------------------

namespace {
constexpr std::size_t kZeroBlock = 64 * 1024;
const uint8_t kZeros[kZeroBlock] = {};
// The system takes a write into pages of about the write's size: far larger writes make it look
// for large free blocks, which costs more (and varies more) than the copy itself; far smaller
// ones pay the per-call and per-page work more often.
constexpr std::size_t kWriteBytes = 512 * 1024;
}  // namespace

GatherWriter::~GatherWriter() {
    if (fd_ >= 0) ::close(fd_);
}

bool GatherWriter::Open(const std::string& local_path, uint64_t final_length) {
    if (fd_ >= 0) ::close(fd_);
    pieces_.clear();
    pending_ = 0;
    failed_ = false;
    ::unlink(local_path.c_str());
    fd_ = ::open(local_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) return false;
    // A file system that cannot reserve space still takes the writes.
    if (final_length > 0 && ::fallocate(fd_, 0, 0, static_cast<off_t>(final_length)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        ::close(fd_);
        fd_ = -1;
        ::unlink(local_path.c_str());
        return false;
    }
    return true;
}

void GatherWriter::Append(const uint8_t* data, std::size_t size) {
    if (fd_ < 0 || failed_) return;
    while (size > 0) {
        const std::size_t n = std::min(size, data ? kWriteBytes : kZeroBlock);
        pieces_.push_back({data ? data : kZeros, n});
        pending_ += n;
        size -= n;
        if (data) data += n;
        if (pending_ >= kWriteBytes || pieces_.size() >= IOV_MAX) Flush();
    }
}

bool GatherWriter::Flush() {
    if (fd_ < 0) return false;
    std::vector<iovec> iov;
    iov.reserve(pieces_.size());
    for (const Piece& p : pieces_)
        if (p.size) iov.push_back({const_cast<uint8_t*>(p.data), p.size});
    pieces_.clear();
    pending_ = 0;
    std::size_t at = 0;
    while (!failed_ && at < iov.size()) {
        const int n = static_cast<int>(std::min<std::size_t>(iov.size() - at, IOV_MAX));
        const ssize_t written = ::writev(fd_, &iov[at], n);
        if (written < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            break;
        }
        // Step over what went out, splitting a piece written in part.
        std::size_t left = static_cast<std::size_t>(written);
        while (at < iov.size() && left >= iov[at].iov_len) left -= iov[at++].iov_len;
        if (left) {
            iov[at].iov_base = static_cast<uint8_t*>(iov[at].iov_base) + left;
            iov[at].iov_len -= left;
        }
    }
    return !failed_;
}

bool GatherWriter::Close() {
    if (fd_ < 0) return false;
    Flush();
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed && !failed_;
}

}  // namespace plat
