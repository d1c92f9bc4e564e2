// What the shared suites take from a POSIX platform, on Windows;
// force-included into every Windows test.
#pragma once

#include <stdlib.h>
#include <windows.h>

// windows.h makes these macros; the suites and the library use them as names.
#undef near
#undef far
#undef DrawState

inline int setenv(const char* name, const char* value, int overwrite)
{
    if (!overwrite && getenv(name))
        return 0;
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
