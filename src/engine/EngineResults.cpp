#include "engine/EngineResults.h"

namespace zr4700 {

namespace {

struct ResultText {
    int result;
    const char* text;
};

// The one place that pairs a result with its text, so the console tool and the desktop
// programmer can never disagree about what a failure is called.
constexpr ResultText kResultTexts[] = {
    {kResultInvalidArgument, "Invalid argument."},
    {kResultInvalidKeyboardType, "Invalid keyboard type."},
    {kResultSyntaxError, "Syntax error!"},
    {kResultCannotOpenFile, "Unable to open file."},
    {kResultInvalidFileFormat, "Invalid file format."},
    {kResultInvalidTypeDetected, "Invalid keyboard type detected."},
    {kResultDriverError, "Zr4700 driver error."},
    {kResultDetectingError, "Keyboard detecting error."},
    {kResultFormatMismatch, "File format mismatch."},
    {kResultProgrammingError, "Keyboard programming error."},
    {kResultDataBufferError, "Data buffer error."},
};

} // namespace

const char* EngineResultMessage(int result) {
    for (const ResultText& entry : kResultTexts) {
        if (entry.result == result) {
            return entry.text;
        }
    }
    return nullptr;
}

const char* KeyboardTypeMeaning(int type) {
    switch (type) {
    case 0:
        return "7/3scan";
    case 1:
        return "16scan, 56 keys";
    case 2:
        return "16scan, 112 keys";
    default:
        return "unknown";
    }
}

const char* LayoutCodeMeaning(int layoutCode) {
    switch (layoutCode) {
    case 56:
        return "7/3scan, 56 keys";
    case 112:
        return "7/3scan, 112 keys";
    case 57:
        return "16scan, 56 keys";
    case 113:
        return "16scan, 112 keys";
    default:
        return "unknown";
    }
}

int TypeTakingLayoutCode(int layoutCode) {
    return layoutCode == 57 ? 1 : layoutCode == 113 ? 2 : 0;
}

} // namespace zr4700
