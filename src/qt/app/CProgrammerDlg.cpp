#include "qt/app/CProgrammerDlg.h"

#include "core/model/GridGeometry.h"
#include "qt/app/CAboutDlg.h"
#include "qt/app/CSettingsDlg.h"
#include "qt/app/CommandActions.h"
#include "qt/app/EditCommands.h"
#include "qt/app/FieldUndoKeys.h"
#include "qt/app/MenuBuilder.h"
#include "qt/app/RfidGroup.h"
#include "qt/grid/GridDragDrop.h"
#include "qt/grid/KeyGridWidget.h"
#include "qt/grid/KeyPopupMenu.h"
#include "qt/legend/LegendCommands.h"
#include "qt/platform/FileDialogs.h"
#include "qt/platform/NameText.h"
#include "qt/platform/Prompts.h"
#include "qt/platform/Resources.h"
#include "qt/programming/CProgressDlg.h"
#include "qt/programming/ProgrammingCommands.h"
#include "qt/scancodes/CCaptureDlg.h"
#include "qt/scancodes/KeyPanelControls.h"
#include "qt/widgets/DialogUnits.h"
#include "qt/widgets/StatusBar.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace zr4700;

CSettingsDlg* theSettingsDlg = nullptr;
CCaptureDlg* theCaptureDlg = nullptr;

