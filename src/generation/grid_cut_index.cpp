// The piece index: the cut work polygons become the piece table the writers read, each piece
// with its cell and its points in cell-local positions. After it the piece table is in the
// exchange sort's order by cell, group and descending ring, and the work tables are empty.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/grid.h"
#include "generation/coast_snap.h"
#include "generation/exchange_sort.h"
#include "generation/grid_cut.h"
#include "generation/invariants.h"
#include "generation/piece_clean.h"
#include "generation/work_tables.h"
#include "generation/world_clip.h"
#include "platform/memory.h"

namespace {

struct Piece_Key {
    int16_t Lod8_Row, Lod8_Col, Lod13_Row, Lod13_Col;
    int32_t Group_Id, Ring_Number;
};

Piece_Key Key_Of(const Cut_Piece_Record& p) {
    return {p.Lod8_Row, p.Lod8_Col, p.Lod13_Row, p.Lod13_Col, p.Group_Id, p.Ring_Number};
}

// True when `l` must stand before `k`.
bool Comes_First(const Piece_Key& l, const Piece_Key& k) {
    if (l.Lod8_Row != k.Lod8_Row) return l.Lod8_Row < k.Lod8_Row;
    if (l.Lod8_Col != k.Lod8_Col) return l.Lod8_Col < k.Lod8_Col;
    if (l.Lod13_Row != k.Lod13_Row) return l.Lod13_Row < k.Lod13_Row;
    if (l.Lod13_Col != k.Lod13_Col) return l.Lod13_Col < k.Lod13_Col;
    if (l.Group_Id != k.Group_Id) return l.Group_Id < k.Group_Id;
    return l.Ring_Number > k.Ring_Number;
}

// What every written piece promises the writers: simple, turned positively, every place in its
// area's range.
[[maybe_unused]] void Check_Piece(std::span<const Cut_Piece_Point> pts, int16_t mode, const Piece_Key& key, int32_t line_id) {
    const int16_t low = mode == 2 ? 4080 : 0, high = mode == 2 ? 12240 : Lod13_Local_Max;
    std::string fault = Rounded_Piece_Fault(pts);
    for (const Cut_Piece_Point& p : pts)
        if (fault.empty() && (p.Local_X < low || p.Local_X > high || p.Local_Y < low || p.Local_Y > high))
            fault = "a place outside its area";
    if (fault.empty()) return;
    Invariant_Broken("polygon piece of line " + std::to_string(line_id) + " in area (" + std::to_string(key.Lod8_Col) +
                     "," + std::to_string(key.Lod8_Row) + "," + std::to_string(key.Lod13_Col) + "," +
                     std::to_string(key.Lod13_Row) + "): " + fault);
}

// A piece's places before the rounding. Only a place a float's error off the area's border is put
// on it: moved further, a place can cross a side of a neighbouring piece, and the snap keeps
// apart only sides that do not cross. A place the cut left just beyond the border (within its
// tolerance, less than half a position) stays there, and the snap rounds it onto the border.
std::vector<Coast_Fine> Fine_Places(std::span<const Cut_Piece_Point> pts, const Piece_Key& key) {
    const double west = key.Lod8_Col * Lod8_Width + key.Lod13_Col * Lod13_Width - 180;
    const double north = 90 - (key.Lod8_Row * Lod8_Height + key.Lod13_Row * Lod13_Height);
    const auto place = [](double offset, double size) {
        const double v = Lod13_Local_Max * offset / size;
        return std::fabs(v) < 1e-6 ? 0.0 : std::fabs(v - Lod13_Local_Max) < 1e-6 ? double{Lod13_Local_Max} : v;
    };
    std::vector<Coast_Fine> out;
    for (const Cut_Piece_Point& p : pts) {
        double lat = 0, lon = 0;
        Com_Pixel_To_LatLon(p.X, p.Y, lat, lon);
        out.push_back({place(lon - west, Lod13_Width), place(north - lat, Lod13_Height)});
    }
    if (Coast_Twice_Area(out) < 0) std::reverse(out.begin(), out.end());
    return out;
}

Cut_Piece_Point Piece_Point(Coast_Pos p, const Piece_Key& key) {
    const double lat = 90 - (key.Lod8_Row * Lod8_Height + key.Lod13_Row * Lod13_Height + p.Y * Lod13_Height / 255);
    const double lon = key.Lod8_Col * Lod8_Width + key.Lod13_Col * Lod13_Width + p.X * Lod13_Width / 255 - 180;
    Cut_Piece_Point q{0, 0, static_cast<int16_t>(p.X), static_cast<int16_t>(p.Y)};
    Com_LatLon_To_Pixel(lat, lon, q.X, q.Y);
    return q;
}

int64_t Turn(const Cut_Piece_Point& a, const Cut_Piece_Point& b, const Cut_Piece_Point& c) {
    return int64_t{b.Local_X - a.Local_X} * (c.Local_Y - a.Local_Y) - int64_t{b.Local_Y - a.Local_Y} * (c.Local_X - a.Local_X);
}

// Whether two convex pieces turned positively share more than their outlines: no side of either
// has the other wholly on its outer side.
bool Overlap(std::span<const Cut_Piece_Point> a, std::span<const Cut_Piece_Point> b) {
    const auto parts = [](std::span<const Cut_Piece_Point> p, std::span<const Cut_Piece_Point> q) {
        for (size_t i = 0; i < p.size(); ++i)
            if (std::all_of(q.begin(), q.end(), [&](const Cut_Piece_Point& r) { return Turn(p[i], p[(i + 1) % p.size()], r) <= 0; }))
                return true;
        return false;
    };
    return !parts(a, b) && !parts(b, a);
}

// For each place of the sorted table, the entry (0-based) that goes there.
std::vector<int32_t> Piece_Order(const std::vector<Piece_Key>& keys) {
    return Exchange_Sort_Order(Exchange_Sort_Ranks(keys, Comes_First), false);
}

// The parts of the pieces mended, by piece: a table as long as the pieces, most of them never
// mended, costs less than a tree of the mended ones.
class Mended_Parts {
public:
    using Parts = std::vector<std::vector<Cut_Piece_Point>>;
    explicit Mended_Parts(size_t pieces) : slot_(pieces, -1) {}
    Parts* Find(size_t piece) { return slot_[piece] < 0 ? nullptr : &store_[static_cast<size_t>(slot_[piece])]; }
    Parts& Put(size_t piece, Parts parts) {
        if (slot_[piece] < 0) {
            slot_[piece] = static_cast<int32_t>(store_.size());
            store_.push_back(std::move(parts));
        } else {
            store_[static_cast<size_t>(slot_[piece])] = std::move(parts);
        }
        return store_[static_cast<size_t>(slot_[piece])];
    }

private:
    std::vector<int32_t> slot_;
    std::vector<Parts> store_;
};

}  // namespace

