#pragma once
// File > Programming... and File > Detect keyboard: the keyboard is asked its type first, the
// layout is written in the variant that keyboard takes into a file of the run's own, and the
// progress dialog's worker hands that file to the engine. Every stop says why, with the
// engine's own message first.

#include "core/files/ProgrammingFile.h"
#include "core/model/Layout.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>

class CProgressDlg;

class ProgrammingCommands : public QObject {
    Q_OBJECT

  public:
    ProgrammingCommands(const zr4700::Layout& layout, CProgressDlg* progress, QObject* parent);

    // A detection is under way: no second command starts.
    bool Busy() const { return detecting_; }
    void Program();
    void DetectKeyboard();

  private:
    // The keyboard's answer to the type query, asked on a thread of its own.
    struct Detection {
        int result = -3;
        std::string deviceError;
        std::string address;
    };
    Detection DetectWithoutFreezing();
    static QString FailureDetail(const Detection& found);

    const zr4700::Layout& layout_;
    CProgressDlg* progress_;
    std::unique_ptr<zr4700::ProgrammingFile> file_;
    bool detecting_ = false;
};
