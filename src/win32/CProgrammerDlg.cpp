#include "win32/CProgrammerDlg.h"

#include "core/document/Commands.h"

#include "win32/CAboutDlg.h"
#include "win32/Clipboard.h"
#include "win32/FileDialogs.h"
#include "win32/HelpViewer.h"
#include "win32/KeyboardCommands.h"
#include "win32/LegendCommands.h"
#include "win32/Resources.h"
#include "win32/WideText.h"
#include "win32/commands/CommandAccelerators.h"
#include "win32/commands/CommandMenus.h"
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

int FindCommand(HMENU menu, int command) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(menu, i) == static_cast<UINT>(command))
            return i;
    }
    return -1;
}

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
    : Dialog(kTemplateId), document_(prompts_), recentStorage_(std::move(applicationName)),
      recentFiles_(recentStorage_), fileCommands_(document_, recentFiles_, *this) {
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
    SetMenu(hwnd(), mainMenu_);
    RebuildRecentFileMenu();
    return TRUE;
}

void CProgrammerDlg::OnDestroy() {
    document_.RemoveObserver(this);
    prompts_.SetOwner(nullptr);
    // The menu attached to the window goes with it.
    mainMenu_ = nullptr;
    statusBar_ = nullptr;
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

std::string CProgrammerDlg::ResourceTexts::Text(std::string_view key) const {
    const std::string name(key);
    const bool number = !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
    return number ? Resources::Utf8String(std::stoi(name)) : Resources::Utf8String(name.c_str());
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
    if (!control && zr4700::FindCommandSpec(id)) {
        zr4700::CommandContext context = commandContext();
        zr4700::RunCommand(context, id);
        return true;
    }
    return Dialog::OnCommand(id, notification, control);
}

bool CProgrammerDlg::PreTranslateMessage(MSG& message) {
    if (!IsKeyMessage(message.message) || !hwnd() ||
        (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)))
        return false;
    // The grid's own shortcuts (its clipboard, Delete) work only while it has the focus; a text
    // field keeps those keys for itself.
    const bool onGrid = gridWindow_ && GetFocus() == gridWindow_;
    return TranslateAcceleratorW(hwnd(), onGrid ? gridAccelerators_ : windowAccelerators_,
                                 &message) != 0;
}

ProgrammingCommands& CProgrammerDlg::programming() {
    if (!programming_)
        programming_ = std::make_unique<ProgrammingCommands>(document_.layout(), prompts_);
    return *programming_;
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
    const int settingsAt = FindCommand(menu, kCmdSettings);
    int exitAt = FindCommand(menu, kCmdExit);
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
    // The key panel and the RFID group are not on this dialog yet: nothing to take.
    return true;
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
