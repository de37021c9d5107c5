// Feeds arbitrary bytes to the BMP reader, the decoder, the BMP check and the map tiler: each
// must refuse or read them without reading outside the file or allocating what it cannot justify.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/project.h"
#include "core/syst.h"
#include "core/syst_bmp.h"
#include "core/tiling.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"

namespace {

std::filesystem::path Scratch() {
    static const std::filesystem::path dir = [] {
        const auto d = std::filesystem::temp_directory_path() / ("fuzz_bmp_reader_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d / "Temp");
        App_Dir = d.string();
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto dir = Scratch();
    const std::vector<uint8_t> bytes(data, data + size);

    plat::BmpImage image;
    if (plat::DecodeBmp(bytes, image) == plat::BmpStatus::Ok &&
        image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3)
        std::abort();

    const std::string path = (dir / "map.bmp").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    plat::BmpReader reader;
    const plat::BmpStatus status = reader.Open(path, {8, 16, 24, 32}, true);
    uint8_t rejected = 2;
    SYST_Check_Bmp(path, rejected);
    if (status == plat::BmpStatus::Ok) {
        const plat::BmpLayout& l = reader.Layout();
        std::vector<uint8_t> row(static_cast<std::size_t>(l.row_bytes));
        for (int64_t s = 0; s < l.height; ++s)
            if (!reader.ReadStoredRows(s, 1, row.data())) std::abort();
        if ((l.bits == 8 || l.bits == 24) && l.info.compression == plat::BI_RGB && rejected != 0) std::abort();

        // Small tiles keep each run quick; the tiler's logic is the same for any side.
        int32_t cols = 0, rows = 0;
        Tile_Size = 16;
        if (Com_Tile_Grid(l.width, l.height, cols, rows) && int64_t{cols} * rows <= 64) {
            Tiling_No_Progress window;
            int16_t error = 0;
            Com_Split_Map_Bitmap(window, App_Dir + "\\map.bmp", error);
            if (error == 0 && Tile_Count != cols * rows) std::abort();
            for (int32_t k = 0; k < cols * rows; ++k) std::filesystem::remove(plat::MapPath(Com_Tile_File(cols, rows, k)));
        }
    } else if (rejected != 1) {
        std::abort();
    }
    return 0;
}
