#include "core/files/KeyboardQuery.h"

#include "core/document/UserPrompts.h"
#include "core/files/ProgrammingFile.h"
#include "engine/Device.h"
#include "engine/Driver.h"
#include "engine/EngineResults.h"

#include <string>

namespace zr4700 {

KeyboardDetection QueryKeyboard() {
    KeyboardDetection found;
    found.address = DeviceAddress();
    found.result = DetectKeyboard(&found.typeReply);
    // The device layer keeps its reason per thread: it is read on the thread that asked.
    found.deviceError = LastDeviceError();
    return found;
}

std::string KeyboardModelText(int type, const TextSource& texts) {
    const char* key = type == 0 ? "detect.model0" : type == 1 ? "detect.model1" : "detect.model2";
    return texts.Text(key);
}

std::string DetectionFailureDetail(const KeyboardDetection& found, const TextSource& texts) {
    if (!found.deviceError.empty())
        return found.deviceError;
    // A keyboard that answered with a type of no known model did answer: saying otherwise sends
    // the user looking for a cable fault.
    if (found.typeReply > 2)
        return FormatMessage(texts.Text("detail.unknownType"),
                             {found.address, std::to_string(found.typeReply)});
    return FormatMessage(texts.Text("detail.noAnswer"), {found.address});
}

DetectionNotice DescribeDetection(const KeyboardDetection& found, const TextSource& texts) {
    DetectionNotice notice;
    Layout anyLayout;
    const ProgrammingPlan plan = PlanProgramming(anyLayout, found.result);
    if (plan.verdict == ProgrammingPlan::Verdict::DetectFailed) {
        notice.engineResult = plan.engineResult;
        notice.detail = DetectionFailureDetail(found, texts);
        return notice;
    }
    notice.failed = false;
    notice.caption = texts.Text("detect.title");
    notice.text =
        FormatMessage(texts.Text("detect.found"),
                      {std::to_string(found.result), KeyboardModelText(found.result, texts)});
    notice.detail = FormatMessage(texts.Text("detect.details"),
                                  {KeyboardTypeMeaning(found.result), found.address});
    return notice;
}

} // namespace zr4700
