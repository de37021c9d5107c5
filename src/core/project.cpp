// The project's tables and parameters, emptied to their start sizes for a new project, and the
// routines that add and remove lines, points and images.
#include "core/project.h"

#include <algorithm>
#include <limits>
#include <vector>

Vb_Array<Line_Rec> Line_Table;
int32_t Line_Count = 1;
int32_t Line_Capacity = 0;
int32_t Line_Id_Counter = 0;

Vb_Array<Point_Rec> Point_Table;
int32_t Point_Count = 0;
int32_t Point_Capacity = 0;

Vb_Array<Lwm_Cell_Rec> Lwm_Cell_Table;
int32_t Lwm_Cell_Count = 0;
int32_t Lwm_Cell_Capacity = 0;

Vb_Array<Excl_Cell_Rec> Excl_Cell_Table;
int32_t Excl_Cell_Count = 0;
int32_t Excl_Cell_Capacity = 0;

Vb_Array<Lod8_Cell_Rec> Lod8_Cell_Table;
int32_t Lod8_Cell_Count = 0;
int32_t Lod8_Cell_Capacity = 0;

Vb_Array<Class_Cell_Rec> Lc_Cell_Table;
int32_t Lc_Cell_Count = 0;
int32_t Lc_Cell_Capacity = 0;

Vb_Array<Class_Cell_Rec> Wc_Cell_Table;
int32_t Wc_Cell_Count = 0;
int32_t Wc_Cell_Capacity = 0;

Vb_Array<Image_Rec> Image_Table;
int32_t Image_Count = 0;
int32_t Image_Capacity = 0;

Vb_Array<Grid_Point_Rec> Grid_Point_Table;
int32_t Grid_Point_Count = 0;
int32_t Grid_Point_Capacity = 0;

int16_t Line_Selected = 0;
int16_t Point_Selected = 0;
int32_t Cur_Line = 0;
int32_t Cur_Point = 0;
int16_t Mesh_Lod_Index = 2;
int16_t Mesh_Lod_Chosen = 0;
float Last_Grid_Alt = 0;
int16_t Grid_Point_Busy = 0;

Route_Attrib Route_Attrib_Cur;
Route_Attrib Route_Attrib_Result;

std::string Project_File;
int16_t Project_Open = 0;
std::string Map_File;
int32_t Map_Width_Px = 0, Map_Height_Px = 0;
double Map_Top_Lat = 0, Map_Left_Lon = 0, Map_Bottom_Lat = 0, Map_Right_Lon = 0;
double Proj_Lat_NW = 0, Proj_Lon_NW = 0, Proj_Lat_SE = 0, Proj_Lon_SE = 0;
double Map_Lat_North = 0, Map_Lon_West = 0, Map_Lat_South = 0, Map_Lon_East = 0;
int32_t Proj_Px_NW_X = 0, Proj_Px_NW_Y = 0, Proj_Px_SE_X = 0, Proj_Px_SE_Y = 0;
double Map_Px_West = 0, Map_Px_North = 0, Map_Px_East = 0, Map_Px_South = 0;
int16_t Proj_NW_Set = 0, Proj_SE_Set = 0;
std::array<int16_t, 8> Grid_Corner_Cells{};
std::array<int16_t, 8> Grid_Frame_Cells{};
int16_t Lc_Merge = 0;
int16_t Lc_Keep_Raw = 0;
std::string Raw_Dir;
std::string Scenery_Dir;
std::string Bgl_Base_Path;
std::string Bgl_Excl_Path;
int16_t Tile_Count = 0, Tile_Rows = 0, Tile_Cols = 0;
int16_t Alt_Unit_Feet = 0;
float Alt_Offset = 0;
int16_t Cfs_Mode = 0;

std::array<double, 4> Old_Cal_Lat_Lon{};

std::string Language = "FR";

Vb_Array<Texture_Def_Rec, 0> Line_Type_Table;
int32_t Line_Type_Count = 0;
Vb_Array<Texture_Def_Rec, 0> Park_Table;
int32_t Park_Count = 0;
int16_t Line_Type_Loaded = 0;
int16_t Park_Loaded = 0;
Vb_Array<Land_Class_Rec, 0> Land_Class_Table;
int32_t Land_Class_Count = 0;
int16_t Land_Class_Loaded = 0;

