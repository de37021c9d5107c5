// The project file's reader: the version rules, the sections in their order, the version-4
// conversion, and the promise that a file it refuses leaves the open project as it was.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "core/erreur.h"
#include "core/project.h"
#include "core/project_checks.h"
#include "core/project_file.h"
#include "core/syst.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/number.h"
#include "platform/text.h"

namespace {

// Every global a project file holds, listed once: the reader swaps them all at once, so that a
// file it refuses puts back exactly what was there. A global the file gains belongs here.
auto Project_Globals() {
    return std::tie(Map_File, Map_Width_Px, Map_Height_Px,
                    Map_Top_Lat, Map_Left_Lon, Map_Bottom_Lat, Map_Right_Lon,
                    Proj_Lat_NW, Proj_Lon_NW, Proj_Lat_SE, Proj_Lon_SE,
                    Map_Lat_North, Map_Lon_West, Map_Lat_South, Map_Lon_East,
                    Proj_Px_NW_X, Proj_Px_NW_Y, Proj_Px_SE_X, Proj_Px_SE_Y,
                    Map_Px_West, Map_Px_North, Map_Px_East, Map_Px_South,
                    Proj_NW_Set, Proj_SE_Set, Grid_Corner_Cells, Grid_Frame_Cells,
                    Lc_Merge, Lc_Keep_Raw, Raw_Dir, Scenery_Dir, Bgl_Base_Path, Bgl_Excl_Path,
                    Tile_Count, Tile_Rows, Tile_Cols, Alt_Unit_Feet, Alt_Offset, Cfs_Mode,
                    Line_Table, Line_Count, Line_Capacity, Line_Id_Counter,
                    Point_Table, Point_Count, Point_Capacity,
                    Lwm_Cell_Table, Lwm_Cell_Count, Lwm_Cell_Capacity,
                    Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity,
                    Lod8_Cell_Table, Lod8_Cell_Count, Lod8_Cell_Capacity,
                    Lc_Cell_Table, Lc_Cell_Count, Lc_Cell_Capacity,
                    Wc_Cell_Table, Wc_Cell_Count, Wc_Cell_Capacity,
                    Image_Table, Image_Count, Image_Capacity,
                    Grid_Point_Table, Grid_Point_Count, Grid_Point_Capacity,
                    Mesh_Lod_Index, Mesh_Lod_Chosen);
}

// The project as the reader replaces it: a value for each of the globals, zero or empty when
// made, in their order.
template <class... T>
std::tuple<T...> Values_Of(std::tuple<T&...>);
using Project_State = decltype(Values_Of(Project_Globals()));

void Swap_With_Globals(Project_State& state) {
    std::apply([](auto&... saved) {
        std::apply([&](auto&... global) {
            using std::swap;
            (swap(saved, global), ...);
        }, Project_Globals());
    }, state);
}

// The value `state` holds for `global`, one of the Project_Globals.
template <class State, class T>
auto& Saved(State& state, const T& global) {
    using Value = std::conditional_t<std::is_const_v<State>, const T, T>;
    Value* found = nullptr;
    std::apply([&](auto&... saved) {
        std::apply([&](const auto&... g) {
            const auto match = [&](auto& s, const auto& candidate) {
                if constexpr (std::is_same_v<std::remove_cvref_t<decltype(s)>, T>)
                    if (&candidate == &global) found = &s;
            };
            (match(saved, g), ...);
        }, Project_Globals());
    }, state);
    return *found;
}

// Raised inside the reader for a file it refuses; caught in Pinit_Read_Project, never beyond.
struct Bad_File {
    int16_t message;  // numbered message to show, 0 for the plain "damaged" box or the texts
    std::string fr = {}, us = {};  // what is wrong, naming the object and field; empty: "damaged"
};

// A count of the file and what it counts, named as the refusals name it.
struct Counted {
    std::string fr, us;  // "Points d'altitude : leur nombre", "Altitude grid points: their count"
    int32_t n = 0;
};

Bad_File Count_Fault(const Counted& c, bool negative) {
    const std::string n = " (" + std::to_string(c.n) + ")";
    if (negative) return {0, c.fr + n + " ne peut pas être négatif.", c.us + n + " cannot be negative."};
    return {0, c.fr + n + " dépasse les enregistrements qui le suivent dans le fichier.",
            c.us + n + " runs past the records that follow it in the file."};
}

// The fields of the file, read in place from the whole file's bytes. A line or a token that is
// missing reads as empty, and an empty number as 0; only a file that ends early, or a number
// that does not fit its field, is refused, naming the object being read and the field. Lines
// are scanned as the shared line scanner does: empty lines skipped, the four-character tag
// passed over, tokens split at blanks.
class Reader {
public:
    explicit Reader(std::string_view bytes) : lines_(bytes) {}

