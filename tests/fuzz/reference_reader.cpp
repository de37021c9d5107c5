// Feeds arbitrary bytes to the reference file reader and to the listing of reference files:
// a file is either read whole (and remembered) or changes nothing, never crashes or hangs.
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
#include "dialogs/frm_route.h"
#include "dialogs/reference_files.h"
#include "platform/headless/headless_host.h"
#include "platform/text.h"

namespace {

std::string Scratch() {
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / ("fuzz_reference_reader_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "Resource");
        App_Dir = dir.string();
        Ini_Path = App_Dir + "\\Resource\\Tessaline.Ini";
        return (dir / "Resource" / "input.Ref").string();
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = Scratch();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    plat::HeadlessHost& host = plat::DefaultHeadlessHost();
    host.Reset();
    host.strict = false;  // message boxes answer OK

    Route_Attrib_Cur = Route_Attrib{};
    Route_Attrib_Cur.Text_Rt = "unchanged";
    Ref_Last_Path = "none";
    const std::string before = Ref_File_Text(Route_Attrib_Cur, "", "");
    Com_Load_Reference(path);
    const bool read = Ref_Last_Path == path;
    if (!read && (Ref_Last_Path != "none" || Ref_File_Text(Route_Attrib_Cur, "", "") != before)) std::abort();
    // Whatever was read writes back as a file that reads the same (lines the scanner cuts short
    // aside).
    const std::string text = Ref_File_Text(Route_Attrib_Cur, Ref_Last_Name, "");
    if (read && text.size() < 30000) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << plat::Utf8ToCp1252(text);
        Com_Load_Reference(path);
        if (Ref_Last_Path != path || Ref_File_Text(Route_Attrib_Cur, Ref_Last_Name, "") != text) std::abort();
    }

    Ref_List_Files();
    if (Ref_Count < 0 || static_cast<size_t>(Ref_Count) > Ref_File_Names.size()) std::abort();
    Ref_Clear_List();
    return 0;
}