void API_Piece_Local_Points(const Work_Poly_Rec& rec, int16_t mode, Piece_Area& area, std::vector<Cut_Piece_Point>& pts) {
    double centre_x = 0, centre_y = 0;
    Work_Record_Centre(rec, centre_x, centre_y);
    int16_t px = 0, py = 0;
    Com_Pixel_To_Sub_Pos_Clamped(centre_x, centre_y, area.Lod8_Col, area.Lod8_Row, area.Lod13_Col, area.Lod13_Row, px,
                                 py);
    pts.clear();
    for (int32_t i = 0; i < rec.Nb_Points; ++i) {
        const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
        Cut_Piece_Point q{p.X, p.Y, 0, 0};
        if (mode == 2)
            Com_Pixel_To_Cell_Pos_Clamped(p.X, p.Y, area.Lod8_Col, area.Lod8_Row, q.Local_X, q.Local_Y);
        else
            Com_Pixel_To_Sub_Pos_Rounded(p.X, p.Y, area.Lod8_Col, area.Lod8_Row, area.Lod13_Col, area.Lod13_Row,
                                         q.Local_X, q.Local_Y);
        pts.push_back(q);
    }
    if (pts.empty()) return;
    // The closing copy makes the last and the first neighbours; the place that moves up is not
    // compared again.
    pts.push_back(pts.front());
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        if (pts[i].Local_X == pts[i + 1].Local_X && pts[i].Local_Y == pts[i + 1].Local_Y)
            pts.erase(pts.begin() + static_cast<long>(i));
    }
    pts.pop_back();
}

