#include "win32/CProgrammerDlg.h"

#include "core/document/Commands.h"

#include "win32/CAboutDlg.h"
#include "win32/Clipboard.h"
#include "win32/FileDialogs.h"
#include "win32/HelpViewer.h"
#include "win32/KeyboardCommands.h"
#include "win32/LegendCommands.h"
#include "win32/PopupMenus.h"
#include "win32/Resources.h"
#include "win32/ViewSettings.h"
#include "win32/WideText.h"
#include "win32/commands/CommandAccelerators.h"
#include "win32/commands/CommandMenus.h"
#include "win32/panel/ControlNames.h"
#include "win32/programming/ProgrammingCommands.h"

#include <commctrl.h>

#include <array>

namespace win32 {
namespace {

using namespace zr4700;

// The system menu's About item, which a resource set may add with its string 101.
constexpr int kSysCmdAbout = 16;
// Entry n of the recent-file list has this command plus n.
constexpr int kCmdRecentBase = kCmdRecentFirst - 1;

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR ||
           message == WM_SYSCHAR;
}

// Right edges of the status bar's panes at 96 dots per inch; the last pane reaches the right
// edge of the client area.
constexpr std::array<int, CProgrammerDlg::kStatusPanes - 1> kPaneRightEdges = {160, 330, 410,
                                                                               485, 560, 630};

bool IsSeparator(HMENU menu, int position) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item) &&
           (item.fType & MFT_SEPARATOR);
}

// A path as a menu item shows it: an ampersand is a character, not a mnemonic.
std::wstring MenuText(const std::wstring& path) {
    std::wstring text;
    for (wchar_t c : path) {
        text.push_back(c);
        if (c == L'&')
            text.push_back(L'&');
    }
    return text;
}

// The save dialog's types, from the string table's "name|pattern|...||".
std::vector<std::pair<std::wstring, std::wstring>> SaveTypes(bool twoTypesOnly) {
    const std::wstring filter = Resources::String(zr4700::kStrSaveFilter);
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (std::size_t bar; (bar = filter.find(L'|', start)) != std::wstring::npos; start = bar + 1)
        parts.push_back(filter.substr(start, bar - start));
    std::vector<std::pair<std::wstring, std::wstring>> types;
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2)
        types.emplace_back(parts[i], parts[i + 1]);
    if (twoTypesOnly && types.size() > 2)
        types.resize(2);
    return types;
}

} // namespace

CProgrammerDlg::CProgrammerDlg(std::wstring applicationName)
    : Dialog(kTemplateId), document_(prompts_), recentStorage_(applicationName),
      recentFiles_(recentStorage_), fileCommands_(document_, recentFiles_, *this),
      applicationName_(std::move(applicationName)) {
    keyNamesShown_ = ReadKeyNamesShown(applicationName_);
    appIcon_ = Resources::LoadIcon(kIconId, GetSystemMetrics(SM_CXICON));
    smallIcon_ = Resources::LoadIcon(kIconId, GetSystemMetrics(SM_CXSMICON));
    windowAccelerators_ = CreateCommandAcceleratorTable(false);
    gridAccelerators_ = CreateCommandAcceleratorTable(true);
}

CProgrammerDlg::~CProgrammerDlg() {
    // A transfer still under way stops before the windows it reports to go.
    programming_.reset();
    if (hwnd())
        DestroyWindow(hwnd());
    if (appIcon_)
        DestroyIcon(appIcon_);
    if (smallIcon_)
        DestroyIcon(smallIcon_);
    if (keyPopup_)
        DestroyMenu(keyPopup_);
    DestroyAcceleratorTable(windowAccelerators_);
    DestroyAcceleratorTable(gridAccelerators_);
}

zr4700::CommandContext CProgrammerDlg::commandContext() {
    return {document_, fileCommands_, recentFiles_, *this, clip_};
}

HMENU CProgrammerDlg::FileMenu() const {
    return mainMenu_ ? GetSubMenu(mainMenu_, 1) : nullptr;
}

