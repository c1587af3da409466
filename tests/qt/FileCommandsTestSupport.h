#pragma once
// Helpers shared by the tests of the file commands and the recent-file list: layout files in the
// test's temporary directory, the stored recent list and the File menu as text.

#include "qt/app/CProgrammerDlg.h"
#include "qt/app/MenuBuilder.h"
#include "qt/platform/FileDialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace filetest {

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

// A copy of one of the test data files at a path of the test's own.
inline bool CopyTestData(const char* name, const QString& to) {
    return WriteBytes(to, ReadBytes(QStringLiteral(ZR4700_TEST_DATA "/") + name));
}

inline QByteArray FirstLine(const QByteArray& bytes) {
    return bytes.left(bytes.indexOf("\r\n"));
}

// A small layout of the given size, each file distinct in the name of key 1.
inline QByteArray SmallLayout(const QByteArray& keyOneName) {
    QByteArray text = "57; 0; 0; 2; 11; 144; 0; 0; 3\r\n";
    for (int k = 1; k <= 112; ++k) {
        const bool programmed = k == 1;
        text += QByteArray::number(k) + "; " + (programmed ? "28" : "0");
        for (int slot = 2; slot <= 16; ++slot)
            text += ", 0";
        text += "; 2;0;" + (programmed ? keyOneName : "KEY" + QByteArray::number(k)) + "\r\n";
    }
    return text;
}

// Entry i (from 0) of the window's recent-file list.
inline QString Recent(const CProgrammerDlg& dialog, int i) {
    return QString::fromStdString(dialog.recentFiles.Entry(i + 1));
}

// The recent-file list as stored: "File1" to "File4".
inline QStringList StoredRecentFiles() {
    QSettings settings(QStringLiteral("Valmora"),
                       QFileInfo(QCoreApplication::applicationFilePath()).baseName());
    settings.beginGroup(QStringLiteral("Recent File List"));
    QStringList values;
    for (int n = 1; n <= 4; ++n)
        values << settings.value(QStringLiteral("File%1").arg(n), QStringLiteral("<missing>"))
                      .toString();
    return values;
}

inline void StoreRecentFiles(const QStringList& values) {
    QSettings settings(QStringLiteral("Valmora"),
                       QFileInfo(QCoreApplication::applicationFilePath()).baseName());
    settings.beginGroup(QStringLiteral("Recent File List"));
    for (int n = 1; n <= values.size(); ++n)
        settings.setValue(QStringLiteral("File%1").arg(n), values.at(n - 1));
}

// The File menu's items as text, "-" for a separator.
inline QStringList FileMenuItems(const CProgrammerDlg& dialog) {
    QStringList items;
    for (QAction* action : dialog.FileMenu()->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return items;
}

// The items after "Se&ttings...": the recent-file block and "E&xit".
inline QStringList RecentBlock(const CProgrammerDlg& dialog) {
    const QStringList items = FileMenuItems(dialog);
    const qsizetype settings = items.indexOf(QStringLiteral("Se&ttings..."));
    return settings < 0 ? items : items.mid(settings);
}

inline int CommandOf(const CProgrammerDlg& dialog, const QString& text) {
    for (QAction* action : dialog.FileMenu()->actions()) {
        if (!action->isSeparator() && action->text() == text)
            return action->data().toInt();
    }
    return 0;
}

// Chooses a menu command the way a click does.
inline void Choose(CProgrammerDlg& dialog, int command) {
    QAction* action = FindCommand(dialog.mainMenu, command);
    ASSERT_NE(action, nullptr) << "no menu item " << command;
    action->trigger();
}

inline void AnswerOpen(const QString& path) {
    FileDialogs::QueueAnswer(FileDialogs::Choice{path, 1});
}
inline void AnswerSave(const QString& path, int filterIndex) {
    FileDialogs::QueueAnswer(FileDialogs::Choice{path, filterIndex});
}
inline void CancelFileDialog() {
    FileDialogs::QueueAnswer(std::nullopt);
}

inline std::string Title(const QString& name) {
    return "ZR-4700 - keyboard programmer  -  [" + name.toStdString() + "]";
}

} // namespace filetest
