// The program's error message box, as every view surface shows a failure.
#pragma once

class wxWindow;

// A modal error box over parent: text, with detail (possibly empty) as its
// extended message, under caption. Nothing is shown on a system without a
// single font, where the toolkit cannot lay the box out: the caller has
// written the failure to stderr already.
void ShowErrorBox(wxWindow* parent, const char* text, const char* detail, const char* caption);
