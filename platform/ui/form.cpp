#include "platform/ui/form.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "platform/ui/application.h"
#include "platform/ui/backend.h"

namespace ui {

namespace {
// The frame of a window: 8 pixels across, 27 pixels down.
constexpr int kFramePixelsWide = 8;
constexpr int kFramePixelsHigh = 27;
constexpr int kDefaultPixelsWide = 320;
constexpr int kDefaultPixelsHigh = 240;

int toPixels(Twips t) {
    if (!(t > 0)) return 0;  // also NaN
    if (t > 1.0e7f) return 666666;
    return static_cast<int>(std::lround(t / gfx::kTwipsPerPixel));
}
}  // namespace

Form::Form(std::string className) : className_(std::move(className)) {}

Form::~Form() {
    if (peer_) {
        if (Backend* b = app().backend()) b->destroyPeer(std::move(peer_));
    }
}

bool Form::isMdiChild() const {
    if (mdiParent_ || modal_) return false;
    Form* main = app().mainForm();
    return main != nullptr && main != this;
}

void Form::registerControl(Control* c) { all_.push_back(c); }

void Form::unregisterControl(Control* c) {
    all_.erase(std::remove(all_.begin(), all_.end(), c), all_.end());
    created_.erase(std::remove(created_.begin(), created_.end(), c), created_.end());
    menuBar_.erase(std::remove(menuBar_.begin(), menuBar_.end(), c), menuBar_.end());
    if (focus_ == c) focus_ = nullptr;
    if (unchecked_ == c) unchecked_ = nullptr;
    if (initialFocus_ == c) initialFocus_ = nullptr;
    if (redirect_ == c) redirect_ = nullptr;
}

void Form::controlCreated(Control* c) {
    if (c->created_) return;
    c->created_ = true;
    c->creationIndex_ = static_cast<int>(created_.size());
    c->tabIndex_ = c->creationIndex_;
    created_.push_back(c);
    changed(c, Property::Created);
}

void Form::addTopMenu(MenuItem* m) {
    menuBar_.push_back(m);
    changed(nullptr, Property::Menus);
}

void Form::changed(const Control* c, Property what) {
    if (!peer_) return;
    if (c && !c->created()) return;
    peer_->changed(c, what);
}

void Form::drawingChanged() { changed(nullptr, Property::Drawing); }

void Form::resetControls() {
    created_.clear();
    menuBar_.clear();
    focus_ = nullptr;
    unchecked_ = nullptr;
    initialFocus_ = nullptr;
    for (Control* c : all_) c->reset();
}

Control* Form::control(const std::string& name) const {
    for (Control* c : created_)
        if (c->name() == name) return c;
    return nullptr;
}

MenuItem* Form::menu(const std::string& name) const {
    for (Control* c : created_)
        if (c->kind() == ControlKind::Menu && c->name() == name) return static_cast<MenuItem*>(c);
    return nullptr;
}

std::vector<Control*> Form::tabOrder() const {
    std::vector<Control*> order;
    for (Control* c : created_)
        if (c->canFocus() && c->tabStop()) order.push_back(c);
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
    return order;
}

// ---- lifecycle -------------------------------------------------------------

void Form::ensureLoaded() {
    if (state_ == State::Unloaded) load();
}

void Form::load() {
    if (state_ != State::Unloaded) return;
    state_ = State::Loading;
    visible_ = false;
    app().formLoaded(*this);
    try {
        resetControls();
        clear();
        caption_ = className_;
        pixelsWide_ = kDefaultPixelsWide;
        pixelsHigh_ = kDefaultPixelsHigh;
        WindowTarget::setBackColor(gfx::rgb(212, 208, 200));
        DrawTarget::setForeColor(gfx::kBlack);
        setDrawWidth(1);
        setFontSize(8.25f);
        design();
        if (Backend* b = app().backend()) peer_ = b->createPeer(*this);
        onLoad();
    } catch (...) {
        // A window whose load failed is not left half made.
        if (state_ != State::Unloaded) unloadSilently();
        throw;
    }
    if (state_ == State::Loading) state_ = State::Loaded;
}

void Form::show() {
    load();
    if (!isLoaded()) return;
    if (!visible_) {
        visible_ = true;
        if (peer_) peer_->show();
        changed(nullptr, Property::Visible);
        app().formShown(*this);
        fireResize();
        if (!isLoaded()) return;
        app().activate(*this);
        if (!isLoaded()) return;
        giveInitialFocus();
        return;
    }
    if (peer_) peer_->show();
    app().activate(*this);
}

void Form::showModal() {
    if (state_ == State::Unloaded) modal_ = true;
    struct Reset {
        Form& f;
        ~Reset() { f.modal_ = false; }
    } resetModal{*this};
    load();
    if (!isLoaded()) return;
    app().modalStarted(*this);
    struct End {
        Form& f;
        ~End() { app().modalEnded(f, std::uncaught_exceptions() == 0); }
    } endModal{*this};
    if (!visible_) {
        visible_ = true;
        if (peer_) peer_->show();
        changed(nullptr, Property::Visible);
        fireResize();
    }
    if (!isLoaded()) return;
    app().activate(*this);
    if (!isLoaded()) return;
    giveInitialFocus();
    if (!isLoaded()) return;
    if (Backend* b = app().backend()) b->runModal(*this);
}

void Form::giveInitialFocus() {
    Control* target = initialFocus_;
    initialFocus_ = nullptr;
    if (!target || !target->canFocus()) {
        std::vector<Control*> order = tabOrder();
        target = order.empty() ? nullptr : order.front();
    }
    if (target && !focus_) moveFocus(target);
}

void Form::unload() {
    if (state_ == State::Unloaded || unloading_) return;
    unloading_ = true;
    try {
        if (mdiParent_) {
            // The children go first.
            std::vector<Form*> loaded = app().loadedForms();
            for (Form* f : loaded)
                if (f != this && f->isLoaded() && f->isMdiChild()) f->unload();
        }
        onUnload();
    } catch (...) {
        finishUnload();
        throw;
    }
    finishUnload();
}

void Form::finishUnload() {
    unloading_ = false;
    if (state_ == State::Unloaded) return;
    bool wasModal = modal_;
    state_ = State::Unloaded;
    visible_ = false;
    focus_ = nullptr;
    unchecked_ = nullptr;
    initialFocus_ = nullptr;
    focusMoving_ = false;
    if (peer_) {
        if (Backend* b = app().backend())
            b->destroyPeer(std::move(peer_));
        else
            peer_.reset();
    }
    app().formUnloaded(*this, !wasModal);
}

void Form::unloadSilently() {
    if (state_ == State::Unloaded) return;
    state_ = State::Unloaded;
    visible_ = false;
    unloading_ = false;
    focus_ = nullptr;
    unchecked_ = nullptr;
    initialFocus_ = nullptr;
    focusMoving_ = false;
    if (peer_) {
        if (Backend* b = app().backend())
            b->destroyPeer(std::move(peer_));
        else
            peer_.reset();
    }
    app().formUnloaded(*this, false);
}

// ---- properties ------------------------------------------------------------

const std::string& Form::caption() {
    ensureLoaded();
    return caption_;
}

void Form::setCaption(std::string caption) {
    ensureLoaded();
    caption_ = std::move(caption);
    changed(nullptr, Property::Caption);
}

Twips Form::width() {
    ensureLoaded();
    return static_cast<Twips>(pixelsWide_) * gfx::kTwipsPerPixel;
}

Twips Form::height() {
    ensureLoaded();
    return static_cast<Twips>(pixelsHigh_) * gfx::kTwipsPerPixel;
}

void Form::setWidth(Twips width) {
    ensureLoaded();
    applySize(toPixels(width), pixelsHigh_);
}

void Form::setHeight(Twips height) {
    ensureLoaded();
    applySize(pixelsWide_, toPixels(height));
}

void Form::setSize(Twips width, Twips height) {
    ensureLoaded();
    applySize(toPixels(width), toPixels(height));
}

void Form::userResize(Twips width, Twips height) {
    if (!isLoaded()) return;
    applySize(toPixels(width), toPixels(height));
}

void Form::applySize(int pixelsWide, int pixelsHigh) {
    pixelsWide = std::max(pixelsWide, kFramePixelsWide);
    pixelsHigh = std::max(pixelsHigh, kFramePixelsHigh);
    if (pixelsWide == pixelsWide_ && pixelsHigh == pixelsHigh_) return;
    pixelsWide_ = pixelsWide;
    pixelsHigh_ = pixelsHigh;
    changed(nullptr, Property::Geometry);
    if (visible_ && state_ != State::Unloaded) fireResize();
}

Twips Form::scaleWidth() {
    ensureLoaded();
    return static_cast<Twips>(pixelsWide_ - kFramePixelsWide) * gfx::kTwipsPerPixel;
}

Twips Form::scaleHeight() {
    ensureLoaded();
    return static_cast<Twips>(pixelsHigh_ - kFramePixelsHigh) * gfx::kTwipsPerPixel;
}

void Form::setBackColor(Color c) {
    ensureLoaded();
    WindowTarget::setBackColor(c);
    changed(nullptr, Property::BackColor);
}

void Form::setForeColor(Color c) {
    ensureLoaded();
    DrawTarget::setForeColor(c);
    changed(nullptr, Property::ForeColor);
}

void Form::refresh() {
    if (!isLoaded()) return;
    if (Backend* b = app().backend()) b->flushPaint(*this);
}

// ---- events ----------------------------------------------------------------

void Form::fireClick() {
    if (isLoaded()) onClick();
}

void Form::fireKeyPress(int& keyAscii) {
    if (isLoaded()) onKeyPress(keyAscii);
}

void Form::fireActivate() {
    if (isLoaded()) onActivate();
}

void Form::fireResize() {
    if (isLoaded()) onResize();
}

bool Form::tabFocus(bool backwards) {
    if (!isLoaded()) return false;
    std::vector<Control*> order = tabOrder();
    if (order.empty()) return false;
    auto it = std::find(order.begin(), order.end(), focus_);
    std::size_t n = order.size();
    std::size_t next;
    if (it == order.end()) {
        next = backwards ? n - 1 : 0;
    } else {
        std::size_t i = static_cast<std::size_t>(it - order.begin());
        next = backwards ? (i + n - 1) % n : (i + 1) % n;
    }
    return moveFocus(order[next]);
}

bool Form::moveFocus(Control* target) {
    if (focusMoving_) {
        // Asked from the LostFocus of the control that is losing the focus:
        // the focus goes there instead (back, when it names that control).
        redirected_ = true;
        redirect_ = target;
        return false;
    }
    if (!isLoaded()) return false;
    if (target && (&target->form() != this || !target->canFocus())) return false;
    if (focus_ == target) return true;
    Control* const requested = target;
    // A control left earlier that can no longer take the focus (hidden,
    // disabled, gone with its window) could not get it back from its
    // LostFocus: its check is dropped.
    if (unchecked_ && !unchecked_->canFocus()) unchecked_ = nullptr;
    // The control whose LostFocus is due: the one being left, or one left
    // earlier for controls that do not cause validation.
    Control* leaving = unchecked_ ? unchecked_ : focus_;
    if (target && !target->causesValidation()) {
        unchecked_ = leaving;  // held until the focus moves on
        leaving = nullptr;
    } else {
        unchecked_ = nullptr;
        if (leaving == target) leaving = nullptr;  // back where it was never checked
    }
    if (leaving && leaving->onLostFocus) {
        redirected_ = false;
        redirect_ = nullptr;
        focusMoving_ = true;
        try {
            leaving->onLostFocus();
        } catch (...) {
            focusMoving_ = false;
            throw;
        }
        focusMoving_ = false;
        if (!isLoaded()) return false;
        if (redirected_) {
            redirected_ = false;
            Control* to = redirect_;
            redirect_ = nullptr;
            if (to == leaving) {
                // Put back: the move is cancelled. The control that keeps (or
                // gets back) the focus gets it anew; the other gets nothing.
                focus_ = leaving;
                changed(nullptr, Property::Focus);
                if (leaving->onGotFocus) leaving->onGotFocus();
                return false;
            }
            target = to;
        }
        if (target && !target->canFocus()) target = nullptr;
    }
    focus_ = target;
    changed(nullptr, Property::Focus);
    if (target && target->onGotFocus) target->onGotFocus();
    return target == requested && focus_ == requested;
}

}  // namespace ui
