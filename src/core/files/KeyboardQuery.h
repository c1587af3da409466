#pragma once
// Asking the keyboard its type, and what the programmer tells the user about the answer: the
// model found, or why nothing usable came back. Both front ends show these texts as they are.

#include "core/document/Views.h"

#include <string>

namespace zr4700 {

// The keyboard's answer to the type query, with what is needed to explain a failure.
struct KeyboardDetection {
    // DetectKeyboard's result: the type 0..2; -1 a type above 2, -2 no device, -3 no answer.
    int result = -3;
    // The byte the keyboard answered with; -1 when it gave none.
    int typeReply = -1;
    // Why the device could not be opened ("ADDRESS: reason"); empty when it opened.
    std::string deviceError;
    // The device address that was asked.
    std::string address;
};

// Asks the keyboard behind the current device address, on the calling thread. The device layer
// bounds the wait, but it may take seconds: a front end keeps its window alive meanwhile.
KeyboardDetection QueryKeyboard();

// "a 7/3scan ZR-4700", "the 56-key ZR-4700 S (SN)" or "the 112-key ZR-4700 D".
std::string KeyboardModelText(int type, const TextSource& texts);

// The detail below the engine's message when the query failed: the device's own reason, the
// unknown type the keyboard answered, or that it did not answer.
std::string DetectionFailureDetail(const KeyboardDetection& found, const TextSource& texts);

// What File > Detect keyboard shows: an error (engineResult's message with the detail) or a
// notice captioned "Detect keyboard" with the type found and what it takes.
struct DetectionNotice {
    bool failed = true;
    int engineResult = 0; // failed: the message to show
    std::string caption;  // found: the notice's caption
    std::string text;     // found: "Keyboard found: type 2, the 112-key ZR-4700 D."
    std::string detail;
};
DetectionNotice DescribeDetection(const KeyboardDetection& found, const TextSource& texts);

} // namespace zr4700
