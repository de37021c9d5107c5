// Opens arbitrary bytes as a project through the main window's Open command, beside the demo's
// map, then redraws the map once in each object mode: a file is refused or opened, and whatever
// it holds is drawn in bounded time without a sanitizer report.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "app/window_hooks.h"
#include "core/project.h"
#include "core/project_file.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/object_modes.h"
#include "platform/headless/headless_host.h"
#include "platform/profile.h"

namespace fs = std::filesystem;

namespace {

// The program started once in a scratch folder of its own; the project goes beside a copy of the
// demo's map.
std::string Start_Program() {
    static const std::string project = [] {
        const fs::path source = TESSALINE_SOURCE_DIR;
        const fs::path root = fs::temp_directory_path() / ("fuzz_open_and_redraw_" + std::to_string(::getpid()));
        const fs::path app = root / "app";
        fs::create_directories(app / "Temp");
        fs::create_directories(root / "project");
        fs::copy(source / "Resource", app / "Resource", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::copy_file(source / "examples" / "Demo.bmp", root / "project" / "Demo.bmp", fs::copy_options::overwrite_existing);
        const std::string ini = (app / "Resource" / "Tessaline.Ini").string();
        plat::WritePrivateProfileString("Tessaline", "Fl1Fois", "1", ini);
        plat::WritePrivateProfileString("Tessaline", "DirFS", (source / "examples" / "sim").string(), ini);
        plat::HeadlessHost& host = plat::DefaultHeadlessHost();
        host.strict = false;
        // The program's own wiring of its windows, as at its start.
        Window_Hooks_Connect();
        if (!Frm_Start(app.string(), "")) std::abort();
        return (root / "project" / "Demo.LWM").string();
    }();
    return project;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = Start_Program();
    plat::HeadlessHost& host = plat::DefaultHeadlessHost();
    host.Reset();
    host.strict = false;  // boxes answer OK, windows shown modally close unanswered
    Frm& f = Frm_Window();

    // The last input's project is closed unsaved before this one is written over it.
    host.QueueAnswer(plat::ID_NO);
    f.Mnu_File_Close.UserClick();
    host.answers.clear();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    host.QueueFile(plat::FileDialogResult{false, path});
    f.Mnu_File_Open.UserClick();
    if (Project_Open != 1) return 0;

    // Each mode's button redraws the map with that mode's layers.
    for (void (*mode)() : {Frm_Cmd_Saisie_Routes_Click, Frm_Cmd_TrtArea_Click, Frm_Cmd_TrtCell_Click,
                           Frm_Cmd_Excl_Areas_Click, Frm_Cmd_LandClass_Click, Frm_Cmd_WaterClass_Click,
                           Frm_Cmd_TrtMesh_Click})
        mode();
    return 0;
}
