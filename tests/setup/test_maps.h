#pragma once
// Map bitmaps for the calibration tests: 24 bits, a colour per pixel that tells where it came from.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/gdi/bmp.h"
#include "platform/gdi/surface.h"

namespace testmaps {

// The map's colour at bitmap pixel (x, y): distinct enough to catch a shifted copy.
inline plat::Colour Map_Colour(int x, int y) { return plat::RGB(x % 251, y % 241, (x / 251 + 7 * (y / 241)) % 256); }

// Stored bottom row first, unless top_down (negative height in the header).
inline void Write_Map(const std::filesystem::path& path, int32_t w, int32_t h, bool top_down = false) {
    const std::size_t row = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> b(54 + row * static_cast<std::size_t>(h), 0);
    b[0] = 'B', b[1] = 'M';
    plat::PutU32(&b[2], static_cast<uint32_t>(b.size()));
    plat::PutU32(&b[10], 54);
    plat::PutU32(&b[14], 40);
    plat::PutU32(&b[18], static_cast<uint32_t>(w));
    plat::PutU32(&b[22], static_cast<uint32_t>(top_down ? -h : h));
    plat::PutU16(&b[26], 1);
    plat::PutU16(&b[28], 24);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const plat::Colour c = Map_Colour(x, y);
            const std::size_t stored = static_cast<std::size_t>(top_down ? y : h - 1 - y);
            uint8_t* p = &b[54 + stored * row + static_cast<std::size_t>(x) * 3];
            p[0] = static_cast<uint8_t>(plat::Blue(c));
            p[1] = static_cast<uint8_t>(plat::Green(c));
            p[2] = static_cast<uint8_t>(plat::Red(c));
        }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

}  // namespace testmaps
