#pragma once
// The main dialog: menu bar over one fixed client surface that holds the key grid, the key panel,
// the RFID group, the "Programmed keys:" combo box and the status bar. It builds those widgets,
// wires them to the document and forwards the user's commands; the work itself is done by the
// document (edits), the file commands (New, Open, Save, recent files) and the progress dialog.

#include "core/document/Commands.h"
#include "core/document/Document.h"
#include "core/files/FileCommands.h"
#include "qt/platform/RecentFileSettings.h"

#include <QDialog>
#include <QIcon>

#include <memory>
#include <optional>

class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class CProgressDlg;
class CSettingsDlg;
class CCaptureDlg;
class KeyGridWidget;
class KeyPanelControls;
class KeyPopupMenu;
class RfidGroup;
class StatusBar;
class CommandActions;
class EditCommands;
class LegendCommands;
class ProgrammingCommands;

extern CSettingsDlg* theSettingsDlg;
extern CCaptureDlg* theCaptureDlg;

class CProgrammerDlg : public QDialog,
                       public zr4700::DocumentObserver,
                       public zr4700::FileCommandsHost,
                       public zr4700::CommandHost {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 768;  // 512 dialog units
    static constexpr int kClientHeight = 361; // 222 dialog units

    explicit CProgrammerDlg(QWidget* parent = nullptr);
    ~CProgrammerDlg() override;

    // The document and what the window keeps beside it.
    zr4700::Document document;
    const zr4700::Layout& layout; // the document's layout, to read
    RecentFileSettings recentFileSettings;
    zr4700::RecentFileList recentFiles{recentFileSettings};
    zr4700::FileCommands fileCommands{document, recentFiles, *this};
    QString appDirectory;
    CProgressDlg* progressDialog = nullptr;
    StatusBar* statusBar = nullptr;
    QMenuBar* mainMenu = nullptr;
    QIcon appIcon;
    // The capture dialog is open: its keys are its own (F1 included).
    bool editingKeyCodes = false;

    void OnInitDialog();

    // ---- Data exchange ----------------------------------------------------------------------
    void TransferToControls();
    // The RFID fields into the document with validation; false after the failed field's message.
    bool ReadControls();

    // ---- Commands ---------------------------------------------------------------------------
    // Runs a command of the table when its rule allows it (menus, the popup, shortcuts).
    void OnCommand(int command);
    void OnCancel();
    void OnExit() { OnCancel(); }

    // Grid
    void RefreshStatusBar();
    void OnGridMouseMove(int x, int y);
    void OnGridLeftButtonDown(int x, int y);
    void OnGridDoubleClick(int x, int y);
    void OnGridContextMenu(const QPoint& globalPos);
    void OpenKeyPopupAtCurrentKey();

    void OnSettings();

    // File commands. Each returns false when it stopped before doing its work (a cancelled save),
    // so that callers never throw the user's layout away.
    bool OnFileNew() { return fileCommands.New(); }
    void OnFileOpen() { fileCommands.Open(); }
    bool OnFileSave() { return fileCommands.Save(); }
    bool OnFileSaveAs() { return fileCommands.SaveAs(); }
    void LoadCurrentFile() { fileCommands.LoadCurrentFile(); }
    void OpenRecentFile(int n) { fileCommands.OpenRecent(n); }
    void RebuildRecentFileMenu();
    void OnHelpContent();
    void OnAbout();

    // Key editing
    void OnInsertKey();
    void OnCopyKey() { document.CopyKey(); }
    void OnClearKey() { document.ClearKey(); }
    void OnClearAll() { document.ClearAll(); }

    void OnProgramming();
    void OnDetectKeyboard();

    // Edit menu: the history and the grid's own clipboard.
    QMenu* EditMenu() const;
    CommandActions* actions() const { return actions_; }
    LegendCommands* legendCommands() const { return legendCommands_; }
    QAction* CommandAction(int command) const;

    // ---- Controls, found by their numeric id as object name ----------------------------------
    QWidget* Control(int id) const;
    KeyGridWidget* grid() const { return grid_; }
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* KeyPopupMenu() const;
    QAction* KeyPopupAction(int command) const;

    // DocumentObserver
    void DocumentChanged(const zr4700::DocumentChange& change) override;
    // FileCommandsHost
    bool CommitControls() override { return ReadControls(); }
    std::optional<std::string> ChooseFileToOpen() override;
    std::optional<zr4700::SaveAsChoice>
    ChooseFileToSaveAs(const zr4700::SaveAsOffer& offer) override;
    void RecentFilesChanged() override { RebuildRecentFileMenu(); }
    // CommandHost
    void EditKeyCodes() override;
    void ShowSettings() override { OnSettings(); }
    void ShowAbout() override { OnAbout(); }
    void ShowHelp() override { OnHelpContent(); }
    void Program() override { OnProgramming(); }
    void DetectKeyboard() override { OnDetectKeyboard(); }
    void Exit() override { OnExit(); }
    void PrintLegends() override;
    void ExportLegends() override;
    void SetKeyNamesShown(bool shown) override;
    bool KeyNamesShown() const override;
    void PutTextOnClipboard(const std::string& text) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void accept() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void CreateStatusBar();
    void CreateMenuBar();
    void UpdateTitle();

    KeyGridWidget* grid_ = nullptr;
    RfidGroup* rfidGroup_ = nullptr;
    KeyPanelControls* keyPanel_ = nullptr;
    ::KeyPopupMenu* keyPopup_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    std::optional<zr4700::KeyClip> clip_;
    CommandActions* actions_ = nullptr;
    EditCommands* editCommands_ = nullptr;
    LegendCommands* legendCommands_ = nullptr;
    QPushButton* hiddenOk_ = nullptr;
    ProgrammingCommands* programming_ = nullptr;
    bool closing_ = false;
};
