#include "engine/Engine.h"

#include "engine/Device.h"
#include "engine/ImageDigest.h"
#include "engine/LayoutParser.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <sys/stat.h>
#include <sys/types.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zr4700 {

namespace {

std::atomic<long> readFaultAfter{-1};

// Opens the layout file for reading. Opening never waits: a FIFO with no writer, or a device,
// would otherwise hold the engine for ever, so the file is opened without blocking and taken
// only when it is a regular file. Returns 0 with the stream, or the engine's result.
int OpenLayoutFile(const char* path, std::FILE*& stream, std::string& reason) {
    stream = nullptr;
#ifdef _WIN32
    std::FILE* file = std::fopen(path, "r");
    if (!file) {
        reason = std::strerror(errno);
        return kResultCannotOpenFile;
    }
    struct _stat64 status {};
    if (_fstat64(_fileno(file), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(file);
        reason = "not a regular file";
        return kResultCannotOpenFile;
    }
#else
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        reason = std::strerror(errno);
        return kResultCannotOpenFile;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        reason = "not a regular file";
        return kResultCannotOpenFile;
    }
    std::FILE* file = ::fdopen(fd, "r");
    if (!file) {
        reason = std::strerror(errno);
        ::close(fd);
        return kResultCannotOpenFile;
    }
#endif
    if (status.st_size > kMaxLayoutFileSize) {
        std::fclose(file);
        reason = "the file is larger than " + std::to_string(kMaxLayoutFileSize) + " bytes";
        return kResultInvalidFileFormat;
    }
    stream = file;
    return kResultOk;
}

// The layout file as the parser reads it: no more than the largest layout (a file may grow
// after it was measured), and with the test hook's read fault.
class LayoutFileSource final : public ByteSource {
  public:
    explicit LayoutFileSource(std::FILE* stream) : file_(stream), faultAfter_(readFaultAfter) {}
    int Get() override {
        if (faultAfter_ >= 0 && read_ >= faultAfter_) {
            injectedFault_ = true;
            return EOF;
        }
        if (read_ >= kMaxLayoutFileSize) {
            if (!limitReached_) {
                limitReached_ = true;
                tooLarge_ = file_.Get() != EOF;
            }
            return EOF;
        }
        const int c = file_.Get();
        if (c != EOF) {
            ++read_;
        }
        return c;
    }
    bool Failed() const override { return injectedFault_ || file_.Failed(); }
    bool tooLarge() const { return tooLarge_; }

  private:
    FileByteSource file_;
    long faultAfter_;
    std::int64_t read_ = 0;
    bool injectedFault_ = false;
    bool limitReached_ = false;
    bool tooLarge_ = false;
};

int ReadLayoutFile(const char* path, TransferImage& image, int& size, std::uint8_t& layoutCode,
                   ProgramReport& report) {
    std::FILE* file = nullptr;
    std::string reason;
    const int opened = OpenLayoutFile(path, file, reason);
    if (opened == kResultCannotOpenFile) {
        report.fileReason = reason;
    } else if (opened != kResultOk) {
        report.fileFailure = {0, 0, reason};
    }
    if (opened != kResultOk) {
        return opened;
    }
    LayoutFileSource source(file);
    ParseFailure failure;
    const int parsed = ParseLayoutFile(source, image, size, layoutCode, &failure);
    std::fclose(file);
    if (parsed == kLayoutReadFailed) {
        report.fileReason = failure.reason;
        return kResultCannotOpenFile;
    }
    if (parsed != 0) {
        report.fileFailure = failure;
        return kResultInvalidFileFormat;
    }
    if (source.tooLarge()) {
        report.fileFailure = {
            0, 0, "the file is larger than " + std::to_string(kMaxLayoutFileSize) + " bytes"};
        return kResultInvalidFileFormat;
    }
    report.layoutCode = layoutCode;
    return kResultOk;
}

// What a device operation's failure was, in words: the system's reason when the failed open left
// one in errno, else what the driver's result means.
constexpr const char* kCannotOpenMeaning = "the device cannot be opened";

void NoteDeviceFailure(ProgramReport& report, int savedErrno, const std::string& meaning) {
    report.deviceAddress = DeviceAddress();
    report.deviceReason = savedErrno != 0 ? std::string(std::strerror(savedErrno)) : meaning;
    // An open that failed says why itself, as "ADDRESS: reason" (a device in use, a path that is
    // no character device), more precisely than errno can.
    if (meaning == kCannotOpenMeaning) {
        const std::string error = LastDeviceError();
        const std::string prefix = report.deviceAddress + ": ";
        if (error.size() > prefix.size() && error.compare(0, prefix.size(), prefix) == 0)
            report.deviceReason = error.substr(prefix.size());
    }
}

bool Stopped(const std::atomic<bool>* stopRequested) {
    return stopRequested && stopRequested->load();
}

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
    case kSendStoppedUnanswered:
        return kResultCancelled;
    default:
        return kResultProgrammingError;
    }
}

} // namespace

