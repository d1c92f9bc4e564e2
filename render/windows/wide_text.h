// Text between the renderer's UTF-8 and the wide Windows calls.
#pragma once

#include <string>

// UTF-8 text as UTF-16; empty when it is not valid UTF-8.
std::wstring wideText(const std::string& utf8);
// UTF-16 text as UTF-8.
std::string utf8Text(const std::wstring& wide);
// A message box has no separate detail: it follows the text after a blank
// line (no detail: the text alone).
std::string messageBoxText(const char* text, const char* detail);
