// The graphics backends a host can draw through, by the names the tools
// take with --gl, and the context each needs.
#pragma once

#include <string>

// The names --gl accepts, as usage texts list them.
constexpr const char* kGlChoiceNames = "gl1|es2|es3|core";

// The kind of GL context a backend draws in.
enum class GlContextKind {
    Compatibility,  // OpenGL 1.1 and later with the fixed function (gl1)
    Es2,            // OpenGL ES 2.0
    Es3,            // OpenGL ES 3.0
    Core,           // OpenGL 3.3 core profile
};

// The context kind for a backend name; false for a name no backend has.
bool glContextKindFor(const std::string& name, GlContextKind* kind);

// The headless tools draw through the CPU backend too, which needs no GL.
constexpr const char* kCpuChoice = "cpu";
constexpr const char* kToolChoiceNames = "gl1|es2|es3|core|cpu";

// Whether name is a backend the headless tools take with --gl.
bool isToolChoice(const std::string& name);
