// Where an image file of the display's tables is read from.
#pragma once

#include <string>

// The UTF-8 path of the table's file name: an absolute name as it is, a
// relative one under the folder grSetImageFolder chose, else the
// executable's folder (never the current directory).
// Backslashes separate folders, as in names written on Windows. False for
// an empty or unconvertible name, or when the executable's path is unknown.
bool resolveImagePath(const char16_t* fileName, std::string* path);
