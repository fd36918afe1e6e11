#include "platform/headless/headless.h"

#include "platform/ui/input.h"

namespace headless {

namespace {

const char* kindName(ui::ControlKind k) {
    switch (k) {
    case ui::ControlKind::CommandButton: return "button";
    case ui::ControlKind::TextBox: return "text box";
    case ui::ControlKind::Label: return "label";
    case ui::ControlKind::ListBox: return "list";
    case ui::ControlKind::ComboBox: return "combo box";
    case ui::ControlKind::Frame: return "frame";
    case ui::ControlKind::Image: return "image";
    case ui::ControlKind::Shape: return "shape";
    case ui::ControlKind::Line: return "line";
    case ui::ControlKind::Grid: return "grid";
    case ui::ControlKind::CommonDialog: return "dialog";
    case ui::ControlKind::Menu: return "menu";
    }
    return "control";
}

std::string where(const ui::Control& c) {
    return std::string(kindName(c.kind())) + " " + c.form().className() + "." + c.name();
}

}  // namespace

void Driver::checkUsable(const ui::Control& c, const char* action) const {
    std::string problem;
    if (!c.form().isLoaded())
        problem = "its window is not loaded";
    else if (!c.created())
        problem = "it is not on the window";
    else if (!c.form().isVisible())
        problem = "its window is not shown";
    else if (!c.visible())
        problem = "it is hidden";
    else if (!c.enabled())
        problem = "it is disabled";
    for (const ui::Control* p = c.container(); problem.empty() && p; p = p->container())
        if (!p->visible() || !p->enabled()) problem = "its frame is hidden or disabled";
    if (!problem.empty()) throw ScriptError(std::string("cannot ") + action + " " + where(c) + ": " + problem);
}

void Driver::openMenu(ui::Form& form, const std::string& name) {
    ui::MenuItem* menu = form.menu(name);
    if (!menu) throw ScriptError("no menu " + form.className() + "." + name);
    if (!form.isVisible()) throw ScriptError("cannot open menu " + name + ": its window is not shown");
    std::vector<ui::MenuItem*> chain;
    for (ui::MenuItem* m = menu; m; m = m->parent()) chain.insert(chain.begin(), m);
    for (ui::MenuItem* m : chain) {
        if (!m->enabled() || !m->visible()) throw ScriptError("cannot open menu " + name + ": " + m->name() + " is disabled");
        ui::input::openMenu(*m);
    }
}

void Driver::chooseMenu(ui::Form& form, const std::string& name) {
    ui::MenuItem* item = form.menu(name);
    if (!item) throw ScriptError("no menu item " + form.className() + "." + name);
    if (!item->children().empty()) throw ScriptError("menu item " + name + " opens a submenu");
    if (item->separator()) throw ScriptError("menu item " + name + " is a separator");
    if (item->parent()) openMenu(form, item->parent()->name());
    if (!form.isLoaded()) return;
    if (!item->enabled() || !item->visible()) throw ScriptError("cannot choose menu item " + name + ": it is disabled");
    ui::input::chooseMenu(*item);
}

void Driver::click(ui::Control& control) {
    checkUsable(control, "click");
    ui::input::click(control);
}

void Driver::selectItem(ui::ListBox& list, int index) {
    checkUsable(list, "select in");
    if (index < 0 || index >= list.listCount())
        throw ScriptError(where(list) + " has no item " + std::to_string(index));
    ui::input::selectItem(list, index);
}

void Driver::selectItem(ui::ListBox& list, const std::string& text) {
    for (int i = 0; i < list.listCount(); ++i) {
        if (list.list(i) == text) {
            selectItem(list, i);
            return;
        }
    }
    throw ScriptError(where(list) + " has no item \"" + text + "\"");
}

void Driver::doubleClickItem(ui::ListBox& list, int index) {
    checkUsable(list, "double-click in");
    if (index < 0 || index >= list.listCount())
        throw ScriptError(where(list) + " has no item " + std::to_string(index));
    ui::input::doubleClickItem(list, index);
}

void Driver::pickItem(ui::ComboBox& combo, int index) {
    checkUsable(combo, "pick in");
    if (index < 0 || index >= combo.listCount())
        throw ScriptError(where(combo) + " has no item " + std::to_string(index));
    ui::input::pickItem(combo, index);
}

void Driver::pickItem(ui::ComboBox& combo, const std::string& text) {
    for (int i = 0; i < combo.listCount(); ++i) {
        if (combo.list(i) == text) {
            pickItem(combo, i);
            return;
        }
    }
    throw ScriptError(where(combo) + " has no item \"" + text + "\"");
}

void Driver::typeText(ui::TextBox& box, const std::string& text) {
    checkUsable(box, "type into");
    if (!ui::input::focus(box)) return;
    for (char c : text) {
        if (!box.hasFocus()) break;
        ui::input::typeChar(box, c);
    }
}

void Driver::typeText(ui::ComboBox& combo, const std::string& text) {
    checkUsable(combo, "type into");
    if (!ui::input::focus(combo)) return;
    for (char c : text) {
        if (!combo.hasFocus()) break;
        ui::input::typeChar(combo, c);
    }
}

void Driver::replaceText(ui::TextBox& box, const std::string& text) {
    checkUsable(box, "type into");
    if (!ui::input::focus(box)) return;
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.text().size()));
    for (char c : text) {
        if (!box.hasFocus()) break;
        ui::input::typeChar(box, c);
    }
}

