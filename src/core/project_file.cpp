#include "core/project_file.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <utility>
#include <vector>

#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/project.h"
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
Project_Window_Hooks Project_Window;

namespace {

bool English() { return Language == "US"; }

// ---------------------------------------------------------------------------------------------
// Numbers

// |value| rounded to `precision` significant digits (as %G would, trailing zeros dropped),
// laid out without the zero before the point; a blank or "-" in front.
void Append_Real(std::string& out, double value, bool is_float) {
    if (!std::isfinite(value)) value = 0;  // a NaN or infinity has no text that reads back
    out += value < 0 ? '-' : ' ';
    const double magnitude = std::fabs(value);
    char buf[48];
    // Whole numbers (most altitudes, sizes and frame values) need no digit search.
    if (magnitude < (is_float ? 1e7 : 1e15) && magnitude == std::floor(magnitude)) {
        const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<int64_t>(magnitude));
        out.append(buf, r.ptr);
        return;
    }
    // The common case, a fraction between 1E-04 and 1E+15: the 15 digits come from one product in
    // extended precision, exact to far below the last digit written (a few times faster than the
    // general conversion below).
    if (!is_float && magnitude >= 1e-4 && magnitude < 1e15) {
        static const long double pow10[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                            1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                            1e14L, 1e15L, 1e16L, 1e17L, 1e18L};
        static const double bounds[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2,  1e3,  1e4,  1e5,
                                        1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14};
        int exponent = 14;  // magnitude = d.ddd x 10^exponent
        while (exponent > -4 && magnitude < bounds[exponent + 4]) --exponent;
        // A product this close to a half could round either way: the exact conversion decides.
        bool near_half = false;
        auto scale = [&](int e) {
            const long double product = static_cast<long double>(magnitude) * pow10[14 - e];
            const long long rounded = std::llrint(product);
            if (std::fabs(product - static_cast<long double>(rounded)) > 0.4999L) near_half = true;
            return rounded;
        };
        long long scaled = scale(exponent);
        if (scaled < 100000000000000LL && exponent > -4) {  // just below a power of ten
            --exponent;
            near_half = false;
            scaled = scale(exponent);
        }
        if (scaled >= 1000000000000000LL) {  // rounding carried into a 16th digit
            scaled = (scaled + 5) / 10;
            ++exponent;
        }
        if (!near_half && exponent < 15 && scaled >= 100000000000000LL) {
            char digits[24];
            const auto dr = std::to_chars(digits, digits + sizeof digits, scaled);
            int n = static_cast<int>(dr.ptr - digits);
            while (n > 1 && digits[n - 1] == '0') --n;
            if (exponent < 0) {
                out += '.';
                out.append(static_cast<size_t>(-exponent - 1), '0');
                out.append(digits, static_cast<size_t>(n));
            } else if (n <= exponent + 1) {
                out.append(digits, static_cast<size_t>(n));
                out.append(static_cast<size_t>(exponent + 1 - n), '0');
            } else {
                out.append(digits, static_cast<size_t>(exponent + 1));
                out += '.';
                out.append(digits + exponent + 1, static_cast<size_t>(n - exponent - 1));
            }
            return;
        }
    }
    const int precision = is_float ? 7 : 15;
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
    if (exponent < -4 || exponent >= precision) {
        out += digits[0];
        if (n > 1) {
            out += '.';
            out.append(digits + 1, static_cast<size_t>(n - 1));
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        const int a = std::abs(exponent);
        if (a < 10) out += '0';
        const auto er = std::to_chars(buf, buf + sizeof buf, a);
        out.append(buf, er.ptr);
    } else if (exponent < 0) {
        out += '.';
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out.append(digits, static_cast<size_t>(n));
    } else if (n <= exponent + 1) {
        out.append(digits, static_cast<size_t>(n));
        out.append(static_cast<size_t>(exponent + 1 - n), '0');
    } else {
        out.append(digits, static_cast<size_t>(exponent + 1));
        out += '.';
        out.append(digits + exponent + 1, static_cast<size_t>(n - exponent - 1));
    }
}

// ---------------------------------------------------------------------------------------------
// Writer

void Append_Quoted(std::string& out, const std::string& text) {
    out += '"';
    out += Project_Safe_Text(text);
    out += '"';
}

constexpr const char* Eol = "\r\n";
constexpr const char* B5 = "     ";
constexpr const char* B6 = "      ";

// The chain of a line as it is written: from the first point along the next links, ending after
// the last point. A damaged chain (a loop, an id outside the table) ends the walk early, so the
// count written always matches the point lines that follow.
std::vector<int32_t> Chain_For_Writing(const Line_Rec& line) {
    std::vector<int32_t> ids;
    if (line.Nb_Points == 0) return ids;
    const int32_t limit = std::min(Point_Count, Point_Table.UBound());
    int32_t id = line.First_Point;
    while (id >= 1 && id <= limit && static_cast<int32_t>(ids.size()) < limit) {
        ids.push_back(id);
        if (id == line.Last_Point) break;
        id = Point_Table(id).Next_Point;
    }
    return ids;
}

void Append_Line_Block(std::string& out, const Line_Rec& line) {
    const Route_Attrib& a = line.Attr;
    const std::vector<int32_t> chain = Chain_For_Writing(line);
    out += B6; Append_Quoted(out, a.Text_Rt); out += Eol;
    out += B6; Append_Quoted(out, a.Imbrication); out += Eol;
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
        out += B5; Append_Quoted(out, name); out += Eol;
    }
    for (int32_t id : chain) {
        const Point_Rec& p = Point_Table(id);
        out += B6; Project_Append_Num(out, p.X);
        out += ' '; Project_Append_Num(out, p.Y);
        out += Eol;
    }
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

// The file's lines over one buffer, read the way Pinit_Read_Line reads them.
class Line_Source {
public:
    explicit Line_Source(std::string text) : text_(std::move(text)) {
        // Lines end in CR LF, LF or CR; only the breaks matter here.
        size_t n = 0;
        for (char c : text_) n += (c == '\n' || c == '\r');
        starts_.reserve(n / 2 + 2);
        size_t i = 0;
        const size_t size = text_.size();
        while (i < size) {
            size_t j = i;
            while (j < size && text_[j] != '\r' && text_[j] != '\n') ++j;
            // Empty lines are skipped by every read, so they are not kept.
            if (j > i) starts_.push_back({i, j - i});
            if (j < size && text_[j] == '\r' && j + 1 < size && text_[j + 1] == '\n') ++j;
            i = j + 1;
        }
    }
    size_t Remaining() const { return starts_.size() - next_; }
    // The next non-empty line; a file that ends first is malformed.
    std::string_view Next() {
        while (next_ < starts_.size()) {
            const auto [at, length] = starts_[next_++];
            if (length > 0) return std::string_view(text_).substr(at, length);
        }
        throw Bad_File{0};
    }
    // The next non-empty line into the shared scanner, at position 5.
    void Scan() {
        std::string_view line = Next();
        if (line.size() > 32767) throw Bad_File{0};
        Scan_Line.assign(line);
        Scan_Length = static_cast<int16_t>(line.size());
        Scan_Pos = 5;
    }

private:
    std::string text_;
    std::vector<std::pair<size_t, size_t>> starts_;
    size_t next_ = 0;
};

class Reader {
public:
    explicit Reader(Line_Source& src) : src_(src) {}

