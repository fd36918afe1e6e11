#include "platform/qt/qt_peer.h"

#include <algorithm>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionTitleBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/qt/qt_paint.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"

namespace qtui {

namespace {

// The frame of a window: 8 pixels across, 27 pixels down.
constexpr int kFrameWide = 8;
constexpr int kFrameHigh = 27;
// Until the program sizes its main window, it fills the screen.
constexpr int kDefaultPixelsWide = 320;
constexpr int kDefaultPixelsHigh = 240;
constexpr int kDefaultColumnPixels = 64;
constexpr int kGridRowPixels = 16;  // 240 twips, a grid row of the Windows system font

const ui::Color kButtonFace = gfx::rgb(212, 208, 200);

// Room a style may keep free beside the title in its title bar's label.
constexpr int kTitleMargin = 14;

// A caption shortened to the given room. Its path loses its middle, so that
// the file's name at its end stays whole; a caption without a path, or a
// room too small for the name, loses its own middle.
QString shortenedCaption(const QString& caption, const QFontMetrics& metrics, int room) {
    if (metrics.horizontalAdvance(caption) <= room) return caption;
    const qsizetype name = std::max(caption.lastIndexOf(u'/'), caption.lastIndexOf(u'\\'));
    if (name > 0) {
        const QString tail = caption.mid(name);
        const QString head =
            metrics.elidedText(caption.left(name), Qt::ElideMiddle, room - metrics.horizontalAdvance(tail));
        if (!head.isEmpty() && metrics.horizontalAdvance(head + tail) <= room) return head + tail;
    }
    return metrics.elidedText(caption, Qt::ElideMiddle, room);
}

// The frame metrics of a child window: 4 pixels on each side and below, a
// title bar that makes the frame 27 pixels high in all. A caption too long
// for the title bar shows shortened in its middle, not cut at its end; the
// window keeps its whole caption.
class ChildFrameStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_MdiSubWindowFrameWidth) return kFrameWide / 2;
        if (metric == PM_TitleBarHeight) return titleBarHeight;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override {
        const auto* bar = qstyleoption_cast<const QStyleOptionTitleBar*>(option);
        if (control != CC_TitleBar || !bar || !qobject_cast<const QMdiSubWindow*>(widget)) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        QStyleOptionTitleBar shown(*bar);
        const int room = subControlRect(CC_TitleBar, bar, SC_TitleBarLabel, widget).width() - kTitleMargin;
        shown.text = shortenedCaption(widget->windowTitle(), painter->fontMetrics(), room);
        QProxyStyle::drawComplexControl(control, &shown, painter, widget);
    }
    int titleBarHeight = kFrameHigh - kFrameWide / 2;
};

ChildFrameStyle* childFrameStyle() {
    static QPointer<ChildFrameStyle> style;
    if (!style) {
        style = new ChildFrameStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

QPixmap pictureOf(const gfx::Picture& picture) { return renderPicture(picture); }

// Gives a member a value for the length of a scope, exceptions included.
template <class T>
class ScopedValue {
public:
    ScopedValue(T& slot, T value) : slot_(slot), old_(slot) { slot_ = value; }
    ~ScopedValue() { slot_ = old_; }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& slot_;
    T old_;
};

void setPaletteColor(QWidget* w, QPalette::ColorRole role, ui::Color c) {
    QPalette pal = w->palette();
    pal.setColor(role, toQColor(c));
    w->setPalette(pal);
}

// Where a child window opens in the main window's client area: at the top
// left, or cascaded one title bar further down and right for each place
// another child already opened at, as long as the window stays wholly
// inside the area. A window larger than the area opens at the top left.
QPoint cascadePlace(QSize window, QSize area, const std::vector<QPoint>& taken, int step) {
    const int roomX = area.width() - window.width(), roomY = area.height() - window.height();
    if (roomX < 0 || roomY < 0 || step <= 0) return QPoint(0, 0);
    const int places = std::min(roomX, roomY) / step + 1;
    for (int i = 0; i < places; ++i) {
        const QPoint p(i * step, i * step);
        if (std::find(taken.begin(), taken.end(), p) == taken.end()) return p;
    }
    return QPoint(0, 0);
}

// A combo box's drop-down list is wide enough for its longest entry; the
// blanks that pad an entry to its record width are not shown, so they are
// clipped rather than elided.
void widenDropDown(QComboBox* box) {
    QAbstractItemView* view = box->view();
    view->setTextElideMode(Qt::ElideNone);
    const QFontMetrics metrics(view->font());
    int widest = 0;
    for (int i = 0; i < box->count(); ++i) {
        QString text = box->itemText(i);
        while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    // The item's own margins, the list's frame and a scroll bar.
    const int margins = 4 * metrics.averageCharWidth() + 2 * view->frameWidth() +
                        view->verticalScrollBar()->sizeHint().width();
    view->setMinimumWidth(std::max(box->width(), widest + margins));
}

}  // namespace

int keyCodeOf(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return ui::kKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return ui::kKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ui::kKeyReturn;
    case Qt::Key_Escape: return ui::kKeyEscape;
    case Qt::Key_Space: return ' ';
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return ui::kKeyUp;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return ui::kKeyDown;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

int shiftStateOf(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ui::kShiftMask;
    if (modifiers & Qt::ControlModifier) shift |= 2;
    if (modifiers & Qt::AltModifier) shift |= 4;
    return shift;
}

// ---- widgets ----------------------------------------------------------------

Surface::Surface(FormPeer& peer, QWidget* parent) : QWidget(parent), peer_(peer) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(controlFont("MS Sans Serif", 8.25f, false));
}

void Surface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (peer_.detached()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    painter.fillRect(rect(), toQColor(peer_.form_.backColor()));
    paintDisplayList(painter, peer_.form_.displayList(), 1.0 / gfx::kTwipsPerPixel, peer_.form_.smoothSlopes());
}

ShapeWidget::ShapeWidget(const ui::Shape& shape, QWidget* parent) : QWidget(parent), shape_(shape) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    int pen = std::max(1, static_cast<int>(shape_.borderWidth()));
    painter.setPen(QPen(toQColor(shape_.borderColor()), pen));
    painter.setBrush(shape_.filled() ? QBrush(toQColor(shape_.fillColor())) : QBrush(Qt::NoBrush));
    QRectF r = QRectF(rect()).adjusted(pen / 2.0, pen / 2.0, -pen / 2.0 - 0.5, -pen / 2.0 - 0.5);
    if (shape_.shape() == ui::Shape::Kind::Oval)
        painter.drawEllipse(r);
    else
        painter.drawRect(r);
}

LineWidget::LineWidget(const ui::LineControl& line, QWidget* parent) : QWidget(parent), line_(line) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

QRect LineWidget::placement() const {
    int x1 = toPixels(line_.x1()), y1 = toPixels(line_.y1());
    int x2 = toPixels(line_.x2()), y2 = toPixels(line_.y2());
    int pen = std::max(1, static_cast<int>(line_.borderWidth()));
    QRect r(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)));
    return r.adjusted(-pen, -pen, pen, pen);
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    int pen = std::max(1, static_cast<int>(line_.borderWidth()));
    painter.setPen(QPen(toQColor(line_.borderColor()), pen));
    QPoint origin = placement().topLeft();
    painter.drawLine(QPoint(toPixels(line_.x1()), toPixels(line_.y1())) - origin,
                     QPoint(toPixels(line_.x2()), toPixels(line_.y2())) - origin);
}