    // The object whose lines are read next, as the refusals name it.
    void At(std::string fr, std::string us) {
        object_fr_ = std::move(fr);
        object_us_ = std::move(us);
    }
    // A refusal of the object being read: `fr` and `us` say what is wrong with it.
    Bad_File Fault(const std::string& fr, const std::string& us) const {
        return {0, object_fr_ + " : " + fr, object_us_ + ": " + us};
    }

    // The first token of the first line that is not empty (the version), "" when there is none.
    std::string First_Token() {
        if (!Next_Line()) return {};
        return plat::Cp1252ToUtf8(Token());
    }
    void Line() {
        // Records that end before their count is met: the count is what is wrong.
        if (!Next_Line())
            throw counting_ ? Count_Fault(*counting_, false)
                            : Fault("le fichier s'arrête avant sa ligne.", "the file ends before its line.");
        // The scanner's positions are 16-bit: a longer line would be read cut short. Positions
        // count the characters of the file, one byte each, before any text is converted.
        if (line_.size() > Longest_Line) {
            const std::string n = std::to_string(line_.size()), most = std::to_string(Longest_Line);
            throw Fault("une ligne de " + n + " caractères dépasse les " + most + " que le lecteur prend.",
                        "a line of " + n + " characters is longer than the " + most + " the reader takes.");
        }
    }
    double Number(const char* field) {
        const std::string_view token = Token();
        const plat::NumberText n = plat::ReadNumber(token);
        if (!n.fits) throw Too_Large(field, token, "");
        return n.value;
    }
    // Rounded to the nearest whole number, halves to even, and within the field.
    template <class Int>
    Int Integer(const char* field) {
        const std::string_view token = Token();
        constexpr int64_t low = std::numeric_limits<Int>::min(), high = std::numeric_limits<Int>::max();
        const std::optional<int64_t> r = Project_Read_Whole(token, low, high);
        if (!r) throw Too_Large(field, token, std::to_string(low) + (" .. ") + std::to_string(high));
        return static_cast<Int>(*r);
    }
    float Float(const char* field) {
        const std::string_view token = Token();
        const plat::NumberText n = plat::ReadNumber(token);
        if (!n.fits || std::fabs(n.value) > std::numeric_limits<float>::max()) throw Too_Large(field, token, "");
        return static_cast<float>(n.value);
    }
    // The text after the next double quote, up to the closing one or the end of the line.
    std::string Quoted_Line() {
        Line();
        if (at_ >= line_.size()) return {};
        const size_t open = line_.find('"', at_);
        if (open == std::string_view::npos) return {};
        const size_t close = std::min(line_.find('"', open + 1), line_.size());
        return plat::Cp1252ToUtf8(line_.substr(open + 1, close - open - 1));
    }
    // The next line must be the section `tag`.
    void Section(std::string_view tag) {
        counting_.reset();
        At("La section " + std::string(tag), "Section " + std::string(tag));
        Line();
        if (line_.substr(0, 4) != tag) throw Bad_File{31};
    }
    // A count on a section line, named by `what` (its object and field): not negative, and small
    // enough for the lines that are left. The records read next are those it counts.
    int32_t Count(size_t lines_per_record, Counted what) {
        what.n = Named_Integer(what);
        Expect(what, lines_per_record);
        return what.n;
    }
    // The records read next are `what.n` records of `lines_per_record` lines each. Returns what
    // was expected before, for Expect_Again once these are read.
    std::optional<Counted> Expect(const Counted& what, size_t lines_per_record) {
        if (what.n < 0) throw Count_Fault(what, true);
        if (lines_per_record > 0 && static_cast<size_t>(what.n) > Lines_Left() / lines_per_record)
            throw Count_Fault(what, false);
        return std::exchange(counting_, what);
    }
    void Expect_Again(std::optional<Counted> before) { counting_ = std::move(before); }
    size_t Lines_Left() const { return lines_.Left(); }

