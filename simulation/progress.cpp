#include "simulation/progress.h"

#include <string>

#include "platform/rt/numtext.h"

progress::progress() : ui::Form("progress") {}

void progress::design() {
    setCaption("Calculating.....");
    Label1.create(240, 300, 1200, 285, "Iteration");
    Text1.create(1560, 240, 1800, 345);
    Label2.create(240, 780, 1200, 285, "Residual");
    Text2.create(1560, 720, 1800, 345);
    setSize(3840, 1620 + 27 * 15);
}

void progress::showIteration(int iteration, float residual) {
    show();
    Text1.setText(std::to_string(iteration));
    Text2.setText(rt::generalForm(residual));
    refresh();
    Text1.refresh();
    Text2.refresh();
}
