#pragma once
// What the user does, as a backend (or the test driver) reports it. Each call
// runs as one event through Application::dispatch, with the core's rules:
// a click on a focusable control first moves the focus there, and when the
// control losing the focus puts it back (LostFocus validation) the click is
// dropped; menu commands run only when enabled; a menu with items runs its
// Click when it opens.
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace ui::input {

// Focus moved by the user (mouse or Tab). False when the move was cancelled.
bool focus(Control& target);
// Tab or Shift+Tab in the window.
void tab(Form& form, bool backwards);

// A click on a button, label, frame, image or shape.
void click(Control& control);
// Selecting and double-clicking a list item.
void selectItem(ListBox& list, int index);
void doubleClickItem(ListBox& list, int index);
// The second press of a double-click whose first press was reported as
// selectItem: only the double-click (and a selection, should it differ).
void doubleClickAfterPress(ListBox& list, int index);
// Picking an item of a combo box's list.
void pickItem(ComboBox& combo, int index);
// The user's edit of a text (text box or combo box), mirrored without events.
void textEdited(TextBox& box, const std::string& text, int selStart, int selLength);
void textEdited(ComboBox& combo, const std::string& text);

// A key on the control with the focus: KeyDown, then KeyPress for the
// character keys (Enter, Escape, Backspace and printable characters). Tab
// and Shift+Tab move the focus. The arrow, page and end keys move the
// selection of a list (the arrows that of a combo box) with a Click; the
// caret keys and Delete move and edit in a text box; Enter and Space click
// a button. Returns false when a handler swallowed it.
bool key(Control& control, int keyCode, int shift = 0);
// For a backend whose widgets edit their own text: only the handlers.
// KeyDown returns false when the handler swallowed the key; KeyPress returns
// the character to insert (0: swallowed). The backend then reports the
// widget's new text with textEdited. Tab is not handled here.
bool keyDown(Control& control, int keyCode, int shift = 0);
int keyPress(Control& control, int keyAscii);
// A typed character: KeyDown with the code of the key that types it (a
// letter's capital, a digit, or the punctuation key, with Shift as typed)
// and KeyPress, then (text and combo boxes) the character replaces the
// selection.
void typeChar(Control& control, char c);
// For a backend whose widgets edit their own text (so that their selection
// and undo history hold): a typed character's KeyDown and KeyPress as
// typeChar runs them, in one event, without the edit. Returns the character
// the widget then types (0: swallowed, or the control went away); the
// backend reports the widget's new text with textEdited.
int typeCharHandlers(Control& control, char c);
// A click on the window's own surface, and a key with no control focused.
void formClick(Form& form);
void formKey(Form& form, int keyAscii);

// Opening a menu of the menu bar (or a submenu): runs its Click.
void openMenu(MenuItem& menu);
// Choosing a command: runs its Click.
void chooseMenu(MenuItem& item);

void closeBox(Form& form);
void resize(Form& form, gfx::Twips width, gfx::Twips height);
void activate(Form& form);

}  // namespace ui::input
