#pragma once
// Controls of a window. Every control is a member of its window class, named
// as the window's design names it (Command1, Text3, List1, dlgCMDialog,
// mnuFiles ...). Its state lives here, in the core; a backend mirrors it.
// The window's design() creates each control at every load with its position
// (twips, relative to its container) and caption; a control that the design
// did not create is not on the window.
//
// Event handlers are plain callables that the window wires in its
// constructor or design(), e.g.  Command1.onClick = [this] { Command1_Click(); };
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/display_list.h"
#include "platform/gfx/types.h"

namespace ui {

class Form;
class Frame;

using gfx::Color;
using gfx::Twips;

enum class ControlKind {
    CommandButton, TextBox, Label, ListBox, ComboBox, Frame, Image, Shape, Line, Grid,
    CommonDialog, Menu,
};

// What changed, as told to the window's peer.
enum class Property {
    Created, Geometry, Visible, Enabled, Caption, Text, Selection, BackColor, ForeColor, Font,
    Picture, Items, ListIndex, Border, GridLayout, GridCells, Container, Menus,
    // Of the window itself (told with no control):
    Drawing, Focus,
};

// Key codes of KeyDown and character codes of KeyPress used by the windows.
inline constexpr int kKeyBack = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyReturn = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyDown = 40;
// Shift state bit of KeyDown.
inline constexpr int kShiftMask = 1;

class Control {
public:
    Control(Form& form, std::string name, ControlKind kind);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    Form& form() const { return *form_; }
    // Created by the design of the current (or last) load.
    bool created() const { return created_; }
    // Creation order on the window (also the default tab order).
    int creationIndex() const { return creationIndex_; }

    Twips left() const { return left_; }
    Twips top() const { return top_; }
    Twips width() const { return width_; }
    Twips height() const { return height_; }
    void move(Twips left, Twips top, Twips width, Twips height);
    void setLeft(Twips v) { move(v, top_, width_, height_); }
    void setTop(Twips v) { move(left_, v, width_, height_); }
    void setWidth(Twips v) { move(left_, top_, v, height_); }
    void setHeight(Twips v) { move(left_, top_, width_, v); }

    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);

    // The frame this control sits in (positions are relative to it), or null.
    Frame* container() const { return container_; }
    Control& setContainer(Frame& frame);

    // Keyboard focus (buttons, text boxes, lists, combo boxes, grids).
    bool canFocus() const;
    int tabIndex() const { return tabIndex_; }
    void setTabIndex(int index);
    bool tabStop() const { return tabStop_; }
    void setTabStop(bool v) { tabStop_ = v; }
    bool hasFocus() const;
    // Moves the focus here; the control that loses it runs LostFocus first,
    // which may put the focus back and so cancel the move. Asked during the
    // window's load, it names the control that gets the focus when shown.
    void setFocus();
    // Off for a control the user must reach whatever the control being left
    // holds (a Cancel button): moving the focus there holds back the LostFocus
    // of the control being left. That LostFocus runs when the focus moves on
    // to a control that causes validation (in place of the LostFocus of the
    // control then left), and not at all when the focus comes back to it or
    // when that control can no longer take the focus (hidden, disabled).
    bool causesValidation() const { return causesValidation_; }
    void setCausesValidation(bool v) { causesValidation_ = v; }

    // Shows the window and this control as they are now, even while a long
    // command holds the GUI thread.
    void refresh();

    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;
    // Key code and shift state; setting the key code to 0 swallows the key.
    std::function<void(int& keyCode, int shift)> onKeyDown;
    // Character code; setting it to 0 swallows the character.
    std::function<void(int& keyAscii)> onKeyPress;

protected:
    // Back to the state before design: called at every load and unload.
    virtual void reset();
    void place(Twips left, Twips top, Twips width, Twips height);
    void changed(Property what);
    bool focusable_ = false;

private:
    friend class Form;
    Form* form_;
    std::string name_;
    ControlKind kind_;
    bool created_ = false;
    int creationIndex_ = -1;
    Twips left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool tabStop_ = true;
    bool causesValidation_ = true;
    int tabIndex_ = 0;
    Frame* container_ = nullptr;
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name);
    CommandButton& create(Twips left, Twips top, Twips width, Twips height, std::string caption);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    Color backColor() const { return backColor_; }
    void setBackColor(Color c);
    const gfx::Picture& picture() const { return picture_; }
    void setPicture(gfx::Picture picture);

protected:
    void reset() override;

private:
    std::string caption_;
    Color backColor_ = gfx::rgb(212, 208, 200);
    gfx::Picture picture_;
};

class TextBox : public Control {
public:
    TextBox(Form& form, std::string name);
    TextBox& create(Twips left, Twips top, Twips width, Twips height, std::string text = {});

