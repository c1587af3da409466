#pragma once
// File > Programming... and File > Detect keyboard: the keyboard is asked its type first (on a
// thread of its own, while the window keeps painting), and the core decides what follows; the
// progress dialog's worker hands the file the core wrote to the engine.

#include "core/files/KeyboardQuery.h"
#include "core/files/ProgrammingFile.h"
#include "core/model/Layout.h"

#include <QObject>

#include <memory>

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
    zr4700::KeyboardDetection DetectWithoutFreezing();

    const zr4700::Layout& layout_;
    CProgressDlg* progress_;
    std::unique_ptr<zr4700::ProgrammingFile> file_;
    bool detecting_ = false;
};
