// Feeds arbitrary bytes to the texture definition reader, as the simulator's "Terrain.cfg" and
// as the program's "OwnLines4.txt": every section lands in the table of its category, and the
// tables stay within their bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path dir = [] {
        const auto d = std::filesystem::temp_directory_path() / ("fuzz_texture_cfg_reader_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d / "Resource");
        std::filesystem::create_directories(d / "FS9" / "Scenery");
        App_Dir = d.string();
        return d;
    }();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // The first half as the simulator's file, the rest as the program's own.
    std::ofstream(dir / "FS9" / "Terrain.cfg", std::ios::binary | std::ios::trunc) << bytes.substr(0, size / 2);
    std::ofstream(dir / "Resource" / "OwnLines4.txt", std::ios::binary | std::ios::trunc) << bytes.substr(size / 2);
    Fs_Dir = (dir / "FS9").string() + "\\";
    Texture_Dir.clear();
    Pinit_Load_Resources();
    if (Line_Type_Count < -1 || Line_Type_Count > Line_Type_Table.UBound()) std::abort();
    if (Park_Count < -1 || Park_Count > Park_Table.UBound()) std::abort();
    if ((Line_Type_Loaded == 1) != (Line_Type_Count >= 0) || (Park_Loaded == 1) != (Park_Count >= 0)) std::abort();
    for (int32_t i = 0; i <= Line_Type_Count; ++i) {
        const Texture_Def_Rec& t = Line_Type_Table(i);
        if ((t.Category != 0 && t.Category != 3) || t.Category != Texture_Category(t.Num)) std::abort();
    }
    for (int32_t i = 0; i <= Park_Count; ++i) {
        const Texture_Def_Rec& t = Park_Table(i);
        if ((t.Category != 1 && t.Category != 2) || t.Category != Texture_Category(t.Num)) std::abort();
    }
    return 0;
}
