#pragma once

#include "engine/LayoutTokenizer.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr4700 {

// The bytes sent to the keyboard: one slot per key, then the keyboard-wide trailer.
using TransferImage = std::vector<std::uint8_t>;

// How a layout code (the first number of a layout file) shapes the image.
struct LayoutGeometry {
    int layoutCode;
    int imageSize;
    int keyCount;      // keys that own a slot: 56 or 112
    int codesPerLine;  // codes written on each key line
    int codesKept;     // codes that fit in a slot
    int leadingBytes;  // flags (and group number) in front of the codes
    int slotSize;      // leadingBytes + codesKept
    int trailerOffset; // first trailer byte: delay and rate
    bool scan16;
};

// The geometry of layout code 56, 57, 112 or 113; nothing for any other code.
std::optional<LayoutGeometry> GeometryOfLayoutCode(int layoutCode);

// ParseLayoutFile's result when a read of the stream failed: the bytes read were not the whole
// file, whatever the grammar made of them.
constexpr int kLayoutReadFailed = -2;

// Where and why a parse failed: the first token that did not fit, with its line and byte
// column counted from 1, and the reason in words ("code 256 is above 255").
struct ParseFailure {
    int line = 0;
    int column = 0;
    std::string reason;
};

// Parses a layout file into a transfer image. Returns 0 on success and a negative value on any
// failure (kLayoutReadFailed when the stream could not be read to its end). On return image holds
// the zero-filled and filled image (empty when the header code was rejected before allocation),
// size its size and layoutCode the header's first number. On failure *failure (may be null)
// says where and why.
int ParseLayoutFile(ByteSource& source, TransferImage& image, int& size, std::uint8_t& layoutCode,
                    ParseFailure* failure = nullptr);
// The same on a C stream opened for reading; the caller closes it.
int ParseLayoutFile(std::FILE* stream, TransferImage& image, int& size, std::uint8_t& layoutCode,
                    ParseFailure* failure = nullptr);
// The same on the bytes of a file already in memory.
int ParseLayoutFile(std::string_view bytes, TransferImage& image, int& size,
                    std::uint8_t& layoutCode, ParseFailure* failure = nullptr);

} // namespace zr4700
