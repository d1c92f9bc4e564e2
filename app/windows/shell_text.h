// The shell's texts from the string table of the program's resources.
#pragma once

#include <string>

// The string resource id, empty when there is none.
std::wstring ResourceString(int id);
// The status-bar prompt of a command: the first line of its string.
std::wstring CommandPrompt(int id);
// The tooltip of a command: the second line of its string, if any.
std::wstring CommandTooltip(int id);
