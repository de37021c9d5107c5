// Every texture file the author may pick (8/16/32-bit, FS70 block, DXT1/DXT3, R8 plain or packed)
// decoded to one plain 24-bit bitmap; palettes and the word-to-RGB unpacking.
#include "core/texture_convert.h"

#include <algorithm>
#include <cstring>

#include "core/syst.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/host.h"

Palette_Table Fs5_Palette = Servitudes_Grey_Palette();
std::string Temp_Tex_Bmp;
std::string Temp_Ima_Bmp;

namespace {

constexpr uint32_t Raw_Texture_Size = 65536;
// Working space of the expansion stages, as flag/byte codes and as bytes.
constexpr std::size_t Expand_Work_Limit = 130000;
constexpr uint16_t End_Code = 511;
constexpr int32_t Texture_Pels_Per_Metre = 2834;
constexpr uint32_t Compression_Dxt1 = 0x31545844;  // the characters "DXT1"
constexpr uint32_t Compression_Dxt3 = 0x33545844;  // "DXT3"

struct Hourglass {
    Hourglass() { plat::CurrentHost().SetMousePointer(plat::Pointer_Hourglass); }
    ~Hourglass() { plat::CurrentHost().SetMousePointer(plat::Pointer_Default); }
};

uint8_t Clamp_Byte(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

uint8_t Blend(int32_t component, double a, uint8_t back) {
    return Clamp_Byte(SYST_Round(std::min(component, 255) * a + (1.0 - a) * back));
}

// A 24-bit output bitmap with the source's width and height (a negative height keeps the
// source's top-down order, since rows are written in the source's storage order).
struct Out24 {
    std::vector<uint8_t> bytes;
    std::size_t row_bytes = 0;
    uint8_t* Row(int64_t stored) { return bytes.data() + 54 + static_cast<std::size_t>(stored) * row_bytes; }
};

bool Make_Out24(int32_t width, int32_t height, int32_t pels_per_metre, Out24& out) {
    const uint64_t rows = height < 0 ? -int64_t{height} : height;
    const uint64_t row_bytes = plat::BmpRowBytes(static_cast<uint64_t>(width), 24);
    if (rows == 0 || row_bytes == 0 || row_bytes * rows > 0xFFFFFFFFull - 54) return false;
    plat::BmpFileHeader file;
    plat::BmpInfoHeader info;
    plat::MakeBmpHeaders(width, height, 24, pels_per_metre, file, info);
    const auto headers = plat::EncodeBmpHeaders(file, info);
    out.row_bytes = static_cast<std::size_t>(row_bytes);
    out.bytes.assign(54 + static_cast<std::size_t>(row_bytes * rows), 0);
    std::memcpy(out.bytes.data(), headers.data(), headers.size());
    return true;
}

bool Has_Fs70(const std::vector<uint8_t>& src, std::size_t at) {
    return at + 4 <= src.size() && std::memcmp(&src[at], "FS70", 4) == 0;
}

enum class Kind { Unsupported, Bmp8, Bmp16_565, Bmp16_555, Bmp16_444, Dxt1, Dxt3, Bmp24, Bmp32 };

struct Classified {
    Kind kind = Kind::Unsupported;
    bool extended = false;
};

Classified Classify(const std::vector<uint8_t>& src, const plat::BmpFileHeader& file,
                    const plat::BmpInfoHeader& info) {
    const uint32_t off = file.pixel_offset;
    const uint32_t comp = info.compression;
    Classified c;
    switch (info.bit_count) {
        case 8:
            if (comp != 0) break;
            if (off == 1078) c.kind = Kind::Bmp8;
            else if (off == 1098 && Has_Fs70(src, 1078)) c = {Kind::Bmp8, true};
            break;
        case 16:
            if ((comp == Compression_Dxt1 || comp == Compression_Dxt3) && off == 74 && Has_Fs70(src, 54)) {
                c = {comp == Compression_Dxt1 ? Kind::Dxt1 : Kind::Dxt3, true};
            } else if (comp == plat::BI_BITFIELDS && src.size() >= 66 && (off == 66 || (off == 86 && Has_Fs70(src, 66)))) {
                const uint32_t blue_mask = plat::GetU32(&src[62]);
                c = {blue_mask < 16 ? Kind::Bmp16_444 : Kind::Bmp16_565, off == 86};
            } else if (comp == 0 && (off == 54 || (off == 74 && Has_Fs70(src, 54)))) {
                c = {Kind::Bmp16_555, off == 74};
            }
            break;
        case 24:
            if (comp == 0 && off == 54) c.kind = Kind::Bmp24;
            break;
        case 32:
            if (comp == 0 && (off == 54 || (off == 74 && Has_Fs70(src, 54)))) c = {Kind::Bmp32, off == 74};
            break;
        default:
            break;
    }
    return c;
}

bool Servitudes_Bmp8_To_Bmp24(const std::vector<uint8_t>& src, const plat::BmpLayout& l, Out24& out) {
    plat::BmpPalette palette;
    if (plat::BmpReadPalette(src.data(), src.size(), l.info, palette) != plat::BmpStatus::Ok) return false;
    if (!Make_Out24(l.info.width, l.info.height, Texture_Pels_Per_Metre, out)) return false;
    for (int64_t s = 0; s < l.height; ++s) {
        const uint8_t* in = src.data() + l.pixel_offset + static_cast<std::size_t>(s) * l.row_bytes;
        uint8_t* o = out.Row(s);
        for (int32_t x = 0; x < l.width; ++x, o += 3) std::memcpy(o, &palette[4 * in[x]], 3);
    }
    return true;
}

bool Servitudes_Bmp16_To_Bmp24(const std::vector<uint8_t>& src, const plat::BmpLayout& l, Kind kind, Out24& out) {
    uint32_t rm = 0, gm = 0, bm = 0;
    if (kind != Kind::Bmp16_555) {
        rm = plat::GetU32(&src[54]);
        gm = plat::GetU32(&src[58]);
        bm = plat::GetU32(&src[62]);
    }
    const Word_Kind wk = kind == Kind::Bmp16_565 ? Word_Kind::Rgb565
                         : kind == Kind::Bmp16_555 ? Word_Kind::Rgb555
                                                   : Word_Kind::Argb4444;
    if (!Make_Out24(l.info.width, l.info.height, Texture_Pels_Per_Metre, out)) return false;
    for (int64_t s = 0; s < l.height; ++s) {
        const uint8_t* in = src.data() + l.pixel_offset + static_cast<std::size_t>(s) * l.row_bytes;
        uint8_t* o = out.Row(s);
        for (int32_t x = 0; x < l.width; ++x, o += 3) {
            const auto bgr = Servitudes_Word_To_Rgb(plat::GetU16(in + 2 * x), wk, rm, gm, bm);
            std::memcpy(o, bgr.data(), 3);
        }
    }
    return true;
}

bool Servitudes_Bmp32_To_Bmp24(const std::vector<uint8_t>& src, const plat::BmpLayout& l, Out24& out) {
    if (!Make_Out24(l.info.width, l.info.height, Texture_Pels_Per_Metre, out)) return false;
    for (int64_t s = 0; s < l.height; ++s) {
        const uint8_t* in = src.data() + l.pixel_offset + static_cast<std::size_t>(s) * l.row_bytes;
        uint8_t* o = out.Row(s);
        for (int32_t x = 0; x < l.width; ++x, o += 3, in += 4) {
            const double a = in[3] / 255.0;
            o[0] = Blend(in[0], a, Texture_Back_Blue);
            o[1] = Blend(in[1], a, Texture_Back_Green);
            o[2] = Blend(in[2], a, Texture_Back_Red);
        }
    }
    return true;
}

// Blue, green, red of a 5-6-5 word, as the 16-bit conversion expands it.
std::array<int32_t, 3> Expand_565(uint16_t w) {
    return {(w & 0x1F) * 8, (w & 0x7E0) / 8, (w & 0xF800) / 256};
}

bool Servitudes_Dxt_To_Bmp24(const std::vector<uint8_t>& src, const plat::BmpInfoHeader& info,
                             std::size_t block_bytes, Out24& out) {
    const int64_t w = info.width;
    const int64_t h = info.height < 0 ? -int64_t{info.height} : info.height;
    if (w <= 0 || h <= 0) return false;
    const int64_t bw = w / 4, bh = h / 4;
    // Every block a well-formed file holds must be there, so the picture is never larger than
    // the file can justify.
    const uint64_t need = static_cast<uint64_t>((w + 3) / 4) * static_cast<uint64_t>((h + 3) / 4) * block_bytes;
    if (src.size() < 74 || need > src.size() - 74) return false;
    if (!Make_Out24(info.width, info.height, Texture_Pels_Per_Metre, out)) return false;
    const uint8_t* block = src.data() + 74;
    for (int64_t l = 0; l < bh; ++l) {
        for (int64_t j = 0; j < bw; ++j, block += block_bytes) {
            const uint8_t* b = block + (block_bytes - 8);  // DXT3: the colours follow the alpha block
            const uint16_t w0 = plat::GetU16(b), w1 = plat::GetU16(b + 2);
            std::array<std::array<int32_t, 3>, 4> colour{Expand_565(w0), Expand_565(w1), {}, {}};
            for (int k = 0; k < 3; ++k) {
                const int32_t c0 = colour[0][k], c1 = colour[1][k];
                if (w0 > w1) {
                    colour[2][k] = SYST_Round((2.0 * c0 + c1) / 3.0);
                    colour[3][k] = SYST_Round((c0 + 2.0 * c1) / 3.0);
                } else {
                    colour[2][k] = SYST_Round((c0 + c1) / 2.0);
                    colour[3][k] = 0;
                }
            }
            for (int k = 0; k < 4; ++k) {
                const uint8_t bits = b[4 + k];
                uint8_t* o = out.Row(4 * l + k) + static_cast<std::size_t>(4 * j) * 3;
                for (int p = 0; p < 4; ++p, o += 3) {
                    const auto& c = colour[(bits >> (2 * p)) & 3];
                    o[0] = Clamp_Byte(c[0]), o[1] = Clamp_Byte(c[1]), o[2] = Clamp_Byte(c[2]);
                }
            }
        }
    }
    return true;
}

// Stage 1 of the expansion: 9-bit codes, most significant bit first, up to the end code.
bool Read_Codes(const std::vector<uint8_t>& packed, std::vector<uint16_t>& codes) {
    codes.clear();
    const std::size_t len = packed.size();
    for (std::size_t n = 0;; ++n) {
        const std::size_t p = n + n / 8;
        const unsigned phase = static_cast<unsigned>(n % 8);
        if (p >= len) break;
        const uint32_t word = (uint32_t{packed[p]} << 8) | (p + 1 < len ? packed[p + 1] : 0u);
        const uint16_t code = static_cast<uint16_t>((word >> (7 - phase)) & 0x1FF);
        if (codes.size() >= Expand_Work_Limit) return false;
        codes.push_back(code);
        if (code == End_Code) break;
    }
    return true;
}

struct Dict_String {
    uint8_t length = 0;
    std::array<uint8_t, 8> bytes{};
};

// Stage 2: the dictionary of strings of up to 8 bytes.
bool Decode_Dictionary(const std::vector<uint16_t>& codes, std::vector<uint8_t>& out) {
    std::array<Dict_String, 256> slots{};
    std::size_t next = 0;
    out.clear();
    auto emit = [&](uint16_t code) {
        const uint8_t byte = static_cast<uint8_t>(code & 0xFF);
        if (!(code & 0x100)) {
            out.push_back(byte);
        } else {
            const Dict_String& s = slots[byte];
            out.insert(out.end(), s.bytes.begin(), s.bytes.begin() + s.length);
        }
        return out.size() <= Expand_Work_Limit;
    };
    for (std::size_t i = 0; i < codes.size(); i += 2) {
        const uint16_t first = codes[i];
        if (first == End_Code) break;
        if (!emit(first)) return false;
        if (i + 1 >= codes.size()) break;
        const uint16_t second = codes[i + 1];
        const bool end = second == End_Code;
        if ((second & 0x100) && !end) return false;
        if (!end && !emit(second)) return false;

        Dict_String s;
        if (first & 0x100) s = slots[first & 0xFF];
        else s.bytes[s.length++] = static_cast<uint8_t>(first & 0xFF);
        if (!(second & 0x100)) {
            if (s.length >= s.bytes.size()) return false;
            s.bytes[s.length++] = static_cast<uint8_t>(second & 0xFF);
        }
        slots[next] = s;
        if (s.length <= 6) {
            next = (next + 1) % 256;
        } else {
            slots[next] = Dict_String{};
            if (next == 255) {
                next = 0;
                slots[0] = Dict_String{};
            }
        }
        if (end) break;
    }
    return true;
}

// Stage 3: runs and literal stretches, exactly one raw texture long.
bool Decode_Runs(const std::vector<uint8_t>& in, std::vector<uint8_t>& raw) {
    raw.clear();
    raw.reserve(Raw_Texture_Size);
    std::size_t i = 0;
    while (i < in.size()) {
        const uint8_t c = in[i++];
        if (c < 128) {
            if (c == 0) {
                if (i < in.size()) ++i;
                continue;
            }
            if (i >= in.size() || raw.size() + c > Raw_Texture_Size) return false;
            raw.insert(raw.end(), c, in[i++]);
        } else {
            const std::size_t k = c - 128u;
            if (k > in.size() - i || raw.size() + k > Raw_Texture_Size) return false;
            raw.insert(raw.end(), in.begin() + static_cast<std::ptrdiff_t>(i), in.begin() + static_cast<std::ptrdiff_t>(i + k));
            i += k;
        }
    }
    return raw.size() == Raw_Texture_Size;
}

std::string Size_Text(int32_t w, int32_t h) {
    return std::to_string(w) + "x" + std::to_string(h < 0 ? -int64_t{h} : int64_t{h});
}

}  // namespace

Palette_Table Servitudes_Grey_Palette() {
    Palette_Table t{};
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<uint8_t>(i);
        t[i] = {v, v, v, 0};
    }
    return t;
}

