#pragma once
// File kind markers: the one-character field of a header record whose
// character code names the kind of file.
#include "records/packed.h"

namespace records {

enum class FileKind : char {
    Screw = 1,      // *.srw
    Barrel = 2,     // *.brl
    Die = 3,        // *.die
    Extruder = 4,   // *.ext
    Analysis = 5,   // analysis header of temp/Calc2.TMP, flow work file and *.flw
    Parameter = 6,  // *.prm
};

// The marker field as written for a file kind.
inline FixedText<1> markerFor(FileKind kind) {
    FixedText<1> m;
    m[0] = static_cast<char>(kind);
    return m;
}

inline bool hasMarker(const FixedText<1>& marker, FileKind kind) {
    return marker[0] == static_cast<char>(kind);
}

}  // namespace records
