#pragma once
// The progress window of a calculation: the iteration that just ended and its
// residual (the sum of the squared changes of the melt temperatures). The run
// holds the GUI thread, so every update is painted at once.
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class progress : public ui::Form {
public:
    progress();

    ui::Label Label1{*this, "Label1"};
    ui::TextBox Text1{*this, "Text1"};
    ui::Label Label2{*this, "Label2"};
    ui::TextBox Text2{*this, "Text2"};

    // Shows the window (modeless, loaded on first use) with the iteration
    // number and the residual in their plain text forms, and paints it.
    void showIteration(int iteration, float residual);

protected:
    void design() override;
};
