#pragma once
// The calculation window: the host of one calculation run. Its load runs the
// whole calculation with the user's answers (message boxes, the progress
// window, its own save dialog) and then unloads it, so it never appears.
#include <optional>
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class calculate : public ui::Form {
public:
    calculate();

    // The save dialog of the result.
    ui::CommonDialog dlgCMDialog{*this, "dlgCMDialog"};

    // Runs the calculation, then unloads the window, whether the run
    // finished or stopped after its message.
    void Form_Load();

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
};
