#pragma once
// A dynamic array indexed from a fixed lower bound (1 for the object tables, 0 for the
// resource tables), sized by its upper bound the way the tables are re-dimensioned.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

template <class T, int32_t Lower = 1>
class Vb_Array {
public:
    Vb_Array() = default;

    // Entries Lower..upper, every entry a fresh default record. An upper bound below
    // Lower leaves the array empty.
    void ReDim(int32_t upper) {
        items_.clear();
        items_.resize(Size_For(upper));
    }

    // Entries Lower..upper; the entries that stay keep their contents.
    void ReDim_Preserve(int32_t upper) { items_.resize(Size_For(upper)); }

    // The entries of `items`, from Lower on, taken over without a copy.
    void Adopt(std::vector<T>&& items) { items_ = std::move(items); }

    // No entries, and the storage handed back: an erased table of a large project would
    // otherwise hold its memory until the program ends.
    void Erase() { std::vector<T>().swap(items_); }
    // Entries the storage holds room for.
    size_t Capacity() const { return items_.capacity(); }

    bool Empty() const { return items_.empty(); }
    int32_t LBound() const { return Lower; }
    // Lower - 1 when the array holds no entry.
    int32_t UBound() const { return Lower + static_cast<int32_t>(items_.size()) - 1; }
    bool In_Range(int64_t index) const { return index >= Lower && index <= UBound(); }

    T& operator()(int64_t index) { return items_[Checked(index)]; }
    const T& operator()(int64_t index) const { return items_[Checked(index)]; }
    T& operator[](int64_t index) { return items_[Checked(index)]; }
    const T& operator[](int64_t index) const { return items_[Checked(index)]; }

    // For a loop over every entry (tests, copies).
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    static size_t Size_For(int32_t upper) {
        int64_t n = static_cast<int64_t>(upper) - Lower + 1;
        return n > 0 ? static_cast<size_t>(n) : 0;
    }
    size_t Checked(int64_t index) const {
        if (!In_Range(index)) [[unlikely]]
            Out_Of_Range(index, UBound());
        return static_cast<size_t>(index - Lower);
    }
    // Apart from Checked, so that the check itself stays small enough to inline in the loops
    // that walk the tables.
    [[noreturn, gnu::cold, gnu::noinline]] static void Out_Of_Range(int64_t index, int32_t upper) {
        throw std::out_of_range("table index " + std::to_string(index) + " outside " + std::to_string(Lower) +
                                ".." + std::to_string(upper));
    }

    std::vector<T> items_;
};
