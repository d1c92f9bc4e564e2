#include "display_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "option_value.h"

namespace {

constexpr double kMaxScale = 64.0;

// (x, y) turned clockwise by rotation degrees, y upwards.
void turn(int rotation, double x, double y, double* u, double* v)
{
    switch (rotation) {
    case 90: *u = y, *v = -x; break;
    case 180: *u = -x, *v = -y; break;
    case 270: *u = -y, *v = x; break;
    default: *u = x, *v = y; break;
    }
}

bool parseScale(const std::string& text, PlacementOptions* options)
{
    if (text == "fit") {
        options->fit = true;
        return true;
    }
    char* end = nullptr;
    const double scale = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end || !std::isfinite(scale) || scale <= 0.0 || scale > kMaxScale)
        return false;
    options->fit = false;
    options->scale = scale;
    return true;
}

}  // namespace

bool takePlacementOptions(int* argc, char** argv, PlacementOptions* options, std::string* error)
{
    std::string value;
    bool given = false;
    if (!takeOptionValue(argc, argv, "--scale", "fit or a factor such as 1", &value, &given, error))
        return false;
    if (given && !parseScale(value, options)) {
        *error = "--scale takes fit or a factor above 0 up to 64 (1: pixels 1:1), not '" + value + "'";
        return false;
    }
    if (!takeOptionValue(argc, argv, "--rotate", "0, 90, 180 or 270", &value, &given, error))
        return false;
    if (given) {
        if (value != "0" && value != "90" && value != "180" && value != "270") {
            *error = "--rotate takes 0, 90, 180 or 270 (degrees clockwise), not '" + value + "'";
            return false;
        }
        options->rotation = std::atoi(value.c_str());
    }
    // --mirror takes no value: every occurrence goes, twice is an error.
    int kept = *argc > 0 ? 1 : 0;
    int mirrors = 0;
    for (int i = 1; i < *argc; ++i) {
        if (std::string(argv[i]) == "--mirror")
            ++mirrors;
        else
            argv[kept++] = argv[i];
    }
    argv[kept] = nullptr;
    *argc = kept;
    if (mirrors > 1) {
        *error = "--mirror is given more than once";
        return false;
    }
    if (mirrors)
        options->mirrored = true;
    return true;
}

DisplayPlacement::DisplayPlacement(int displayWidth, int displayHeight, double margin,
                                   const PlacementOptions& options)
    : displayWidth_(std::max(1, displayWidth)), displayHeight_(std::max(1, displayHeight)),
      margin_(std::max(0.0, margin)), options_(options)
{
}

void DisplayPlacement::NaturalViewSize(int* width, int* height) const
{
    const double scale = options_.fit ? 1.0 : options_.scale;
    const int w = static_cast<int>(std::lround((displayWidth_ + margin_) * scale));
    const int h = static_cast<int>(std::lround((displayHeight_ + margin_) * scale));
    const bool sideways = options_.rotation == 90 || options_.rotation == 270;
    *width = std::max(1, sideways ? h : w);
    *height = std::max(1, sideways ? w : h);
}

ViewPlacement DisplayPlacement::Place(int viewWidth, int viewHeight) const
{
    ViewPlacement placed;
    placed.viewWidth_ = std::max(1, viewWidth);
    placed.viewHeight_ = std::max(1, viewHeight);
    placed.displayWidth_ = displayWidth_;
    placed.displayHeight_ = displayHeight_;

    // The area shown is the display with its margin left of and below it.
    const double areaWidth = displayWidth_ + margin_;
    const double areaHeight = displayHeight_ + margin_;
    const bool sideways = options_.rotation == 90 || options_.rotation == 270;
    const double turnedWidth = sideways ? areaHeight : areaWidth;
    const double turnedHeight = sideways ? areaWidth : areaHeight;
    double scale = options_.scale;
    if (options_.fit)
        scale = std::min(placed.viewWidth_ / turnedWidth, placed.viewHeight_ / turnedHeight);

    // The area's centre goes to the view's centre; the origin follows.
    double u = 0.0, v = 0.0;
    turn(options_.rotation, (displayWidth_ - margin_) / 2.0, (displayHeight_ - margin_) / 2.0, &u, &v);
    if (options_.mirrored)
        u = -u;
    double originX = placed.viewWidth_ / 2.0 - scale * u;
    double originY = placed.viewHeight_ / 2.0 - scale * v;
    // Whole-pixel origins keep a whole-number scale as crisp as 1:1.
    if (scale == std::floor(scale)) {
        originX = std::floor(originX + 0.5);
        originY = std::floor(originY + 0.5);
    }
    placed.gr_ = {originX, originY, scale, options_.rotation, options_.mirrored ? 1 : 0};
    // Half a pixel over is rounding, not a lost edge.
    placed.cropped_ = scale * turnedWidth > placed.viewWidth_ + 0.5 || scale * turnedHeight > placed.viewHeight_ + 0.5;
    return placed;
}

void ViewPlacement::DisplayToView(double x, double y, double* viewX, double* viewY) const
{
    double u = 0.0, v = 0.0;
    turn(gr_.rotation, x, y, &u, &v);
    if (gr_.mirrored)
        u = -u;
    *viewX = gr_.originX + gr_.scale * u;
    *viewY = viewHeight_ - (gr_.originY + gr_.scale * v);
}

void ViewPlacement::ViewToDisplay(double viewX, double viewY, double* x, double* y) const
{
    double u = (viewX - gr_.originX) / gr_.scale;
    const double v = (viewHeight_ - viewY - gr_.originY) / gr_.scale;
    if (gr_.mirrored)
        u = -u;
    // Turning back is turning on by the rest of a full turn.
    turn((360 - gr_.rotation) % 360, u, v, x, y);
}

bool ViewPlacement::OnDisplay(double viewX, double viewY) const
{
    double x = 0.0, y = 0.0;
    ViewToDisplay(viewX, viewY, &x, &y);
    return x >= 0.0 && y >= 0.0 && x < displayWidth_ && y < displayHeight_;
}
