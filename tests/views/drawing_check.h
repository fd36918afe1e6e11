#pragma once
// Golden comparison of drawings: the expected operations as
// "box|seg|fill x1 y1 x2 y2", one after another, compared in kind and order exactly, in colour
// RGB(100, 0, 0), coordinates within 0.01 twip.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gfx/display_list.h"

namespace viewdata {

// The line drawing without the text of a printed page.
inline std::vector<gfx::DrawOp> lines(const gfx::DisplayList& list) {
    std::vector<gfx::DrawOp> out;
    for (const gfx::DrawOp& op : list)
        if (op.kind != gfx::OpKind::Text) out.push_back(op);
    return out;
}

// The texts of a printed page, in order.
inline std::vector<std::string> texts(const gfx::DisplayList& list) {
    std::vector<std::string> out;
    for (const gfx::DrawOp& op : list)
        if (op.kind == gfx::OpKind::Text) out.push_back(op.text);
    return out;
}

// ops[from ..] against the expected operations; with whole, the drawing
// holds exactly these.
inline ::testing::AssertionResult drawsAt(const std::vector<gfx::DrawOp>& ops, std::size_t from,
                                          const std::string& expected, bool whole = false) {
    std::istringstream in(expected);
    std::string kind;
    std::size_t i = from;
    for (float x1, y1, x2, y2; in >> kind >> x1 >> y1 >> x2 >> y2; ++i) {
        if (i >= ops.size()) return ::testing::AssertionFailure() << "no operation " << i << " for " << kind;
        const gfx::DrawOp& op = ops[i];
        const char* got = op.kind == gfx::OpKind::Segment ? "seg" : op.kind == gfx::OpKind::Box ? "box" : "fill";
        const bool near = std::fabs(op.x1 - x1) <= 0.01f && std::fabs(op.y1 - y1) <= 0.01f &&
                          std::fabs(op.x2 - x2) <= 0.01f && std::fabs(op.y2 - y2) <= 0.01f;
        if (kind != got || !near || op.color != 100 || op.foreground)
            return ::testing::AssertionFailure() << "operation " << i << ": expected " << kind << " (" << x1 << ","
                                                 << y1 << ")-(" << x2 << "," << y2 << "), got " << gfx::dump(op);
    }
    if (whole && i != ops.size()) return ::testing::AssertionFailure() << ops.size() << " operations, expected " << i;
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult draws(const std::vector<gfx::DrawOp>& ops, const std::string& expected) {
    return drawsAt(ops, 0, expected, true);
}

}  // namespace viewdata
