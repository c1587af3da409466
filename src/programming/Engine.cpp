#include "programming/Engine.h"

#include "programming/LayoutParser.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace zr4700 {

namespace {

bool IsHelpRequest(const char* argument) {
    return std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "/h") == 0 ||
           std::strcmp(argument, "/?") == 0;
}

bool TypeAcceptsLayout(int deviceType, int layoutCode) {
    switch (deviceType) {
    case 0:
        return layoutCode == 56 || layoutCode == 112;
    case 1:
        return layoutCode == 57;
    case 2:
        return layoutCode == 113;
    default:
        return false;
    }
}

// The keyboard takes the slots of keys 57..112 before those of keys 1..56; the trailer stays
// last.
void PutHalvesInKeyboardOrder(TransferImage& image, int layoutCode) {
    std::size_t half = 0;
    if (layoutCode == 112) {
        half = 224;
    } else if (layoutCode == 113) {
        half = 1008;
    } else {
        return;
    }
    std::swap_ranges(image.begin(), image.begin() + half, image.begin() + half);
}

int ResultOfDetection(int detected) {
    switch (detected) {
    case -3:
        return kResultDetectingError;
    case -2:
        return kResultDriverError;
    case -1:
        return kResultInvalidTypeDetected;
    default:
        return kResultOk;
    }
}

int ResultOfSending(int sent) {
    switch (sent) {
    case 0:
        return kResultOk;
    case -3:
        return kResultDataBufferError;
    case -2:
        return kResultProgrammingError;
    case -1:
        return kResultDriverError;
    case kSendStopped:
        return kResultCancelled;
    default:
        return kResultProgrammingError;
    }
}

} // namespace

int ProgramKeyboard(int argc, const char* const argv[], const StepNotify& notify,
                    const std::atomic<bool>* stopRequested) {
    return ProgramKeyboard(argc, argv, notify, stopRequested, nullptr);
}

int ProgramKeyboard(int argc, const char* const argv[], const StepNotify& notify,
                    const std::atomic<bool>* stopRequested, int* deviceTypeOut) {
    if (deviceTypeOut) {
        *deviceTypeOut = -1;
    }
    // A caller's vector may be shorter than it claims; a missing argument is not an argument.
    if (argc >= 2 && (!argv || !argv[1] || (argc >= 3 && !argv[2]))) {
        return argc > 3 ? kResultSyntaxError : kResultInvalidArgument;
    }

    int deviceType = -1;
    bool detect = true;
    if (argc == 3) {
        const char* type = argv[2];
        if (std::strlen(type) != 2 || type[0] != '/') {
            return kResultInvalidArgument;
        }
        deviceType = type[1] - '0';
        if (deviceType < 0 || deviceType > 2) {
            return kResultInvalidKeyboardType;
        }
        detect = false;
    }
    if (argc > 3) {
        return kResultSyntaxError;
    }
    const bool haveFile = argc == 2 || argc == 3;
    if (haveFile && IsHelpRequest(argv[1])) {
        return kResultSyntaxError;
    }

    // The image lives in this vector, so every return below frees it.
    TransferImage image;
    int size = 0;
    std::uint8_t layoutCode = 0;
    if (haveFile) {
        std::FILE* file = std::fopen(argv[1], "r");
        if (!file) {
            return kResultCannotOpenFile;
        }
        const int parsed = ParseLayoutFile(file, image, size, layoutCode);
        std::fclose(file);
        if (parsed != 0) {
            return kResultInvalidFileFormat;
        }
    }

    if (detect) {
        const int detected = DetectKeyboard();
        if (detected < 0) {
            return ResultOfDetection(detected);
        }
        deviceType = detected;
    }
    if (deviceTypeOut) {
        *deviceTypeOut = deviceType;
    }
    if (!haveFile) {
        return kResultOk;
    }

    if (!TypeAcceptsLayout(deviceType, layoutCode)) {
        return kResultFormatMismatch;
    }
    PutHalvesInKeyboardOrder(image, layoutCode);
    return ResultOfSending(SendImage(image.data(), size, notify, stopRequested));
}

} // namespace zr4700