    const std::string& text() const { return text_; }
    // Sets the text; the selection goes to the start.
    void setText(std::string text);
    int selStart() const { return selStart_; }
    int selLength() const { return selLength_; }
    // Clamped to the text.
    void setSelStart(int start);
    void setSelLength(int length);
    std::string selText() const;
    // Replaces the selection with the given text, as typing does.
    void replaceSelection(const std::string& text);

protected:
    void reset() override;

private:
    std::string text_;
    int selStart_ = 0;
    int selLength_ = 0;
};

class Label : public Control {
public:
    Label(Form& form, std::string name);
    Label& create(Twips left, Twips top, Twips width, Twips height, std::string caption);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    Color backColor() const { return backColor_; }
    void setBackColor(Color c);
    // A transparent label shows the window behind it; setting a back colour
    // makes it opaque.
    bool transparent() const { return transparent_; }
    void setTransparent(bool v);
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c);
    const std::string& fontName() const { return fontName_; }
    float fontSize() const { return fontSize_; }
    bool fontBold() const { return fontBold_; }
    void setFont(std::string name, float size, bool bold = false);

protected:
    void reset() override;

private:
    std::string caption_;
    Color backColor_ = gfx::rgb(212, 208, 200);
    bool transparent_ = false;
    Color foreColor_ = gfx::kBlack;
    std::string fontName_ = "MS Sans Serif";
    float fontSize_ = 8.25f;
    bool fontBold_ = false;
};

// A list of items; the list index is -1 when nothing is selected.
class ListBox : public Control {
public:
    ListBox(Form& form, std::string name);
    ListBox& create(Twips left, Twips top, Twips width, Twips height);

    void clear();
    void addItem(std::string item);
    int listCount() const { return static_cast<int>(items_.size()); }
    // The item text; empty for an index outside the list.
    std::string list(int index) const;
    const std::vector<std::string>& items() const { return items_; }
    int listIndex() const { return listIndex_; }
    // Selects item i (-1: none) and runs Click when the selection changes;
    // an index outside -1 .. count - 1 is an error.
    void setListIndex(int index);
    // The selected item's text, or empty.
    std::string text() const;
    // The user selected item i: Click runs even when it was selected before.
    void userSelect(int index);

protected:
    void reset() override;

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

// An editable text over a drop-down list.
class ComboBox : public Control {
public:
    ComboBox(Form& form, std::string name);
    ComboBox& create(Twips left, Twips top, Twips width, Twips height, std::string text = {});

    // Empties the list and the text.
    void clear();
    void addItem(std::string item);
    int listCount() const { return static_cast<int>(items_.size()); }
    std::string list(int index) const;
    const std::vector<std::string>& items() const { return items_; }
    int listIndex() const { return listIndex_; }
    // Selects item i (-1: none), shows its text, runs Click when the
    // selection changes; an index outside -1 .. count - 1 is an error.
    void setListIndex(int index);
    const std::string& text() const { return text_; }
    // Sets the text; when it equals an item's text exactly that item becomes
    // the selected one, otherwise none is.
    void setText(std::string text);
    // The user picked item i from the list: Click runs even when it was
    // selected before.
    void userSelect(int index);

protected:
    void reset() override;

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
    std::string text_;
};

class Frame : public Control {
public:
    Frame(Form& form, std::string name);
    Frame& create(Twips left, Twips top, Twips width, Twips height, std::string caption);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

protected:
    void reset() override;

private:
    std::string caption_;
};

class Image : public Control {
public:
    Image(Form& form, std::string name);
    Image& create(Twips left, Twips top, Twips width, Twips height, gfx::Picture picture = {});

    const gfx::Picture& picture() const { return picture_; }
    void setPicture(gfx::Picture picture);
    // The picture is stretched to the control (otherwise shown at its size).
    bool stretch() const { return stretch_; }
    void setStretch(bool v);

protected:
    void reset() override;

private:
    gfx::Picture picture_;
    bool stretch_ = false;
};

// A static rectangle or oval.
class Shape : public Control {
public:
    enum class Kind { Rectangle, Oval };
    Shape(Form& form, std::string name);
    Shape& create(Twips left, Twips top, Twips width, Twips height);

    Kind shape() const { return shape_; }
    void setShape(Kind s);
    Color borderColor() const { return borderColor_; }
    void setBorderColor(Color c);
    float borderWidth() const { return borderWidth_; }
    void setBorderWidth(float pixels);
    // Filled with the fill colour, or transparent.
    bool filled() const { return filled_; }
    Color fillColor() const { return fillColor_; }
    void setFill(bool filled, Color color = gfx::kBlack);

protected:
    void reset() override;

private:
    Kind shape_ = Kind::Rectangle;
    Color borderColor_ = gfx::kBlack;
    float borderWidth_ = 1;
    bool filled_ = false;
    Color fillColor_ = gfx::kBlack;
};

// A static line between two points of the window (or its frame).
class LineControl : public Control {
public:
    LineControl(Form& form, std::string name);
    LineControl& create(Twips x1, Twips y1, Twips x2, Twips y2);