void PSais_Init_Arrays() {
    Line_Count = 1;
    Line_Capacity = Line_Start_Capacity;
    Line_Table.ReDim(Line_Capacity);
    Line_Table(1).Line_Id = 0;
    Line_Table(1).First_Point = 0;

    Table_Empty(Point_Table, Point_Count, Point_Capacity, Point_Start_Capacity);

    Line_Selected = 0;
    Point_Selected = 0;
    Line_Id_Counter = 0;
    Cur_Line = 0;
    Cur_Point = 0;

    Table_Empty(Lwm_Cell_Table, Lwm_Cell_Count, Lwm_Cell_Capacity, Lwm_Cell_Start_Capacity);
    Table_Empty(Lod8_Cell_Table, Lod8_Cell_Count, Lod8_Cell_Capacity, Lod8_Cell_Start_Capacity);
    Table_Empty(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, Excl_Cell_Start_Capacity);
    Table_Empty(Lc_Cell_Table, Lc_Cell_Count, Lc_Cell_Capacity, Lc_Cell_Start_Capacity);
    Table_Empty(Wc_Cell_Table, Wc_Cell_Count, Wc_Cell_Capacity, Wc_Cell_Start_Capacity);
    Table_Empty(Image_Table, Image_Count, Image_Capacity, Image_Start_Capacity);
    Table_Empty(Grid_Point_Table, Grid_Point_Count, Grid_Point_Capacity, Grid_Point_Start_Capacity);

    Mesh_Lod_Index = 2;
    Mesh_Lod_Chosen = 0;
    Last_Grid_Alt = 0;
    Grid_Point_Busy = 0;
}

namespace {

// The smallest positive id no line holds, for a counter that has no next id to give.
int32_t Free_Line_Id() {
    std::vector<int32_t> ids;
    for (int32_t i = 2; i <= std::min(Line_Count, Line_Table.UBound()); ++i)
        if (Line_Table(i).Line_Id > 0) ids.push_back(Line_Table(i).Line_Id);
    std::sort(ids.begin(), ids.end());
    int32_t free = 1;
    for (int32_t id : ids) {
        if (id > free) break;
        if (id == free) ++free;
    }
    return free;
}

}  // namespace

int32_t Project_Append_Line(const Route_Attrib& attr, int32_t growth) {
    // At the top of its range the counter stays there, and every later line takes a free id.
    const bool counter_sound = Line_Id_Counter >= 0 && Line_Id_Counter < std::numeric_limits<int32_t>::max();
    const int32_t id = counter_sound ? Line_Id_Counter + 1 : Free_Line_Id();
    if (counter_sound) Line_Id_Counter = id;
    Table_Grow_If_Full(Line_Table, Line_Count, Line_Capacity, growth);
    ++Line_Count;
    Line_Rec& line = Line_Table(Line_Count);
    line = Line_Rec{};
    line.Line_Id = id;
    line.Attr = attr;
    return Line_Count;
}

namespace {

// A fresh unlinked point at (x, y) at the end of the point table, grown first when full.
int32_t New_Point(double x, double y, int32_t growth) {
    Table_Grow_If_Full(Point_Table, Point_Count, Point_Capacity, growth);
    ++Point_Count;
    Point_Rec& p = Point_Table(Point_Count);
    p = Point_Rec{};
    p.X = x;
    p.Y = y;
    return Point_Count;
}

// Whether the chain of a line reaches the point: only such a point may be linked to or cut out.
bool Line_Reaches(int32_t line_index, int32_t point_id) {
    for (int32_t id : Project_Line_Points(line_index))
        if (id == point_id) return true;
    return false;
}

// Whether the line has a sound chain to grow at its ends; otherwise the new point starts it anew.
bool Has_Chain(const Line_Rec& line) {
    return line.Nb_Points > 0 && Project_Valid_Point(line.First_Point) && Project_Valid_Point(line.Last_Point);
}

}  // namespace

int32_t Project_Append_Point(int32_t line_index, double x, double y, int32_t growth) {
    if (!Project_Valid_Line(line_index)) return 0;
    return Project_Append_Point(Line_Table(line_index), x, y, growth);
}

int32_t Project_Append_Point(Line_Rec& line, double x, double y, int32_t growth) {
    const int32_t id = New_Point(x, y, growth);
    Point_Rec& p = Point_Table(id);
    if (line.Nb_Points == 0 || !Project_Valid_Point(line.Last_Point)) {
        line.First_Point = id;
        line.Nb_Points = 0;
    } else {
        p.Prev_Point = line.Last_Point;
        Point_Table(line.Last_Point).Next_Point = id;
    }
    line.Last_Point = id;
    ++line.Nb_Points;
    return id;
}

int32_t Project_Prepend_Point(int32_t line_index, double x, double y) {
    if (!Project_Valid_Line(line_index)) return 0;
    if (!Has_Chain(Line_Table(line_index))) return Project_Append_Point(line_index, x, y);
    const int32_t id = New_Point(x, y, Point_Growth);
    Line_Rec& line = Line_Table(line_index);
    Point_Table(id).Next_Point = line.First_Point;
    Point_Table(line.First_Point).Prev_Point = id;
    line.First_Point = id;
    ++line.Nb_Points;
    return id;
}

