#pragma once
// The main dialog (template 102): the menu bar (menu 129, with Edit and View) and the recent
// files, the title, the status bar, and every command of the core's command table: menu items
// and shortcuts run through the table, which enables and checks the items.

#include "core/document/Commands.h"
#include "core/document/Document.h"
#include "core/document/Views.h"
#include "core/files/FileCommands.h"
#include "core/files/RecentFileList.h"
#include "win32/Dialog.h"
#include "win32/MessageBoxes.h"
#include "win32/RegistryRecentFiles.h"
#include "win32/ResourceTexts.h"
#include "win32/grid/KeyGridWindow.h"
#include "win32/panel/KeyPanelControls.h"
#include "win32/panel/RfidControls.h"

#include <memory>
#include <string>

namespace win32 {

class ProgrammingCommands;

class CProgrammerDlg final : public Dialog,
                             public zr4700::CommandHost,
                             private zr4700::FileCommandsHost,
                             private zr4700::DocumentObserver,
                             private KeyGridEvents {
  public:
    static constexpr int kTemplateId = 102;
    static constexpr int kMenuId = 129;
    static constexpr int kIconId = 102;
    static constexpr int kStatusBarId = 2101;
    static constexpr int kPopupMenuId = 137;
    static constexpr int kGridFrameId = 1010;
    static constexpr int kGridId = 2102;
    static constexpr int kStatusPanes = zr4700::kStatusPanes;

    // applicationName names the registry key of the recent files (the executable's base name).
    explicit CProgrammerDlg(std::wstring applicationName = ApplicationName());
    ~CProgrammerDlg() override;

    const zr4700::Document& document() const { return document_; }
    zr4700::Document& document() { return document_; }
    zr4700::CommandContext commandContext();
    zr4700::FileCommands& fileCommands() { return fileCommands_; }
    const zr4700::RecentFileList& recentFiles() const { return recentFiles_; }
    HWND statusBar() const { return statusBar_; }
    HMENU mainMenu() const { return mainMenu_; }
    // The File menu: the menu bar's entry at position 1.
    HMENU FileMenu() const;
    const std::wstring& appDirectory() const { return appDirectory_; }
    // True while the capture dialog is open; help does nothing then.
    bool editingKeyCodes = false;

    void OnHelpContent();
    void OnAbout();
    void RebuildRecentFileMenu();
    // File > Programming... and Detect keyboard, with the progress dialog they share.
    ProgrammingCommands& programming();
    // The painted key grid; its focus makes the grid's own shortcuts work.
    HWND gridWindow() const { return grid_.hwnd(); }
    const KeyGridWindow& grid() const { return grid_; }
    // The key popup (menu 137's "Key").
    HMENU keyPopup() const { return keyPopup_ ? GetSubMenu(keyPopup_, 0) : nullptr; }

    // CommandHost
    void EditKeyCodes() override;
    void ShowSettings() override;
    void ShowAbout() override { OnAbout(); }
    void ShowHelp() override { OnHelpContent(); }
    void Program() override;
    void DetectKeyboard() override;
    void Exit() override { OnCancel(); }
    void PrintLegends() override;
    void ExportLegends() override;
    void SetKeyNamesShown(bool shown) override;
    bool KeyNamesShown() const override { return keyNamesShown_; }
    void PutTextOnClipboard(const std::string& text) override;

    // The shortcuts: a key message for this window the accelerators take (the modal loop asks
    // first); true when it became a command.
    bool PreTranslateMessage(MSG& message) override;

  protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notification, HWND control) override;
    // The dialog is never ended by its OK command.
    void OnOK() override {}
    void OnCancel() override;
    void OnDestroy() override;

  private:
    // FileCommandsHost
    bool CommitControls() override;
    std::optional<std::string> ChooseFileToOpen() override;
    std::optional<zr4700::SaveAsChoice>
    ChooseFileToSaveAs(const zr4700::SaveAsOffer& offer) override;
    void RecentFilesChanged() override { RebuildRecentFileMenu(); }
    // DocumentObserver
    void DocumentChanged(const zr4700::DocumentChange& change) override;
    // KeyGridEvents
    void GridKeyPressed(int key) override;
    void GridKeyDoubleClicked(int key) override;
    void GridContextMenu(int key, POINT screen) override;
    void GridKeyDropped(int source, int target) override;
    void GridHovered(int key) override;

    void CreateGrid();
    // Enter, the arrows, the menu key, Shift+F10 and F1 belong to the window before any control;
    // true when the key was one of them.
    bool TakeWindowKey(const MSG& message);

    void CreateStatusBar();
    void UpdateTitle();
    void RefreshStatusBar();

    ResourceTexts texts_;
    MessageBoxPrompts prompts_;
    zr4700::Document document_;
    RegistryRecentFiles recentStorage_;
    zr4700::RecentFileList recentFiles_;
    zr4700::FileCommands fileCommands_;
    HWND statusBar_ = nullptr;
    KeyGridWindow grid_{document_.layout(), *this};
    KeyPanelControls keyPanel_{document_};
    RfidControls rfidControls_{document_};
    HMENU keyPopup_ = nullptr;
    HMENU mainMenu_ = nullptr;
    HACCEL windowAccelerators_ = nullptr;
    HACCEL gridAccelerators_ = nullptr;
    std::optional<zr4700::KeyClip> clip_;
    bool keyNamesShown_ = true;
    std::wstring applicationName_;
    HICON appIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::wstring appDirectory_;
    std::unique_ptr<ProgrammingCommands> programming_;
};

} // namespace win32
