// Open and redraw of the demo project through the main window (not a test), next to the same
// project whose frame is the whole world: 16384 LOD13 rows and 24576 columns on an 800 x 600
// map. Prints the time of each Open and the best of several redraws in each object mode.
//   bench_open_redraw <source folder> [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "app/window_hooks.h"
#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "platform/headless/headless_host.h"
#include "platform/profile.h"

namespace fs = std::filesystem;

namespace {

double Ms_Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Open(const fs::path& project, int runs) {
    plat::HeadlessHost& host = plat::DefaultHeadlessHost();
    Frm& f = Frm_Window();
    host.QueueAnswer(plat::ID_NO);
    f.Mnu_File_Close.UserClick();
    host.answers.clear();
    host.QueueFile(plat::FileDialogResult{false, project.string()});
    const auto start = std::chrono::steady_clock::now();
    f.Mnu_File_Open.UserClick();
    std::printf("%-14s open %9.2f ms (%s)\n", project.filename().c_str(), Ms_Since(start),
                Project_Open == 1 ? "opened" : "refused");
    const struct {
        const char* name;
        void (*click)();
    } modes[] = {{"lines", Frm_Cmd_Saisie_Routes_Click}, {"areas", Frm_Cmd_TrtArea_Click},
                 {"lod8", Frm_Cmd_TrtCell_Click},        {"exclusions", Frm_Cmd_Excl_Areas_Click},
                 {"land class", Frm_Cmd_LandClass_Click}, {"water class", Frm_Cmd_WaterClass_Click},
                 {"grid points", Frm_Cmd_TrtMesh_Click}};
    for (const auto& m : modes) {
        m.click();
        double best = 1e300;
        for (int r = 0; r < runs; ++r) {
            const auto t = std::chrono::steady_clock::now();
            PSais_Redraw_Map();
            best = std::min(best, Ms_Since(t));
        }
        std::printf("%-14s %-11s redraw %9.2f ms\n", project.filename().c_str(), m.name, best);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_open_redraw <source folder> [runs]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const fs::path source = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const fs::path root = fs::temp_directory_path() / ("bench_open_redraw_" + std::to_string(::getpid()));
    const fs::path app = root / "app";
    fs::create_directories(app / "Temp");
    fs::copy(source / "Resource", app / "Resource", fs::copy_options::recursive);
    fs::copy_file(source / "examples" / "Demo.bmp", root / "Demo.bmp");
    fs::copy_file(source / "examples" / "Demo.LWM", root / "Demo.LWM");
    // The same project framed on the whole world.
    std::ifstream in(source / "examples" / "Demo.LWM", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string world = text.str();
    const size_t frame = world.find("0010 ");
    world.replace(frame, world.find('\r', frame) - frame,
                  "0010   45.5  5.25  45.2  5.7  45.5  5.25  45.2  5.7  90 -180 -90  180");
    std::ofstream(root / "World.LWM", std::ios::binary) << world;

    const std::string ini = (app / "Resource" / "Tessaline.Ini").string();
    plat::WritePrivateProfileString("Tessaline", "Fl1Fois", "1", ini);
    plat::WritePrivateProfileString("Tessaline", "DirFS", (source / "examples" / "sim").string(), ini);
    plat::DefaultHeadlessHost().strict = false;
    // The program's own wiring of its windows, as at its start.
    Window_Hooks_Connect();
    if (!Frm_Start(app.string(), "")) return 1;
    Frm_Window().Pic.Move(0, 21, 1600, 1000);
    for (const char* name : {"Demo.LWM", "World.LWM", "Demo.LWM", "World.LWM"}) Open(root / name, runs);
    fs::remove_all(root);
    return 0;
}
