#include "design/design_list.h"

#include "platform/io/files.h"
#include "platform/ui/application.h"
#include "state/state.h"

namespace design {

void placeTotal(ui::Frame& frame, ui::Label& label, ui::TextBox& box, gfx::Twips labelLeft, gfx::Twips boxLeft,
                gfx::Twips top, gfx::Twips boxWidth, const char* caption) {
    label.create(labelLeft, top, boxLeft - labelLeft - 60, 255, caption).setContainer(frame);
    box.create(boxLeft, top, boxWidth, 285).setContainer(frame);
}

void selectIfPresent(ui::ListBox& list, int i) {
    if (i >= 0 && i < list.listCount()) list.setListIndex(i);
}

std::string shownPath(const std::string& path) {
    try {
        return io::nativePath(path);
    } catch (const rt::Error&) {
        return path;
    }
}

void tellUnreadable(const std::string& path, const rt::Error& e, const std::string& title) {
    ui::msgBox("The file " + shownPath(path) + " cannot be read: " + e.description() + ".", ui::kOkOnly,
               ui::kNoIcon, title);
}

void tellIncorrectFormat(const std::string& title) {
    ui::msgBox("Incorrect file format!", ui::kOkOnly, ui::kNoIcon, title);
}

std::string chooseSaveFile(ui::CommonDialog& dialog, const std::string& pattern, const std::string& filter,
                           bool cancelError) {
    dialog.preset(pattern, shared::AppDir, filter);
    dialog.setCancelError(cancelError);
    dialog.showSave();
    return dialog.fileName();
}

}  // namespace design
