#include "generation/exchange_sort.h"

#include <limits>

namespace {

class Min_Tree {
public:
    explicit Min_Tree(const std::vector<int64_t>& keys) {
        size_ = 1;
        while (size_ < keys.size()) size_ *= 2;
        tree_.assign(2 * size_, std::numeric_limits<int64_t>::max());
        for (size_t i = 0; i < keys.size(); ++i) tree_[size_ + i] = keys[i];
        for (size_t i = size_ - 1; i >= 1; --i) tree_[i] = std::min(tree_[2 * i], tree_[2 * i + 1]);
    }
    void Set(size_t pos, int64_t key) {
        size_t i = size_ + pos;
        tree_[i] = key;
        for (i /= 2; i >= 1; i /= 2) tree_[i] = std::min(tree_[2 * i], tree_[2 * i + 1]);
    }
    // First position after `from` whose key is below `bound` (or not above it); npos when none.
    size_t First_After(size_t from, int64_t bound, bool or_equal) const {
        auto fits = [&](int64_t v) { return or_equal ? v <= bound : v < bound; };
        size_t lo = from + 1;
        if (lo >= size_) return npos;
        // Climb from the leaf at lo, looking right, then descend into the first fitting node.
        size_t i = size_ + lo;
        if (fits(tree_[i])) return lo;
        while (i > 1) {
            if (i % 2 == 0 && fits(tree_[i + 1])) {
                i = i + 1;
                while (i < size_) i = fits(tree_[2 * i]) ? 2 * i : 2 * i + 1;
                return i - size_;
            }
            i /= 2;
        }
        return npos;
    }
    static constexpr size_t npos = static_cast<size_t>(-1);

private:
    size_t size_ = 1;
    std::vector<int64_t> tree_;
};

}  // namespace

std::vector<int32_t> Exchange_Sort_Order(const std::vector<int64_t>& keys, bool exchange_equal) {
    const size_t n = keys.size();
    std::vector<int32_t> order(n);
    for (size_t i = 0; i < n; ++i) order[i] = static_cast<int32_t>(i);
    if (n < 2) return order;
    std::vector<int64_t> key = keys;
    Min_Tree tree(key);
    std::vector<size_t> chain;
    for (size_t k = 0; k + 1 < n; ++k) {
        chain.clear();
        int64_t hand = key[k];
        size_t p = k;
        for (;;) {
            size_t q = tree.First_After(p, hand, exchange_equal);
            if (q == Min_Tree::npos || q >= n) break;
            chain.push_back(q);
            hand = key[q];
            p = q;
        }
        if (chain.empty()) continue;
        // k takes the chain's last entry; each link takes the one before it, the first link k's.
        const int32_t last_entry = order[chain.back()];
        const int64_t last_key = key[chain.back()];
        for (size_t c = chain.size() - 1; c >= 1; --c) {
            order[chain[c]] = order[chain[c - 1]];
            key[chain[c]] = key[chain[c - 1]];
            tree.Set(chain[c], key[chain[c]]);
        }
        order[chain[0]] = order[k];
        key[chain[0]] = key[k];
        tree.Set(chain[0], key[chain[0]]);
        order[k] = last_entry;
        key[k] = last_key;
        tree.Set(k, last_key);
    }
    return order;
}
