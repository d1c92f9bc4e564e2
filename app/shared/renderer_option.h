// The program's option --renderer gl|cpu (or --renderer=...), the same on
// every platform: what draws the view's frames. gl, the default, draws
// through an OpenGL window; cpu draws on the processor into memory and the
// toolkit shows the frame as a bitmap, with no GL context at all.
#pragma once

#include <string>

enum class ProgramRenderer { Gl, Cpu };

// Removes the option from argv (argc follows) into *renderer; without the
// option *renderer is ProgramRenderer::Gl. False with a message in *error
// for an option without a value, an unknown value or one given twice.
bool takeRendererOption(int* argc, char** argv, ProgramRenderer* renderer, std::string* error);

// The renderer the program's view draws with; set once from the command line.
ProgramRenderer& programRenderer();
