// File names between the library's UTF-8 and Windows' UTF-16.
#pragma once

#include <string>

// False for text that is not valid UTF-8.
bool utf8ToWide(const std::string& text, std::wstring* out);
// False for UTF-16 with a surrogate missing its partner.
bool wideToUtf8(const wchar_t* text, std::string* out);
