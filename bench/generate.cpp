// Generate of three large projects through the headless main window (not a test), with tools
// that only exit 0: `lakes`, 1 000 lakes of 4 000 points, `roads`, 20 000 night-lit roads of 50
// points, and `coast`, a winding shore and islands of 100 points, 100 000 points in all (or the
// number given, 1 000 to 100 000: the shore runs that share of the map's width, its points as
// close, with as many islands off it; a longer shore would run off the map and back across
// itself), all on a 10 000 x 5 000 map. Each project is written as a project file, opened
// and generated several times; per project it prints the best Generate, the bytes of sources it
// wrote, the median over the runs of its writing of the sources against a plain 1 MB-buffered
// write of the same bytes with fsync timed in the same run, and its lowest peak resident memory
// above the open project over those bytes.
//   bench_generate <source folder> [runs] [lakes|roads|coast] [coast points]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "app/window_hooks.h"
#include "core/project.h"
#include "core/project_file.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "generation/writer_base.h"
#include "platform/headless/headless_host.h"
#include "platform/profile.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMapWidth = 10000, kMapHeight = 5000;
constexpr double kPi = 3.14159265358979323846;

double Seconds_Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A field of /proc/self/status, in bytes.
double Status_Bytes(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + std::string(field).size()) * 1024.0;
    return 0;
}

// The high-water mark back to what is resident now; false when the system refuses.
bool Reset_Peak() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

// A 24-bit bitmap of the map's size, all black.
void Write_Map(const fs::path& path) {
    const uint32_t row = kMapWidth * 3, size = 54 + row * kMapHeight;
    unsigned char head[54] = {'B', 'M'};
    auto put = [&](int at, uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k) head[at + k] = static_cast<unsigned char>(v >> (8 * k));
    };
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, kMapWidth, 4);
    put(22, kMapHeight, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, row * kMapHeight, 4);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(head), sizeof head);
    const std::string zeros(row, '\0');
    for (int y = 0; y < kMapHeight; ++y) out.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
}

// The frame: 10 x 5 LOD8 cells of 1 000 pixels from 45 N, 0 E.
void Set_Frame(const fs::path& map) {
    Map_File = map.string();
    Map_Width_Px = kMapWidth;
    Map_Height_Px = kMapHeight;
    Map_Top_Lat = Proj_Lat_NW = Map_Lat_North = 45.0;
    Map_Left_Lon = Proj_Lon_NW = Map_Lon_West = 0.0;
    Map_Bottom_Lat = Proj_Lat_SE = Map_Lat_South = 45.0 - 360.0 / 8192 * 5;
    Map_Right_Lon = Proj_Lon_SE = Map_Lon_East = 480.0 / 8192 * 10;
    Proj_Px_NW_X = Proj_Px_NW_Y = 0;
    Proj_Px_SE_X = kMapWidth;
    Proj_Px_SE_Y = kMapHeight;
    Map_Px_West = Map_Px_North = 0;
    Map_Px_East = kMapWidth;
    Map_Px_South = kMapHeight;
}

// 40 x 25 lakes: closed polygons with a shore, each a wobbly ring of 4 000 points.
void Make_Lakes(const Route_Attrib& like) {
    Route_Attrib a = like;
    a.SurfShore = 1;
    a.FermerLine = 1;
    a.Line_Night = 0;
    for (int j = 0; j < 25; ++j)
        for (int i = 0; i < 40; ++i) {
            a.Text_Rt = "Lake " + std::to_string(j * 40 + i);
            const int32_t line = Project_Append_Line(a);
            const double cx = (i + 0.5) * 250, cy = (j + 0.5) * 200, r = 80;
            for (int k = 0; k < 4000; ++k) {
                const double t = 2 * kPi * k / 4000;
                const double rr = r * (0.8 + 0.2 * std::cos(7 * t + i + j));
                Project_Append_Point(line, std::round((cx + rr * std::cos(t)) * 100) / 100,
                                     std::round((cy + rr * std::sin(t)) * 100) / 100);
            }
        }
}

// Roads lit at night: open lines of 50 points, random walks of steps up to 40 pixels.
void Make_Roads(const Route_Attrib& like) {
    Route_Attrib a = like;
    a.SurfShore = 2;
    a.FermerLine = 0;
    a.Line_Night = 1;
    std::mt19937 rng(28);
    std::uniform_real_distribution<double> sx(100, kMapWidth - 100), sy(100, kMapHeight - 100), step(-40, 40);
    for (int l = 0; l < 20000; ++l) {
        a.Text_Rt = "Road " + std::to_string(l);
        const int32_t line = Project_Append_Line(a);
        double x = sx(rng), y = sy(rng);
        for (int k = 0; k < 50; ++k) {
            Project_Append_Point(line, std::round(x * 100) / 100, std::round(y * 100) / 100);
            x = std::clamp(x + step(rng), 1.0, kMapWidth - 2.0);
            y = std::clamp(y + step(rng), 1.0, kMapHeight - 2.0);
        }
    }
}