int ProgramKeyboard(int argc, const char* const argv[], const StepNotify& notify,
                    const std::atomic<bool>* stopRequested) {
    return ProgramKeyboard(argc, argv, notify, stopRequested, static_cast<ProgramReport*>(nullptr));
}

int ProgramKeyboard(int argc, const char* const argv[], const StepNotify& notify,
                    const std::atomic<bool>* stopRequested, int* deviceTypeOut) {
    ProgramReport report;
    const int result = ProgramKeyboard(argc, argv, notify, stopRequested, &report);
    if (deviceTypeOut) {
        *deviceTypeOut = report.deviceType;
    }
    return result;
}

ScopedLayoutReadFault::ScopedLayoutReadFault(long failAfterBytes)
    : previous_(readFaultAfter.exchange(failAfterBytes)) {}

ScopedLayoutReadFault::~ScopedLayoutReadFault() {
    readFaultAfter = previous_;
}

int ProgramKeyboard(int argc, const char* const argv[], const StepNotify& notify,
                    const std::atomic<bool>* stopRequested, ProgramReport* report) {
    return ProgramKeyboard(argc, argv, ProgramControl{notify, stopRequested, {}}, report);
}

int ProgramKeyboard(int argc, const char* const argv[], const ProgramControl& control,
                    ProgramReport* reportOut) {
    const StepNotify& notify = control.notify;
    const std::atomic<bool>* stopRequested = control.stopRequested;
    ProgramReport unused;
    ProgramReport& report = reportOut ? *reportOut : unused;
    report = ProgramReport{};
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

    // The device layer's waits on this thread give up once a stop is asked for.
    const ScopedDeviceStop deviceStop(stopRequested);
    if (Stopped(stopRequested)) {
        return kResultCancelled;
    }

    // The image lives in this vector, so every return below frees it.
    TransferImage image;
    int size = 0;
    std::uint8_t layoutCode = 0;
    if (haveFile) {
        const int read = ReadLayoutFile(argv[1], image, size, layoutCode, report);
        if (read != kResultOk) {
            return read;
        }
        if (Stopped(stopRequested)) {
            return kResultCancelled;
        }
    }

    if (detect) {
        errno = 0;
        const int detected = DetectKeyboard();
        const int detectErrno = errno;
        // A detection cut short by the stop reports no driver fault.
        if (Stopped(stopRequested)) {
            return kResultCancelled;
        }
        if (detected < 0) {
            if (detected == -2) {
                NoteDeviceFailure(report, detectErrno, kCannotOpenMeaning);
            } else {
                NoteDeviceFailure(report, 0,
                                  detected == -1 ? "the keyboard reported a type above 2"
                                                 : "the keyboard did not answer the type query");
            }
            return ResultOfDetection(detected);
        }
        deviceType = detected;
    }
    report.deviceType = deviceType;
    if (!haveFile) {
        return kResultOk;
    }

    if (!TypeAcceptsLayout(deviceType, layoutCode)) {
        return kResultFormatMismatch;
    }
    PutHalvesInKeyboardOrder(image, layoutCode);
    report.imageSize = size;
    report.imageSha256 = Sha256Hex(image.data(), static_cast<std::size_t>(size));
    if (control.beforeSending && !control.beforeSending(report)) {
        return kResultOk;
    }
    report.transferStarted = true;
    errno = 0;
    const int sent = SendImage(image.data(), size, notify, stopRequested, &report.bytesSent);
    const int sendErrno = errno;
    report.byteUnanswered = sent == kSendStoppedUnanswered;
    // Stopped while the device was being opened: nothing was sent, and the stop is the reason.
    if (sent == -1 && Stopped(stopRequested)) {
        return kResultCancelled;
    }
    if (sent == -1) {
        NoteDeviceFailure(report, sendErrno, kCannotOpenMeaning);
    } else if (sent == -2) {
        NoteDeviceFailure(report, 0,
                          "the keyboard refused byte " + std::to_string(report.bytesSent + 1) +
                              " of " + std::to_string(size));
    }
    return ResultOfSending(sent);
}

} // namespace zr4700
