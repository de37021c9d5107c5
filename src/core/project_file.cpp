#include "core/project_file.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <future>
#include <limits>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "core/erreur.h"
#include "core/project.h"
#include "core/project_paths.h"
#include "core/texture_convert.h"
#include "core/syst.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "setup/frm_v24.h"
#include "setup/setup_services.h"

std::array<std::string, 4> Recent_Projects;
int16_t Project_Read_Failed = 0;
int16_t Project_Save_Failed = 0;
Project_Read_Spread_Rec Project_Read_Spread;
Project_Window_Hooks Project_Window;

namespace {

bool English() { return Language == "US"; }

// The most threads a large project's save or read is spread over.
size_t Part_Threads() { return static_cast<size_t>(std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 8)); }

// Runs job(0) .. job(parts - 1): part 0 on this thread, the others on threads of their own (or here
// when none can be had); returns when all are done. The first part to fail, in part order, is
// the failure passed on.
template <class Job>
void Run_Parts(size_t parts, const Job& job) {
    std::vector<std::future<void>> jobs;
    for (size_t part = 1; part < parts; ++part) {
        try {
            jobs.push_back(std::async(std::launch::async, [&job, part] { job(part); }));
        } catch (const std::system_error&) {
            jobs.push_back(std::async(std::launch::deferred, [&job, part] { job(part); }));
        }
    }
    std::exception_ptr first;
    try {
        job(0);
    } catch (...) {
        first = std::current_exception();
    }
    for (std::future<void>& j : jobs) {
        try {
            j.get();
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    if (first) std::rethrow_exception(first);
}

// ---------------------------------------------------------------------------------------------
// Numbers

// NUM(v): |value| rounded to 15 significant digits (7 for a float) as %G would, trailing zeros
// dropped, laid out without the zero before the point; a blank or "-" in front.

// Room for the longest number text ("-1.23456789012345E-308" and the like), with the slack that
// the fixed-size copies below write past the text's end.
constexpr size_t Num_Text_Max = 48;

// The eight digits of v < 1E8 as one word, the most significant digit in the lowest byte, each
// byte the digit's value: divisions by constants in two 32-bit, then four 16-bit lanes at once.
uint64_t Digit_Word(uint32_t v) {
    static_assert(std::endian::native == std::endian::little, "digit words are stored low byte first");
    uint64_t merged = (v / 10000) | (static_cast<uint64_t>(v % 10000) << 32);
    const uint64_t hundreds = ((merged * 10486) >> 20) & ((uint64_t{0x7F} << 32) | 0x7F);
    merged = hundreds | ((merged - hundreds * 100) << 16);
    const uint64_t tens = ((merged * 103) >> 10) & 0x000F000F000F000FULL;
    return tens | ((merged - tens * 10) << 8);
}

// `n` significant digits d.ddd x 10^exponent without an exponent, for -4 <= exponent < 15.
char* Write_Fixed(char* q, const char* digits, int n, int exponent) {
    if (exponent < 0) {
        *q++ = '.';
        std::memset(q, '0', static_cast<size_t>(-exponent - 1));
        q += -exponent - 1;
        std::memcpy(q, digits, static_cast<size_t>(n));
        return q + n;
    }
    if (n <= exponent + 1) {
        std::memcpy(q, digits, static_cast<size_t>(n));
        q += n;
        std::memset(q, '0', static_cast<size_t>(exponent + 1 - n));
        return q + (exponent + 1 - n);
    }
    std::memcpy(q, digits, static_cast<size_t>(exponent + 1));
    q += exponent + 1;
    *q++ = '.';
    std::memcpy(q, digits + exponent + 1, static_cast<size_t>(n - exponent - 1));
    return q + (n - exponent - 1);
}

// Whole numbers, exact halves at the 15th digit, floats and magnitudes outside 1E-04..1E+15,
// through the standard conversion.
char* Write_Real_General(char* q, double magnitude, bool is_float) {
    if (magnitude < (is_float ? 1e7 : 1e15) && magnitude == std::floor(magnitude))
        return std::to_chars(q, q + 24, static_cast<int64_t>(magnitude)).ptr;
    const int precision = is_float ? 7 : 15;
    char buf[Num_Text_Max];
    const std::to_chars_result r =
        is_float ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(magnitude), std::chars_format::scientific, precision - 1)
                 : std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision - 1);
    // buf: d.dddddde±XX
    const char* e = buf;
    while (e < r.ptr && *e != 'e') ++e;
    int exponent = 0;
    {
        const char* x = e + 1;
        const bool negative = *x == '-';
        ++x;
        for (; x < r.ptr; ++x) exponent = exponent * 10 + (*x - '0');
        if (negative) exponent = -exponent;
    }
    // The significant digits without the point and without trailing zeros.
    char digits[24];
    int n = 0;
    for (const char* c = buf; c < e; ++c)
        if (*c != '.') digits[n++] = *c;
    while (n > 1 && digits[n - 1] == '0') --n;
    if (exponent >= -4 && exponent < precision) return Write_Fixed(q, digits, n, exponent);
    *q++ = digits[0];
    if (n > 1) {
        *q++ = '.';
        std::memcpy(q, digits + 1, static_cast<size_t>(n - 1));
        q += n - 1;
    }
    *q++ = 'E';
    *q++ = exponent < 0 ? '-' : '+';
    const int a = std::abs(exponent);
    if (a < 10) *q++ = '0';
    return std::to_chars(q, q + 8, a).ptr;
}

// Writes the text at q, which has Num_Text_Max characters of room, and returns its end.
char* Write_Real(char* q, double value, bool is_float) {
    if (!std::isfinite(value)) value = 0;  // a NaN or infinity has no text that reads back
    *q++ = value < 0 ? '-' : ' ';
    const double magnitude = std::fabs(value);
    // The common case, 1E-04 <= magnitude < 1E+15: magnitude = mantissa / 2^shift exactly, so
    // its 15 digits are one 128-bit product and a shift, with the exact remainder deciding the
    // rounding.
    if (!is_float && magnitude >= 1e-4 && magnitude < 1e15) {
        static constexpr uint64_t pow10[] = {1ULL,
                                             10ULL,
                                             100ULL,
                                             1000ULL,
                                             10000ULL,
                                             100000ULL,
                                             1000000ULL,
                                             10000000ULL,
                                             100000000ULL,
                                             1000000000ULL,
                                             10000000000ULL,
                                             100000000000ULL,
                                             1000000000000ULL,
                                             10000000000000ULL,
                                             100000000000000ULL,
                                             1000000000000000ULL,
                                             10000000000000000ULL,
                                             100000000000000000ULL,
                                             1000000000000000000ULL};
        // The negative powers as doubles all lie just above the exact ones, so a magnitude at
        // or above bounds[e + 4] is at least 10^e.
        static constexpr double bounds[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0,  1e1,  1e2,  1e3,  1e4,  1e5,
                                            1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const uint64_t bits = std::bit_cast<uint64_t>(magnitude);
        const int biased = static_cast<int>(bits >> 52);
        const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
        const int shift = 1075 - biased;  // 3..66 over this range
        // floor(log10(2^k)) for magnitude in [2^k, 2^(k+1)): the decimal exponent or one below.
        int exponent = std::max((biased - 1023) * 78913 >> 18, -5);
        if (magnitude >= bounds[exponent + 5]) ++exponent;
        using u128 = unsigned __int128;
        const u128 product = static_cast<u128>(mantissa) * pow10[14 - exponent];
        uint64_t scaled = 0, rest = 0, half = 0;  // rest against half: the rounding
        if (shift < 64) {
            const uint64_t low = static_cast<uint64_t>(product);
            scaled = static_cast<uint64_t>(product >> 64) << (64 - shift) | low >> shift;
            rest = low & ((uint64_t{1} << shift) - 1);
            half = uint64_t{1} << (shift - 1);
        } else {  // magnitudes below 2^-11
            scaled = static_cast<uint64_t>(product >> shift);
            const u128 r = product & ((u128{1} << shift) - 1), h = u128{1} << (shift - 1);
            rest = r > h ? 2 : r == h ? 1 : 0;
            half = 1;
        }
        if (rest > half) ++scaled;
        // An exact half is left to the standard conversion, whose tie rule the file keeps.
        if (rest != half) {
            if (scaled >= 1000000000000000ULL) {  // rounding carried into a 16th digit
                scaled /= 10;
                ++exponent;
            }
            if (exponent < 15 && scaled >= 100000000000000ULL) {
                // Sixteen digits with a leading zero, the 15 significant ones from digits[0]. The
                // copies are of fixed size: the length returned cuts off what lies past the text.
                const uint64_t high = Digit_Word(static_cast<uint32_t>(scaled / 100000000));
                const uint64_t low = Digit_Word(static_cast<uint32_t>(scaled % 100000000));
                constexpr uint64_t ascii = 0x3030303030303030ULL;
                char buf[40] = {};
                char* digits = buf + 8;
                const uint64_t high_text = high + ascii, low_text = low + ascii;
                std::memcpy(digits - 1, &high_text, 8);
                std::memcpy(digits + 7, &low_text, 8);
                // Trailing zero digits are the zero bytes at the high end of the words.
                const int n = low != 0 ? 15 - std::countl_zero(low) / 8 : 7 - std::countl_zero(high) / 8;
                if (exponent < 0) {
                    std::memcpy(q, ".000", 4);
                    std::memcpy(q - exponent, digits, 16);
                    return q - exponent + n;
                }
                std::memcpy(q, digits, 16);
                if (n <= exponent + 1) return q + exponent + 1;
                q[exponent + 1] = '.';
                std::memcpy(q + exponent + 2, digits + exponent + 1, 16);
                return q + n + 1;
            }
        }
    }
    return Write_Real_General(q, magnitude, is_float);
}

char* Write_Int(char* q, int64_t value) {
    if (value >= 0) *q++ = ' ';
    return std::to_chars(q, q + 24, value).ptr;
}

void Append_Real(std::string& out, double value, bool is_float) {
    char buf[Num_Text_Max];
    out.append(buf, Write_Real(buf, value, is_float));
}

// ---------------------------------------------------------------------------------------------
// Writer

// A stored text made safe for a quoted field; `cp1252`: as it goes to disk. The rest of the file
// is ASCII, so only a text with a byte >= 0x80 needs converting.
void Append_Safe(std::string& out, std::string_view text, bool cp1252) {
    const size_t at = out.size();
    bool high = false;
    out.append(text);
    for (size_t i = at; i < out.size(); ++i) {
        char& c = out[i];
        if (c == '"') c = '\'';
        else if (c == '\r' || c == '\n') c = ' ';
        else if (static_cast<unsigned char>(c) >= 0x80) high = true;
    }
    if (cp1252 && high) {
        const std::string converted = plat::Utf8ToCp1252(std::string_view(out).substr(at));
        out.resize(at);
        out += converted;
    }
}

void Append_Quoted(std::string& out, std::string_view text, bool cp1252) {
    out += '"';
    Append_Safe(out, text, cp1252);
    out += '"';
}

constexpr const char* Eol = "\r\n";
constexpr const char* B5 = "     ";
constexpr const char* B6 = "      ";

// The chain of a line as it is written: from the first point along the next links, ending after
// the last point. A damaged chain (a loop, an id outside the table) ends the walk early, so the
// count written always matches the point lines that follow.
void Chain_For_Writing(const Line_Rec& line, std::vector<int32_t>& ids) {
    ids.clear();
    if (line.Nb_Points == 0) return;
    const int32_t limit = std::min(Point_Count, Point_Table.UBound());
    const auto points = Point_Table.begin();  // entry id at points[id - 1]; ids checked below
    int32_t id = line.First_Point;
    while (id >= 1 && id <= limit && static_cast<int32_t>(ids.size()) < limit) {
        ids.push_back(id);
        if (id == line.Last_Point) break;
        id = points[id - 1].Next_Point;
    }
}

// The longest point line: six blanks, two numbers of at most 22 characters, a blank, CR LF.
constexpr size_t Point_Line_Max = 6 + 2 * 22 + 1 + 2;

void Append_Line_Block(std::string& out, const Line_Rec& line, std::vector<int32_t>& chain, bool cp1252) {
    const Route_Attrib& a = line.Attr;
    Chain_For_Writing(line, chain);
    out += B6; Append_Quoted(out, a.Text_Rt, cp1252); out += Eol;
    out += B6; Append_Quoted(out, a.Imbrication, cp1252); out += Eol;
    out += B6;
    Project_Append_Num_Int(out, line.Line_Id);
    out += ' '; Project_Append_Num_Int(out, static_cast<int64_t>(chain.size()));
    out += ' '; Project_Append_Num(out, a.Alti);
    for (int64_t v : {int64_t{a.Attrib}, int64_t{a.LandOnRight}, int64_t{a.Type_Code}, int64_t{a.Largeur},
                      int64_t{a.SurfShore}, int64_t{a.FermerLine}, int64_t{a.Layer}, int64_t{a.Image_Link},
                      int64_t{a.LWM_VTP2}, int64_t{a.LandClass_Source}, int64_t{a.LC_Code},
                      int64_t{a.Layer_Vtp2}}) {
        out += ' '; Project_Append_Num_Int(out, v);
    }
    out += ' '; Project_Append_Num(out, a.Alt_Coast);
    for (int64_t v : {int64_t{a.Line_Night}, int64_t{a.Drive_Right}, int64_t{a.LayerScasm}, int64_t{a.Vtp1_Line},
                      int64_t{a.Effil_Deb}, int64_t{a.Effil_Fin}, int64_t{a.VTP1_SpecNor},
                      int64_t{a.Flip_VTP1Texture}, int64_t{a.Meter_Feet}}) {
        out += ' '; Project_Append_Num_Int(out, v);
    }
    out += Eol;
    for (const std::string& name : a.Texture_Name) {
        out += B5; Append_Quoted(out, name, cp1252); out += Eol;
    }
    // The point lines are most of the file: they are laid out straight into the text, in room
    // made for the longest numbers (plus the slack Write_Real needs) and cut back after.
    if (chain.empty()) return;
    const size_t at = out.size();
    out.resize(at + chain.size() * Point_Line_Max + Num_Text_Max);
    char* q = out.data() + at;
    const auto points = Point_Table.begin();
    for (int32_t id : chain) {
        const Point_Rec& p = points[id - 1];
        std::memcpy(q, B6, 6);
        q = Write_Real(q + 6, p.X, false);
        *q++ = ' ';
        q = Write_Real(q, p.Y, false);
        *q++ = '\r';
        *q++ = '\n';
    }
    out.resize(static_cast<size_t>(q - out.data()));
}

std::string General_Date_Now() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M:%S", &tm);
    return buf;
}