// Coastlines: a shore from beyond the west edge, winding in bays 600 pixels apart and up to
// 1 200 deep, the sea south of it, then north out of the map; islands of 100 points on a grid
// 125 pixels apart south of it. Half the points are the shore's, a point every 1.3 pixels or so
// along it; the shore's length and the islands' count follow `points`. Returns the points drawn.
int Make_Coast(const Route_Attrib& like, int points) {
    Route_Attrib a = like;
    a.SurfShore = 3;
    a.FermerLine = 0;
    a.Line_Night = 0;
    a.LandOnRight = 0;
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    const double share = points / 100000.0;
    auto shore_y = [](double x) {
        return 2500 + 1200 * std::sin(2 * kPi * x / 600) * (0.6 + 0.4 * std::sin(x / 1700)) + 60 * std::sin(x / 37);
    };
    a.Text_Rt = "Shore";
    int32_t line = Project_Append_Line(a);
    const int shore_points = points / 2;
    // Steps along x that keep about the same length along the shore.
    double length = 0;
    for (double x = 0; x < kMapWidth; x += 1) length += std::hypot(1.0, shore_y(x + 1) - shore_y(x));
    const double spacing = length / 50000;
    Project_Append_Point(line, -50, shore_y(0));
    int drawn = 1;
    double x = 0;
    for (; drawn < shore_points - 1 && x < kMapWidth * share; ++drawn) {
        const double slope = shore_y(x + 0.01) - shore_y(x);
        Project_Append_Point(line, std::round(x * 100) / 100, std::round((shore_y(x) + jitter(rng)) * 100) / 100);
        x += spacing / std::hypot(1.0, slope / 0.01);
    }
    // Out of the map east, or north where the shore stops short of the east edge.
    if (x >= kMapWidth) Project_Append_Point(line, kMapWidth + 50, shore_y(x));
    else Project_Append_Point(line, std::round(x * 100) / 100, -50);
    ++drawn;
    for (int i = 0; i < (points - shore_points) / 100; ++i) {
        const int col = i / 8, row = i % 8;
        const double cx = 62.5 + col * 125, cy = 4000 + row * 125, r = 20 + 30 * ((i * 37) % 10) / 10.0;
        a.Text_Rt = "Island " + std::to_string(i);
        line = Project_Append_Line(a);
        // Turning so that the island's land lies left of its shore, the sea right; closed.
        for (int k = 0; k <= 100; ++k) {
            const double t = -2 * kPi * (k % 100) / 100;
            const double rr = r * (0.75 + 0.25 * std::cos(5 * t + i));
            Project_Append_Point(line, std::round((cx + rr * std::cos(t)) * 100) / 100,
                                 std::round((cy + rr * std::sin(t)) * 100) / 100);
        }
        drawn += 101;
    }
    return drawn;
}

// The same bytes written plainly: a 1 MB buffer at a time, then fsync.
double Plain_Write_Seconds(const std::string& bytes, const fs::path& path) {
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return 0;
    std::string buffer;
    buffer.reserve(1 << 20);
    for (size_t at = 0; at < bytes.size(); at += 1 << 20) {
        buffer.assign(bytes, at, 1 << 20);
        if (::write(fd, buffer.data(), buffer.size()) < 0) break;
    }
    ::fsync(fd);
    ::close(fd);
    const double s = Seconds_Since(start);
    fs::remove(path);
    return s;
}

struct Run {
    double generate = 0, mb = 0, ratio = 0, peak_per_byte = 0;
    std::string box;  // the first message Generate showed, if any
};

