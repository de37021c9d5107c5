#pragma once
// Counts over the positions 0..n-1 (a Fenwick tree): add, prefix sums, the k-th counted
// position and the next counted one going round, each in O(log n).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class Fenwick {
public:
    explicit Fenwick(size_t n) : tree_(n + 1, 0) {
        while (top_ * 2 <= n) top_ *= 2;
    }
    void Add(size_t pos, int32_t delta) {
        for (size_t i = pos + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
    }
    // Sum over positions 0..end-1.
    int32_t Prefix(size_t end) const {
        int32_t sum = 0;
        for (size_t i = end; i > 0; i -= i & (~i + 1)) sum += tree_[i];
        return sum;
    }
    int32_t Total() const { return Prefix(tree_.size() - 1); }
    // The position holding the k-th count (k >= 1, at most the total).
    size_t Kth(int32_t k) const {
        size_t pos = 0;
        for (size_t step = top_; step > 0; step /= 2) {
            if (pos + step < tree_.size() && tree_[pos + step] < k) {
                pos += step;
                k -= tree_[pos];
            }
        }
        return pos;
    }
    // The first counted position at or after `from`, going round; none when nothing is counted.
    std::optional<size_t> Next_From(size_t from) const {
        const int32_t total = Total();
        if (total == 0) return std::nullopt;
        const int32_t before = Prefix(from);
        return Kth(before < total ? before + 1 : 1);
    }

private:
    std::vector<int32_t> tree_;
    size_t top_ = 1;
};