void Progress(bool visible, const std::string& ltex, const std::string& percent, const std::string& count) {
    Tiling_Progress_Window* w = Project_Window.Progress_Window;
    if (!w) return;
    if (visible) {
        w->Set_LTex2500(ltex);
        w->Set_LPourCent(percent);
        w->Set_LNbTex(count);
    }
    w->Show_Fram_Creat_2500(visible);
    w->Refresh();
}
void Repaint() {
    if (Project_Window.Progress_Window) Project_Window.Progress_Window->Refresh();
}

// ---------------------------------------------------------------------------------------------
// Reader

// The project as the reader replaces it; swapped with the globals so that a failed read puts
// back exactly what was there.
struct Project_State {
    std::string Map_File;
    int32_t Map_Width_Px = 0, Map_Height_Px = 0;
    double Map_Top_Lat = 0, Map_Left_Lon = 0, Map_Bottom_Lat = 0, Map_Right_Lon = 0;
    double Proj_Lat_NW = 0, Proj_Lon_NW = 0, Proj_Lat_SE = 0, Proj_Lon_SE = 0;
    double Map_Lat_North = 0, Map_Lon_West = 0, Map_Lat_South = 0, Map_Lon_East = 0;
    int32_t Proj_Px_NW_X = 0, Proj_Px_NW_Y = 0, Proj_Px_SE_X = 0, Proj_Px_SE_Y = 0;
    double Map_Px_West = 0, Map_Px_North = 0, Map_Px_East = 0, Map_Px_South = 0;
    int16_t Proj_NW_Set = 0, Proj_SE_Set = 0;
    std::array<int16_t, 8> Grid_Corner_Cells{}, Grid_Frame_Cells{};
    int16_t Lc_Merge = 0, Lc_Keep_Raw = 0;
    std::string Raw_Dir, Scenery_Dir, Bgl_Base_Path, Bgl_Excl_Path;
    int16_t Tile_Count = 0, Tile_Rows = 0, Tile_Cols = 0;
    int16_t Alt_Unit_Feet = 0;
    float Alt_Offset = 0;
    int16_t Cfs_Mode = 0;
    Vb_Array<Line_Rec> Line_Table;
    int32_t Line_Count = 0, Line_Capacity = 0, Line_Id_Counter = 0;
    Vb_Array<Point_Rec> Point_Table;
    int32_t Point_Count = 0, Point_Capacity = 0;
    Vb_Array<Lwm_Cell_Rec> Lwm_Cell_Table;
    int32_t Lwm_Cell_Count = 0, Lwm_Cell_Capacity = 0;
    Vb_Array<Excl_Cell_Rec> Excl_Cell_Table;
    int32_t Excl_Cell_Count = 0, Excl_Cell_Capacity = 0;
    Vb_Array<Lod8_Cell_Rec> Lod8_Cell_Table;
    int32_t Lod8_Cell_Count = 0, Lod8_Cell_Capacity = 0;
    Vb_Array<Class_Cell_Rec> Lc_Cell_Table;
    int32_t Lc_Cell_Count = 0, Lc_Cell_Capacity = 0;
    Vb_Array<Class_Cell_Rec> Wc_Cell_Table;
    int32_t Wc_Cell_Count = 0, Wc_Cell_Capacity = 0;
    Vb_Array<Image_Rec> Image_Table;
    int32_t Image_Count = 0, Image_Capacity = 0;
    Vb_Array<Grid_Point_Rec> Grid_Point_Table;
    int32_t Grid_Point_Count = 0, Grid_Point_Capacity = 0;
    int16_t Mesh_Lod_Index = 2, Mesh_Lod_Chosen = 0;
};

void Swap_With_Globals(Project_State& s) {
    using std::swap;
    swap(s.Map_File, Map_File);
    swap(s.Map_Width_Px, Map_Width_Px); swap(s.Map_Height_Px, Map_Height_Px);
    swap(s.Map_Top_Lat, Map_Top_Lat); swap(s.Map_Left_Lon, Map_Left_Lon);
    swap(s.Map_Bottom_Lat, Map_Bottom_Lat); swap(s.Map_Right_Lon, Map_Right_Lon);
    swap(s.Proj_Lat_NW, Proj_Lat_NW); swap(s.Proj_Lon_NW, Proj_Lon_NW);
    swap(s.Proj_Lat_SE, Proj_Lat_SE); swap(s.Proj_Lon_SE, Proj_Lon_SE);
    swap(s.Map_Lat_North, Map_Lat_North); swap(s.Map_Lon_West, Map_Lon_West);
    swap(s.Map_Lat_South, Map_Lat_South); swap(s.Map_Lon_East, Map_Lon_East);
    swap(s.Proj_Px_NW_X, Proj_Px_NW_X); swap(s.Proj_Px_NW_Y, Proj_Px_NW_Y);
    swap(s.Proj_Px_SE_X, Proj_Px_SE_X); swap(s.Proj_Px_SE_Y, Proj_Px_SE_Y);
    swap(s.Map_Px_West, Map_Px_West); swap(s.Map_Px_North, Map_Px_North);
    swap(s.Map_Px_East, Map_Px_East); swap(s.Map_Px_South, Map_Px_South);
    swap(s.Proj_NW_Set, Proj_NW_Set); swap(s.Proj_SE_Set, Proj_SE_Set);
    swap(s.Grid_Corner_Cells, Grid_Corner_Cells); swap(s.Grid_Frame_Cells, Grid_Frame_Cells);
    swap(s.Lc_Merge, Lc_Merge); swap(s.Lc_Keep_Raw, Lc_Keep_Raw);
    swap(s.Raw_Dir, Raw_Dir); swap(s.Scenery_Dir, Scenery_Dir);
    swap(s.Bgl_Base_Path, Bgl_Base_Path); swap(s.Bgl_Excl_Path, Bgl_Excl_Path);
    swap(s.Tile_Count, Tile_Count); swap(s.Tile_Rows, Tile_Rows); swap(s.Tile_Cols, Tile_Cols);
    swap(s.Alt_Unit_Feet, Alt_Unit_Feet); swap(s.Alt_Offset, Alt_Offset); swap(s.Cfs_Mode, Cfs_Mode);
    swap(s.Line_Table, Line_Table); swap(s.Line_Count, Line_Count);
    swap(s.Line_Capacity, Line_Capacity); swap(s.Line_Id_Counter, Line_Id_Counter);
    swap(s.Point_Table, Point_Table); swap(s.Point_Count, Point_Count); swap(s.Point_Capacity, Point_Capacity);
    swap(s.Lwm_Cell_Table, Lwm_Cell_Table); swap(s.Lwm_Cell_Count, Lwm_Cell_Count);
    swap(s.Lwm_Cell_Capacity, Lwm_Cell_Capacity);
    swap(s.Excl_Cell_Table, Excl_Cell_Table); swap(s.Excl_Cell_Count, Excl_Cell_Count);
    swap(s.Excl_Cell_Capacity, Excl_Cell_Capacity);
    swap(s.Lod8_Cell_Table, Lod8_Cell_Table); swap(s.Lod8_Cell_Count, Lod8_Cell_Count);
    swap(s.Lod8_Cell_Capacity, Lod8_Cell_Capacity);
    swap(s.Lc_Cell_Table, Lc_Cell_Table); swap(s.Lc_Cell_Count, Lc_Cell_Count);
    swap(s.Lc_Cell_Capacity, Lc_Cell_Capacity);
    swap(s.Wc_Cell_Table, Wc_Cell_Table); swap(s.Wc_Cell_Count, Wc_Cell_Count);
    swap(s.Wc_Cell_Capacity, Wc_Cell_Capacity);
    swap(s.Image_Table, Image_Table); swap(s.Image_Count, Image_Count); swap(s.Image_Capacity, Image_Capacity);
    swap(s.Grid_Point_Table, Grid_Point_Table); swap(s.Grid_Point_Count, Grid_Point_Count);
    swap(s.Grid_Point_Capacity, Grid_Point_Capacity);
    swap(s.Mesh_Lod_Index, Mesh_Lod_Index); swap(s.Mesh_Lod_Chosen, Mesh_Lod_Chosen);
}

