#include "shell_text.h"

#include <windows.h>

std::wstring ResourceString(int id)
{
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out the resource's own text.
    const int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id),
                                   reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

std::wstring CommandPrompt(int id)
{
    const std::wstring text = ResourceString(id);
    return text.substr(0, text.find(L'\n'));
}

std::wstring CommandTooltip(int id)
{
    const std::wstring text = ResourceString(id);
    const size_t newline = text.find(L'\n');
    return newline == std::wstring::npos ? std::wstring() : text.substr(newline + 1);
}
