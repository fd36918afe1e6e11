#include "platform/ui/controls.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/io/files.h"
#include "platform/rt/error.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/printer.h"

namespace ui {

// ---- Control ---------------------------------------------------------------

Control::Control(Form& form, std::string name, ControlKind kind)
    : form_(&form), name_(std::move(name)), kind_(kind) {
    form_->registerControl(this);
}

Control::~Control() { form_->unregisterControl(this); }

void Control::reset() {
    created_ = false;
    creationIndex_ = -1;
    left_ = top_ = width_ = height_ = 0;
    visible_ = true;
    enabled_ = true;
    tabStop_ = true;
    causesValidation_ = true;
    tabIndex_ = 0;
    container_ = nullptr;
}

void Control::place(Twips left, Twips top, Twips width, Twips height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    form_->controlCreated(this);
}

void Control::changed(Property what) { form_->changed(this, what); }

void Control::move(Twips left, Twips top, Twips width, Twips height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed(Property::Geometry);
}

void Control::setVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    changed(Property::Visible);
}

void Control::setEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    changed(Property::Enabled);
}

Control& Control::setContainer(Frame& frame) {
    container_ = &frame;
    changed(Property::Container);
    return *this;
}

bool Control::canFocus() const {
    if (!focusable_ || !created_ || !visible_ || !enabled_) return false;
    for (const Control* c = container_; c; c = c->container_) {
        if (!c->visible_ || !c->enabled_) return false;
    }
    return true;
}

void Control::setTabIndex(int index) { tabIndex_ = std::max(0, index); }

bool Control::hasFocus() const { return form_->activeControl() == this; }

void Control::setFocus() {
    if (!form_->isLoaded() || !canFocus()) rt::raise(rt::kInvalidCall, "cannot move the focus to " + name_);
    if (form_->state_ == Form::State::Loading || !form_->isVisible()) {
        // The window is not on screen yet: this control gets the focus when
        // it is shown.
        form_->initialFocus_ = this;
        return;
    }
    form_->moveFocus(this);
}

void Control::refresh() { form_->refresh(); }

// ---- CommandButton ---------------------------------------------------------

CommandButton::CommandButton(Form& form, std::string name) : Control(form, std::move(name), ControlKind::CommandButton) {
    focusable_ = true;
}

CommandButton& CommandButton::create(Twips left, Twips top, Twips width, Twips height, std::string caption) {
    caption_ = std::move(caption);
    place(left, top, width, height);
    return *this;
}

void CommandButton::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed(Property::Caption);
}
void CommandButton::setBackColor(Color c) {
    backColor_ = c;
    changed(Property::BackColor);
}
void CommandButton::setPicture(gfx::Picture picture) {
    picture_ = std::move(picture);
    changed(Property::Picture);
}
void CommandButton::reset() {
    Control::reset();
    caption_.clear();
    backColor_ = gfx::rgb(212, 208, 200);
    picture_ = {};
}

// ---- TextBox ---------------------------------------------------------------

TextBox::TextBox(Form& form, std::string name) : Control(form, std::move(name), ControlKind::TextBox) {
    focusable_ = true;
}

TextBox& TextBox::create(Twips left, Twips top, Twips width, Twips height, std::string text) {
    text_ = std::move(text);
    selStart_ = selLength_ = 0;
    place(left, top, width, height);
    return *this;
}

void TextBox::setText(std::string text) {
    text_ = std::move(text);
    selStart_ = 0;
    selLength_ = 0;
    changed(Property::Text);
}

void TextBox::setSelStart(int start) {
    selStart_ = std::clamp(start, 0, static_cast<int>(text_.size()));
    selLength_ = 0;
    changed(Property::Selection);
}

void TextBox::setSelLength(int length) {
    selLength_ = std::clamp(length, 0, static_cast<int>(text_.size()) - selStart_);
    changed(Property::Selection);
}

std::string TextBox::selText() const { return text_.substr(selStart_, selLength_); }

