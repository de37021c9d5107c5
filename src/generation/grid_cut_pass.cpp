// The passes of the cut: every piece goes through the grid lines of one direction in order,
// group by group (a polygon and what it is cut into). After a whole direction no piece crosses
// a line of that direction; after an abnormal piece the pieces are those of the last whole line.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "generation/grid_cut_pieces.h"
#include "generation/writer_base.h"
#include "platform/memory.h"

namespace grid_cut {
namespace {

// Where in the cut a piece was met: grid line, group, place in the group at that line. The
// order of these is the order in which a pass over the whole table per line meets the pieces.
struct Cut_Place {
    size_t Line = SIZE_MAX, Group = 0, Piece = 0;
    auto operator<=>(const Cut_Place&) const = default;
};

// Scratch of one direction of the cut, kept from one group to the next.
struct Group_Scratch {
    Point_Pool pool, spare;            // the points of the group being cut
    std::vector<Piece> now, parts;     // the group's pieces, chained in their order by `link`
    std::vector<size_t> link, ahead, still;  // the chain; the pieces the next line may cut
    Crossing_Scratch crossings;
    std::vector<std::pair<Cut_Place, const char*>> failures;  // split boxes not shown yet
};

// Every input piece and what it is cut into (its group) goes through the grid lines it meets
// among lines[0, limit) in order. A group's pieces never meet another group's, so cutting group
// by group gives the pieces, in the order, that a pass over the whole table per line would.
// Returns where the first piece met a line three times or more (the output is then incomplete);
// its Line is SIZE_MAX when none did. The groups are counted from `group_base`. With
// `first_run`, the new pieces are drawn and the split boxes kept in `g.failures`.
Cut_Place Cut_Groups(bool horizontal, const std::vector<double>& lines, size_t limit, double tx, double ty,
                     bool first_run, const std::vector<Piece>& in, const Work_Point_Rec* in_points, std::vector<Piece>& out,
                     Point_Pool& out_pool, Group_Scratch& g, size_t group_base = 0) {
    const double along_tol = horizontal ? ty : tx;
    auto line_range = [&](const Box& b, size_t& first, size_t& last) {
        const double lo = horizontal ? b.Min_Y : b.Min_X;
        const double hi = horizontal ? b.Max_Y : b.Max_X;
        // Lines that pass the piece's "wholly off" test; the lines are in ascending order.
        auto begin = std::lower_bound(lines.begin(), lines.end(), lo, [&](double at, double low) {
            return at < low - 2 * along_tol;
        });
        auto end = std::upper_bound(lines.begin(), lines.end(), hi, [&](double high, double at) {
            return at > high + 2 * along_tol;
        });
        first = static_cast<size_t>(begin - lines.begin());
        if (end == lines.begin()) return false;
        last = static_cast<size_t>(end - lines.begin()) - 1;
        return first <= last;
    };
    Cut_Place abnormal;
    for (size_t local = 0; local < in.size(); ++local) {
        const Piece& input = in[local];
        const size_t group = group_base + local;
        size_t first = 0, last = 0;
        if (!line_range(input.Bounds, first, last) || first >= limit) {
            out.push_back(Copy_Piece(input, in_points, out_pool));
            continue;
        }
        // The group is a chain of pieces in their order; a piece wholly before the line is done
        // with every later line too, so each line walks only the pieces still ahead of it.
        g.pool.clear();
        g.now.clear();
        g.link.clear();
        g.now.push_back(Copy_Piece(input, in_points, g.pool));
        g.link.push_back(SIZE_MAX);
        g.ahead.assign(1, 0);
        size_t live = static_cast<size_t>(g.now[0].Count);
        for (size_t i = first; i <= last && i < limit && !g.ahead.empty(); ++i) {
            g.still.clear();
            for (size_t k = 0; k < g.ahead.size(); ++k) {
                const size_t node = g.ahead[k];
                const double high = horizontal ? g.now[node].Bounds.Max_Y : g.now[node].Bounds.Max_X;
                if (lines[i] > high + 2 * along_tol) continue;
                g.parts.clear();
                const char* failure = nullptr;
                const Piece_Cut cut = Cut_Piece(g.now[node], g.pool, horizontal, lines[i], tx, ty, first_run,
                                                g.crossings, g.parts, failure);
                if (cut == Piece_Cut::Abnormal) {
                    // No later group needs to go as far; this one stops here.
                    abnormal = {i, group, k};
                    limit = i;
                    break;
                }
                if (failure && first_run) g.failures.push_back({{i, group, k}, failure});
                if (cut == Piece_Cut::Kept) {
                    g.still.push_back(node);
                    continue;
                }
                live -= static_cast<size_t>(g.now[node].Count);
                size_t at = node;
                for (size_t p = 0; p < g.parts.size(); ++p) {
                    const Piece& part = g.parts[p];
                    // Parts lie within their piece across the line; should one reach further,
                    // its group stays in play for the lines it meets.
                    size_t part_first = 0, part_last = 0;
                    if (line_range(part.Bounds, part_first, part_last)) last = std::max(last, part_last);
                    live += static_cast<size_t>(part.Count);
                    if (p == 0) {
                        g.now[node] = part;
                    } else {
                        g.now.push_back(part);
                        g.link.push_back(g.link[at]);
                        g.link[at] = g.now.size() - 1;
                        at = g.now.size() - 1;
                    }
                    g.still.push_back(p == 0 ? node : at);
                }
            }
            std::swap(g.ahead, g.still);
            // Replaced pieces leave their points behind; the pool is packed once they outweigh
            // the live ones, so it stays within a few times the group's points.
            if (g.pool.size() > 4 * live + 1024) {
                g.spare.clear();
                for (Piece& piece : g.now) piece = Copy_Piece(piece, g.pool.data(), g.spare);
                std::swap(g.pool, g.spare);
            }
        }
        for (size_t node = 0; node != SIZE_MAX; node = g.link[node])
            out.push_back(Copy_Piece(g.now[node], g.pool.data(), out_pool));
    }
    return abnormal;
}

// The boxes of the splits met before the abnormal piece, in the order they were met.
void Show_Failures_Before(std::vector<std::pair<Cut_Place, const char*>>& failures, const Cut_Place& abnormal) {
    std::stable_sort(failures.begin(), failures.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [place, text] : failures)
        if (place < abnormal) Gen_Show_Failure(text);
}

// One direction of the cut over parts: how far its lines are still cut, the groups counted so
// far, the split boxes kept and where a piece was abnormal.
struct Direction {
    bool Horizontal = true;
    std::vector<double> Lines;
    size_t Limit = 0, Groups = 0;
    Cut_Place Abnormal;
    std::vector<std::pair<Cut_Place, const char*>> Failures;
};

}  // namespace

bool Cut_Direction(bool horizontal, const std::vector<double>& lines, double tx, double ty,
                   std::vector<Piece>& pieces, const Work_Point_Rec* points, size_t count, Point_Pool& out_pool,
                   size_t& lines_done) {
    std::vector<Piece> out;
    out.reserve(pieces.size());
    out_pool.clear();
    out_pool.reserve(count + count / 2);
    Group_Scratch scratch;
    const Cut_Place abnormal =
        Cut_Groups(horizontal, lines, lines.size(), tx, ty, true, pieces, points, out, out_pool, scratch);
    Show_Failures_Before(scratch.failures, abnormal);
    const bool whole = abnormal.Line == SIZE_MAX;
    if (!whole) {
        // Once more up to the line that could not be cut whole; no group fails before it.
        out.clear();
        out_pool.clear();
        Cut_Groups(horizontal, lines, abnormal.Line, tx, ty, false, pieces, points, out, out_pool, scratch);
    }
    lines_done = whole ? lines.size() : abnormal.Line;
    pieces.swap(out);
    return whole;
}

struct Parts_Cutter::State {
    // The groups of each direction are counted over all parts, as one pass over the whole
    // table counts them.
    Direction lat, lon;
    double tx = 0, ty = 0;
    Group_Scratch scratch;
    std::vector<Piece> in, across, along;
    Point_Pool across_pool, along_pool;

