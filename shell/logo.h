#pragma once
// The splash window shown modally at start-up. A click on it, a click on its
// picture or a character key closes it; each way empties the extruder code.
#include "platform/gfx/display_list.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class logo : public ui::Form {
public:
    logo();

    ui::Image Image1{*this, "Image1"};

protected:
    void design() override;
    void onClick() override { Form_Click(); }
    void onKeyPress(int& keyAscii) override { Form_KeyPress(keyAscii); }

private:
    void Form_Click();
    void Form_KeyPress(int& keyAscii);
    void Image1_Click();
    void closeSplash();
};

namespace shell {

// The splash picture: a twin-screw pair in its barrel under the program's
// name, drawn in a frame of width by height twips.
gfx::Picture splashPicture(gfx::Twips width, gfx::Twips height);

}  // namespace shell
