#include "qt/programming/ProgrammingCommands.h"

#include "core/files/FileCommands.h"
#include "engine/Device.h"
#include "engine/Driver.h"
#include "engine/EngineResults.h"
#include "qt/platform/Prompts.h"
#include "qt/platform/Resources.h"
#include "qt/programming/CProgressDlg.h"

#include <QCoreApplication>

#include <chrono>
#include <future>

using namespace zr4700;

namespace {

// The engine's argument vector: a program name, the layout file and the keyboard type found.
constexpr const char* kEngineProgramName = "zrwin.exe";

} // namespace

ProgrammingCommands::ProgrammingCommands(const Layout& layout, CProgressDlg* progress,
                                         QObject* parent)
    : QObject(parent), layout_(layout), progress_(progress) {
    // The run's file and its folder go once the worker has ended.
    connect(progress_, &CProgressDlg::WorkerEnded, this, [this] { file_.reset(); });
}

ProgrammingCommands::Detection ProgrammingCommands::DetectWithoutFreezing() {
    // The query may take up to the device layer's timeout: the window keeps painting meanwhile,
    // and no second command starts.
    detecting_ = true;
    auto query = std::async(std::launch::async, [] {
        Detection found;
        found.result = zr4700::DetectKeyboard();
        found.deviceError = LastDeviceError();
        return found;
    });
    while (query.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    detecting_ = false;
    Detection found = query.get();
    found.address = DeviceAddress();
    return found;
}

QString ProgrammingCommands::FailureDetail(const Detection& found) {
    if (!found.deviceError.empty())
        return QString::fromStdString(found.deviceError);
    return Resources::String("detail.noAnswer").arg(QString::fromStdString(found.address));
}

void ProgrammingCommands::Program() {
    Prompts& prompts = Prompts::Instance();
    if (!AnyKeyProgrammed(layout_)) {
        prompts.ShowError(kStrNoProgrammedKey);
        return;
    }
    // Before anything is written, the keyboard says what it takes: the file is then written in
    // that variant, and a layout that cannot go to it stops here with the reason.
    const Detection found = DetectWithoutFreezing();
    const ProgrammingPlan plan = PlanProgramming(layout_, found.result);
    switch (plan.verdict) {
    case ProgrammingPlan::Verdict::DetectFailed:
        prompts.ShowErrorDetail(plan.engineResult, {}, FailureDetail(found).toStdString());
        return;
    case ProgrammingPlan::Verdict::Mismatch:
        prompts.ShowErrorDetail(
            kResultFormatMismatch, {},
            Resources::String("detail.mismatch")
                .arg(layout_.keyCount)
                .arg(Resources::String(plan.keyboardType == 1 ? "detect.model1" : "detect.model2"))
                .toStdString());
        return;
    case ProgrammingPlan::Verdict::LosesCodes: {
        const DroppedKeys dropped = KeysLosingCodes(layout_, FileVariant::Scan7);
        if (!prompts.AskYesNo(kStrProgramDropsCodes, {std::to_string(dropped.codesKept),
                                                      std::to_string(dropped.keys), dropped.names}))
            return;
        break;
    }
    case ProgrammingPlan::Verdict::Go:
        break;
    }
    auto file = std::make_unique<ProgrammingFile>();
    // The writer has shown why (no programmed key, or the file could not be created).
    if (file->Write(layout_, plan.variant, prompts) != WriteResult::Stored)
        return;
    const std::string path = file->path();
    const std::string type = "/" + std::to_string(plan.keyboardType);
    file_ = std::move(file);
    // The type found goes to the engine, so that it does not ask the keyboard again.
    const char* const arguments[] = {kEngineProgramName, path.c_str(), type.c_str()};
    progress_->DisableOwner();
    progress_->ShowOverOwner();
    progress_->StartProgramming(3, arguments, layout_.fileName);
}

void ProgrammingCommands::DetectKeyboard() {
    if (detecting_)
        return;
    const Detection found = DetectWithoutFreezing();
    const ProgrammingPlan plan = PlanProgramming(layout_, found.result);
    if (plan.verdict == ProgrammingPlan::Verdict::DetectFailed) {
        Prompts::Instance().ShowErrorDetail(plan.engineResult, {},
                                            FailureDetail(found).toStdString());
        return;
    }
    const char* model = found.result == 0   ? "detect.model0"
                        : found.result == 1 ? "detect.model1"
                                            : "detect.model2";
    Prompts::Instance().ShowInformationText(
        Resources::String("detect.title"),
        Resources::String("detect.found").arg(found.result).arg(Resources::String(model)),
        Resources::String("detect.details")
            .arg(QString::fromUtf8(KeyboardTypeMeaning(found.result)),
                 QString::fromStdString(found.address)));
}
