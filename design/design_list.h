#pragma once
// What the screw and barrel designers share: the design list, the edited
// design file and the messages of a load that cannot open the window. The
// die designer shares the save dialog.
//
// The design list is the design in axial order (a 1-based list of records,
// published in the shared state) shown one item per element. An add goes
// directly behind the selected element and selects the new one; with none
// selected it goes to the end and the first item is selected. A remove
// selects the element before the removed one, or the new first one.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/rt/error.h"
#include "platform/ui/controls.h"
#include "records/design_files.h"
#include "records/one_based_list.h"

namespace design {

template <class Rec>
class DesignList {
public:
    // The item that shows the element at a 1-based position.
    using ItemText = std::string (*)(int position, const Rec& element);

    // most: the largest design whose file the 16-bit record numbers still
    // address.
    DesignList(records::OneBasedList<Rec>& design, ui::ListBox& list, ItemText itemText, int most)
        : design_(design), list_(list), itemText_(itemText), most_(most) {}

    const std::vector<Rec>& elements() const { return design_.items(); }
    int count() const { return design_.count(); }
    bool full() const { return count() >= most_; }

    void add(const Rec& element) {
        const int p = list_.listIndex();
        if (p < 0) {
            design_.push_back(element);
            list_.addItem(itemText_(count(), element));
            list_.setListIndex(0);
            return;
        }
        std::vector<Rec>& v = design_.items();
        v.insert(v.begin() + (p + 1), element);
        fill();
        list_.setListIndex(p + 1);
    }

    enum class Removal { NoneSelected, OnlyElement, Removed };
    // The only element is not removed here: the list is cleared and the
    // designer loads again (an empty new design, or the edited file's).
    Removal remove() {
        const int p = list_.listIndex();
        if (p < 0) return Removal::NoneSelected;
        if (list_.listCount() == 1) {
            list_.clear();
            return Removal::OnlyElement;
        }
        std::vector<Rec>& v = design_.items();
        v.erase(v.begin() + p);
        fill();
        list_.setListIndex(p > 0 ? p - 1 : 0);
        return Removal::Removed;
    }

    // One item per element, renumbered from 1.
    void fill() {
        list_.clear();
        for (int i = 1; i <= count(); ++i) list_.addItem(itemText_(i, design_.at(i)));
    }

private:
    records::OneBasedList<Rec>& design_;
    ui::ListBox& list_;
    ItemText itemText_;
    int most_;
};

// One total of a designer inside its totals frame: the label from its left
// up to the text box, the box (285 twips high) beside it.
void placeTotal(ui::Frame& frame, ui::Label& label, ui::TextBox& box, gfx::Twips labelLeft, gfx::Twips boxLeft,
                gfx::Twips top, gfx::Twips boxWidth, const char* caption);

// Selects item i when the list holds it; leaves the selection otherwise.
void selectIfPresent(ui::ListBox& list, int i);

// A path as the user reads it, with the platform's separator.
std::string shownPath(const std::string& path);

// "<path> cannot be read" with the error's description, under this title.
void tellUnreadable(const std::string& path, const rt::Error& e, const std::string& title);

// "Incorrect file format!" under this title.
void tellIncorrectFormat(const std::string& title);

// Reads a file with the reader; on an error tells the user and returns false.
template <class Rec, class Reader>
bool readOrTell(const std::string& path, const std::string& title, Reader read, std::vector<Rec>& out) {
    try {
        out = read(path);
        return true;
    } catch (const rt::Error& e) {
        tellUnreadable(path, e, title);
        return false;
    }
}

// Every record of an edited screw or barrel file, header first. A file that
// holds fewer records than its header and fixed records, or whose header has
// not the marker of its kind, is no design: "Incorrect file format!" under
// this title, and false.
template <class Rec, class Reader>
bool readEditedDesign(const std::string& path, std::size_t fixedRecords, const std::string& title, Reader read,
                      std::vector<Rec>& out) {
    if (!readOrTell(path, title, read, out)) return false;
    if (out.size() < fixedRecords || !records::hasMarker(out.front())) {
        tellIncorrectFormat(title);
        return false;
    }
    return true;
}

// Presets the save dialog (file name pattern, initial directory AppDir,
// filter, cancel error) and opens it; returns the dialog's file name.
std::string chooseSaveFile(ui::CommonDialog& dialog, const std::string& pattern, const std::string& filter,
                           bool cancelError);

}  // namespace design
