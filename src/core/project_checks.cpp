// The project's values that a file can hold but the program cannot use: a frame or calibration
// beyond the poles or the 180th meridian, edges the wrong way round, pixel edges beyond 32 bits,
// cells beyond the world's grid, and attributes that no window enters and no writer can write.
// Inside the world the grid has at most 16384 LOD13 rows and 24576 columns, so every count the
// drawing and the generators derive from the frame fits its integer.
#include "core/project_checks.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>

#include "core/project.h"
#include "core/project_paths.h"
#include "core/syst.h"
#include "platform/text.h"

namespace {

struct Edge_Pair {
    const char* fr;
    const char* us;
    double high;   // the north or east edge
    double low;    // the south or west edge
    double limit;  // 90 for latitudes, 180 for longitudes, Project_Pixel_Limit for pixels
};

bool Within(double v, double limit) { return v >= -limit && v <= limit; }  // false for NaN too

// One whole-number field and the range it must lie in.
struct Field_Range {
    const char* fr;
    const char* us;
    int32_t value;
    int32_t low, high;
};

struct Object_Name {
    std::string fr, us;
};

// The first field of `fields` out of its range, as the refusal's text.
std::optional<Project_Value_Fault> Out_Of_Range(const Object_Name& object, std::initializer_list<Field_Range> fields) {
    for (const Field_Range& f : fields) {
        if (f.value >= f.low && f.value <= f.high) continue;
        const std::string range = std::to_string(f.low) + " à " + std::to_string(f.high);
        const std::string range_us = std::to_string(f.low) + " to " + std::to_string(f.high);
        return Project_Value_Fault{
            object.fr + " : " + f.fr + " (" + std::to_string(f.value) + ") sort des valeurs permises, de " + range + ".",
            object.us + ": " + f.us + " (" + std::to_string(f.value) + ") lies outside the values allowed, " + range_us + "."};
    }
    return std::nullopt;
}

Object_Name Numbered(const char* fr, const char* us, int32_t n) {
    return {std::string(fr) + " n°" + std::to_string(n), std::string(us) + " " + std::to_string(n)};
}

// The keys of a cell and of its LOD13 area inside it, within the world's grid.
template <class Cell>
std::optional<Project_Value_Fault> Cell_Keys(const Object_Name& name, const Cell& c, bool with_area) {
    if (auto fault = Out_Of_Range(name, {{"sa colonne LOD8", "its LOD8 column", c.Lod8_Col, 0, 767},
                                         {"sa ligne LOD8", "its LOD8 row", c.Lod8_Row, 0, 511}}))
        return fault;
    if constexpr (requires { c.Lod13_Col; }) {
        if (with_area)
            return Out_Of_Range(name, {{"sa colonne LOD13", "its LOD13 column", c.Lod13_Col, 0, 31},
                                       {"sa ligne LOD13", "its LOD13 row", c.Lod13_Row, 0, 31}});
    }
    return std::nullopt;
}

template <class Cell>
std::optional<Project_Value_Fault> Cell_Table(const char* fr, const char* us, const Vb_Array<Cell>& table,
                                              int32_t count, bool with_area) {
    const int32_t last = std::min(count, table.UBound());
    for (int32_t i = 1; i <= last; ++i)
        if (auto fault = Cell_Keys(Numbered(fr, us, i), table(i), with_area)) return fault;
    return std::nullopt;
}

// A line's width goes into a source only for a wide line or a night line; elsewhere it is never
// read, and older versions left anything there. Type codes are the four digits of a texture
// section's number.
std::optional<Project_Value_Fault> Line_Fields() {
    const int32_t last = std::min(Line_Count, Line_Table.UBound());
    for (int32_t i = 2; i <= last; ++i) {
        const Line_Rec& line = Line_Table(i);
        const Route_Attrib& a = line.Attr;
        Object_Name name = Numbered("Ligne", "Line", line.Line_Id);
        if (!a.Text_Rt.empty()) {
            name.fr += " (" + a.Text_Rt + ")";
            name.us += " (" + a.Text_Rt + ")";
        }
        if (auto fault = Out_Of_Range(name, {{"son type", "its type code", a.Type_Code, 0, 9999}})) return fault;
        const bool width_written = a.SurfShore != 0 && (a.Vtp1_Line != 1 || a.Line_Night != 0);
        if (width_written)
            if (auto fault = Out_Of_Range(name, {{"sa largeur", "its width", a.Largeur, 0, 255}})) return fault;
    }
    return std::nullopt;
}

// The id counter lies at or above every id in use. At the top of its range it is what the
// program itself leaves after its last fresh id: new lines then take ids no line holds.
std::optional<Project_Value_Fault> Line_Counter() {
    int32_t highest = 0;
    const int32_t last = std::min(Line_Count, Line_Table.UBound());
    for (int32_t i = 2; i <= last; ++i) highest = std::max(highest, Line_Table(i).Line_Id);
    return Out_Of_Range({"Lignes", "Lines"}, {{"leur compteur d'identifiants", "their id counter", Line_Id_Counter,
                                               highest, std::numeric_limits<int32_t>::max()}});
}

std::string No_File_In(const std::string& path, bool less_bgl, bool us) {
    return Project_Bgl_Name_Fault(path, less_bgl ? Project_Bgl_Field::Base : Project_Bgl_Field::Exclusion, us);
}

// The two BGL names, refused as the parameters window refuses them (message 9): the outputs are
// named after the base less ".bgl", and the exclusion BGL is written at its own path.
std::optional<Project_Value_Fault> Bgl_Names() {
    struct Field {
        const char* fr;
        const char* us;
        const std::string& path;
        bool less_bgl;
    };
    const Field fields[] = {
        {"le nom bgl des Fill/Polys LWM-VTP/Lignes Bgls", "the Bgl name of the Fill/Polys LWM-VTP/Lines Bgls",
         Bgl_Base_Path, true},
        {"le nom bgl des Exclude Bgls", "the Bgl name of the Exclude Bgls", Bgl_Excl_Path, false},
    };
    for (const Field& f : fields) {
        const std::string fr = No_File_In(f.path, f.less_bgl, false);
        if (fr.empty()) continue;
        return Project_Value_Fault{"Paramètres du projet : " + std::string(f.fr) + " " + fr + ".",
                                   "Project parameters: " + std::string(f.us) + " " + No_File_In(f.path, f.less_bgl, true) + ".",
                                   9};
    }
    return std::nullopt;
}

std::optional<Project_Value_Fault> Object_Values() {
    // The parameters window takes offsets strictly between -1000 and 1000.
    if (!(Alt_Offset > -1000 && Alt_Offset < 1000))
        return Project_Value_Fault{
            "Le décalage d'altitude du projet (" + SYST_To_Text(Alt_Offset) + ") doit être strictement entre -1000 et 1000.",
            "The project's altitude offset (" + SYST_To_Text(Alt_Offset) + ") must lie strictly between -1000 and 1000."};
    if (auto f = Line_Fields()) return f;
    if (auto f = Line_Counter()) return f;
    if (auto f = Cell_Table("Zone texturée", "Textured area", Lwm_Cell_Table, Lwm_Cell_Count, true)) return f;
    if (auto f = Cell_Table("Zone d'exclusion", "Exclusion area", Excl_Cell_Table, Excl_Cell_Count, true)) return f;
    if (auto f = Cell_Table("Cellule LOD8", "LOD8 cell", Lod8_Cell_Table, Lod8_Cell_Count, false)) return f;
    if (auto f = Cell_Table("Cellule de classe de terrain", "Land-class cell", Lc_Cell_Table, Lc_Cell_Count, true)) return f;
    return Cell_Table("Cellule de classe d'eau", "Water-class cell", Wc_Cell_Table, Wc_Cell_Count, true);
}

}  // namespace

