#include "platform/ui/application.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "platform/ui/printer.h"

namespace ui {

namespace {
void removeForm(std::vector<Form*>& v, const Form* f) { v.erase(std::remove(v.begin(), v.end(), f), v.end()); }
void toBack(std::vector<Form*>& v, Form* f) {
    removeForm(v, f);
    v.push_back(f);
}
}  // namespace

Application& Application::instance() {
    static Application application;
    return application;
}

Application::Application() : printer_(std::make_unique<Printer>()) {}

Printer& Application::printer() { return *printer_; }
Printer& printer() { return app().printer(); }

Form* Application::activeForm() const {
    if (!modal_.empty()) return modal_.back();
    if (active_ && active_->isMdiParent() && activeChild_) return activeChild_;
    return active_;
}

Form* Application::mainForm() const {
    for (Form* f : loaded_)
        if (f->isMdiParent()) return f;
    return nullptr;
}

// ---- window bookkeeping ----------------------------------------------------

void Application::formLoaded(Form& f) {
    if (std::find(loaded_.begin(), loaded_.end(), &f) == loaded_.end()) loaded_.push_back(&f);
}

void Application::formShown(Form&) {}

void Application::activateTopLevel(Form& f) {
    if (active_ == &f) return;
    active_ = &f;
    toBack(activation_, &f);
    if (f.peer()) f.peer()->activate();
    f.fireActivate();
}

void Application::activate(Form& f) {
    if (!f.isLoaded() || !f.isVisible()) return;
    if (!f.isMdiChild()) {
        activateTopLevel(f);
        return;
    }
    Form* main = mainForm();
    if (main && main->isVisible() && modal_.empty() && active_ != main) activateTopLevel(*main);
    if (!f.isLoaded() || activeChild_ == &f) return;
    activeChild_ = &f;
    toBack(children_, &f);
    if (f.peer()) f.peer()->activate();
    f.fireActivate();
}

void Application::formUnloaded(Form& f, bool withEvents) {
    bool wasChild = f.isMdiChild();
    bool wasActiveChild = activeChild_ == &f;
    bool wasActive = active_ == &f;
    removeForm(loaded_, &f);
    removeForm(activation_, &f);
    removeForm(children_, &f);
    if (wasActiveChild) activeChild_ = nullptr;
    if (wasActive) active_ = nullptr;
    if (!withEvents || ended_) return;

    if (wasChild) {
        if (wasActiveChild && !children_.empty()) {
            Form* next = children_.back();
            activeChild_ = next;
            if (next->peer()) next->peer()->activate();
            next->fireActivate();
        }
        // Whenever a child window goes, the main window counts as activated.
        Form* main = mainForm();
        if (main && main->isVisible() && !main->unloading_ && modal_.empty()) {
            if (!active_) active_ = main;
            main->fireActivate();
        }
    } else if (wasActive) {
        for (auto it = activation_.rbegin(); it != activation_.rend(); ++it) {
            if ((*it)->isLoaded() && (*it)->isVisible()) {
                activateTopLevel(**it);
                break;
            }
        }
    }
}

void Application::modalStarted(Form& f) {
    beforeModal_.push_back(active_);
    modal_.push_back(&f);
    loopBase_.push_back(depth_);
}

void Application::modalEnded(Form& f, bool withEvents) {
    auto it = std::find(modal_.rbegin(), modal_.rend(), &f);
    if (it == modal_.rend()) return;
    std::size_t index = static_cast<std::size_t>(modal_.rend() - it) - 1;
    Form* previous = index < beforeModal_.size() ? beforeModal_[index] : nullptr;
    modal_.erase(modal_.begin() + static_cast<std::ptrdiff_t>(index));
    if (index < beforeModal_.size()) beforeModal_.erase(beforeModal_.begin() + static_cast<std::ptrdiff_t>(index));
    if (!loopBase_.empty()) loopBase_.pop_back();
    if (active_ == &f) active_ = nullptr;
    removeForm(activation_, &f);
    if (!withEvents || ended_ || !modal_.empty()) return;
    // The window that was active before the modal one is active again.
    if (previous && previous->isLoaded() && previous->isVisible()) {
        active_ = nullptr;
        activateTopLevel(*previous);
    }
}

// ---- dialogs ---------------------------------------------------------------

int Application::msgBox(const std::string& text, int buttons, int icon, const std::string& title, bool defaultNo) {
    if (buttons != kOkOnly && buttons != kYesNo) rt::raise(rt::kInvalidCall, "message box buttons");
    if (icon != kNoIcon && icon != kCritical && icon != kInformation) rt::raise(rt::kInvalidCall, "message box icon");
    if (!backend_) throw std::logic_error("no user interface for a message box: " + text);
    MessageBoxRequest request{text, title.empty() ? title_ : title, buttons, icon, defaultNo && buttons == kYesNo};
    int answer = backend_->messageBox(request);
    if (buttons == kOkOnly) return kOk;
    return answer == kYes ? kYes : kNo;
}

std::string Application::inputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    if (!backend_) throw std::logic_error("no user interface for an input box: " + prompt);
    InputBoxRequest request{prompt, title.empty() ? title_ : title, defaultText};
    std::optional<std::string> answer = backend_->inputBox(request);
    return answer ? *answer : std::string();
}

