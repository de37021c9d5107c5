// Feeds arbitrary bytes to the settings file reader: every key reads to a value or its default,
// never a crash, and the simulator's folder is either empty or a folder with its backslash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/project.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "core/syst.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / ("fuzz_settings_reader_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "Resource");
        App_Dir = dir.string();
        Ini_Path = App_Dir + "\\Resource\\Tessaline.Ini";
        return (dir / "Resource" / "Tessaline.Ini").string();
    }();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Pinit_Read_Settings();
    if (!Fs_Dir.empty() && Fs_Dir.back() != '\\' && Fs_Dir.back() != '/') std::abort();
    if (Fs_Dir.empty() != Texture_Dir.empty()) std::abort();
    // The limit holds in the file's code page: one byte there can be three in UTF-8.
    for (const std::string& recent : Recent_Projects)
        if (plat::Utf8ToCp1252(recent).size() > 255) std::abort();
    return 0;
}
