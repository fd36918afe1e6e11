#pragma once
// The "<<" and ">>" buttons of the result listings step through a range of
// stages, profile points or element rows, going round at either end.
namespace reports {

// current + step (1 or -1); past `last` it is `first`, before `first` `last`.
inline int steppedRound(int current, int step, int first, int last) {
    const int next = current + step;
    return next > last ? first : next < first ? last : next;
}

}  // namespace reports
