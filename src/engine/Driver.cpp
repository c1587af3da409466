#include "engine/Driver.h"

#include "engine/BytePacer.h"
#include "engine/Device.h"

namespace zr4700 {

int DetectKeyboard() {
    return DetectKeyboard(nullptr);
}

int DetectKeyboard(int* typeReply) {
    int unused = -1;
    int& reply = typeReply ? *typeReply : unused;
    reply = -1;
    std::unique_ptr<DeviceHandle> device = OpenDevice();
    if (!device) {
        return -2;
    }
    std::uint8_t type = 0;
    std::uint32_t returned = 0;
    const bool ok = device->Control(kTypeQueryRequest, nullptr, 0, &type, 1, returned);
    device.reset();
    if (!ok || returned != 1) {
        return -3;
    }
    reply = type;
    if (type > 2) {
        return -1;
    }
    return type;
}

int SendImage(const std::uint8_t* image, int size, const StepNotify& notify,
              const std::atomic<bool>* stopRequested) {
    return SendImage(image, size, notify, stopRequested, nullptr);
}

int SendImage(const std::uint8_t* image, int size, const StepNotify& notify,
              const std::atomic<bool>* stopRequested, int* bytesSent) {
    int unused = 0;
    int& sent = bytesSent ? *bytesSent : unused;
    sent = 0;
    if (size == 0) {
        return 0;
    }
    if (!image || size < 0) {
        return -3;
    }
    std::unique_ptr<DeviceHandle> device = OpenDevice();
    if (!device) {
        return -1;
    }
    // Below 100 bytes there is no whole percent to step by.
    const int step = size / 100;
    BytePacer pacer;
    for (int n = size; n >= 1; --n) {
        if (stopRequested && stopRequested->load()) {
            return kSendStopped;
        }
        if (step > 0 && n % step == 0 && notify) {
            notify();
        }
        std::uint32_t returned = 0;
        if (!device->Control(kSendByteRequest, image + (size - n), 1, nullptr, 0, returned)) {
            return stopRequested && stopRequested->load() ? kSendStoppedUnanswered : -2;
        }
        ++sent;
        if (n > 1) {
            pacer.Pause();
        }
    }
    return 0;
}

} // namespace zr4700
