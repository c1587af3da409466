#pragma once
// What the Windows front end's tests share: scripted message boxes and file dialogs for the
// length of a test, and a registry key of the test's own for the recent files.

#include "win32/FileDialogs.h"
#include "win32/LegendOptionsDlg.h"
#include "win32/MessageBoxes.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

class Win32Test : public ::testing::Test {
  protected:
    static constexpr const wchar_t* kApplicationName = L"zr4700-win32-tests";

    void SetUp() override {
        win32::MessageBoxes::Script();
        win32::FileDialogs::Script();
        win32::LegendOptionsDlg::Script();
        ClearRecentFiles();
    }
    void TearDown() override {
        // No test may leave a box or a file dialog unanswered.
        EXPECT_EQ(win32::MessageBoxes::Unanswered(), 0);
        EXPECT_EQ(win32::FileDialogs::Unanswered(), 0);
        EXPECT_EQ(win32::LegendOptionsDlg::Unanswered(), 0);
        win32::MessageBoxes::Unscript();
        win32::FileDialogs::Unscript();
        win32::LegendOptionsDlg::Unscript();
        ClearRecentFiles();
    }
    static void ClearRecentFiles() {
        RegDeleteTreeW(HKEY_CURRENT_USER,
                       (std::wstring(L"Software\\Valmora\\") + kApplicationName).c_str());
    }
};
