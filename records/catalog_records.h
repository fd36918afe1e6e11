#pragma once
// The catalog of extruder series (maincat.dat) and codes (maincode.dat).
#include <cstddef>

#include "records/layout.h"
#include "records/packed.h"

namespace records {

struct CatalogSeriesRec {
    FixedText<64> SeriesName;

    static constexpr std::size_t kSize = 64;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&CatalogSeriesRec::SeriesName);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const CatalogSeriesRec&) const = default;
};

// A code belongs to the series whose 64-character name equals its series
// field exactly, blanks and case included.
struct CatalogCodeRec {
    FixedText<64> SeriesName;
    FixedText<8> Code;

    static constexpr std::size_t kSize = 72;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&CatalogCodeRec::SeriesName);
        f(&CatalogCodeRec::Code);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const CatalogCodeRec&) const = default;
};

static_assert(layout::packedSize<CatalogSeriesRec>() == CatalogSeriesRec::kSize);
static_assert(layout::packedSize<CatalogCodeRec>() == CatalogCodeRec::kSize);

}  // namespace records
