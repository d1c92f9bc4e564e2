// The embedded images as the toolkit's bitmaps and icons.
#pragma once

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

#include <vector>

// The toolbar images in strip order (Start, Pause, About), masked; empty
// when the strip cannot be decoded.
std::vector<wxBitmap> LoadToolbarBitmaps();

// Icon IDR_MAINFRAME in all its sizes.
wxIconBundle LoadMainIcons();
