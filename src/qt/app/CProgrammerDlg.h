#pragma once
// The main dialog: menu bar over one fixed client surface that holds the key grid, the key panel,
// the RFID group, the "Programmed keys:" combo box and the status bar. It builds those widgets,
// wires them to the document and forwards the user's commands; the work itself is done by the
// document (edits), the file commands (New, Open, Save, recent files) and the progress dialog.

#include "qt/app/CommandIds.h"
#include "qt/platform/RecentFileSettings.h"
#include "core/document/Document.h"
#include "core/files/FileCommands.h"

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
class EditCommands;
class ProgrammingCommands;
class UndoHistory;

extern CSettingsDlg* theSettingsDlg;
extern CCaptureDlg* theCaptureDlg;

class CProgrammerDlg : public QDialog,
                       public CommandIds,
                       public zr4700::LayoutObserver,
                       public zr4700::DocumentObserver,
                       public zr4700::FileCommandsHost {
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

    void OnInitDialog();

    // ---- Data exchange ----------------------------------------------------------------------
    void TransferToControls();
    // The RFID fields into the document with validation; false after the failed field's message.
    bool ReadControls();

    // ---- Commands ---------------------------------------------------------------------------
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
    void EditKeyCodes();
    void OnInsertKey();
    void OnShapeCommand(int command);
    void OnCopyKey() { document.CopyKey(); }
    void OnClearKey() { document.ClearKey(); }
    void OnClearAll() { document.ClearAll(); }

    void OnProgramming();
    void OnDetectKeyboard();

    // Edit menu: the history and the grid's own clipboard.
    UndoHistory* history() const;
    QMenu* EditMenu() const;

    // ---- Controls, found by their numeric id as object name ----------------------------------
    QWidget* Control(int id) const;
    KeyGridWidget* grid() const { return grid_; }
    KeyPanelControls* keyPanel() const { return keyPanel_; }
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* KeyPopupMenu() const;
    QAction* KeyPopupAction(int command) const;

    // LayoutObserver
    void KeyCellDrawn(int key, int picture) override;
    void PanelChanged() override;
    void ProgrammedKeyComboChanged() override;
    // DocumentObserver
    void DocumentChanged(const zr4700::DocumentChange& change) override;
    // FileCommandsHost
    bool CommitControls() override { return ReadControls(); }
    std::optional<std::string> ChooseFileToOpen() override;
    std::optional<zr4700::SaveAsChoice>
    ChooseFileToSaveAs(const zr4700::SaveAsOffer& offer) override;
    void RecentFilesChanged() override { RebuildRecentFileMenu(); }

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
    EditCommands* editCommands_ = nullptr;
    QPushButton* hiddenOk_ = nullptr;
    ProgrammingCommands* programming_ = nullptr;
    bool closing_ = false;
};