void ListWidget::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    if (selectedItems().isEmpty() && currentRow() >= 0) setCurrentRow(-1);
    viewport()->update();
}

void ListWidget::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

void ListWidget::paintEvent(QPaintEvent* event) {
    QListWidget::paintEvent(event);
    if (!hasFocus() || currentRow() >= 0) return;
    // A dotted outline round the list, unlike the filled band of a chosen item.
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.drawRect(viewport()->rect().adjusted(0, 0, -1, -1));
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) { return peer_.filter(watched, event); }

// ---- the peer ---------------------------------------------------------------

FormPeer::FormPeer(Backend& backend, ui::Form& form)
    : backend_(backend), form_(form), filter_(std::make_unique<InputFilter>(*this)) {
    Backend::Syncing syncing(backend_);
    buildWindow();
    buildControls();
    rebuildMenus();
    applyWindowGeometry();
    applyBackColor();
    window_->setWindowTitle(toQString(form_.caption()));
}

FormPeer::~FormPeer() {
    *alive_ = false;
    if (window_) delete window_.data();
}

void FormPeer::post(std::function<void()> action) { backend_.post(alive_, std::move(action)); }

void FormPeer::watch(QObject* object, ui::Control* control) {
    watched_[object] = control;
    object->installEventFilter(filter_.get());
}

QWidget* FormPeer::widgetOf(const ui::Control* control) const {
    auto it = widgets_.find(control);
    return it == widgets_.end() ? nullptr : it->second;
}

QAction* FormPeer::actionOf(const ui::MenuItem* item) const {
    auto it = actions_.find(item);
    return it == actions_.end() ? nullptr : it->second;
}

QSize FormPeer::clientSize() {
    int w = toPixels(form_.width()), h = toPixels(form_.height());
    return QSize(std::max(0, w - kFrameWide), std::max(0, h - kFrameHigh));
}