bool Servitudes_Read_Palette(const std::string& path, Palette_Table& table) {
    table = Servitudes_Grey_Palette();
    std::vector<uint8_t> bytes;
    if (!plat::FileExists(path) || !plat::ReadBinary(path, bytes)) return false;
    for (std::size_t n = 0; n < 256 && 3 * n + 2 < bytes.size(); ++n)
        table[n] = {bytes[3 * n + 2], bytes[3 * n + 1], bytes[3 * n], 0};
    return true;
}

std::array<uint8_t, 3> Servitudes_Word_To_Rgb(uint16_t w, Word_Kind kind, uint32_t red_mask,
                                              uint32_t green_mask, uint32_t blue_mask) {
    switch (kind) {
        case Word_Kind::Rgb565:
            return {Clamp_Byte((w & 0x1F) * 8), Clamp_Byte((w & 0x7E0) / 8), Clamp_Byte((w & 0xF800) / 256)};
        case Word_Kind::Rgb555:
            return {Clamp_Byte((w & 0x1F) * 8), Clamp_Byte((w & 0x3E0) / 4), Clamp_Byte((w & 0x7C00) / 128)};
        case Word_Kind::Argb4444: {
            const double a = (w >> 12) / 15.0;
            const auto red = static_cast<int32_t>(std::min<uint32_t>((w & red_mask) / 16, 255));
            const auto green = static_cast<int32_t>(std::min<uint32_t>(w & green_mask, 255));
            const auto blue = static_cast<int32_t>(std::min<uint32_t>((w & blue_mask) * 16, 255));
            return {Blend(blue, a, Texture_Back_Blue), Blend(green, a, Texture_Back_Green),
                    Blend(red, a, Texture_Back_Red)};
        }
    }
    return {0, 0, 0};
}

