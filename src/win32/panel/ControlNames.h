#pragma once
// The names assistive tools read for the main window's controls. A field, a list or a spin has no
// text of its own to be read: it is named by its label, the static text the template puts before
// it. The controls whose label says nothing heard on its own get a name of their own: "X" takes
// the label beside it, the code fields "Code 1" and so on, "<<" and ">>" "Previous key" and "Next
// key". The names are given to the system's accessibility (dynamic annotation), which serves
// them for the standard controls.

#include <windows.h>

#include <string>
#include <vector>

namespace win32 {

struct ControlName {
    int id = 0;
    std::wstring name;
};

// The name of each control of a dialog that gets one, in the dialog's order.
std::vector<ControlName> LabelledControlNames(HWND dialog);
// Gives the controls those names; false when the system offers no annotation service.
bool NameControlsByTheirLabels(HWND dialog);

} // namespace win32
