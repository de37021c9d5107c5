// Rounded pieces made fit to write: parted where their sides meet, their back-tracks and repeated
// places taken out, the parts of no area or turned the wrong way dropped. All tests are on whole
// places, so they are exact.
#include "generation/piece_clean.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "generation/shoelace.h"
#include "generation/work_tables.h"

namespace {

using Places = std::vector<Cut_Piece_Point>;
using View = std::span<const Cut_Piece_Point>;

bool Same(const Cut_Piece_Point& a, const Cut_Piece_Point& b) {
    return a.Local_X == b.Local_X && a.Local_Y == b.Local_Y;
}

// Positive when c lies right of a->b on the map (y southward), the turn of a positive piece.
int64_t Turn(const Cut_Piece_Point& a, const Cut_Piece_Point& b, const Cut_Piece_Point& c) {
    return int64_t{b.Local_X - a.Local_X} * (c.Local_Y - a.Local_Y) -
           int64_t{b.Local_Y - a.Local_Y} * (c.Local_X - a.Local_X);
}

int Sign(int64_t v) { return (v > 0) - (v < 0); }

// At b the way goes back along the side it came by (a spike a-b-a among them).
bool Goes_Back(const Cut_Piece_Point& a, const Cut_Piece_Point& b, const Cut_Piece_Point& c) {
    const int64_t ahead = int64_t{b.Local_X - a.Local_X} * (c.Local_X - b.Local_X) +
                          int64_t{b.Local_Y - a.Local_Y} * (c.Local_Y - b.Local_Y);
    return Turn(a, b, c) == 0 && ahead < 0;
}

// p on the segment a-b, its ends included.
bool On_Side(const Cut_Piece_Point& p, const Cut_Piece_Point& a, const Cut_Piece_Point& b) {
    return Turn(a, b, p) == 0 && std::min(a.Local_X, b.Local_X) <= p.Local_X &&
           p.Local_X <= std::max(a.Local_X, b.Local_X) && std::min(a.Local_Y, b.Local_Y) <= p.Local_Y &&
           p.Local_Y <= std::max(a.Local_Y, b.Local_Y);
}

// Every turn to the right or straight on, and the sides' way east and west changing twice: the
// places go round once, a convex piece. Most pieces are, and this costs one pass.
bool Convex_Once(View p) {
    const size_t n = p.size();
    if (n < 3) return false;
    bool turned = false;
    int changes = 0, first = 0, last = 0;
    for (size_t i = 0; i < n; ++i) {
        const Cut_Piece_Point& a = p[i];
        const Cut_Piece_Point& b = p[(i + 1) % n];
        const Cut_Piece_Point& c = p[(i + 2) % n];
        if (Same(a, b)) return false;
        const int64_t t = Turn(a, b, c);
        if (t < 0 || Goes_Back(a, b, c)) return false;
        turned = turned || t > 0;
        const int east = Sign(b.Local_X - a.Local_X);
        if (east == 0) continue;
        if (last != 0 && east != last) ++changes;
        if (first == 0) first = east;
        last = east;
    }
    if (last != first) ++changes;
    return turned && changes == 2;
}

// Two sides that meet other than as neighbours: a place of one on the other (`vertex` on side
// `side`), or a crossing inside both (sides `side` and `other`).
struct Meeting {
    enum { None, Vertex_On_Side, Crossing } What = None;
    size_t Vertex = 0, Side = 0, Other = 0;
};

// The first meeting of sides that are not neighbours. Neighbours meet only at their common place
// once back-tracks are gone.
Meeting First_Meeting(View p) {
    const size_t n = p.size();
    for (size_t i = 0; i < n; ++i) {
        const Cut_Piece_Point& a = p[i];
        const Cut_Piece_Point& b = p[(i + 1) % n];
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue;
            const size_t j1 = (j + 1) % n;
            const Cut_Piece_Point& c = p[j];
            const Cut_Piece_Point& d = p[j1];
            if (On_Side(a, c, d)) return {Meeting::Vertex_On_Side, i, j, 0};
            if (On_Side(b, c, d)) return {Meeting::Vertex_On_Side, (i + 1) % n, j, 0};
            if (On_Side(c, a, b)) return {Meeting::Vertex_On_Side, j, i, 0};
            if (On_Side(d, a, b)) return {Meeting::Vertex_On_Side, j1, i, 0};
            if (Sign(Turn(a, b, c)) * Sign(Turn(a, b, d)) < 0 && Sign(Turn(c, d, a)) * Sign(Turn(c, d, b)) < 0)
                return {Meeting::Crossing, 0, i, j};
        }
    }
    return {};
}

