// The four most recently used layout files (kept per user and offered at the bottom of the File
// menu), the help command and the About box.
#include "app/CAboutDlg.h"
#include "app/CProgrammerDlg.h"
#include "app/MenuBuilder.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QUrl>

namespace {

constexpr int kRecentCount = 4;

// The list lives under the organisation "Valmora", then the application's name (the executable's
// base name, set at start-up), then the section "Recent File List", as the values "File1" to
// "File4".
class RecentFileStore {
  public:
    RecentFileStore() : settings_(QStringLiteral("Valmora"), QCoreApplication::applicationName()) {
        settings_.beginGroup(QStringLiteral("Recent File List"));
    }
    QString Read(int n) const { return settings_.value(Key(n)).toString(); }
    void Write(int n, const QString& path) { settings_.setValue(Key(n), path); }

  private:
    static QString Key(int n) { return QStringLiteral("File%1").arg(n); }
    QSettings settings_;
};

// A menu item shows the path itself: an '&' in it is no accelerator.
QString MenuText(const QString& path) {
    QString text = path;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

void CProgrammerDlg::RebuildRecentFileMenu() {
    const RecentFileStore store;
    for (int n = 1; n <= kRecentCount; ++n)
        recentFiles[static_cast<size_t>(n - 1)] = store.Read(n);

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
        menu->removeAction(actions.at(i));
        // The item may be the one whose command is running now.
        actions.at(i)->deleteLater();
    }

    if (recentFiles[0].isEmpty())
        return;
    const auto handler = [this](int command) { OnCommand(command); };
    for (int n = 1; n <= kRecentCount; ++n) {
        const QString& path = recentFiles[static_cast<size_t>(n - 1)];
        if (n == 1 || !path.isEmpty())
            InsertCommand(menu, exitItem, MenuText(path), kCmdRecentFirst + n - 1, handler);
    }
    auto* separator = new QAction(menu);
    separator->setSeparator(true);
    menu->insertAction(exitItem, separator);
}

void CProgrammerDlg::PushRecentFile() {
    const QString path = QString::fromStdString(layout.fileName);
    // Paths are compared whole and exactly: two that differ in letter case are two entries.
    size_t found = kRecentCount - 1;
    for (size_t i = 0; i < kRecentCount; ++i) {
        if (recentFiles[i] == path) {
            found = i;
            break;
        }
    }
    for (size_t i = found; i > 0; --i)
        recentFiles[i] = recentFiles[i - 1];
    recentFiles[0] = path;

    RecentFileStore store;
    for (int n = 1; n <= kRecentCount; ++n)
        store.Write(n, recentFiles[static_cast<size_t>(n - 1)]);
}

void CProgrammerDlg::OpenRecentFile(int n) {
    if (n < 1 || n > kRecentCount)
        return;
    // The entry is taken before the save question: a Save As run from it puts its own file at
    // the front of the list and moves the chosen entry down.
    const QString path = recentFiles[static_cast<size_t>(n - 1)];
    if (path.isEmpty())
        return;
    if (!OnFileNew())
        return;
    layout.fileName = path.toStdString();
    LoadCurrentFile();
}

void CProgrammerDlg::OnHelpContent() {
    // While the capture dialog is open, the keys belong to it.
    if (layout.editingKeyCodes == 1)
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
