#pragma once

namespace zr4700 {

// Result identifiers of the programming engine. Each one is also the identifier of the message
// the caller shows for it; 0 means success and shows nothing.
constexpr int kResultOk = 0;
constexpr int kResultInvalidArgument = 33000;
constexpr int kResultInvalidKeyboardType = 33001;
constexpr int kResultSyntaxError = 33002;
constexpr int kResultCannotOpenFile = 33003;
constexpr int kResultInvalidFileFormat = 33004;
constexpr int kResultInvalidTypeDetected = 33005;
constexpr int kResultDriverError = 33006;
constexpr int kResultDetectingError = 33007;
constexpr int kResultFormatMismatch = 33008;
constexpr int kResultProgrammingError = 33009;
constexpr int kResultDataBufferError = 33010;

// Returned when the caller asked the engine to stop. Not a message: the caller shows nothing.
constexpr int kResultCancelled = -1;

// The message text of an engine result 33000..33010; nullptr for any other value (0 included).
const char* EngineResultMessage(int result);

// What a keyboard type takes: "7/3scan", "16scan, 56 keys", "16scan, 112 keys" or "unknown".
const char* KeyboardTypeMeaning(int type);

// What a layout code is: "7/3scan, 56 keys", "7/3scan, 112 keys", "16scan, 56 keys",
// "16scan, 112 keys" or "unknown".
const char* LayoutCodeMeaning(int layoutCode);
// The keyboard type that takes a layout code: 1 for 57, 2 for 113, else 0.
int TypeTakingLayoutCode(int layoutCode);

} // namespace zr4700
