#pragma once
// The project held in memory: object tables, their records, the project parameters and the
// resource tables that the project refers to. Every subsystem reads and changes these globals
// in place.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/vb_array.h"

// ---------------------------------------------------------------------------------------------
// Records

// Attributes of a line or polygon; embedded in every Line_Rec, stored in project and reference
// files. Check-box fields hold 0 or 1.
struct Route_Attrib {
    int16_t Attrib = 0;            // 0 water, 1 land
    int16_t Spare_Word = 0;        // a 16-bit word kept in the record's layout; nothing reads it
    double Alti = 0;               // altitude of the surface, unit by Meter_Feet
    int16_t SurfShore = 0;         // 0 polygon, 1 polygon with shore, 2 line/shore only, 3 coastline
    int16_t Largeur = 0;           // width of the line
    int16_t Type_Code = 0;         // texture number n of a Line_Type_Table (or Park_Table) entry
    int16_t LandOnRight = 0;
    int16_t FermerLine = 0;        // join extremities; 0 when SurfShore is 3
    uint8_t Layer = 0;
    std::string Text_Rt;           // free text
    std::string Imbrication;       // nesting text
    double Alt_Coast = 0;
    int16_t Image_Link = 0;        // Image_Rec number the polygon is linked to, 0 none
    int16_t LWM_VTP2 = 0;          // 0 "LWM Poly", 1 "VTP2 Poly", 2 "VTP1 poly"
    int16_t LandClass_Source = 0;  // 0 land class, 1 other textures, 2 airport/park
    int16_t LC_Code = 0;
    std::array<std::string, 6> Texture_Name;
    int16_t Layer_Vtp2 = 0;
    int16_t Drive_Right = 0;
    int16_t Line_Night = 0;
    int16_t LayerScasm = 0;
    int16_t Vtp1_Line = 0;
    int16_t Effil_Deb = 0;
    int16_t Effil_Fin = 0;
    int16_t VTP1_SpecNor = 0;
    int16_t Flip_VTP1Texture = 0;
    int16_t Meter_Feet = 0;        // unit of Alti: 0 metres, 1 feet

    // The names the dialogs and the reference files use for three of the fields.
    int16_t& Line_Type() { return Type_Code; }
    int16_t Line_Type() const { return Type_Code; }
    int16_t& Linked_Image() { return Image_Link; }
    int16_t Linked_Image() const { return Image_Link; }
    int16_t& Texture_Source() { return LandClass_Source; }
    int16_t Texture_Source() const { return LandClass_Source; }

    bool operator==(const Route_Attrib&) const = default;
};

struct Line_Rec {
    int32_t Line_Id = 0;       // unique in the project; 0 in the placeholder entry 1
    Route_Attrib Attr;
    int32_t First_Point = 0;   // id in Point_Table, 0 when the line has no point
    int32_t Last_Point = 0;
    int32_t Nb_Points = 0;     // points in the chain
    // Work fields of the generators' copies; zero in Line_Table and never saved.
    int32_t Ring_Number = 0;
    int32_t Group_Id = 0;

    bool operator==(const Line_Rec&) const = default;
};

struct Point_Rec {
    int32_t Prev_Point = 0;    // 0 for the first point
    int32_t Next_Point = 0;    // 0 ends the line
    double X = 0;              // map-bitmap pixels
    double Y = 0;

    bool operator==(const Point_Rec&) const = default;
};

// A textured LOD13 area.
struct Lwm_Cell_Rec {
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    int16_t Lod13_Col = 0;
    int16_t Lod13_Row = 0;
    std::string Texte;
    int16_t Fill1x1 = 0;
    uint8_t Attrib = 0;           // 0 water, 1 land, 2 flatten
    double Alti = -9999;          // metres, -9999 none
    int16_t InvertMask = 0;
    int16_t InvertMaskValue = 0;  // 0 LOD13 water, 1 LOD13 land, 2 poly
    int16_t Custom = 0;
    int16_t Texture_Source = 0;   // 0 land class, 1 other textures
    int16_t LC_Code = 0;
    std::array<std::string, 6> Texture_Name;
    int16_t Layer = 0;

