#include "image_path.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

#include "image_folder.h"
#include "wide_path.h"

bool resolveImagePath(const char16_t* fileName, std::string* path)
{
    if (!fileName || !*fileName)
        return false;
    const wchar_t* name = reinterpret_cast<const wchar_t*>(fileName);
    if (!PathIsRelativeW(name))
        return wideToUtf8(name, path);
    // Relative names live in the folder the host chose (a display module's
    // own), else in the executable's folder, never the current one.
    wchar_t resolved[MAX_PATH] = {};
    const std::string& chosen = chosenImageFolder();
    if (!chosen.empty()) {
        std::wstring folder;
        if (!utf8ToWide(chosen, &folder) || folder.size() >= MAX_PATH)
            return false;
        std::replace(folder.begin(), folder.end(), L'/', L'\\');
        std::copy(folder.begin(), folder.end(), resolved);
    } else {
        const DWORD length = GetModuleFileNameW(GetModuleHandleW(nullptr), resolved, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return false;
        if (!PathRemoveFileSpecW(resolved) && !*resolved)
            return false;
    }
    if (!PathAppendW(resolved, name))
        return false;
    return wideToUtf8(resolved, path);
}
