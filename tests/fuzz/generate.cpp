// Turns arbitrary bytes into a small project of polygons and coastlines on a small map, opens it
// through the main window's Open and runs Generate with stand-in tools that only exit 0: whatever
// the shapes, every stage ends in bounded time without a sanitizer report.
//
// The map is 8 x 8 LOD13 cells of 16 pixels straddling a LOD8 corner (pixel 64 on both axes), so
// multiples of 16 pixels lie exactly on grid lines.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/window_hooks.h"
#include "core/grid.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/tiling.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "platform/headless/headless_host.h"
#include "platform/profile.h"
#include "setup/map_frame.h"

namespace fs = std::filesystem;

namespace {

constexpr int Map_Px = 128;          // bitmap side
constexpr double Cell_Px = 16;       // one LOD13 cell
constexpr int First_Sub = 28;        // the map's first LOD13 column and row within its LOD8 cell

struct Folders {
    fs::path app, project, out, file;
    std::string header;   // the project file up to its lines
    std::string trailer;  // the sections after them
};

// A 24-bit bitmap in two greens, so that the map loads and tiles like an author's.
void Write_Map(const fs::path& path) {
    const int row_bytes = Map_Px * 3;
    const uint32_t image = static_cast<uint32_t>(row_bytes * Map_Px), offset = 54;
    std::vector<uint8_t> b(offset + image, 0);
    auto put32 = [&b](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, offset + image);
    put32(10, offset);
    put32(14, 40);
    put32(18, Map_Px);
    put32(22, Map_Px);
    b[26] = 1;
    b[28] = 24;
    put32(34, image);
    for (int y = 0; y < Map_Px; ++y)
        for (int x = 0; x < Map_Px; ++x) {
            uint8_t* p = &b[offset + static_cast<size_t>(y) * row_bytes + static_cast<size_t>(x) * 3];
            p[0] = 60;
            p[1] = static_cast<uint8_t>(((x / 16 + y / 16) % 2) ? 130 : 100);
            p[2] = 70;
        }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// The sections before and after the lines, from the calibration the program itself derives.
void Make_Frame_Texts(Folders& d) {
    Cad_Frame_Input in;
    in.Lat_NW = 90.0 - 126 * Lod8_Height - First_Sub * Lod13_Height;
    in.Lon_NW = 395 * Lod8_Width - 180.0 + First_Sub * Lod13_Width;
    in.Lat_SE = in.Lat_NW - 8 * Lod13_Height;
    in.Lon_SE = in.Lon_NW + 8 * Lod13_Width;
    in.Px_SE_X = in.Px_SE_Y = Map_Px;
    in.Width = in.Height = Map_Px;
    Cad_Compute_Map_Edges(in);
    Cad_Compute_Map_Frame(in);

    std::string& h = d.header;
    h = "0000 V5.1  (5.1) 08/12/2026 12:00:00 Fuzz.LWM\r\n0002         \r\n0010 ";
    for (double v : {Map_Top_Lat, Map_Left_Lon, Map_Bottom_Lat, Map_Right_Lon, in.Lat_NW, in.Lon_NW, in.Lat_SE,
                     in.Lon_SE, Map_Lat_North, Map_Lon_West, Map_Lat_South, Map_Lon_East}) {
        h += ' ';
        Project_Append_Num(h, v);
    }
    h += "\r\n0017  0  0\r\n0018 \"out/\"\r\n0019 \"out\"\r\n0020 \"Fuzz.bmp\"\r\n0021 ";
    Project_Append_Num_Int(h, Map_Px);
    Project_Append_Num_Int(h, Map_Px);
    h += "\r\n0030 \"out/Fuzz.bgl\"\r\n0031 \"out/Fuzz_Excl.bgl\"\r\n0040 ";
    for (int16_t v : Grid_Corner_Cells) Project_Append_Num_Int(h, v);
    for (int16_t v : Grid_Frame_Cells) Project_Append_Num_Int(h, v);
    h += "\r\n0060  0  0 ";
    Project_Append_Num_Int(h, Map_Px);
    Project_Append_Num_Int(h, Map_Px);
    for (double v : {Map_Px_West, Map_Px_North, Map_Px_East, Map_Px_South}) {
        h += ' ';
        Project_Append_Num(h, v);
    }
    h += "\r\n0061  1  1\r\n0062  1  1  1\r\n0063  0  0  0\r\n";
    d.trailer = "0120  0\r\n0140  0\r\n0150  0\r\n0160  0\r\n0170  0\r\n0180  0\r\n0200  2  0  0\r\nEnd\r\n";
}

// The program started once in a scratch folder of its own, with the stand-in tools beside it.
const Folders& Start_Program() {
    static const Folders folders = [] {
        const fs::path source = TESSALINE_SOURCE_DIR;
        Folders d;
        static const fs::path root = fs::temp_directory_path() / ("fuzz_generate_" + std::to_string(::getpid()));
        // Each run's outputs stay until the next; the folder itself goes when the fuzzer ends.
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(root, ignored);
        });
        d.app = root / "app";
        d.project = root / "project";
        d.out = d.project / "out";
        d.file = d.project / "Fuzz.LWM";
        fs::create_directories(d.app / "Temp");
        fs::create_directories(d.out);
        fs::copy(source / "Resource", d.app / "Resource", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        for (const auto& tool : fs::directory_iterator(source / "tests" / "fixtures" / "tools")) {
            const fs::path to = d.app / tool.path().filename();
            fs::copy_file(tool.path(), to, fs::copy_options::overwrite_existing);
            fs::permissions(to, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
        }
        Write_Map(d.project / "Fuzz.bmp");
        const std::string ini = (d.app / "Resource" / "Tessaline.Ini").string();
        plat::WritePrivateProfileString("Tessaline", "Fl1Fois", "1", ini);
        plat::WritePrivateProfileString("Tessaline", "DirFS", (source / "examples" / "sim").string(), ini);
        plat::HeadlessHost& host = plat::DefaultHeadlessHost();
        host.strict = false;
        // The program's own wiring of its windows, as at its start.
        Window_Hooks_Connect();
        if (!Frm_Start(d.app.string(), "")) std::abort();
        // One tile the size of the map: the 2000-pixel tile would take most of each run.
        Tile_Size = Map_Px;
        Make_Frame_Texts(d);
        return d;
    }();
    return folders;
}

// The input read front to back; past its end every byte reads 0.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t Next16() { return static_cast<uint16_t>(Next() << 8 | Next()); }
    bool Done() const { return at_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// One coordinate: on a grid line in and around the map, anywhere near it, a little off a grid
// line, or far beyond the map and the world.
double Coordinate(Bytes& in, int mode) {
    static constexpr double Far[] = {1e3, -1e3, 1e6, -1e6, 1e10, -1e10, 1e18, -1e18, 1e300, -1e300, 3.4e38, -3.4e38};
    switch (mode) {
    case 0: return Cell_Px * (in.Next() % 17 - 4);
    case 1: return -64.0 + 256.0 * in.Next16() / 65535.0;
    case 2: return Cell_Px * (in.Next() % 17 - 4) + (static_cast<int>(in.Next()) - 128) / 512.0;
    default: return Far[in.Next() % std::size(Far)];
    }
}

struct Point {
    double x = 0, y = 0;
};

// One line block of the project file, as the program writes it.
void Append_Line(std::string& text, int32_t id, uint8_t kind, const std::vector<Point>& points) {
    const int shape = (kind & 0x1F) % 6;
    const bool coast = shape >= 4;
    const int16_t shore = coast ? 3 : shape >= 2 ? 1 : 0;
    const int16_t land = !coast && shape % 2;
    const int16_t land_on_right = shape == 5;
    const int16_t closed = coast ? (kind >> 7) : 1;
    text += "      \"shape\"\r\n      \"\"\r\n      ";
    Project_Append_Num_Int(text, id);
    Project_Append_Num_Int(text, static_cast<int64_t>(points.size()));
    text += "  0";
    for (int64_t v : {int64_t{land}, int64_t{land_on_right}, int64_t{2000}, int64_t{4}, int64_t{shore},
                      int64_t{closed}, int64_t{22}, int64_t{0}, int64_t{0}, int64_t{0}, int64_t{0}, int64_t{17}})
        Project_Append_Num_Int(text, v);
    text += "  0  0  0  0  0  0  0  0  0  0\r\n";
    for (int i = 0; i < 6; ++i) text += "     \"\"\r\n";
    for (const Point& p : points) {
        text += "      ";
        Project_Append_Num(text, p.x);
        text += ' ';
        Project_Append_Num(text, p.y);
        text += "\r\n";
    }
}

// Up to six shapes of 2 to 32 points. A shape's first byte: its kind (bits 0-4 modulo 6: water,
// land, water with shore, land with shore, coastline, coastline with its land on the right),
// 0x20 draws it without crossing itself, 0x40 repeats its first point at its end, 0x80 closes a
// coastline by its option. Each point's byte: 0xFF repeats the previous point, else bits 0-1 and
// 2-3 choose how x and y are read. Drawn without crossing, a polygon's points go round its first
// one at a radius of 4 to 256 pixels (the byte's bits 2-7) and a coastline's go east by 4 to 64
// pixels (bits 2-5) at a y read as bits 6-7 choose.
std::string Project_Text(const Folders& d, Bytes& in) {
    std::string lines;
    const int shapes = 1 + in.Next() % 6;
    int32_t count = 1, points = 0;
    for (int s = 0; s < shapes && !in.Done(); ++s) {
        const uint8_t kind = in.Next();
        const bool simple = kind & 0x20, coast = (kind & 0x1F) % 6 >= 4;
        const int n = 2 + in.Next() % 31;
        std::vector<Point> shape;
        Point at;
        for (int i = 0; i < n; ++i) {
            const uint8_t how = in.Next();
            if (how == 0xFF && !shape.empty()) {
                shape.push_back(shape.back());
                continue;
            }
            Point p;
            if (!simple || i == 0) {
                p.x = Coordinate(in, how & 3);
                p.y = Coordinate(in, (how >> 2) & 3);
                at = p;
            } else if (coast) {
                at.x += 4.0 * (1 + (how >> 2) % 16);
                p = {at.x, Coordinate(in, how >> 6)};
            } else {
                const double r = 4.0 * (1 + (how >> 2)), t = 6.283185307179586 * i / n;
                p = {at.x + r * std::cos(t), at.y + r * std::sin(t)};
            }
            shape.push_back(p);
        }
        if (kind & 0x40) shape.push_back(shape.front());
        Append_Line(lines, ++count, kind, shape);
        points += static_cast<int32_t>(shape.size());
    }
    std::string text = d.header + "0100 ";
    Project_Append_Num_Int(text, count);
    Project_Append_Num_Int(text, count);
    Project_Append_Num_Int(text, points);
    text += "\r\n      \"\"\r\n      \"\"\r\n      ";
    for (int i = 0; i < 25; ++i) text += " 0";
    text += "\r\n";
    for (int i = 0; i < 6; ++i) text += "     \"\"\r\n";
    return text + lines + d.trailer;
}

// What the stand-in tools and the last run left: their log and copies would grow without end.
void Clear_Outputs(const Folders& d) {
    std::error_code ignored;
    fs::remove_all(d.app / "handed", ignored);
    fs::remove(d.app / "tools.log", ignored);
    fs::remove(d.app / "tools.count", ignored);
    for (const auto& entry : fs::directory_iterator(d.out, ignored)) fs::remove_all(entry.path(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Folders& d = Start_Program();
    plat::HeadlessHost& host = plat::DefaultHeadlessHost();
    host.Reset();
    host.strict = false;  // boxes answer OK, windows shown modally close unanswered
    Frm& f = Frm_Window();

    // The last input's project is closed unsaved before this one is written over it.
    host.QueueAnswer(plat::ID_NO);
    f.Mnu_File_Close.UserClick();
    host.answers.clear();
    Clear_Outputs(d);

    Bytes in(data, size);
    {
        const std::string text = Project_Text(d, in);
        std::ofstream out(d.file, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    host.QueueFile(plat::FileDialogResult{false, d.file.string()});
    f.Mnu_File_Open.UserClick();
    // Every input makes a sound project file: one that does not open is the program's fault.
    if (Project_Open != 1) std::abort();
    f.Cmd_API.UserClick();
    return 0;
}