void TextBox::replaceSelection(const std::string& text) {
    text_.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_), text);
    selStart_ += static_cast<int>(text.size());
    selLength_ = 0;
    changed(Property::Text);
}

void TextBox::reset() {
    Control::reset();
    text_.clear();
    selStart_ = selLength_ = 0;
}

// ---- Label -----------------------------------------------------------------

Label::Label(Form& form, std::string name) : Control(form, std::move(name), ControlKind::Label) {}

Label& Label::create(Twips left, Twips top, Twips width, Twips height, std::string caption) {
    caption_ = std::move(caption);
    place(left, top, width, height);
    return *this;
}

void Label::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed(Property::Caption);
}
void Label::setBackColor(Color c) {
    backColor_ = c;
    transparent_ = false;
    changed(Property::BackColor);
}
void Label::setTransparent(bool v) {
    transparent_ = v;
    changed(Property::BackColor);
}
void Label::setForeColor(Color c) {
    foreColor_ = c;
    changed(Property::ForeColor);
}
void Label::setFont(std::string name, float size, bool bold) {
    fontName_ = std::move(name);
    if (size > 0) fontSize_ = size;
    fontBold_ = bold;
    changed(Property::Font);
}
void Label::reset() {
    Control::reset();
    caption_.clear();
    backColor_ = gfx::rgb(212, 208, 200);
    transparent_ = false;
    foreColor_ = gfx::kBlack;
    fontName_ = "MS Sans Serif";
    fontSize_ = 8.25f;
    fontBold_ = false;
}

// ---- ListBox ---------------------------------------------------------------

ListBox::ListBox(Form& form, std::string name) : Control(form, std::move(name), ControlKind::ListBox) {
    focusable_ = true;
}

ListBox& ListBox::create(Twips left, Twips top, Twips width, Twips height) {
    place(left, top, width, height);
    return *this;
}

void ListBox::clear() {
    items_.clear();
    listIndex_ = -1;
    changed(Property::Items);
}

void ListBox::addItem(std::string item) {
    items_.push_back(std::move(item));
    changed(Property::Items);
}

std::string ListBox::list(int index) const {
    if (index < 0 || index >= listCount()) return {};
    return items_[static_cast<std::size_t>(index)];
}

void ListBox::setListIndex(int index) {
    if (index < -1 || index >= listCount()) rt::raise(rt::kInvalidProperty, name() + ".ListIndex");
    if (index == listIndex_) return;
    listIndex_ = index;
    changed(Property::ListIndex);
    if (onClick) onClick();
}

void ListBox::userSelect(int index) {
    if (index < -1 || index >= listCount()) return;
    listIndex_ = index;
    changed(Property::ListIndex);
    if (onClick) onClick();
}

std::string ListBox::text() const { return list(listIndex_); }

void ListBox::reset() {
    Control::reset();
    items_.clear();
    listIndex_ = -1;
}

// ---- ComboBox --------------------------------------------------------------

ComboBox::ComboBox(Form& form, std::string name) : Control(form, std::move(name), ControlKind::ComboBox) {
    focusable_ = true;
}

ComboBox& ComboBox::create(Twips left, Twips top, Twips width, Twips height, std::string text) {
    text_ = std::move(text);
    place(left, top, width, height);
    return *this;
}

void ComboBox::clear() {
    items_.clear();
    listIndex_ = -1;
    text_.clear();
    changed(Property::Items);
    changed(Property::Text);
}

void ComboBox::addItem(std::string item) {
    items_.push_back(std::move(item));
    changed(Property::Items);
}

std::string ComboBox::list(int index) const {
    if (index < 0 || index >= listCount()) return {};
    return items_[static_cast<std::size_t>(index)];
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= listCount()) rt::raise(rt::kInvalidProperty, name() + ".ListIndex");
    if (index == listIndex_) return;
    listIndex_ = index;
    if (index >= 0) text_ = items_[static_cast<std::size_t>(index)];
    changed(Property::ListIndex);
    changed(Property::Text);
    if (onClick) onClick();
}

