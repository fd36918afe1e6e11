#pragma once
// What the three element editors share: the records of one element file in
// memory, the list that shows them, the record number label that names the
// record the boxes belong to, and the Accept / Add / Edit buttons whose
// enabled states make the edit mode. Each editor keeps its own boxes, combo,
// captions and messages, and calls these from its own handlers.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "elements/element_db.h"
#include "platform/ui/controls.h"

namespace elements {

// "An element file holds at most <most> elements." under this title.
void tellFull(int most, const std::string& title);

template <class Rec>
class ElementList {
public:
    ElementList(ui::ListBox& list, ui::Label& number, ui::CommandButton& accept, ui::CommandButton& add,
                ui::CommandButton& edit)
        : list_(list), number_(number), accept_(accept), add_(add), edit_(edit) {}

    const std::vector<Rec>& records() const { return recs_; }
    int count() const { return static_cast<int>(recs_.size()); }
    // Record r, 1-based; r must name a record held.
    Rec& record(int r) { return recs_[static_cast<std::size_t>(r - 1)]; }

    void assign(std::vector<Rec> recs) { recs_ = std::move(recs); }

    // One item per record: its number, " : ", its code at full width. Item k
    // (from 0) is record k + 1; no item is left selected.
    void fill() {
        list_.clear();
        for (int r = 1; r <= count(); ++r) list_.addItem(listItem(r, record(r).Code));
    }

    // The record of the selected item, or 0 when none is selected.
    int selected() const {
        const int i = list_.listIndex();
        return i >= 0 && i < count() ? i + 1 : 0;
    }

    // The record the label names, or 0 when it names none held.
    int shown() const {
        const int r = shownRecord(number_.caption());
        return r <= count() ? r : 0;
    }
    void showNumber(int r) { number_.setCaption(std::to_string(r)); }

    // Browsing: Accept disabled, Add and Edit enabled; editing the reverse.
    void setEditing(bool editing) {
        accept_.setEnabled(editing);
        add_.setEnabled(!editing);
        edit_.setEnabled(!editing);
    }

    // Edit and Add: record r goes into the boxes (show(r)), editing starts
    // and the list is filled again with no item selected.
    template <class Show>
    void edit(int r, Show&& show) {
        show(r);
        setEditing(true);
        fill();
    }

    // Delete: removes the selected record and fills the list again; false,
    // with nothing removed, when no item is selected.
    bool removeSelected() {
        const int k = selected();
        if (k == 0) return false;
        remove(k);
        fill();
        return true;
    }

    // The most records an element file can hold: numbered by a 16-bit count.
    static constexpr int kMostRecords = 32767;

    // Appends a record with an empty code, zero numbers and hand 0; returns
    // its number. When the count already is the most a file can hold, says so
    // under this title and returns 0.
    int add(const std::string& title) {
        if (count() >= kMostRecords) {
            tellFull(kMostRecords, title);
            return 0;
        }
        recs_.emplace_back();
        return count();
    }

    // Removes record k; the records after it move down one place. The label
    // keeps naming the record the boxes came from; when that is record k the
    // label is cleared and editing ends, so Accept never stores into a
    // record that is no longer held.
    void remove(int k) {
        recs_.erase(recs_.begin() + (k - 1));
        const int was = shownRecord(number_.caption());
        if (was > 0) {
            const int now = shownAfterDelete(was, k);
            number_.setCaption(now > 0 ? std::to_string(now) : std::string());
            if (now == 0) setEditing(false);
        }
    }

private:
    std::vector<Rec> recs_;
    ui::ListBox& list_;
    ui::Label& number_;
    ui::CommandButton& accept_;
    ui::CommandButton& add_;
    ui::CommandButton& edit_;
};

// The current extruder code is blank or cannot name an element file: says so
// (a blank code as the main window does, any other under this title) and
// returns true (the window then closes without reading a file).
bool refuseExtruderCode(const std::string& title);

// The outcomes of reading the boxes of Accept in order: when one names a
// value that is not a number, shows the first such message under this title
// and returns false.
bool allNumbers(std::initializer_list<std::string> faults, const std::string& title);

// The hand combo of the screw and kneading editors: items "Left" (-1) and
// "Right" (1). A list click shows a stored hand; other values leave it.
void showHand(ui::ComboBox& combo, std::int16_t hand);
// The hand of the selected item; false when none is selected.
bool chosenHand(const ui::ComboBox& combo, std::int16_t& hand);

}  // namespace elements
