#pragma once
// Zoom and pan of a geometry window. The window keeps two view values, a
// scale (twips per mm of the drawn object) and an x offset (twips added to
// every x); the six buttons at the start of its button row change them and
// repaint through the window's one painting routine. Each window configures
// its pan steps and the type of its offset.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/ui/controls.h"

namespace views {

class ViewNavigation {
public:
    struct Config {
        float largeStep = 600;  // "||<<" adds it, ">>||" takes it away
        float smallStep = 200;  // "<<" adds it, ">>" takes it away
        // A 16-bit offset stops at -32768 and 32767; otherwise it is a single.
        bool wholeOffset = false;
        // "<<" leaves the drawing as it is when the offset becomes exactly 30000.
        bool stillAt30000 = false;
    };

    ViewNavigation(Config config, std::function<void()> repaint);

    float scale = 1;
    float offset() const { return offset_; }
    void setOffset(double offset);

    // Scale + 0.5; repainted unless it is then exactly 300.
    void zoomIn();
    // Scale − 0.5; at 0 or below the scale becomes 1.0 without a repaint.
    void zoomOut();
    // The drawing moves right ("||<<", "<<") or left (">>", ">>||").
    void panLargeRight();
    void panRight();
    void panLeft();
    void panLargeLeft();

    // Creates the six buttons along the top of the window (375 twips high)
    // and gives them these actions: zoom in, zoom out, "||<<", "<<", ">>",
    // ">>||". Called from the window's design.
    void placeButtons(ui::CommandButton& zoomIn, ui::CommandButton& zoomOut, ui::CommandButton& largeRight,
                      ui::CommandButton& right, ui::CommandButton& left, ui::CommandButton& largeLeft,
                      std::string zoomInCaption = "Zoom in");

private:
    Config config_;
    std::function<void()> repaint_;
    float offset_ = 0;
};

// The height of the window's button row.
inline constexpr float kButtonHeight = 375;

// extent / length as a scale in twips per mm; a quotient that is not a
// positive finite single (a length of 0, a garbage header) gives 1.0.
float fittedScale(double extent, double length);

// The star line that heads the printed drawings:
// " ******************** " & text & " ******************** ".
std::string starLine(std::string_view text);

}  // namespace views