// Repeated places and back-tracks taken out, the ring's start and end included, as far as taking
// one out makes another.
void Drop_Back_Tracks(Places& p) {
    Places kept;
    kept.reserve(p.size());
    for (const Cut_Piece_Point& q : p) {
        kept.push_back(q);
        for (;;) {
            const size_t k = kept.size();
            if (k >= 2 && Same(kept[k - 2], kept[k - 1])) {
                kept.pop_back();
            } else if (k >= 3 && Goes_Back(kept[k - 3], kept[k - 2], kept[k - 1])) {
                kept.erase(kept.end() - 2);
            } else {
                break;
            }
        }
    }
    while (kept.size() >= 2) {
        const size_t k = kept.size();
        if (Same(kept[k - 1], kept[0])) {
            kept.pop_back();
        } else if (k >= 3 && Goes_Back(kept[k - 2], kept[k - 1], kept[0])) {
            kept.pop_back();
        } else if (k >= 3 && Goes_Back(kept[k - 1], kept[0], kept[1])) {
            kept.erase(kept.begin());
        } else {
            break;
        }
    }
    p = std::move(kept);
}

// The places from `from` to `to`, going forward round the ring, both included.
void Append_Run(const Places& p, size_t from, size_t to, Places& out) {
    const size_t n = p.size();
    for (size_t i = from;; i = (i + 1) % n) {
        out.push_back(p[i]);
        if (i == to) break;
    }
}

// The ring parted at a meeting into two rings of fewer places each.
std::pair<Places, Places> Part(const Places& p, const Meeting& m) {
    const size_t n = p.size();
    Places one, two;
    if (m.What == Meeting::Crossing) {
        // The crossing, rounded to a place, closes both rings.
        const Cut_Piece_Point& a = p[m.Side];
        const Cut_Piece_Point& b = p[(m.Side + 1) % n];
        const Cut_Piece_Point& c = p[m.Other];
        const Cut_Piece_Point& d = p[(m.Other + 1) % n];
        const double before = static_cast<double>(Turn(c, d, a));
        const double t = before / (before - static_cast<double>(Turn(c, d, b)));
        Cut_Piece_Point x{a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y), 0, 0};
        x.Local_X = static_cast<int16_t>(std::lround(a.Local_X + t * (b.Local_X - a.Local_X)));
        x.Local_Y = static_cast<int16_t>(std::lround(a.Local_Y + t * (b.Local_Y - a.Local_Y)));
        one.push_back(x);
        Append_Run(p, (m.Side + 1) % n, m.Other, one);
        two.push_back(x);
        Append_Run(p, (m.Other + 1) % n, m.Side, two);
        return {std::move(one), std::move(two)};
    }
    const size_t v = m.Vertex, s = m.Side, s1 = (m.Side + 1) % n;
    const size_t at = Same(p[v], p[s]) ? s : Same(p[v], p[s1]) ? s1 : n;
    if (at < n) {
        // A place visited twice: the ring is two loops through it.
        Append_Run(p, v, (at + n - 1) % n, one);
        Append_Run(p, at, (v + n - 1) % n, two);
    } else {
        // A place on a side further on: the side is taken in two at that place.
        Append_Run(p, v, s, one);
        two.push_back(p[v]);
        Append_Run(p, s1, (v + n - 1) % n, two);
    }
    return {std::move(one), std::move(two)};
}

