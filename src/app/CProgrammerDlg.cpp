#include "app/CProgrammerDlg.h"

#include "app/CSettingsDlg.h"
#include "app/DataExchange.h"
#include "app/DialogUnits.h"
#include "app/MenuBuilder.h"
#include "app/NameText.h"
#include "app/Prompts.h"
#include "app/Resources.h"
#include "app/SpinButtons.h"
#include "app/StatusBar.h"
#include "layout/GridGeometry.h"
#include "layout/KeyGridWidget.h"
#include "programming/CProgressDlg.h"
#include "scancodes/CCaptureDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace zr4700;

CSettingsDlg* theSettingsDlg = nullptr;
CCaptureDlg* theCaptureDlg = nullptr;

namespace {

constexpr int kDialogId = 102;

// Ids of the code fields of the key panel, slot 1 to 16.
constexpr std::array<int, kCodeSlots> kCodeFieldIds = {
    1000, 1001, 1003, 1004, 1005, 1006, 1007, 1008, 1002, 1011, 1013, 1014, 1015, 1019, 1021, 1022};

QString text(const char* key) {
    return Resources::DialogText(kDialogId, key);
}
QString text(int id) {
    return Resources::DialogText(kDialogId, QString::number(id));
}

QLabel* label(QWidget* parent, const QString& caption, const QRect& rect) {
    return Place(new QLabel(caption, parent), 0, rect);
}

QGroupBox* group(QWidget* parent, const QString& caption, const QRect& rect) {
    auto* box = Place(new QGroupBox(caption, parent), 0, rect);
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    return box;
}

} // namespace