namespace {

constexpr int kDialogId = 102;
const Resources::DialogTexts text{kDialogId};

// A menu item shows the path itself: an '&' in it is no accelerator.
QString MenuText(const QString& path) {
    QString text = path;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// The save dialog's file types from the string table's "label|pattern|label|pattern||" text.
QStringList SaveFilters(bool twoTypesOnly) {
    const QStringList parts = Resources::String(kStrSaveFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts.at(i).isEmpty(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts.at(i), parts.at(i + 1));
    if (twoTypesOnly && filters.size() > 2)
        filters = filters.mid(0, 2);
    return filters;
}

} // namespace

CProgrammerDlg::CProgrammerDlg(QWidget* parent)
    : QDialog(parent), document(Prompts::Instance()), layout(document.layout()) {
    setObjectName("102");
    setWindowTitle(text("caption"));
    setFont(DialogFont());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    appIcon = Resources::Icon(102);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    grid_ = new KeyGridWidget(layout, this);
    grid_->setFixedSize(kClientWidth, kClientHeight);
    column->addWidget(grid_);
    column->setSizeConstraint(QLayout::SetFixedSize);

    CreateControls();
    // Window creation: the status bar comes first, before initialisation.
    CreateStatusBar();
    OnInitDialog();
}

CProgrammerDlg::~CProgrammerDlg() {
    // QDialog's destructor hides the window after this part of the object is gone; the focus
    // then leaves an RFID field, whose editingFinished must not reach the half-destroyed dialog.
    rfidGroup_->Detach();
    qApp->removeEventFilter(this);
    document.RemoveObserver(this);
    // The owned objects go in this order: progress, settings, capture, status bar; the key
    // table is part of the document and goes with the dialog.
    if (progressDialog)
        progressDialog->CancelAndWait();
    delete programming_;
    programming_ = nullptr;
    delete progressDialog;
    progressDialog = nullptr;
    delete theSettingsDlg;
    theSettingsDlg = nullptr;
    delete theCaptureDlg;
    theCaptureDlg = nullptr;
    delete statusBar;
    statusBar = nullptr;
}

void CProgrammerDlg::CreateStatusBar() {
    statusBar = new StatusBar(grid_);
    statusBar->setGeometry(0, kClientHeight - StatusBar::kHeight, kClientWidth, StatusBar::kHeight);
}

void CProgrammerDlg::CreateControls() {
    QWidget* surface = grid_;
    // A click on a key gives the grid the keyboard focus, so that Delete, Ctrl+C and Ctrl+V
    // after it act on the key rather than on the field typed in last.
    grid_->setFocusPolicy(Qt::StrongFocus);
    rfidGroup_ = new RfidGroup(surface, document);
    keyPanel_ = new KeyPanelControls(surface, document);
    connect(keyPanel_, &KeyPanelControls::gridChanged, grid_, qOverload<>(&QWidget::update));
    // Tab follows the screen: the grid, the key panel from top to bottom, then the RFID group,
    // and from there round to the grid again.
    QWidget* previous = grid_;
    for (const auto& controls : {keyPanel_->tabOrder(), rfidGroup_->tabOrder()}) {
        for (QWidget* control : controls) {
            setTabOrder(previous, control);
            previous = control;
        }
    }

    // The frame the grid is drawn in; it lets the mouse through to the surface.
    auto* frame = Place(new QFrame(surface), 1010, Dlu(4, 51, 368, 153));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->lower();

    // The template's OK button exists but is never visible; the dialog never ends through it.
    hiddenOk_ = Place(new QPushButton(text(1), surface), 1, Dlu(0, 0, 1, 1));
    hiddenOk_->hide();

    grid_->onMouseMove = [this](int x, int y) { OnGridMouseMove(x, y); };
    grid_->onLeftButtonDown = [this](int x, int y) { OnGridLeftButtonDown(x, y); };
    grid_->onDoubleClick = [this](int x, int y) { OnGridDoubleClick(x, y); };
    grid_->onContextMenu = [this](const QPoint& global) { OnGridContextMenu(global); };
    new GridDragDrop(grid_, layout,
                     [this](int source, int target) { document.DropKey(source, target); });
}

void CProgrammerDlg::OnInitDialog() {
    TransferToControls();
    // A resource set may carry string 101 for an About item in the system menu; Qt offers no
    // portable system menu, and the built-in set has no such string, so nothing is added.
    setWindowIcon(appIcon);
    progressDialog = new CProgressDlg(this);
    programming_ = new ProgrammingCommands(layout, progressDialog, this);
    appDirectory = QDir::currentPath();
    theSettingsDlg = new CSettingsDlg(this);
    theCaptureDlg = new CCaptureDlg(this);
    // The actions exist before the document first tells the window anything.
    actions_ = new CommandActions({document, fileCommands, recentFiles, *this, clip_}, this, grid_);
    document.AddObserver(this);
    Prompts::Instance().SetOwner(this);
    // A new document is the 56-key 16scan layout; the reset shows it.
    document.Reset();
    CreateMenuBar();
    editCommands_ = new EditCommands(*actions_, mainMenu);
    // Undo and Redo in the typed fields: the field's own while it can, then the document's.
    new FieldUndoKeys(*actions_,
                      {findChild<QLineEdit*>(QStringLiteral("1009")),
                       findChild<QLineEdit*>(QStringLiteral("1037")),
                       findChild<QLineEdit*>(QStringLiteral("1038"))},
                      this);
    legendCommands_ = new LegendCommands(this, mainMenu, FileMenu(), grid(), layout, *actions_);
    keyPopup_ = new ::KeyPopupMenu(this, [this](int command, const QString& text) {
        return actions_->ActionWithText(command, text);
    });
    RebuildRecentFileMenu();
    // Typing a name or an RFID value is one step per visit to the field: leaving it ends the
    // step.
    connect(qApp, &QApplication::focusChanged, this, [this] { document.EndTyping(); });
    qApp->installEventFilter(this);
    // The first control of the window, as a dialog starts.
    rfidGroup_->firstControl()->setFocus();
}

void CProgrammerDlg::CreateMenuBar() {
    mainMenu = new QMenuBar(this);
    mainMenu->setObjectName("129");
    AppendMenuItems(mainMenu, Resources::Menu(129), [this](int command, const QString& text) {
        return actions_->ActionWithText(command, text);
    });
    const auto top = mainMenu->actions();
    if (top.size() > 1)
        fileMenu_ = top.at(1)->menu();
    QDialog::layout()->setMenuBar(mainMenu);
}

QAction* CProgrammerDlg::CommandAction(int command) const {
    return actions_ ? actions_->Action(command) : nullptr;
}

QMenu* CProgrammerDlg::EditMenu() const {
    return editCommands_ ? editCommands_->menu() : nullptr;
}

QMenu* CProgrammerDlg::KeyPopupMenu() const {
    return keyPopup_ ? keyPopup_->menu() : nullptr;
}

QAction* CProgrammerDlg::KeyPopupAction(int command) const {
    return keyPopup_ ? keyPopup_->Action(command) : nullptr;
}

QWidget* CProgrammerDlg::Control(int id) const {
    return findChild<QWidget*>(QString::number(id));
}

void CProgrammerDlg::OnCommand(int command) {
    if (actions_) {
        RunCommand(actions_->context(), command);
        actions_->Refresh();
    }
}

// ---- Data exchange ---------------------------------------------------------------------------

void CProgrammerDlg::TransferToControls() {
    keyPanel_->TransferToControls();
    rfidGroup_->TransferToControls();
}

bool CProgrammerDlg::ReadControls() {
    return rfidGroup_->ReadControls();
}

// ---- Document notifications --------------------------------------------------------------------

void CProgrammerDlg::DocumentChanged(const DocumentChange& change) {
    if (change.whole || change.values)
        TransferToControls();
    else if (change.selection || !change.keys.empty())
        keyPanel_->TransferToControls();
    if (change.whole || change.programmedKeys || change.selection)
        keyPanel_->TransferProgrammedKeys();
    grid_->update();
    if (change.whole || change.selection)
        grid_->AnnounceCurrentKey();
    if (change.whole || change.values)
        RefreshStatusBar();
    if (change.fileState || change.values)
        UpdateTitle();
    if (actions_)
        actions_->Refresh();
}

void CProgrammerDlg::UpdateTitle() {
    setWindowTitle(QString::fromStdString(TitleText(document, ResourceTexts())));
}

// ---- Keyboard: Enter and the arrows are the dialog's before any control sees them -----------

bool CProgrammerDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ContextMenu)
        return QDialog::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    // Open menus and popups (the File menu, the combo box's list) keep their own keys, and the
    // menu bar its Left and Right.
    if (!widget || widget->window() != this || !isEnabled() || !isActiveWindow() ||
        QApplication::activePopupWidget() || qobject_cast<QMenuBar*>(widget))
        return QDialog::eventFilter(watched, event);
    if (type == QEvent::ContextMenu) {
        // The menu key first asks the focused control for its context menu: the key popup at
        // the current key answers instead, so cells can be shaped without a mouse.
        if (static_cast<QContextMenuEvent*>(event)->reason() != QContextMenuEvent::Keyboard)
            return QDialog::eventFilter(watched, event);
        OpenKeyPopupAtCurrentKey();
        return true;
    }
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    // Keys pressed with Alt are system keys (Alt+Down opens the combo box's list).
    if (keyEvent->modifiers() & Qt::AltModifier)
        return QDialog::eventFilter(watched, event);
    switch (keyEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EditKeyCodes();
        return true;
    case Qt::Key_Left:
        document.SelectPreviousKey();
        return true;
    case Qt::Key_Up:
        document.SelectKeyAbove();
        return true;
    case Qt::Key_Right:
        document.SelectNextKey();
        return true;
    case Qt::Key_Down:
        document.SelectKeyBelow();
        return true;
    case Qt::Key_Menu:
        OpenKeyPopupAtCurrentKey();
        return true;
    case Qt::Key_F1:
        // The desktop's help key, as the Help command.
        if (keyEvent->modifiers() != Qt::NoModifier)
            break;
        OnHelpContent();
        return true;
    case Qt::Key_F10:
        if (keyEvent->modifiers() != Qt::ShiftModifier)
            break;
        OpenKeyPopupAtCurrentKey();
        return true;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void CProgrammerDlg::OpenKeyPopupAtCurrentKey() {
    if (layout.currentKey < 1 || layout.currentKey > layout.keyCount)
        return;
    const GridPoint origin = KeyOrigin(layout.currentKey);
    OnGridContextMenu(grid_->mapToGlobal(QPoint(origin.x + kKeyUnit / 2, origin.y + kKeyUnit / 2)));
}

// ---- Closing -----------------------------------------------------------------------------------

void CProgrammerDlg::accept() {
    // The dialog is never ended by its OK command.
}

void CProgrammerDlg::reject() {
    OnCancel();
}

void CProgrammerDlg::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    event->ignore();
    OnCancel();
}

void CProgrammerDlg::OnCancel() {
    // A transfer under way is stopped from its own dialog (Escape or its close box), never by
    // closing the program: the keyboard would be left half programmed without a word.
    if (closing_ || (progressDialog && progressDialog->IsProgramming()))
        return;
    // The save question never loses work: when the user wanted to save and the save did not
    // happen, the program stays open with the layout as it was.
    if (!OnFileNew())
        return;
    closing_ = true;
    done(QDialog::Rejected);
}

// ---- Grid --------------------------------------------------------------------------------------

void CProgrammerDlg::RefreshStatusBar() {
    const auto panes = StatusTexts(layout, 0, ResourceTexts());
    for (int pane = 0; pane < kStatusPanes; ++pane)
        statusBar->SetPaneText(pane, QString::fromStdString(panes[static_cast<size_t>(pane)]));
}

void CProgrammerDlg::OnGridMouseMove(int x, int y) {
    // The key under the pointer, with its name as the user reads it.
    const int key = layout.KeyAt(x, y);
    const auto panes = StatusTexts(layout, key, ResourceTexts());
    statusBar->SetPaneText(5, QString::fromStdString(panes[5]));
    statusBar->SetPaneText(
        6, key == 0
               ? QString::fromStdString(panes[6])
               : Resources::String("status.name").replace("%s", NameText(layout.key(key).name)));
}

void CProgrammerDlg::OnGridLeftButtonDown(int x, int y) {
    if (const int key = layout.KeyAt(x, y))
        document.SelectKey(key);
}

void CProgrammerDlg::OnGridDoubleClick(int x, int y) {
    const int key = layout.KeyAt(x, y);
    if (key == 0)
        return;
    document.SelectKey(key);
    EditKeyCodes();
}

void CProgrammerDlg::OnGridContextMenu(const QPoint& globalPos) {
    // The platform's own screen-to-client mapping finds the key under the pointer whatever the
    // window frame looks like.
    const QPoint client = grid_->mapFromGlobal(globalPos);
    const int key = layout.KeyAt(client.x(), client.y());
    if (key == 0 || !keyPopup_)
        return;
    // Selecting the key refreshes the items' states by the popup's rules for it.
    document.SelectKey(key);
    keyPopup_->PopupAt(globalPos);
}

// ---- Key editing -------------------------------------------------------------------------------

void CProgrammerDlg::EditKeyCodes() {
    const int k = layout.currentKey;
    // With no key selected (a list entry that no key carries was chosen) there is nothing to edit.
    if (k < 1 || k > layout.keyCount || !theCaptureDlg || editingKeyCodes)
        return;
    editingKeyCodes = true;
    CCaptureDlg& dialog = *theCaptureDlg;
    dialog.codeSlots = layout.key(k).codes;
    dialog.codeNames = layout.panel.panelCodeNames;
    // The same place for every key, so its buttons are where the user last found them.
    CentreOver(&dialog, this);
    if (dialog.exec() == QDialog::Accepted)
        document.ApplyCapturedCodes(dialog.codeSlots, dialog.codeNames);
    document.SelectKey(k);
    editingKeyCodes = false;
    grid_->update();
}

void CProgrammerDlg::OnInsertKey() {
    document.SelectKey(layout.currentKey);
    EditKeyCodes();
}

// ---- Settings ----------------------------------------------------------------------------------

void CProgrammerDlg::OnSettings() {
    CSettingsDlg& dialog = *theSettingsDlg;
    const KeyboardSettings& s = layout.settings;
    dialog.keysType = s.keysType;
    dialog.keyBeep = s.keyBeep;
    dialog.keyDelay = s.keyDelay;
    dialog.typematicRate = s.typematicRate;
    dialog.keysPause = s.keysPause;
    dialog.model = layout.keyCount == kBlockKeys ? 0 : 1;
    if (dialog.exec() != QDialog::Accepted)
        return;
    KeyboardSettings settings;
    settings.keysType = dialog.keysType;
    settings.keyBeep = dialog.keyBeep;
    settings.keyDelay = dialog.keyDelay;
    settings.typematicRate = dialog.typematicRate;
    settings.keysPause = dialog.keysPause;
    document.ApplySettings(settings, dialog.model == 1 ? kMaxKeys : kBlockKeys);
    RefreshStatusBar();
    grid_->update();
}

// ---- File dialogs ------------------------------------------------------------------------------

std::optional<std::string> CProgrammerDlg::ChooseFileToOpen() {
    const auto choice = FileDialogs::GetOpenFileName(this, QStringLiteral("*.txt"));
    if (!choice)
        return std::nullopt;
    return QDir::toNativeSeparators(choice->path).toStdString();
}

std::optional<SaveAsChoice> CProgrammerDlg::ChooseFileToSaveAs(const SaveAsOffer& offer) {
    FileDialogs::SaveRequest request;
    request.filters = SaveFilters(offer.twoTypesOnly);
    request.initialFilterIndex = static_cast<int>(offer.initial);
    request.defaultExtension = QStringLiteral("txt");
    request.initialName = QStringLiteral("*.txt");
    const auto choice = FileDialogs::GetSaveFileName(this, request);
    if (!choice)
        return std::nullopt;
    // An unrecognised answer keeps the type first offered.
    const bool known = choice->filterIndex >= 1 && choice->filterIndex <= request.filters.size();
    return SaveAsChoice{QDir::toNativeSeparators(choice->path).toStdString(),
                        known ? FileVariantFromIndex(choice->filterIndex) : offer.initial};
}

// ---- Recent files, help, About -----------------------------------------------------------------

void CProgrammerDlg::RebuildRecentFileMenu() {
    recentFiles.Reload();
    QMenu* menu = FileMenu();
    if (!menu)
        return;
    // The block stands between the separator below "Se&ttings..." and "E&xit"; a menu without
    // both items has no place for it.
    const QList<QAction*> actions = menu->actions();
    QAction* exitItem = FindCommand(menu, kCmdExit);
    const qsizetype settingsAt = actions.indexOf(FindCommand(menu, kCmdSettings));
    const qsizetype exitAt = actions.indexOf(exitItem);
    if (settingsAt < 0 || exitAt <= settingsAt)
        return;
    qsizetype first = settingsAt + 1;
    if (first < exitAt && actions.at(first)->isSeparator())
        ++first;
    for (qsizetype i = first; i < exitAt; ++i) {
        QAction* item = actions.at(i);
        menu->removeAction(item);
        // The commands' own actions stay with the window; a separator goes. The item may be
        // the one whose command is running now.
        if (item->isSeparator())
            item->deleteLater();
    }

    if (!recentFiles.ShownInMenu(1))
        return;
    for (int n = 1; n <= zr4700::RecentFileList::kCount; ++n) {
        QAction* item = actions_->Action(kCmdRecentFirst + n - 1);
        if (recentFiles.ShownInMenu(n) && item) {
            item->setText(MenuText(QString::fromStdString(recentFiles.Entry(n))));
            menu->insertAction(exitItem, item);
        }
    }
    auto* separator = new QAction(menu);
    separator->setSeparator(true);
    menu->insertAction(exitItem, separator);
    actions_->Refresh();
}

void CProgrammerDlg::OnHelpContent() {
    // While the capture dialog is open, the keys belong to it.
    if (editingKeyCodes)
        return;
    // From the directory that was current at start-up, not the one a file dialog left behind.
    const QString path =
        QDir::toNativeSeparators(appDirectory + QStringLiteral("/help/ZR4700.chm"));
    // The desktop's viewer for the file; whether a missing file is reported is up to it. The
    // program itself reports nothing, even when no viewer takes the file.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void CProgrammerDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

// ---- Programming -------------------------------------------------------------------------------

void CProgrammerDlg::OnProgramming() {
    // The window is disabled while a worker runs, so this only guards against a command that
    // arrives some other way: writing now would replace the file that run is using.
    if (!progressDialog || progressDialog->IsProgramming() || programming_->Busy())
        return;
    // The document stays exactly as it is: the layout goes to a file of the run's own.
    if (!ReadControls())
        return;
    programming_->Program();
}

void CProgrammerDlg::OnDetectKeyboard() {
    if (progressDialog && progressDialog->IsProgramming())
        return;
    programming_->DetectKeyboard();
}

// ---- Commands only the window can do -----------------------------------------------------------

void CProgrammerDlg::PrintLegends() {
    legendCommands_->OnPrintLegends();
}

void CProgrammerDlg::ExportLegends() {
    legendCommands_->OnExportLegends();
}

void CProgrammerDlg::SetKeyNamesShown(bool shown) {
    legendCommands_->SetNamesShown(shown);
}

bool CProgrammerDlg::KeyNamesShown() const {
    return legendCommands_ ? legendCommands_->namesShown() : true;
}

void CProgrammerDlg::PutTextOnClipboard(const std::string& text) {
    QApplication::clipboard()->setText(QString::fromStdString(text));
}
