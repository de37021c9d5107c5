#pragma once
// The grid cut's own form of a polygon while it is cut: a piece is a span of points in a pool,
// with the work record it came from and its box, so that cutting makes no allocation per piece.
// Shared by the stages of the cut (grid_cut*.cpp) and nothing else.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "generation/grid_cut.h"
#include "generation/work_tables.h"

namespace grid_cut {

struct Box {
    double Min_X = 0, Min_Y = 0, Max_X = 0, Max_Y = 0;
};

// The points of a cut pass's pieces, one piece after another.
using Point_Pool = std::vector<Work_Point_Rec>;

// One polygon or line of a cut pass: the work record it came from (all its fields but the
// points) and its points in the pass's pool. The cut writes the work tables once at the end.
struct Piece {
    size_t First = 0;
    Box Bounds;
    int32_t Source = 0;
    int32_t Count = 0;
};

// The piece of `source` made of the `count` points from `first` on.
inline Piece Span_Piece(int32_t source, const Work_Point_Rec* points, size_t first, int32_t count) {
    Box b{1e300, 1e300, -1e300, -1e300};
    for (int32_t i = 0; i < count; ++i) {
        const Work_Point_Rec& p = points[first + static_cast<size_t>(i)];
        b.Min_X = std::min(b.Min_X, p.X);
        b.Max_X = std::max(b.Max_X, p.X);
        b.Min_Y = std::min(b.Min_Y, p.Y);
        b.Max_Y = std::max(b.Max_Y, p.Y);
    }
    return {first, b, source, count};
}

// Work record `source` over the piece's points, numbered from 1 in the points the piece's pool
// becomes.
inline Work_Poly_Rec Piece_Record(const Work_Poly_Rec& source, const Piece& p) {
    Work_Poly_Rec rec = source;
    rec.First_Point = static_cast<int32_t>(p.First) + 1;
    rec.Last_Point = rec.First_Point + p.Count - 1;
    rec.Nb_Points = p.Count;
    return rec;
}

// A copy of `p` (its points among `from`) whose points are appended to `to`.
inline Piece Copy_Piece(const Piece& p, const Work_Point_Rec* from, Point_Pool& to) {
    Piece copy = p;
    copy.First = to.size();
    to.insert(to.end(), from + p.First, from + p.First + p.Count);
    return copy;
}

// A copy of `src` with the `n` points `pts` appended to the cut tables.
void Append_Cut_Record(const Work_Poly_Rec& src, const Work_Point_Rec* pts, int32_t n);
// The debug drawing of the last cut record.
void Draw_Last_Cut();

// Scratch lists of Cut_Piece, kept from one piece to the next.
struct Crossing_Scratch {
    std::vector<Grid_Crossing> list;
    std::vector<int32_t> run;
    std::vector<int32_t> list_runs;
    std::vector<Work_Point_Rec> split;
    std::vector<size_t> starts;
};

enum class Piece_Cut { Kept, Replaced, Abnormal };

// One piece against one grid line (map y `at` when `horizontal`, else map x): kept whole,
// replaced by its parts in `out` (their points appended to `pool`, each drawn when `draw`; none
// when the two-way split failed, whose box text goes to `failure`), or abnormal (three
// crossings or more).
Piece_Cut Cut_Piece(const Piece& piece, Point_Pool& pool, bool horizontal, double at, double tx, double ty,
                    bool draw, Crossing_Scratch& scratch, std::vector<Piece>& out, const char*& failure);

// One direction of the cut: every grid line of `lines` in order over `pieces` (their `count`
// points among `points`); the pieces it makes replace them, their points in `out_pool` one
// piece after another, in piece order. On an
// abnormal piece, `pieces` is left as the last whole line made it and `lines_done` says how
// many lines were whole.
bool Cut_Direction(bool horizontal, const std::vector<double>& lines, double tx, double ty,
                   std::vector<Piece>& pieces, const Work_Point_Rec* points, size_t count, Point_Pool& out_pool,
                   size_t& lines_done);

enum class Parts_Cut { Whole, Lat_Abnormal, Lon_Abnormal };

// Both directions, latitude lines first, over polygons handed on a part at a time: each part's
// pieces come out in the order the two directions over the whole table make them, the groups
// counted over all parts. End shows the split boxes due (those met before an abnormal piece).
// Without debug drawing only.
class Parts_Cutter {
public:
    Parts_Cutter(const std::vector<double>& lat_lines, const std::vector<double>& lon_lines, double tx, double ty);
    ~Parts_Cutter();
    // The pieces of `part`, which is freed; none once a piece of this or an earlier part was
    // abnormal.
    Work_Part Cut(Work_Part&& part);
    Parts_Cut End();

private:
    struct State;
    std::unique_ptr<State> s_;
};

}  // namespace grid_cut