Project_Value_Fault Project_Check_Values(const std::string& path) {
    // Equal edges (a project not yet calibrated) are let through: they draw no grid.
    const Edge_Pair pairs[] = {
        {"latitudes des bords de la carte", "latitudes of the map's edges", Map_Top_Lat, Map_Bottom_Lat, 90},
        {"longitudes des bords de la carte", "longitudes of the map's edges", Map_Right_Lon, Map_Left_Lon, 180},
        {"latitudes de calibration", "calibration latitudes", Proj_Lat_NW, Proj_Lat_SE, 90},
        {"longitudes de calibration", "calibration longitudes", Proj_Lon_SE, Proj_Lon_NW, 180},
        {"latitudes du cadre", "latitudes of the frame", Map_Lat_North, Map_Lat_South, 90},
        {"longitudes du cadre", "longitudes of the frame", Map_Lon_East, Map_Lon_West, 180},
        // The frame's pixel edges become picture pixels.
        {"colonnes du cadre en pixels", "pixel columns of the frame", Map_Px_East, Map_Px_West, Project_Pixel_Limit},
        {"lignes du cadre en pixels", "pixel rows of the frame", Map_Px_South, Map_Px_North, Project_Pixel_Limit},
    };
    const std::string refused_fr = "\r\nLe fichier projet n'a pas été chargé : " + path;
    const std::string refused_us = "\r\nThe project file was not loaded: " + path;
    for (const Edge_Pair& p : pairs) {
        const std::string values = " (" + SYST_To_Text(p.high) + ", " + SYST_To_Text(p.low) + ")";
        if (!Within(p.high, p.limit) || !Within(p.low, p.limit)) {
            if (p.limit > 180)
                return {"Le cadre de la carte est trop loin pour le programme : " + std::string(p.fr) + values + refused_fr,
                        "The map's frame lies too far for the program: " + std::string(p.us) + values + refused_us};
            return {"La carte sort du monde : " + std::string(p.fr) + values +
                        " ; les latitudes vont de -90 à 90 et les longitudes de -180 à 180." + refused_fr,
                    "The map lies outside the world: " + std::string(p.us) + values +
                        "; latitudes run from -90 to 90 and longitudes from -180 to 180." + refused_us};
        }
        if (p.high < p.low)
            return {"Les bords de la carte sont inversés : " + std::string(p.fr) + values + refused_fr,
                    "The map's edges are the wrong way round: " + std::string(p.us) + values + refused_us};
    }
    if (const auto fault = Bgl_Names()) return {fault->fr + refused_fr, fault->us + refused_us, fault->message};
    if (const auto fault = Object_Values()) return {fault->fr + refused_fr, fault->us + refused_us};
    return {};
}