    bool operator==(const Lwm_Cell_Rec&) const = default;
};

constexpr int Excl_Flag_Count = 101;  // flags 0..100, one per terrain vector layer

struct Excl_Cell_Rec {
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    int16_t Lod13_Col = 0;
    int16_t Lod13_Row = 0;
    std::array<uint8_t, Excl_Flag_Count> Excluded{};  // 1 = excluded

    bool operator==(const Excl_Cell_Rec&) const = default;
};

struct Lod8_Cell_Rec {
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    uint8_t Attrib = 0;    // 0 water, 1 land
    double Alti = -9999;   // metres, -9999 none

    bool operator==(const Lod8_Cell_Rec&) const = default;
};

// Land-class and water-class cells; keyed on the grid shifted by half an LOD13 cell.
struct Class_Cell_Rec {
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    int16_t Lod13_Col = 0;
    int16_t Lod13_Row = 0;
    uint8_t Class_Code = 0;  // land classes: 254 means none

    bool operator==(const Class_Cell_Rec&) const = default;
};

struct Image_Rec {
    int16_t Ima_In_Use = 0;   // 1 in use, 0 deleted
    int16_t Ima_Number = 0;
    std::string Ima_File;
    int16_t Ima_Width = 0;    // bitmap pixels
    int16_t Ima_Height = 0;
    double Ima_X1 = 0;        // rectangle on the map, map-bitmap pixels
    double Ima_Y1 = 0;
    double Ima_X2 = 0;
    double Ima_Y2 = 0;
    std::array<std::string, 5> Ima_Texture;  // seasonal texture names

    bool operator==(const Image_Rec&) const = default;
};

struct Grid_Point_Rec {
    uint8_t Defined = 0;   // 1 = defined; only defined points are saved
    double X = 0;          // map-bitmap pixels
    double Y = 0;
    float Alt = 0;

    bool operator==(const Grid_Point_Rec&) const = default;
};

// One texture section of "Terrain.cfg" or "OwnLines4.txt".
struct Texture_Def_Rec {
    int16_t Num = 0;             // n of "[TEXTURE.n"
    uint8_t Category = 0;
    std::string Name;
    uint8_t Type = 2;
    uint8_t Size = 4;
    uint8_t Has_Effect = 0;
    std::string Effect;
    uint8_t Has_Textures = 0;
    std::string Textures;
    uint8_t Has_Vectorautogen = 0;
    int16_t Vectorautogen = 0;
    int16_t Offset = 0;
    int16_t Maskclassmap = 0;
    uint8_t Excludeautogen = 0;
    uint8_t Rendertotexture = 1;

    bool operator==(const Texture_Def_Rec&) const = default;
};

struct Land_Class_Rec {
    uint8_t Code = 0;
    uint16_t Texture_Num = 0;  // columns 5-7, more than a byte: "300" is no texture 044
    std::string Name;

    bool operator==(const Land_Class_Rec&) const = default;
};

// ---------------------------------------------------------------------------------------------
// Object tables: 1-based, exactly capacity entries, entries 1..count in use.

extern Vb_Array<Line_Rec> Line_Table;
extern int32_t Line_Count;        // upper index in use; 1 = no lines (entry 1 is a placeholder)
extern int32_t Line_Capacity;
extern int32_t Line_Id_Counter;   // last id given

extern Vb_Array<Point_Rec> Point_Table;
extern int32_t Point_Count;       // highest id in use, not the number of live points
extern int32_t Point_Capacity;

extern Vb_Array<Lwm_Cell_Rec> Lwm_Cell_Table;
extern int32_t Lwm_Cell_Count;
extern int32_t Lwm_Cell_Capacity;

