// Reads the program's string-table resource; see ResourceStrings.h.
#include "app/win32/ResourceStrings.h"

#include <windows.h>

#include "runtime/SysUtils.h"

bool ResourceString(int id, std::string& text) {
    // With a zero buffer size the call hands out the resource's own text, which has no
    // terminating zero, so no length limit applies.
    const wchar_t* data = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&data), 0);
    if (length <= 0 || !data) return false;
    text = rt::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(data), static_cast<std::size_t>(length)));
    return true;
}
