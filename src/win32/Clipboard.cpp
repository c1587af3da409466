#include "win32/Clipboard.h"

#include <cstring>

namespace win32 {

bool PutTextOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    bool put = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, text.c_str(), bytes);
            GlobalUnlock(memory);
            // The clipboard owns the memory once it has taken it.
            put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!put)
            GlobalFree(memory);
    }
    CloseClipboard();
    return put;
}

std::wstring ClipboardText(HWND owner) {
    if (!OpenClipboard(owner))
        return {};
    std::wstring text;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* source = static_cast<const wchar_t*>(GlobalLock(memory))) {
            text = source;
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace win32