bool API_Piece_Comes_First(const Cut_Piece_Record& l, const Cut_Piece_Record& k) {
    return Comes_First(Key_Of(l), Key_Of(k));
}

void API_Sort_Cut_Pieces() {
    const int32_t n = Cut_Piece_Count;
    if (n < 2) return;
    std::vector<Piece_Key> keys;
    keys.reserve(static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i) keys.push_back(Key_Of(Cut_Piece_Table(i)));
    Exchange_Sort_Apply(Piece_Order(keys), [](int32_t i) -> Cut_Piece_Record& { return Cut_Piece_Table(i + 1); });
}

// The index as it fills: the points go in as the pieces come; the records are written once the
// order is known, each straight into its sorted place. The attributes move from the work
// records, which can go before the piece table is made. The counts and capacities run here and
// reach the piece table's globals at the end, each capacity one more than the records or points
// read, as a table sized once to them all. Each piece cut takes one place in the order, whatever
// the rounding leaves of it: none, itself, or parts that stand together in its place, so that
// mending one changes no other.
struct Piece_Index::Fill {
    struct Indexed {
        Shared_Attrib Attr;
        int32_t Line_Id;
        int32_t First_Point;
        int16_t Nb_Points;   // of all its parts
        int16_t Parts;
    };
    std::deque<Indexed> indexed;   // given up from the front as the piece table fills
    std::vector<Piece_Key> keys;
    std::map<int32_t, std::vector<int16_t>> part_sizes;  // by first point, where there are several
    std::vector<Cut_Piece_Point> points;  // becomes Cut_Piece_Points
    std::vector<Cut_Piece_Point> scratch;
    // The pieces of one call as rounded, their places one piece after another.
    struct Rounded {
        Piece_Key Key;
        int32_t Record;
        size_t First, Count;
    };
    std::vector<Rounded> rounded;
    std::vector<Cut_Piece_Point> places;
    int32_t slots = 0, slot_points = 0;   // as the pieces were cut
    int32_t count = 0, point_count = 0;   // as they are written
    int64_t capacity = 1, point_capacity = 1;
};

Piece_Index::Piece_Index(int16_t mode, int64_t points) : mode_(mode), fill_(std::make_unique<Fill>()) {
    // Room the pieces are likely to need, taken only as it fills.
    fill_->points.reserve(static_cast<size_t>(std::clamp<int64_t>(points + 1, 1, INT32_MAX)));
}

Piece_Index::~Piece_Index() = default;

void Piece_Index::Add(Work_Part&& part) {
    // The part stands as the work tables while its pieces are taken, its records numbered from 1
    // and their points with them.
    Work_Tables_Adopt_Part(std::move(part));
    Add_Work_Tables();
    plat::Release_Free_Memory();
}

