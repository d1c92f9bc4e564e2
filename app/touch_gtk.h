// A touch screen's fingers on the view, each on its own, from GTK: wxWidgets
// 3.2 hands touches over only as the mouse (its raw touch events came in
// 3.3), so the view's GTK widget is asked for touch events directly.
#pragma once

#include <cstdint>
#include <functional>

class wxWindow;

enum class TouchPhase { Down, Move, Up, Cancel };

// Calls touched for every touch on window's widget with the finger's key
// (GTK's sequence, the same from its down to its up) and its position in
// the window's logical pixels. The touches then no longer come as the
// mouse. Call once the window exists.
void bindTouches(wxWindow* window, std::function<void(TouchPhase, uint64_t key, double x, double y)> touched);
