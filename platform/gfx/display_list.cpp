#include "platform/gfx/display_list.h"

#include <charconv>

namespace gfx {
namespace {

std::string num(float v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string point(float x, float y) {
    std::string s(1, '(');
    s += num(x);
    s += ',';
    s += num(y);
    s += ')';
    return s;
}

std::string colour(const DrawOp& op) {
    return (op.foreground ? "fore=" : "color=") + std::to_string(op.color);
}

}  // namespace

std::string dump(const DrawOp& op) {
    switch (op.kind) {
    case OpKind::Segment:
    case OpKind::Box:
    case OpKind::FilledBox: {
        const char* name = op.kind == OpKind::Segment ? "segment" : op.kind == OpKind::Box ? "box" : "fill";
        return std::string(name) + " " + point(op.x1, op.y1) + "-" + point(op.x2, op.y2) + " " + colour(op) +
               " width=" + num(op.lineWidth);
    }
    case OpKind::Text:
        return "text " + point(op.x1, op.y1) + " size=" + num(op.fontSize) + " " + colour(op) + " \"" + op.text +
               "\"";
    }
    return {};
}

std::string dump(const DisplayList& list) {
    std::string out;
    for (const DrawOp& op : list) {
        out += dump(op);
        out += '\n';
    }
    return out;
}

}  // namespace gfx