    void Scan() {
        src_.Scan();
        exhausted_ = false;
    }
    // Next token of the scanned line as a number; a missing or non-numeric token is malformed.
    double Number() {
        if (exhausted_) throw Bad_File{0};
        Pinit_Next_Token();
        if (Scan_Token.empty()) throw Bad_File{0};
        // The scanner leaves the position on the last character when the line ends there.
        if (Scan_Pos >= Scan_Length) exhausted_ = true;
        double v = 0;
        if (!Project_Parse_Number(Scan_Token, v)) throw Bad_File{0};
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
        Pinit_Next_Quoted();
        return Scan_Token;
    }
    std::string Quoted_Line() {
        Scan();
        return Quoted();
    }
    // A point line "B6 x y", parsed straight from the buffer: it is by far the commonest line.
    void Point(double& x, double& y) {
        std::string_view line = src_.Next();
        if (line.size() < 5) throw Bad_File{0};
        line.remove_prefix(4);
        x = Next_Fast(line);
        y = Next_Fast(line);
    }
    size_t Remaining() const { return src_.Remaining(); }
    std::string_view Next_Line() { return src_.Next(); }

private:
    static double Next_Fast(std::string_view& rest) {
        size_t i = 0;
        while (i < rest.size() && rest[i] == ' ') ++i;
        size_t j = i;
        while (j < rest.size() && rest[j] != ' ') ++j;
        if (i == j) throw Bad_File{0};
        double v = 0;
        if (!Project_Parse_Number(rest.substr(i, j - i), v)) throw Bad_File{0};
        rest.remove_prefix(j);
        return v;
    }

    Line_Source& src_;
    bool exhausted_ = false;
};

// A count read from a header line: not negative, and small enough for the lines that are left.
int32_t Count_For(Reader& r, size_t lines_per_record) {
    const int32_t n = r.Integer<int32_t>();
    if (n < 0) throw Bad_File{0};
    if (lines_per_record > 0 && static_cast<size_t>(n) > r.Remaining() / lines_per_record) throw Bad_File{0};
    return n;
}

void Expect_Tag(const char* tag) {
    if (Scan_Line.compare(0, 4, tag) != 0) throw Bad_File{31};
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
        Point_Rec& pt = Point_Table(p);
        pt.X = x;
        pt.Y = y;
        pt.Prev_Point = 0;
        if (j > 1) {
            pt.Prev_Point = p - 1;
            Point_Table(p - 1).Next_Point = p;
        }
        pt.Next_Point = 0;
    }
    if (convert) Convert_Line_V4(a);
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
    Expect_Tag("0100");
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
    Point_Table.ReDim(Point_Capacity);
    const bool meter_feet = version >= 5.1 - 1e-9;
    int32_t p = 0;
    for (int32_t i = 1; i <= Line_Count; ++i) Read_Line_Block(r, Line_Table(i), meter_feet, p, convert);
    Point_Count = p;