void FormPeer::buildWindow() {
    if (form_.isMdiParent()) {
        main_ = new QMainWindow;
        mdi_ = new QMdiArea(main_);
        mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        main_->setCentralWidget(mdi_);
        menuBar_ = main_->menuBar();
        window_ = main_;
        QObject::connect(mdi_, &QMdiArea::subWindowActivated, mdi_, [this](QMdiSubWindow* sub) {
            if (!*alive_ || backend_.syncing() || !sub) return;
            for (const ui::Form* f : ui::app().loadedForms()) {
                FormPeer* p = backend_.peerOf(*f);
                if (p && p->sub_ == sub) {
                    // Qt hands the focus to the child's frame: give it to the
                    // control that has it in the program.
                    p->syncFocus(false);
                    ui::Form* child = &p->form_;
                    post([child] {
                        if (child->isLoaded() && child->isVisible() && ui::app().activeForm() != child)
                            ui::input::activate(*child);
                    });
                    break;
                }
            }
        });
        main_->installEventFilter(filter_.get());
        return;
    }
    frame_ = new QWidget;
    auto* layout = new QVBoxLayout(frame_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    surface_ = new Surface(*this, frame_);
    layout->addWidget(surface_);
    frame_->setFocusPolicy(Qt::NoFocus);
    frame_->setFocusProxy(surface_);
    surface_->installEventFilter(filter_.get());

    FormPeer* main = backend_.mainPeer();
    if (!form_.isModal() && form_.isMdiChild() && main && main->mdi_ && !main->detached()) {
        sub_ = new QMdiSubWindow;
        sub_->setStyle(childFrameStyle());
        sub_->setWidget(frame_);
        sub_->setAttribute(Qt::WA_DeleteOnClose, false);
        QPixmap noIcon(1, 1);
        noIcon.fill(Qt::transparent);
        sub_->setWindowIcon(QIcon(noIcon));
        main->mdi_->addSubWindow(sub_);
        sub_->hide();
        window_ = sub_;
    } else {
        frame_->setWindowFlags(form_.isModal() ? Qt::Dialog : Qt::Window);
        if (form_.isModal()) frame_->setWindowModality(Qt::ApplicationModal);
        window_ = frame_;
    }
    window_->installEventFilter(filter_.get());
}

void FormPeer::buildControls() {
    for (ui::Control* c : form_.controls()) createControl(c);
}

QWidget* FormPeer::parentFor(const ui::Control* control) {
    if (const ui::Frame* frame = control->container()) {
        if (QWidget* w = widgetOf(frame)) return w;
    }
    return surface_;
}

void FormPeer::createControl(ui::Control* c) {
    if (!surface_ || widgets_.count(c)) return;
    if (c->kind() == ui::ControlKind::CommonDialog || c->kind() == ui::ControlKind::Menu) return;
    QWidget* parent = parentFor(c);
    QWidget* w = nullptr;
    switch (c->kind()) {
    case ui::ControlKind::CommandButton: {
        auto* b = new QPushButton(parent);
        QObject::connect(b, &QPushButton::clicked, b, [this, c] {
            if (!*alive_ || backend_.syncing()) return;
            post([c] { ui::input::click(*c); });
        });
        w = b;
        break;
    }
    case ui::ControlKind::TextBox: {
        auto* e = new QLineEdit(parent);
        auto mirror = [this, c] {
            if (!*alive_ || backend_.syncing() || replaying_) return;
            post([this, c] { mirrorText(c); });
        };
        QObject::connect(e, &QLineEdit::textEdited, e, mirror);
        QObject::connect(e, &QLineEdit::cursorPositionChanged, e, mirror);
        QObject::connect(e, &QLineEdit::selectionChanged, e, mirror);
        w = e;
        break;
    }
    case ui::ControlKind::Label: {
        auto* l = new QLabel(parent);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = l;
        break;
    }
    case ui::ControlKind::ListBox: {
        auto* l = new ListWidget(parent);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->viewport()->setFocusPolicy(Qt::NoFocus);
        watch(l->viewport(), c);
        w = l;
        break;
    }
    case ui::ControlKind::ComboBox: {
        auto* b = new QComboBox(parent);
        b->setEditable(true);
        b->setInsertPolicy(QComboBox::NoInsert);
        b->lineEdit()->setFocusPolicy(Qt::NoFocus);
        watch(b->lineEdit(), c);
        QObject::connect(b, &QComboBox::activated, b, [this, c](int index) {
            if (!*alive_ || backend_.syncing()) return;
            post([c, index] {
                auto& combo = static_cast<ui::ComboBox&>(*c);
                if (index >= 0 && index < combo.listCount()) ui::input::pickItem(combo, index);
            });
        });
        QObject::connect(b->lineEdit(), &QLineEdit::textEdited, b, [this, c] {
            if (!*alive_ || backend_.syncing() || replaying_) return;
            post([this, c] { mirrorText(c); });
        });
        w = b;
        break;
    }
    case ui::ControlKind::Frame:
        w = new QGroupBox(parent);
        break;
    case ui::ControlKind::Image: {
        auto* l = new QLabel(parent);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = l;
        break;
    }
    case ui::ControlKind::Shape:
        w = new ShapeWidget(static_cast<const ui::Shape&>(*c), parent);
        break;
    case ui::ControlKind::Line:
        w = new LineWidget(static_cast<const ui::LineControl&>(*c), parent);
        break;
    case ui::ControlKind::Grid: {
        auto* t = new QTableWidget(parent);
        t->horizontalHeader()->hide();
        t->verticalHeader()->hide();
        t->verticalHeader()->setDefaultSectionSize(kGridRowPixels);
        t->verticalHeader()->setMinimumSectionSize(1);
        t->horizontalHeader()->setMinimumSectionSize(0);
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
        t->setSelectionMode(QAbstractItemView::NoSelection);
        t->setWordWrap(false);
        t->viewport()->setFocusPolicy(Qt::NoFocus);
        watch(t->viewport(), c);
        w = t;
        break;
    }
    case ui::ControlKind::CommonDialog:
    case ui::ControlKind::Menu:
        return;
    }
    w->setFocusPolicy(Qt::NoFocus);
    widgets_[c] = w;
    watch(w, c);
    applyControl(c, ui::Property::Created);
}

void FormPeer::applyGeometry(ui::Control* c) {
    QWidget* w = widgetOf(c);
    if (!w) return;
    if (c->kind() == ui::ControlKind::Line) {
        w->setGeometry(static_cast<LineWidget*>(w)->placement());
        w->update();
        return;
    }
    w->setGeometry(toPixels(c->left()), toPixels(c->top()), std::max(0, toPixels(c->width())),
                   std::max(0, toPixels(c->height())));
}

void FormPeer::applyItems(ui::Control* c) {
    QWidget* w = widgetOf(c);
    if (!w) return;
    // Items only grow at the end or are cleared, so appending the new ones
    // keeps long lists cheap; anything else is rebuilt.
    const std::vector<std::string>& items = c->kind() == ui::ControlKind::ListBox
                                                ? static_cast<ui::ListBox*>(c)->items()
                                                : static_cast<ui::ComboBox*>(c)->items();
    auto sync = [&](int have, auto clear, auto add) {
        int want = static_cast<int>(items.size());
        if (want < have) {
            clear();
            have = 0;
        }
        for (int i = have; i < want; ++i) add(toQString(items[static_cast<std::size_t>(i)]));
    };
    if (auto* l = qobject_cast<QListWidget*>(w)) {
        sync(l->count(), [l] { l->clear(); }, [l](const QString& s) { l->addItem(s); });
    } else if (auto* b = qobject_cast<QComboBox*>(w)) {
        QString text = b->currentText();
        sync(b->count(), [b] { b->clear(); }, [b](const QString& s) { b->addItem(s); });
        if (b->lineEdit() && b->lineEdit()->text() != text) b->lineEdit()->setText(text);
        widenDropDown(b);
    }
}

void FormPeer::applyGrid(ui::Control* c, bool layout) {
    auto* t = qobject_cast<QTableWidget*>(widgetOf(c));
    if (!t) return;
    auto& g = static_cast<ui::Grid&>(*c);
    if (layout) {
        if (t->rowCount() != g.rows()) t->setRowCount(g.rows());
        if (t->columnCount() != g.cols()) t->setColumnCount(g.cols());
        for (int col = 0; col < g.cols(); ++col) {
            ui::Twips width = g.colWidth(col);
            t->setColumnWidth(col, width < 0 ? kDefaultColumnPixels : std::max(0, toPixels(width)));
        }
    }
    QBrush fixed(toQColor(kButtonFace));
    for (int row = 0; row < g.rows(); ++row) {
        for (int col = 0; col < g.cols(); ++col) {
            QTableWidgetItem* item = t->item(row, col);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled);
                t->setItem(row, col, item);
            }
            QString text = toQString(g.textMatrix(row, col));
            if (item->text() != text) item->setText(text);
            bool isFixed = row < g.fixedRows() || col < g.fixedCols();
            item->setBackground(isFixed ? fixed : QBrush());
        }
    }
}

