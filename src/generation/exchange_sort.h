#pragma once
// The order the tables' exchange sort leaves (for k = 1 to n - 1, for l = k + 1 to n, exchange
// entries k and l when l comes first), in O(n log n) instead of its n^2 comparisons.
//
// The result is sorted by key; only where equal keys end is particular to the exchange sort.
// The entries of one key move the same whatever the other keys are, as long as the same places
// hold smaller and greater keys, so each key's run is worked out alone:
// - exchanging equal keys too ("<="): the run ends in reverse table order;
// - exchanging only smaller keys ("<"): the run's entries go round like a queue as the smaller
//   keys behind them are met (exchange_sort.cpp).
#include <cstdint>
#include <vector>

// keys: one comparable whole number per entry, in table order (equal entries equal numbers).
// exchange_equal: entries of equal keys are exchanged too (the comparison is "<=").
// Returns, for each final position, the index (0-based) of the entry that ends there.
std::vector<int32_t> Exchange_Sort_Order(const std::vector<int64_t>& keys, bool exchange_equal);

// Dense ranks 0.. of `values` by `less` (equal values share a rank), for Exchange_Sort_Order.
template <class T, class Less>
std::vector<int64_t> Exchange_Sort_Ranks(const std::vector<T>& values, Less less);

// Puts the n = order.size() entries at(0) .. at(n - 1) of a table in `order` (as
// Exchange_Sort_Order gives it), cycle by cycle in the table itself: a sorted copy of a large
// table would be as big again.
template <class Entry_At>
void Exchange_Sort_Apply(std::vector<int32_t> order, Entry_At at);

// `values` put in the exchange sort's order by `less`.
template <class T, class Less>
void Exchange_Sort_Vector(std::vector<T>& values, Less less, bool exchange_equal);

#include <algorithm>
#include <numeric>
#include <utility>

template <class T, class Less>
std::vector<int64_t> Exchange_Sort_Ranks(const std::vector<T>& values, Less less) {
    std::vector<int32_t> idx(values.size());
    std::iota(idx.begin(), idx.end(), 0);
    std::sort(idx.begin(), idx.end(), [&](int32_t a, int32_t b) { return less(values[a], values[b]); });
    std::vector<int64_t> ranks(values.size(), 0);
    int64_t rank = 0;
    for (size_t i = 0; i < idx.size(); ++i) {
        if (i > 0 && less(values[idx[i - 1]], values[idx[i]])) ++rank;
        ranks[static_cast<size_t>(idx[i])] = rank;
    }
    return ranks;
}

template <class Entry_At>
void Exchange_Sort_Apply(std::vector<int32_t> order, Entry_At at) {
    const int32_t n = static_cast<int32_t>(order.size());
    for (int32_t start = 0; start < n; ++start) {
        if (order[static_cast<size_t>(start)] == start) continue;
        auto held = std::move(at(start));
        int32_t here = start;
        for (int32_t step = 0; step < n; ++step) {
            const int32_t from = order[static_cast<size_t>(here)];
            order[static_cast<size_t>(here)] = here;
            if (from == start) break;
            at(here) = std::move(at(from));
            here = from;
        }
        at(here) = std::move(held);
    }
}

template <class T, class Less>
void Exchange_Sort_Vector(std::vector<T>& values, Less less, bool exchange_equal) {
    Exchange_Sort_Apply(Exchange_Sort_Order(Exchange_Sort_Ranks(values, less), exchange_equal),
                        [&](int32_t i) -> T& { return values[static_cast<size_t>(i)]; });
}