Run Generate_Once(const fs::path& project, const fs::path& root) {
    plat::HeadlessHost& host = plat::DefaultHeadlessHost();
    Frm& f = Frm_Window();
    host.QueueAnswer(plat::ID_NO);
    f.Mnu_File_Close.UserClick();
    host.answers.clear();
    host.QueueFile(plat::FileDialogResult{false, project.string()});
    f.Mnu_File_Open.UserClick();
    host.boxes.clear();
    Gen_Reset_Sources_Written();
    const bool reset = Reset_Peak();
    const double before = Status_Bytes("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    f.Cmd_API.UserClick();
    Run run;
    run.generate = Seconds_Since(start);
    if (!host.boxes.empty()) run.box = host.boxes.front().prompt.substr(0, 100);
    const double peak = Status_Bytes("VmHWM:") - (reset ? before : 0);
    double bytes = 0, writing = 0, plain = 0;
    for (const Gen_Source_Record& source : Gen_Sources_Written()) {
        bytes += static_cast<double>(source.Bytes);
        writing += source.Seconds;
        std::string text;
        std::ifstream in(source.Path, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        plain += Plain_Write_Seconds(text, root / "plain.bin");
    }
    run.mb = bytes / 1e6;
    run.ratio = plain > 0 ? writing / plain : 0;
    run.peak_per_byte = bytes > 0 ? peak / bytes : 0;
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_generate <source folder> [runs] [lakes|roads|coast] [coast points]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const fs::path source = fs::absolute(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string only = argc > 3 ? argv[3] : "";
    const int coast_points = argc > 4 ? std::clamp(std::atoi(argv[4]), 1000, 100000) : 100000;
    const char* tmp = std::getenv("TMPDIR");
    const fs::path root = fs::path(tmp ? tmp : "/tmp") / ("bench_generate_" + std::to_string(::getpid()));
    const fs::path app = root / "app";
    fs::create_directories(app / "Temp");
    fs::create_directories(root / "out");
    fs::copy(source / "Resource", app / "Resource", fs::copy_options::recursive);
    for (const char* tool : {"bglc.exe", "scasm.exe", "tmf2bgl.exe", "tmfcompress.exe", "Resample.exe", "ResampleV11.exe"}) {
        const fs::path path = app / tool;
        std::ofstream(path) << "#!/bin/sh\nexit 0\n";
        fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    }
    fs::copy_file(source / "examples" / "Demo.bmp", root / "Demo.bmp");
    fs::copy_file(source / "examples" / "Demo.LWM", root / "Demo.LWM");
    Write_Map(root / "Map.bmp");
    const std::string ini = (app / "Resource" / "Tessaline.Ini").string();
    plat::WritePrivateProfileString("Tessaline", "Fl1Fois", "1", ini);
    plat::WritePrivateProfileString("Tessaline", "DirFS", (source / "examples" / "sim").string() + "/", ini);
    plat::HeadlessHost& host = plat::DefaultHeadlessHost();
    host.strict = false;
    // The program's own wiring of its windows, as at its start.
    Window_Hooks_Connect();
    if (!Frm_Start(app.string(), (root / "Demo.LWM").string())) return 1;

    // The demo's lake and road lend their attributes; the projects are saved as a person would.
    const Route_Attrib lake = Line_Table(2).Attr, road = Line_Table(Line_Count).Attr;
    for (const char* name : {"lakes", "roads", "coast"}) {
        if (!only.empty() && only != name) continue;
        host.QueueAnswer(plat::ID_NO);
        Frm_Window().Mnu_File_Close.UserClick();
        host.answers.clear();
        host.QueueFile(plat::FileDialogResult{false, (root / "Demo.LWM").string()});
        Frm_Window().Mnu_File_Open.UserClick();
        PSais_Init_Arrays();
        Set_Frame(root / "Map.bmp");
        Bgl_Base_Path = (root / "out" / (std::string(name) + ".bgl")).string();
        int drawn = 0;
        if (std::string(name) == "lakes")
            Make_Lakes(lake);
        else if (std::string(name) == "roads")
            Make_Roads(road);
        else
            drawn = Make_Coast(lake, coast_points);
        const fs::path project = root / (std::string(name) + ".LWM");
        Pinit_Save_Project(1, project.string());
        if (Project_Save_Failed != 0) return 1;

        std::vector<Run> results;
        for (int r = 0; r < runs; ++r) results.push_back(Generate_Once(project, root));
        auto median = [&](double Run::*field) {
            std::vector<double> v;
            for (const Run& run : results) v.push_back(run.*field);
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        double best = 1e300, peak = 1e300;
        for (const Run& run : results) {
            best = std::min(best, run.generate);
            peak = std::min(peak, run.peak_per_byte);
        }
        if (drawn > 0) std::printf("points %s: %d\n", name, drawn);
        std::printf("generate %s: %.2f s\n", name, best);
        if (!results.front().box.empty()) std::printf("message %s: %s\n", name, results.front().box.c_str());
        std::printf("sources %s: %.1f MB\n", name, median(&Run::mb));
        std::printf("write ratio %s: %.2f\n", name, median(&Run::ratio));
        std::printf("peak per byte %s: %.2f\n", name, peak);
    }
    fs::remove_all(root);
    return 0;
}