void FormPeer::syncPending() {
    pendingScheduled_ = false;
    if (detached()) return;
    Backend::Syncing syncing(backend_);
    std::unordered_set<ui::Control*> grids;
    grids.swap(pendingGrids_);
    for (ui::Control* c : grids) applyGrid(c, false);
}

void FormPeer::applyControl(ui::Control* c, ui::Property what) {
    QWidget* w = widgetOf(c);
    // The core taking over the box's own edit: the box shows it already.
    if (!w || c == mirroring_) return;
    bool all = what == ui::Property::Created || what == ui::Property::Container;
    if (what == ui::Property::Container) {
        QWidget* parent = parentFor(c);
        if (w->parentWidget() != parent) w->setParent(parent);
    }
    if (all || what == ui::Property::Geometry) applyGeometry(c);
    if (all || what == ui::Property::Visible) w->setVisible(c->visible());
    if (all || what == ui::Property::Enabled) w->setEnabled(c->enabled());
    if (what == ui::Property::Items) {
        applyItems(c);
        return;
    }
    if (what == ui::Property::GridCells) {
        // Cells are set one at a time; they are shown together.
        pendingGrids_.insert(c);
        if (!pendingScheduled_) {
            pendingScheduled_ = true;
            std::shared_ptr<bool> alive = alive_;
            QMetaObject::invokeMethod(
                w, [this, alive] { if (*alive) syncPending(); }, Qt::QueuedConnection);
        }
        return;
    }

    switch (c->kind()) {
    case ui::ControlKind::CommandButton: {
        auto& b = static_cast<ui::CommandButton&>(*c);
        auto* q = static_cast<QPushButton*>(w);
        q->setText(toQString(b.caption()));
        setPaletteColor(q, QPalette::Button, b.backColor());
        QPixmap pixmap = pictureOf(b.picture());
        q->setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
        if (!pixmap.isNull()) q->setIconSize(pixmap.size());
        break;
    }
    case ui::ControlKind::TextBox: {
        if (!all && what != ui::Property::Text && what != ui::Property::Selection) break;
        auto& b = static_cast<ui::TextBox&>(*c);
        auto* e = static_cast<QLineEdit*>(w);
        QString text = toQString(b.text());
        if (e->text() != text) e->setText(text);
        // A selection that is the core's already stays as the field has it
        // (focus selects the whole text from its end back to the start).
        const int start = b.selStart(), length = b.selLength();
        if (length > 0) {
            if (e->selectionStart() != start || e->selectedText().size() != length) e->setSelection(start, length);
        } else if (e->hasSelectedText() || e->cursorPosition() != start) {
            e->deselect();
            e->setCursorPosition(start);
        }
        break;
    }
    case ui::ControlKind::Label: {
        auto& l = static_cast<ui::Label&>(*c);
        auto* q = static_cast<QLabel*>(w);
        q->setText(toQString(l.caption()));
        q->setAutoFillBackground(!l.transparent());
        QPalette pal = q->palette();
        pal.setColor(QPalette::Window, toQColor(l.backColor()));
        pal.setColor(QPalette::WindowText, toQColor(l.foreColor()));
        q->setPalette(pal);
        q->setFont(controlFont(l.fontName(), l.fontSize(), l.fontBold()));
        break;
    }
    case ui::ControlKind::ListBox: {
        auto& l = static_cast<ui::ListBox&>(*c);
        auto* q = static_cast<QListWidget*>(w);
        if (all) applyItems(c);
        int index = l.listIndex();
        if (index >= 0 && index < q->count()) {
            q->setCurrentRow(index);
            q->scrollToItem(q->item(index));
        } else {
            q->clearSelection();
            q->setCurrentRow(-1);
        }
        break;
    }
    case ui::ControlKind::ComboBox: {
        auto& b = static_cast<ui::ComboBox&>(*c);
        auto* q = static_cast<QComboBox*>(w);
        if (all) applyItems(c);
        if (!all && what != ui::Property::Text && what != ui::Property::ListIndex) break;
        int index = b.listIndex();
        if (q->currentIndex() != index) q->setCurrentIndex(index >= 0 && index < q->count() ? index : -1);
        QString text = toQString(b.text());
        if (q->currentText() != text) q->setEditText(text);
        // A text the program sets, or an item chosen, shows from its first
        // character.
        if (q->lineEdit()) q->lineEdit()->setCursorPosition(0);
        break;
    }
    case ui::ControlKind::Frame:
        static_cast<QGroupBox*>(w)->setTitle(toQString(static_cast<ui::Frame&>(*c).caption()));
        break;
    case ui::ControlKind::Image: {
        auto& i = static_cast<ui::Image&>(*c);
        auto* q = static_cast<QLabel*>(w);
        q->setPixmap(pictureOf(i.picture()));
        q->setScaledContents(i.stretch());
        break;
    }
    case ui::ControlKind::Shape:
    case ui::ControlKind::Line:
        w->update();
        break;
    case ui::ControlKind::Grid:
        if (all || what == ui::Property::GridLayout) applyGrid(c, true);
        break;
    case ui::ControlKind::CommonDialog:
    case ui::ControlKind::Menu:
        break;
    }
}

