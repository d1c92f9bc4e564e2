// The program's option --renderer auto|gl|cpu (or --renderer=...), the same
// on every platform: what draws the view's frames. gl draws through an
// OpenGL window; cpu draws on the processor into memory and the toolkit
// shows the frame as a bitmap, with no GL context at all; auto, the
// default, takes cpu where the GL is a software rasteriser or cannot be
// made, gl otherwise.
#pragma once

#include <string>

enum class ProgramRenderer { Auto, Gl, Cpu };

// Removes the option from argv (argc follows) into *renderer; without the
// option *renderer is ProgramRenderer::Auto. False with a message in *error
// for an option without a value, an unknown value or one given twice.
bool takeRendererOption(int* argc, char** argv, ProgramRenderer* renderer, std::string* error);

// What draws, and why, in words for the About box and the status bar.
struct RendererChoice {
    ProgramRenderer renderer;  // Gl or Cpu
    std::string why;
};

// Resolves asked: auto becomes cpu when glReady is false (glError says why)
// or glName (the GL's GL_RENDERER) names a software rasteriser, gl
// otherwise; gl and cpu stay as asked.
RendererChoice chooseRenderer(ProgramRenderer asked, bool glReady, const std::string& glName,
                              const std::string& glError);

// The renderer the program's view draws with; set once from the command line
// and resolved before the window is made.
ProgramRenderer& programRenderer();
// Why it draws so (RendererChoice::why); empty until resolved.
std::string& programRendererReason();
