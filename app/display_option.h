// The program's one option, --display MODULE (or --display=MODULE): taken
// out of the command line before the toolkit sees it, since GTK reads a
// --display of its own (the X display).
#pragma once

#include <string>

// Removes the option from argv (argc follows) and stores its value in
// *path; no option leaves *path empty. False with a message in *error for
// an option without a value or given twice.
bool takeDisplayOption(int* argc, char** argv, std::string* path, std::string* error);
