#pragma once
// Every message box of the program goes through here: questions captioned "Warning" with the
// exclamation icon, errors captioned "Error" with the stop icon, and the input validation
// messages. Tests script the answers instead of showing boxes; the screenshot mode writes each
// box to stderr and takes it as answered No (or OK), so nothing ever waits for a person.

#include "core/document/UserPrompts.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <vector>

class Prompts final : public zr4700::UserPrompts {
  public:
    enum class Mode { Interactive, Scripted, Headless };
    enum class Kind { Question, Error, Validation, Warning, Information };
    struct Shown {
        Kind kind;
        QString caption;
        QString text;
        QString ownerTitle; // the title of the window the box stood over
        QString detail;     // the informative text below the main text, if any
    };

    static Prompts& Instance();

    // The window the boxes belong to (the main dialog, or the progress dialog for the engine's
    // error).
    void SetOwner(QWidget* owner) { owner_ = owner; }

    bool AskYesNo(int stringId, const std::vector<std::string>& args = {}) override;
    void ShowError(int stringId, const std::vector<std::string>& args = {}) override;
    void ShowErrorDetail(int stringId, const std::vector<std::string>& args,
                         const std::string& detail) override;
    void ShowWarningDetail(int stringId, const std::vector<std::string>& args,
                           const std::string& detail) override;
    bool AskYesNoDetail(int stringId, const std::vector<std::string>& args,
                        const std::string& detail) override;
    // An error box with a text of its own, over a given window (null: the owner).
    void ShowErrorText(const QString& text, QWidget* over = nullptr);
    // A notice with the information icon and OK, with a detail below its text.
    void ShowInformationText(const QString& caption, const QString& text, const QString& detail);
    // An error box of its own text with a detail, over a given window (null: the owner).
    void ShowErrorTextDetail(const QString& text, const QString& detail, QWidget* over = nullptr);
    // A validation message (exclamation icon, OK), as the data exchange shows it.
    void ShowValidation(const QString& text, QWidget* over = nullptr);

    // ---- For tests and the screenshot mode ----
    void SetMode(Mode mode) { mode_ = mode; }
    Mode CurrentMode() const { return mode_; }
    void QueueAnswer(bool yes) { answers_.push_back(yes); }
    // Called for a question that has no queued answer (tests fail there); it is answered No.
    void SetUnexpectedHandler(std::function<void(const Shown&)> handler) {
        unexpected_ = std::move(handler);
    }
    std::vector<Shown> TakeShown();
    const std::vector<Shown>& ShownSoFar() const { return shown_; }
    size_t PendingAnswers() const { return answers_.size(); }
    void ResetScript();

  private:
    Prompts() = default;
    bool Show(Kind kind, const QString& caption, const QString& text, QWidget* over,
              const QString& detail = {});

    QPointer<QWidget> owner_;
    Mode mode_ = Mode::Interactive;
    std::deque<bool> answers_;
    std::vector<Shown> shown_;
    std::function<void(const Shown&)> unexpected_;
};

// The texts of the string table with %s/%d/%1 filled.
QString FormatString(int stringId, const std::vector<std::string>& args = {});