void ComboBox::userSelect(int index) {
    if (index < 0 || index >= listCount()) return;
    listIndex_ = index;
    text_ = items_[static_cast<std::size_t>(index)];
    changed(Property::ListIndex);
    changed(Property::Text);
    if (onClick) onClick();
}

void ComboBox::setText(std::string text) {
    text_ = std::move(text);
    auto it = std::find(items_.begin(), items_.end(), text_);
    listIndex_ = it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    changed(Property::Text);
    changed(Property::ListIndex);
}

void ComboBox::reset() {
    Control::reset();
    items_.clear();
    listIndex_ = -1;
    text_.clear();
}

// ---- Frame, Image, Shape, LineControl ---------------------------------------

Frame::Frame(Form& form, std::string name) : Control(form, std::move(name), ControlKind::Frame) {}

Frame& Frame::create(Twips left, Twips top, Twips width, Twips height, std::string caption) {
    caption_ = std::move(caption);
    place(left, top, width, height);
    return *this;
}
void Frame::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed(Property::Caption);
}
void Frame::reset() {
    Control::reset();
    caption_.clear();
}

Image::Image(Form& form, std::string name) : Control(form, std::move(name), ControlKind::Image) {}

Image& Image::create(Twips left, Twips top, Twips width, Twips height, gfx::Picture picture) {
    picture_ = std::move(picture);
    place(left, top, width, height);
    return *this;
}
void Image::setPicture(gfx::Picture picture) {
    picture_ = std::move(picture);
    changed(Property::Picture);
}
void Image::setStretch(bool v) {
    stretch_ = v;
    changed(Property::Picture);
}
void Image::reset() {
    Control::reset();
    picture_ = {};
    stretch_ = false;
}

Shape::Shape(Form& form, std::string name) : Control(form, std::move(name), ControlKind::Shape) {}

Shape& Shape::create(Twips left, Twips top, Twips width, Twips height) {
    place(left, top, width, height);
    return *this;
}
void Shape::setShape(Kind s) {
    shape_ = s;
    changed(Property::Border);
}
void Shape::setBorderColor(Color c) {
    borderColor_ = c;
    changed(Property::Border);
}
void Shape::setBorderWidth(float pixels) {
    borderWidth_ = pixels < 1 ? 1 : pixels;
    changed(Property::Border);
}
void Shape::setFill(bool filled, Color color) {
    filled_ = filled;
    fillColor_ = color;
    changed(Property::Border);
}
void Shape::reset() {
    Control::reset();
    shape_ = Kind::Rectangle;
    borderColor_ = gfx::kBlack;
    borderWidth_ = 1;
    filled_ = false;
    fillColor_ = gfx::kBlack;
}

LineControl::LineControl(Form& form, std::string name) : Control(form, std::move(name), ControlKind::Line) {}

LineControl& LineControl::create(Twips x1, Twips y1, Twips x2, Twips y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    place(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1));
    return *this;
}
void LineControl::setPoints(Twips x1, Twips y1, Twips x2, Twips y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    move(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1));
}
void LineControl::setBorderColor(Color c) {
    borderColor_ = c;
    changed(Property::Border);
}
void LineControl::setBorderWidth(float pixels) {
    borderWidth_ = pixels < 1 ? 1 : pixels;
    changed(Property::Border);
}
void LineControl::reset() {
    Control::reset();
    x1_ = y1_ = x2_ = y2_ = 0;
    borderColor_ = gfx::kBlack;
    borderWidth_ = 1;
}

// ---- Grid ------------------------------------------------------------------

Grid::Grid(Form& form, std::string name) : Control(form, std::move(name), ControlKind::Grid) {
    focusable_ = true;
    resize(2, 2);
}

Grid& Grid::create(Twips left, Twips top, Twips width, Twips height, int rows, int cols) {
    if (rows < 1 || cols < 1) rt::raise(rt::kInvalidProperty, name() + " size");
    fixedRows_ = fixedCols_ = 1;
    cells_.clear();
    colWidths_.clear();
    rows_ = cols_ = 0;
    resize(rows, cols);
    fixedRows_ = std::min(fixedRows_, rows_);
    fixedCols_ = std::min(fixedCols_, cols_);
    place(left, top, width, height);
    return *this;
}

