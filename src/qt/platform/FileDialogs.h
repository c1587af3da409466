#pragma once
// The open and save file dialogs, behind one wrapper that tests can answer.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <optional>

class QFileDialog;

namespace FileDialogs {

struct Choice {
    QString path;
    int filterIndex = 1; // 1-based, as the save dialog reports it
};

struct SaveRequest {
    QStringList filters; // labels, e.g. "ZR-4700 16scan (*.txt)"
    int initialFilterIndex = 1;
    QString defaultExtension;
    QString initialName;
    QString title; // empty: the platform's own ("Save As")
};

// nullopt when the user cancels.
std::optional<Choice> GetOpenFileName(QWidget* parent, const QString& initialName);
std::optional<Choice> GetSaveFileName(QWidget* parent, const SaveRequest& request);
// The save dialog as GetSaveFileName sets it up, and the 1-based type chosen in it.
void ConfigureSaveDialog(QFileDialog& dialog, const SaveRequest& request);
int ChosenFilterIndex(const QFileDialog& dialog, const SaveRequest& request);

// ---- For tests: queued answers are used instead of showing a dialog. ----
void QueueAnswer(std::optional<Choice> choice);
// The last save request seen (filters and initial index), for tests.
const SaveRequest& LastSaveRequest();
void SetScripted(bool scripted);
bool Scripted();
// Whether a dialog was asked for that had no queued answer (it was taken as cancelled).
int UnansweredCount();
void ResetScript();

} // namespace FileDialogs