CProgrammerDlg::CProgrammerDlg(QWidget* parent) : QDialog(parent) {
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
    disconnect(prefixEdit, nullptr, this, nullptr);
    disconnect(suffixEdit, nullptr, this, nullptr);
    qApp->removeEventFilter(this);
    layout.SetObserver(nullptr);
    // The owned objects go in this order: progress, settings, capture, status bar; the key
    // table is part of the document and goes with the dialog.
    StopProgramming();
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

    // RFID group.
    group(surface, text("group.rfid"), Dlu(4, 3, 165, 44));
    label(surface, text("label.prefix"), Dlu(10, 15, 24, 8));
    prefixEdit = Place(new QLineEdit(surface), 1037, Dlu(35, 13, 22, 12));
    prefixExtendedBox = Place(new QCheckBox(text(1039), surface), 1039, Dlu(60, 14, 40, 10));
    label(surface, text("label.suffix"), Dlu(10, 31, 24, 8));
    suffixEdit = Place(new QLineEdit(surface), 1038, Dlu(35, 29, 22, 12));
    suffixExtendedBox = Place(new QCheckBox(text(1041), surface), 1041, Dlu(60, 30, 40, 10));
    label(surface, text("label.digitsCount"), Dlu(102, 15, 42, 8));
    digitsCountEdit = Place(new QLineEdit(surface), 1035, Dlu(145, 13, 13, 12));
    digitsCountEdit->setReadOnly(true);
    digitsSpin = Place(new SpinButtons(digitsCountEdit, surface), 1036, Dlu(158, 13, 8, 12));
    digitsNumBox = Place(new QCheckBox(text(1042), surface), 1042, Dlu(102, 30, 64, 10));

    // Key flags and key mode.
    group(surface, text("group.flags"), Dlu(172, 3, 107, 44));
    singleKeyButton = Place(new QCheckBox(text(1018), surface), 1018, Dlu(177, 14, 50, 10));
    groupKeyButton = Place(new QCheckBox(text(1017), surface), 1017, Dlu(230, 14, 46, 10));
    groupKeyButton->setEnabled(false);
    auto* flagForAll = Place(new QPushButton(text(1027), surface), 1027, Dlu(177, 33, 10, 10));
    label(surface, text("label.flagForAll"), Dlu(190, 34, 86, 8));

    group(surface, text("group.mode"), Dlu(282, 3, 91, 44));
    // The arrow keys belong to the grid, so each mode is a tab stop of its own that Space
    // chooses. The buttons keep their one choice themselves: in a button group (or
    // auto-exclusive) Tab would reach only the chosen one.
    modeButtons = {Place(new QRadioButton(text(1023), surface), 1023, Dlu(286, 12, 40, 10)),
                   Place(new QRadioButton(text(1026), surface), 1026, Dlu(286, 23, 40, 10)),
                   Place(new QRadioButton(text(1024), surface), 1024, Dlu(330, 12, 40, 10))};
    for (QRadioButton* button : modeButtons)
        button->setAutoExclusive(false);
    auto* modeForAll = Place(new QPushButton(text(1025), surface), 1025, Dlu(286, 33, 10, 10));
    label(surface, text("label.modeForAll"), Dlu(299, 34, 72, 8));

    // Right column: programmed keys and the key panel.
    label(surface, text("label.programmedKeys"), Dlu(377, 6, 128, 8));
    programmedKeysCombo = Place(new QComboBox(surface), 1016, Dlu(377, 15, 128, 12));
    programmedKeysCombo->setEditable(true);
    programmedKeysCombo->setInsertPolicy(QComboBox::NoInsert);
    programmedKeysCombo->setMaxVisibleItems(12);

    group(surface, text("group.key"), Dlu(377, 29, 128, 175));
    label(surface, text("label.keyNumber"), Dlu(384, 41, 40, 8));
    keyNumberEdit = Place(new QLineEdit(surface), 1012, Dlu(425, 39, 19, 12));
    keyNumberEdit->setReadOnly(true);
    label(surface, text("label.keyName"), Dlu(384, 55, 40, 8));
    keyNameEdit = Place(new QLineEdit(surface), 1009, Dlu(425, 53, 76, 12));
    keyNameEdit->setMaxLength(static_cast<int>(kMaxKeyNameLength));

    group(surface, text("group.codes"), Dlu(382, 67, 119, 118));
    for (int slot = 0; slot < kCodeSlots; ++slot) {
        const bool left = slot < 8;
        const int row = slot % 8;
        const double y = 77 + row * 12.7;
        const double x = left ? 396 : 454;
        label(surface, QStringLiteral("%1.").arg(slot + 1), Dlu(left ? 386 : 442, y + 2, 12, 8));
        auto* field = Place(new QLineEdit(surface), kCodeFieldIds[static_cast<size_t>(slot)],
                            Dlu(x, y, 42, 11));
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::ClickFocus);
        codeFields[static_cast<size_t>(slot)] = field;
    }
    previousKeyButton = Place(new QPushButton(text(1020), surface), 1020, Dlu(382, 190, 52, 11));
    nextKeyButton = Place(new QPushButton(text(1051), surface), 1051, Dlu(447, 190, 52, 11));

    // The frame the grid is drawn in; it lets the mouse through to the surface.
    auto* frame = Place(new QFrame(surface), 1010, Dlu(4, 51, 368, 153));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->lower();

    // Enter always edits the current key, so no visible button may look like the default one.
    for (QPushButton* button : {flagForAll, modeForAll, previousKeyButton, nextKeyButton})
        button->setAutoDefault(false);

    // The template's OK button exists but is never visible; the dialog never ends through it.
    hiddenOk_ = Place(new QPushButton(text(1), surface), 1, Dlu(0, 0, 1, 1));
    hiddenOk_->hide();

    // Notifications, connected in one place.
    // A valid value reaches its member as it is typed; a bad one is reported when the field is
    // left, and the member keeps its last valid value.
    connect(prefixEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { TakeRfidByte(text, layout.rfid.prefix); });
    connect(suffixEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { TakeRfidByte(text, layout.rfid.suffix); });
    connect(prefixEdit, &QLineEdit::editingFinished, this,
            [this] { ValidateRfidByte(prefixEdit, layout.rfid.prefix); });
    connect(suffixEdit, &QLineEdit::editingFinished, this,
            [this] { ValidateRfidByte(suffixEdit, layout.rfid.suffix); });
    connect(prefixExtendedBox, &QCheckBox::toggled, this,
            [this](bool on) { layout.rfid.prefixExtended = on ? 1 : 0; });
    connect(suffixExtendedBox, &QCheckBox::toggled, this,
            [this](bool on) { layout.rfid.suffixExtended = on ? 1 : 0; });
    connect(digitsNumBox, &QCheckBox::toggled, this,
            [this](bool on) { layout.rfid.digitsNum = on ? 1 : 0; });
    connect(digitsSpin, &SpinButtons::positionChanged, this,
            [this](int position) { layout.rfid.digitsCount = static_cast<uint8_t>(position); });
    connect(singleKeyButton, &QCheckBox::clicked, this, &CProgrammerDlg::OnSingleKey);
    connect(flagForAll, &QPushButton::clicked, this, &CProgrammerDlg::OnSetFlagForAll);
    connect(modeForAll, &QPushButton::clicked, this, &CProgrammerDlg::OnSetModeForAll);
    for (int mode = 0; mode < static_cast<int>(modeButtons.size()); ++mode) {
        connect(modeButtons[static_cast<size_t>(mode)], &QRadioButton::clicked, this, [this, mode] {
            Exchange::SetRadio(modeButtons, mode);
            OnMode(mode);
        });
    }
    connect(keyNameEdit, &QLineEdit::textEdited, this, &CProgrammerDlg::OnKeyNameChanged);
    connect(previousKeyButton, &QPushButton::clicked, this, &CProgrammerDlg::OnPreviousKey);
    connect(nextKeyButton, &QPushButton::clicked, this, &CProgrammerDlg::OnNextKey);
    connect(programmedKeysCombo, &QComboBox::activated, this,
            &CProgrammerDlg::OnProgrammedKeySelected);

    grid_->onMouseMove = [this](int x, int y) { OnGridMouseMove(x, y); };
    grid_->onLeftButtonDown = [this](int x, int y) { OnGridLeftButtonDown(x, y); };
    grid_->onDoubleClick = [this](int x, int y) { OnGridDoubleClick(x, y); };
    grid_->onContextMenu = [this](const QPoint& global) { OnGridContextMenu(global); };
}