bool Servitudes_Expand_R8(const std::vector<uint8_t>& packed, std::vector<uint8_t>& raw) {
    raw.clear();
    std::vector<uint16_t> codes;
    std::vector<uint8_t> stage2;
    if (!Read_Codes(packed, codes) || !Decode_Dictionary(codes, stage2) || !Decode_Runs(stage2, raw)) {
        raw.clear();
        return false;
    }
    return true;
}

bool Servitudes_R8_To_Bmp(const std::vector<uint8_t>& raw, const Palette_Table& palette, std::vector<uint8_t>& bmp) {
    bmp.clear();
    if (raw.size() != Raw_Texture_Size) return false;
    Out24 out;
    if (!Make_Out24(256, 256, 0, out)) return false;
    for (int s = 0; s < 256; ++s) {
        uint8_t* o = out.Row(s);
        for (int x = 0; x < 256; ++x, o += 3) std::memcpy(o, palette[raw[256 * s + x]].data(), 3);
    }
    bmp = std::move(out.bytes);
    return true;
}

void Servitudes_Convert_Texture(const std::string& source, const Palette_Table& palette,
                                const std::string& destination, std::string& description,
                                int16_t& status) {
    Hourglass hourglass;
    status = 0;
    const long long length = plat::FileLength(source);
    if (length < 0) {
        status = 1;
        return;
    }
    if (length <= 53) {
        status = 2;
        return;
    }
    std::vector<uint8_t> src;
    if (!plat::ReadBinary(source, src) || src.size() <= 53) {
        status = 1;
        return;
    }

    std::vector<uint8_t> result;
    std::string text;
    if (src[0] != 'B' || src[1] != 'M') {
        std::vector<uint8_t> raw;
        if (src.size() == Raw_Texture_Size) {
            raw = std::move(src);
            text = "Texture type .R8";
        } else if (src.size() > Raw_Texture_Size || !Servitudes_Expand_R8(src, raw)) {
            status = 1;
            return;
        } else {
            text = "Texture type .R8 compressée";
        }
        Servitudes_R8_To_Bmp(raw, palette, result);
        text += " 256x256";
    } else {
        plat::BmpFileHeader file;
        plat::BmpInfoHeader info;
        plat::ParseBmpHeaders(src.data(), src.size(), file, info);
        const Classified c = Classify(src, file, info);
        plat::BmpLayout layout;
        auto plain = [&](unsigned bits, bool fields) {
            return plat::BmpCheckLayout(file, info, src.size(), {bits}, fields, layout) == plat::BmpStatus::Ok;
        };
        Out24 out;
        bool ok = false;
        std::string variant;
        switch (c.kind) {
            case Kind::Unsupported:
                break;
            case Kind::Bmp8:
                ok = plain(8, false) && Servitudes_Bmp8_To_Bmp24(src, layout, out);
                text = "Bmp 8 Bits";
                break;
            case Kind::Bmp16_565:
            case Kind::Bmp16_555:
            case Kind::Bmp16_444:
                ok = plain(16, true) && Servitudes_Bmp16_To_Bmp24(src, layout, c.kind, out);
                text = "Bmp 16 Bits";
                variant = c.kind == Kind::Bmp16_565 ? " 5-6-5" : c.kind == Kind::Bmp16_555 ? " 5-5-5" : " 4-4-4";
                break;
            case Kind::Dxt1:
            case Kind::Dxt3:
                ok = Servitudes_Dxt_To_Bmp24(src, info, c.kind == Kind::Dxt1 ? 8 : 16, out);
                text = "Bmp 16 Bits";
                variant = c.kind == Kind::Dxt1 ? " DXT1" : " DXT3";
                break;
            case Kind::Bmp24:
                // Copied as it stands, once its rows are known to be in the file.
                ok = plain(24, false);
                if (ok) out.bytes = std::move(src);
                text = "Bmp 24 Bits";
                break;
            case Kind::Bmp32:
                ok = plain(32, false) && Servitudes_Bmp32_To_Bmp24(src, layout, out);
                text = "Bmp 32 Bits";
                break;
        }
        if (!ok) {
            status = 1;
            return;
        }
        result = std::move(out.bytes);
        text += " " + Size_Text(info.width, info.height) + (c.extended ? " étendu" : "") + variant;
    }

    plat::DeleteFile(destination);
    if (!plat::WriteBinary(destination, result)) {
        plat::DeleteFile(destination);
        status = 1;
        return;
    }
    description = text;
}

void Texture_Convert_Reset() {
    Fs5_Palette = Servitudes_Grey_Palette();
    Temp_Tex_Bmp.clear();
    Temp_Ima_Bmp.clear();
}
