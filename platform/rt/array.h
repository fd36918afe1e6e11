#pragma once
// A one-dimensional array with an explicit lower bound, bounds-checked on
// every access. It starts undimensioned (no elements; asking for its bounds
// is an error, as for an array that was never dimensioned). redim gives it
// fresh default elements; redimPreserve keeps the elements that stay within
// the new bounds. Bad subscripts and bounds raise kSubscriptOutOfRange.
#include <cstddef>
#include <utility>
#include <vector>

#include "platform/rt/error.h"

namespace rt {

template <class T>
class Array {
public:
    Array() = default;
    Array(long lower, long upper) { redim(lower, upper); }

    // New bounds, every element default-valued. upper = lower - 1 gives an
    // empty but dimensioned array.
    void redim(long lower, long upper) {
        checkBounds(lower, upper);
        std::vector<T> fresh(static_cast<std::size_t>(upper - lower + 1));
        items_ = std::move(fresh);
        lower_ = lower;
        dimensioned_ = true;
    }
    // New upper bound, keeping the lower bound and the elements up to the
    // smaller of the two upper bounds. On an undimensioned array it acts as
    // redim(lower, upper).
    void redimPreserve(long lower, long upper) {
        if (dimensioned_ && lower != lower_) raise(kSubscriptOutOfRange, "preserve changes lower bound");
        checkBounds(lower, upper);
        items_.resize(static_cast<std::size_t>(upper - lower + 1));
        lower_ = lower;
        dimensioned_ = true;
    }
    void redimPreserve(long upper) { redimPreserve(dimensioned_ ? lower_ : 0, upper); }
    // Back to undimensioned.
    void erase() {
        items_.clear();
        dimensioned_ = false;
        lower_ = 0;
    }

    bool dimensioned() const { return dimensioned_; }
    long lbound() const {
        if (!dimensioned_) raise(kSubscriptOutOfRange, "array not dimensioned");
        return lower_;
    }
    long ubound() const {
        if (!dimensioned_) raise(kSubscriptOutOfRange, "array not dimensioned");
        return lower_ + static_cast<long>(items_.size()) - 1;
    }
    std::size_t size() const { return items_.size(); }

    T& operator[](long i) { return items_[index(i)]; }
    const T& operator[](long i) const { return items_[index(i)]; }
    T& at(long i) { return items_[index(i)]; }
    const T& at(long i) const { return items_[index(i)]; }

    // The elements in order, lowest subscript first.
    std::vector<T>& items() { return items_; }
    const std::vector<T>& items() const { return items_; }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    static void checkBounds(long lower, long upper) {
        // Bounds as far apart as no memory could hold are refused up front.
        double span = static_cast<double>(upper) - static_cast<double>(lower);
        if (span < -1.0 || span >= static_cast<double>(1L << 28)) raise(kSubscriptOutOfRange, "bad bounds");
    }
    std::size_t index(long i) const {
        if (!dimensioned_ || i < lower_ || i - lower_ >= static_cast<long>(items_.size()))
            raise(kSubscriptOutOfRange);
        return static_cast<std::size_t>(i - lower_);
    }

    std::vector<T> items_;
    long lower_ = 0;
    bool dimensioned_ = false;
};

}  // namespace rt