extern Vb_Array<Excl_Cell_Rec> Excl_Cell_Table;
extern int32_t Excl_Cell_Count;
extern int32_t Excl_Cell_Capacity;

extern Vb_Array<Lod8_Cell_Rec> Lod8_Cell_Table;
extern int32_t Lod8_Cell_Count;
extern int32_t Lod8_Cell_Capacity;

extern Vb_Array<Class_Cell_Rec> Lc_Cell_Table;
extern int32_t Lc_Cell_Count;
extern int32_t Lc_Cell_Capacity;

extern Vb_Array<Class_Cell_Rec> Wc_Cell_Table;
extern int32_t Wc_Cell_Count;
extern int32_t Wc_Cell_Capacity;

extern Vb_Array<Image_Rec> Image_Table;
extern int32_t Image_Count;       // records, in use or not
extern int32_t Image_Capacity;

extern Vb_Array<Grid_Point_Rec> Grid_Point_Table;
extern int32_t Grid_Point_Count;
extern int32_t Grid_Point_Capacity;

// Start capacities and the growth steps of the appending operations.
constexpr int32_t Line_Start_Capacity = 10, Line_Growth = 5;
constexpr int32_t Point_Start_Capacity = 5, Point_Growth = 20;
constexpr int32_t Lwm_Cell_Start_Capacity = 10, Lwm_Cell_Growth = 5;
constexpr int32_t Excl_Cell_Start_Capacity = 5, Excl_Cell_Growth = 5;
constexpr int32_t Lod8_Cell_Start_Capacity = 10, Lod8_Cell_Growth = 2;
constexpr int32_t Lc_Cell_Start_Capacity = 1, Lc_Cell_Growth = 1;
constexpr int32_t Wc_Cell_Start_Capacity = 1, Wc_Cell_Growth = 1;
constexpr int32_t Image_Start_Capacity = 2, Image_Growth = 3;
constexpr int32_t Grid_Point_Start_Capacity = 50, Grid_Point_Growth = 20;

// The selected line and point, which the table initialisation clears. They stay beside the
// tables, below the line tools that mostly use them: the simulator link selects its recorded
// line too.
extern int16_t Line_Selected;     // a line is selected
extern int16_t Point_Selected;    // a point is selected
extern int32_t Cur_Line;          // index in Line_Table of the current line
extern int32_t Cur_Point;         // id of the current point
extern int16_t Mesh_Lod_Index;    // chosen re-mesh option, start value 2
extern int16_t Mesh_Lod_Chosen;
extern float Last_Grid_Alt;
extern int16_t Grid_Point_Busy;

// The line dialog's working record and its accepted result.
extern Route_Attrib Route_Attrib_Cur;
extern Route_Attrib Route_Attrib_Result;

// ---------------------------------------------------------------------------------------------
// Project parameters (one set per open project)

extern std::string Project_File;  // empty when none
extern int16_t Project_Open;
extern std::string Map_File;
extern int32_t Map_Width_Px, Map_Height_Px;
extern double Map_Top_Lat, Map_Left_Lon, Map_Bottom_Lat, Map_Right_Lon;
extern double Proj_Lat_NW, Proj_Lon_NW, Proj_Lat_SE, Proj_Lon_SE;
extern double Map_Lat_North, Map_Lon_West, Map_Lat_South, Map_Lon_East;
extern int32_t Proj_Px_NW_X, Proj_Px_NW_Y, Proj_Px_SE_X, Proj_Px_SE_Y;
extern double Map_Px_West, Map_Px_North, Map_Px_East, Map_Px_South;
extern int16_t Proj_NW_Set, Proj_SE_Set;
// NW lat cell, NW lon cell, SE lat cell, SE lon cell, then the four sub-cells likewise.
extern std::array<int16_t, 8> Grid_Corner_Cells;
// Sub-cell and cell of the north, west, south and east edges of the grid frame.
extern std::array<int16_t, 8> Grid_Frame_Cells;
extern int16_t Lc_Merge;
extern int16_t Lc_Keep_Raw;
extern std::string Raw_Dir;
extern std::string Scenery_Dir;
extern std::string Bgl_Base_Path;
extern std::string Bgl_Excl_Path;
extern int16_t Tile_Count, Tile_Rows, Tile_Cols;
extern int16_t Alt_Unit_Feet;
extern float Alt_Offset;
extern int16_t Cfs_Mode;