int32_t Project_Insert_Point(int32_t line_index, int32_t after_id, double x, double y) {
    if (!Project_Valid_Line(line_index) || !Project_Valid_Point(after_id)) return 0;
    if (after_id == Line_Table(line_index).Last_Point) return Project_Append_Point(line_index, x, y);
    if (!Line_Reaches(line_index, after_id)) return 0;
    const int32_t id = New_Point(x, y, Point_Growth);
    Line_Rec& line = Line_Table(line_index);
    const int32_t next = Point_Table(after_id).Next_Point;
    Point_Rec& p = Point_Table(id);
    p.Prev_Point = after_id;
    p.Next_Point = next;
    Point_Table(after_id).Next_Point = id;
    if (Project_Valid_Point(next)) Point_Table(next).Prev_Point = id;
    ++line.Nb_Points;
    return id;
}

bool Project_Delete_Line(int32_t line_index) {
    if (!Project_Valid_Line(line_index)) return false;
    return Table_Delete_Shift(Line_Table, Line_Count, line_index);
}

bool Project_Unlink_Point(int32_t line_index, int32_t point_id) {
    if (!Project_Valid_Line(line_index) || !Project_Valid_Point(point_id)) return false;
    Line_Rec& line = Line_Table(line_index);
    if (!Line_Reaches(line_index, point_id)) return false;

    Point_Rec& p = Point_Table(point_id);
    const int32_t prev = Project_Valid_Point(p.Prev_Point) ? p.Prev_Point : 0;
    const int32_t next = Project_Valid_Point(p.Next_Point) ? p.Next_Point : 0;
    if (prev != 0) Point_Table(prev).Next_Point = next;
    if (next != 0) Point_Table(next).Prev_Point = prev;
    if (line.First_Point == point_id) line.First_Point = next;
    if (line.Last_Point == point_id) line.Last_Point = prev;
    p.Prev_Point = 0;
    p.Next_Point = 0;
    if (line.Nb_Points > 0) --line.Nb_Points;
    if (line.Nb_Points == 0) {
        line.First_Point = 0;
        line.Last_Point = 0;
    }
    return true;
}

std::vector<int32_t> Project_Line_Points(int32_t line_index) {
    std::vector<int32_t> ids;
    Project_Line_Points(line_index, ids);
    return ids;
}

void Project_Line_Points(int32_t line_index, std::vector<int32_t>& ids) {
    ids.clear();
    if (!Project_Valid_Line(line_index)) return;
    const Line_Rec& line = Line_Table(line_index);
    int32_t id = line.Nb_Points > 0 ? line.First_Point : 0;
    // A damaged chain (a loop, a stray id) must not run away: at most Point_Count steps.
    for (int32_t steps = 0; steps < Point_Count && Project_Valid_Point(id); ++steps) {
        ids.push_back(id);
        if (id == line.Last_Point) break;
        id = Point_Table(id).Next_Point;
    }
}

void Project_Reset_Parameters() {
    Project_File.clear();
    Project_Open = 0;
    Map_File.clear();
    Map_Width_Px = Map_Height_Px = 0;
    Map_Top_Lat = Map_Left_Lon = Map_Bottom_Lat = Map_Right_Lon = 0;
    Proj_Lat_NW = Proj_Lon_NW = Proj_Lat_SE = Proj_Lon_SE = 0;
    Map_Lat_North = Map_Lon_West = Map_Lat_South = Map_Lon_East = 0;
    Proj_Px_NW_X = Proj_Px_NW_Y = Proj_Px_SE_X = Proj_Px_SE_Y = 0;
    Map_Px_West = Map_Px_North = Map_Px_East = Map_Px_South = 0;
    Proj_NW_Set = Proj_SE_Set = 0;
    Grid_Corner_Cells.fill(0);
    Grid_Frame_Cells.fill(0);
    Lc_Merge = Lc_Keep_Raw = 0;
    Raw_Dir.clear();
    Scenery_Dir.clear();
    Bgl_Base_Path.clear();
    Bgl_Excl_Path.clear();
    Tile_Count = Tile_Rows = Tile_Cols = 0;
    Alt_Unit_Feet = 0;
    Alt_Offset = 0;
    Cfs_Mode = 0;
    Old_Cal_Lat_Lon.fill(0);
    Language = "FR";
    Route_Attrib_Cur = Route_Attrib{};
    Route_Attrib_Result = Route_Attrib{};
    Line_Type_Table.Erase();
    Line_Type_Count = 0;
    Park_Table.Erase();
    Park_Count = 0;
    Line_Type_Loaded = Park_Loaded = 0;
    Land_Class_Table.Erase();
    Land_Class_Count = 0;
    Land_Class_Loaded = 0;
}
