// Feeds arbitrary bytes to the texture converter and the raw texture expansion: every stage
// stays inside its buffers, and a status 0 always leaves a readable 24-bit bitmap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/texture_convert.h"
#include "platform/gdi/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path dir = [] {
        const auto d = std::filesystem::temp_directory_path() / ("fuzz_texture_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    const std::vector<uint8_t> bytes(data, data + size);
    std::vector<uint8_t> raw;
    if (Servitudes_Expand_R8(bytes, raw) && raw.size() != 65536) std::abort();

    const std::string src = (dir / "src.bin").string(), dst = (dir / "dst.bmp").string();
    std::ofstream(src, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::filesystem::remove(dst);
    std::string description;
    int16_t status = -1;
    Servitudes_Convert_Texture(src, Servitudes_Grey_Palette(), dst, description, status);
    if (status < 0 || status > 2) std::abort();
    if (status == 0) {
        plat::BmpImage image;
        if (description.empty() || plat::LoadBmpFile(dst, image) != plat::BmpStatus::Ok) std::abort();
    } else if (std::filesystem::exists(dst)) {
        std::abort();
    }
    return 0;
}