// NW latitude, NW longitude, SE latitude, SE longitude before the last calibration edit.
extern std::array<double, 4> Old_Cal_Lat_Lon;

// "US" selects English texts, anything else French.
extern std::string Language;

// ---------------------------------------------------------------------------------------------
// Resource tables: 0-based; each count holds the last index in use.

extern Vb_Array<Texture_Def_Rec, 0> Line_Type_Table;
extern int32_t Line_Type_Count;
extern Vb_Array<Texture_Def_Rec, 0> Park_Table;
extern int32_t Park_Count;
extern int16_t Line_Type_Loaded;
extern int16_t Park_Loaded;
extern Vb_Array<Land_Class_Rec, 0> Land_Class_Table;
extern int32_t Land_Class_Count;
extern int16_t Land_Class_Loaded;

// ---------------------------------------------------------------------------------------------
// Operations

// Empty start state of every object table and the selection state; parameters, resource
// tables and Project_File are left alone.
void PSais_Init_Arrays();
// Start values of the project parameters, the attribute records and the resource tables (tests).
void Project_Reset_Parameters();

// Grows a table by its step when count has reached capacity, keeping the records. Call before
// incrementing count for an append.
template <class T>
void Table_Grow_If_Full(Vb_Array<T>& table, int32_t count, int32_t& capacity, int32_t step) {
    if (count >= capacity) {
        capacity += step;
        table.ReDim_Preserve(capacity);
    }
}

// Empties a table: no records, `start` fresh entries.
template <typename T>
void Table_Empty(Vb_Array<T>& table, int32_t& count, int32_t& capacity, int32_t start) {
    count = 0;
    capacity = start;
    table.ReDim(capacity);
}

// Removes record `index` (1..count) by moving the later records down; count decreases.
// An index outside 1..count changes nothing and returns false.
template <class T>
bool Table_Delete_Shift(Vb_Array<T>& table, int32_t& count, int32_t index) {
    if (index < 1 || index > count || count > table.UBound()) return false;
    for (int32_t i = index; i < count; ++i) table(i) = std::move(table(i + 1));
    table(count) = T{};
    --count;
    return true;
}

// Whether an index names a line in use (2..Line_Count), an id a point of the table
// (1..Point_Count), an index an image record (1..Image_Count) or a grid point
// (1..Grid_Point_Count), each within the table's entries. Counts and links read from a damaged
// file, or a current index left from a table since emptied, may point past the tables; every
// reader checks with these.
inline bool Project_Valid_Line(int32_t line_index) {
    return line_index >= 2 && line_index <= Line_Count && Line_Table.In_Range(line_index);
}
inline bool Project_Valid_Point(int32_t id) { return id >= 1 && id <= Point_Count && Point_Table.In_Range(id); }
inline bool Project_Valid_Image(int32_t index) {
    return index >= 1 && index <= Image_Count && Image_Table.In_Range(index);
}
inline bool Project_Valid_Grid_Point(int32_t index) {
    return index >= 1 && index <= Grid_Point_Count && Grid_Point_Table.In_Range(index);
}