// The ring p with its side i -> i + 1 replaced by the way round q from the end of q's side j ->
// j + 1, the same side the other way, to its start: the two rings joined along that side.
template <class T>
std::vector<T> Join(std::span<const T> p, size_t i, std::span<const T> q, size_t j) {
    std::vector<T> joined(p.begin(), p.begin() + static_cast<long>(i) + 1);
    for (size_t m = 2; m < q.size(); ++m) joined.push_back(q[(j + m) % q.size()]);
    joined.insert(joined.end(), p.begin() + static_cast<long>(i) + 1, p.end());
    return joined;
}

// A simple ring turned positively that the rounding left concave, in convex parts that meet along
// diagonals between its places: its ears cut off, then neighbouring ones joined again as long as
// they stay convex. The ring itself where no ear is found. The search for the next ear goes on
// from the last one cut, and a pass of joins from the part last joined, so that a ring of n
// places costs about n * n tests, not n * n * n.
std::vector<Places> Convex_Parts(const Places& ring) {
    const size_t n = ring.size();
    std::vector<size_t> left(n);
    for (size_t i = 0; i < n; ++i) left[i] = i;
    std::vector<std::vector<size_t>> parts;
    size_t k = 0;
    for (size_t tried = 0; left.size() > 3;) {
        const size_t m = left.size();
        if (tried == m) return {ring};  // round once without an ear
        k %= m;
        const size_t a = left[(k + m - 1) % m], b = left[k], c = left[(k + 1) % m];
        const bool ear = Turn(ring[a], ring[b], ring[c]) > 0 && std::none_of(left.begin(), left.end(), [&](size_t q) {
            return q != a && q != b && q != c && Turn(ring[a], ring[b], ring[q]) >= 0 &&
                   Turn(ring[b], ring[c], ring[q]) >= 0 && Turn(ring[c], ring[a], ring[q]) >= 0;
        });
        if (!ear) {
            ++k;
            ++tried;
            continue;
        }
        parts.push_back({a, b, c});
        left.erase(left.begin() + static_cast<long>(k));
        k = k == 0 ? 0 : k - 1;  // the corner before the ear may be one now
        tried = 0;
    }
    if (Turn(ring[left[0]], ring[left[1]], ring[left[2]]) > 0) parts.push_back(left);
    const auto fill = [&](const std::vector<size_t>& part, Places& out) {
        out.clear();
        for (size_t i : part) out.push_back(ring[i]);
    };
    Places scratch;
    const auto convex = [&](const std::vector<size_t>& part) {
        fill(part, scratch);
        return Convex_Once(scratch);
    };
    for (bool joined = true; joined;) {
        joined = false;
        for (size_t x = 0; x < parts.size(); ++x) {
            for (size_t y = x + 1; y < parts.size(); ++y) {
                bool with_y = false;
                for (size_t i = 0; i < parts[x].size() && !with_y; ++i)
                    for (size_t j = 0; j < parts[y].size() && !with_y; ++j) {
                        const std::vector<size_t>& p = parts[x];
                        const std::vector<size_t>& q = parts[y];
                        if (p[i] != q[(j + 1) % q.size()] || p[(i + 1) % p.size()] != q[j]) continue;
                        std::vector<size_t> both = Join<size_t>(p, i, q, j);
                        if (!convex(both)) continue;
                        parts[x] = std::move(both);
                        parts.erase(parts.begin() + static_cast<long>(y));
                        with_y = joined = true;
                    }
                if (with_y) y = x;  // the part grew: every other may join it now
            }
        }
    }
    std::vector<Places> out(parts.size());
    for (size_t i = 0; i < parts.size(); ++i) fill(parts[i], out[i]);
    return out;
}

}  // namespace

int64_t API_Piece_Twice_Area(View pts) {
    return Shoelace<int64_t>(pts, [](const Cut_Piece_Point& p) { return std::pair{p.Local_X, p.Local_Y}; });
}

