#include "platform/ui/printer.h"

#include "platform/rt/error.h"
#include "platform/ui/application.h"

namespace ui {

namespace {
constexpr float kDefaultFontSize = 10.0f;
}

const PrinterSettings& Printer::settings() {
    if (!haveSettings_) {
        if (Backend* b = app().backend()) {
            settings_ = b->defaultPrinter();
            haveSettings_ = true;
            setPageSize(settings_.pageWidth, settings_.pageHeight);
        }
    }
    return settings_;
}

void Printer::setSettings(PrinterSettings settings) {
    settings_ = std::move(settings);
    haveSettings_ = true;
    setPageSize(settings_.pageWidth, settings_.pageHeight);
}

void Printer::began() {
    beganDepth_ = app().dispatchDepth();
    settings();
}

void Printer::flushColumns(bool all) {
    for (const std::string& line : columns_.takeLines()) printLine(line);
    if (all && !columns_.currentLine().empty()) print(columns_.takeCurrentLine());
}

Printer& Printer::tab(long column) {
    columns_.tab(column);
    flushColumns(false);
    return *this;
}

Printer& Printer::text(std::string_view s) {
    columns_.text(s);
    flushColumns(false);
    return *this;
}

Printer& Printer::number(double value) {
    columns_.number(value);
    flushColumns(false);
    return *this;
}

Printer& Printer::number(int value) {
    columns_.number(value);
    flushColumns(false);
    return *this;
}

Printer& Printer::endLine() {
    columns_.endLine();
    flushColumns(false);
    return *this;
}

std::size_t Printer::charactersPerLine() {
    settings();
    return static_cast<std::size_t>(scaleWidth() / gfx::charWidth(fontSize()));
}

void Printer::resetDocument() {
    (void)columns_.takeLines();
    (void)columns_.takeCurrentLine();
    setFontSize(kDefaultFontSize);
    setDrawWidth(1);
    setForeColor(gfx::kBlack);
    setCurrentX(0);
    setCurrentY(0);
}

void Printer::endDoc() {
    flushColumns(true);
    if (!started()) {
        resetDocument();
        return;
    }
    PrintJob job{settings(), takePages()};
    resetDocument();
    Backend* b = app().backend();
    if (!b) rt::raise(rt::kDeviceIOError, "no printer");
    b->print(job);
}

void Printer::killDoc() {
    discard();
    resetDocument();
}

}  // namespace ui
