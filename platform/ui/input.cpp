#include "platform/ui/input.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ui/application.h"

namespace ui::input {

namespace {

bool usable(const Control& c) {
    if (!c.form().isLoaded() || !c.created() || !c.visible() || !c.enabled()) return false;
    for (const Control* p = c.container(); p; p = p->container())
        if (!p->visible() || !p->enabled()) return false;
    return true;
}

bool menuUsable(const MenuItem& m) {
    if (!m.form().isLoaded() || !m.created()) return false;
    for (const MenuItem* p = &m; p; p = p->parent())
        if (!p->enabled() || !p->visible()) return false;
    return true;
}

// Input to a window that is not the active one activates it first.
void bringForward(Form& f) {
    if (f.isVisible() && app().activeForm() != &f) app().activate(f);
}

// Moves the focus to the control the user acts on; false when the control
// losing the focus put it back.
bool focusFor(Control& c) {
    bringForward(c.form());
    if (!usable(c)) return false;
    if (!c.canFocus()) return true;
    return c.form().moveFocus(&c);
}

// The key a typed character comes from on the usual keyboard layout: its
// KeyDown key code and whether Shift is held. A character no key of the
// layout types gives key code 0 (no KeyDown). Punctuation never takes the
// codes of the arrow and editing keys ("(" is Shift+9, not 40, the Down key).
struct KeyOfChar {
    int keyCode = 0;
    int shift = 0;
};

KeyOfChar keyOfChar(unsigned char c) {
    if (c >= 'a' && c <= 'z') return {c - 'a' + 'A', 0};
    if (c >= 'A' && c <= 'Z') return {c, kShiftMask};
    if (c >= '0' && c <= '9') return {c, 0};
    if (c == ' ' || c == kKeyBack || c == kKeyReturn || c == kKeyEscape) return {c, 0};
    static constexpr struct {
        char ch;
        int keyCode;
        bool shifted;
    } kPunctuation[] = {
        {')', '0', true},  {'!', '1', true},  {'@', '2', true},  {'#', '3', true},  {'$', '4', true},
        {'%', '5', true},  {'^', '6', true},  {'&', '7', true},  {'*', '8', true},  {'(', '9', true},
        {';', 186, false}, {':', 186, true},  {'=', 187, false}, {'+', 187, true},  {',', 188, false},
        {'<', 188, true},  {'-', 189, false}, {'_', 189, true},  {'.', 190, false}, {'>', 190, true},
        {'/', 191, false}, {'?', 191, true},  {'`', 192, false}, {'~', 192, true},  {'[', 219, false},
        {'{', 219, true},  {'\\', 220, false}, {'|', 220, true}, {']', 221, false}, {'}', 221, true},
        {'\'', 222, false}, {'"', 222, true},
    };
    for (const auto& p : kPunctuation)
        if (static_cast<unsigned char>(p.ch) == c) return {p.keyCode, p.shifted ? kShiftMask : 0};
    return {};
}

// The character a key produces, or 0.
int characterOf(int keyCode, int shift) {
    if (keyCode == kKeyBack || keyCode == kKeyReturn || keyCode == kKeyEscape || keyCode == ' ') return keyCode;
    if (keyCode >= '0' && keyCode <= '9') return keyCode;
    if (keyCode >= 'A' && keyCode <= 'Z') return (shift & kShiftMask) ? keyCode : keyCode + ('a' - 'A');
    return 0;
}

// Applies a typed character to an editable control.
void applyCharacter(Control& c, int ch) {
    if (c.kind() == ControlKind::TextBox) {
        auto& box = static_cast<TextBox&>(c);
        if (ch == kKeyBack) {
            if (box.selLength() == 0 && box.selStart() > 0) {
                int start = box.selStart() - 1;
                box.setSelStart(start);
                box.setSelLength(1);
            }
            box.replaceSelection({});
        } else if (ch >= 32 && ch < 256) {
            box.replaceSelection(std::string(1, static_cast<char>(ch)));
        }
    } else if (c.kind() == ControlKind::ComboBox) {
        auto& combo = static_cast<ComboBox&>(c);
        std::string text = combo.text();
        if (ch == kKeyBack) {
            if (!text.empty()) text.pop_back();
        } else if (ch >= 32 && ch < 256) {
            text += static_cast<char>(ch);
        } else {
            return;
        }
        combo.setText(text);
    }
}

// Key codes of the keys that move in a list or a text.
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyEnd = 35;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;
constexpr int kKeyDelete = 46;

// What a key that types no character does to the control with the focus:
// the arrow, page and end keys move the selection of a list (and the
// arrows that of a combo box's list), running Click like a choice of the
// user; the caret keys and Delete move and edit in a text box.
void applyKey(Control& c, int keyCode, int shift) {
    if (c.kind() == ControlKind::ListBox || c.kind() == ControlKind::ComboBox) {
        const bool list = c.kind() == ControlKind::ListBox;
        const int n = list ? static_cast<ListBox&>(c).listCount() : static_cast<ComboBox&>(c).listCount();
        const int index = list ? static_cast<ListBox&>(c).listIndex() : static_cast<ComboBox&>(c).listIndex();
        int next = index;
        switch (keyCode) {
        case kKeyUp: next = index < 0 ? 0 : index - 1; break;
        case kKeyDown: next = index + 1; break;
        case kKeyPageUp: next = list ? index - 10 : index; break;
        case kKeyPageDown: next = list ? index + 10 : index; break;
        case kKeyHome: next = list ? 0 : index; break;
        case kKeyEnd: next = list ? n - 1 : index; break;
        default: return;
        }
        if (n <= 0) return;
        next = std::clamp(next, 0, n - 1);
        if (next == index) return;
        if (list)
            static_cast<ListBox&>(c).userSelect(next);
        else
            static_cast<ComboBox&>(c).userSelect(next);
        return;
    }
    if (c.kind() != ControlKind::TextBox) return;
    auto& box = static_cast<TextBox&>(c);
    const int length = static_cast<int>(box.text().size());
    const int start = box.selStart(), end = box.selStart() + box.selLength();
    const bool extend = (shift & kShiftMask) != 0;
    // With Shift the selection grows or shrinks at its end (Home: at its start).
    auto select = [&box](int from, int to) {
        box.setSelStart(std::min(from, to));
        box.setSelLength(std::abs(to - from));
    };
    switch (keyCode) {
    case kKeyLeft: {
        // Without Shift a selection collapses to its start, else the caret steps back.
        const int caret = start < end ? start : std::max(0, start - 1);
        if (extend)
            select(start, std::max(start, end - 1));
        else
            select(caret, caret);
        break;
    }
    case kKeyRight: {
        const int caret = start < end ? end : std::min(length, end + 1);
        if (extend)
            select(start, std::min(length, end + 1));
        else
            select(caret, caret);
        break;
    }
    case kKeyHome:
        if (extend)
            select(0, end);
        else
            select(0, 0);
        break;
    case kKeyEnd:
        if (extend)
            select(start, length);
        else
            select(length, length);
        break;
    case kKeyDelete:
        if (box.selLength() == 0 && start < length) select(start, start + 1);
        box.replaceSelection({});
        break;
    default:
        break;
    }
}

// What the key handlers left of a key: whether it was delivered (no handler
// swallowed it) and the character still to apply (0: none, or the control
// went away after KeyPress).
struct Handled {
    bool delivered = false;
    int character = 0;
};

// KeyDown (for a key with a code), then KeyPress (for a character).
Handled runKeyHandlers(Control& c, int keyCode, int shift, int character) {
    if (keyCode != 0) {
        int code = keyCode;
        if (c.onKeyDown) c.onKeyDown(code, shift);
        if (code == 0 || !usable(c)) return {};
    }
    if (character == 0) return {true, 0};
    int ascii = character;
    if (c.onKeyPress) c.onKeyPress(ascii);
    if (ascii == 0) return {};
    return {true, usable(c) ? ascii : 0};
}

// KeyDown, then KeyPress for a character; the character is applied unless
// a handler swallowed it. A key that types no character does what it does
// to the control (applyKey); Enter and Space on a button click it.
bool keyNow(Control& c, int keyCode, int shift, int character) {
    if (!usable(c)) return false;
    if (keyCode == kKeyTab) {
        c.form().tabFocus((shift & kShiftMask) != 0);
        return true;
    }
    const Handled handled = runKeyHandlers(c, keyCode, shift, character);
    if (!handled.delivered) return false;
    if (character == 0) {
        applyKey(c, keyCode, shift);
        return true;
    }
    const int ascii = handled.character;
    if (ascii == 0) return true;
    if (c.kind() == ControlKind::CommandButton) {
        if ((ascii == kKeyReturn || ascii == ' ') && c.onClick) c.onClick();
        return true;
    }
    applyCharacter(c, ascii);
    return true;
}

}  // namespace

bool focus(Control& target) {
    bool moved = false;
    app().dispatch([&] {
        if (usable(target) && target.canFocus()) moved = focusFor(target);
    });
    return moved;
}

void tab(Form& form, bool backwards) {
    app().dispatch([&] {
        if (form.isLoaded()) form.tabFocus(backwards);
    });
}

void click(Control& control) {
    app().dispatch([&] {
        if (!usable(control)) return;
        if (!focusFor(control)) return;  // validation kept the focus: the click is dropped
        if (!usable(control)) return;
        switch (control.kind()) {
        case ControlKind::CommandButton:
        case ControlKind::Label:
        case ControlKind::Frame:
        case ControlKind::Image:
            if (control.onClick) control.onClick();
            break;
        default:
            break;
        }
    });
}

void selectItem(ListBox& list, int index) {
    app().dispatch([&] {
        if (!usable(list) || !focusFor(list) || !usable(list)) return;
        list.userSelect(index);
    });
}

void doubleClickItem(ListBox& list, int index) {
    app().dispatch([&] {
        if (!usable(list) || !focusFor(list) || !usable(list)) return;
        list.userSelect(index);
        if (usable(list) && list.onDblClick) list.onDblClick();
    });
}

void doubleClickAfterPress(ListBox& list, int index) {
    app().dispatch([&] {
        if (!usable(list) || !focusFor(list) || !usable(list)) return;
        if (list.listIndex() != index) list.userSelect(index);
        if (usable(list) && list.onDblClick) list.onDblClick();
    });
}

void pickItem(ComboBox& combo, int index) {
    app().dispatch([&] {
        if (!usable(combo) || !focusFor(combo) || !usable(combo)) return;
        combo.userSelect(index);
    });
}

void textEdited(TextBox& box, const std::string& text, int selStart, int selLength) {
    if (!usable(box)) return;
    box.setText(text);
    box.setSelStart(selStart);
    box.setSelLength(selLength);
}

void textEdited(ComboBox& combo, const std::string& text) {
    if (!usable(combo)) return;
    combo.setText(text);
}

bool key(Control& control, int keyCode, int shift) {
    bool delivered = false;
    app().dispatch([&] { delivered = keyNow(control, keyCode, shift, characterOf(keyCode, shift)); });
    return delivered;
}

bool keyDown(Control& control, int keyCode, int shift) {
    bool delivered = false;
    app().dispatch([&] {
        if (!usable(control)) return;
        int code = keyCode;
        if (control.onKeyDown) control.onKeyDown(code, shift);
        delivered = code != 0;
    });
    return delivered;
}

int keyPress(Control& control, int keyAscii) {
    int ascii = 0;
    app().dispatch([&] {
        if (!usable(control)) return;
        ascii = keyAscii;
        if (control.onKeyPress) control.onKeyPress(ascii);
    });
    return ascii;
}

void typeChar(Control& control, char c) {
    app().dispatch([&] {
        const auto u = static_cast<unsigned char>(c);
        const KeyOfChar key = keyOfChar(u);
        keyNow(control, key.keyCode, key.shift, u);
    });
}

int typeCharHandlers(Control& control, char c) {
    int typed = 0;
    app().dispatch([&] {
        if (!usable(control)) return;
        const auto u = static_cast<unsigned char>(c);
        const KeyOfChar key = keyOfChar(u);
        typed = runKeyHandlers(control, key.keyCode, key.shift, u).character;
    });
    return typed;
}

void formClick(Form& form) {
    app().dispatch([&] {
        if (!form.isLoaded()) return;
        bringForward(form);
        form.fireClick();
    });
}

void formKey(Form& form, int keyAscii) {
    app().dispatch([&] {
        if (!form.isLoaded()) return;
        int ascii = keyAscii;
        form.fireKeyPress(ascii);
    });
}

void openMenu(MenuItem& menu) {
    app().dispatch([&] {
        if (menuUsable(menu) && menu.onClick) menu.onClick();
    });
}

void chooseMenu(MenuItem& item) {
    app().dispatch([&] {
        if (menuUsable(item) && !item.separator() && item.onClick) item.onClick();
    });
}

void closeBox(Form& form) {
    app().dispatch([&] { form.unload(); });
}

void resize(Form& form, gfx::Twips width, gfx::Twips height) {
    app().dispatch([&] { form.userResize(width, height); });
}

void activate(Form& form) {
    app().dispatch([&] {
        // A window behind a running modal window is not activated: the
        // modal window keeps the user's attention until it closes.
        if (Form* modal = app().modalForm(); modal && modal != &form) return;
        app().activate(form);
    });
}

}  // namespace ui::input