BOOL CProgrammerDlg::OnInitDialog() {
    prompts_.SetOwner(hwnd());
    CreateStatusBar();
    keyPanel_.Attach(hwnd());
    rfidControls_.Attach(hwnd());
    CreateGrid();
    NameControlsByTheirLabels(hwnd());
    // A resource set may carry string 101: an About item in the system menu.
    const std::wstring aboutItem = Resources::String(101);
    if (!aboutItem.empty()) {
        HMENU systemMenu = GetSystemMenu(hwnd(), FALSE);
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, kSysCmdAbout, aboutItem.c_str());
    }
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    appDirectory_ = HelpViewer::CurrentDirectory();
    document_.AddObserver(this);
    // A new document is the 56-key 16scan layout; the reset shows it.
    document_.Reset();
    mainMenu_ = Resources::LoadMenu(kMenuId);
    if (mainMenu_)
        AddCommandMenus(mainMenu_);
    keyPopup_ = Resources::LoadMenu(kPopupMenuId);
    if (keyPopup_)
        AddShortcutTexts(keyPopup_);
    SetMenu(hwnd(), mainMenu_);
    RebuildRecentFileMenu();
    return TRUE;
}

void CProgrammerDlg::OnDestroy() {
    // The window goes before its controls: nothing they report from here on is the user's.
    keyPanel_.Detach();
    rfidControls_.Detach();
    document_.RemoveObserver(this);
    prompts_.SetOwner(nullptr);
    // The menu attached to the window goes with it.
    mainMenu_ = nullptr;
    statusBar_ = nullptr;
}

void CProgrammerDlg::CreateGrid() {
    // Inside the frame the template gives the grid.
    if (!grid_.Create(hwnd(), kGridId, Control(kGridFrameId)))
        return;
    // First in the Tab order: the grid, then the key panel from top to bottom, then the RFID
    // group.
    SetWindowPos(grid_.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    grid_.SetNamesShown(keyNamesShown_);
}

void CProgrammerDlg::CreateStatusBar() {
    statusBar_ =
        CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)),
                        Resources::ProgramModule(), nullptr);
    // A status bar places itself along its parent's bottom when told of a size.
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT client{};
    GetClientRect(hwnd(), &client);
    // The panes are measured in pixels at 96 dots per inch; on a denser screen they grow with it.
    const int dpi = static_cast<int>(GetDpiForWindow(hwnd()));
    std::array<int, kStatusPanes> edges{};
    for (std::size_t i = 0; i < kPaneRightEdges.size(); ++i)
        edges[i] = MulDiv(kPaneRightEdges[i], dpi, 96);
    edges.back() = client.right;
    SendMessageW(statusBar_, SB_SETPARTS, kStatusPanes, reinterpret_cast<LPARAM>(edges.data()));
}

void CProgrammerDlg::RefreshStatusBar() {
    if (!statusBar_)
        return;
    const auto texts = zr4700::StatusTexts(document_.layout(), 0, texts_);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::wstring text = Widen(texts[i]);
        SendMessageW(statusBar_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void CProgrammerDlg::UpdateTitle() {
    SetWindowTextW(hwnd(), Widen(zr4700::TitleText(document_, texts_)).c_str());
}

void CProgrammerDlg::DocumentChanged(const zr4700::DocumentChange& change) {
    if (change.whole || change.values || change.selection)
        RefreshStatusBar();
    if (change.fileState)
        UpdateTitle();
    if (change.whole || change.selection || !change.keys.empty() || change.values)
        keyPanel_.TransferToControls();
    if (change.whole || change.programmedKeys || change.selection)
        keyPanel_.TransferProgrammedKeys();
    if (change.whole || change.values)
        rfidControls_.TransferToControls();
    grid_.Refresh();
}

void CProgrammerDlg::GridKeyPressed(int key) {
    document_.SelectKey(key);
}

void CProgrammerDlg::GridKeyDoubleClicked(int key) {
    document_.SelectKey(key);
    EditKeyCodes();
}

void CProgrammerDlg::GridContextMenu(int key, POINT screen) {
    HMENU popup = keyPopup();
    if (!popup)
        return;
    if (key == 0) {
        // From the keyboard: the current key's popup, opened over the key.
        key = document_.layout().currentKey;
        if (key < 1 || key > document_.layout().keyCount)
            return;
        const RECT unit = grid_.KeyRect(key);
        screen = POINT{(unit.left + unit.right) / 2, (unit.top + unit.bottom) / 2};
        ClientToScreen(grid_.hwnd(), &screen);
    }
    // Selecting the key first gives the items the popup's rules for it.
    document_.SelectKey(key);
    const int command = PopupMenus::Track(popup, screen, hwnd());
    if (command != 0) {
        zr4700::CommandContext context = commandContext();
        zr4700::RunCommand(context, command);
    }
}

void CProgrammerDlg::GridKeyDropped(int source, int target) {
    document_.DropKey(source, target);
}

void CProgrammerDlg::GridHovered(int key) {
    if (!statusBar_)
        return;
    const zr4700::Layout& layout = document_.layout();
    const auto panes = zr4700::StatusTexts(layout, key, texts_);
    // The name as the user reads it.
    std::string name = panes[6];
    if (key != 0) {
        name = texts_.Text("status.name");
        const std::size_t at = name.find("%s");
        if (at != std::string::npos)
            name.replace(at, 2, zr4700::ShownKeyName(layout.key(key).name));
    }
    const std::wstring number = Widen(panes[5]);
    const std::wstring shown = Widen(name);
    SendMessageW(statusBar_, SB_SETTEXTW, 5, reinterpret_cast<LPARAM>(number.c_str()));
    SendMessageW(statusBar_, SB_SETTEXTW, 6, reinterpret_cast<LPARAM>(shown.c_str()));
}

INT_PTR CProgrammerDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == kSysCmdAbout) {
            OnAbout();
            return TRUE;
        }
        return FALSE;
    case WM_INITMENUPOPUP:
        // The items' states follow the document, the selection and the clipboard; they are
        // brought up to date as their menu opens.
        RefreshMenuStates(reinterpret_cast<HMENU>(wParam), commandContext(), texts_);
        return TRUE;
    case WM_VSCROLL:
        return rfidControls_.OnScroll(reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(appIcon_));
        return TRUE;
    default:
        return Dialog::OnMessage(message, wParam, lParam);
    }
}

