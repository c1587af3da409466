#include "win32/Resources.h"

// The Windows headers make FormatMessage a macro; here it is the core's function.
#undef FormatMessage
#include "core/document/UserPrompts.h"

#include "win32/StringNames.h"
#include "win32/WideText.h"

#include <algorithm>
#include <cstring>

namespace win32::Resources {
namespace {

HMODULE currentModule = nullptr;

// The resource in the current set, else in the program's own; module receives where it was.
HRSRC Find(const wchar_t* type, int id, HMODULE& module) {
    for (HMODULE candidate : {Module(), ProgramModule()}) {
        if (HRSRC found = FindResourceW(candidate, MAKEINTRESOURCEW(id), type)) {
            module = candidate;
            return found;
        }
    }
    return nullptr;
}

const void* Lock(const wchar_t* type, int id, DWORD* size = nullptr) {
    HMODULE module = nullptr;
    HRSRC found = Find(type, id, module);
    if (!found)
        return nullptr;
    if (size)
        *size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    return loaded ? LockResource(loaded) : nullptr;
}

// A string table stores blocks of 16 counted strings; entry id is string id % 16 of block
// id / 16 + 1. A length of 0 is a string the table does not hold.
bool StringIn(HMODULE module, int id, std::wstring& text) {
    HRSRC block = FindResourceW(module, MAKEINTRESOURCEW(id / 16 + 1), RT_STRING);
    HGLOBAL loaded = block ? LoadResource(module, block) : nullptr;
    const auto* entry = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!entry)
        return false;
    for (int skip = id % 16; skip > 0; --skip)
        entry += 1 + *entry;
    if (*entry == 0)
        return false;
    text.assign(entry + 1, *entry);
    return true;
}

HBITMAP BitmapFromResource(int id) {
    DWORD size = 0;
    const auto* info = static_cast<const BITMAPINFO*>(Lock(RT_BITMAP, id, &size));
    if (!info || size < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    DWORD colours = header.biClrUsed;
    if (colours == 0 && header.biBitCount <= 8)
        colours = 1u << header.biBitCount;
    const auto* bits =
        reinterpret_cast<const BYTE*>(info) + header.biSize + colours * sizeof(RGBQUAD);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &header, CBM_INIT, bits, info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

} // namespace

HMODULE ProgramModule() {
    return GetModuleHandleW(nullptr);
}

HMODULE Module() {
    return currentModule ? currentModule : ProgramModule();
}

void UseModule(HMODULE module) {
    currentModule = module;
}

HMODULE LoadResourceLibrary(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

std::wstring String(int id) {
    std::wstring text;
    if (id > 0 && id <= 0xFFFF && !StringIn(Module(), id, text))
        StringIn(ProgramModule(), id, text);
    return text;
}

unsigned NamedStringId(const char* name) {
    const auto* begin = std::begin(kNamedStrings);
    const auto* end = std::end(kNamedStrings);
    const auto* found = std::lower_bound(begin, end, name, [](const auto& entry, const char* key) {
        return std::strcmp(entry.name, key) < 0;
    });
    return found != end && std::strcmp(found->name, name) == 0 ? found->id : 0;
}

std::wstring String(const char* name) {
    const unsigned id = NamedStringId(name);
    return id ? String(static_cast<int>(id)) : std::wstring();
}

std::string Utf8String(int id) {
    return Narrow(String(id));
}

std::string Utf8String(const char* name) {
    return Narrow(String(name));
}

std::wstring Format(int id, const std::vector<std::string>& args) {
    return Widen(zr4700::FormatMessage(Utf8String(id), args));
}

std::wstring Format(const char* name, const std::vector<std::string>& args) {
    return Widen(zr4700::FormatMessage(Utf8String(name), args));
}

const DLGTEMPLATE* DialogTemplate(int id) {
    return static_cast<const DLGTEMPLATE*>(Lock(RT_DIALOG, id));
}

HMENU LoadMenu(int id) {
    const void* menu = Lock(RT_MENU, id);
    return menu ? LoadMenuIndirectW(menu) : nullptr;
}

HBITMAP LoadBitmap(int id) {
    return BitmapFromResource(id);
}

HBITMAP LoadHighDensityBitmap(int id) {
    return BitmapFromResource(id + kHighDensityBitmapOffset);
}

HICON LoadIcon(int id, int size) {
    // The pictures of an icon are taken from the set that holds its directory.
    HMODULE module = nullptr;
    HRSRC directory = Find(RT_GROUP_ICON, id, module);
    HGLOBAL group = directory ? LoadResource(module, directory) : nullptr;
    if (!group)
        return nullptr;
    const int iconId = LookupIconIdFromDirectoryEx(static_cast<PBYTE>(LockResource(group)), TRUE,
                                                   size, size, LR_DEFAULTCOLOR);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(iconId), RT_ICON);
    HGLOBAL picture = found ? LoadResource(module, found) : nullptr;
    if (!picture)
        return nullptr;
    return CreateIconFromResourceEx(static_cast<PBYTE>(LockResource(picture)),
                                    SizeofResource(module, found), TRUE, 0x00030000, size, size,
                                    LR_DEFAULTCOLOR);
}

} // namespace win32::Resources
