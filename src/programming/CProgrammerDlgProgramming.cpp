// File > Programming...: the layout goes to the keyboard through a temporary layout file that
// the progress dialog's worker hands to the programming engine.
#include "app/CProgrammerDlg.h"

#include "programming/CProgressDlg.h"

namespace {

// The engine's argument vector: a program name and the layout file, no keyboard type, so the
// engine asks the keyboard for its type.
const char* const kEngineArguments[] = {"zrwin.exe", kProgrammingTempFile};
constexpr int kEngineArgumentCount = 2;

} // namespace

void CProgrammerDlg::OnProgramming() {
    // The window is disabled while a worker runs, so this only guards against a command that
    // arrives some other way: writing now would replace the file that run is using.
    if (!progressDialog || progressDialog->IsProgramming())
        return;

    const std::string keptName = layout.fileName;
    layout.fileName = kProgrammingTempFile;
    // A layout last read from a 16scan file is programmed as 16scan, any other as 7/3scan.
    const bool written = WriteLayoutFile(layout.fileIsScan16 ? 0 : 1);
    layout.fileName = keptName;
    // The writer has shown why (no programmed key, or the file could not be created).
    if (!written)
        return;

    progressDialog->DisableOwner();
    progressDialog->ShowOverOwner();
    progressDialog->StartProgramming(kEngineArgumentCount, kEngineArguments);
}