void CProgrammerDlg::OnInitDialog() {
    TransferToControls();
    // A resource set may carry string 101 for an About item in the system menu; Qt offers no
    // portable system menu, and the built-in set has no such string, so nothing is added.
    setWindowIcon(appIcon);
    progressDialog = new CProgressDlg(this);
    appDirectory = QDir::currentPath();
    theSettingsDlg = new CSettingsDlg(this);
    theCaptureDlg = new CCaptureDlg(this);
    layout.keyCount = 56;
    layout.scan16Mode = true;
    layout.SetObserver(this);
    digitsSpin->SetRange(1, 13);
    digitsSpin->SetPosition(9);
    Prompts::Instance().SetOwner(this);
    ResetLayout();
    CreateMenuBar();
    CreateKeyPopupMenu();
    RebuildRecentFileMenu();
    qApp->installEventFilter(this);
    // The first control of the window, as a dialog starts.
    prefixEdit->setFocus();
}

void CProgrammerDlg::CreateMenuBar() {
    mainMenu = new QMenuBar(this);
    mainMenu->setObjectName("129");
    const auto handler = [this](int command) { OnCommand(command); };
    AppendMenuItems(mainMenu, Resources::Menu(129), handler);
    const auto top = mainMenu->actions();
    if (top.size() > 1)
        fileMenu_ = top.at(1)->menu();
    QDialog::layout()->setMenuBar(mainMenu);
}

void CProgrammerDlg::CreateKeyPopupMenu() {
    auto* holder = new QMenu(this);
    AppendMenuItems(holder, Resources::Menu(137), [this](int command) { OnCommand(command); });
    // The key popup is the first submenu of menu 137.
    for (QAction* action : holder->actions()) {
        if (action->menu()) {
            keyPopup_ = action->menu();
            break;
        }
    }
    if (keyPopup_)
        keyPopup_->setObjectName("137");
}

QAction* CProgrammerDlg::KeyPopupAction(int command) const {
    return keyPopup_ ? FindCommand(keyPopup_, command) : nullptr;
}

QWidget* CProgrammerDlg::Control(int id) const {
    return findChild<QWidget*>(QString::number(id));
}

void CProgrammerDlg::OnCommand(int command) {
    if (command >= kCmdRecentFirst && command <= kCmdRecentLast) {
        OpenRecentFile(command - kCmdInsertKey);
        return;
    }
    switch (command) {
    case kCmdFileNew:
        OnFileNew();
        break;
    case kCmdFileOpen:
        OnFileOpen();
        break;
    case kCmdFileSave:
        OnFileSave();
        break;
    case kCmdFileSaveAs:
        OnFileSaveAs();
        break;
    case kCmdSingle:
    case kCmdToRight:
    case kCmdToDown:
    case kCmdQuad:
        OnShapeCommand(command);
        break;
    case kCmdClearKey:
        OnClearKey();
        break;
    case kCmdClearAll:
        OnClearAll();
        break;
    case kCmdCopyKey:
        OnCopyKey();
        break;
    case kCmdSettings:
        OnSettings();
        break;
    case kCmdExit:
        OnExit();
        break;
    case kCmdAbout:
        OnAbout();
        break;
    case kCmdInsertKey:
        OnInsertKey();
        break;
    case kCmdProgramming:
        OnProgramming();
        break;
    case kCmdHelpContent:
        OnHelpContent();
        break;
    default:
        break;
    }
}

// ---- Data exchange ---------------------------------------------------------------------------

