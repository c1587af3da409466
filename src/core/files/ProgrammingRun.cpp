#include "core/files/ProgrammingRun.h"

#include "core/files/FileCommands.h"
#include "engine/Device.h"
#include "engine/EngineResults.h"
#include "engine/RecordedProgramming.h"

#include <filesystem>
#include <system_error>

namespace zr4700 {

namespace {

constexpr const char* kEngineProgramName = "zrwin.exe";

} // namespace

bool ReadyToProgram(const Layout& layout, UserPrompts& prompts) {
    if (AnyKeyProgrammed(layout))
        return true;
    prompts.ShowError(kStrNoProgrammedKey);
    return false;
}

std::optional<ProgrammingRun> PrepareProgramming(const Layout& layout,
                                                 const KeyboardDetection& found,
                                                 UserPrompts& prompts, const TextSource& texts) {
    const ProgrammingPlan plan = PlanProgramming(layout, found.result);
    switch (plan.verdict) {
    case ProgrammingPlan::Verdict::DetectFailed:
        prompts.ShowErrorDetail(plan.engineResult, {}, DetectionFailureDetail(found, texts));
        return std::nullopt;
    case ProgrammingPlan::Verdict::Mismatch:
        prompts.ShowErrorDetail(kResultFormatMismatch, {},
                                FormatMessage(texts.Text("detail.mismatch"),
                                              {std::to_string(layout.keyCount),
                                               KeyboardModelText(plan.keyboardType, texts)}));
        return std::nullopt;
    case ProgrammingPlan::Verdict::LosesCodes: {
        const DroppedKeys dropped = KeysLosingCodes(layout, FileVariant::Scan7);
        if (!prompts.AskYesNo(kStrProgramDropsCodes, {std::to_string(dropped.codesKept),
                                                      std::to_string(dropped.keys), dropped.names}))
            return std::nullopt;
        break;
    }
    case ProgrammingPlan::Verdict::Go:
        break;
    }
    ProgrammingRun run;
    run.file = std::make_unique<ProgrammingFile>();
    // The writer has shown why (no programmed key, or the file could not be created).
    if (run.file->Write(layout, plan.variant, prompts) != WriteResult::Stored)
        return std::nullopt;
    // The type as "/N", appended: "/" + to_string trips a false -Wrestrict of g++ 12.
    std::string type = "/";
    type += std::to_string(plan.keyboardType);
    run.arguments = {kEngineProgramName, run.file->path(), type};
    return run;
}

RunOutcome RunProgramming(const std::vector<std::string>& arguments, const StepNotify& notify,
                          const std::atomic<bool>& stop, const std::string& recordedLayoutFile) {
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);

    RunOutcome outcome;
    const StepNotify counted = [&outcome, &notify] {
        ++outcome.steps;
        if (notify)
            notify();
    };
    // A record that cannot be kept does not spoil a good transfer, so it is not reported here.
    RecordedRunOptions options;
    options.layoutFile = recordedLayoutFile;
    outcome.result = ProgramKeyboardRecorded(static_cast<int>(arguments.size()), argv.data(),
                                             ProgramControl{counted, &stop, {}}, options,
                                             &outcome.report, nullptr);
    outcome.stopped = stop.load();
    if (outcome.result == kResultDriverError)
        outcome.deviceError = LastDeviceError();
    if (arguments.size() > 1) {
        std::error_code ignored;
        std::filesystem::remove(arguments[1], ignored);
    }
    return outcome;
}

std::vector<RunMessage> RunOutcomeMessages(const RunOutcome& outcome, const TextSource& texts) {
    std::vector<RunMessage> messages;
    const bool failed = EngineResultMessage(outcome.result) != nullptr;
    // A stopped run says nothing of what the engine answered on its way out.
    if (failed && !outcome.stopped)
        messages.push_back({outcome.result, outcome.deviceError});
    // Once bytes went out, a run that did not end well has left the keyboard holding part of a
    // layout: the user must know to program it again.
    if ((outcome.steps > 0 || outcome.report.bytesSent > 0) && (failed || outcome.stopped))
        messages.push_back(
            {kStrTransferIncomplete, FormatMessage(texts.Text("detail.bytesSent"),
                                                   {std::to_string(outcome.report.bytesSent),
                                                    std::to_string(outcome.report.imageSize)})});
    return messages;
}

} // namespace zr4700
