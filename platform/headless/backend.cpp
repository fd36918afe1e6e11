#include "platform/headless/headless.h"

namespace headless {

namespace {

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

// The headless mirror of a window: the state is the core's; nothing to do.
class Peer : public ui::FormPeer {
public:
    void changed(const ui::Control*, ui::Property) override {}
    void show() override {}
    void activate() override {}
};

}  // namespace

Backend::Backend() = default;
Backend::~Backend() = default;

Script::Step Backend::next(Script::Kind kind, const std::string& what) {
    if (script_.steps_.empty()) throw ScriptError("unexpected " + what + ": the script has no answer left");
    if (script_.steps_.front().kind != kind)
        throw ScriptError("unexpected " + what + ": the script expected " + script_.describe(script_.steps_.front()));
    Script::Step step = std::move(script_.steps_.front());
    script_.steps_.pop_front();
    return step;
}

std::unique_ptr<ui::FormPeer> Backend::createPeer(ui::Form&) { return std::make_unique<Peer>(); }

void Backend::destroyPeer(std::unique_ptr<ui::FormPeer> peer) { peer.reset(); }

int Backend::messageBox(const ui::MessageBoxRequest& request) {
    std::string what = "message box " + inQuotes(request.text) + " (title " + inQuotes(request.title) + ")";
    Script::Step step = next(Script::Kind::Message, what);
    if (step.text && *step.text != request.text)
        throw ScriptError(what + ": the script expected the text " + inQuotes(*step.text));
    if (step.title && *step.title != request.title)
        throw ScriptError(what + ": the script expected the title " + inQuotes(*step.title));
    bool yesNo = request.buttons == ui::kYesNo;
    bool valid = yesNo ? (step.button == ui::kYes || step.button == ui::kNo) : step.button == ui::kOk;
    if (!valid) throw ScriptError(what + ": it has no button " + std::to_string(step.button));
    messages_.push_back({request, step.button});
    return step.button;
}

std::vector<std::string> Backend::messageTexts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& m : messages_) texts.push_back(m.request.text);
    return texts;
}

std::optional<std::string> Backend::inputBox(const ui::InputBoxRequest& request) {
    std::string what = "input box " + inQuotes(request.prompt) + " (title " + inQuotes(request.title) + ")";
    Script::Step step = next(Script::Kind::Input, what);
    if (step.text && *step.text != request.prompt)
        throw ScriptError(what + ": the script expected the prompt " + inQuotes(*step.text));
    if (step.title && *step.title != request.title)
        throw ScriptError(what + ": the script expected the title " + inQuotes(*step.title));
    inputs_.push_back(request);
    if (step.cancel) return std::nullopt;
    return step.value;
}

std::optional<ui::FileDialogChoice> Backend::fileDialog(const ui::FileDialogRequest& request) {
    std::string what = std::string(request.kind == ui::FileDialogKind::Save ? "save" : "open") + " dialog for " +
                       inQuotes(request.fileName) + " (filter " + inQuotes(request.filter) + ")";
    Script::Step step = next(Script::Kind::File, what);
    if (step.fileKind && *step.fileKind != request.kind)
        throw ScriptError(what + ": the script expected a " +
                          (*step.fileKind == ui::FileDialogKind::Save ? "save" : "open") + " dialog");
    fileDialogs_.push_back(request);
    if (step.cancel) return std::nullopt;
    // The user keeps the filter the dialog opens with.
    return ui::FileDialogChoice{step.value, request.openingPattern()};
}

std::optional<ui::PrinterSettings> Backend::printerSetup(const ui::PrinterSettings& current) {
    Script::Step step = next(Script::Kind::Printer, "printer setup");
    if (step.cancel) return std::nullopt;
    ui::PrinterSettings chosen = current;
    chosen.name = step.value;
    printer_ = chosen;
    return chosen;
}

void Backend::print(const ui::PrintJob& job) {
    if (failPrinting_) rt::raise(rt::kDeviceIOError, "printer");
    printed_.push_back(job);
}

void Backend::runModal(ui::Form& form) {
    if (!form.isLoaded()) return;
    std::string what = "modal window " + form.className();
    Script::Step step = next(Script::Kind::Modal, what);
    if (step.value != form.className())
        throw ScriptError(what + ": the script expected the modal window " + step.value);
    if (!driver_) throw ScriptError(what + ": no driver to play the user");
    if (step.actions) step.actions(*driver_);
    if (form.isLoaded()) throw ScriptError(what + " is still open after its scripted actions");
}

void Backend::flushPaint(ui::Form&) { ++flushes_; }

void Backend::sleep(int ms) { clockMs_ += ms; }

void Backend::run(ui::Form&) {}

}  // namespace headless
