// File names come as UTF-16 from the display tables; the file system
// takes UTF-8.
#pragma once

#include <string>

// Converts the zero-terminated UTF-16 text to UTF-8 into *out; false for a
// surrogate without its partner, which names no file.
bool utf16ToUtf8(const char16_t* text, std::string* out);
