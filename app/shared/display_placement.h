// Where the display goes in its view, whatever the host: scaled to fit with
// its aspect kept and centred (the default) or at a fixed scale (--scale 1:
// pixels 1:1), turned for a panel mounted on its side (--rotate) and
// mirrored for a head-up display's beam splitter (--mirror). Pure
// arithmetic: the host hands the result to grSetPlacedProjection and maps
// pointer positions back with it.
#pragma once

#include <string>

#include "gr_display.h"

struct PlacementOptions {
    bool fit = true;      // scale to fit the view; otherwise scale below
    double scale = 1.0;   // view pixels per display unit when not fitting
    int rotation = 0;     // 0, 90, 180 or 270 degrees clockwise
    bool mirrored = false;
};

// Removes --scale fit|FACTOR, --rotate 0|90|180|270 and --mirror from argv
// (argc follows) into *options; absent options keep their defaults. False
// with a message in *error for a bad value or an option given twice.
bool takePlacementOptions(int* argc, char** argv, PlacementOptions* options, std::string* error);

// The display placed in one view of a given size.
class ViewPlacement {
public:
    // What grSetPlacedProjection takes.
    const GrPlacement& Gr() const { return gr_; }
    int ViewWidth() const { return viewWidth_; }
    int ViewHeight() const { return viewHeight_; }
    double Scale() const { return gr_.scale; }

    // A view position (x right, y down from the view's top left corner, in
    // pixels) in display units (x right, y up from the display's origin).
    void ViewToDisplay(double viewX, double viewY, double* x, double* y) const;
    // The inverse: display units to a view position, y down.
    void DisplayToView(double x, double y, double* viewX, double* viewY) const;
    // Whether a view position falls on the display area (its margin left out).
    bool OnDisplay(double viewX, double viewY) const;
    // Whether part of the display area with its margin lies outside the view.
    bool Cropped() const { return cropped_; }

private:
    friend class DisplayPlacement;
    GrPlacement gr_ = {0.0, 0.0, 1.0, 0, 0};
    int viewWidth_ = 0;
    int viewHeight_ = 0;
    int displayWidth_ = 0;
    int displayHeight_ = 0;
    bool cropped_ = false;
};

// The rule for one display: its area (width x height units) and the margin
// that shows left of and below it, and the options.
class DisplayPlacement {
public:
    DisplayPlacement() = default;
    DisplayPlacement(int displayWidth, int displayHeight, double margin, const PlacementOptions& options);

    // The display in a view of width x height pixels (at least 1 each).
    ViewPlacement Place(int viewWidth, int viewHeight) const;
    // The view size that shows the area with its margin, turned, at the
    // fixed scale (1 when fitting): what a window asks for at first.
    void NaturalViewSize(int* width, int* height) const;
    const PlacementOptions& Options() const { return options_; }

private:
    int displayWidth_ = 1;
    int displayHeight_ = 1;
    double margin_ = 0.0;
    PlacementOptions options_;
};
