#pragma once
// The generators' private tables: the work polygons or lines being processed, the output of one
// splitting or cutting pass, and the final pieces that lie in one cell each. Every table is
// 1-based with a count and a capacity; it is filled by one stage and emptied by the stage that
// consumes it.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/project.h"
#include "core/vb_array.h"

struct Work_Point_Rec {
    double X = 0;       // map-bitmap pixels
    double Y = 0;
    uint8_t Flag = 0;   // 0 ordinary; 1 untapered line end; 2 made by a cut or run boundary

    bool operator==(const Work_Point_Rec&) const = default;
};

// A line's attributes as the generators' records hold them: the records cut from one line
// share one read-only copy, which goes with the last record holding it. Reads as a pointer;
// a record given no attributes reads default ones.
class Shared_Attrib {
public:
    Shared_Attrib() = default;
    // Implicit, so that a record takes a line's attributes by plain assignment.
    Shared_Attrib(const Route_Attrib& attr) : attr_(std::make_shared<const Route_Attrib>(attr)) {}

    const Route_Attrib& operator*() const { return attr_ ? *attr_ : Defaults(); }
    const Route_Attrib* operator->() const { return &**this; }
    bool operator==(const Shared_Attrib& other) const { return attr_ == other.attr_ || **this == *other; }

private:
    static const Route_Attrib& Defaults();
    std::shared_ptr<const Route_Attrib> attr_;
};

// Fields ordered widest first: a record holds no padding beyond its tail.
struct Cut_Piece_Record {
    Shared_Attrib Attr;
    int32_t First_Point = 0;   // in Cut_Piece_Points
    int32_t Last_Point = 0;
    int32_t Texture_Set = 0;   // filled by the VTP2 writer
    int32_t Texture_Entry = 0;
    int32_t Line_Id = 0;
    int32_t Ring_Number = 0;
    int32_t Group_Id = 0;
    float Sort_Key = 0;
    int16_t Nb_Points = 0;
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    int16_t Lod13_Col = 0;     // 0 for VTP2 pieces
    int16_t Lod13_Row = 0;

    bool operator==(const Cut_Piece_Record&) const = default;
};

struct Cut_Piece_Point {
    double X = 0;
    double Y = 0;
    int16_t Local_X = 0;   // LOD13-local 0..255, or LOD8-local 4080..12240 for VTP2 pieces
    int16_t Local_Y = 0;

    bool operator==(const Cut_Piece_Point&) const = default;
};

// A polygon or line of the work and cut tables: the line it comes from, its points (a span of
// the table's points) and the nesting fields of the polygon preparation.
struct Work_Poly_Rec {
    Shared_Attrib Attr;
    int32_t Line_Id = 0;
    int32_t First_Point = 0;
    int32_t Last_Point = 0;
    int32_t Nb_Points = 0;
    int32_t Ring_Number = 0;
    int32_t Group_Id = 0;

    bool operator==(const Work_Poly_Rec&) const = default;
};

extern Vb_Array<Work_Poly_Rec> Work_Poly_Table;
extern int32_t Work_Poly_Count;
extern int32_t Work_Poly_Capacity;
extern Vb_Array<Work_Point_Rec> Work_Point_Table;
extern int32_t Work_Point_Count;
extern int32_t Work_Point_Capacity;

extern Vb_Array<Work_Poly_Rec> Cut_Poly_Table;
extern int32_t Cut_Poly_Count;
extern int32_t Cut_Poly_Capacity;
extern Vb_Array<Work_Point_Rec> Cut_Point_Table;
extern int32_t Cut_Point_Count;
extern int32_t Cut_Point_Capacity;

extern Vb_Array<Cut_Piece_Record> Cut_Piece_Table;
extern int32_t Cut_Piece_Count;
extern int32_t Cut_Piece_Capacity;
extern Vb_Array<Cut_Piece_Point> Cut_Piece_Points;
extern int32_t Cut_Piece_Point_Count;
extern int32_t Cut_Piece_Point_Capacity;

// Flags the calling writer reads after the polygon preparation.
extern int16_t Touch_Groups_Found;     // free polygons were grouped by nesting
extern int16_t Line_Groups_Numbered;   // polygons with a nesting text were numbered
extern int16_t Polygon_Cut_Aborted;    // the last grid cut stopped on an abnormal polygon
// Map pixel of the first self-crossing found.
extern int32_t Cross_Point_X;
extern int32_t Cross_Point_Y;

// A run of work records with their own points (a record's First_Point counts from 1 in
// `Points`): a stage hands its output on part by part, so that each part can go once read.
struct Work_Part {
    std::vector<Work_Poly_Rec> Polys;
    std::vector<Work_Point_Rec> Points;
};

// Sizing: entries 1..capacity, count 0.
void Work_Tables_Size(int32_t polys, int32_t points);
void Cut_Tables_Size(int32_t polys, int32_t points);
void Work_Tables_Erase();
void Cut_Tables_Erase();
void Piece_Tables_Erase();
// Every work, cut, piece, nesting and ring table empty, every flag 0, no debug drawing (tests).
void Work_Tables_Reset_All();

// Growth of the cut tables before an append of `points` points: records by 10 when full,
// points to capacity + points + 20 when the count + points + 1 reaches the capacity.
void Cut_Tables_Reserve(int32_t points);
// Appends a copy of `src` (all its fields but the points) to the cut tables with `n` points,
// point(0) .. point(n - 1) asked for in that order, after growing the tables for `room` points.
template <class Point_At>
void Cut_Tables_Append(const Work_Poly_Rec& src, int32_t n, int32_t room, Point_At point) {
    Cut_Tables_Reserve(room);
    ++Cut_Poly_Count;
    Work_Poly_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec = src;
    rec.First_Point = Cut_Point_Count + 1;
    for (int32_t i = 0; i < n; ++i) Cut_Point_Table(++Cut_Point_Count) = point(i);
    rec.Last_Point = Cut_Point_Count;
    rec.Nb_Points = n;
}
// The centre of the box of work record `rec`'s points (the box starts at +-9999999999999).
void Work_Record_Centre(const Work_Poly_Rec& rec, double& x, double& y);
// A work record for `line` (its id and attributes) over `pts`, appended after growing the tables
// when full: records by 10, points to what they need plus `point_room`.
void Work_Tables_Append(const Line_Rec& line, const std::vector<Work_Point_Rec>& pts, int32_t point_room);
// The work records and points as a part; the work tables are left empty, their storage kept.
Work_Part Work_Tables_Take_Part();
// The part as the work tables (capacities what they hold), taken over without a copy.
void Work_Tables_Adopt_Part(Work_Part&& part);
// The parts one after another as the work tables, as a hand-over of the cut tables leaves
// them; each part is freed once copied.
void Work_Tables_Join(std::vector<Work_Part>&& parts);
// The cut tables become the work tables (counts and capacities = the cut counts, one spare
// entry behind the last); the cut tables are left empty for the next pass.
void Work_Tables_Take_Cut_Tables();
