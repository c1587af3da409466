#include "qt/platform/FileDialogs.h"

#include "core/document/UserPrompts.h"
#include "qt/platform/Resources.h"

#include <QFileDialog>

namespace FileDialogs {
namespace {

struct Script {
    bool scripted = false;
    std::deque<std::optional<Choice>> answers;
    SaveRequest lastSave;
    int unanswered = 0;
};

Script& script() {
    static Script s;
    return s;
}

// True when the dialogs are scripted; `answer` then holds the queued answer (empty: cancelled).
bool scriptedAnswer(std::optional<Choice>& answer) {
    Script& s = script();
    if (!s.scripted)
        return false;
    answer.reset();
    if (s.answers.empty()) {
        ++s.unanswered;
        return true;
    }
    if (s.answers.front().has_value())
        answer.emplace(*s.answers.front());
    s.answers.pop_front();
    return true;
}

} // namespace

std::optional<Choice> GetOpenFileName(QWidget* parent, const QString& initialName) {
    if (std::optional<Choice> answer; scriptedAnswer(answer))
        return answer;
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Layouts first; any other name can still be chosen and is then read as a layout would be.
    dialog.setNameFilters({Resources::String(zr4700::kStrOpenFilterLayouts),
                           Resources::String(zr4700::kStrOpenFilterAll)});
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return Choice{dialog.selectedFiles().front(), 1};
}

void ConfigureSaveDialog(QFileDialog& dialog, const SaveRequest& request) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The types show by their names alone; their patterns are all "*.txt".
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(request.filters);
    if (request.initialFilterIndex >= 1 && request.initialFilterIndex <= request.filters.size())
        dialog.selectNameFilter(request.filters.at(request.initialFilterIndex - 1));
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.selectFile(request.initialName);
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
}

int ChosenFilterIndex(const QFileDialog& dialog, const SaveRequest& request) {
    // With the patterns hidden, the dialog may report a type by its name alone.
    const QString chosen = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < request.filters.size(); ++i) {
        const QString& filter = request.filters.at(i);
        if (filter == chosen || filter.startsWith(chosen + QStringLiteral(" (")))
            return static_cast<int>(i) + 1;
    }
    // Never guess another type: the one offered at first is what the user saw chosen.
    return request.initialFilterIndex;
}

std::optional<Choice> GetSaveFileName(QWidget* parent, const SaveRequest& request) {
    script().lastSave = request;
    if (std::optional<Choice> answer; scriptedAnswer(answer))
        return answer;
    QFileDialog dialog(parent);
    ConfigureSaveDialog(dialog, request);
    // The dialog asks before overwriting an existing file (its default).
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return Choice{dialog.selectedFiles().front(), ChosenFilterIndex(dialog, request)};
}

void QueueAnswer(std::optional<Choice> choice) {
    script().answers.push_back(std::move(choice));
}
const SaveRequest& LastSaveRequest() {
    return script().lastSave;
}
void SetScripted(bool scripted) {
    script().scripted = scripted;
}
bool Scripted() {
    return script().scripted;
}
int UnansweredCount() {
    return script().unanswered;
}
void ResetScript() {
    Script& s = script();
    s.answers.clear();
    s.unanswered = 0;
    s.lastSave = {};
}

} // namespace FileDialogs