void Piece_Index::Add_Work_Tables() {
    Fill& f = *fill_;
    f.capacity += std::max(Work_Poly_Count, 0);
    f.point_capacity += std::max(Work_Point_Count, 0);
    f.rounded.clear();
    f.places.clear();
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        const int32_t n = rec.Nb_Points;
        if (n <= 0) continue;
        Piece_Area area;
        API_Piece_Local_Points(rec, mode_, area, f.scratch);
        const int16_t c8 = area.Lod8_Col, r8 = area.Lod8_Row, c13 = area.Lod13_Col, r13 = area.Lod13_Row;
        const size_t kept = f.scratch.size();
        const size_t needed = n == 2 ? 2 : 3;
        if (kept < needed || kept > INT16_MAX) continue;
        // Shapes are cut at the world's edge; what still lies on it names no cell.
        if (!World_Has_Area(c8, r8, mode_ == 2 ? 0 : c13, mode_ == 2 ? 0 : r13)) continue;
        if (!Work_Record_Fits_Area(rec, c8, r8, c13, r13, mode_ != 2)) continue;
        // A table past what a count can number keeps what it holds.
        if (f.slots + 1 >= std::min<int64_t>(f.capacity, INT32_MAX) ||
            f.slot_points + static_cast<int64_t>(kept) >= std::min<int64_t>(f.point_capacity, INT32_MAX))
            continue;
        ++f.slots;
        f.slot_points += static_cast<int32_t>(kept);
        const Piece_Key key{r8, c8, static_cast<int16_t>(mode_ == 2 ? 0 : r13), static_cast<int16_t>(mode_ == 2 ? 0 : c13),
                            rec.Group_Id, rec.Ring_Number};
        f.rounded.push_back({key, r, f.places.size(), kept});
        f.places.insert(f.places.end(), f.scratch.begin(), f.scratch.end());
    }
    using Parts = std::vector<std::vector<Cut_Piece_Point>>;
    const auto places_of = [&](const Fill::Rounded& p) {
        return std::span<const Cut_Piece_Point>(f.places).subspan(p.First, p.Count);
    };

    std::vector<char> spoilt(f.rounded.size(), 0);
    bool any_spoilt = false;
    for (size_t i = 0; i < f.rounded.size(); ++i) {
        spoilt[i] = !Rounded_Piece_Fault(places_of(f.rounded[i])).empty();
        any_spoilt = any_spoilt || spoilt[i];
    }
    // The pieces of each polygon in each area, each group a run of `by_group`; `run_of` gives a
    // piece's run.
    using Group = std::tuple<int16_t, int16_t, int16_t, int16_t, int32_t, int32_t, int32_t>;
    const auto group_of = [&](const Fill::Rounded& r) {
        const Piece_Key& k = r.Key;
        return Group{k.Lod8_Row, k.Lod8_Col, k.Lod13_Row, k.Lod13_Col, k.Group_Id, k.Ring_Number,
                     Work_Poly_Table(r.Record).Line_Id};
    };
    std::vector<size_t> by_group;
    std::vector<std::pair<uint32_t, uint32_t>> run_of;
    if (mode_ != 2 || any_spoilt) {
        std::vector<std::pair<Group, size_t>> keyed;
        keyed.reserve(f.rounded.size());
        for (size_t i = 0; i < f.rounded.size(); ++i) keyed.emplace_back(group_of(f.rounded[i]), i);
        std::sort(keyed.begin(), keyed.end());
        by_group.reserve(keyed.size());
        run_of.resize(keyed.size());
        for (size_t b = 0, e = 0; b < keyed.size(); b = e) {
            while (e < keyed.size() && keyed[e].first == keyed[b].first) ++e;
            for (size_t k = b; k < e; ++k) {
                by_group.push_back(keyed[k].second);
                run_of[keyed[k].second] = {static_cast<uint32_t>(b), static_cast<uint32_t>(e)};
            }
        }
    }
    const auto members_of = [&](size_t i) {
        return std::span<const size_t>(by_group).subspan(run_of[i].first, run_of[i].second - run_of[i].first);
    };

    // Pieces of one polygon in one area that the rounding spoilt or lays over one another are
    // rounded again together from their places before the rounding: each side is led through
    // the places it passes near, so that none crosses another.
    Mended_Parts mended(f.rounded.size());
    if (mode_ != 2) {
        struct Extent {
            int16_t X0, X1, Y0, Y1;
            size_t Piece;
        };
        std::vector<Extent> boxes;
        for (size_t b = 0; b < by_group.size(); b = run_of[by_group[b]].second) {
            const std::span<const size_t> members = members_of(by_group[b]);
            if (members.size() < 2) continue;
            bool again = std::any_of(members.begin(), members.end(), [&](size_t i) { return spoilt[i] != 0; });
            if (!again) {
                // Swept west to east, each piece (convex, as none is spoilt) is tried against
                // those whose boxes reach it.
                boxes.clear();
                for (size_t i : members) {
                    Extent e{INT16_MAX, INT16_MIN, INT16_MAX, INT16_MIN, i};
                    for (const Cut_Piece_Point& q : places_of(f.rounded[i])) {
                        e.X0 = std::min(e.X0, q.Local_X), e.X1 = std::max(e.X1, q.Local_X);
                        e.Y0 = std::min(e.Y0, q.Local_Y), e.Y1 = std::max(e.Y1, q.Local_Y);
                    }
                    boxes.push_back(e);
                }
                std::sort(boxes.begin(), boxes.end(), [](const Extent& l, const Extent& r) { return l.X0 < r.X0; });
                for (size_t x = 0; x < boxes.size() && !again; ++x)
                    for (size_t y = x + 1; y < boxes.size() && boxes[y].X0 < boxes[x].X1 && !again; ++y)
                        again = boxes[y].Y0 < boxes[x].Y1 && boxes[x].Y0 < boxes[y].Y1 &&
                                Overlap(places_of(f.rounded[boxes[x].Piece]), places_of(f.rounded[boxes[y].Piece]));
            }
            if (!again) continue;
            std::vector<std::vector<Coast_Fine>> fine;
            for (size_t i : members) fine.push_back(Fine_Places(places_of(f.rounded[i]), f.rounded[i].Key));
            // A sound piece whose corners round as before and whose sides pass no other place
            // comes out of the snap as it stands, and its neighbours' sides meet it at its corners.
            std::vector<char> led(members.size(), 0);
            for (size_t m = 0; m < members.size(); ++m) {
                const std::span<const Cut_Piece_Point> pts = places_of(f.rounded[members[m]]);
                led[m] = spoilt[members[m]] || !std::equal(pts.begin(), pts.end(), fine[m].begin(), fine[m].end(),
                                                           [](const Cut_Piece_Point& p, const Coast_Fine& q) {
                                                               return Coast_Round(q) == Coast_Pos{p.Local_X, p.Local_Y};
                                                           });
            }
            const auto snapped = Coast_Snap_Parts(fine, &led);
            for (size_t m = 0; m < members.size(); ++m) {
                if (!led[m]) continue;
                Parts parts;
                for (const std::vector<Coast_Pos>& ring : snapped[m]) {
                    if (Coast_Twice_Area(ring) <= 0) continue;
                    std::vector<Cut_Piece_Point> pts;
                    for (const Coast_Pos& q : ring) pts.push_back(Piece_Point(q, f.rounded[members[m]].Key));
                    for (std::vector<Cut_Piece_Point>& part : Clean_Rounded_Piece(std::move(pts))) parts.push_back(std::move(part));
                }
                mended.Put(members[m], std::move(parts));
                spoilt[members[m]] = 0;
            }
        }
    }

    // What the rounding left of the pieces it spoilt that were not rounded again. A part it
    // turned the wrong way is a sliver folded over a neighbour of the same polygon in the area: it
    // is taken out of that one.
    std::vector<std::pair<size_t, std::vector<Cut_Piece_Point>>> folds;
    for (size_t i = 0; i < f.rounded.size(); ++i) {
        if (!spoilt[i]) continue;
        const std::span<const Cut_Piece_Point> pts = places_of(f.rounded[i]);
        Parts reversed;
        mended.Put(i, Clean_Rounded_Piece({pts.begin(), pts.end()}, &reversed));
        for (std::vector<Cut_Piece_Point>& fold : reversed) folds.emplace_back(i, std::move(fold));
    }
    for (const auto& [from, fold] : folds) {
        bool taken = false;
        for (size_t j : members_of(from)) {
            if (taken) break;
            const Fill::Rounded& p = f.rounded[j];
            if (j == from) continue;
            Parts* found = mended.Find(j);
            if (!found) {
                const std::span<const Cut_Piece_Point> pts = places_of(p);
                found = &mended.Put(j, Parts{{pts.begin(), pts.end()}});
            }
            Parts& parts = *found;
            for (size_t k = 0; k < parts.size() && !taken; ++k) {
                std::optional<Parts> left = Fold_Taken_Out(parts[k], fold);
                if (!left) continue;
                parts.erase(parts.begin() + static_cast<long>(k));
                parts.insert(parts.begin() + static_cast<long>(k), left->begin(), left->end());
                taken = true;
            }
        }
    }

    for (size_t i = 0; i < f.rounded.size(); ++i) {
        const Fill::Rounded& p = f.rounded[i];
        const Work_Poly_Rec& rec = Work_Poly_Table(p.Record);
        Fill::Indexed entry{rec.Attr, rec.Line_Id, f.point_count + 1, 0, 0};
        const auto add = [&](std::span<const Cut_Piece_Point> pts) {
            if (pts.size() + static_cast<size_t>(entry.Nb_Points) > INT16_MAX) return;
            if constexpr (Checked_Build) Check_Piece(pts, mode_, p.Key, rec.Line_Id);
            ++f.count;
            ++entry.Parts;
            entry.Nb_Points = static_cast<int16_t>(entry.Nb_Points + static_cast<int16_t>(pts.size()));
            f.points.insert(f.points.end(), pts.begin(), pts.end());
            f.point_count += static_cast<int32_t>(pts.size());
        };
        const Parts* kept = mended.Find(i);
        if (!kept) {
            add(places_of(p));
        } else {
            std::vector<int16_t> sizes;
            for (const std::vector<Cut_Piece_Point>& part : *kept) {
                const int16_t before = entry.Parts;
                add(part);
                if (entry.Parts != before) sizes.push_back(static_cast<int16_t>(part.size()));
            }
            if (sizes.size() > 1) f.part_sizes[entry.First_Point] = std::move(sizes);
        }
        f.keys.push_back(p.Key);
        f.indexed.push_back(std::move(entry));
    }
    // Every point and attribute the pieces keep is in the index now.
    Work_Tables_Erase();
}

