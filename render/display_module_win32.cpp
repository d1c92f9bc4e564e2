// Display modules on Windows: LoadLibraryW and GetProcAddress.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "display_module.h"
#include "pe_file_check.h"
#include "wide_text.h"

namespace {

// The headers and section table read for the check: far more than any DLL
// declares (65535 sections of 40 bytes).
constexpr uint64_t kMaxPeHeadBytes = 4u << 20;

// The system's text for code, with the file name in place of its %1.
std::string systemMessage(DWORD code, const std::string& file)
{
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n && text ? std::string(text, n) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    const size_t insert = message.find("%1");
    if (insert != std::string::npos)
        message.replace(insert, 2, file);
    return message;
}

// Why the DLL at full cannot be loaded whole, from its headers; empty when
// it can, or when it cannot be read here (LoadLibrary then says why).
std::string layoutProblem(const wchar_t* full)
{
    HANDLE file = CreateFileW(full, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    LARGE_INTEGER size = {};
    std::vector<unsigned char> head(kPeDosHeaderBytes);
    DWORD got = 0;
    bool read = GetFileSizeEx(file, &size) && ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr);
    head.resize(got);
    const uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);
    // Each step reads as far as what is read so far declares: the PE header,
    // then the section table.
    uint64_t needed = std::min(peBytesNeeded(head.data(), head.size()), fileSize);
    while (read && needed > head.size() && needed <= kMaxPeHeadBytes) {
        const size_t before = head.size();
        head.resize(static_cast<size_t>(needed));
        read = ReadFile(file, head.data() + before, static_cast<DWORD>(needed - before), &got, nullptr) && got > 0;
        head.resize(before + (read ? got : 0));
        needed = std::min(peBytesNeeded(head.data(), head.size()), fileSize);
    }
    CloseHandle(file);
    return read ? peLayoutProblem(head.data(), head.size(), fileSize) : std::string();
}

}  // namespace

bool loadDisplayModule(const std::string& path, HostedDisplay* display, std::string* error)
{
    // A full path, so that the search order for DLLs never applies, and the
    // module's folder is known for its images.
    const std::wstring wide = wideText(path);
    wchar_t full[MAX_PATH];
    const DWORD length = wide.empty() ? 0 : GetFullPathNameW(wide.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        *error = path + ": cannot load the display module: " +
                 (wide.empty() ? std::string("the path is empty or not UTF-8") : systemMessage(GetLastError(), path));
        return false;
    }
    const std::string problem = layoutProblem(full);
    if (!problem.empty()) {
        *error = path + ": cannot load the display module: " + problem;
        return false;
    }
    HMODULE module = LoadLibraryExW(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        const DWORD code = GetLastError();
        // A module of interface version 1 imports the gr API under its C++
        // names, which the DLL no longer exports.
        if (code == ERROR_PROC_NOT_FOUND) {
            *error = path + ": display refused: " + rebuildMessage(1);
            return false;
        }
        *error = path + ": cannot load the display module: " + systemMessage(code, path);
        return false;
    }
    auto entry = reinterpret_cast<GrDisplayEntry>(
        reinterpret_cast<void*>(GetProcAddress(module, GR_DISPLAY_ENTRY_NAME)));
    const std::wstring file(full, length);
    if (acceptDisplayModule(path, entry, utf8Text(file.substr(0, file.find_last_of(L"\\/") + 1)), display, error))
        return true;
    FreeLibrary(module);
    return false;
}
