#include "wide_path.h"

#include <windows.h>

bool utf8ToWide(const std::string& text, std::wstring* out)
{
    out->clear();
    if (text.empty())
        return true;
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return false;
    out->resize(static_cast<size_t>(length));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                               out->data(), length) == length;
}

bool wideToUtf8(const wchar_t* text, std::string* out)
{
    out->clear();
    const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return false;
    out->resize(static_cast<size_t>(length));
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, out->data(), length, nullptr, nullptr) !=
        length)
        return false;
    out->pop_back();  // the terminating zero
    return true;
}