// Raised inside the reader for a malformed file; caught in Pinit_Read_Project, never beyond.
struct Bad_File {
    int16_t message;  // numbered message to show, 0 for the plain "malformed" box
};

// The file's lines read in place from its bytes, the way Pinit_Read_Line reads them: a line ends
// at CR LF, LF or CR, and empty lines are skipped. The text must outlive the source. The loops
// work on local pointers: through a member, every byte read could alias the position.
class Line_Source {
public:
    explicit Line_Source(std::string_view text) : Line_Source(text, Count_Lines(text)) {}
    // `lines`: the text's Count_Lines, counted beforehand.
    Line_Source(std::string_view text, size_t lines)
        : at_(text.data()), end_(text.data() + text.size()), remaining_(lines) {}

    // Non-empty lines not read yet.
    size_t Remaining() const { return remaining_; }
    // Where reading goes on, and the end of the text.
    const char* Position() const { return at_; }
    const char* End() const { return end_; }
    // Reading goes on at `at`, a line start or the end, with `remaining` lines left: the lines
    // before it were read elsewhere.
    void Resume(const char* at, size_t remaining) {
        at_ = at;
        remaining_ = remaining;
    }

    // The next non-empty line; a file that ends first is malformed.
    std::string_view Next() {
        const char* p = Line_Start();
        const char* start = p;
        const char* end = end_;
        while (p < end && !Is_Break(*p)) ++p;
        at_ = p;
        return {start, static_cast<size_t>(p - start)};
    }

    // A point line "B6 x y", by far the commonest line, parsed in one pass over its bytes.
    // As for any line, the tag's four characters are skipped and blanks separate the numbers;
    // what follows the second number is not read.
    void Point(double& x, double& y) {
        const char* p = Line_Start();
        const char* end = end_;
        for (int k = 0; k < 4; ++k, ++p)
            if (p == end || Is_Break(*p)) throw Bad_File{0};
        x = Number_At(p, end);
        y = Number_At(p, end);
        while (p < end && !Is_Break(*p)) ++p;
        at_ = p;
    }

    static bool Is_Break(char c) { return c == '\r' || c == '\n'; }

    // Runs of bytes other than CR and LF.
    static size_t Count_Lines(std::string_view text) { return Count_Line_Starts(text, 0, text.size()); }

    // The runs of `text` that begin at from..to - 1. Counted in blocks of 255 into a byte, which
    // the compiler turns into vector code: a whole project file passes here.
    static size_t Count_Line_Starts(std::string_view text, size_t from, size_t to) {
        const char* t = text.data();
        size_t starts = 0;
        size_t i = from;
        if (i == 0 && i < to) starts += Is_Break(t[i++]) ? 0 : 1;
        while (i < to) {
            const size_t stop = std::min(to, i + 255);
            unsigned char block = 0;
            for (; i < stop; ++i) block += static_cast<unsigned char>(static_cast<int>(Is_Break(t[i - 1])) & static_cast<int>(!Is_Break(t[i])));
            starts += block;
        }
        return starts;
    }

private:
    // Past the breaks before the next line; counts that line as read.
    const char* Line_Start() {
        const char* p = at_;
        const char* end = end_;
        while (p < end && Is_Break(*p)) ++p;
        if (p == end) throw Bad_File{0};
        --remaining_;
        return p;
    }

    // The decimal digits at p, eight at a time where eight bytes are left: `mantissa` takes them
    // on, `count` counts them.
    static void Take_Digits(const char*& p, const char* end, uint64_t& mantissa, int& count) {
        static constexpr uint64_t scale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
        while (end - p >= 8) {
            uint64_t word = 0;
            std::memcpy(&word, p, 8);
            // A byte is a digit when its high nibble is 3 and stays 3 with 6 added. A carry out of
            // a byte only disturbs the bytes after it, past the first non-digit.
            const uint64_t nibbles = (word & 0xF0F0F0F0F0F0F0F0ULL) | (((word + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL) >> 4);
            const uint64_t other = nibbles ^ 0x3333333333333333ULL;
            const int n = other != 0 ? std::countr_zero(other) / 8 : 8;
            if (n == 0) return;
            // The n digits moved to the high end, zeros before them, then combined in pairs.
            word = (word << (8 * (8 - n))) & 0x0F0F0F0F0F0F0F0FULL;
            word = (word * 2561) >> 8;
            word = ((word & 0x00FF00FF00FF00FFULL) * 6553601) >> 16;
            word = ((word & 0x0000FFFF0000FFFFULL) * 42949672960001ULL) >> 32;
            mantissa = mantissa * scale[n] + (word & 0xFFFFFFFF);
            count += n;
            p += n;
            if (n < 8) return;
        }
        while (p < end && static_cast<unsigned char>(*p - '0') < 10) {
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
            ++count;
        }
    }

    // The blank-separated number at p, leaving p after it. Short plain decimals ("1234.5678")
    // are read as they are scanned; anything else goes to Project_Parse_Number whole.
    static double Number_At(const char*& p, const char* end) {
        while (p < end && *p == ' ') ++p;
        const char* start = p;
        bool negative = false;
        if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
        uint64_t mantissa = 0;  // wraps past 19 digits, which go to the general parser anyway
        int digits = 0, decimals = 0;
        Take_Digits(p, end, mantissa, digits);
        if (p < end && *p == '.') {
            ++p;
            Take_Digits(p, end, mantissa, decimals);
            digits += decimals;
        }
        if (digits > 0 && digits <= 15 && (p == end || *p == ' ' || Is_Break(*p))) {
            // Both operands exact: the quotient is the correctly rounded value.
            static constexpr double pow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
            const double v = static_cast<double>(mantissa) / pow10[decimals];
            return negative ? -v : v;
        }
        p = start;
        while (p < end && *p != ' ' && !Is_Break(*p)) ++p;
        double v = 0;
        if (p == start || !Project_Parse_Number(std::string_view(start, static_cast<size_t>(p - start)), v))
            throw Bad_File{0};
        return v;
    }

    const char* at_;
    const char* end_;
    size_t remaining_;
};

// Tokens of one line at a time. As with the shared scanner, reading starts after the line's
// four-character tag, tokens are separated by blanks, and a quoted text runs to the next quote
// or the end of the line.
class Reader {
public:
    explicit Reader(Line_Source& src) : src_(src) {}