bool Driver::setFocus(ui::Control& control) {
    checkUsable(control, "focus");
    if (!control.canFocus()) throw ScriptError(where(control) + " cannot take the focus");
    return ui::input::focus(control);
}

void Driver::tab(ui::Form& form) { ui::input::tab(form, false); }
void Driver::shiftTab(ui::Form& form) { ui::input::tab(form, true); }

void Driver::pressKey(ui::Control& control, int keyCode, int shift) {
    checkUsable(control, "press a key on");
    ui::input::key(control, keyCode, shift);
}

void Driver::pressKey(ui::Form& form, int keyCode, int shift) {
    if (!form.isLoaded() || !form.isVisible()) throw ScriptError("cannot press a key in " + form.className() + ": not shown");
    if (ui::Control* c = form.activeControl()) {
        ui::input::key(*c, keyCode, shift);
    } else if (keyCode == ui::kKeyTab) {
        ui::input::tab(form, (shift & ui::kShiftMask) != 0);
    } else {
        int ascii = keyCode;
        if (keyCode >= 'A' && keyCode <= 'Z' && !(shift & ui::kShiftMask)) ascii = keyCode + ('a' - 'A');
        ui::input::formKey(form, ascii);
    }
}

void Driver::clickForm(ui::Form& form) {
    if (!form.isLoaded() || !form.isVisible()) throw ScriptError("cannot click " + form.className() + ": not shown");
    ui::input::formClick(form);
}

void Driver::closeBox(ui::Form& form) {
    if (!form.isLoaded()) throw ScriptError("cannot close " + form.className() + ": not loaded");
    ui::input::closeBox(form);
}

void Driver::resize(ui::Form& form, gfx::Twips width, gfx::Twips height) {
    if (!form.isLoaded() || !form.isVisible()) throw ScriptError("cannot resize " + form.className() + ": not shown");
    ui::input::resize(form, width, height);
}

void Driver::activate(ui::Form& form) {
    if (!form.isLoaded() || !form.isVisible())
        throw ScriptError("cannot activate " + form.className() + ": not shown");
    ui::input::activate(form);
}

std::string Driver::dump(const ui::Form& form) { return gfx::dump(form.displayList()); }

std::string Driver::dump(const ui::PrintJob& job) {
    std::string out;
    for (std::size_t i = 0; i < job.pages.size(); ++i) {
        out += "page " + std::to_string(i + 1) + "\n";
        out += gfx::dump(job.pages[i]);
    }
    return out;
}

// ---- Session ---------------------------------------------------------------

Session::Session() : script(backend.script()), driver(backend) {
    ui::app().reset();
    ui::app().setBackend(&backend);
    backend.setDriver(&driver);
    ui::app().setUnhandledErrorHook([](const rt::Error& e) { throw UnhandledError(e); });
}

Session::~Session() {
    ui::app().reset();
    ui::app().setBackend(nullptr);
}

void Session::recordUnhandledErrors() {
    ui::app().setUnhandledErrorHook([this](const rt::Error& e) { unhandled_.push_back(e); });
}

void Session::expectScriptDone() const {
    if (!script.done()) throw ScriptError("scripted answers not used:\n" + script.describeRemaining());
}

}  // namespace headless
