#include "views/mvbarrel.h"

#include <algorithm>
#include <string>

#include "platform/rt/error.h"
#include "platform/ui/printer.h"
#include "state/state.h"
#include "views/painters.h"

mvbarrel::mvbarrel() : ui::Form("mvbarrel"), nav_({200, 20, false, false}, [this] { DrawBarrelPreview(); }) {
    Command7.onClick = [this] { Form_Load(); };
    Command8.onClick = [this] { Form_Load(); };
    Command9.onClick = [this] { PrintBarrelPreview(); };
}

void mvbarrel::design() {
    setCaption("Form1");
    setSize(8000, 5000);
    nav_.placeButtons(Command1, Command2, Command3, Command4, Command5, Command6);
    Command7.create(4560, 0, 975, views::kButtonHeight, "reload");
    Command8.create(5640, 0, 1095, views::kButtonHeight, "Fit Screen");
    Command9.create(6840, 0, 975, views::kButtonHeight, "Print");
}

// Also "reload" and "Fit Screen": the window back to 8000 twips wide and the
// design over 95 % of it, 100 twips in.
void mvbarrel::Form_Load() {
    setWidth(8000);
    nav_.scale = views::fittedScale(width() * 0.95, shared::BarrelDesignLength);
    nav_.setOffset(100);
    DrawBarrelPreview();
}

std::span<const records::BarrelRec> mvbarrel::blocks() {
    const auto& design = shared::BarrelDesign.items();
    const int n = std::clamp<int>(shared::BarrelDesignCount, 0, static_cast<int>(design.size()));
    return {design.data(), static_cast<std::size_t>(n)};
}

void mvbarrel::DrawBarrelPreview() {
    cls();
    rt::endQuietlyOnError([&] {
        views::PaintBarrel(*this, blocks(), nav_.scale, nav_.offset(), height() / 2 - 200,
                           views::BarrelOrder::OutlineFirst);
    });
}

// Print: the design 8000 twips long at the window's offset, under the code
// and the block count; the window's view stays.
void mvbarrel::PrintBarrelPreview() {
    cls();
    rt::endQuietlyOnError([&] {
        ui::Printer& page = ui::printer();
        page.endLine();
        page.endLine();
        page.text(views::starLine(shared::ExtruderCategory)).endLine();
        page.text(" Number of elements : " + std::to_string(shared::BarrelDesignCount)).endLine();
        views::PaintBarrel(page, blocks(), views::fittedScale(8000, shared::BarrelDesignLength), nav_.offset(),
                           height() / 2 - 200, views::BarrelOrder::TypeFirst);
        page.endDoc();
    });
    DrawBarrelPreview();
}