void Application::sendKeys(SendKey key) { keys_.push_back(key); }

void Application::sleep(int ms) {
    if (backend_) backend_->sleep(ms < 0 ? 0 : ms);
}

void Application::end() {
    ended_ = true;
    if (backend_) backend_->exit();
    // A backend that cannot end the process: take every window away without
    // its closing logic and unwind the running command.
    std::vector<Form*> loaded = loaded_;
    for (Form* f : loaded) f->unloadSilently();
    keys_.clear();
    printer_->killDoc();
    throw ProgramEnded{};
}

void Application::run(Form& mainForm) {
    dispatch([&] { mainForm.show(); });
    if (!ended_ && backend_ && mainForm.isLoaded()) backend_->run(mainForm);
}

// ---- events ----------------------------------------------------------------

std::string Application::runTimeErrorText(const rt::Error& e) {
    return "Run-time error " + std::to_string(e.number()) + "\n\n" + e.what();
}

void Application::handleUnhandled(const rt::Error& e) {
    if (errorHook_) {
        errorHook_(e);
    } else if (backend_) {
        backend_->messageBox(MessageBoxRequest{runTimeErrorText(e), title_, kOkOnly, kCritical, false});
    } else {
        throw e;
    }
}

void Application::dispatch(const std::function<void()>& event) {
    if (ended_) return;
    ++depth_;
    try {
        event();
    } catch (const ProgramEnded&) {
        --depth_;
        if (depth_ > 0) throw;
        return;
    } catch (const rt::Error& e) {
        try {
            handleUnhandled(e);
        } catch (...) {
            --depth_;
            throw;
        }
    } catch (const std::bad_alloc&) {
        try {
            handleUnhandled(rt::Error(rt::kOutOfMemory));
        } catch (...) {
            --depth_;
            throw;
        }
    } catch (...) {
        --depth_;
        throw;
    }
    --depth_;
    int base = loopBase_.empty() ? 0 : loopBase_.back();
    if (depth_ == base && !ended_) afterEvent();
}

void Application::afterEvent() {
    // Keystrokes sent by the handler that just returned.
    while (!keys_.empty() && !ended_) {
        SendKey key = keys_.front();
        keys_.pop_front();
        dispatch([this, key] { deliverKey(key); });
    }
    // A printout that the finished command left unended failed half way.
    // (With no command running at all, any unended printout is such a one.)
    if (printer_->started() && (depth_ == 0 || printer_->beganDepth() > depth_)) printer_->killDoc();
}

void Application::deliverKey(SendKey key) {
    if (Form* f = activeForm()) f->tabFocus(key == SendKey::ShiftTab);
}

void Application::reset() {
    std::vector<Form*> loaded = loaded_;
    for (Form* f : loaded) f->unloadSilently();
    forms_.clear();
    loaded_.clear();
    activation_.clear();
    children_.clear();
    modal_.clear();
    beforeModal_.clear();
    active_ = nullptr;
    activeChild_ = nullptr;
    keys_.clear();
    loopBase_.clear();
    depth_ = 0;
    ended_ = false;
    errorHook_ = nullptr;
    title_.clear();
    appDir_.clear();
    printer_ = std::make_unique<Printer>();
}

}  // namespace ui
