#include "views/navigation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace views {

ViewNavigation::ViewNavigation(Config config, std::function<void()> repaint)
    : config_(config), repaint_(std::move(repaint)) {}

void ViewNavigation::setOffset(double offset) {
    if (config_.wholeOffset)
        offset_ = static_cast<float>(std::clamp(std::round(offset), -32768.0, 32767.0));
    else
        offset_ = static_cast<float>(offset);
}

void ViewNavigation::zoomIn() {
    scale += 0.5f;
    if (scale != 300.0f) repaint_();
}

void ViewNavigation::zoomOut() {
    scale -= 0.5f;
    if (scale > 0)
        repaint_();
    else
        scale = 1.0f;
}

void ViewNavigation::panLargeRight() {
    setOffset(static_cast<double>(offset_) + config_.largeStep);
    repaint_();
}

void ViewNavigation::panRight() {
    setOffset(static_cast<double>(offset_) + config_.smallStep);
    if (!(config_.stillAt30000 && offset_ == 30000.0f)) repaint_();
}

void ViewNavigation::panLeft() {
    setOffset(static_cast<double>(offset_) - config_.smallStep);
    repaint_();
}

void ViewNavigation::panLargeLeft() {
    setOffset(static_cast<double>(offset_) - config_.largeStep);
    repaint_();
}

void ViewNavigation::placeButtons(ui::CommandButton& zoomIn, ui::CommandButton& zoomOut,
                                  ui::CommandButton& largeRight, ui::CommandButton& right, ui::CommandButton& left,
                                  ui::CommandButton& largeLeft, std::string zoomInCaption) {
    zoomIn.create(0, 0, 975, kButtonHeight, std::move(zoomInCaption));
    zoomOut.create(1080, 0, 975, kButtonHeight, "Zoom out");
    largeRight.create(2160, 0, 495, kButtonHeight, "||<<");
    right.create(2760, 0, 495, kButtonHeight, "<<");
    left.create(3360, 0, 495, kButtonHeight, ">>");
    largeLeft.create(3960, 0, 495, kButtonHeight, ">>||");
    zoomIn.onClick = [this] { this->zoomIn(); };
    zoomOut.onClick = [this] { this->zoomOut(); };
    largeRight.onClick = [this] { panLargeRight(); };
    right.onClick = [this] { panRight(); };
    left.onClick = [this] { panLeft(); };
    largeLeft.onClick = [this] { panLargeLeft(); };
}

float fittedScale(double extent, double length) {
    const double q = extent / length;
    if (!(q > 0) || q > std::numeric_limits<float>::max()) return 1.0f;
    const float scale = static_cast<float>(q);
    return scale > 0 ? scale : 1.0f;
}

std::string starLine(std::string_view text) {
    const std::string stars = " ******************** ";
    return stars + std::string(text) + stars;
}

}  // namespace views
