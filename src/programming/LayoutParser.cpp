#include "programming/LayoutParser.h"

namespace zr4700 {

namespace {

constexpr int kParseFailed = -1;

// The grammar of one parse: every step either takes the token it needs or fails the parse.
class LayoutParser {
  public:
    explicit LayoutParser(ByteSource& source) : tokens_(source) {}

    int Parse(TransferImage& image, int& size, std::uint8_t& layoutCode);

  private:
    bool Expect(TokenKind kind, std::uint8_t* value = nullptr) {
        return tokens_.NextToken(value) == kind;
    }
    bool ExpectNumber(std::uint8_t& value) { return Expect(TokenKind::Number, &value); }
    bool ExpectNumberAndSeparator(std::uint8_t& value) {
        return ExpectNumber(value) && Expect(TokenKind::Separator);
    }
    // Skips the rest of a line. Returns false when the file ends first, which ends the parse
    // with success.
    bool SkipLine() {
        for (;;) {
            TokenKind kind = tokens_.NextToken();
            if (kind == TokenKind::EndOfLine) {
                return true;
            }
            if (kind == TokenKind::EndOfFile) {
                return false;
            }
        }
    }
    bool ParseHeader(const LayoutGeometry& geometry, TransferImage& image);

    LayoutTokenizer tokens_;
};

bool LayoutParser::ParseHeader(const LayoutGeometry& geometry, TransferImage& image) {
    std::uint8_t keysType = 0, keyBeep = 0, keyDelay = 0, typematicRate = 0;
    if (!ExpectNumberAndSeparator(keysType) || keysType > 1) {
        return false;
    }
    if (!ExpectNumberAndSeparator(keyBeep) || keyBeep > 1) {
        return false;
    }
    if (!ExpectNumberAndSeparator(keyDelay) || keyDelay > 3) {
        return false;
    }
    if (!ExpectNumber(typematicRate) || typematicRate > 31) {
        return false;
    }
    const int trailer = geometry.trailerOffset;
    if (!geometry.scan16) {
        if (!Expect(TokenKind::EndOfLine)) {
            return false;
        }
        image[trailer] = static_cast<std::uint8_t>(keyDelay * 32 + typematicRate);
        image[trailer + 1] = static_cast<std::uint8_t>(keysType * 2 + keyBeep);
        return true;
    }
    if (!Expect(TokenKind::Separator)) {
        return false;
    }
    image[trailer] = static_cast<std::uint8_t>(keyDelay * 32 + typematicRate);
    image[trailer + 1] = static_cast<std::uint8_t>(keysType * 2 + keyBeep);
    // RFID flags, prefix, suffix and keys pause go into the image as they stand.
    for (int i = 0; i < 4; ++i) {
        if (!ExpectNumber(image[trailer + 2 + i])) {
            return false;
        }
        if (!Expect(i < 3 ? TokenKind::Separator : TokenKind::EndOfLine)) {
            return false;
        }
    }
    return true;
}

int LayoutParser::Parse(TransferImage& image, int& size, std::uint8_t& layoutCode) {
    image.clear();
    size = 0;
    layoutCode = 0;

    // The tokenizer also hands out characters; only a number counts as the header's code.
    std::uint8_t headerCode = 0;
    if (!ExpectNumber(headerCode)) {
        return kParseFailed;
    }
    layoutCode = headerCode;
    const std::optional<LayoutGeometry> found = GeometryOfLayoutCode(layoutCode);
    if (!found) {
        return kParseFailed;
    }
    const LayoutGeometry& geometry = *found;
    if (!Expect(TokenKind::Separator)) {
        return kParseFailed;
    }
    image.assign(static_cast<std::size_t>(geometry.imageSize), 0);
    size = geometry.imageSize;
    if (!ParseHeader(geometry, image)) {
        return kParseFailed;
    }

    for (;;) {
        std::uint8_t key = 0;
        TokenKind kind = tokens_.NextToken(&key);
        if (kind == TokenKind::EndOfFile) {
            return 0;
        }
        if (kind != TokenKind::Number || !Expect(TokenKind::Separator)) {
            return kParseFailed;
        }
        // Key numbers are 1-based; a 0 would address the slot in front of the image.
        if (key == 0) {
            return kParseFailed;
        }
        if (key <= geometry.keyCount) {
            std::uint8_t* slot =
                image.data() + static_cast<std::size_t>(key - 1) * geometry.slotSize;
            // A 112-key 7/3scan line carries 7 codes like every 7/3scan line; only the first 3
            // fit the key's 4-byte slot, and its flags follow the seventh code.
            for (int i = 0; i < geometry.codesPerLine; ++i) {
                std::uint8_t code = 0;
                if (!ExpectNumberAndSeparator(code)) {
                    return kParseFailed;
                }
                if (i < geometry.codesKept) {
                    slot[geometry.leadingBytes + i] = code;
                }
            }
            for (int i = 0; i < geometry.leadingBytes; ++i) {
                if (!ExpectNumberAndSeparator(slot[i])) {
                    return kParseFailed;
                }
            }
        }
        if (!SkipLine()) {
            return 0;
        }
    }
}

} // namespace

std::optional<LayoutGeometry> GeometryOfLayoutCode(int layoutCode) {
    switch (layoutCode) {
    case 56:
        return LayoutGeometry{56, 450, 56, 7, 7, 1, 8, 448, false};
    case 112:
        return LayoutGeometry{112, 450, 112, 7, 3, 1, 4, 448, false};
    case 57:
        return LayoutGeometry{57, 1014, 56, 16, 16, 2, 18, 1014 - 6, true};
    case 113:
        return LayoutGeometry{113, 2022, 112, 16, 16, 2, 18, 2022 - 6, true};
    default:
        return std::nullopt;
    }
}

int ParseLayoutFile(ByteSource& source, TransferImage& image, int& size, std::uint8_t& layoutCode) {
    LayoutParser parser(source);
    const int parsed = parser.Parse(image, size, layoutCode);
    // A failed read looks like the end of the file to the grammar, which may then accept a
    // cut-down layout; it is an error of its own whatever the grammar said.
    return source.Failed() ? kLayoutReadFailed : parsed;
}

int ParseLayoutFile(std::FILE* stream, TransferImage& image, int& size, std::uint8_t& layoutCode) {
    FileByteSource source(stream);
    return ParseLayoutFile(source, image, size, layoutCode);
}

int ParseLayoutFile(std::string_view bytes, TransferImage& image, int& size,
                    std::uint8_t& layoutCode) {
    MemoryByteSource source(bytes);
    return ParseLayoutFile(source, image, size, layoutCode);
}

} // namespace zr4700