void Grid::resize(int rows, int cols) {
    std::vector<std::string> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    if (cells_.size() != static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_)) rows_ = cols_ = 0;
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(cols, cols_); ++c)
            cells[static_cast<std::size_t>(r * cols + c)] = std::move(cells_[static_cast<std::size_t>(r * cols_ + c)]);
    cells_ = std::move(cells);
    colWidths_.resize(static_cast<std::size_t>(cols), -1);
    rows_ = rows;
    cols_ = cols;
}

void Grid::setRows(int rows) {
    if (rows < 1) rt::raise(rt::kInvalidProperty, name() + ".Rows");
    resize(rows, cols_);
    fixedRows_ = std::min(fixedRows_, rows_);
    changed(Property::GridLayout);
}

void Grid::setCols(int cols) {
    if (cols < 1) rt::raise(rt::kInvalidProperty, name() + ".Cols");
    resize(rows_, cols);
    fixedCols_ = std::min(fixedCols_, cols_);
    changed(Property::GridLayout);
}

void Grid::setFixedRows(int n) {
    if (n < 0 || n > rows_) rt::raise(rt::kInvalidProperty, name() + ".FixedRows");
    fixedRows_ = n;
    changed(Property::GridLayout);
}

void Grid::setFixedCols(int n) {
    if (n < 0 || n > cols_) rt::raise(rt::kInvalidProperty, name() + ".FixedCols");
    fixedCols_ = n;
    changed(Property::GridLayout);
}

Twips Grid::colWidth(int col) const {
    if (col < 0 || col >= cols_) rt::raise(rt::kSubscriptOutOfRange, name() + ".ColWidth");
    return colWidths_[static_cast<std::size_t>(col)];
}

void Grid::setColWidth(int col, Twips width) {
    if (col < 0 || col >= cols_) rt::raise(rt::kSubscriptOutOfRange, name() + ".ColWidth");
    colWidths_[static_cast<std::size_t>(col)] = width;
    changed(Property::GridLayout);
}

void Grid::checkCell(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
        rt::raise(rt::kSubscriptOutOfRange,
                  name() + ".TextMatrix(" + std::to_string(row) + ", " + std::to_string(col) + ")");
}

const std::string& Grid::textMatrix(int row, int col) const {
    checkCell(row, col);
    return cells_[static_cast<std::size_t>(row * cols_ + col)];
}

void Grid::setTextMatrix(int row, int col, std::string text) {
    checkCell(row, col);
    cells_[static_cast<std::size_t>(row * cols_ + col)] = std::move(text);
    changed(Property::GridCells);
}

void Grid::reset() {
    Control::reset();
    cells_.clear();
    colWidths_.clear();
    rows_ = cols_ = 0;
    resize(2, 2);
    fixedRows_ = fixedCols_ = 1;
}

// ---- CommonDialog ----------------------------------------------------------

CommonDialog::CommonDialog(Form& form, std::string name) : Control(form, std::move(name), ControlKind::CommonDialog) {}

CommonDialog& CommonDialog::create() {
    place(0, 0, 0, 0);
    return *this;
}

namespace {
Backend& needBackend(const char* what) {
    Backend* b = app().backend();
    if (!b) throw std::logic_error(std::string("no user interface for ") + what);
    return *b;
}
}  // namespace