bool CProgrammerDlg::OnCommand(int id, int notification, HWND control) {
    // Menu items and accelerators; the table checks the command's rule, since a shortcut arrives
    // whatever the menu would show.
    if (control &&
        (keyPanel_.OnCommand(id, notification) || rfidControls_.OnCommand(id, notification)))
        return true;
    if (!control && zr4700::FindCommandSpec(id)) {
        zr4700::CommandContext context = commandContext();
        zr4700::RunCommand(context, id);
        return true;
    }
    return Dialog::OnCommand(id, notification, control);
}

bool CProgrammerDlg::PreTranslateMessage(MSG& message) {
    if (!IsKeyMessage(message.message) || !hwnd() || !IsWindowEnabled(hwnd()) ||
        (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)))
        return false;
    if (TakeWindowKey(message))
        return true;
    // The grid's own shortcuts (its clipboard, Delete) work only while it has the focus; a text
    // field keeps those keys for itself.
    const bool onGrid = grid_.hwnd() && GetFocus() == grid_.hwnd();
    return TranslateAcceleratorW(hwnd(), onGrid ? gridAccelerators_ : windowAccelerators_,
                                 &message) != 0;
}

ProgrammingCommands& CProgrammerDlg::programming() {
    if (!programming_)
        programming_ = std::make_unique<ProgrammingCommands>(document_.layout(), prompts_);
    return *programming_;
}

bool CProgrammerDlg::TakeWindowKey(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    // Shift+F10 arrives as a system key; Alt with any other key is the system's (Alt+Down
    // opens the combo box's list).
    if (message.message == WM_SYSKEYDOWN) {
        if (message.wParam != VK_F10 || !shift || GetKeyState(VK_MENU) < 0)
            return false;
        GridContextMenu(0, {});
        return true;
    }
    // A drag on the grid keeps Escape, and an open list of "Programmed keys:" its arrows.
    if (grid_.dragging() || SendMessageW(Control(1016), CB_GETDROPPEDSTATE, 0, 0))
        return false;
    switch (message.wParam) {
    case VK_RETURN:
        if (ctrl || shift)
            return false;
        EditKeyCodes();
        return true;
    case VK_LEFT:
        document_.SelectPreviousKey();
        return true;
    case VK_UP:
        document_.SelectKeyAbove();
        return true;
    case VK_RIGHT:
        document_.SelectNextKey();
        return true;
    case VK_DOWN:
        document_.SelectKeyBelow();
        return true;
    case VK_APPS:
        GridContextMenu(0, {});
        return true;
    case VK_F10:
        if (!shift)
            return false;
        GridContextMenu(0, {});
        return true;
    case VK_F1:
        // The system's help key, as the Help command.
        if (ctrl || shift)
            return false;
        OnHelpContent();
        return true;
    default:
        return false;
    }
}

