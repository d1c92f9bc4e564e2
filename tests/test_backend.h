// The drawing backend a pixel test runs on: gl1 unless PANEL_TEST_GL names
// another (es2, es3, core, cpu), so that one test suite checks every backend.
#pragma once

#include <cstdlib>
#include <string>

inline std::string testBackend()
{
    const char* name = std::getenv("PANEL_TEST_GL");
    return name && *name ? name : "gl1";
}
