// The shell's string table and its other user-visible texts, all UTF-8.
#pragma once

#include <string>

// The text of a string resource; empty when the table has none for id.
// Command prompts read "status-bar prompt\ntooltip".
const char* ShellString(int id);

// The status-bar prompt of a command: the first line of its string.
std::string CommandPrompt(int id);
// The tooltip of a command: the second line of its string, if any.
std::string CommandTooltip(int id);

// About box.
extern const char* const kAboutCaption;
extern const char* const kAboutDescription;
extern const char* const kAboutDeveloper;

// Menu texts.
extern const char* const kMenuFile;
extern const char* const kMenuExit;
extern const char* const kMenuView;
extern const char* const kMenuToolbar;
extern const char* const kMenuStatusBar;
extern const char* const kMenuDrawing;
extern const char* const kMenuMultisampling;
extern const char* const kMenuMultisamplingOff;
extern const char* const kMenuMultisampling2x;
extern const char* const kMenuMultisampling4x;
extern const char* const kMenuMultisampling8x;
extern const char* const kMenuMultisampling16x;
extern const char* const kMenuMultisamplingExact;
extern const char* const kMenuStart;
extern const char* const kMenuPause;
extern const char* const kMenuInformation;
extern const char* const kMenuAbout;

// The message when the view cannot be made again with a new sample count;
// the format takes the sample count, the plain one has none to name.
extern const char* const kRecreateFailedFormat;
extern const char* const kRecreatePlainFailedText;
// ... and when not even the previous sample count works any more.
extern const char* const kRestoreFailedText;
