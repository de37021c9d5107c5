#include "support/bmp_files.h"

#include <cstdint>
#include <vector>

#include "platform/files.h"
#include "platform/gdi/bmp.h"

namespace testenv {

bool WriteBmp24(const std::string& path, int w, int h, const std::function<plat::Colour(int x, int y)>& colour) {
    plat::BmpFileHeader file;
    plat::BmpInfoHeader info;
    plat::MakeBmpHeaders(w, h, 24, 2834, file, info);
    const auto headers = plat::EncodeBmpHeaders(file, info);
    std::vector<uint8_t> bytes(headers.begin(), headers.end());
    const size_t pad = static_cast<size_t>(plat::BmpRowBytes(static_cast<uint64_t>(w), 24)) - static_cast<size_t>(w) * 3;
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const plat::Colour c = colour(x, y);
            bytes.push_back(static_cast<uint8_t>(plat::Blue(c)));
            bytes.push_back(static_cast<uint8_t>(plat::Green(c)));
            bytes.push_back(static_cast<uint8_t>(plat::Red(c)));
        }
        bytes.insert(bytes.end(), pad, 0);
    }
    return plat::WriteBinary(path, bytes);
}

bool WriteBmp24(const std::string& path, int w, int h, plat::Colour colour) {
    return WriteBmp24(path, w, h, [colour](int, int) { return colour; });
}

}  // namespace testenv
