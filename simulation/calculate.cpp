#include "simulation/calculate.h"

#include "platform/rt/error.h"
#include "platform/ui/application.h"
#include "simulation/calculation.h"
#include "simulation/progress.h"
#include "state/state.h"

namespace {

// The run's user: message boxes, the progress window and the window's own
// save dialog.
class WindowUser : public sim::CalculationUser {
public:
    explicit WindowUser(calculate& window) : window_(window) {}

    void message(const sim::UserMessage& m) override {
        ui::msgBox(m.text, ui::kOkOnly, static_cast<int>(m.icon), m.title);
    }
    bool ask(const sim::UserMessage& q) override {
        return ui::msgBox(q.text, ui::kYesNo, static_cast<int>(q.icon), q.title, true) == ui::kYes;
    }
    void showProgress(int iteration, float residual) override {
        ui::form<progress>().showIteration(iteration, residual);
    }
    void closeProgress() override { ui::form<progress>().unload(); }
    void pause(int milliseconds) override { ui::sleep(milliseconds); }
    std::optional<std::string> chooseResultFile() override {
        ui::CommonDialog& dialog = window_.dlgCMDialog;
        dialog.preset("*.flw", shared::AppDir, "Flow file(*.flw)|*.flw");
        dialog.setCancelError(true);
        try {
            dialog.showSave();
        } catch (const rt::Error&) {
            return std::nullopt;
        }
        return dialog.fileName();
    }
    void closeCalculation() override { window_.unload(); }

private:
    calculate& window_;
};

}  // namespace

calculate::calculate() : ui::Form("calculate") {}

void calculate::design() {
    setCaption("Calculating");
    dlgCMDialog.create();
}

void calculate::Form_Load() {
    WindowUser user(*this);
    sim::runCalculation({shared::AppDir, shared::TempDir}, user);
    unload();
}
