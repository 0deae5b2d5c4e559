#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace dorvath {

// Far beyond any surface, yet small enough to move by many pixels without overflow.
inline constexpr std::int64_t kFar = std::int64_t{1} << 40;

// A run of columns, first..last inclusive; empty when first > last.
struct Span {
    std::int64_t first = 1;
    std::int64_t last = 0;

    static constexpr Span All() { return {-kFar, kFar}; }
    constexpr bool Empty() const { return first > last; }
    constexpr Span Intersected(Span o) const {
        return {std::max(first, o.first), std::min(last, o.last)};
    }
    // Without `by` columns at either end.
    constexpr Span Eroded(std::int64_t by) const { return {first + by, last - by}; }
    // Iterable like Runs, as one run or none, so that one painter serves both.
    const Span* begin() const { return this; }
    const Span* end() const { return Empty() ? this : this + 1; }
};

// The columns of one row that a figure covers: disjoint runs, left to right.
class Runs {
public:
    // Enough for a wedge's row and for the intersection of the rows of the widest pen.
    static constexpr int kCapacity = 40;

    Runs() = default;
    explicit Runs(Span s) { Add(s); }

    // Runs are added left to right; an empty one is skipped.
    void Add(Span s) {
        if (!s.Empty() && count_ < kCapacity)
            runs_[static_cast<std::size_t>(count_++)] = s;
    }
    const Span* begin() const { return runs_.data(); }
    const Span* end() const { return runs_.data() + count_; }

    Runs Intersected(const Runs& o) const {
        Runs out;
        // Both lists are sorted: one merge pass.
        const Span *a = begin(), *b = o.begin();
        while (a != end() && b != o.end()) {
            out.Add(a->Intersected(*b));
            if (a->last < b->last)
                ++a;
            else
                ++b;
        }
        return out;
    }
    Runs Eroded(std::int64_t by) const {
        Runs out;
        for (const Span& s : *this)
            out.Add(s.Eroded(by));
        return out;
    }

private:
    std::array<Span, kCapacity> runs_{};
    int count_ = 0;
};

}  // namespace dorvath
