// Tiling benchmark driver for bench/tiling.sh (not a test).
//   bench_tile_map make <map.bmp> <width> <height>   writes a 24-bit map, one row at a time
//   bench_tile_map tile <map.bmp> <program folder>   tiles it into <program folder>/Temp
// "tile" prints the seconds it took and the peak resident memory of the process.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "core/project.h"
#include "core/syst.h"
#include "core/tiling.h"
#include "platform/gdi/bmp.h"

namespace {

int Make(const std::string& path, int32_t w, int32_t h) {
    plat::BmpFileHeader file;
    plat::BmpInfoHeader info;
    plat::MakeBmpHeaders(w, h, 24, 2834, file, info);
    const auto headers = plat::EncodeBmpHeaders(file, info);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(headers.data()), static_cast<std::streamsize>(headers.size()));
    std::vector<uint8_t> row(static_cast<std::size_t>(plat::BmpRowBytes(static_cast<uint64_t>(w), 24)), 0);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            row[3 * x] = static_cast<uint8_t>(x);
            row[3 * x + 1] = static_cast<uint8_t>(y);
            row[3 * x + 2] = static_cast<uint8_t>(x ^ y);
        }
        out.write(reinterpret_cast<const char*>(row.data()), static_cast<std::streamsize>(row.size()));
    }
    return out ? 0 : 1;
}

int Tile(const std::string& map, const std::string& folder) {
    App_Dir = folder;
    Tiling_No_Progress window;
    int16_t error = 0;
    const auto start = std::chrono::steady_clock::now();
    Com_Split_Map_Bitmap(window, map, error);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("tiling_seconds %.3f\npeak_rss_kb %ld\ntiles %d\nerror %d\n", seconds, usage.ru_maxrss,
                static_cast<int>(Tile_Count), static_cast<int>(error));
    return error;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "make" && argc == 5) return Make(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (mode == "tile" && argc == 4) return Tile(argv[2], argv[3]);
    std::fprintf(stderr, "usage: %s make <map.bmp> <width> <height> | tile <map.bmp> <folder>\n", argv[0]);
    return 2;
}
