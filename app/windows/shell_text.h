// The shell's texts: the string table of the program's resources, and the
// conversions between Windows' UTF-16 and the runtime's UTF-8.
#pragma once

#include <string>

// The string resource id, empty when there is none.
std::wstring ResourceString(int id);
// The status-bar prompt of a command: the first line of its string.
std::wstring CommandPrompt(int id);
// The tooltip of a command: the second line of its string, if any.
std::wstring CommandTooltip(int id);

// Invalid sequences become U+FFFD both ways, so that a message always shows.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
