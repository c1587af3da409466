#pragma once
// Moving a dialog's member values into its controls and back, as every dialog of the program
// does it: a field whose text already equals its member is not rewritten (the caret stays where
// the user types), and a number the core's rules refuse is reported in a message box, after which
// the field has the focus with its text selected.

#include "core/document/FieldText.h"

#include <windows.h>

#include <span>
#include <string>

namespace win32 {

// Counts nesting so that handlers can ignore the notifications a transfer itself raises.
class ExchangeGuard {
  public:
    explicit ExchangeGuard(int& depth) : depth_(depth) { ++depth_; }
    ~ExchangeGuard() { --depth_; }
    ExchangeGuard(const ExchangeGuard&) = delete;
    ExchangeGuard& operator=(const ExchangeGuard&) = delete;

  private:
    int& depth_;
};

std::wstring FieldText(HWND field);
void SetFieldText(HWND field, const std::wstring& text);
void SetFieldNumber(HWND field, long long value);

// Radio buttons given by their ids: the index of the one checked (-1 for none), and checking one.
int RadioIndex(HWND dialog, std::span<const int> ids);
void SetRadioIndex(HWND dialog, std::span<const int> ids, int index);

// True when the number was taken; otherwise shows its message over the dialog, focuses the field
// and selects its text.
bool CheckFieldNumber(HWND dialog, HWND field, const zr4700::TypedNumber& number);

} // namespace win32