    // A count or number named by `what` itself, refused in its words when it does not fit.
    int32_t Named_Integer(const Counted& what) {
        const std::string_view token = Token();
        const std::optional<int64_t> r =
            Project_Read_Whole(token, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
        if (r) return static_cast<int32_t>(*r);  // a negative one is refused by Expect
        const std::string shown = " (" + plat::Cp1252ToUtf8(token) + ")";
        throw Bad_File{0, what.fr + shown + " n'est pas un nombre entier sur 32 bits.",
                       what.us + shown + " is not a whole number that fits 32 bits."};
    }

private:
    static constexpr size_t Longest_Line = 32766;

    // A number that its field cannot hold; `range` the field's whole numbers, "" for a decimal.
    Bad_File Too_Large(const char* field, std::string_view token, const std::string& range) const {
        const std::string shown = std::string(field) + " (" + plat::Cp1252ToUtf8(token) + ")";
        if (range.empty())
            return Fault(shown + " est un nombre trop grand pour le programme.", shown + " is a number too large for the program.");
        return Fault(shown + " ne tient pas dans son champ, de " + range + ".",
                     shown + " does not fit its field, " + range + ".");
    }

    // The "End" line closes the data: a count that runs past the records before it must not
    // read it as one more record of zeros.
    bool Next_Line() {
        while (!ended_ && lines_.Next(line_)) {
            if (line_.empty()) continue;
            if (Is_End(line_)) break;
            at_ = 4;
            return true;
        }
        ended_ = true;
        line_ = {};
        return false;
    }
    static bool Is_End(std::string_view line) {
        while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
        return line == "End";
    }
    // The next blank-separated token; "" past the last one.
    std::string_view Token() {
        while (at_ < line_.size() && line_[at_] == ' ') ++at_;
        if (at_ >= line_.size()) return {};
        // Tokens are a few characters: a plain loop beats a library search here.
        size_t end = at_;
        while (end < line_.size() && line_[end] != ' ') ++end;
        const std::string_view token = line_.substr(at_, end - at_);
        at_ = end;
        return token;
    }

    plat::TextLines lines_;
    std::optional<Counted> counting_;
    bool ended_ = false;
    std::string_view line_;
    size_t at_ = 0;  // read position in line_
    std::string object_fr_ = "Le fichier projet", object_us_ = "The project file";
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

// One line block; its points are appended in file order after those read so far.
void Read_Line_Block(Reader& r, int32_t entry, Line_Rec& line, bool meter_feet, bool convert) {
    Route_Attrib& a = line.Attr;
    // Named by its place until its id is read.
    const std::string place = std::to_string(entry);
    r.At("Ligne de l'entrée " + place, "Line of entry " + place);
    a.Text_Rt = r.Quoted_Line();
    a.Imbrication = r.Quoted_Line();
    r.Line();
    line.Line_Id = r.Integer<int32_t>("Line_Id");
    r.At("Ligne n°" + std::to_string(line.Line_Id), "Line " + std::to_string(line.Line_Id));
    const int32_t n = r.Integer<int32_t>("Nb_Points");
    const std::string id = std::to_string(line.Line_Id);
    const std::optional<Counted> lines = r.Expect({"Ligne n°" + id + " : son nombre de points", "Line " + id + ": its point count", n}, 1);
    a.Alti = r.Number("Alti");
    a.Attrib = r.Integer<int16_t>("Attrib");
    a.LandOnRight = r.Integer<int16_t>("LandOnRight");
    a.Type_Code = r.Integer<int16_t>("Type_Code");
    a.Largeur = r.Integer<int16_t>("Largeur");
    a.SurfShore = r.Integer<int16_t>("SurfShore");
    a.FermerLine = r.Integer<int16_t>("FermerLine");
    a.Layer = r.Integer<uint8_t>("Layer");
    a.Image_Link = r.Integer<int16_t>("Image_Link");
    a.LWM_VTP2 = r.Integer<int16_t>("LWM_VTP2");
    a.LandClass_Source = r.Integer<int16_t>("LandClass_Source");
    a.LC_Code = r.Integer<int16_t>("LC_Code");
    a.Layer_Vtp2 = r.Integer<int16_t>("Layer_Vtp2");
    a.Alt_Coast = r.Number("Alt_Coast");
    a.Line_Night = r.Integer<int16_t>("Line_Night");
    a.Drive_Right = r.Integer<int16_t>("Drive_Right");
    a.LayerScasm = r.Integer<int16_t>("LayerScasm");
    a.Vtp1_Line = r.Integer<int16_t>("Vtp1_Line");
    a.Effil_Deb = r.Integer<int16_t>("Effil_Deb");
    a.Effil_Fin = r.Integer<int16_t>("Effil_Fin");
    a.VTP1_SpecNor = r.Integer<int16_t>("VTP1_SpecNor");
    a.Flip_VTP1Texture = r.Integer<int16_t>("Flip_VTP1Texture");
    a.Meter_Feet = meter_feet ? r.Integer<int16_t>("Meter_Feet") : 0;
    for (std::string& name : a.Texture_Name) name = r.Quoted_Line();
    line.First_Point = 0;
    line.Last_Point = 0;
    line.Nb_Points = 0;
    for (int32_t j = 1; j <= n; ++j) {
        r.Line();
        const double x = r.Number("x");
        const double y = r.Number("y");
        if (Point_Count == std::numeric_limits<int32_t>::max())
            throw r.Fault("ses points dépassent les 2147483647 que le programme tient.",
                          "its points run past the 2147483647 the program holds.");
        // More points than the stored count: the table doubles rather than the file being refused.
        const int32_t doubling = std::max(1, std::min(Point_Capacity, std::numeric_limits<int32_t>::max() - Point_Capacity));
        Project_Append_Point(line, x, y, doubling);
    }
    r.Expect_Again(lines);
    if (convert) Convert_Line_V4(a);
}

void Read_Class_Cells(Reader& r, const char* tag, Counted what, const std::string& item_fr, const std::string& item_us,
                      Vb_Array<Class_Cell_Rec>& table, int32_t& count, int32_t& capacity) {
    Table_Empty(table, count, capacity, 1);
    r.Section(tag);
    const int32_t n = r.Count(1, std::move(what));
    if (n != 0) {
        capacity = n + 1;
        table.ReDim(capacity);
        for (int32_t i = 1; i <= n; ++i) {
            Class_Cell_Rec& c = table(i);
            r.At(item_fr + " " + std::to_string(i), item_us + " " + std::to_string(i));
            r.Line();
            c.Lod8_Col = r.Integer<int16_t>("Lod8_Col");
            c.Lod8_Row = r.Integer<int16_t>("Lod8_Row");
            c.Lod13_Col = r.Integer<int16_t>("Lod13_Col");
            c.Lod13_Row = r.Integer<int16_t>("Lod13_Row");
            c.Class_Code = r.Integer<uint8_t>("Class_Code");
        }
    }
    count = n;
}

void Read_Body(Reader& r, double version, bool convert, const Project_State& before) {
    // The origin line, then the header lines by position, without checking their tags.
    r.At("L'en-tête du projet", "The project's header");
    r.Line();
    r.Line();
    Map_Top_Lat = r.Number("Map_Top_Lat"); Map_Left_Lon = r.Number("Map_Left_Lon"); Map_Bottom_Lat = r.Number("Map_Bottom_Lat"); Map_Right_Lon = r.Number("Map_Right_Lon");
    Proj_Lat_NW = r.Number("Proj_Lat_NW"); Proj_Lon_NW = r.Number("Proj_Lon_NW"); Proj_Lat_SE = r.Number("Proj_Lat_SE"); Proj_Lon_SE = r.Number("Proj_Lon_SE");
    Map_Lat_North = r.Number("Map_Lat_North"); Map_Lon_West = r.Number("Map_Lon_West"); Map_Lat_South = r.Number("Map_Lat_South"); Map_Lon_East = r.Number("Map_Lon_East");
    r.Line();
    Lc_Merge = r.Integer<int16_t>("Lc_Merge");
    Lc_Keep_Raw = r.Integer<int16_t>("Lc_Keep_Raw");
    Raw_Dir = r.Quoted_Line();
    Scenery_Dir = r.Quoted_Line();
    Map_File = r.Quoted_Line();
    r.Line();
    Map_Width_Px = r.Integer<int32_t>("Map_Width_Px");
    Map_Height_Px = r.Integer<int32_t>("Map_Height_Px");
    Bgl_Base_Path = r.Quoted_Line();
    Bgl_Excl_Path = r.Quoted_Line();
    r.Line();
    for (int16_t& v : Grid_Corner_Cells) v = r.Integer<int16_t>("Grid_Corner_Cells");
    for (int16_t& v : Grid_Frame_Cells) v = r.Integer<int16_t>("Grid_Frame_Cells");
    r.Line();
    Proj_Px_NW_X = r.Integer<int32_t>("Proj_Px_NW_X"); Proj_Px_NW_Y = r.Integer<int32_t>("Proj_Px_NW_Y");
    Proj_Px_SE_X = r.Integer<int32_t>("Proj_Px_SE_X"); Proj_Px_SE_Y = r.Integer<int32_t>("Proj_Px_SE_Y");
    Map_Px_West = r.Number("Map_Px_West"); Map_Px_North = r.Number("Map_Px_North"); Map_Px_East = r.Number("Map_Px_East"); Map_Px_South = r.Number("Map_Px_South");
    r.Line();
    Proj_NW_Set = r.Integer<int16_t>("Proj_NW_Set");
    Proj_SE_Set = r.Integer<int16_t>("Proj_SE_Set");
    r.Line();
    Tile_Count = r.Integer<int16_t>("Tile_Count"); Tile_Rows = r.Integer<int16_t>("Tile_Rows"); Tile_Cols = r.Integer<int16_t>("Tile_Cols");
    r.Line();
    Alt_Unit_Feet = r.Integer<int16_t>("Alt_Unit_Feet");
    Alt_Offset = r.Float("Alt_Offset");
    Cfs_Mode = r.Integer<int16_t>("Cfs_Mode");

    // Lines. Entry 1 is the placeholder and is always there.
    r.Section("0100");
    const int32_t lines = r.Count(9, {"Lignes : leur nombre", "Lines: their count"});
    if (lines < 1)
        throw Bad_File{0, "Lignes : leur nombre (" + std::to_string(lines) + ") doit être au moins 1, l'entrée réservée.",
                       "Lines: their count (" + std::to_string(lines) + ") must be at least 1, the placeholder entry."};
    Line_Count = lines;
    Line_Id_Counter = r.Integer<int32_t>("Line_Id_Counter");
    const int32_t stored_points = r.Integer<int32_t>("Point_Count");
    if (stored_points < 0)
        throw Count_Fault({"Points : leur nombre enregistré", "Points: their stored count", stored_points}, true);
    Line_Capacity = Line_Count;
    Line_Table.ReDim(Line_Capacity);
    // A deleted point keeps its id, so the stored count may exceed the point lines; a count
    // far beyond what the file holds is capped and the table grows as points come.
    const int64_t cap = int64_t{4} * static_cast<int64_t>(r.Lines_Left()) + 1000;
    Point_Capacity = stored_points == 0 ? 10 : static_cast<int32_t>(std::min<int64_t>(stored_points, cap));
    Point_Table.ReDim(Point_Capacity);
    const bool meter_feet = version >= 5.1 - 1e-9;
    Point_Count = 0;
    for (int32_t i = 1; i <= Line_Count; ++i) Read_Line_Block(r, i, Line_Table(i), meter_feet, convert);

    // Textured areas.
    Table_Empty(Lwm_Cell_Table, Lwm_Cell_Count, Lwm_Cell_Capacity, 3);
    r.Section("0120");
    const int32_t lwm = r.Count(8, {"Zones texturées : leur nombre", "Textured areas: their count"});
    if (lwm != 0) {
        Lwm_Cell_Capacity = lwm + 3;
        Lwm_Cell_Table.ReDim(Lwm_Cell_Capacity);
        for (int32_t i = 1; i <= lwm; ++i) {
            Lwm_Cell_Rec& c = Lwm_Cell_Table(i);
            r.At("Zone texturée " + std::to_string(i), "Textured area " + std::to_string(i));
            r.Line();
            c.Alti = r.Number("Alti");
            c.Attrib = r.Integer<uint8_t>("Attrib");
            c.Lod13_Col = r.Integer<int16_t>("Lod13_Col");
            c.Lod13_Row = r.Integer<int16_t>("Lod13_Row");
            c.Lod8_Col = r.Integer<int16_t>("Lod8_Col");
            c.Lod8_Row = r.Integer<int16_t>("Lod8_Row");
            c.Fill1x1 = r.Integer<int16_t>("Fill1x1");
            c.InvertMask = r.Integer<int16_t>("InvertMask");
            c.InvertMaskValue = r.Integer<int16_t>("InvertMaskValue");
            c.Custom = r.Integer<int16_t>("Custom");
            c.Texture_Source = r.Integer<int16_t>("Texture_Source");
            c.LC_Code = r.Integer<int16_t>("LC_Code");
            c.Layer = r.Integer<int16_t>("Layer");
            for (std::string& name : c.Texture_Name) name = r.Quoted_Line();
            c.Texte = r.Quoted_Line();
        }
    }
    Lwm_Cell_Count = lwm;

    // Exclusion areas; a count of 0 keeps the table that was there.
    r.Section("0140");
    const int32_t excl = r.Count(1 + Excl_Flag_Count, {"Zones d'exclusion : leur nombre", "Exclusion areas: their count"});
    if (excl != 0) {
        Excl_Cell_Capacity = excl + 2;
        Excl_Cell_Table.ReDim(Excl_Cell_Capacity);
        for (int32_t i = 1; i <= excl; ++i) {
            Excl_Cell_Rec& e = Excl_Cell_Table(i);
            r.At("Zone d'exclusion " + std::to_string(i), "Exclusion area " + std::to_string(i));
            r.Line();
            e.Lod8_Col = r.Integer<int16_t>("Lod8_Col");
            e.Lod8_Row = r.Integer<int16_t>("Lod8_Row");
            e.Lod13_Col = r.Integer<int16_t>("Lod13_Col");
            e.Lod13_Row = r.Integer<int16_t>("Lod13_Row");
            for (uint8_t& f : e.Excluded) {
                r.Line();
                f = r.Integer<uint8_t>("Excluded");
            }
            if (convert && Conv_Excl_Layers == 1) Convert_Excl_V4(e);
        }
    } else {
        Excl_Cell_Table = Saved(before, Excl_Cell_Table);
        Excl_Cell_Capacity = Saved(before, Excl_Cell_Capacity);
    }
    Excl_Cell_Count = excl;

    // LOD8 cells.
    r.Section("0150");
    const int32_t lod8 = r.Count(1, {"Cellules LOD8 : leur nombre", "LOD8 cells: their count"});
    Table_Empty(Lod8_Cell_Table, Lod8_Cell_Count, Lod8_Cell_Capacity, lod8 + 3);
    for (int32_t i = 1; i <= lod8; ++i) {
        Lod8_Cell_Rec& c = Lod8_Cell_Table(i);
        r.At("Cellule LOD8 " + std::to_string(i), "LOD8 cell " + std::to_string(i));
        r.Line();
        c.Alti = r.Number("Alti");
        c.Attrib = r.Integer<uint8_t>("Attrib");
        c.Lod8_Col = r.Integer<int16_t>("Lod8_Col");
        c.Lod8_Row = r.Integer<int16_t>("Lod8_Row");
    }
    Lod8_Cell_Count = lod8;

    Read_Class_Cells(r, "0160", {"Cellules de classe de terrain : leur nombre", "Land-class cells: their count"},
                     "Cellule de classe de terrain", "Land-class cell",
                     Lc_Cell_Table, Lc_Cell_Count, Lc_Cell_Capacity);
    Read_Class_Cells(r, "0170", {"Cellules de classe d'eau : leur nombre", "Water-class cells: their count"},
                     "Cellule de classe d'eau", "Water-class cell",
                     Wc_Cell_Table, Wc_Cell_Count, Wc_Cell_Capacity);

    // Images.
    Table_Empty(Image_Table, Image_Count, Image_Capacity, 3);
    r.Section("0180");
    const int32_t images = r.Count(7, {"Images de texture : leur nombre", "Texture images: their count"});
    if (images != 0) {
        Image_Capacity = images + 3;
        Image_Table.ReDim(Image_Capacity);
        for (int32_t i = 1; i <= images; ++i) {
            Image_Rec& m = Image_Table(i);
            r.At("Image de texture " + std::to_string(i), "Texture image " + std::to_string(i));
            m.Ima_In_Use = 1;
            m.Ima_File = r.Quoted_Line();
            for (std::string& name : m.Ima_Texture) name = r.Quoted_Line();
            r.Line();
            m.Ima_Number = r.Integer<int16_t>("Ima_Number");
            m.Ima_X1 = r.Number("Ima_X1");
            m.Ima_Y1 = r.Number("Ima_Y1");
            m.Ima_X2 = r.Number("Ima_X2");
            m.Ima_Y2 = r.Number("Ima_Y2");
            m.Ima_Width = r.Integer<int16_t>("Ima_Width");
            m.Ima_Height = r.Integer<int16_t>("Ima_Height");
        }
    }
    Image_Count = images;

    // Grid points.
    Table_Empty(Grid_Point_Table, Grid_Point_Count, Grid_Point_Capacity, 50);
    r.Section("0200");
    Mesh_Lod_Index = r.Integer<int16_t>("Mesh_Lod_Index");
    Mesh_Lod_Chosen = r.Integer<int16_t>("Mesh_Lod_Chosen");
    // A level that is none of the five options counts as never chosen.
    if (Mesh_Lod_Index < 0 || Mesh_Lod_Index > 4) {
        Mesh_Lod_Index = 2;
        Mesh_Lod_Chosen = 0;
    }
    const int32_t grid = r.Count(1, {"Points d'altitude : leur nombre", "Altitude grid points: their count"});
    if (grid != 0) {
        Grid_Point_Capacity = grid + 50;
        Grid_Point_Table.ReDim(Grid_Point_Capacity);
        for (int32_t i = 1; i <= grid; ++i) {
            Grid_Point_Rec& g = Grid_Point_Table(i);
            r.At("Point d'altitude " + std::to_string(i), "Altitude grid point " + std::to_string(i));
            r.Line();
            g.Defined = 1;
            g.Alt = r.Float("Alt");
            g.X = r.Number("X");
            g.Y = r.Number("Y");
        }
    }
    Grid_Point_Count = grid;
    // The "End" line is not needed: what follows the last section is not read.
}

}  // namespace

void Pinit_Read_Project(const std::string& path) {
    Project_Read_Failed = 0;
    std::string bytes;
    if (!plat::ReadWholeFile(path, bytes)) {
        Project_Read_Failed = 1;
        Project_File_Box("Impossible de lire le fichier projet : " + path, "The project file cannot be read: " + path);
        return;
    }
    // A text editor's UTF-8 byte-order mark: what follows is UTF-8, not the file's code page.
    constexpr std::string_view utf8_mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(utf8_mark)) bytes = plat::Utf8ToCp1252(std::string_view(bytes).substr(utf8_mark.size()));
    Reader r(bytes);

