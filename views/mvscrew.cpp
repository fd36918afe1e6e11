#include "views/mvscrew.h"

#include <algorithm>
#include <string>

#include "platform/rt/error.h"
#include "platform/ui/printer.h"
#include "state/state.h"
#include "views/painters.h"

mvscrew::mvscrew() : ui::Form("mvscrew"), nav_({200, 20, true, false}, [this] { DrawScrewPreview(); }) {
    Command7.onClick = [this] { Form_Load(); };
    Command8.onClick = [this] { Command8_Click(); };
    Command9.onClick = [this] { PrintScrewPreview(); };
}

void mvscrew::design() {
    setCaption("View Screw - Edit window");
    setSize(8000, 5000);
    nav_.placeButtons(Command1, Command2, Command3, Command4, Command5, Command6, "Zoon in");
    Command7.create(4560, 0, 975, views::kButtonHeight, "Reload");
    Command8.create(5640, 0, 1095, views::kButtonHeight, "Fit Screen");
    // "Print" as wide as "Reload": at 1095 twips its right edge would lie
    // past the client area of a window 8000 twips wide.
    Command9.create(6840, 0, 975, views::kButtonHeight, "Print");
}

void mvscrew::Form_Load() {
    radius_ = shared::ScrewDesignRadius;
    length_ = shared::ScrewDesignLength;
    count_ = shared::ScrewDesignCount;
    setWidth(8000);
    nav_.scale = views::fittedScale(width() * 0.95, 3.577 * radius_ + length_);
    nav_.setOffset(100);
    DrawScrewPreview();
}

std::span<const records::ScrewRec> mvscrew::elements() const {
    const auto& design = shared::ScrewDesign.items();
    return {design.data(), static_cast<std::size_t>(std::clamp<int>(count_, 0, static_cast<int>(design.size())))};
}

void mvscrew::DrawScrewPreview() {
    cls();
    rt::endQuietlyOnError([&] {
        views::PaintScrew(*this, radius_, nav_.scale, nav_.offset(), height() / 2 - 300, elements(), true);
        refresh();
    });
}

// Print: the elements 8000 twips long at the window's offset, under the code
// and the element count of the last load; the window's view stays.
void mvscrew::PrintScrewPreview() {
    cls();
    rt::endQuietlyOnError([&] {
        ui::Printer& page = ui::printer();
        page.endLine();
        page.endLine();
        page.text(views::starLine(shared::ExtruderCategory)).endLine();
        page.text(" Number of elements : " + std::to_string(count_)).endLine();
        views::PaintScrew(page, radius_, views::fittedScale(8000, length_), nav_.offset(), 1500, elements(), true);
        page.endDoc();
    });
    DrawScrewPreview();
}

// Fit Screen (also on every resize): the screw with root and head over 95 %
// of the window's width, with the designer's current radius; offset kept.
void mvscrew::Command8_Click() {
    nav_.scale = views::fittedScale(width() * 0.95, 3.577 * shared::ScrewDesignRadius + length_);
    DrawScrewPreview();
}

void mvscrew::onUnload() { shared::ScrewPreviewFlag = -1; }
