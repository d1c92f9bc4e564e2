#include "image_path.h"

#include <windows.h>
#include <shlwapi.h>

#include "wide_path.h"

bool resolveImagePath(const char16_t* fileName, std::string* path)
{
    if (!fileName || !*fileName)
        return false;
    const wchar_t* name = reinterpret_cast<const wchar_t*>(fileName);
    if (!PathIsRelativeW(name))
        return wideToUtf8(name, path);
    // Relative names live in the executable's folder, never the current one.
    wchar_t resolved[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(GetModuleHandleW(nullptr), resolved, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    if (!PathRemoveFileSpecW(resolved) && !*resolved)
        return false;
    if (!PathAppendW(resolved, name))
        return false;
    return wideToUtf8(resolved, path);
}