void CProgrammerDlg::EditKeyCodes() {
    RunCaptureDialog(*this);
}

void CProgrammerDlg::ShowSettings() {
    RunSettingsDialog(*this);
}

void CProgrammerDlg::Program() {
    RunProgramming(*this);
}

void CProgrammerDlg::DetectKeyboard() {
    RunKeyboardDetection(*this);
}

void CProgrammerDlg::PrintLegends() {
    PrintLegendSheets(*this);
}

void CProgrammerDlg::ExportLegends() {
    ExportLegendSheets(*this);
}

void CProgrammerDlg::SetKeyNamesShown(bool shown) {
    keyNamesShown_ = shown;
    WriteKeyNamesShown(applicationName_, shown);
    grid_.SetNamesShown(shown);
}

void CProgrammerDlg::PutTextOnClipboard(const std::string& text) {
    win32::PutTextOnClipboard(hwnd(), Widen(text));
}

void CProgrammerDlg::OnCancel() {
    // The save question never loses work: when the user wanted to save and the save did not
    // happen, the program stays open with the layout as it was.
    if (!fileCommands_.New())
        return;
    End(IDCANCEL);
}

void CProgrammerDlg::OnHelpContent() {
    // While the capture dialog is open, the keys belong to it.
    if (editingKeyCodes)
        return;
    // From the directory that was current at start-up, not the one a file dialog left behind.
    HelpViewer::Show(HelpViewer::HelpFilePath(appDirectory_));
}

void CProgrammerDlg::OnAbout() {
    CAboutDlg about;
    about.RunModal(hwnd());
}

void CProgrammerDlg::RebuildRecentFileMenu() {
    recentFiles_.Reload();
    HMENU menu = FileMenu();
    if (!menu)
        return;
    // The block stands between the separator below "Se&ttings..." and "E&xit"; a menu without
    // both items has no place for it.
    const int settingsAt = MenuPosition(menu, kCmdSettings);
    int exitAt = MenuPosition(menu, kCmdExit);
    if (settingsAt < 0 || exitAt <= settingsAt)
        return;
    int first = settingsAt + 1;
    if (first < exitAt && IsSeparator(menu, first))
        ++first;
    for (; exitAt > first; --exitAt)
        RemoveMenu(menu, static_cast<UINT>(first), MF_BYPOSITION);

    if (recentFiles_.ShownInMenu(1)) {
        for (int n = 1; n <= zr4700::RecentFileList::kCount; ++n) {
            if (!recentFiles_.ShownInMenu(n))
                continue;
            const std::wstring text = MenuText(Widen(recentFiles_.Entry(n)));
            InsertMenuW(menu, kCmdExit, MF_BYCOMMAND | MF_STRING,
                        static_cast<UINT_PTR>(kCmdRecentBase + n), text.c_str());
        }
        InsertMenuW(menu, kCmdExit, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
    }
    if (hwnd())
        DrawMenuBar(hwnd());
}

bool CProgrammerDlg::CommitControls() {
    // The key name reaches the document as it is typed; the RFID values are checked once more.
    return rfidControls_.ReadControls();
}

std::optional<std::string> CProgrammerDlg::ChooseFileToOpen() {
    const auto choice = FileDialogs::GetOpenFileName(hwnd());
    if (!choice)
        return std::nullopt;
    return Narrow(choice->path);
}

std::optional<zr4700::SaveAsChoice>
CProgrammerDlg::ChooseFileToSaveAs(const zr4700::SaveAsOffer& offer) {
    FileDialogs::SaveRequest request;
    request.types = SaveTypes(offer.twoTypesOnly);
    request.initialFilterIndex = static_cast<int>(offer.initial);
    const auto choice = FileDialogs::GetSaveFileName(hwnd(), request);
    if (!choice)
        return std::nullopt;
    // An unrecognised answer keeps the type first offered.
    const bool known =
        choice->filterIndex >= 1 && choice->filterIndex <= static_cast<int>(request.types.size());
    return zr4700::SaveAsChoice{Narrow(choice->path),
                                known ? zr4700::FileVariantFromIndex(choice->filterIndex)
                                      : offer.initial};
}

} // namespace win32