    // Textured areas.
    Table_Empty(Lwm_Cell_Table, Lwm_Cell_Count, Lwm_Cell_Capacity, 3);
    r.Scan();
    Expect_Tag("0120");
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
    Expect_Tag("0140");
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
    Table_Empty(Lod8_Cell_Table, Lod8_Cell_Count, Lod8_Cell_Capacity, 3);
    r.Scan();
    Expect_Tag("0150");
    const int32_t lod8 = Count_For(r, 1);
    if (lod8 != 0) {
        Lod8_Cell_Capacity = lod8 + 3;
        Lod8_Cell_Table.ReDim(Lod8_Cell_Capacity);
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
        Expect_Tag(tag);
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
    Expect_Tag("0180");
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
    Expect_Tag("0200");
    Mesh_Lod_Index = r.Integer<int16_t>();
    Mesh_Lod_Chosen = r.Integer<int16_t>();
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
    if (value >= 0) out += ' ';
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
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

std::string Project_File_Text(const std::string& target_path, const std::string& origin) {
    std::string out;
    out.reserve(static_cast<size_t>(std::max(Point_Count, 0)) * 40 + static_cast<size_t>(std::max(Line_Count, 0)) * 400 + 4096);
    out += "0000 ";
    out += Project_Version_Text;
    out += "  (5.1) ";
    out += General_Date_Now();
    out += ' ';
    out += Project_Safe_Text(target_path);
    out += Eol;
    out += "0002         ";
    if (!origin.empty()) {
        out += " issu de ";
        out += Project_Safe_Text(origin);
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
    out += "0018 "; Append_Quoted(out, Raw_Dir); out += Eol;
    out += "0019 "; Append_Quoted(out, Scenery_Dir); out += Eol;
    out += "0020 "; Append_Quoted(out, Map_File); out += Eol;
    out += "0021 "; Project_Append_Num_Int(out, Map_Width_Px); out += ' '; Project_Append_Num_Int(out, Map_Height_Px); out += Eol;
    out += "0030 "; Append_Quoted(out, Bgl_Base_Path); out += Eol;
    out += "0031 "; Append_Quoted(out, Bgl_Excl_Path); out += Eol;
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
        for (int32_t i = 1; i <= lines; ++i) Append_Line_Block(out, Line_Table(i));
    } else {
        Append_Line_Block(out, Line_Rec{});
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
            out += B5; out += '"'; out += Project_Safe_Text(name); out += Eol;
        }
        out += B5; out += '"'; out += Project_Safe_Text(c.Texte); out += Eol;
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
        out += B6; Append_Quoted(out, m.Ima_File); out += Eol;
        for (const std::string& name : m.Ima_Texture) {
            out += B6; Append_Quoted(out, name); out += Eol;
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
    return out;
}

namespace {

bool All_Ascii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
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

    std::string text = Project_File_Text(target, origin);
    if (!All_Ascii(text)) text = plat::Utf8ToCp1252(text);
    // Written beside the target, then renamed over it: a failed save keeps the old file whole.
    const bool ok = !target.empty() && plat::ReplaceFileAtomically(target, text);

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
    // One read of the whole file.
    std::vector<uint8_t> bytes;
    const long long length = plat::FileLength(path);
    if (length < 0 || !plat::ReadBinaryRange(path, 0, static_cast<size_t>(length), bytes)) {
        Project_Read_Failed = 1;
        Show_Box("Impossible de lire le fichier projet : " + path, "The project file cannot be read: " + path);
        return;
    }
    std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    Line_Source source(All_Ascii(raw) ? std::string(raw) : plat::Cp1252ToUtf8(raw));
    std::vector<uint8_t>().swap(bytes);
    Reader r(source);

    // Version.
    double version = 0;
    try {
        r.Scan();
        Pinit_Next_Token();
    } catch (const Bad_File&) {
        Scan_Token.clear();
    }
    if (Scan_Token.empty() || Scan_Token[0] != 'V') {
        Msg_Answer = ERREUR_Show_Message(30);
        Project_Read_Failed = 1;
        return;
    }
    version = plat::Val(plat::Mid(Scan_Token, 2, 3));
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
    Com_Split_Map_Bitmap(window, Map_File, error);
    if (error != 0) {
        host.SetMousePointer(plat::Pointer_Default);
        host.MsgBox("Fail to load bitmap : " + Map_File, plat::MB_OK, "Tessaline");
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
    Project_Window = Project_Window_Hooks{};
}