namespace {

// A name saved without an extension gets the one extension that the filter
// shown names ("*.srw"); a filter of several ("*.txt;*.lst") or of any ("*.*")
// adds none, and a name with an extension stays as typed.
std::string withFilterExtension(const std::string& path, const std::string& pattern) {
    const std::size_t dot = pattern.find_first_not_of('*');
    if (dot == 0 || dot == std::string::npos || pattern[dot] != '.') return path;
    const std::string extension = pattern.substr(dot);
    if (extension.size() < 2 || extension.find_first_of("*?; ") != std::string::npos) return path;
    const std::size_t nameStart = path.find_last_of(io::kDirSeparator) + 1;  // 0 without a folder
    if (nameStart >= path.size() || path.find('.', nameStart) != std::string::npos) return path;
    return path + extension;
}

// A name the file system refuses names no existing file.
bool existingFile(const std::string& path) {
    try {
        return io::fileExists(path);
    } catch (const rt::Error&) {
        return false;
    }
}

// The patterns of "description|pattern|description|pattern", in order.
std::vector<std::string> filterPatterns(const std::string& filter) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t bar = filter.find('|', start);
        parts.push_back(rt::trim(std::string_view(filter).substr(start, bar - start)));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<std::string> patterns;
    for (std::size_t i = 1; i < parts.size(); i += 2) patterns.push_back(std::move(parts[i]));
    return patterns;
}

}  // namespace

int FileDialogRequest::openingFilter() const {
    const std::vector<std::string> patterns = filterPatterns(filter);
    if (patterns.empty()) return -1;
    // The name without its folder: "/data/*.txt" opens on "*.txt" as "*.txt" does.
    const std::string name = fileName.substr(fileName.find_last_of(io::kDirSeparator) + 1);
    const auto it = std::find(patterns.begin(), patterns.end(), name);
    return it == patterns.end() ? 0 : static_cast<int>(it - patterns.begin());
}

std::string FileDialogRequest::openingPattern() const {
    const int index = openingFilter();
    return index < 0 ? std::string() : filterPatterns(filter)[static_cast<std::size_t>(index)];
}

void CommonDialog::showFile(bool save) {
    FileDialogRequest request;
    request.kind = save ? FileDialogKind::Save : FileDialogKind::Open;
    request.fileName = fileName_;
    request.filter = filter_;
    request.initDir = initDir_;
    request.title = dialogTitle_;
    std::optional<FileDialogChoice> chosen = needBackend("a file dialog").fileDialog(request);
    if (chosen && save) {
        chosen->path = withFilterExtension(chosen->path, chosen->pattern);
        if (existingFile(chosen->path) &&
            msgBox(chosen->path + " already exists.\nDo you want to replace it?", kYesNo, kNoIcon,
                   dialogTitle_.empty() ? "Save As" : dialogTitle_, true) != kYes)
            chosen.reset();
    }
    if (chosen) {
        fileName_ = chosen->path;
    } else if (cancelError_) {
        rt::raise(rt::kCancelError);
    }
}

void CommonDialog::showOpen() { showFile(false); }
void CommonDialog::showSave() { showFile(true); }

void CommonDialog::showPrinter() {
    std::optional<PrinterSettings> chosen = needBackend("the printer setup").printerSetup(printer().settings());
    if (chosen) {
        printer().setSettings(*chosen);
    } else if (cancelError_) {
        rt::raise(rt::kCancelError);
    }
}

void CommonDialog::reset() {
    Control::reset();
    fileName_.clear();
    filter_.clear();
    initDir_.clear();
    dialogTitle_.clear();
    cancelError_ = false;
}

// ---- MenuItem --------------------------------------------------------------

MenuItem::MenuItem(Form& form, std::string name) : Control(form, std::move(name), ControlKind::Menu) {}

MenuItem& MenuItem::create(std::string caption, bool enabled) {
    caption_ = std::move(caption);
    parent_ = nullptr;
    setEnabled(enabled);
    bool wasCreated = created();
    place(0, 0, 0, 0);
    if (!wasCreated) form().addTopMenu(this);
    return *this;
}

MenuItem& MenuItem::create(MenuItem& parent, std::string caption, bool enabled) {
    caption_ = std::move(caption);
    setEnabled(enabled);
    bool wasCreated = created();
    place(0, 0, 0, 0);
    if (!wasCreated) {
        parent_ = &parent;
        parent.children_.push_back(this);
        form().changed(nullptr, Property::Menus);
    }
    return *this;
}

void MenuItem::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed(Property::Caption);
}

void MenuItem::reset() {
    Control::reset();
    caption_.clear();
    parent_ = nullptr;
    children_.clear();
}

}  // namespace ui
