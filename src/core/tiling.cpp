// The map bitmap cut into tile files of 2000 pixels in Temp behind a progress window, and the
// tile grid and tile names.
#include "core/tiling.h"

#include <algorithm>
#include <vector>

#include "core/project.h"
#include "core/project_paths.h"
#include "core/syst.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/text.h"

int32_t Tile_Size = 2000;

namespace {

constexpr int32_t Tile_Pels_Per_Metre = 2834;
// Tile counts are 16-bit in the project and the views.
constexpr int64_t Max_Tile_Count = 32767;

std::string Number_With_Blank(int64_t n) { return (n >= 0 ? " " : "") + std::to_string(n); }

// Restores the default pointer however the tiler leaves.
struct Hourglass {
    Hourglass() { plat::CurrentHost().SetMousePointer(plat::Pointer_Hourglass); }
    ~Hourglass() { plat::CurrentHost().SetMousePointer(plat::Pointer_Default); }
};

// A decimal text as the tile names write numbers: digits, no leading zero unless it is "0".
bool Plain_Decimal(const std::string& s, int64_t& value) {
    if (s.empty() || s.size() > 12 || (s.size() > 1 && s[0] == '0')) return false;
    value = 0;
    for (char ch : s) {
        if (ch < '0' || ch > '9') return false;
        value = value * 10 + (ch - '0');
    }
    return true;
}

// The tiles are written band by band: one band of Tile_Size map rows is taken from the file in
// one piece and every tile of it is gathered straight from that band, so the map never sits in
// memory and each byte is read once and written once.
int16_t Write_Tiles(Tiling_Progress_Window& window, plat::BmpReader& map,
                    const plat::BmpFileHeader& tile_file_header, const plat::BmpInfoHeader& tile_info_header,
                    const plat::BmpPalette* palette) {
    const plat::BmpLayout& m = map.Layout();
    const int64_t T = tile_info_header.width;
    if (T < 1 || tile_info_header.height != T) return Tiling_Map_Unreadable;
    const std::size_t bpp = m.bits / 8;
    const std::size_t tile_row = static_cast<std::size_t>(T) * bpp;
    const std::size_t tile_pad = static_cast<std::size_t>(plat::BmpRowBytes(static_cast<uint64_t>(T), m.bits)) - tile_row;
    int32_t cols = 0, rows = 0;
    if (!Com_Tile_Grid(m.width, m.height, cols, rows)) return Tiling_Map_Unreadable;
    const int64_t count = int64_t{cols} * rows;

    window.Set_LTex2500(Language == "US" ? "Creation of " + Number_With_Blank(count) + " temporary .bmp"
                                         : "Création de " + Number_With_Blank(count) + " .bmp temporaires");
    window.Set_LPourCent("0%");
    window.Set_LNbTex("");
    window.Show_Fram_Creat_2500(true);

    const auto headers = plat::EncodeBmpHeaders(tile_file_header, tile_info_header);
    const uint64_t tile_length = headers.size() + (palette ? palette->size() : 0) +
                                 static_cast<uint64_t>(T) * (tile_row + tile_pad);
    const std::size_t row_bytes = static_cast<std::size_t>(m.row_bytes);
    std::vector<uint8_t> band;
    int64_t done = 0;
    int16_t error = Tiling_Done;
    for (int32_t r = 0; r < rows && error == Tiling_Done; ++r) {
        const int64_t y0 = int64_t{r} * T;
        const int64_t n = std::min<int64_t>(T, m.height - y0);
        // The band's rows are contiguous in the file whichever way the map is stored.
        const int64_t first = m.top_down ? y0 : m.height - y0 - n;
        // Mapped rows go from the page cache straight to the tile files; a copy serves where
        // the system cannot map them.
        const uint8_t* rows_at = map.MapStoredRows(first, n);
        if (!rows_at) {
            if (band.empty()) band.resize(static_cast<std::size_t>(std::min<int64_t>(T, m.height)) * row_bytes);
            if (!map.ReadStoredRows(first, n, band.data())) {
                error = Tiling_Map_Unreadable;
                break;
            }
            rows_at = band.data();
        }
        for (int32_t c = 0; c < cols; ++c) {
            const int64_t x0 = int64_t{c} * T;
            const std::size_t w = static_cast<std::size_t>(std::min<int64_t>(T, m.width - x0));
            window.Set_LPourCent("0%");
            ++done;
            window.Set_LNbTex(Number_With_Blank(done));
            window.Refresh();

            plat::GatherWriter out;
            if (!out.Open(plat::MapPath(Com_Tile_File(cols, rows, r * cols + c)), tile_length)) {
                error = Tiling_Tiles_Unwritable;
                break;
            }
            out.Append(headers.data(), headers.size());
            if (palette) out.Append(palette->data(), palette->size());
            // Tile rows below the map's bottom edge come first: rows are stored bottom first.
            out.Append(nullptr, static_cast<std::size_t>(T - n) * (tile_row + tile_pad));
            for (int64_t k = 0; k < n; ++k) {
                const int64_t y = y0 + n - 1 - k;  // from the band's bottom row up
                const int64_t in_band = m.top_down ? y - y0 : (m.height - 1 - y) - first;
                out.Append(rows_at + static_cast<std::size_t>(in_band) * row_bytes + static_cast<std::size_t>(x0) * bpp,
                           w * bpp);
                out.Append(nullptr, tile_row - w * bpp + tile_pad);
                if ((k + 1) % 10 == 0)
                    window.Set_LPourCent(std::to_string(SYST_Round(static_cast<double>(k + 1) * 100.0 / static_cast<double>(T))) + "%");
            }
            if (!out.Close()) {
                error = Tiling_Tiles_Unwritable;
                break;
            }
        }
    }
    // Half a tiling serves no view, and on a full disk it holds the room that is missing.
    if (error != Tiling_Done)
        for (int64_t k = 0; k < done; ++k) plat::DeleteFile(Com_Tile_File(cols, rows, static_cast<int32_t>(k)));
    window.Show_Fram_Creat_2500(false);
    return error;
}

}  // namespace

