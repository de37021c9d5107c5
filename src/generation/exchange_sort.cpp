// The exchange sort's order from a sort by key, each run of equal keys then placed as the
// exchanges would leave it.
#include "generation/exchange_sort.h"

#include "generation/fenwick.h"

// Without equal exchanges ("<"), one key's run sits at table positions p_1 < ... < p_s and only
// the smaller keys behind p_1 move it (their positions Z, M of them). Walk the merged positions
// of the run and of Z, the first M of them: a run entry joins the back of a queue, a smaller key
// turns the queue by one (front to back). The t run entries walked end on the last t places of
// Z in queue order; the rest keep their places.
//
// The queue is a circle with a front: joining the back is an insertion just before the front,
// a turn moves the front on. The insertion ranks follow at once; the circle's final order comes
// from placing the entries backwards into free slots. Counts of smaller keys come from a tree
// over positions filled key by key, so the whole order costs O(n log n).
std::vector<int32_t> Exchange_Sort_Order(const std::vector<int64_t>& keys, bool exchange_equal) {
    const size_t n = keys.size();
    std::vector<int32_t> by_key(n);
    std::iota(by_key.begin(), by_key.end(), 0);
    if (exchange_equal) {
        std::sort(by_key.begin(), by_key.end(), [&](int32_t a, int32_t b) {
            return keys[static_cast<size_t>(a)] != keys[static_cast<size_t>(b)]
                       ? keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)]
                       : a > b;
        });
        return by_key;
    }
    std::stable_sort(by_key.begin(), by_key.end(), [&](int32_t a, int32_t b) {
        return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
    });

    std::vector<int32_t> order;
    order.reserve(n);
    Fenwick smaller(n);  // positions of the keys already placed
    std::vector<int32_t> before;   // before[u]: smaller keys between p_1 and p_u
    std::vector<int64_t> inserted; // rank in the circle at which entry u joined
    std::vector<int32_t> circle;
    std::vector<std::pair<size_t, int32_t>> placed;  // final position, entry
    for (size_t g = 0; g < n;) {
        size_t h = g;
        while (h < n && keys[static_cast<size_t>(by_key[h])] == keys[static_cast<size_t>(by_key[g])]) ++h;
        const int32_t s = static_cast<int32_t>(h - g);
        auto pos_of = [&](int32_t u) { return static_cast<size_t>(by_key[g + static_cast<size_t>(u)]); };

        const int32_t up_to_p1 = smaller.Prefix(pos_of(0) + 1);
        const int32_t m = smaller.Prefix(n) - up_to_p1;
        before.assign(static_cast<size_t>(s), 0);
        for (int32_t u = 1; u < s; ++u) before[static_cast<size_t>(u)] = smaller.Prefix(pos_of(u)) - up_to_p1;
        // Entry u (0-based) is item u + 1 + before[u] of the merged walk.
        int32_t t = 0;
        while (t < s && t + 1 + before[static_cast<size_t>(t)] <= m) ++t;

        placed.clear();
        if (t > 0) {
            inserted.assign(static_cast<size_t>(t), 0);
            int64_t front = 0;
            for (int32_t u = 0; u < t; ++u) {
                inserted[static_cast<size_t>(u)] = front;
                const int64_t size = u + 1;
                const int64_t turns = u + 1 < t ? before[static_cast<size_t>(u) + 1] - before[static_cast<size_t>(u)]
                                                : m - t - before[static_cast<size_t>(u)];
                front = (front + 1 + turns) % size;
            }
            Fenwick free_slots(static_cast<size_t>(t));
            for (int32_t i = 0; i < t; ++i) free_slots.Add(static_cast<size_t>(i), 1);
            circle.assign(static_cast<size_t>(t), 0);
            for (int32_t u = t - 1; u >= 0; --u) {
                const size_t slot = free_slots.Kth(static_cast<int32_t>(inserted[static_cast<size_t>(u)]) + 1);
                circle[slot] = u;
                free_slots.Add(slot, -1);
            }
            for (int32_t q = 0; q < t; ++q) {
                const int32_t u = circle[static_cast<size_t>((front + q) % t)];
                const size_t at = smaller.Kth(up_to_p1 + m - t + q + 1);
                placed.push_back({at, static_cast<int32_t>(pos_of(u))});
            }
        }
        for (int32_t u = t; u < s; ++u) placed.push_back({pos_of(u), static_cast<int32_t>(pos_of(u))});
        std::sort(placed.begin(), placed.end());
        for (const auto& p : placed) order.push_back(p.second);
        for (int32_t u = 0; u < s; ++u) smaller.Add(pos_of(u), 1);
        g = h;
    }
    return order;
}
