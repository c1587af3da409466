#pragma once

// The wire protocol between the unix:PATH device backend and the simulator zr4700-sim.
//
// One connection is one device handle: connecting opens it, closing the connection closes it.
// The driver is opened without sharing, so the simulator first answers every connection with one
// byte: kHandleOpened when the connection is the handle, kHandleBusy (and it closes the
// connection) when another handle is open. Each device-control request is one request frame
// answered by one reply frame, in order:
//
//   request  u32 request code, u32 input size, u32 output size (all little-endian),
//            then the input bytes
//   reply    u8 1 when the request succeeded, 0 when it failed; u8 n, the bytes returned;
//            then those n bytes (n is at most the output size)
//
// Sizes above kMaxTransferSize break the protocol; the simulator then closes the connection.

#include <array>
#include <cstddef>
#include <cstdint>

namespace zr4700::simsocket {

constexpr std::uint32_t kMaxTransferSize = 16;
constexpr std::uint8_t kHandleOpened = 1;
constexpr std::uint8_t kHandleBusy = 0;
constexpr std::size_t kRequestHeaderSize = 12;
constexpr std::size_t kReplyHeaderSize = 2;

struct RequestHeader {
    std::uint32_t request = 0;
    std::uint32_t inSize = 0;
    std::uint32_t outSize = 0;
};

inline void PutU32(std::uint8_t* to, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        to[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline std::uint32_t GetU32(const std::uint8_t* from) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(from[i]) << (8 * i);
    }
    return value;
}

inline std::array<std::uint8_t, kRequestHeaderSize> EncodeRequestHeader(const RequestHeader& h) {
    std::array<std::uint8_t, kRequestHeaderSize> bytes{};
    PutU32(bytes.data(), h.request);
    PutU32(bytes.data() + 4, h.inSize);
    PutU32(bytes.data() + 8, h.outSize);
    return bytes;
}

inline RequestHeader DecodeRequestHeader(const std::uint8_t* bytes) {
    return RequestHeader{GetU32(bytes), GetU32(bytes + 4), GetU32(bytes + 8)};
}

inline bool IsValid(const RequestHeader& h) {
    return h.inSize <= kMaxTransferSize && h.outSize <= kMaxTransferSize;
}

} // namespace zr4700::simsocket