// ---- menus ------------------------------------------------------------------

void FormPeer::rebuildMenus() {
    if (form_.menuBar().empty() && !menuBar_) return;
    if (!menuBar_) {
        if (!frame_) return;
        menuBar_ = new QMenuBar(frame_);
        static_cast<QVBoxLayout*>(frame_->layout())->setMenuBar(menuBar_);
    }
    menuBar_->clear();
    for (QMenu* m : menus_) m->deleteLater();
    menus_.clear();
    actions_.clear();
    for (ui::MenuItem* top : form_.menuBar()) {
        QAction* action = nullptr;
        if (!top->children().empty()) {
            auto* menu = new QMenu(toQString(top->caption()), menuBar_);
            menus_.push_back(menu);
            menuBar_->addMenu(menu);
            action = menu->menuAction();
            addMenuItems(menu, top);
        } else {
            action = menuBar_->addAction(toQString(top->caption()));
            QObject::connect(action, &QAction::triggered, action, [this, top] {
                if (!*alive_ || backend_.syncing()) return;
                post([top] { ui::input::chooseMenu(*top); });
            });
        }
        actions_[top] = action;
        action->setEnabled(top->enabled());
        action->setVisible(top->visible());
    }
}

void FormPeer::addMenuItems(QMenu* menu, ui::MenuItem* parent) {
    // The Click of a menu runs when it opens, before it drops down, so the
    // enabled states it sets show in this very opening.
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this, parent] {
        if (!*alive_ || backend_.syncing()) return;
        backend_.runGuarded([parent] { ui::input::openMenu(*parent); });
    });
    for (ui::MenuItem* item : parent->children()) {
        QAction* action = nullptr;
        if (item->separator()) {
            action = menu->addSeparator();
        } else if (!item->children().empty()) {
            QMenu* sub = menu->addMenu(toQString(item->caption()));
            action = sub->menuAction();
            addMenuItems(sub, item);
        } else {
            action = menu->addAction(toQString(item->caption()));
            QObject::connect(action, &QAction::triggered, action, [this, item] {
                if (!*alive_ || backend_.syncing()) return;
                post([item] { ui::input::chooseMenu(*item); });
            });
        }
        actions_[item] = action;
        action->setEnabled(item->enabled());
        action->setVisible(item->visible());
    }
}

// ---- the window -------------------------------------------------------------