// A new line at entry Line_Count + 1 with a fresh id and no points, the table grown by `growth`
// when full; returns its index. The id is Line_Id_Counter + 1; a counter at the top of its range
// (or below 0) is left as it is and the line takes the smallest id no line holds.
int32_t Project_Append_Line(const Route_Attrib& attr, int32_t growth = Line_Growth);
// The point chains of the lines are linked only here. Each operation puts a fresh point at the
// end of Point_Table (grown by `growth` when full) and returns its id, or 0 when the index names
// no line.
// At the end of line `line_index`'s chain.
int32_t Project_Append_Point(int32_t line_index, double x, double y, int32_t growth = Point_Growth);
// The same on a line record of the table, the placeholder included: a file read keeps every
// point the file holds.
int32_t Project_Append_Point(Line_Rec& line, double x, double y, int32_t growth);
// Before the first point of the chain (at the end of an empty one).
int32_t Project_Prepend_Point(int32_t line_index, double x, double y);
// Right after point `after_id`, which the chain must reach (0 otherwise).
int32_t Project_Insert_Point(int32_t line_index, int32_t after_id, double x, double y);
// Deletes line `line_index` (2..Line_Count) by shifting; its points stay in Point_Table.
bool Project_Delete_Line(int32_t line_index);
// Unlinks point `point_id` from line `line_index`'s chain; the entry is not reclaimed.
bool Project_Unlink_Point(int32_t line_index, int32_t point_id);
// The point ids of a line's chain from its first point, walked at most Point_Count steps and
// stopped by an id of 0 or outside the table.
std::vector<int32_t> Project_Line_Points(int32_t line_index);
// The same into `ids`, whose storage is kept (a redraw walks every line).
void Project_Line_Points(int32_t line_index, std::vector<int32_t>& ids);
// The same walk a point at a time, with no list made: what a redraw or a generator does for
// every line. Next() gives the chain's next point, nullptr after its last.
class Project_Line_Walk {
public:
    explicit Project_Line_Walk(int32_t line_index) {
        if (!Project_Valid_Line(line_index)) return;
        const Line_Rec& line = Line_Table(line_index);
        last_ = line.Last_Point;
        id_ = line.Nb_Points > 0 ? line.First_Point : 0;
        if (Project_Valid_Point(id_)) table_ = &*Point_Table.begin();
    }
    const Point_Rec* Next() {
        // Every id is checked against the table before it is read.
        if (table_ == nullptr || steps_ >= Point_Count || !Project_Valid_Point(id_)) return nullptr;
        const Point_Rec* p = table_ + (id_ - 1);
        ++steps_;
        id_ = id_ == last_ ? 0 : p->Next_Point;
        return p;
    }

private:
    const Point_Rec* table_ = nullptr;
    int32_t id_ = 0, last_ = 0, steps_ = 0;
};
template <class Visit>
void Project_For_Each_Line_Point(int32_t line_index, Visit&& visit) {
    Project_Line_Walk walk(line_index);
    while (const Point_Rec* p = walk.Next()) visit(*p);
}
// The points of that walk from the chain's point `from` on (0 the first), as runs of entries
// that follow one another in the table: visit(first, count) for each run, in chain order. A
// chain built by appending is one run, read as an array rather than a link at a time.
template <class Visit>
void Project_Visit_Line_Runs(int32_t line_index, size_t from, Visit&& visit) {
    if (!Project_Valid_Line(line_index) || Point_Count <= 0 || Point_Table.Empty()) return;
    const Line_Rec& line = Line_Table(line_index);
    if (line.Nb_Points <= 0) return;
    const int32_t last = line.Last_Point, valid = std::min(Point_Count, Point_Table.UBound());
    const Point_Rec* const table = &*Point_Table.begin();
    int64_t steps_left = Point_Count;
    for (int32_t id = line.First_Point; id >= 1 && id <= valid;) {
        int32_t end = id;
        --steps_left;
        while (end != last && steps_left > 0 && end < valid && table[end - 1].Next_Point == end + 1) {
            ++end;
            --steps_left;
        }
        const size_t n = static_cast<size_t>(end - id) + 1;
        if (from < n) visit(table + (id - 1) + from, n - from);
        from = from < n ? 0 : from - n;
        if (end == last || steps_left == 0) return;
        id = table[end - 1].Next_Point;
    }
}
