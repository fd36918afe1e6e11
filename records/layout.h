#pragma once
// Field-list driven packing. Every record type lists its fields once, in disk
// order, in a static `layout(f)` that calls f with a pointer to each member;
// writing, reading and the compile-time packed size all follow that one list,
// so the three can never disagree.
#include <cstddef>
#include <cstdint>

#include "records/packed.h"

namespace records::layout {

// Width on disk of one field type. A record nested in another record (an
// ExtHeader inside an AnalysisHeader) takes its own packed size.
template <class T>
struct Width {
    static constexpr std::size_t value = T::kSize;
};
template <>
struct Width<std::int16_t> {
    static constexpr std::size_t value = 2;
};
template <>
struct Width<float> {
    static constexpr std::size_t value = 4;
};
template <std::size_t N>
struct Width<FixedText<N>> {
    static constexpr std::size_t value = N;
};

template <class M>
struct MemberType;
template <class C, class T>
struct MemberType<T C::*> {
    using type = T;
};

// Packed size of a record type, summed from its field list.
template <class Rec>
consteval std::size_t packedSize() {
    std::size_t n = 0;
    Rec::layout([&](auto member) { n += Width<typename MemberType<decltype(member)>::type>::value; });
    return n;
}

inline void put(PackWriter& w, std::int16_t v) { w.i16(v); }
inline void put(PackWriter& w, float v) { w.f32(v); }
template <std::size_t N>
void put(PackWriter& w, const FixedText<N>& t) {
    w.text(t);
}
template <class Rec>
void put(PackWriter& w, const Rec& nested) {
    nested.write(w);
}

inline void get(PackReader& r, std::int16_t& v) { v = r.i16(); }
inline void get(PackReader& r, float& v) { v = r.f32(); }
template <std::size_t N>
void get(PackReader& r, FixedText<N>& t) {
    r.text(t);
}
template <class Rec>
void get(PackReader& r, Rec& nested) {
    nested.read(r);
}

template <class Rec>
void writeFields(const Rec& rec, PackWriter& w) {
    Rec::layout([&](auto member) { put(w, rec.*member); });
}
template <class Rec>
void readFields(Rec& rec, PackReader& r) {
    Rec::layout([&](auto member) { get(r, rec.*member); });
}

}  // namespace records::layout
