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

std::wstring WideFromUtf8(const std::string& text)
{
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), n);
    return wide;
}

std::string Utf8FromWide(const std::wstring& text)
{
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), n, nullptr, nullptr);
    return utf8;
}