bool Com_Tile_Grid(int64_t width, int64_t height, int32_t& tile_cols, int32_t& tile_rows) {
    tile_cols = tile_rows = 0;
    if (width <= 0 || height <= 0 || Tile_Size <= 0) return false;
    tile_cols = static_cast<int32_t>((width + Tile_Size - 1) / Tile_Size);
    tile_rows = static_cast<int32_t>((height + Tile_Size - 1) / Tile_Size);
    return true;
}

namespace {

// The map or an image (native path) that one of the grid's tiles would replace; "" for none.
std::string Tile_Over_Input(const std::string& map_path, int32_t cols, int32_t rows) {
    std::vector<std::pair<std::string, std::string>> in_temp;  // (name in capitals, file)
    auto consider = [&in_temp](const std::string& file) {
        if (file.empty()) return;
        const plat::Path_Split at = plat::Split_Folder(plat::NativePath(file));
        if (Project_Same_File(at.Folder, App_Dir + "\\Temp")) in_temp.emplace_back(plat::UCase(at.Name), plat::NativePath(file));
    };
    consider(map_path);
    for (int32_t i = 1; i <= std::min(Image_Count, Image_Table.UBound()); ++i)
        if (Image_Table(i).Ima_In_Use == 1) consider(Image_Table(i).Ima_File);
    if (in_temp.empty()) return {};
    for (int64_t k = 0; k < int64_t{cols} * rows; ++k) {
        const std::string tile = plat::UCase(plat::Split_Folder(Com_Tile_File(cols, rows, static_cast<int32_t>(k))).Name);
        for (const auto& [name, file] : in_temp)
            if (name == tile) return file;
    }
    return {};
}

}  // namespace

void Com_Split_Map_Bitmap(Tiling_Progress_Window& window, const std::string& map_path, int16_t& error) {
    Hourglass hourglass;
    error = Tiling_Done;
    plat::BmpReader map;
    if (map.Open(plat::MapPath(map_path), {8, 24}) != plat::BmpStatus::Ok) {
        error = Tiling_Map_Unreadable;
        return;
    }
    int32_t cols = 0, rows = 0;
    if (!Com_Tile_Grid(map.Layout().width, map.Layout().height, cols, rows) ||
        int64_t{cols} * rows > Max_Tile_Count || Tile_Size > 32768) {
        error = Tiling_Map_Unreadable;
        return;
    }
    Tiling_Refused_Input = Tile_Over_Input(map_path, cols, rows);
    if (!Tiling_Refused_Input.empty()) {
        error = Tiling_Tile_Over_Input;
        return;
    }
    plat::MakeFolder(App_Dir + "\\Temp");
    plat::BmpFileHeader file;
    plat::BmpInfoHeader info;
    plat::MakeBmpHeaders(Tile_Size, Tile_Size, map.Layout().bits, Tile_Pels_Per_Metre, file, info);
    error = map.Layout().bits == 8 ? Com_Write_Tiles_8bit(window, map, file, info, map.Palette())
                                   : Com_Write_Tiles_24bit(window, map, file, info);
    if (error != Tiling_Done) return;
    Tile_Cols = static_cast<int16_t>(cols);
    Tile_Rows = static_cast<int16_t>(rows);
    Tile_Count = static_cast<int16_t>(cols * rows);
}

int16_t Com_Write_Tiles_8bit(Tiling_Progress_Window& window, plat::BmpReader& map,
                             const plat::BmpFileHeader& tile_file_header,
                             const plat::BmpInfoHeader& tile_info_header, const plat::BmpPalette& palette) {
    if (map.Layout().bits != 8) return Tiling_Map_Unreadable;
    return Write_Tiles(window, map, tile_file_header, tile_info_header, &palette);
}

int16_t Com_Write_Tiles_24bit(Tiling_Progress_Window& window, plat::BmpReader& map,
                              const plat::BmpFileHeader& tile_file_header,
                              const plat::BmpInfoHeader& tile_info_header) {
    if (map.Layout().bits != 24) return Tiling_Map_Unreadable;
    return Write_Tiles(window, map, tile_file_header, tile_info_header, nullptr);
}

void Com_Tile_Name(int32_t tile_cols, int32_t tile_rows, int32_t tile_index, std::string& name) {
    const int64_t cols = std::max<int32_t>(tile_cols, 1);
    const int64_t index = std::max<int32_t>(tile_index, 0);
    const int64_t c = index % cols, r = index / cols;
    const std::string joined = std::to_string(c) + std::to_string(r);
    // The joined text is kept unless another tile of this grid would join to the same text.
    for (std::size_t k = 1; k < joined.size(); ++k) {
        int64_t c2 = 0, r2 = 0;
        if (!Plain_Decimal(joined.substr(0, k), c2) || !Plain_Decimal(joined.substr(k), r2)) continue;
        if (c2 == c && r2 == r) continue;
        if (c2 < cols && r2 < tile_rows) {
            name = std::to_string(c) + "_" + std::to_string(r);
            return;
        }
    }
    name = joined;
}

std::string Com_Tile_File(int32_t tile_cols, int32_t tile_rows, int32_t tile_index) {
    std::string name;
    Com_Tile_Name(tile_cols, tile_rows, tile_index, name);
    return App_Dir + "\\Temp\\$$$_" + name + ".bmp";
}

void Tiling_Reset() { Tile_Size = 2000; }