std::string Rounded_Piece_Fault(View pts) {
    const size_t n = pts.size();
    if (n < 3) return "fewer than three places";
    if (Convex_Once(pts)) return "";
    const auto place = [](const Cut_Piece_Point& p) {
        return "(" + std::to_string(p.Local_X) + "," + std::to_string(p.Local_Y) + ")";
    };
    for (size_t i = 0; i < n; ++i) {
        if (Same(pts[i], pts[(i + 1) % n])) return "the place " + place(pts[i]) + " repeated";
        if (Goes_Back(pts[i], pts[(i + 1) % n], pts[(i + 2) % n]))
            return "a side going back at " + place(pts[(i + 1) % n]);
    }
    const Meeting m = First_Meeting(pts);
    if (m.What == Meeting::Vertex_On_Side) return "the place " + place(pts[m.Vertex]) + " on another side";
    if (m.What == Meeting::Crossing) return "sides crossing after " + place(pts[m.Side]) + " and " + place(pts[m.Other]);
    if (API_Piece_Twice_Area(pts) <= 0) return "turned the wrong way round or of no area";
    // The records take convex pieces: one the rounding bent is parted along its diagonals.
    for (size_t i = 0; i < n; ++i)
        if (Turn(pts[i], pts[(i + 1) % n], pts[(i + 2) % n]) < 0) return "concave at " + place(pts[(i + 1) % n]);
    return "";
}

std::vector<std::vector<Cut_Piece_Point>> Clean_Rounded_Piece(std::vector<Cut_Piece_Point> pts,
                                                              std::vector<std::vector<Cut_Piece_Point>>* reversed) {
    std::vector<Places> out;
    if (Rounded_Piece_Fault(pts).empty()) {
        out.push_back(std::move(pts));
        return out;
    }
    // Each parting leaves two rings of fewer places than the one parted, so this ends.
    std::vector<Places> todo;
    todo.push_back(std::move(pts));
    while (!todo.empty()) {
        Places ring = std::move(todo.back());
        todo.pop_back();
        Drop_Back_Tracks(ring);
        if (ring.size() < 3) continue;
        const Meeting m = Convex_Once(ring) ? Meeting{} : First_Meeting(ring);
        if (m.What == Meeting::None) {
            const int64_t area = API_Piece_Twice_Area(ring);
            if (area > 0 && Convex_Once(ring)) {
                out.push_back(std::move(ring));
            } else if (area > 0) {
                for (Places& part : Convex_Parts(ring)) out.push_back(std::move(part));
            } else if (area < 0 && reversed) {
                reversed->push_back(std::move(ring));
            }
            continue;
        }
        auto [one, two] = Part(ring, m);
        todo.push_back(std::move(two));
        todo.push_back(std::move(one));
    }
    return out;
}

std::optional<std::vector<std::vector<Cut_Piece_Point>>> Fold_Taken_Out(View piece, View fold) {
    const size_t n = piece.size(), k = fold.size();
    for (size_t i = 0; i < n; ++i) {
        const Cut_Piece_Point& u = piece[i];
        const Cut_Piece_Point& v = piece[(i + 1) % n];
        for (size_t j = 0; j < k; ++j) {
            if (!Same(fold[j], v) || !Same(fold[(j + 1) % k], u)) continue;
            // The side u-v of the piece goes round the fold's other sides instead.
            Places joined = Join(piece, i, fold, j);
            const int64_t area = API_Piece_Twice_Area(piece) + API_Piece_Twice_Area(fold);
            std::vector<Places> reversed;
            std::vector<Places> left = Clean_Rounded_Piece(std::move(joined), &reversed);
            int64_t kept = 0;
            for (const Places& part : left) kept += API_Piece_Twice_Area(part);
            if (!reversed.empty() || kept != area) return std::nullopt;
            // A fold's place inside the piece leaves a notch.
            std::vector<Places> convex;
            for (Places& part : left) {
                if (Convex_Once(part)) convex.push_back(std::move(part));
                else for (Places& c : Convex_Parts(part)) convex.push_back(std::move(c));
            }
            return convex;
        }
    }
    return std::nullopt;
}
