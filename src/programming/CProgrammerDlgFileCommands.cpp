// The File menu's New, Open, Save and Save As, the load sequence shared with the recent-file
// commands, and the dialog's side of the layout file writer and reader.
//
// No path through these commands throws the user's layout away unasked: when the user answers
// Yes to "Do you want to save current file?" and the save does not happen (the Save As dialog is
// cancelled, or the file cannot be written), the command that asked stops and the layout stays
// open, unchanged and still marked modified.
#include "app/CProgrammerDlg.h"

#include "app/FileDialogs.h"
#include "app/Prompts.h"
#include "app/Resources.h"
#include "layout/KeyGridWidget.h"
#include "programming/LayoutFileEditor.h"

#include <QDir>
#include <QFileInfo>

using namespace zr4700;

namespace {

// What one write did: whether the file was stored at all (a layout without any programmed key
// is stored all the same) and the writer's own result.
struct WriteOutcome {
    bool stored = false;
    bool result = false;
};

// The file commands must know whether the file was stored, while the writer answers false both
// for a file it could not create and for a stored file without programmed keys. The writer clears
// `modified` exactly when it stored the file and changes nothing otherwise, so the flag, raised
// for the moment, tells the two apart; a failed write gets the user's flag back.
WriteOutcome WriteLayout(CProgrammerDlg& dialog, int variant) {
    // A bad RFID value is reported by the exchange itself; nothing is written then.
    if (!dialog.ReadControls())
        return {};
    Layout& layout = dialog.layout;
    const int32_t wasModified = layout.modified;
    layout.modified = 1;
    WriteOutcome outcome;
    outcome.result = zr4700::WriteLayoutFile(layout, variant, Prompts::Instance());
    outcome.stored = layout.modified == 0;
    if (!outcome.stored)
        layout.modified = wasModified;
    return outcome;
}

// The save dialog's file types from the string table's "label|pattern|label|pattern||" text.
QStringList SaveFilters(bool twoTypesOnly) {
    const QStringList parts = Resources::String(kStrSaveFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts.at(i).isEmpty(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts.at(i), parts.at(i + 1));
    // A 56-key layout in the 16scan family has no second block to save on its own.
    if (twoTypesOnly && filters.size() > 2)
        filters = filters.mid(0, 2);
    return filters;
}

} // namespace

bool CProgrammerDlg::OnFileNew() {
    if (layout.modified != 0 && Prompts::Instance().AskYesNo(kStrSaveQuestion)) {
        if (!OnFileSave())
            return false;
    }
    ResetLayout();
    return true;
}

void CProgrammerDlg::OnFileOpen() {
    const auto choice = FileDialogs::GetOpenFileName(this, QStringLiteral("*.txt"));
    if (!choice)
        return;
    if (!OnFileNew())
        return;
    layout.fileName = QDir::toNativeSeparators(choice->path).toStdString();
    LoadCurrentFile();
}

void CProgrammerDlg::LoadCurrentFile() {
    SetTitleFor(QString::fromStdString(layout.fileName));
    PushRecentFile();
    RebuildRecentFileMenu();
    TransferToControls();
    ReadLayoutFile();
    layout.RebuildCellGroups(Prompts::Instance());
    layout.SelectKey(1);
    RefreshStatusBar();
    // The key count may have changed: the whole grid is drawn anew.
    grid()->update();
}

bool CProgrammerDlg::OnFileSave() {
    if (layout.fileName.empty())
        return OnFileSaveAs();
    // Save always writes the 16scan variant, whatever variant the file was read in.
    return WriteLayout(*this, kVariantSave).stored;
}

bool CProgrammerDlg::OnFileSaveAs() {
    if (!ReadControls())
        return false;

    FileDialogs::SaveRequest request;
    request.filters = SaveFilters(layout.scan16Mode && layout.keyCount == kBlockKeys);
    request.initialFilterIndex = layout.scan16Mode ? kVariant16Scan : kVariant7Scan;
    request.defaultExtension = QStringLiteral("txt");
    request.initialName = QStringLiteral("*.txt");
    // The dialog itself asks before an existing file is overwritten.
    const auto choice = FileDialogs::GetSaveFileName(this, request);
    if (!choice)
        return false;
    const int variant = choice->filterIndex >= 1 && choice->filterIndex <= request.filters.size()
                            ? choice->filterIndex
                            : request.initialFilterIndex;
    const QString path = QDir::toNativeSeparators(choice->path);

    TransferToControls();
    // A write that fails leaves the file name, the title and the recent list as they were.
    const std::string previousName = layout.fileName;
    const QString previousTitle = windowTitle();
    layout.fileName = path.toStdString();
    SetTitleFor(QFileInfo(path).fileName());
    if (!WriteLayout(*this, variant).stored) {
        layout.fileName = previousName;
        setWindowTitle(previousTitle);
        return false;
    }
    PushRecentFile();
    RebuildRecentFileMenu();

    // The editor then shows the layout as read back from the file just written: a 7/3scan save
    // keeps codes 1..7 only, a single-side save gives a 56-key layout of the chosen block. The
    // write cleared the modified flag, so this asks nothing.
    if (!OnFileNew())
        return false;
    layout.fileName = path.toStdString();
    LoadCurrentFile();
    return true;
}

bool CProgrammerDlg::WriteLayoutFile(int variant) {
    return WriteLayout(*this, variant).result;
}

void CProgrammerDlg::ReadLayoutFile() {
    zr4700::ReadLayoutFile(layout, Prompts::Instance());
    TransferToControls();
}
