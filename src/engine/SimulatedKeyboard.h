#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zr4700 {

// A ZR-4700 keyboard together with its driver, in software: it answers the type query with its
// type, takes one image byte per request and refuses nothing unless told to. It remembers what
// it received and, after a transfer, says what the keyboard now holds. Used in-process (the
// addresses "sim" and "sim:N") and by the simulator program zr4700-sim. Every member may be
// called from any thread.
class SimulatedKeyboard {
  public:
    struct Stats {
        int opens = 0;       // handles opened
        int busyOpens = 0;   // opens refused because a handle was open
        int openHandles = 0; // handles open right now
        int typeQueries = 0; // type query requests, answered or not
        int bytes = 0;       // image bytes accepted
        int refused = 0;     // byte requests that failed
        int gaps = 0;        // gaps measured between consecutive accepted bytes of one handle
        double minGapMs = 0; // 0 while no gap was measured
        double meanGapMs = 0;
    };

    // What one handle did, handed back when it closes.
    struct HandleSummary {
        int byteRequests = 0;
        int refused = 0;
        std::vector<std::uint8_t> bytes;
        // At least one byte taken and none refused: the sender got through.
        bool completeTransfer() const { return !bytes.empty() && refused == 0; }
    };

    SimulatedKeyboard() = default;
    SimulatedKeyboard(const SimulatedKeyboard&) = delete;
    SimulatedKeyboard& operator=(const SimulatedKeyboard&) = delete;

    // Configuration. The type the keyboard reports (0, 1 or 2; default 2).
    void setType(int type);
    int type() const;
    // The byte the type query answers with: the type reply when one is set, else the type.
    int reportedType() const;
    // Answer the type query with this byte instead of the type; nothing restores the type.
    void setTypeReply(std::optional<int> reply);
    // The type query succeeds but returns no byte.
    void setNoTypeByte(bool noByte);
    // The n-th byte request (1-based) on every handle fails; 0 refuses nothing.
    void setRefuseByte(int n);
    // Back to a fresh keyboard of type 2: configuration, counters and received bytes.
    void reset();

    // The device side: what a driver handle does. The driver is opened without sharing: while
    // a handle is open, open() refuses with 0 (handles are numbered from 1). type, when given,
    // becomes the keyboard's type as the handle opens (never while another one is open).
    int open(std::optional<int> type = std::nullopt);
    HandleSummary close(int handle);
    bool control(int handle, std::uint32_t request, const std::uint8_t* in, std::uint32_t inSize,
                 std::uint8_t* out, std::uint32_t outSize, std::uint32_t& returned);

    // What was seen.
    Stats stats() const;
    std::vector<std::uint8_t> receivedBytes() const;   // every accepted byte, in order
    std::vector<std::uint8_t> lastHandleBytes() const; // those of the latest handle opened
    // The counters as one JSON object, as zr4700-sim writes its --stats file.
    std::string statsJson() const;
    // What a keyboard reporting reportedType holds after receiving image.
    static std::string describeImage(const std::vector<std::uint8_t>& image, int reportedType);
    // The image size a keyboard of this type takes (450, 1014, 2022), or 0 for an unknown type.
    static int expectedImageSize(int type);

  private:
    using Clock = std::chrono::steady_clock;
    struct Handle {
        HandleSummary summary;
        std::optional<Clock::time_point> lastAccepted;
    };

    int reportedTypeLocked() const { return typeReply_ ? *typeReply_ : type_; }

    mutable std::mutex mutex_;
    int type_ = 2;
    std::optional<int> typeReply_;
    bool noTypeByte_ = false;
    int refuseByte_ = 0;

    int nextHandle_ = 1;
    int lastHandle_ = 0;
    std::map<int, Handle> handles_;
    Stats stats_;
    double gapSumMs_ = 0;
    std::vector<std::uint8_t> received_;
    std::vector<std::uint8_t> lastHandleBytes_;
};

// The one in-process keyboard behind the addresses "sim" and "sim:N".
SimulatedKeyboard& InProcessKeyboard();

} // namespace zr4700
