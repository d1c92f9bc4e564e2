// The program's command line, the same on every platform: --display MODULE
// (or --display=MODULE), taken out before the toolkit sees it, since GTK
// reads a --display of its own (the X display); --batched; --renderer;
// --help.
#pragma once

#include <string>

struct GrDisplay;

// The usage text --help prints and a bad command line follows its message with.
extern const char* const kProgramUsage;

// The program's exit statuses before its window: a refused module, and a
// command line it does not know.
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
// What readProgramCommandLine returns when the program is to go on.
constexpr int kStartProgram = -1;

// Removes the option from argv (argc follows) and stores its value in
// *path; no option leaves *path empty. False with a message in *error for
// an option without a value or given twice.
bool takeDisplayOption(int* argc, char** argv, std::string* path, std::string* error);

// Reads the whole command line: selects the display of --display, switches
// batching on for --batched, and leaves argv with the program's name alone.
// kStartProgram when the program is to go on; otherwise the exit status,
// with what to print on stdout in *out (--help: the usage, status 0) or on
// stderr in *error (a bad option: the reason and the usage, kExitUsage; a
// refused module: the reason, kExitRefused).
int readProgramCommandLine(int* argc, char** argv, std::string* out, std::string* error);

// Takes --display out of the command line and selects its module's display,
// for hosts that read their other options themselves: 0, or the exit status
// with the reason in *error (kExitUsage for a bad option, kExitRefused for a
// refused module).
int selectDisplayOfOption(int* argc, char** argv, std::string* error);

// Whether --renderer cpu asked for frames drawn by the CPU backend and shown
// without any GL, rather than through the GL (--renderer gl, the default).
bool programDrawsOnCpu();

// The frame's title for display: a display from a module names itself in
// front of the program's title ("NAME — TITLE", UTF-8); the built-in display
// keeps the title as it is.
std::string titleShowingDisplay(const std::string& title, const GrDisplay* display);
