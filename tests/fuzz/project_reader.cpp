// Feeds arbitrary bytes to the project reader: it must refuse or read them, never crash, hang
// or leave the project half replaced.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/erreur.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/syst.h"
#include "platform/headless/headless_host.h"

namespace {

std::string Scratch() {
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / ("fuzz_project_reader_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "Temp");
        App_Dir = dir.string();
        Ini_Path = App_Dir + "\\Tessaline.Ini";
        return (dir / "input.LWM").string();
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = Scratch();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    plat::HeadlessHost& host = plat::DefaultHeadlessHost();
    host.Reset();
    host.strict = false;  // message boxes answer OK, the conversion window closes unanswered

    PSais_Init_Arrays();
    const std::string before = Project_File_Text("x", "");
    Pinit_Read_Project(path);
    const std::string after = Project_File_Text("x", "");
    if (Project_Read_Failed == 1) {
        // A refused file leaves the project as it was (the first line holds the time).
        if (before.substr(before.find('\n')) != after.substr(after.find('\n'))) std::abort();
    } else if (Line_Count < 1 || Point_Count < 0 || Point_Count > Point_Table.UBound()) {
        std::abort();
    }
    return 0;
}
