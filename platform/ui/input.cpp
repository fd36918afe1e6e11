#include "platform/ui/input.h"

#include <cctype>

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

// KeyDown, then KeyPress for a character; the character is applied unless
// a handler swallowed it.
bool keyNow(Control& c, int keyCode, int shift, int character) {
    if (!usable(c)) return false;
    if (keyCode == kKeyTab) {
        c.form().tabFocus((shift & kShiftMask) != 0);
        return true;
    }
    int code = keyCode;
    if (c.onKeyDown) c.onKeyDown(code, shift);
    if (code == 0) return false;
    if (character == 0) return true;
    if (!usable(c)) return false;
    int ascii = character;
    if (c.onKeyPress) c.onKeyPress(ascii);
    if (ascii == 0) return false;
    if (usable(c)) applyCharacter(c, ascii);
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
        unsigned char u = static_cast<unsigned char>(c);
        int shift = std::isupper(u) ? kShiftMask : 0;
        int keyCode = std::isalpha(u) ? std::toupper(u) : u;
        keyNow(control, keyCode, shift, u);
    });
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
    app().dispatch([&] { app().activate(form); });
}

}  // namespace ui::input
