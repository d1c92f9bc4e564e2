// The program's option --display MODULE (or --display=MODULE), the same on
// every platform: taken out of the command line before the toolkit sees it,
// since GTK reads a --display of its own (the X display).
#pragma once

#include <string>

struct GrDisplay;

// Removes the option from argv (argc follows) and stores its value in
// *path; no option leaves *path empty. False with a message in *error for
// an option without a value or given twice.
bool takeDisplayOption(int* argc, char** argv, std::string* path, std::string* error);

// Takes the option out of the command line and selects its module's
// display: 0, or the program's exit status with the reason in *error (2 for
// a bad option, 1 for a refused module).
int selectDisplayOfOption(int* argc, char** argv, std::string* error);

// The frame's title for display: a display from a module names itself in
// front of the program's title ("NAME — TITLE", UTF-8); the built-in display
// keeps the title as it is.
std::string titleShowingDisplay(const std::string& title, const GrDisplay* display);