void CProgrammerDlg::TransferToControls() {
    TransferPanelToControls();
    ExchangeGuard guard(exchangeDepth_);
    const RfidSettings& rfid = layout.rfid;
    Exchange::SetNumber(prefixEdit, rfid.prefix);
    Exchange::SetCheck(prefixExtendedBox, rfid.prefixExtended);
    digitsSpin->blockSignals(true);
    digitsSpin->SetPosition(rfid.digitsCount);
    digitsSpin->blockSignals(false);
    Exchange::SetNumber(digitsCountEdit, rfid.digitsCount);
    Exchange::SetNumber(suffixEdit, rfid.suffix);
    Exchange::SetCheck(suffixExtendedBox, rfid.suffixExtended);
    Exchange::SetCheck(digitsNumBox, rfid.digitsNum);
}

// Showing another key refreshes only the key panel: the RFID fields keep what the user is typing.
void CProgrammerDlg::TransferPanelToControls() {
    ExchangeGuard guard(exchangeDepth_);
    const KeyPanel& panel = layout.panel;
    Exchange::SetCheck(groupKeyButton, panel.panelGroup);
    Exchange::SetText(keyNameEdit, NameText(panel.panelName));
    Exchange::SetNumber(keyNumberEdit, panel.panelNumber);
    for (int slot = 0; slot < kCodeSlots; ++slot)
        Exchange::SetText(codeFields[static_cast<size_t>(slot)],
                          QString::fromStdString(panel.panelCodeNames[static_cast<size_t>(slot)]));
    Exchange::SetRadio(modeButtons, panel.panelMode);
    Exchange::SetCheck(singleKeyButton, panel.panelSingle);
}

bool CProgrammerDlg::ReadControls() {
    ExchangeGuard guard(exchangeDepth_);
    KeyPanel& panel = layout.panel;
    panel.panelGroup = groupKeyButton->isChecked() ? 1 : 0;
    // A name shows decoded (see NameText): its bytes are taken back only when the user changed
    // the text, so that an unedited name from an older file keeps its own bytes.
    if (keyNameEdit->text() != NameText(panel.panelName))
        panel.panelName = CutName(keyNameEdit->text().toStdString(), kMaxKeyNameLength);
    uint32_t number = panel.panelNumber;
    if (!Exchange::ReadUnsigned(keyNumberEdit, number, 0, 0xFFFFFFFFu))
        return false;
    panel.panelNumber = number;
    for (int slot = 0; slot < kCodeSlots; ++slot)
        panel.panelCodeNames[static_cast<size_t>(slot)] =
            codeFields[static_cast<size_t>(slot)]->text().toStdString();
    if (Exchange::Radio(modeButtons) >= 0)
        panel.panelMode = Exchange::Radio(modeButtons);
    panel.panelSingle = singleKeyButton->isChecked() ? 1 : 0;
    return ValidateRfidFields();
}

bool CProgrammerDlg::ValidateRfidFields() {
    RfidSettings& rfid = layout.rfid;
    uint8_t value = 0;
    for (auto [edit, member] :
         {std::pair{prefixEdit, &rfid.prefix}, std::pair{digitsCountEdit, &rfid.digitsCount},
          std::pair{suffixEdit, &rfid.suffix}}) {
        if (!Exchange::ReadByte(edit, value))
            return false;
        *member = value;
    }
    rfid.prefixExtended = prefixExtendedBox->isChecked() ? 1 : 0;
    rfid.suffixExtended = suffixExtendedBox->isChecked() ? 1 : 0;
    rfid.digitsNum = digitsNumBox->isChecked() ? 1 : 0;
    return true;
}

void CProgrammerDlg::TakeRfidByte(const QString& text, uint8_t& member) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok && value >= 0 && value <= 255)
        member = static_cast<uint8_t>(value);
}

// A prefix or suffix is checked once, when the user leaves the field: a bad value is reported a
// single time, the field gets the focus back, and the member keeps its last valid value.
void CProgrammerDlg::ValidateRfidByte(QLineEdit* edit, uint8_t& member) {
    if (validatingRfid_ || exchangeDepth_ > 0 || closing_)
        return;
    validatingRfid_ = true;
    uint8_t value = member;
    if (Exchange::ReadByte(edit, value))
        member = value;
    validatingRfid_ = false;
}

// ---- Document notifications --------------------------------------------------------------------

void CProgrammerDlg::KeyCellDrawn(int key, int picture) {
    grid_->RepaintCell(key, picture);
}

void CProgrammerDlg::PanelChanged() {
    TransferPanelToControls();
}