// The tables keep room for their capacity, but only the entries filled are made: the rest,
// never touched, costs no resident memory (most of a large project's capacity goes unused).
void Piece_Index::End() {
    Fill& f = *fill_;
    Cut_Piece_Count = f.count;
    Cut_Piece_Point_Count = f.point_count;
    // Parts of a mended piece can number more than the pieces cut.
    Cut_Piece_Capacity = static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(f.capacity, f.count + 1), INT32_MAX));
    Cut_Piece_Point_Capacity =
        static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(f.point_capacity, f.point_count + 1), INT32_MAX));
    Cut_Piece_Points.Adopt(std::move(f.points));
    const std::vector<int32_t> order = Piece_Order(f.keys);
    // The entries put in their sorted places first, so that the table fills from the front as
    // they go.
    Exchange_Sort_Apply(order, [&](int32_t i) -> Fill::Indexed& { return f.indexed[static_cast<size_t>(i)]; });
    std::vector<Cut_Piece_Record> table;
    table.reserve(static_cast<size_t>(Cut_Piece_Capacity));
    for (size_t i = 0; i < order.size(); ++i) {
        Fill::Indexed& from = f.indexed.front();
        const Piece_Key& key = f.keys[static_cast<size_t>(order[i])];
        const auto several = from.Parts > 1 ? f.part_sizes.find(from.First_Point) : f.part_sizes.end();
        int32_t first = from.First_Point;
        for (int16_t k = 0; k < from.Parts; ++k) {
            Cut_Piece_Record& piece = table.emplace_back();
            piece.Nb_Points = several == f.part_sizes.end() ? from.Nb_Points : several->second[static_cast<size_t>(k)];
            piece.First_Point = first;
            piece.Last_Point = first + piece.Nb_Points - 1;
            first += piece.Nb_Points;
            piece.Lod8_Col = key.Lod8_Col;
            piece.Lod8_Row = key.Lod8_Row;
            piece.Lod13_Col = key.Lod13_Col;
            piece.Lod13_Row = key.Lod13_Row;
            piece.Line_Id = from.Line_Id;
            piece.Attr = k + 1 == from.Parts ? std::move(from.Attr) : from.Attr;
            piece.Ring_Number = key.Ring_Number;
            piece.Group_Id = key.Group_Id;
        }
        f.indexed.pop_front();
        if (i % 65536 == 65535) plat::Release_Free_Memory();
    }
    Cut_Piece_Table.Adopt(std::move(table));
    fill_ = std::make_unique<Fill>();
}

void API_Index_Pieces(int16_t mode) {
    Piece_Index index(mode, Work_Point_Count);
    index.Add_Work_Tables();
    index.End();
}