void FormPeer::applyWindowGeometry() {
    int w = toPixels(form_.width()), h = toPixels(form_.height());
    if (main_) {
        if (w == kDefaultPixelsWide && h == kDefaultPixelsHigh)
            main_->setWindowState(main_->windowState() | Qt::WindowMaximized);
        else
            main_->resize(w, h);
        return;
    }
    QSize client = clientSize();
    int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    if (sub_) {
        sub_->ensurePolished();
        QMargins m = sub_->contentsMargins();
        sub_->resize(client.width() + m.left() + m.right(), client.height() + menuHeight + m.top() + m.bottom());
    } else {
        frame_->resize(client.width(), client.height() + menuHeight);
    }
}

void FormPeer::applyBackColor() {
    if (mdi_) mdi_->setBackground(QBrush(toQColor(form_.backColor())));
    if (surface_) surface_->update();
}

void FormPeer::changed(const ui::Control* control, ui::Property what) {
    if (detached()) return;
    Backend::Syncing syncing(backend_);
    if (control) {
        auto* c = const_cast<ui::Control*>(control);
        if (c->kind() == ui::ControlKind::Menu) {
            if (what == ui::Property::Created) return;  // shown by the Menus change
            QAction* action = actionOf(static_cast<ui::MenuItem*>(c));
            if (!action) return;
            auto* item = static_cast<ui::MenuItem*>(c);
            if (what == ui::Property::Enabled) action->setEnabled(item->enabled());
            if (what == ui::Property::Visible) action->setVisible(item->visible());
            if (what == ui::Property::Caption && !item->separator()) {
                if (action->menu())
                    action->menu()->setTitle(toQString(item->caption()));
                else
                    action->setText(toQString(item->caption()));
            }
            return;
        }
        if (what == ui::Property::Created) {
            createControl(c);
            return;
        }
        applyControl(c, what);
        return;
    }
    switch (what) {
    case ui::Property::Caption:
        window_->setWindowTitle(toQString(form_.caption()));
        break;
    case ui::Property::Geometry:
        applyWindowGeometry();
        break;
    case ui::Property::BackColor:
        applyBackColor();
        break;
    case ui::Property::Drawing:
        if (surface_) surface_->update();
        break;
    case ui::Property::Menus:
        rebuildMenus();
        break;
    case ui::Property::Focus:
        syncFocus(true);
        break;
    case ui::Property::Visible:
        if (form_.isVisible() && !window_->isVisible()) show();
        break;
    default:
        break;
    }
}

void FormPeer::show() {
    if (detached()) return;
    Backend::Syncing syncing(backend_);
    if (main_ && !main_->isVisible()) {
        applyWindowGeometry();
        main_->show();
    } else if (sub_ && !sub_->isVisible()) {
        sub_->show();
        applyWindowGeometry();
        if (!placed_) placeChild();
    } else if (!main_ && !sub_ && !frame_->isVisible()) {
        frame_->show();
    }
    window_->raise();
}

void FormPeer::activate() {
    if (detached()) return;
    Backend::Syncing syncing(backend_);
    if (sub_) {
        if (FormPeer* main = backend_.mainPeer(); main && main->mdi_ && main->mdi_->activeSubWindow() != sub_)
            main->mdi_->setActiveSubWindow(sub_);
    } else {
        window_->raise();
        window_->activateWindow();
    }
    syncFocus(false);
}

void FormPeer::placeChild() {
    FormPeer* main = backend_.mainPeer();
    if (!sub_ || !main || !main->mdi_) return;
    placed_ = true;
    std::vector<QPoint> taken;
    for (QMdiSubWindow* other : main->mdi_->subWindowList())
        if (other != sub_ && other->isVisible()) taken.push_back(other->pos());
    sub_->move(cascadePlace(sub_->size(), main->mdi_->viewport()->size(), taken, childFrameStyle()->titleBarHeight));
}

void FormPeer::syncFocus(bool moved) {
    if (!surface_ || detached()) return;
    Backend::Syncing syncing(backend_);
    ui::Control* c = form_.activeControl();
    QWidget* w = c ? widgetOf(c) : nullptr;
    if (!w || !w->isEnabled()) w = surface_;
    const bool clicked = c && c == pointerFocus_;
    // The focus shows on every control as the style draws keyboard focus.
    w->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    if (!w->hasFocus()) w->setFocus(clicked ? Qt::MouseFocusReason : Qt::OtherFocusReason);
    if (moved && !clicked && w != surface_) selectWhole(c);
}

QLineEdit* FormPeer::lineEditOf(ui::Control* c) const {
    QWidget* w = widgetOf(c);
    if (!w) return nullptr;
    if (c->kind() == ui::ControlKind::TextBox) return static_cast<QLineEdit*>(w);
    if (c->kind() == ui::ControlKind::ComboBox) return static_cast<QComboBox*>(w)->lineEdit();
    return nullptr;
}

// Keyboard focus selects a box's whole text, so that typing replaces it.
// The caret goes to the start, so the text shows from its first character.
void FormPeer::selectWhole(ui::Control* c) {
    QLineEdit* e = lineEditOf(c);
    if (!e) return;
    const int length = static_cast<int>(e->text().size());
    e->setSelection(length, -length);
    if (c->kind() == ui::ControlKind::TextBox) mirrorText(c);
}

