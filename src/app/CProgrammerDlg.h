#pragma once
// The main dialog: menu bar over one fixed client surface that holds the key grid, the key panel,
// the RFID group, the "Programmed keys:" combo box and the status bar. It owns the layout document
// and the long-lived secondary dialogs, and turns the user's commands into document operations.

#include "layout/Layout.h"

#include <QDialog>
#include <QIcon>
#include <QPointer>

#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class CProgressDlg;
class CSettingsDlg;
class CCaptureDlg;
class KeyGridWidget;
class SpinButtons;
class StatusBar;

extern CSettingsDlg* theSettingsDlg;
extern CCaptureDlg* theCaptureDlg;

class CProgrammerDlg : public QDialog, public zr4700::LayoutObserver {
    Q_OBJECT

  public:
    // Menu command and control identifiers used in code.
    enum Command : int {
        kCmdFileNew = 32771,
        kCmdFileOpen = 32772,
        kCmdFileSave = 32777,
        kCmdFileSaveAs = 32778,
        kCmdSingle = 32779,
        kCmdToRight = 32781,
        kCmdToDown = 32782,
        kCmdQuad = 32784,
        kCmdClearKey = 32791,
        kCmdClearAll = 32792,
        kCmdCopyKey = 32793,
        kCmdSettings = 32795,
        kCmdExit = 32796,
        kCmdAbout = 32800,
        kCmdInsertKey = 40001,
        kCmdRecentFirst = 40002,
        kCmdRecentLast = 40005,
        kCmdProgramming = 40006,
        kCmdHelpContent = 57670,
        kCmdEmpty = 65535,
    };
    static constexpr int kClientWidth = 768;  // 512 dialog units
    static constexpr int kClientHeight = 361; // 222 dialog units

    explicit CProgrammerDlg(QWidget* parent = nullptr);
    ~CProgrammerDlg() override;

    // The document, and the window-wide state the program keeps beside it.
    zr4700::Layout layout;
    std::array<QString, 4> recentFiles;
    QString appDirectory;
    CProgressDlg* progressDialog = nullptr;
    StatusBar* statusBar = nullptr;
    QMenuBar* mainMenu = nullptr;
    QIcon appIcon;

    // ---- Start-up -------------------------------------------------------------------------
    void OnInitDialog();

    // ---- Data exchange ----------------------------------------------------------------------
    // Members into the controls (the panel, the RFID group).
    void TransferToControls();
    // The key panel's members into their controls (what showing another key changes).
    void TransferPanelToControls();
    // Controls into the members with validation; false after the first failed field's message.
    bool ReadControls();

    // ---- Commands ---------------------------------------------------------------------------
    void OnCommand(int command);
    void OnCancel();
    void OnExit() { OnCancel(); }

    // Grid (grid view)
    void RefreshStatusBar();
    void SelectKey(int key) { layout.SelectKey(key); }
    void OnGridMouseMove(int x, int y);
    void OnGridLeftButtonDown(int x, int y);
    void OnGridDoubleClick(int x, int y);
    void OnGridContextMenu(const QPoint& globalPos);
    // The key popup from the keyboard, shown over the current key.
    void OpenKeyPopupAtCurrentKey();

    // Settings
    void OnSettings();

    // File commands. Each returns false when it stopped before doing its work (a cancelled save),
    // so that callers never throw the user's layout away.
    void ResetLayout();
    bool OnFileNew();
    void OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    void LoadCurrentFile();
    bool WriteLayoutFile(int variant);
    void ReadLayoutFile();
    void SetTitleFor(const QString& name);

    // Recent files, help, About
    void RebuildRecentFileMenu();
    void PushRecentFile();
    void OpenRecentFile(int n);
    void OnHelpContent();
    void OnAbout();

    // Key editing
    void EditKeyCodes();
    void OnInsertKey();
    void OnShapeCommand(int command);
    void OnCopyKey();
    void OnClearKey();
    void OnClearAll();

    // Key panel
    void OnPreviousKey();
    void OnNextKey();
    void OnKeyNameChanged(const QString& text);
    void OnSingleKey();
    void OnMode(int mode);
    void OnSetModeForAll();
    void OnSetFlagForAll();
    void OnProgrammedKeySelected(int position);

    // Programming
    void OnProgramming();

    // ---- Controls, found by their numeric id as object name ----------------------------------
    QWidget* Control(int id) const;
    KeyGridWidget* grid() const { return grid_; }
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* KeyPopupMenu() const { return keyPopup_; }
    QAction* KeyPopupAction(int command) const;

    // LayoutObserver
    void KeyCellDrawn(int key, int picture) override;
    void PanelChanged() override;
    void ProgrammedKeyComboChanged() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void accept() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void CreateStatusBar();
    void CreateMenuBar();
    void CreateKeyPopupMenu();
    void ValidateRfidByte(QLineEdit* edit, uint8_t& member);
    static void TakeRfidByte(const QString& text, uint8_t& member);
    bool ValidateRfidFields();
    // Runs before the dialog may end: a transfer under way is cancelled and waited for.
    void StopProgramming();

    KeyGridWidget* grid_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* keyPopup_ = nullptr;
    QPushButton* hiddenOk_ = nullptr;
    QLineEdit* keyNameEdit = nullptr;
    QLineEdit* keyNumberEdit = nullptr;
    std::array<QLineEdit*, zr4700::kCodeSlots> codeFields{};
    QCheckBox* singleKeyButton = nullptr;
    QCheckBox* groupKeyButton = nullptr;
    std::array<QRadioButton*, 3> modeButtons{}; // "Mode 1", "Mode 2", "Mode 3"
    QComboBox* programmedKeysCombo = nullptr;
    QPushButton* nextKeyButton = nullptr;
    QPushButton* previousKeyButton = nullptr;
    QLineEdit* prefixEdit = nullptr;
    QLineEdit* suffixEdit = nullptr;
    QLineEdit* digitsCountEdit = nullptr;
    SpinButtons* digitsSpin = nullptr;
    QCheckBox* prefixExtendedBox = nullptr;
    QCheckBox* suffixExtendedBox = nullptr;
    QCheckBox* digitsNumBox = nullptr;
    int exchangeDepth_ = 0;
    bool closing_ = false;
    bool validatingRfid_ = false;
};
