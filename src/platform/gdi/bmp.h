#pragma once
// BMP files: the two headers, the checks that keep every read inside the file, the colour table,
// row access that streams a bitmap far larger than memory, a decoder to plain pixels, and a
// gathering writer that puts a file together from pieces of other buffers.
// Paths here are local paths (plat::MapPath has been applied by the caller).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

constexpr uint32_t kBmpFileHeaderSize = 14;
constexpr uint32_t kBmpInfoHeaderSize = 40;
constexpr uint16_t kBmpSignature = 0x4D42;  // "BM" read as a little-endian word

// Compression field values.
constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

struct BmpFileHeader {
    uint16_t type = kBmpSignature;
    uint32_t file_size = 0;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint32_t pixel_offset = 0;
    bool operator==(const BmpFileHeader&) const = default;
};

struct BmpInfoHeader {
    uint32_t size = kBmpInfoHeaderSize;
    int32_t width = 0;
    int32_t height = 0;          // negative: rows stored top row first
    uint16_t planes = 1;
    uint16_t bit_count = 0;
    uint32_t compression = BI_RGB;
    uint32_t image_size = 0;
    int32_t x_pels_per_metre = 0;
    int32_t y_pels_per_metre = 0;
    uint32_t colours_used = 0;
    uint32_t colours_important = 0;
    bool operator==(const BmpInfoHeader&) const = default;
};

// Little-endian fields.
uint16_t GetU16(const uint8_t* p);
uint32_t GetU32(const uint8_t* p);
int32_t GetI32(const uint8_t* p);
void PutU16(uint8_t* p, uint16_t v);
void PutU32(uint8_t* p, uint32_t v);

// The headers from the first 54 bytes; false when fewer are given.
bool ParseBmpHeaders(const uint8_t* data, std::size_t size, BmpFileHeader& file, BmpInfoHeader& info);
// The 54 header bytes exactly as the fields say.
std::array<uint8_t, kBmpFileHeaderSize + kBmpInfoHeaderSize> EncodeBmpHeaders(const BmpFileHeader& file,
                                                                             const BmpInfoHeader& info);

// Bytes of one stored row: width x bits rounded up to whole 32-bit words.
uint64_t BmpRowBytes(uint64_t width, unsigned bits);

enum class BmpStatus {
    Ok,
    CannotOpen,      // missing or unreadable file
    NotBmp,          // no "BM"
    Truncated,       // the headers, the colour table or the pixels run past the end of the file
    BadHeader,       // sizes or offsets that no bitmap has (width or height 0, header size < 40, ...)
    BadDepth,        // a bit count the caller does not handle
    Compressed,      // run-length or other compression
};

// Where the rows of a plain (uncompressed) bitmap lie, checked against the file's length.
struct BmpLayout {
    BmpFileHeader file;
    BmpInfoHeader info;
    int32_t width = 0;
    int32_t height = 0;          // always positive
    bool top_down = false;
    unsigned bits = 0;
    uint64_t row_bytes = 0;      // padded length of a stored row
    uint64_t pixel_offset = 0;
    uint64_t file_length = 0;
    // File offset of the row `y` counted from the top.
    uint64_t RowOffset(int64_t y) const;
    // The stored (file order) index of row y from the top.
    int64_t StoredIndex(int64_t y) const { return top_down ? y : height - 1 - y; }
};

// Checks that an uncompressed bitmap of one of `accepted_bits` has all its rows inside the file
// (the last row may lack its padding). Bit fields (compression 3) are accepted for 16 and 32 bits
// when `allow_bitfields`; any other compression gives Compressed.
BmpStatus BmpCheckLayout(const BmpFileHeader& file, const BmpInfoHeader& info, uint64_t file_length,
                         const std::vector<unsigned>& accepted_bits, bool allow_bitfields,
                         BmpLayout& out);

// A colour table of 256 entries of blue, green, red, 0.
using BmpPalette = std::array<uint8_t, 1024>;

// The colour table of a bitmap of 8 bits or fewer: it follows the information header (offset
// 14 + its size) and holds the colours-used count of entries (2^bits when 0, at most 256); the
// entries it does not hold are black. `bytes` starts at file offset 0 and holds at least the
// table; Truncated when it does not.
BmpStatus BmpReadPalette(const uint8_t* bytes, std::size_t size, const BmpInfoHeader& info,
                         BmpPalette& palette);

// Streaming access to the rows of a plain bitmap on disk; only the rows asked for are read.
class BmpReader {
public:
    BmpReader() = default;
    ~BmpReader();
    BmpReader(const BmpReader&) = delete;
    BmpReader& operator=(const BmpReader&) = delete;

    // Opens and checks the file; for 8 bits and fewer also reads the colour table.
    BmpStatus Open(const std::string& local_path, const std::vector<unsigned>& accepted_bits,
                   bool allow_bitfields = false);
    void Close();
    const BmpLayout& Layout() const { return layout_; }
    const BmpPalette& Palette() const { return palette_; }

    // Reads `count` consecutive stored rows from stored index `first` (file order) into `dst`,
    // count x row_bytes bytes; the missing padding of the file's last row reads as 0.
    bool ReadStoredRows(int64_t first, int64_t count, uint8_t* dst);
    // The same rows mapped from the file without copying them (nullptr when the system cannot
    // map them; ReadStoredRows then serves). Valid until the next call or Close. Only the pixel
    // bytes of the file's last row may be touched, not its padding.
    const uint8_t* MapStoredRows(int64_t first, int64_t count);

private:
    void Unmap();
    int fd_ = -1;
    void* map_ = nullptr;
    std::size_t map_size_ = 0;
    BmpLayout layout_;
    BmpPalette palette_{};
};

// A decoded picture: rows top-down, 3 bytes per pixel in red, green, blue order, no padding
// (the layout of plat::Surface).
struct BmpImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
};

// Decodes a whole bitmap file held in memory: 8-bit with colour table, 16-bit (5-5-5, or bit
// fields), 24-bit and 32-bit (bit fields or blue, green, red, unused), either row order.
BmpStatus DecodeBmp(const std::vector<uint8_t>& bytes, BmpImage& image);
BmpStatus LoadBmpFile(const std::string& local_path, BmpImage& image);

// The headers of a plain bitmap as this program writes them: 24 bits (no table) or 8 bits
// (a 256-entry table); height positive (bottom row first).
void MakeBmpHeaders(int32_t width, int32_t height, unsigned bits, int32_t pels_per_metre,
                    BmpFileHeader& file, BmpInfoHeader& info);

// Writes a file from pieces of memory in order, without copying them together; the pieces must
// stay valid until the next Flush or Close. A piece of nullptr writes that many zero bytes. The
// pieces go out in writes of about half a megabyte.
class GatherWriter {
public:
    GatherWriter() = default;
    ~GatherWriter();
    GatherWriter(const GatherWriter&) = delete;
    GatherWriter& operator=(const GatherWriter&) = delete;

    // Replaces any file of that name. A known final length is reserved on disk at once: the
    // writes then find their blocks in place, and a full disk fails here.
    bool Open(const std::string& local_path, uint64_t final_length = 0);
    void Append(const uint8_t* data, std::size_t size);
    bool Flush();
    // True when every byte reached the file.
    bool Close();

private:
    struct Piece {
        const uint8_t* data;
        std::size_t size;
    };
    int fd_ = -1;
    bool failed_ = false;
    std::vector<Piece> pieces_;
    std::size_t pending_ = 0;
};

}  // namespace plat