void FormPeer::detach() {
    if (detached()) return;
    Backend::Syncing syncing(backend_);
    *alive_ = false;
    if (modalLoop_) {
        modalLoop_->quit();
        modalLoop_ = nullptr;
    }
    if (window_) {
        window_->hide();
        window_->deleteLater();
    }
}

// ---- user input -------------------------------------------------------------

// A typed character: the window's KeyDown and KeyPress run first; the box
// then types what they left at its own caret (so that its selection and its
// undo history hold) and the core takes over the new text.
void FormPeer::typeInto(ui::Control* c, char ch) {
    const int typed = ui::input::typeCharHandlers(*c, ch);
    QLineEdit* e = detached() ? nullptr : lineEditOf(c);
    if (!e || typed == 0) return;
    {
        ScopedValue<bool> replaying(replaying_, true);
        if (typed == ui::kKeyBack)
            e->backspace();
        else if (typed >= 32 && typed < 256 && typed != 127)
            e->insert(QString(QChar(typed)));
    }
    mirrorText(c);
}

void FormPeer::mirrorText(ui::Control* c) {
    QWidget* w = widgetOf(c);
    if (!w || detached()) return;
    ScopedValue<ui::Control*> mirroring(mirroring_, c);
    if (c->kind() == ui::ControlKind::TextBox) {
        auto* e = static_cast<QLineEdit*>(w);
        int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
        int length = e->hasSelectedText() ? static_cast<int>(e->selectedText().size()) : 0;
        ui::input::textEdited(static_cast<ui::TextBox&>(*c), fromQString(e->text()), start, length);
    } else if (c->kind() == ui::ControlKind::ComboBox) {
        auto* b = static_cast<QComboBox*>(w);
        ui::input::textEdited(static_cast<ui::ComboBox&>(*c), fromQString(b->currentText()));
    }
}

// A click into a box moves the focus there with the caret where Qt put it.
void FormPeer::focusByClick(ui::Control* c) {
    ScopedValue<ui::Control*> clicked(pointerFocus_, c);
    ui::input::focus(*c);
}

void FormPeer::reportResize(QSize client) {
    if (backend_.syncing() || detached()) return;
    post([this, client] {
        if (!form_.isLoaded()) return;
        if (main_) {
            if (QSize(toPixels(form_.width()), toPixels(form_.height())) != client)
                ui::input::resize(form_, static_cast<ui::Twips>(client.width()) * gfx::kTwipsPerPixel,
                                  static_cast<ui::Twips>(client.height()) * gfx::kTwipsPerPixel);
            return;
        }
        if (clientSize() == client) return;
        ui::input::resize(form_, static_cast<ui::Twips>(client.width() + kFrameWide) * gfx::kTwipsPerPixel,
                          static_cast<ui::Twips>(client.height() + kFrameHigh) * gfx::kTwipsPerPixel);
    });
}

bool FormPeer::filter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (detached()) {
        // An unloaded window takes no more input.
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return true;
        case QEvent::Close:
            event->ignore();
            return true;
        default:
            return false;
        }
    }
    if (watched == window_.data()) {
        if (type == QEvent::Close) {
            if (backend_.syncing()) return false;
            event->ignore();
            ui::Form* f = &form_;
            post([f] { ui::input::closeBox(*f); });
            return true;
        }
        if (type == QEvent::WindowActivate && !sub_) {
            ui::Form* f = &form_;
            bool isMain = main_ != nullptr;
            post([f, isMain] {
                ui::Form* active = ui::app().activeForm();
                if (!f->isLoaded() || !f->isVisible() || active == f) return;
                if (isMain && active && active->isMdiChild()) return;
                ui::input::activate(*f);
            });
            return false;
        }
        if (type == QEvent::Resize && main_) {
            reportResize(static_cast<QResizeEvent*>(event)->size());
            return false;
        }
        if (watched != surface_) return false;
    }
    if (watched == surface_) {
        switch (type) {
        case QEvent::Resize:
            reportResize(static_cast<QResizeEvent*>(event)->size());
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::MouseButtonRelease: {
            auto* m = static_cast<QMouseEvent*>(event);
            if (m->button() == Qt::LeftButton && surface_->rect().contains(m->position().toPoint())) {
                ui::Form* f = &form_;
                post([f] { ui::input::formClick(*f); });
            }
            return true;
        }
        case QEvent::KeyPress:
            return keyPressed(nullptr, watched, static_cast<QKeyEvent*>(event));
        default:
            return false;
        }
    }

    auto it = watched_.find(watched);
    if (it == watched_.end()) return false;
    ui::Control* c = it->second;
    QWidget* w = widgetOf(c);
    if (!w) return false;

    switch (type) {
    case QEvent::KeyPress:
        return keyPressed(c, watched, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() != Qt::LeftButton) return c->kind() != ui::ControlKind::TextBox;
        switch (c->kind()) {
        case ui::ControlKind::CommandButton:
            return false;  // the button's clicked() reports the click
        case ui::ControlKind::TextBox:
            if (!c->hasFocus()) post([this, c] { focusByClick(c); });
            return false;  // Qt places the caret; the change is mirrored
        case ui::ControlKind::ComboBox: {
            if (watched != w) {  // its text field
                if (!c->hasFocus()) post([this, c] { focusByClick(c); });
                return false;
            }
            if (c->hasFocus()) return false;  // Qt opens the list
            QPointer<QComboBox> box = static_cast<QComboBox*>(w);
            post([c, box] {
                if (ui::input::focus(*c) && box && box->isVisible()) box->showPopup();
            });
            return true;
        }
        case ui::ControlKind::ListBox: {
            auto* l = static_cast<QListWidget*>(w);
            int row = l->indexAt(m->position().toPoint()).row();
            auto& list = static_cast<ui::ListBox&>(*c);
            if (row < 0)
                post([c] { ui::input::focus(*c); });
            else if (type == QEvent::MouseButtonDblClick)
                post([&list, row] {
                    if (row < list.listCount()) ui::input::doubleClickAfterPress(list, row);
                });
            else
                post([&list, row] {
                    if (row < list.listCount()) ui::input::selectItem(list, row);
                });
            return true;
        }
        case ui::ControlKind::Grid:
            post([c] { ui::input::focus(*c); });
            return true;
        default:
            return true;  // labels, frames and images click on release
        }
    }
    case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(event);
        switch (c->kind()) {
        case ui::ControlKind::Label:
        case ui::ControlKind::Frame:
        case ui::ControlKind::Image:
            if (m->button() == Qt::LeftButton && w->rect().contains(w->mapFrom(static_cast<QWidget*>(watched), m->position().toPoint())))
                post([c] { ui::input::click(*c); });
            return true;
        case ui::ControlKind::ListBox:
        case ui::ControlKind::Grid:
            return true;
        default:
            return false;
        }
    }
    case QEvent::ContextMenu:
        return c->kind() != ui::ControlKind::TextBox && c->kind() != ui::ControlKind::ComboBox;
    case QEvent::Wheel:
        return false;
    default:
        return false;
    }
}

