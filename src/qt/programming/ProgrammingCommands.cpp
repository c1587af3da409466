#include "qt/programming/ProgrammingCommands.h"

#include "core/files/ProgrammingRun.h"
#include "qt/app/CommandActions.h"
#include "qt/platform/Prompts.h"
#include "qt/programming/CProgressDlg.h"

#include <QCoreApplication>

#include <chrono>
#include <future>
#include <vector>

using namespace zr4700;

ProgrammingCommands::ProgrammingCommands(const Layout& layout, CProgressDlg* progress,
                                         QObject* parent)
    : QObject(parent), layout_(layout), progress_(progress) {
    // The run's file and its folder go once the worker has ended.
    connect(progress_, &CProgressDlg::WorkerEnded, this, [this] { file_.reset(); });
}

KeyboardDetection ProgrammingCommands::DetectWithoutFreezing() {
    // The query may take up to the device layer's timeout: the window keeps painting meanwhile,
    // and no second command starts.
    detecting_ = true;
    auto query = std::async(std::launch::async, [] { return QueryKeyboard(); });
    while (query.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    detecting_ = false;
    return query.get();
}

void ProgrammingCommands::Program() {
    Prompts& prompts = Prompts::Instance();
    if (!ReadyToProgram(layout_, prompts))
        return;
    // Before anything is written, the keyboard says what it takes: the file is then written in
    // that variant, and a layout that cannot go to it stops here with the reason.
    const KeyboardDetection found = DetectWithoutFreezing();
    std::optional<ProgrammingRun> run =
        PrepareProgramming(layout_, found, prompts, ResourceTexts());
    if (!run)
        return;
    file_ = std::move(run->file);
    std::vector<const char*> arguments;
    for (const std::string& argument : run->arguments)
        arguments.push_back(argument.c_str());
    progress_->DisableOwner();
    progress_->ShowOverOwner();
    progress_->StartProgramming(static_cast<int>(arguments.size()), arguments.data(),
                                layout_.fileName);
}

void ProgrammingCommands::DetectKeyboard() {
    if (detecting_)
        return;
    const DetectionNotice notice = DescribeDetection(DetectWithoutFreezing(), ResourceTexts());
    if (notice.failed) {
        Prompts::Instance().ShowErrorDetail(notice.engineResult, {}, notice.detail);
        return;
    }
    Prompts::Instance().ShowInformationText(QString::fromStdString(notice.caption),
                                            QString::fromStdString(notice.text),
                                            QString::fromStdString(notice.detail));
}