void CProgrammerDlg::ProgrammedKeyComboChanged() {
    ExchangeGuard guard(exchangeDepth_);
    const QSignalBlocker blocker(programmedKeysCombo);
    QStringList items;
    for (const std::string& item : layout.programmedKeyComboItems)
        items << NameText(item);
    bool same = programmedKeysCombo->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i)
        same = programmedKeysCombo->itemText(i) == items.at(i);
    if (!same) {
        programmedKeysCombo->clear();
        programmedKeysCombo->addItems(items);
    }
    programmedKeysCombo->setCurrentIndex(layout.programmedKeyComboSelection);
    if (layout.programmedKeyComboSelection < 0)
        programmedKeysCombo->setEditText(QString());
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
        layout.SelectPreviousKey();
        return true;
    case Qt::Key_Up:
        layout.SelectKeyAbove();
        return true;
    case Qt::Key_Right:
        layout.SelectNextKey();
        return true;
    case Qt::Key_Down:
        layout.SelectKeyBelow();
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
    const zr4700::GridPoint origin = KeyOrigin(layout.currentKey);
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
    if (closing_)
        return;
    StopProgramming();
    // The save question never loses work: when the user wanted to save and the save did not
    // happen, the program stays open with the layout as it was.
    if (!OnFileNew())
        return;
    closing_ = true;
    done(QDialog::Rejected);
}

void CProgrammerDlg::StopProgramming() {
    if (progressDialog)
        progressDialog->CancelAndWait();
}

// ---- Grid
// ----------------------------------------------------------------------------------------

void CProgrammerDlg::RefreshStatusBar() {
    const KeyboardSettings& s = layout.settings;
    statusBar->SetPaneText(0, Resources::String(layout.keyCount == 56 ? 32794 : 32795));
    statusBar->SetPaneText(1, Resources::String(s.keysType != 0 ? 32796 : 32797));
    statusBar->SetPaneText(2, Resources::String(s.keyBeep != 0 ? 32798 : 32799));
    statusBar->SetPaneText(
        3, Resources::String("status.delay").replace("%d", QString::number(s.keyDelay)));
    statusBar->SetPaneText(
        4, Resources::String("status.rate").replace("%d", QString::number(s.typematicRate)));
    statusBar->SetPaneText(5, Resources::String("status.noNumber"));
    statusBar->SetPaneText(6, Resources::String("status.noName"));
}

void CProgrammerDlg::OnGridMouseMove(int x, int y) {
    if (IsOnGrid(x, y, layout.keyCount)) {
        const int key = KeyFromPoint(x, y);
        statusBar->SetPaneText(
            6, Resources::String("status.name").replace("%s", NameText(layout.key(key).name)));
        statusBar->SetPaneText(
            5, Resources::String("status.number").replace("%d", QString::number(key)));
    } else {
        statusBar->SetPaneText(6, Resources::String("status.noName"));
        statusBar->SetPaneText(5, Resources::String("status.noNumber"));
    }
}

void CProgrammerDlg::OnGridLeftButtonDown(int x, int y) {
    if (!IsOnGrid(x, y, layout.keyCount))
        return;
    layout.currentKey = KeyFromPoint(x, y);
    layout.SelectKey(layout.currentKey);
}

// ---- Settings
// ------------------------------------------------------------------------------------

void CProgrammerDlg::OnSettings() {
    CSettingsDlg& dialog = *theSettingsDlg;
    const KeyboardSettings& s = layout.settings;
    dialog.keysType = s.keysType;
    dialog.keyBeep = s.keyBeep;
    dialog.keyDelay = s.keyDelay;
    dialog.typematicRate = s.typematicRate;
    dialog.keysPause = s.keysPause;
    dialog.model = layout.keyCount == 56 ? 0 : 1;
    TransferToControls();
    if (dialog.exec() == QDialog::Accepted) {
        layout.keyCount = dialog.model == 1 ? 112 : 56;
        layout.currentKey = 1;
        layout.SelectKey(1);
        KeyboardSettings& settings = layout.settings;
        settings.keysType = dialog.keysType;
        settings.keyBeep = dialog.keyBeep;
        settings.keyDelay = dialog.keyDelay;
        settings.typematicRate = dialog.typematicRate;
        settings.keysPause = dialog.keysPause;
        ReadControls();
    }
    layout.AlignKeysWithKeyCount();
    grid_->update();
    RefreshStatusBar();
}

void CProgrammerDlg::ResetLayout() {
    layout.ResetLayout();
    SetTitleFor(Resources::String(kStrUntitled));
    TransferToControls();
    RefreshStatusBar();
    grid_->update();
}

void CProgrammerDlg::SetTitleFor(const QString& name) {
    setWindowTitle(FormatString(kStrTitle, {name.toStdString()}));
}