    // Version: the first token after the tag, "V" and three characters of number.
    const std::string version_token = r.First_Token();
    if (version_token.empty() || version_token[0] != 'V') {
        Msg_Answer = ERREUR_Show_Message(30);
        Project_Read_Failed = 1;
        return;
    }
    const double version = plat::ReadNumber(plat::Mid(version_token, 2, 3)).value;
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
        if (Ask_Conversion_Options) Ask_Conversion_Options();
        host.SetMousePointer(plat::Pointer_Hourglass);
        convert = Conv_Line_Layers == 1 || Conv_Poly_Layers == 1 || Conv_Adapt_Lines == 1 || Conv_Excl_Layers == 1;
    }

    // Read into fresh tables; the project that was there comes back whole when the file is bad.
    Project_State before;
    Saved(before, Mesh_Lod_Index) = 2;  // as a new project has it
    Swap_With_Globals(before);
    std::optional<Bad_File> refused;
    try {
        Read_Body(r, version, convert, before);
    } catch (const Bad_File& bad) {
        refused = bad;
    } catch (const std::exception&) {
        refused = Bad_File{0};
    }
    if (!refused) {
        const Project_Value_Fault fault = Project_Check_Values(path);
        if (!fault.Any()) return;
        Swap_With_Globals(before);
        Project_Read_Failed = 1;
        if (fault.message != 0) ERREUR_Show_Message_Extra(fault.message, Language == "US" ? fault.us : fault.fr);
        else Project_File_Box(fault.fr, fault.us);
        return;
    }
    Swap_With_Globals(before);
    Project_Read_Failed = 1;
    if (refused->message > 0) Msg_Answer = ERREUR_Show_Message(refused->message);
    else if (!refused->fr.empty())
        Project_File_Box(refused->fr + "\r\nLe fichier projet n'a pas été chargé : " + path,
                         refused->us + "\r\nThe project file was not loaded: " + path);
    else
        Project_File_Box("Le fichier projet est incomplet ou endommagé ; il n'a pas été chargé : " + path,
                         "The project file is incomplete or damaged and was not loaded: " + path);
}