    Twips x1() const { return x1_; }
    Twips y1() const { return y1_; }
    Twips x2() const { return x2_; }
    Twips y2() const { return y2_; }
    void setPoints(Twips x1, Twips y1, Twips x2, Twips y2);
    Color borderColor() const { return borderColor_; }
    void setBorderColor(Color c);
    float borderWidth() const { return borderWidth_; }
    void setBorderWidth(float pixels);

protected:
    void reset() override;

private:
    Twips x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Color borderColor_ = gfx::kBlack;
    float borderWidth_ = 1;
};

// A grid of text cells with heading rows and columns at the top and left.
// A row count below 1, a column count below 1, more fixed rows or columns
// than the counts, and a cell or column outside the grid are errors (a grid
// of one row may have that row fixed: a listing with its heading row only).
class Grid : public Control {
public:
    Grid(Form& form, std::string name);
    Grid& create(Twips left, Twips top, Twips width, Twips height, int rows = 2, int cols = 2);

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // Changing the counts keeps the cells that stay inside.
    void setRows(int rows);
    void setCols(int cols);
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    void setFixedRows(int n);
    void setFixedCols(int n);
    // Column width in twips; -1 is the default width.
    Twips colWidth(int col) const;
    void setColWidth(int col, Twips width);
    const std::string& textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, std::string text);

protected:
    void reset() override;

private:
    void checkCell(int row, int col) const;
    void resize(int rows, int cols);

    int rows_ = 2, cols_ = 2, fixedRows_ = 1, fixedCols_ = 1;
    std::vector<Twips> colWidths_;
    std::vector<std::string> cells_;  // row-major
};

// The common file and printer dialogs, as an invisible control of its
// window. Its settings stay as the last command left them.
class CommonDialog : public Control {
public:
    CommonDialog(Form& form, std::string name);
    CommonDialog& create();

    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string name) { fileName_ = std::move(name); }
    // Pairs of description and pattern separated by "|".
    const std::string& filter() const { return filter_; }
    void setFilter(std::string filter) { filter_ = std::move(filter); }
    const std::string& initDir() const { return initDir_; }
    void setInitDir(std::string dir) { initDir_ = std::move(dir); }
    const std::string& dialogTitle() const { return dialogTitle_; }
    void setDialogTitle(std::string title) { dialogTitle_ = std::move(title); }
    bool cancelError() const { return cancelError_; }
    void setCancelError(bool on) { cancelError_ = on; }
    // What every command sets before it shows the dialog: the name (or
    // pattern) it opens with, the initial directory and the filter.
    void preset(std::string name, std::string dir, std::string filter) {
        fileName_ = std::move(name);
        initDir_ = std::move(dir);
        filter_ = std::move(filter);
    }

    // The open dialog: a confirmed choice becomes the file name (full path;
    // the name need not exist). Cancel leaves the file name as it was, and
    // raises rt::kCancelError while the cancel-error switch is on.
    void showOpen();
    // The save dialog, the same way. A name typed without an extension gets
    // the extension of the filter shown when that filter names exactly one
    // ("*.srw"). Choosing an existing file asks whether to replace it, under
    // the name as it will be written; No counts as Cancel.
    void showSave();
    // The printer setup dialog; the choice applies to every later printout.
    void showPrinter();

protected:
    void reset() override;

private:
    void showFile(bool save);

    std::string fileName_;
    std::string filter_;
    std::string initDir_;
    std::string dialogTitle_;
    bool cancelError_ = false;
};

// A menu of the window's menu bar, a command of a menu, a submenu or a
// separator (caption "-"). The Click of a menu that has items runs when it
// opens, before it drops down.
class MenuItem : public Control {
public:
    MenuItem(Form& form, std::string name);
    // A menu of the menu bar.
    MenuItem& create(std::string caption, bool enabled = true);
    // An item of the given menu (in order of creation).
    MenuItem& create(MenuItem& parent, std::string caption, bool enabled = true);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool separator() const { return caption_ == "-"; }
    MenuItem* parent() const { return parent_; }
    const std::vector<MenuItem*>& children() const { return children_; }

protected:
    void reset() override;

private:
    std::string caption_;
    MenuItem* parent_ = nullptr;
    std::vector<MenuItem*> children_;
};

}  // namespace ui
