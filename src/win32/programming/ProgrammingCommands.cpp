#include "win32/programming/ProgrammingCommands.h"

#include "core/files/ProgrammingRun.h"
#include "win32/MessageBoxes.h"
#include "win32/ResourceTexts.h"
#include "win32/WideText.h"

#include <chrono>
#include <future>

namespace win32 {

zr4700::KeyboardDetection ProgrammingCommands::DetectWithoutFreezing(HWND owner) {
    // The query may take up to the device layer's timeout. The window keeps painting meanwhile;
    // it takes no input, so no second command starts.
    detecting_ = true;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    auto query = std::async(std::launch::async, [] { return zr4700::QueryKeyboard(); });
    while (query.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    detecting_ = false;
    return query.get();
}

void ProgrammingCommands::Program(HWND owner) {
    if (Busy() || !zr4700::ReadyToProgram(layout_, prompts_))
        return;
    // Before anything is written, the keyboard says what it takes: the file is then written in
    // that variant, and a layout that cannot go to it stops here with the reason.
    const zr4700::KeyboardDetection found = DetectWithoutFreezing(owner);
    std::optional<zr4700::ProgrammingRun> run =
        zr4700::PrepareProgramming(layout_, found, prompts_, ResourceTexts());
    if (!run)
        return;
    file_ = std::move(run->file);
    // The run's file and its folder go once the worker has ended.
    if (!progress_.StartProgramming(owner, std::move(run->arguments), layout_.fileName,
                                    [this] { file_.reset(); }))
        file_.reset();
}

void ProgrammingCommands::DetectKeyboard(HWND owner) {
    if (Busy())
        return;
    const zr4700::DetectionNotice notice =
        zr4700::DescribeDetection(DetectWithoutFreezing(owner), ResourceTexts());
    if (notice.failed) {
        prompts_.ShowErrorDetail(notice.engineResult, {}, notice.detail);
        return;
    }
    MessageBoxes::Show(owner, Widen(notice.text + "\n\n" + notice.detail), Widen(notice.caption),
                       MB_OK | MB_ICONINFORMATION);
}

} // namespace win32
