#pragma once
// A list addressed from 1, like the element list of a calculation, the port
// table and the design arrays. Access outside 1..count() raises rt::Error
// kSubscriptOutOfRange instead of reading past the list.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/rt/error.h"

namespace records {

template <class T>
class OneBasedList {
public:
    OneBasedList() = default;
    explicit OneBasedList(int count) : items_(count > 0 ? static_cast<std::size_t>(count) : 0) {}
    OneBasedList(std::initializer_list<T> items) : items_(items) {}

    int count() const { return static_cast<int>(items_.size()); }
    bool contains(int i) const { return i >= 1 && i <= count(); }
    T& at(int i) {
        check(i);
        return items_[static_cast<std::size_t>(i - 1)];
    }
    const T& at(int i) const {
        check(i);
        return items_[static_cast<std::size_t>(i - 1)];
    }
    void resize(int count) { items_.resize(count > 0 ? static_cast<std::size_t>(count) : 0); }
    void push_back(const T& item) { items_.push_back(item); }
    void clear() { items_.clear(); }
    std::vector<T>& items() { return items_; }
    const std::vector<T>& items() const { return items_; }

private:
    void check(int i) const {
        if (!contains(i)) rt::raise(rt::kSubscriptOutOfRange, "list index " + std::to_string(i));
    }
    std::vector<T> items_;
};

}  // namespace records