bool FormPeer::keyPressed(ui::Control* c, QObject* watched, QKeyEvent* key) {
    if (replaying_) return false;
    const int qtKey = key->key();
    const Qt::KeyboardModifiers mods = key->modifiers();
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
        return true;
    default:
        break;
    }
    ui::Form* f = &form_;
    if (qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab) {
        bool backwards = qtKey == Qt::Key_Backtab || (mods & Qt::ShiftModifier);
        post([f, backwards] { ui::input::tab(*f, backwards); });
        return true;
    }
    const bool command = (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    const QString text = key->text();
    const bool printable = !command && text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() < 256 &&
                           text[0].unicode() != 127;
    const char ch = printable ? static_cast<char>(text[0].unicode()) : 0;
    const int code = keyCodeOf(qtKey);
    const int shift = shiftStateOf(mods);

    if (!c) {
        // No control has the focus: the window's own KeyPress.
        int ascii = printable ? static_cast<unsigned char>(ch) : 0;
        if (!ascii && (code == ui::kKeyReturn || code == ui::kKeyEscape || code == ui::kKeyBack)) ascii = code;
        if (ascii && !command) post([f, ascii] { ui::input::formKey(*f, ascii); });
        return true;
    }

    switch (c->kind()) {
    case ui::ControlKind::TextBox:
    case ui::ControlKind::ComboBox: {
        if (printable || (code == ui::kKeyBack && !command)) {
            const char typed = printable ? ch : static_cast<char>(ui::kKeyBack);
            post([this, c, typed] { typeInto(c, typed); });
            return true;
        }
        if (command) return false;  // editing shortcuts: Qt edits, the change is mirrored
        if (!code) return false;
        if (code == ui::kKeyReturn || code == ui::kKeyEscape) {
            post([c, code, shift] { ui::input::key(*c, code, shift); });
            return true;
        }
        // The arrows of a combo box move in its list, as the core does it.
        if (c->kind() == ui::ControlKind::ComboBox && (code == ui::kKeyUp || code == ui::kKeyDown)) {
            post([c, code, shift] { ui::input::key(*c, code, shift); });
            return true;
        }
        // Caret and deletion keys: KeyDown first; unless a handler swallowed
        // the key, the field then does what the key does.
        QPointer<QObject> target = watched;
        auto copy = std::make_shared<QKeyEvent>(key->type(), qtKey, mods, key->text(), key->isAutoRepeat(),
                                                key->count());
        post([this, c, code, shift, target, copy] {
            if (!ui::input::keyDown(*c, code, shift) || detached() || !target) return;
            replaying_ = true;
            QCoreApplication::sendEvent(target, copy.get());
            replaying_ = false;
            if (!detached()) mirrorText(c);
        });
        return true;
    }
    case ui::ControlKind::ListBox: {
        if (printable) {
            post([c, ch] { ui::input::typeChar(*c, ch); });
            return true;
        }
        // The core moves the selection for the arrow, page and end keys.
        if (!code || command) return true;
        post([c, code, shift] { ui::input::key(*c, code, shift); });
        return true;
    }
    default:
        if (printable)
            post([c, ch] { ui::input::typeChar(*c, ch); });
        else if (code && !command)
            post([c, code, shift] { ui::input::key(*c, code, shift); });
        return true;
    }
}

}  // namespace qtui
