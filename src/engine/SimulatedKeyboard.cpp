#include "engine/SimulatedKeyboard.h"

#include "engine/EngineResults.h"

#include "engine/Device.h"
#include "engine/LayoutParser.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace zr4700 {

namespace {

void AppendFormat(std::string& text, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

void AppendFormat(std::string& text, const char* format, ...) {
    char buffer[256];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    if (length > 0) {
        text.append(buffer, static_cast<std::size_t>(std::min<int>(length, sizeof buffer - 1)));
    }
}

std::string FlagText(std::uint8_t flags) {
    std::string text;
    if (flags & 0x01) {
        text += "group, ";
    }
    if (flags & 0x02) {
        text += "single, ";
    }
    const int mode = (flags >> 2) & 0x03;
    if (mode < 3) {
        AppendFormat(text, "Mode %d", mode + 1);
    } else {
        text += "mode bits 3";
    }
    if (flags & 0xF0) {
        AppendFormat(text, ", upper bits 0x%02X", flags & 0xF0);
    }
    return text;
}

// A 450-byte image is either 56 keys of 8 bytes or 112 keys of 4; the keyboard's type does not
// tell which. The byte 4 into every 8 is a code in the first and a flag byte (0..15, as the
// editor writes flags) in the second, so flag-sized values there, not all zero, mean 112 keys.
bool LooksLike112Keys(const std::vector<std::uint8_t>& image) {
    bool anyFlags = false;
    for (std::size_t offset = 4; offset < 448; offset += 8) {
        if (image[offset] > 0x0F) {
            return false;
        }
        anyFlags = anyFlags || image[offset] != 0;
    }
    return anyFlags;
}

} // namespace

void SimulatedKeyboard::setType(int type) {
    std::lock_guard lock(mutex_);
    type_ = type;
}

int SimulatedKeyboard::type() const {
    std::lock_guard lock(mutex_);
    return type_;
}

int SimulatedKeyboard::reportedType() const {
    std::lock_guard lock(mutex_);
    return reportedTypeLocked();
}

void SimulatedKeyboard::setTypeReply(std::optional<int> reply) {
    std::lock_guard lock(mutex_);
    typeReply_ = reply;
}

void SimulatedKeyboard::setNoTypeByte(bool noByte) {
    std::lock_guard lock(mutex_);
    noTypeByte_ = noByte;
}

void SimulatedKeyboard::setRefuseByte(int n) {
    std::lock_guard lock(mutex_);
    refuseByte_ = n;
}

void SimulatedKeyboard::reset() {
    std::lock_guard lock(mutex_);
    type_ = 2;
    typeReply_.reset();
    noTypeByte_ = false;
    refuseByte_ = 0;
    lastHandle_ = 0;
    // Handles still open stay valid but count from zero.
    for (auto& [id, handle] : handles_) {
        handle = Handle{};
    }
    stats_ = Stats{};
    stats_.openHandles = static_cast<int>(handles_.size());
    gapSumMs_ = 0;
    received_.clear();
    lastHandleBytes_.clear();
}

int SimulatedKeyboard::open(std::optional<int> type) {
    std::lock_guard lock(mutex_);
    if (!handles_.empty()) {
        ++stats_.busyOpens;
        return 0;
    }
    if (type) {
        type_ = *type;
    }
    const int id = nextHandle_++;
    handles_[id] = Handle{};
    lastHandle_ = id;
    lastHandleBytes_.clear();
    ++stats_.opens;
    ++stats_.openHandles;
    return id;
}

SimulatedKeyboard::HandleSummary SimulatedKeyboard::close(int handle) {
    std::lock_guard lock(mutex_);
    auto found = handles_.find(handle);
    if (found == handles_.end()) {
        return {};
    }
    HandleSummary summary = std::move(found->second.summary);
    handles_.erase(found);
    --stats_.openHandles;
    return summary;
}

bool SimulatedKeyboard::control(int handle, std::uint32_t request, const std::uint8_t* in,
                                std::uint32_t inSize, std::uint8_t* out, std::uint32_t outSize,
                                std::uint32_t& returned) {
    const Clock::time_point now = Clock::now();
    returned = 0;
    std::lock_guard lock(mutex_);
    auto found = handles_.find(handle);
    if (found == handles_.end()) {
        return false;
    }
    Handle& state = found->second;

    if (request == kTypeQueryRequest) {
        ++stats_.typeQueries;
        if (!out || outSize < 1) {
            return false;
        }
        if (!noTypeByte_) {
            out[0] = static_cast<std::uint8_t>(reportedTypeLocked());
            returned = 1;
        }
        return true;
    }
    if (request != kSendByteRequest) {
        return false;
    }

    const int index = ++state.summary.byteRequests;
    if (!in || inSize != 1 || index == refuseByte_) {
        ++stats_.refused;
        ++state.summary.refused;
        return false;
    }
    if (state.lastAccepted) {
        const double gapMs =
            std::chrono::duration<double, std::milli>(now - *state.lastAccepted).count();
        stats_.minGapMs = stats_.gaps == 0 ? gapMs : std::min(stats_.minGapMs, gapMs);
        gapSumMs_ += gapMs;
        ++stats_.gaps;
        stats_.meanGapMs = gapSumMs_ / stats_.gaps;
    }
    state.lastAccepted = now;
    ++stats_.bytes;
    state.summary.bytes.push_back(in[0]);
    received_.push_back(in[0]);
    if (handle == lastHandle_) {
        lastHandleBytes_.push_back(in[0]);
    }
    return true;
}

SimulatedKeyboard::Stats SimulatedKeyboard::stats() const {
    std::lock_guard lock(mutex_);
    return stats_;
}

std::vector<std::uint8_t> SimulatedKeyboard::receivedBytes() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<std::uint8_t> SimulatedKeyboard::lastHandleBytes() const {
    std::lock_guard lock(mutex_);
    return lastHandleBytes_;
}

std::string SimulatedKeyboard::statsJson() const {
    const Stats s = stats();
    std::string json;
    AppendFormat(json,
                 "{\"opens\": %d, \"type_queries\": %d, \"bytes\": %d, \"refused\": %d, "
                 "\"min_gap_ms\": %.3f, \"mean_gap_ms\": %.3f}\n",
                 s.opens, s.typeQueries, s.bytes, s.refused, s.minGapMs, s.meanGapMs);
    return json;
}

int SimulatedKeyboard::expectedImageSize(int type) {
    switch (type) {
    case 0:
        return 450;
    case 1:
        return 1014;
    case 2:
        return 2022;
    default:
        return 0;
    }
}

std::string SimulatedKeyboard::describeImage(const std::vector<std::uint8_t>& image,
                                             int reportedType) {
    std::string text;
    const int size = static_cast<int>(image.size());
    const int expected = expectedImageSize(reportedType);
    if (expected > 0) {
        AppendFormat(text, "Image: %d bytes received, %d expected by a type %d keyboard (%s).\n",
                     size, expected, reportedType, KeyboardTypeMeaning(reportedType));
    } else {
        AppendFormat(text, "Image: %d bytes received; type %d is no ZR-4700 type.\n", size,
                     reportedType);
    }

    int layoutCode;
    if (size == 450) {
        layoutCode = LooksLike112Keys(image) ? 112 : 56;
    } else if (size == 1014) {
        layoutCode = 57;
    } else if (size == 2022) {
        layoutCode = 113;
    } else {
        text += "Not a whole image: nothing to decode.\n";
        return text;
    }
    const LayoutGeometry geometry = *GeometryOfLayoutCode(layoutCode);
    AppendFormat(text, "Layout: %s, %d keys, %d-byte key slots.\n",
                 geometry.scan16 ? "16scan" : "7/3scan", geometry.keyCount, geometry.slotSize);

    const std::uint8_t* trailer = image.data() + geometry.trailerOffset;
    AppendFormat(text,
                 "Settings: key delay %d, typematic rate %d, keys type %d (%s), key beep %d.\n",
                 trailer[0] >> 5, trailer[0] & 0x1F, (trailer[1] >> 1) & 0x7F,
                 (trailer[1] >> 1) == 0 ? "Make-Break" : "Typematic", trailer[1] & 1);
    if (geometry.scan16) {
        const std::uint8_t rfid = trailer[2];
        AppendFormat(text,
                     "RFID: flags %d (digits count %d, digits number %s, prefix extended %d, "
                     "suffix extended %d), prefix %d, suffix %d.\n",
                     rfid, rfid >> 4, (rfid & 0x04) ? "off" : "on", rfid & 1, (rfid >> 1) & 1,
                     trailer[3], trailer[4]);
        AppendFormat(text, "Keys pause: %d.\n", trailer[5]);
    }

    // The keyboard took the slots of keys 57..112 first; put them back in key order.
    const int slots = geometry.keyCount;
    const int half = slots == 112 ? 56 : 0;
    int programmed = 0;
    for (int key = 1; key <= slots; ++key) {
        const int slotIndex = half == 0 ? key - 1 : (key <= 56 ? key - 1 + half : key - 1 - half);
        const std::uint8_t* slot = image.data() + slotIndex * geometry.slotSize;
        const std::uint8_t* codes = slot + geometry.leadingBytes;
        int lastCode = geometry.codesKept;
        while (lastCode > 0 && codes[lastCode - 1] == 0) {
            --lastCode;
        }
        if (lastCode == 0) {
            continue;
        }
        ++programmed;
        AppendFormat(text, "Key %d: flags %d (%s)", key, slot[0], FlagText(slot[0]).c_str());
        if (geometry.leadingBytes == 2) {
            AppendFormat(text, ", group number %d", slot[1]);
        }
        text += ", codes ";
        for (int i = 0; i < lastCode; ++i) {
            AppendFormat(text, i == 0 ? "%d" : ", %d", codes[i]);
        }
        text += "\n";
    }
    if (programmed == 0) {
        text += "No programmed key.\n";
    } else {
        AppendFormat(text, "%d programmed key%s.\n", programmed, programmed == 1 ? "" : "s");
    }
    return text;
}

SimulatedKeyboard& InProcessKeyboard() {
    static SimulatedKeyboard keyboard;
    return keyboard;
}

namespace {

class SimulatedHandle final : public DeviceHandle {
  public:
    SimulatedHandle(SimulatedKeyboard& keyboard, int handle)
        : keyboard_(keyboard), handle_(handle) {}
    ~SimulatedHandle() override { keyboard_.close(handle_); }
    SimulatedHandle(const SimulatedHandle&) = delete;
    SimulatedHandle& operator=(const SimulatedHandle&) = delete;

    bool Control(std::uint32_t request, const std::uint8_t* in, std::uint32_t inSize,
                 std::uint8_t* out, std::uint32_t outSize, std::uint32_t& returned) override {
        return keyboard_.control(handle_, request, in, inSize, out, outSize, returned);
    }

  private:
    SimulatedKeyboard& keyboard_;
    int handle_;
};

} // namespace

std::unique_ptr<DeviceHandle> OpenSimulatedDevice(SimulatedKeyboard& keyboard,
                                                  std::optional<int> type) {
    const int handle = keyboard.open(type);
    if (handle == 0) {
        return nullptr;
    }
    return std::make_unique<SimulatedHandle>(keyboard, handle);
}

} // namespace zr4700
