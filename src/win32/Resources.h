#pragma once
// The process's resource set: the dialog templates, menus, strings, bitmaps and icon the program
// shows. It is the program's own, or a resource library (local.dll) made current at start-up,
// which then replaces every one of them. A resource the library lacks is taken from the
// program's own set rather than shown empty.

#include <windows.h>

#include <string>
#include <vector>

namespace win32::Resources {

// The executable's own resources.
HMODULE ProgramModule();
// The current set: the library made current, else the program's own.
HMODULE Module();
// Makes a library the current set; nullptr goes back to the program's own.
void UseModule(HMODULE module);

// Loads a resource library by the ordinary library search, as resources only: none of its code
// runs, so a library placed beside a layout cannot run anything in the program. nullptr when
// there is none or it is not a library.
HMODULE LoadResourceLibrary(const wchar_t* name);

// A string-table entry; empty when neither set has it.
std::wstring String(int id);
// A string of the set's own, by its name in strings.json ("edit.undo").
std::wstring String(const char* name);
std::string Utf8String(int id);
std::string Utf8String(const char* name);
// A string with its %s, %d (in order) and %1, %2 (by number) filled in.
std::wstring Format(int id, const std::vector<std::string>& args);
std::wstring Format(const char* name, const std::vector<std::string>& args);
// The number a named string has in the string table; 0 for an unknown name.
unsigned NamedStringId(const char* name);

const DLGTEMPLATE* DialogTemplate(int id);
// A new menu (the caller destroys it, or the window it is attached to); nullptr when missing.
HMENU LoadMenu(int id);
// A new bitmap at its stored size (the caller deletes it); nullptr when missing. The
// high-density variant is the same picture at four times the size, where the set has one.
HBITMAP LoadBitmap(int id);
HBITMAP LoadHighDensityBitmap(int id);
// The icon's picture that best fits size x size pixels (the caller destroys it).
HICON LoadIcon(int id, int size);

// Ids of the high-density variants: the bitmap id plus this.
constexpr int kHighDensityBitmapOffset = 4000;

} // namespace win32::Resources
