// local.dll, built from a replacement resource set whose title string differs, lies beside the
// test program, where the ordinary library search finds it first.

#include "Win32TestSupport.h"
#include "win32/CProgrammerApp.h"
#include "win32/CProgrammerDlg.h"
#include "win32/Resources.h"

namespace {

class ResourceLibrary : public Win32Test {
  protected:
    void TearDown() override {
        win32::Resources::UseModule(nullptr);
        Win32Test::TearDown();
    }
};

std::wstring Title(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

TEST_F(ResourceLibrary, StartUpMakesLocalDllTheResourceSetAndTheTitleComesFromIt) {
    ASSERT_NE(win32::CProgrammerApp::UseResourceLibrary(), nullptr);
    win32::CProgrammerDlg dialog(kApplicationName);
    ASSERT_NE(dialog.Create(nullptr), nullptr);
    EXPECT_EQ(Title(dialog.hwnd()), L"ZR-4700 - replaced title  -  [untitled]");
    // Everything else the library holds as the program does.
    EXPECT_EQ(win32::Resources::String(32788), L"untitled");
}

TEST_F(ResourceLibrary, WithoutTheLibraryTheProgramsOwnSetIsUsedAndNothingIsSaid) {
    EXPECT_EQ(win32::CProgrammerApp::UseResourceLibrary(L"no-such-library.dll"), nullptr);
    win32::CProgrammerDlg dialog(kApplicationName);
    ASSERT_NE(dialog.Create(nullptr), nullptr);
    EXPECT_EQ(Title(dialog.hwnd()), L"ZR-4700 - keyboard programmer  -  [untitled]");
    EXPECT_TRUE(win32::MessageBoxes::Shown().empty());
}

} // namespace