    void Scan() {
        line_ = src_.Next();
        if (line_.size() > 32767) throw Bad_File{0};
        pos_ = 4;
    }
    // The next blank-separated token of the scanned line; empty at the end of the line.
    std::string_view Token() {
        const std::string_view line = line_;
        size_t i = std::min(pos_, line.size());  // a line shorter than its tag has no token
        while (i < line.size() && line[i] == ' ') ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        pos_ = i;
        return line.substr(start, i - start);
    }
    // Next token as a number; a missing or non-numeric token is malformed.
    double Number() {
        const std::string_view token = Token();
        double v = 0;
        if (token.empty() || !Project_Parse_Number(token, v)) throw Bad_File{0};
        return v;
    }
    template <class Int>
    Int Integer() {
        const double v = Number();
        if (!(v >= -2147483648.0 && v <= 2147483647.0)) throw Bad_File{0};
        const int64_t r = SYST_Round(v);
        if (r < std::numeric_limits<Int>::min() || r > std::numeric_limits<Int>::max()) throw Bad_File{0};
        return static_cast<Int>(r);
    }
    float Float() {
        const double v = Number();
        if (std::fabs(v) > std::numeric_limits<float>::max()) throw Bad_File{0};
        return static_cast<float>(v);
    }
    std::string Quoted() {
        const size_t open = pos_ < line_.size() ? line_.find('"', pos_) : std::string_view::npos;
        if (open == std::string_view::npos) {
            pos_ = line_.size();
            return {};
        }
        size_t close = line_.find('"', open + 1);
        if (close == std::string_view::npos) close = line_.size();
        pos_ = close < line_.size() ? close + 1 : close;
        return std::string(line_.substr(open + 1, close - open - 1));
    }
    std::string Quoted_Line() {
        Scan();
        return Quoted();
    }
    void Point(double& x, double& y) { src_.Point(x, y); }
    // The scanned line must be the section `tag`.
    void Expect_Tag(std::string_view tag) const {
        if (line_.substr(0, 4) != tag) throw Bad_File{31};
    }
    size_t Remaining() const { return src_.Remaining(); }
    std::string_view Next_Line() { return src_.Next(); }
    Line_Source& Source() { return src_; }

private:
    Line_Source& src_;
    std::string_view line_;
    size_t pos_ = 0;
};

// A count read from a header line: not negative, and small enough for the lines that are left.
int32_t Count_For(Reader& r, size_t lines_per_record) {
    const int32_t n = r.Integer<int32_t>();
    if (n < 0) throw Bad_File{0};
    if (lines_per_record > 0 && static_cast<size_t>(n) > r.Remaining() / lines_per_record) throw Bad_File{0};
    return n;
}


struct Conversion {
    bool active = false;
};

void Convert_Line_V4(Route_Attrib& a) {
    if (a.SurfShore < 2 && Conv_Poly_Layers == 1) a.Layer_Vtp2 = 17;
    if (Conv_Adapt_Lines == 1) {
        a.Effil_Deb = 0;
        a.Effil_Fin = 0;
    }
    if (Conv_Line_Layers == 1 && a.SurfShore != 0) {
        const int t = a.Type_Code;
        a.Layer = t >= 1024 && t <= 1025 ? 22 : t >= 1026 && t <= 1133 ? 21 : t >= 1134 && t <= 1181 ? 23 : 24;
    }
}

// Kinds 31 and 32 become kind 6 only for an area that excluded one of them: an area without
// either keeps its flag 6 as it was.
void Convert_Excl_V4(Excl_Cell_Rec& e) {
    auto& f = e.Excluded;
    if (f[4] == 1) {
        f[4] = 0;
        f[7] = 1;
    }
    if (f[16] == 1) {
        f[16] = 0;
        f[4] = 1;
    }
    if (f[31] == 1 || f[32] == 1) {
        f[31] = 0;
        f[32] = 0;
        f[6] = 1;
    }
}

void Read_Line_Block(Reader& r, Line_Rec& line, bool meter_feet, int32_t& p, bool convert) {
    Route_Attrib& a = line.Attr;
    a.Text_Rt = r.Quoted_Line();
    a.Imbrication = r.Quoted_Line();
    r.Scan();
    line.Line_Id = r.Integer<int32_t>();
    const int32_t n = r.Integer<int32_t>();
    if (n < 0 || static_cast<size_t>(n) > r.Remaining()) throw Bad_File{0};
    line.Nb_Points = n;
    a.Alti = r.Number();
    a.Attrib = r.Integer<int16_t>();
    a.LandOnRight = r.Integer<int16_t>();
    a.Type_Code = r.Integer<int16_t>();
    a.Largeur = r.Integer<int16_t>();
    a.SurfShore = r.Integer<int16_t>();
    a.FermerLine = r.Integer<int16_t>();
    a.Layer = r.Integer<uint8_t>();
    a.Image_Link = r.Integer<int16_t>();
    a.LWM_VTP2 = r.Integer<int16_t>();
    a.LandClass_Source = r.Integer<int16_t>();
    a.LC_Code = r.Integer<int16_t>();
    a.Layer_Vtp2 = r.Integer<int16_t>();
    a.Alt_Coast = r.Number();
    a.Line_Night = r.Integer<int16_t>();
    a.Drive_Right = r.Integer<int16_t>();
    a.LayerScasm = r.Integer<int16_t>();
    a.Vtp1_Line = r.Integer<int16_t>();
    a.Effil_Deb = r.Integer<int16_t>();
    a.Effil_Fin = r.Integer<int16_t>();
    a.VTP1_SpecNor = r.Integer<int16_t>();
    a.Flip_VTP1Texture = r.Integer<int16_t>();
    a.Meter_Feet = meter_feet ? r.Integer<int16_t>() : 0;
    for (std::string& name : a.Texture_Name) name = r.Quoted_Line();
    line.First_Point = 0;
    line.Last_Point = 0;
    for (int32_t j = 1; j <= n; ++j) {
        double x = 0, y = 0;
        r.Point(x, y);
        if (p == std::numeric_limits<int32_t>::max()) throw Bad_File{0};
        ++p;
        // More points than the stored count: the table grows rather than the file being refused.
        if (p > Point_Table.UBound()) {
            Point_Capacity = std::max<int32_t>(p, static_cast<int32_t>(std::min<int64_t>(
                                                      int64_t{Point_Capacity} * 2, std::numeric_limits<int32_t>::max())));
            Point_Table.ReDim_Preserve(Point_Capacity);
        }
        if (j == 1) line.First_Point = p;
        line.Last_Point = p;
        // p is within the table from here on: the entries are reached without a check each.
        const auto points = Point_Table.begin();
        Point_Rec& pt = points[p - 1];
        pt.X = x;
        pt.Y = y;
        pt.Prev_Point = 0;
        if (j > 1) {
            pt.Prev_Point = p - 1;
            points[p - 2].Next_Point = p;
        }
        pt.Next_Point = 0;
    }
    if (convert) Convert_Line_V4(a);
}

// Where the next non-empty line after the one at q starts (or the end). The line's end is
// looked for eight bytes at a time: the blocks are walked over every line of the file.
const char* Next_Line_Start(const char* q, const char* end) {
    constexpr uint64_t Ones = 0x0101010101010101ULL, Highs = 0x8080808080808080ULL;
    while (end - q >= 8) {
        uint64_t word = 0;
        std::memcpy(&word, q, 8);
        const uint64_t cr = word ^ (Ones * '\r'), lf = word ^ (Ones * '\n');
        // The high bit of each byte that is 0 in cr or lf (exact below the first such byte).
        const uint64_t found = (((cr - Ones) & ~cr) | ((lf - Ones) & ~lf)) & Highs;
        if (found != 0) {
            q += std::countr_zero(found) / 8;
            break;
        }
        q += 8;
    }
    while (q < end && !Line_Source::Is_Break(*q)) ++q;
    while (q < end && Line_Source::Is_Break(*q)) ++q;
    return q;
}

// The first line at or after q (q may be inside a line) that opens a line block: a block opens
// with its text and its nesting text, the only lines that begin with six blanks and a quote.
const char* Next_Block_Start(const char* q, const char* from, const char* end) {
    auto opens_text = [end](const char* t) { return end - t >= 7 && std::memcmp(t, "      \"", 7) == 0; };
    if (q > from && !Line_Source::Is_Break(q[-1])) q = Next_Line_Start(q, end);
    while (q < end && Line_Source::Is_Break(*q)) ++q;
    while (q < end) {
        const char* next = Next_Line_Start(q, end);
        if (opens_text(q) && opens_text(next)) return q;
        q = next;
    }
    return end;
}

// The line blocks that begin in one stretch of the file, walked by their point counts alone.
struct Block_Walk {
    const char* first = nullptr;   // where the first block begins
    const char* next = nullptr;    // where the block after the last one walked begins
    std::vector<int32_t> points;   // of each block walked
    bool stopped = false;          // a block did not read as one: nothing after it was walked
};

// Walks the blocks that begin at `from` and before `stop`.
void Walk_Blocks(Block_Walk& w, const char* from, const char* stop, const char* end) {
    constexpr int64_t Head = 9;  // text, nesting text, numbers, six texture names
    w.first = from;
    const char* q = from;
    while (q < stop && q < end) {
        const char* nesting = Next_Line_Start(q, end);
        const char* numbers = nesting < end ? Next_Line_Start(nesting, end) : end;
        if (numbers == end) {
            w.stopped = true;
            break;
        }
        const char* after = numbers;
        while (after < end && !Line_Source::Is_Break(*after)) ++after;
        int32_t n = -1;
        try {
            Line_Source one(std::string_view(numbers, static_cast<size_t>(after - numbers)));
            Reader r(one);
            r.Scan();
            r.Integer<int32_t>();
            n = r.Integer<int32_t>();
        } catch (const Bad_File&) {
            n = -1;
        }
        // Every line of the block must be there: past the numbers, six names and n points.
        const char* line = numbers;
        int64_t k = 0;
        for (; n >= 0 && k < Head - 2 + n && line < end; ++k) line = Next_Line_Start(line, end);
        if (n < 0 || k < Head - 2 + n) {
            w.stopped = true;
            break;
        }
        w.points.push_back(n);
        q = line;
    }
    w.next = q;
}

// The blocks of lines 1..Line_Count of a large project, read by several threads. The file is
// cut into stretches; in each, the blocks are first walked by their point counts from the first
// that opens there, and the walks must meet end to end. Then each stretch's blocks are read into
// their own rows of the tables, which are sized for all of them first, exactly as reading them
// one after the other would size them. Returns false, having changed nothing, when the walks do
// not meet as a sound file's do; the caller then reads the blocks one by one and meets the fault
// where it lies. On true, `p` is the last point read and `src` goes on after the blocks. Either
// way the point table is sized once, by `size_point_table`, before any point is read.
bool Read_Line_Blocks_In_Parts(Line_Source& src, bool meter_feet, bool convert, int32_t& p,
                               const std::function<void()>& size_point_table) {
    const size_t stretches = Part_Threads();
    if (src.Remaining() < Project_Read_Spread.From_Lines || stretches == 1 || Line_Count < 1) {
        size_point_table();
        return false;
    }
    const char* const end = src.End();
    const char* start = src.Position();
    while (start < end && Line_Source::Is_Break(*start)) ++start;
    const size_t length = static_cast<size_t>(end - start);

    // The point table is sized meanwhile (most of that is the system handing out its pages).
    std::vector<Block_Walk> walks(stretches);
    Run_Parts(stretches + 1, [&](size_t k) {
        if (k == stretches) {
            size_point_table();
            return;
        }
        const char* from = k == 0 ? start : Next_Block_Start(start + length * k / stretches, start, end);
        Walk_Blocks(walks[k], from, k + 1 < stretches ? start + length * (k + 1) / stretches : end, end);
    });

    // The stretches the blocks run over: stretch k holds lines first_line[k]..first_line[k + 1] - 1,
    // whose points follow point first_point[k].
    std::vector<int32_t> first_line{1}, first_point{0};
    int64_t blocks = 0, points = 0;
    for (size_t k = 0; k < stretches && blocks < Line_Count; ++k) {
        const Block_Walk& w = walks[k];
        if (k > 0 && w.first != walks[k - 1].next) return false;
        const size_t need = static_cast<size_t>(Line_Count - blocks);
        const size_t n = std::min(w.points.size(), need);
        if (n < need && w.stopped) return false;  // the walk stopped inside the blocks
        for (size_t i = 0; i < n; ++i) points += w.points[i];
        if (points >= std::numeric_limits<int32_t>::max()) return false;
        blocks += static_cast<int64_t>(n);
        first_line.push_back(static_cast<int32_t>(blocks) + 1);
        first_point.push_back(static_cast<int32_t>(points));
    }
    if (blocks != Line_Count) return false;

    // The point table as one-by-one reading leaves it: doubled whenever a point falls outside.
    int32_t capacity = Point_Capacity;
    while (points > capacity)
        capacity = std::max<int32_t>(capacity + 1, static_cast<int32_t>(std::min<int64_t>(
                                                        int64_t{capacity} * 2, std::numeric_limits<int32_t>::max())));
    if (capacity != Point_Capacity) {
        Point_Capacity = capacity;
        Point_Table.ReDim_Preserve(Point_Capacity);
    }

    const size_t used = first_line.size() - 1, last = used - 1;
    Line_Source rest{std::string_view{}};
    Run_Parts(used, [&](size_t k) {
        const char* from = walks[k].first;
        const char* to = k < last ? walks[k + 1].first : end;
        Line_Source part(std::string_view(from, static_cast<size_t>(to - from)));
        Reader r(part);
        int32_t q = first_point[k];
        for (int32_t i = first_line[k]; i < first_line[k + 1]; ++i) Read_Line_Block(r, Line_Table(i), meter_feet, q, convert);
        if (k == last) rest = part;
    });
    p = static_cast<int32_t>(points);
    src.Resume(rest.Position(), rest.Remaining());
    Project_Read_Spread.Last_Parts = used;
    return true;
}

void Read_Body(Reader& r, double version, bool convert, const Project_State& before) {
    // Origin line, then the header lines by position.
    r.Scan();
    r.Scan();
    Map_Top_Lat = r.Number(); Map_Left_Lon = r.Number(); Map_Bottom_Lat = r.Number(); Map_Right_Lon = r.Number();
    Proj_Lat_NW = r.Number(); Proj_Lon_NW = r.Number(); Proj_Lat_SE = r.Number(); Proj_Lon_SE = r.Number();
    Map_Lat_North = r.Number(); Map_Lon_West = r.Number(); Map_Lat_South = r.Number(); Map_Lon_East = r.Number();
    r.Scan();
    Lc_Merge = r.Integer<int16_t>();
    Lc_Keep_Raw = r.Integer<int16_t>();
    Raw_Dir = r.Quoted_Line();
    Scenery_Dir = r.Quoted_Line();
    Map_File = r.Quoted_Line();
    r.Scan();
    Map_Width_Px = r.Integer<int32_t>();
    Map_Height_Px = r.Integer<int32_t>();
    Bgl_Base_Path = r.Quoted_Line();
    Bgl_Excl_Path = r.Quoted_Line();
    r.Scan();
    for (int16_t& v : Grid_Corner_Cells) v = r.Integer<int16_t>();
    for (int16_t& v : Grid_Frame_Cells) v = r.Integer<int16_t>();
    r.Scan();
    Proj_Px_NW_X = r.Integer<int32_t>(); Proj_Px_NW_Y = r.Integer<int32_t>();
    Proj_Px_SE_X = r.Integer<int32_t>(); Proj_Px_SE_Y = r.Integer<int32_t>();
    Map_Px_West = r.Number(); Map_Px_North = r.Number(); Map_Px_East = r.Number(); Map_Px_South = r.Number();
    r.Scan();
    Proj_NW_Set = r.Integer<int16_t>();
    Proj_SE_Set = r.Integer<int16_t>();
    r.Scan();
    Tile_Count = r.Integer<int16_t>(); Tile_Rows = r.Integer<int16_t>(); Tile_Cols = r.Integer<int16_t>();
    r.Scan();
    Alt_Unit_Feet = r.Integer<int16_t>();
    Alt_Offset = r.Float();
    Cfs_Mode = r.Integer<int16_t>();

    // Lines. Entry 1 is the placeholder and is always there.
    r.Scan();
    r.Expect_Tag("0100");
    const int32_t lines = Count_For(r, 9);
    if (lines < 1) throw Bad_File{0};
    Line_Count = lines;
    Line_Id_Counter = r.Integer<int32_t>();
    const int32_t stored_points = r.Integer<int32_t>();
    if (stored_points < 0) throw Bad_File{0};
    Line_Capacity = Line_Count;
    Line_Table.ReDim(Line_Capacity);
    // A deleted point keeps its id, so the stored count may exceed the point lines; a count
    // far beyond what the file holds is capped and the table grows as points come.
    const int64_t cap = int64_t{4} * static_cast<int64_t>(r.Remaining()) + 1000;
    Point_Capacity = stored_points == 0 ? 10 : static_cast<int32_t>(std::min<int64_t>(stored_points, cap));
    const bool meter_feet = version >= 5.1 - 1e-9;
    int32_t p = 0;
    Project_Read_Spread.Last_Parts = 1;
    if (!Read_Line_Blocks_In_Parts(r.Source(), meter_feet, convert, p, [] { Point_Table.ReDim(Point_Capacity); }))
        for (int32_t i = 1; i <= Line_Count; ++i) Read_Line_Block(r, Line_Table(i), meter_feet, p, convert);
    Point_Count = p;

    // Textured areas.
    Table_Empty(Lwm_Cell_Table, Lwm_Cell_Count, Lwm_Cell_Capacity, 3);
    r.Scan();
    r.Expect_Tag("0120");
    const int32_t lwm = Count_For(r, 8);
    if (lwm != 0) {
        Lwm_Cell_Capacity = lwm + 3;
        Lwm_Cell_Table.ReDim(Lwm_Cell_Capacity);
        for (int32_t i = 1; i <= lwm; ++i) {
            Lwm_Cell_Rec& c = Lwm_Cell_Table(i);
            r.Scan();
            c.Alti = r.Number();
            c.Attrib = r.Integer<uint8_t>();
            c.Lod13_Col = r.Integer<int16_t>();
            c.Lod13_Row = r.Integer<int16_t>();
            c.Lod8_Col = r.Integer<int16_t>();
            c.Lod8_Row = r.Integer<int16_t>();
            c.Fill1x1 = r.Integer<int16_t>();
            c.InvertMask = r.Integer<int16_t>();
            c.InvertMaskValue = r.Integer<int16_t>();
            c.Custom = r.Integer<int16_t>();
            c.Texture_Source = r.Integer<int16_t>();
            c.LC_Code = r.Integer<int16_t>();
            c.Layer = r.Integer<int16_t>();
            for (std::string& name : c.Texture_Name) name = r.Quoted_Line();
            c.Texte = r.Quoted_Line();
        }
    }
    Lwm_Cell_Count = lwm;

    // Exclusion areas; a count of 0 keeps the table that was there.
    r.Scan();
    r.Expect_Tag("0140");
    const int32_t excl = Count_For(r, 102);
    if (excl != 0) {
        Excl_Cell_Capacity = excl + 2;
        Excl_Cell_Table.ReDim(Excl_Cell_Capacity);
        for (int32_t i = 1; i <= excl; ++i) {
            Excl_Cell_Rec& e = Excl_Cell_Table(i);
            r.Scan();
            e.Lod8_Col = r.Integer<int16_t>();
            e.Lod8_Row = r.Integer<int16_t>();
            e.Lod13_Col = r.Integer<int16_t>();
            e.Lod13_Row = r.Integer<int16_t>();
            for (uint8_t& f : e.Excluded) {
                r.Scan();
                f = r.Integer<uint8_t>();
            }
            if (convert && Conv_Excl_Layers == 1) Convert_Excl_V4(e);
        }
    } else {
        Excl_Cell_Table = before.Excl_Cell_Table;
        Excl_Cell_Capacity = before.Excl_Cell_Capacity;
    }
    Excl_Cell_Count = excl;

    // LOD8 cells.
    r.Scan();
    r.Expect_Tag("0150");
    const int32_t lod8 = Count_For(r, 1);
    Table_Empty(Lod8_Cell_Table, Lod8_Cell_Count, Lod8_Cell_Capacity, lod8 + 3);
    if (lod8 != 0) {
        for (int32_t i = 1; i <= lod8; ++i) {
            Lod8_Cell_Rec& c = Lod8_Cell_Table(i);
            r.Scan();
            c.Alti = r.Number();
            c.Attrib = r.Integer<uint8_t>();
            c.Lod8_Col = r.Integer<int16_t>();
            c.Lod8_Row = r.Integer<int16_t>();
        }
    }
    Lod8_Cell_Count = lod8;

    // Land-class and water-class cells.
    auto read_class = [&](const char* tag, Vb_Array<Class_Cell_Rec>& table, int32_t& count, int32_t& capacity) {
        count = 0;
        capacity = 1;
        table.ReDim(capacity);
        r.Scan();
        r.Expect_Tag(tag);
        const int32_t n = Count_For(r, 1);
        if (n != 0) {
            capacity = n + 1;
            table.ReDim(capacity);
            for (int32_t i = 1; i <= n; ++i) {
                Class_Cell_Rec& c = table(i);
                r.Scan();
                c.Lod8_Col = r.Integer<int16_t>();
                c.Lod8_Row = r.Integer<int16_t>();
                c.Lod13_Col = r.Integer<int16_t>();
                c.Lod13_Row = r.Integer<int16_t>();
                c.Class_Code = r.Integer<uint8_t>();
            }
        }
        count = n;
    };
    read_class("0160", Lc_Cell_Table, Lc_Cell_Count, Lc_Cell_Capacity);
    read_class("0170", Wc_Cell_Table, Wc_Cell_Count, Wc_Cell_Capacity);

    // Images.
    Table_Empty(Image_Table, Image_Count, Image_Capacity, 3);
    r.Scan();
    r.Expect_Tag("0180");
    const int32_t images = Count_For(r, 7);
    if (images != 0) {
        Image_Capacity = images + 3;
        Image_Table.ReDim(Image_Capacity);
        for (int32_t i = 1; i <= images; ++i) {
            Image_Rec& m = Image_Table(i);
            m.Ima_In_Use = 1;
            m.Ima_File = r.Quoted_Line();
            for (std::string& name : m.Ima_Texture) name = r.Quoted_Line();
            r.Scan();
            m.Ima_Number = r.Integer<int16_t>();
            m.Ima_X1 = r.Number();
            m.Ima_Y1 = r.Number();
            m.Ima_X2 = r.Number();
            m.Ima_Y2 = r.Number();
            m.Ima_Width = r.Integer<int16_t>();
            m.Ima_Height = r.Integer<int16_t>();
        }
    }
    Image_Count = images;

    // Grid points.
    Table_Empty(Grid_Point_Table, Grid_Point_Count, Grid_Point_Capacity, 50);
    Mesh_Lod_Index = 2;
    Mesh_Lod_Chosen = 0;
    r.Scan();
    r.Expect_Tag("0200");
    Mesh_Lod_Index = r.Integer<int16_t>();
    Mesh_Lod_Chosen = r.Integer<int16_t>();
    // A level that is none of the five options counts as never chosen.
    if (Mesh_Lod_Index < 0 || Mesh_Lod_Index > 4) {
        Mesh_Lod_Index = 2;
        Mesh_Lod_Chosen = 0;
    }
    const int32_t grid = Count_For(r, 1);
    if (grid != 0) {
        Grid_Point_Capacity = grid + 50;
        Grid_Point_Table.ReDim(Grid_Point_Capacity);
        for (int32_t i = 1; i <= grid; ++i) {
            Grid_Point_Rec& g = Grid_Point_Table(i);
            r.Scan();
            g.Defined = 1;
            g.Alt = r.Float();
            g.X = r.Number();
            g.Y = r.Number();
        }
    }
    Grid_Point_Count = grid;

    // The file must end with its "End" line: a file cut short anywhere is refused.
    std::string_view last = r.Next_Line();
    while (!last.empty() && last.back() == ' ') last.remove_suffix(1);
    if (last != "End") throw Bad_File{0};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Numbers and texts

void Project_Append_Num(std::string& out, double value) { Append_Real(out, value, false); }
void Project_Append_Num_Float(std::string& out, float value) { Append_Real(out, value, true); }
void Project_Append_Num_Int(std::string& out, int64_t value) {
    char buf[Num_Text_Max];
    out.append(buf, Write_Int(buf, value));
}
std::string Project_Num(double value) {
    std::string s;
    Project_Append_Num(s, value);
    return s;
}
std::string Project_Num_Float(float value) {
    std::string s;
    Project_Append_Num_Float(s, value);
    return s;
}
std::string Project_Num_Int(int64_t value) {
    std::string s;
    Project_Append_Num_Int(s, value);
    return s;
}

bool Project_Parse_Number(std::string_view t, double& value) {
    // sign, digits with one optional point, an optional exponent: nothing else (no "inf", no hex).
    size_t i = 0;
    const size_t n = t.size();
    bool negative = false;
    if (i < n && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    const size_t body = i;
    size_t digits = 0;
    // Mantissa and decimals as they come: a short number without exponent is then one exact
    // division (both operands exact, so the quotient is the correctly rounded value).
    uint64_t mantissa = 0;
    int decimals = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9') {
        mantissa = mantissa * 10 + static_cast<uint64_t>(t[i] - '0');
        ++i, ++digits;
        if (digits > 19) mantissa = 0;
    }
    if (i < n && t[i] == '.') {
        ++i;
        while (i < n && t[i] >= '0' && t[i] <= '9') {
            mantissa = mantissa * 10 + static_cast<uint64_t>(t[i] - '0');
            ++i, ++digits, ++decimals;
            if (digits > 19) mantissa = 0;
        }
    }
    if (digits == 0) return false;
    if (i == n && digits <= 15) {
        static constexpr double pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const double v = static_cast<double>(mantissa) / pow10[decimals];
        value = negative ? -v : v;
        return true;
    }
    if (i < n && (t[i] == 'E' || t[i] == 'e')) {
        ++i;
        if (i < n && (t[i] == '-' || t[i] == '+')) ++i;
        size_t exp_digits = 0;
        while (i < n && t[i] >= '0' && t[i] <= '9') ++i, ++exp_digits;
        if (exp_digits == 0) return false;
    }
    if (i != n) return false;
    double v = 0;
    const auto r = std::from_chars(t.data() + body, t.data() + n, v);
    if (r.ec != std::errc() || r.ptr != t.data() + n) {
        // A magnitude too small for a double reads as 0; one too large is no number of ours.
        if (r.ec != std::errc::result_out_of_range || r.ptr != t.data() + n) return false;
        const std::string copy(t.substr(body));
        if (std::fabs(std::strtod(copy.c_str(), nullptr)) >= 1) return false;
        v = 0;
    }
    value = negative ? -v : v;
    return true;
}

std::string Project_Safe_Text(std::string_view text) {
    std::string s(text);
    for (char& c : s) {
        if (c == '"') c = '\'';
        else if (c == '\r' || c == '\n') c = ' ';
    }
    return s;
}

std::string Project_Backup_Path(const std::string& path) {
    if (path.size() < 3) return path + "bak";
    return path.substr(0, path.size() - 3) + "bak";
}

// ---------------------------------------------------------------------------------------------
// Writer

namespace {

// The blocks of lines first..last.
void Append_Line_Blocks(std::string& out, int32_t first, int32_t last, bool cp1252) {
    std::vector<int32_t> chain;
    for (int32_t i = first; i <= last; ++i) Append_Line_Block(out, Line_Table(i), chain, cp1252);
}

// Takes each piece of the file text in turn; it may keep the piece's bytes.
using Piece_Sink = std::function<void(std::string& piece)>;

// The blocks of lines 1..lines, appended to `out`. Those of a large project are laid out in
// parts by several threads, each part into its own text, the parts taken in order: `out` goes to
// `take` first, each part as soon as it and those before it are done, and `out` is left empty
// for what follows. The text taken is the same as one thread's. The tables are only read meanwhile.
void Append_All_Line_Blocks(std::string& out, int32_t lines, bool cp1252, const Piece_Sink& take) {
    constexpr int64_t Points_Per_Part = 25000;
    int64_t points = 0;
    for (int32_t i = 1; i <= lines; ++i) points += std::max(Line_Table(i).Nb_Points, 0);
    const size_t workers = Part_Threads();
    const auto parts = static_cast<size_t>(
        std::clamp<int64_t>(points / Points_Per_Part, 1, static_cast<int64_t>(workers) * 4));
    if (parts == 1 || workers == 1) {
        Append_Line_Blocks(out, 1, lines, cp1252);
        return;
    }
    // Part k holds lines first[k]..first[k + 1] - 1.
    std::vector<int32_t> first(parts + 1, lines + 1);
    first[0] = 1;
    int64_t seen = 0;
    size_t k = 1;
    for (int32_t i = 1; i <= lines && k < parts; ++i) {
        seen += std::max(Line_Table(i).Nb_Points, 0);
        if (seen >= points * static_cast<int64_t>(k) / static_cast<int64_t>(parts)) first[k++] = i + 1;
    }
    std::vector<std::string> texts(parts);
    std::vector<std::promise<void>> done(parts);
    std::vector<std::future<void>> ready;
    for (std::promise<void>& d : done) ready.push_back(d.get_future());
    std::atomic<size_t> next{0};
    // The workers take the parts in order, so that the first are done first.
    auto work = [&] {
        for (size_t part; (part = next++) < parts;) {
            try {
                const int32_t from = first[part], to = first[part + 1] - 1;
                int64_t part_points = 0;
                for (int32_t i = from; i <= to; ++i) part_points += std::max(Line_Table(i).Nb_Points, 0);
                texts[part].reserve(static_cast<size_t>(part_points) * Point_Line_Max +
                                    static_cast<size_t>(std::max(to - from + 1, 0)) * 1024);
                Append_Line_Blocks(texts[part], from, to, cp1252);
                done[part].set_value();
            } catch (...) {
                done[part].set_exception(std::current_exception());
            }
        }
    };
    std::vector<std::future<void>> pool;
    for (size_t w = 0; w < workers; ++w) {
        try {
            pool.push_back(std::async(std::launch::async, work));
        } catch (const std::system_error&) {
            break;
        }
    }
    if (pool.empty()) work();  // no thread to be had: this one does every part
    try {
        take(out);
        out.clear();
        for (size_t part = 0; part < parts; ++part) {
            ready[part].get();  // a part's failure is the save's
            take(texts[part]);
            std::string().swap(texts[part]);
        }
    } catch (...) {
        next = parts;  // the workers stop after their current part; the pool waits for them
        throw;
    }
}

// At least the length of the file text, so that the text is never moved while it grows: the
// point lines at their longest, every text, and generous room for each record's numbers.
size_t Text_Size_Bound(size_t paths) {
    size_t n = 8192 + paths + Raw_Dir.size() + Scenery_Dir.size() + Map_File.size() +
               Bgl_Base_Path.size() + Bgl_Excl_Path.size();
    n += static_cast<size_t>(std::max(std::min(Point_Count, Point_Table.UBound()), 0)) * Point_Line_Max + Num_Text_Max;
    auto texts = [](const auto& names) {
        size_t t = 0;
        for (const std::string& name : names) t += name.size() + 16;
        return t;
    };
    const int32_t lines = std::min(Line_Count, Line_Table.UBound());
    for (int32_t i = 1; i <= lines; ++i) {
        const Route_Attrib& a = Line_Table(i).Attr;
        n += 1024 + a.Text_Rt.size() + a.Imbrication.size() + texts(a.Texture_Name) + Num_Text_Max;
    }
    const int32_t lwm = std::min(Lwm_Cell_Count, Lwm_Cell_Table.UBound());
    for (int32_t i = 1; i <= lwm; ++i)
        n += 512 + Lwm_Cell_Table(i).Texte.size() + texts(Lwm_Cell_Table(i).Texture_Name);
    const int32_t images = std::min(Image_Count, Image_Table.UBound());
    for (int32_t i = 1; i <= images; ++i)
        n += 512 + Image_Table(i).Ima_File.size() + texts(Image_Table(i).Ima_Texture);
    n += static_cast<size_t>(std::max(std::min(Excl_Cell_Count, Excl_Cell_Table.UBound()), 0)) * (128 + Excl_Flag_Count * 16);
    n += static_cast<size_t>(std::max(std::min(Lod8_Cell_Count, Lod8_Cell_Table.UBound()), 0)) * 128;
    n += static_cast<size_t>(std::max(std::min(Lc_Cell_Count, Lc_Cell_Table.UBound()), 0)) * 128;
    n += static_cast<size_t>(std::max(std::min(Wc_Cell_Count, Wc_Cell_Table.UBound()), 0)) * 128;
    n += static_cast<size_t>(std::max(std::min(Grid_Point_Count, Grid_Point_Table.UBound()), 0)) * 128;
    return n;
}

// The file text, handed to `take` in pieces in their order; `cp1252`: with the texts as they go
// to disk.
void Lay_Out_File(const std::string& target_path, const std::string& origin, bool cp1252, const Piece_Sink& take) {
    std::string out;
    out.reserve(Text_Size_Bound(target_path.size() + origin.size()));
    out += "0000 ";
    out += Project_Version_Text;
    out += "  (5.1) ";
    out += General_Date_Now();
    out += ' ';
    Append_Safe(out, target_path, cp1252);
    out += Eol;
    out += "0002         ";
    if (!origin.empty()) {
        out += " issu de ";
        Append_Safe(out, origin, cp1252);
    }
    out += Eol;
    out += "0010 ";
    for (double v : {Map_Top_Lat, Map_Left_Lon, Map_Bottom_Lat, Map_Right_Lon, Proj_Lat_NW, Proj_Lon_NW,
                     Proj_Lat_SE, Proj_Lon_SE, Map_Lat_North, Map_Lon_West, Map_Lat_South, Map_Lon_East}) {
        out += ' ';
        Project_Append_Num(out, v);
    }
    out += Eol;
    out += "0017 "; Project_Append_Num_Int(out, Lc_Merge); out += ' '; Project_Append_Num_Int(out, Lc_Keep_Raw); out += Eol;
    out += "0018 "; Append_Quoted(out, Raw_Dir, cp1252); out += Eol;
    out += "0019 "; Append_Quoted(out, Scenery_Dir, cp1252); out += Eol;
    out += "0020 "; Append_Quoted(out, Map_File, cp1252); out += Eol;
    out += "0021 "; Project_Append_Num_Int(out, Map_Width_Px); out += ' '; Project_Append_Num_Int(out, Map_Height_Px); out += Eol;
    out += "0030 "; Append_Quoted(out, Bgl_Base_Path, cp1252); out += Eol;
    out += "0031 "; Append_Quoted(out, Bgl_Excl_Path, cp1252); out += Eol;
    out += "0040 ";
    for (int16_t v : Grid_Corner_Cells) { out += ' '; Project_Append_Num_Int(out, v); }
    for (int16_t v : Grid_Frame_Cells) { out += ' '; Project_Append_Num_Int(out, v); }
    out += Eol;
    out += "0060 ";
    Project_Append_Num_Int(out, Proj_Px_NW_X); out += ' '; Project_Append_Num_Int(out, Proj_Px_NW_Y); out += ' ';
    Project_Append_Num_Int(out, Proj_Px_SE_X); out += ' '; Project_Append_Num_Int(out, Proj_Px_SE_Y); out += ' ';
    Project_Append_Num(out, Map_Px_West); out += ' '; Project_Append_Num(out, Map_Px_North); out += ' ';
    Project_Append_Num(out, Map_Px_East); out += ' '; Project_Append_Num(out, Map_Px_South);
    out += Eol;
    out += "0061 "; Project_Append_Num_Int(out, Proj_NW_Set); out += ' '; Project_Append_Num_Int(out, Proj_SE_Set); out += Eol;
    out += "0062 "; Project_Append_Num_Int(out, Tile_Count); out += ' '; Project_Append_Num_Int(out, Tile_Rows);
    out += ' '; Project_Append_Num_Int(out, Tile_Cols); out += Eol;
    out += "0063 "; Project_Append_Num_Int(out, Alt_Unit_Feet); out += ' '; Project_Append_Num_Float(out, Alt_Offset);
    out += ' '; Project_Append_Num_Int(out, Cfs_Mode); out += Eol;

    // Lines: every entry 1..Line_Count, the placeholder included.
    const int32_t lines = std::min(Line_Count, Line_Table.UBound());
    out += "0100 "; Project_Append_Num_Int(out, std::max(lines, 1)); out += ' ';
    Project_Append_Num_Int(out, Line_Id_Counter); out += ' '; Project_Append_Num_Int(out, Point_Count); out += Eol;
    if (lines >= 1) {
        Append_All_Line_Blocks(out, lines, cp1252, take);
    } else {
        std::vector<int32_t> chain;
        Append_Line_Block(out, Line_Rec{}, chain, cp1252);
    }
    Repaint();

    const int32_t lwm = std::min(Lwm_Cell_Count, Lwm_Cell_Table.UBound());
    out += "0120 "; Project_Append_Num_Int(out, std::max(lwm, 0)); out += Eol;
    for (int32_t i = 1; i <= lwm; ++i) {
        const Lwm_Cell_Rec& c = Lwm_Cell_Table(i);
        out += B6;
        Project_Append_Num(out, c.Alti);
        for (int64_t v : {int64_t{c.Attrib}, int64_t{c.Lod13_Col}, int64_t{c.Lod13_Row}, int64_t{c.Lod8_Col},
                          int64_t{c.Lod8_Row}, int64_t{c.Fill1x1}, int64_t{c.InvertMask}, int64_t{c.InvertMaskValue},
                          int64_t{c.Custom}, int64_t{c.Texture_Source}, int64_t{c.LC_Code}, int64_t{c.Layer}}) {
            out += ' ';
            Project_Append_Num_Int(out, v);
        }
        out += Eol;
        for (const std::string& name : c.Texture_Name) {
            out += B5; out += '"'; Append_Safe(out, name, cp1252); out += Eol;
        }
        out += B5; out += '"'; Append_Safe(out, c.Texte, cp1252); out += Eol;
    }

    const int32_t excl = std::min(Excl_Cell_Count, Excl_Cell_Table.UBound());
    out += "0140 "; Project_Append_Num_Int(out, std::max(excl, 0)); out += Eol;
    for (int32_t i = 1; i <= excl; ++i) {
        const Excl_Cell_Rec& e = Excl_Cell_Table(i);
        out += B6;
        Project_Append_Num_Int(out, e.Lod8_Col); out += ' '; Project_Append_Num_Int(out, e.Lod8_Row); out += ' ';
        Project_Append_Num_Int(out, e.Lod13_Col); out += ' '; Project_Append_Num_Int(out, e.Lod13_Row);
        out += Eol;
        for (uint8_t f : e.Excluded) {
            out += B5; Project_Append_Num_Int(out, f); out += Eol;
        }
    }

    const int32_t lod8 = std::min(Lod8_Cell_Count, Lod8_Cell_Table.UBound());
    out += "0150 "; Project_Append_Num_Int(out, std::max(lod8, 0)); out += Eol;
    for (int32_t i = 1; i <= lod8; ++i) {
        const Lod8_Cell_Rec& c = Lod8_Cell_Table(i);
        out += B6;
        Project_Append_Num(out, c.Alti); out += ' '; Project_Append_Num_Int(out, c.Attrib); out += ' ';
        Project_Append_Num_Int(out, c.Lod8_Col); out += ' '; Project_Append_Num_Int(out, c.Lod8_Row);
        out += Eol;
    }

    auto class_section = [&](const char* tag, const Vb_Array<Class_Cell_Rec>& table, int32_t count) {
        const int32_t n = std::min(count, table.UBound());
        out += tag; out += ' '; Project_Append_Num_Int(out, std::max(n, 0)); out += Eol;
        for (int32_t i = 1; i <= n; ++i) {
            const Class_Cell_Rec& c = table(i);
            out += B5;
            Project_Append_Num_Int(out, c.Lod8_Col); out += ' '; Project_Append_Num_Int(out, c.Lod8_Row); out += ' ';
            Project_Append_Num_Int(out, c.Lod13_Col); out += ' '; Project_Append_Num_Int(out, c.Lod13_Row); out += ' ';
            Project_Append_Num_Int(out, c.Class_Code);
            out += Eol;
        }
    };
    class_section("0160", Lc_Cell_Table, Lc_Cell_Count);
    class_section("0170", Wc_Cell_Table, Wc_Cell_Count);
    Repaint();

    const int32_t images = std::min(Image_Count, Image_Table.UBound());
    int32_t in_use = 0;
    for (int32_t i = 1; i <= images; ++i) in_use += Image_Table(i).Ima_In_Use == 1;
    out += "0180 "; Project_Append_Num_Int(out, in_use); out += Eol;
    for (int32_t i = 1; i <= images; ++i) {
        const Image_Rec& m = Image_Table(i);
        if (m.Ima_In_Use != 1) continue;
        out += B6; Append_Quoted(out, m.Ima_File, cp1252); out += Eol;
        for (const std::string& name : m.Ima_Texture) {
            out += B6; Append_Quoted(out, name, cp1252); out += Eol;
        }
        out += B6;
        Project_Append_Num_Int(out, m.Ima_Number); out += ' ';
        Project_Append_Num(out, m.Ima_X1); out += ' '; Project_Append_Num(out, m.Ima_Y1); out += ' ';
        Project_Append_Num(out, m.Ima_X2); out += ' '; Project_Append_Num(out, m.Ima_Y2); out += ' ';
        Project_Append_Num_Int(out, m.Ima_Width); out += ' '; Project_Append_Num_Int(out, m.Ima_Height);
        out += Eol;
    }

    const int32_t grid = std::min(Grid_Point_Count, Grid_Point_Table.UBound());
    int32_t defined = 0;
    for (int32_t i = 1; i <= grid; ++i) defined += Grid_Point_Table(i).Defined == 1;
    out += "0200 "; Project_Append_Num_Int(out, Mesh_Lod_Index); out += ' '; Project_Append_Num_Int(out, Mesh_Lod_Chosen);
    out += ' '; Project_Append_Num_Int(out, defined); out += Eol;
    for (int32_t i = 1; i <= grid; ++i) {
        const Grid_Point_Rec& g = Grid_Point_Table(i);
        if (g.Defined != 1) continue;
        out += B5;
        Project_Append_Num_Float(out, g.Alt); out += ' '; Project_Append_Num(out, g.X); out += ' ';
        Project_Append_Num(out, g.Y);
        out += Eol;
    }
    out += "End";
    out += Eol;
    take(out);
}

// The whole file text in one.
std::string Build_File_Text(const std::string& target_path, const std::string& origin, bool cp1252) {
    std::string text;
    Lay_Out_File(target_path, origin, cp1252, [&text](std::string& piece) {
        if (text.empty()) text.swap(piece);
        else text += piece;
    });
    return text;
}

}  // namespace

std::string Project_File_Text(const std::string& target_path, const std::string& origin) {
    return Build_File_Text(target_path, origin, false);
}

namespace {

// The whole file; whether it is all ASCII, and its Count_Lines when it is. A large file is read
// in parts by several threads, each part checked and counted while it is fresh in the cache.
// False when the file cannot be read whole.
bool Read_Whole_Project(const std::string& path, plat::FileBytes& bytes, bool& ascii, size_t& lines) {
    bytes = plat::FileBytes{};
    const plat::FileReader file(path);
    if (!file.Ok()) return false;
    const size_t size = file.Size();
    bytes.data = std::make_unique_for_overwrite<char[]>(size + 1);
    const size_t parts = std::clamp<size_t>(size / std::max<size_t>(Project_Read_Spread.Bytes_Per_Part, 1), 1, Part_Threads());
    std::vector<size_t> counts(parts, 0);
    std::vector<unsigned char> high(parts, 0), read(parts, 0);
    const std::string_view text(bytes.data.get(), size);
    Run_Parts(parts, [&](size_t k) {
        const size_t from = size * k / parts, to = size * (k + 1) / parts;
        if (!file.ReadAt(from, bytes.data.get() + from, to - from)) return;
        read[k] = 1;
        // Without an early exit, so that the loop vectorises.
        unsigned char any = 0;
        for (size_t i = from; i < to; ++i) any |= static_cast<unsigned char>(text[i]);
        high[k] = any;
        // A line starting at the part's first byte is told by the byte before, in another part.
        counts[k] = Line_Source::Count_Line_Starts(text, from == 0 ? 0 : from + 1, to);
    });
    if (std::find(read.begin(), read.end(), 0) != read.end()) {
        bytes = plat::FileBytes{};
        return false;
    }
    bytes.size = size;
    lines = 0;
    unsigned char any = 0;
    for (size_t k = 0; k < parts; ++k) {
        const size_t from = size * k / parts;
        lines += counts[k];
        if (from > 0 && from < size && Line_Source::Is_Break(text[from - 1]) && !Line_Source::Is_Break(text[from])) ++lines;
        any |= high[k];
    }
    ascii = any < 0x80;
    return true;
}

void Show_Box(const std::string& fr, const std::string& us) {
    plat::CurrentHost().MsgBox(English() ? us : fr, plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
}

}  // namespace

void Pinit_Save_Project(int16_t mode, const std::string& path) {
    Project_Save_Failed = 0;
    if (Project_Open == 0) return;
    if (mode == 1 && path == Project_File) {
        Msg_Answer = ERREUR_Show_Message(14);
        return;
    }
    const std::string target = mode == 1 ? path : Project_File;
    const std::string origin = mode == 1 ? Project_File : std::string();
    plat::Host& host = plat::CurrentHost();
    host.SetMousePointer(plat::Pointer_Hourglass);
    Progress(true, "Save", "0%", "");

    // Written beside the target piece by piece as it is laid out, then renamed over it: a failed
    // save keeps the old file whole.
    bool ok = !target.empty();
    if (ok) {
        try {
            plat::FileReplacement file(target);
            Lay_Out_File(target, origin, true, [&file](std::string& piece) { file.Write(piece); });
            ok = file.Commit();
        } catch (const std::exception&) {
            ok = false;
        }
    }

    Progress(false, "", "", "");
    host.SetMousePointer(plat::Pointer_Default);
    if (!ok) {
        Project_Save_Failed = 1;
        Show_Box("Le projet n'a pas pu être enregistré : " + target + "\r\nLe fichier précédent est resté intact.",
                 "The project could not be saved: " + target + "\r\nThe previous file is left as it was.");
    }
}

// ---------------------------------------------------------------------------------------------
// Reader

void Pinit_Read_Project(const std::string& path) {
    Project_Read_Failed = 0;
    // One read of the whole file (a large one in parts by several threads), its bytes checked
    // and its lines counted as they come in.
    plat::FileBytes bytes;
    size_t lines = 0;
    bool ascii = true;
    if (!Read_Whole_Project(path, bytes, ascii, lines)) {
        Project_Read_Failed = 1;
        Show_Box("Impossible de lire le fichier projet : " + path, "The project file cannot be read: " + path);
        return;
    }
    // The file is read in place; only a file with bytes beyond ASCII needs a converted copy.
    std::string_view text = bytes.View();
    std::string converted;
    if (!ascii) {
        converted = plat::Cp1252ToUtf8(text);
        bytes = plat::FileBytes{};
        text = converted;
        lines = Line_Source::Count_Lines(text);
    }
    Line_Source source(text, lines);
    Reader r(source);

    // Version.
    std::string version_token;
    try {
        r.Scan();
        version_token = r.Token();
    } catch (const Bad_File&) {
        version_token.clear();
    }
    if (version_token.empty() || version_token[0] != 'V') {
        Msg_Answer = ERREUR_Show_Message(30);
        Project_Read_Failed = 1;
        return;
    }
    const double version = plat::Val(plat::Mid(version_token, 2, 3));
    if (version > 5.1 + 1e-9) {
        Msg_Answer = ERREUR_Show_Message(30);
        Project_Read_Failed = 1;
        return;
    }
    if (version < 4) {
        plat::CurrentHost().MsgBox("Old Tessal version" + Project_Num(version) + "not allowed", plat::MB_OK,
                                   "Tessaline");
        Project_Read_Failed = 1;
        return;
    }
    bool convert = false;
    if (version == 4) {
        plat::Host& host = plat::CurrentHost();
        host.SetMousePointer(plat::Pointer_Default);
        Frm_V24_Show_Modal();
        host.SetMousePointer(plat::Pointer_Hourglass);
        convert = Conv_Line_Layers == 1 || Conv_Poly_Layers == 1 || Conv_Adapt_Lines == 1 || Conv_Excl_Layers == 1;
    }

    // Read into fresh tables; the project that was there comes back whole when the file is bad.
    Project_State before;
    Swap_With_Globals(before);
    int16_t message = -1;
    try {
        Read_Body(r, version, convert, before);
    } catch (const Bad_File& bad) {
        message = bad.message;
    } catch (const std::exception&) {
        message = 0;
    }
    if (message < 0) return;
    Swap_With_Globals(before);
    Project_Read_Failed = 1;
    if (message > 0) Msg_Answer = ERREUR_Show_Message(message);
    else
        Show_Box("Le fichier projet est incomplet ou endommagé ; il n'a pas été chargé : " + path,
                 "The project file is incomplete or damaged and was not loaded: " + path);
}

// ---------------------------------------------------------------------------------------------
// Opening and the recent list

namespace {

// The display pictures of the project's images, element = table index - 1.
void Load_Image_Pictures() {
    if (Project_Window.Clear_Image_Pictures) Project_Window.Clear_Image_Pictures();
    if (!Project_Window.Load_Image_Picture) return;
    Temp_Ima_Bmp = App_Dir + "\\Temp\\$BmpIma$.bmp";
    for (int32_t i = 1; i <= std::min(Image_Count, Image_Table.UBound()); ++i) {
        plat::DeleteFile(Temp_Ima_Bmp);
        plat::DeleteFile(Temp_Tex_Bmp);
        std::string description;
        int16_t status = 1;
        const std::string& file = Image_Table(i).Ima_File;
        if (!file.empty() && plat::FileExists(file))
            Servitudes_Convert_Texture(file, Fs5_Palette, Temp_Ima_Bmp, description, status);
        const bool loaded = status == 0 && Project_Window.Load_Image_Picture(i - 1, Temp_Ima_Bmp);
        if (!loaded) Project_Window.Load_Image_Picture(i - 1, "");
        plat::DeleteFile(Temp_Ima_Bmp);
        plat::DeleteFile(Temp_Tex_Bmp);
    }
}

}  // namespace

void Pinit_Open_Project(const std::string& path) {
    plat::Host& host = plat::CurrentHost();
    Pinit_Read_Project(path);
    if (Project_Read_Failed == 1) {
        host.SetMousePointer(plat::Pointer_Default);
        return;
    }
    Load_Image_Pictures();
    Project_Open = 1;

    int16_t error = 0;
    Tiling_No_Progress no_progress;
    Tiling_Progress_Window& window = Project_Window.Progress_Window ? *Project_Window.Progress_Window
                                                                     : static_cast<Tiling_Progress_Window&>(no_progress);
    const std::string map = Project_Resolve_Path(Map_File, path);
    Com_Split_Map_Bitmap(window, map, error);
    if (error != 0) {
        host.SetMousePointer(plat::Pointer_Default);
        host.MsgBox("Fail to load bitmap : " + map, plat::MB_OK, "Tessaline");
        return;
    }

    // The backup is never the project file itself (a project named "x.bak").
    const std::string backup = Project_Backup_Path(path);
    if (!plat::EqualsNoCase(backup, path) && plat::MapPath(backup) != plat::MapPath(path)) {
        plat::DeleteFile(backup);
        plat::CopyFile(path, backup);
    }

    if (Project_Window.Init_View_And_Tiles) Project_Window.Init_View_And_Tiles();
    Pinit_Update_Recent(path, 1);
    if (Project_Window.Set_Caption)
        Project_Window.Set_Caption(std::string(Tessaline_Version_Caption) + " " + Tessaline_Release_Date + "  " + path);
    Proj_New = 0;
    if (Project_Window.Enter_Project_State) Project_Window.Enter_Project_State();
    host.SetMousePointer(plat::Pointer_Default);
}

void Pinit_Update_Recent(const std::string& path, int16_t mode) {
    const std::string key = plat::UCase(path);
    int found = -1;
    for (int k = 0; k < 4; ++k) {
        if (plat::UCase(Recent_Projects[static_cast<size_t>(k)]) == key) {
            found = k;
            break;
        }
    }
    auto remove = [](int k) {
        for (int j = k; j < 3; ++j) Recent_Projects[static_cast<size_t>(j)] = Recent_Projects[static_cast<size_t>(j + 1)];
        Recent_Projects[3].clear();
    };
    if (mode == 2) {
        if (found < 0) return;
        remove(found);
    } else {
        if (found == 0) return;
        if (found > 0) remove(found);
        for (int j = 3; j > 0; --j) Recent_Projects[static_cast<size_t>(j)] = Recent_Projects[static_cast<size_t>(j - 1)];
        Recent_Projects[0] = path;
    }
    for (int k = 0; k < 4; ++k) {
        const std::string& entry = Recent_Projects[static_cast<size_t>(k)];
        plat::WritePrivateProfileString("Tessaline", "DerApt" + std::to_string(k + 1), entry, Ini_Path);
        if (Project_Window.Set_Recent_Caption) Project_Window.Set_Recent_Caption(k, entry);
    }
}

void Project_File_Reset() {
    for (std::string& entry : Recent_Projects) entry.clear();
    Project_Read_Failed = 0;
    Project_Save_Failed = 0;
    Project_Read_Spread = Project_Read_Spread_Rec{};
    Project_Window = Project_Window_Hooks{};
}
