#pragma once
// Cutting the work polygons along the terrain grid (LOD13 lines for LWM polygons, LOD8 lines for
// VTP2 polygons), one grid line per pass, and the piece index the writers read: each piece with
// its cell and its points in cell-local positions, sorted by cell. Also the small appenders of
// the cut tables that the line and coast stages use.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "generation/piece_clean.h"

struct Work_Poly_Rec;
struct Work_Part;
struct Cut_Piece_Record;
struct Cut_Piece_Point;

// A cut meets a point when the grid line passes within the cell's size over these: the LOD8
// cuts of the wide lines, the LOD13 cuts of the polygons and coasts.
constexpr double Lod8_Tolerance_Divisor = 16321.1;
constexpr double Lod13_Tolerance_Divisor = 512.1;

// Meeting of a segment with a grid line: 0 the segment is parallel to it, 1 the line misses the
// segment, 2 it crosses strictly inside, 3 it passes within the tolerance of an end point (which
// is returned).
void API_Cross_Horizontal_Line(double x1, double y1, double x2, double y2, double line_y,
                               double tolerance, int16_t& code, double& px, double& py);
void API_Cross_Vertical_Line(double x1, double y1, double x2, double y2, double line_x,
                             double tolerance, int16_t& code, double& px, double& py);
// Either of the two: a latitude line at map y `at` when `horizontal`, else a longitude line.
void API_Cross_Grid_Line(bool horizontal, double x1, double y1, double x2, double y2, double at,
                         double tolerance, int16_t& code, double& px, double& py);

// One recorded meeting of the current polygon with the current grid line.
struct Grid_Crossing {
    int32_t Edge_Start = 0;   // work point index
    int32_t Edge_End = 0;
    int16_t Code = 0;
    double X = 0;
    double Y = 0;
};

// The cut tables become the work tables.
void API_Commit_Cut_Tables();

// Cuts every work polygon at every latitude line, then every longitude line, of the map. Mode 2
// cuts at LOD8 lines, any other mode at LOD13 lines. Returns false when the cut was abandoned
// (a polygon meeting one line three times or more, or a map whose cells have no size): the box
// "Anormal Lat decoupe LOD13_8" / "Anormal Lon decoupe LOD13_8" has been shown and
// Polygon_Cut_Aborted is 1; the work tables then hold the result of the last whole line.
bool API_Cut_Polygons_Cells(int16_t mode);

namespace grid_cut {
class Parts_Cutter;
}

// The same cut as the concave split hands its parts on, one at a time, without debug drawing.
// Begin makes the grid lines from the span of every polygon of `parts`, the split's input (its
// pieces span no more); false, with no box, where the grid cannot be stepped: the split's
// pieces then go to API_Cut_Polygons_Cells, which tells why. End shows the boxes due and, as
// API_Cut_Polygons_Cells, is false when the cut was abandoned (the work tables are then empty).
class Cell_Part_Cut {
public:
    Cell_Part_Cut();
    ~Cell_Part_Cut();
    bool Begin(int16_t mode, const std::vector<Work_Part>& parts);
    // The pieces of `part`, which is freed; none once a piece was abnormal.
    Work_Part Cut(Work_Part&& part);
    bool End();

private:
    std::unique_ptr<grid_cut::Parts_Cutter> cutter_;
};

// Fills Cut_Piece_Table / Cut_Piece_Points from the work polygons and empties the work tables.
// Mode 2: VTP2 pieces (LOD8-local 4080..12240, LOD13 cell 0); other: LWM pieces (LOD13-local).
// A piece the rounding leaves unfit to write gives the sound pieces it holds, or none
// (Clean_Rounded_Piece).
void API_Index_Pieces(int16_t mode);
// The index filled as the cut hands its pieces on, in the order they come: End fills the piece
// tables as API_Index_Pieces over all of them at once would. `points` is what the pieces are
// likely to hold.
class Piece_Index {
public:
    Piece_Index(int16_t mode, int64_t points);
    ~Piece_Index();
    // The polygons of `part`, which is freed; the work tables are left empty.
    void Add(Work_Part&& part);
    // The polygons the work tables hold, which are emptied.
    void Add_Work_Tables();
    void End();

private:
    struct Fill;
    int16_t mode_;
    std::unique_ptr<Fill> fill_;
};

// The area of work record `rec` (the LOD8 and LOD13 cells holding the centre of its box) and its
// points in local positions there (mode 2: LOD8-local, else LOD13-local). Of neighbours on one position, counting the last and the first as
// neighbours, the first goes.
struct Piece_Area {
    int16_t Lod8_Col = 0, Lod8_Row = 0, Lod13_Col = 0, Lod13_Row = 0;
};
void API_Piece_Local_Points(const Work_Poly_Rec& rec, int16_t mode, Piece_Area& area, std::vector<Cut_Piece_Point>& pts);

// True when piece `l` stands before piece `k` in the piece table.
bool API_Piece_Comes_First(const Cut_Piece_Record& l, const Cut_Piece_Record& k);

// The order of the piece table: ascending LOD8 row, LOD8 column, LOD13 row, LOD13 column, group
// id, then descending ring number, by the exchange sort (equal keys end where it leaves them).
void API_Sort_Cut_Pieces();

// A copy of work record `record` with its work points first..last (flags kept).
void API_Add_Cut_Line(int32_t record, int32_t first, int32_t last);
// The same, then one more point (x, y) with flag 2.
void API_Add_Cut_Point(int32_t record, int32_t first, int32_t last, double x, double y);

// One grid line (map y `at` when `horizontal`, else map x) over the work lines into the cut
// tables, which then become the work tables: a line ends where the grid line passes within the
// tolerance of one of its points and goes on from there, and a strict crossing becomes a point
// (flag 2) that ends one piece and starts the next. Lines of one point, and those `whole`
// (given the record) keeps, are copied uncut.
void API_Cut_Lines_At(bool horizontal, double at, double tolerance,
                      const std::function<bool(int32_t record)>& whole = {});