    // `pieces` through the lines of `d` into `out`; false once `d` has met an abnormal piece,
    // in this part or an earlier one (its lines are then cut only for the boxes still due).
    bool Cut(Direction& d, const std::vector<Piece>& pieces, const Work_Point_Rec* points, std::vector<Piece>& out,
             Point_Pool& pool) {
        out.clear();
        pool.clear();
        const Cut_Place at =
            Cut_Groups(d.Horizontal, d.Lines, d.Limit, tx, ty, true, pieces, points, out, pool, scratch, d.Groups);
        d.Failures.insert(d.Failures.end(), scratch.failures.begin(), scratch.failures.end());
        scratch.failures.clear();
        d.Groups += pieces.size();
        if (at.Line != SIZE_MAX) {
            d.Abnormal = at;
            d.Limit = at.Line;
        }
        return d.Abnormal.Line == SIZE_MAX;
    }
};

Parts_Cutter::Parts_Cutter(const std::vector<double>& lat_lines, const std::vector<double>& lon_lines, double tx,
                           double ty)
    : s_(std::make_unique<State>()) {
    s_->lon.Horizontal = false;
    s_->lat.Lines = lat_lines;
    s_->lon.Lines = lon_lines;
    s_->lat.Limit = lat_lines.size();
    s_->lon.Limit = lon_lines.size();
    s_->tx = tx;
    s_->ty = ty;
}

Parts_Cutter::~Parts_Cutter() = default;

Work_Part Parts_Cutter::Cut(Work_Part&& part) {
    State& s = *s_;
    Work_Part cut;
    s.in.clear();
    for (size_t r = 0; r < part.Polys.size(); ++r) {
        const Work_Poly_Rec& rec = part.Polys[r];
        if (rec.Nb_Points <= 0) continue;
        s.in.push_back(Span_Piece(static_cast<int32_t>(r), part.Points.data(), static_cast<size_t>(rec.First_Point - 1),
                                  rec.Nb_Points));
    }
    // After an abnormal piece at a latitude line only the boxes of the lines before it are still
    // due: the longitude lines are not cut.
    if (s.Cut(s.lat, s.in, part.Points.data(), s.across, s.across_pool) &&
        s.Cut(s.lon, s.across, s.across_pool.data(), s.along, s.along_pool)) {
        cut.Polys.reserve(s.along.size());
        for (const Piece& p : s.along) cut.Polys.push_back(Piece_Record(part.Polys[static_cast<size_t>(p.Source)], p));
        cut.Points.assign(s.along_pool.begin(), s.along_pool.end());
    }
    part = Work_Part{};
    plat::Release_Free_Memory();
    return cut;
}

Parts_Cut Parts_Cutter::End() {
    State& s = *s_;
    Show_Failures_Before(s.lat.Failures, s.lat.Abnormal);
    if (s.lat.Abnormal.Line != SIZE_MAX) return Parts_Cut::Lat_Abnormal;
    Show_Failures_Before(s.lon.Failures, s.lon.Abnormal);
    if (s.lon.Abnormal.Line != SIZE_MAX) return Parts_Cut::Lon_Abnormal;
    return Parts_Cut::Whole;
}

}  // namespace grid_cut
