#include "qt/platform/Prompts.h"

#include "qt/platform/NameText.h"
#include "qt/platform/Resources.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>

#include <cstdio>

QString FormatString(int stringId, const std::vector<std::string>& args) {
    // The arguments are key names (bytes as the layout holds them) and numbers.
    std::vector<std::string> utf8Args;
    utf8Args.reserve(args.size());
    for (const std::string& arg : args)
        utf8Args.push_back(NameText(arg).toStdString());
    return QString::fromStdString(
        zr4700::FormatMessage(Resources::String(stringId).toStdString(), utf8Args));
}

namespace {

// The icon tells what kind of message a box is; assistive tools get that in words.
void NameIcon(QMessageBox& box) {
    const char* key = box.icon() == QMessageBox::Critical      ? "a11y.errorIcon"
                      : box.icon() == QMessageBox::Information ? "a11y.informationIcon"
                                                               : "a11y.warningIcon";
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull() && label->accessibleName().isEmpty())
            label->setAccessibleName(Resources::String(key));
    }
}

// Keeps Escape and closing the window from answering a question box.
class QuestionNeedsAnAnswer : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

Prompts& Prompts::Instance() {
    static Prompts prompts;
    return prompts;
}

bool Prompts::AskYesNo(int stringId, const std::vector<std::string>& args) {
    return Show(Kind::Question, Resources::String(zr4700::kStrWarning),
                FormatString(stringId, args), nullptr);
}

void Prompts::ShowError(int stringId, const std::vector<std::string>& args) {
    Show(Kind::Error, Resources::String(zr4700::kStrError), FormatString(stringId, args), nullptr);
}

void Prompts::ShowErrorDetail(int stringId, const std::vector<std::string>& args,
                              const std::string& detail) {
    Show(Kind::Error, Resources::String(zr4700::kStrError), FormatString(stringId, args), nullptr,
         QString::fromStdString(detail));
}

void Prompts::ShowWarningDetail(int stringId, const std::vector<std::string>& args,
                                const std::string& detail) {
    Show(Kind::Warning, Resources::String(zr4700::kStrWarning), FormatString(stringId, args),
         nullptr, QString::fromStdString(detail));
}

bool Prompts::AskYesNoDetail(int stringId, const std::vector<std::string>& args,
                             const std::string& detail) {
    return Show(Kind::Question, Resources::String(zr4700::kStrWarning),
                FormatString(stringId, args), nullptr, QString::fromStdString(detail));
}

void Prompts::ShowInformationText(const QString& caption, const QString& text,
                                  const QString& detail) {
    Show(Kind::Information, caption, text, nullptr, detail);
}

void Prompts::ShowErrorTextDetail(const QString& text, const QString& detail, QWidget* over) {
    Show(Kind::Error, Resources::String(zr4700::kStrError), text, over, detail);
}

void Prompts::ShowErrorText(const QString& text, QWidget* over) {
    Show(Kind::Error, Resources::String(zr4700::kStrError), text, over);
}

void Prompts::ShowValidation(const QString& text, QWidget* over) {
    Show(Kind::Validation, QString(), text, over);
}

std::vector<Prompts::Shown> Prompts::TakeShown() {
    std::vector<Shown> taken;
    taken.swap(shown_);
    return taken;
}

void Prompts::ResetScript() {
    answers_.clear();
    shown_.clear();
}

bool Prompts::Show(Kind kind, const QString& caption, const QString& text, QWidget* over,
                   const QString& detail) {
    QWidget* parent = over ? over : owner_.data();
    const Shown shown{kind, caption, text, parent ? parent->window()->windowTitle() : QString(),
                      detail};
    switch (mode_) {
    case Mode::Scripted: {
        shown_.push_back(shown);
        if (kind != Kind::Question)
            return true;
        if (answers_.empty()) {
            if (unexpected_)
                unexpected_(shown);
            return false;
        }
        const bool yes = answers_.front();
        answers_.pop_front();
        return yes;
    }
    case Mode::Headless:
        shown_.push_back(shown);
        std::fprintf(stderr, "%s: %s%s\n", qPrintable(caption.isEmpty() ? "Message" : caption),
                     qPrintable(text), kind == Kind::Question ? " [answered No]" : "");
        if (!detail.isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(detail));
        return false;
    case Mode::Interactive:
        break;
    }
    const QString title = caption.isEmpty() ? shown.ownerTitle : caption;
    switch (kind) {
    case Kind::Question: {
        QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No,
                        parent);
        box.setDefaultButton(QMessageBox::Yes);
        box.setInformativeText(detail);
        // A question is answered with Yes or No only. Escape and the close box would otherwise
        // count as No, and No to "save current file?" throws the user's changes away.
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
        QuestionNeedsAnAnswer filter;
        box.installEventFilter(&filter);
        NameIcon(box);
        return box.exec() == QMessageBox::Yes;
    }
    case Kind::Error:
    case Kind::Warning:
    case Kind::Information: {
        const QMessageBox::Icon icon = kind == Kind::Error     ? QMessageBox::Critical
                                       : kind == Kind::Warning ? QMessageBox::Warning
                                                               : QMessageBox::Information;
        QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
        box.setInformativeText(detail);
        NameIcon(box);
        box.exec();
        return true;
    }
    case Kind::Validation: {
        QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
        NameIcon(box);
        box.exec();
        return true;
    }
    }
    return false;
}
