#include "engine/LayoutParser.h"

namespace zr4700 {

namespace {

constexpr int kParseFailed = -1;

const char* const kSeparator = "',' or ';'";

// The grammar of one parse: every step either takes the token it needs or fails the parse. The
// first failure is noted with the position of the token that did not fit, so that a user can be
// shown where the file is wrong.
class LayoutParser {
  public:
    explicit LayoutParser(ByteSource& source) : tokens_(source) {}

    int Parse(TransferImage& image, int& size, std::uint8_t& layoutCode);
    const ParseFailure& failure() const { return failure_; }
    // Notes a failure at the last token.
    bool Fail(std::string reason) {
        failure_ = {tokens_.tokenLine(), tokens_.tokenColumn(), std::move(reason)};
        return false;
    }

  private:
    TokenKind Next(std::uint8_t* value) {
        kind_ = tokens_.NextToken(&value_);
        if (value) {
            *value = value_;
        }
        return kind_;
    }
    // The last token in words.
    std::string Found() const {
        switch (kind_) {
        case TokenKind::EndOfFile:
            return "the end of the file";
        case TokenKind::EndOfLine:
            return "the end of the line";
        case TokenKind::Separator:
            return "a separator";
        case TokenKind::Number:
        case TokenKind::TooLarge:
            return "the number " + tokens_.tokenDigits();
        case TokenKind::Character:
            break;
        }
        if (value_ > ' ' && value_ < 0x7F) {
            return std::string("'") + static_cast<char>(value_) + "'";
        }
        static const char kHex[] = "0123456789ABCDEF";
        return std::string("the byte 0x") + kHex[value_ >> 4] + kHex[value_ & 0x0F];
    }
    bool Expect(TokenKind kind, const std::string& what) {
        if (Next(nullptr) == kind) {
            return true;
        }
        return Fail("expected " + what + ", found " + Found());
    }
    bool ExpectSeparator(const std::string& after) {
        return Expect(TokenKind::Separator, std::string(kSeparator) + " after " + after);
    }
    // A number; noun names it in "code 256 is above 255", label in "expected code 3 of key 4".
    bool ExpectNumber(std::uint8_t& value, const std::string& noun, const std::string& label) {
        if (Next(&value) == TokenKind::Number) {
            return true;
        }
        if (kind_ == TokenKind::TooLarge) {
            return Fail(noun + " " + tokens_.tokenDigits() + " is above 255");
        }
        return Fail("expected " + label + ", found " + Found());
    }
    bool ExpectNumber(std::uint8_t& value, const std::string& noun) {
        return ExpectNumber(value, noun, "the " + noun);
    }
    bool ExpectSetting(std::uint8_t& value, const char* noun, int largest) {
        if (!ExpectNumber(value, noun)) {
            return false;
        }
        if (value > largest) {
            return Fail(std::string(noun) + " " + std::to_string(value) + " is above " +
                        std::to_string(largest));
        }
        return true;
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
    TokenKind kind_ = TokenKind::EndOfFile;
    std::uint8_t value_ = 0;
    ParseFailure failure_;
};

bool LayoutParser::ParseHeader(const LayoutGeometry& geometry, TransferImage& image) {
    std::uint8_t keysType = 0, keyBeep = 0, keyDelay = 0, typematicRate = 0;
    if (!ExpectSetting(keysType, "keys type", 1) || !ExpectSeparator("the keys type")) {
        return false;
    }
    if (!ExpectSetting(keyBeep, "key beep", 1) || !ExpectSeparator("the key beep")) {
        return false;
    }
    if (!ExpectSetting(keyDelay, "keys delay", 3) || !ExpectSeparator("the keys delay")) {
        return false;
    }
    if (!ExpectSetting(typematicRate, "typematic rate", 31)) {
        return false;
    }
    const int trailer = geometry.trailerOffset;
    if (!geometry.scan16) {
        if (!Expect(TokenKind::EndOfLine, "the end of a 7/3scan header after the typematic rate")) {
            return false;
        }
        image[trailer] = static_cast<std::uint8_t>(keyDelay * 32 + typematicRate);
        image[trailer + 1] = static_cast<std::uint8_t>(keysType * 2 + keyBeep);
        return true;
    }
    if (!ExpectSeparator("the typematic rate")) {
        return false;
    }
    image[trailer] = static_cast<std::uint8_t>(keyDelay * 32 + typematicRate);
    image[trailer + 1] = static_cast<std::uint8_t>(keysType * 2 + keyBeep);
    // RFID flags, prefix, suffix and keys pause go into the image as they stand.
    static const char* const kTail[4] = {"RFID flags", "RFID prefix", "RFID suffix", "keys pause"};
    for (int i = 0; i < 4; ++i) {
        if (!ExpectNumber(image[trailer + 2 + i], kTail[i])) {
            return false;
        }
        if (i < 3 ? !ExpectSeparator(std::string("the ") + kTail[i])
                  : !Expect(TokenKind::EndOfLine,
                            "the end of the header line after the keys pause")) {
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
    const char* const kCodes = " is none of 56, 57, 112, 113";
    if (Next(&headerCode) != TokenKind::Number) {
        if (kind_ == TokenKind::TooLarge) {
            Fail("layout code " + tokens_.tokenDigits() + kCodes);
        } else {
            Fail("expected the layout code, found " + Found());
        }
        return kParseFailed;
    }
    layoutCode = headerCode;
    const std::optional<LayoutGeometry> found = GeometryOfLayoutCode(layoutCode);
    if (!found) {
        Fail("layout code " + std::to_string(layoutCode) + kCodes);
        return kParseFailed;
    }
    const LayoutGeometry& geometry = *found;
    if (!ExpectSeparator("the layout code")) {
        return kParseFailed;
    }
    image.assign(static_cast<std::size_t>(geometry.imageSize), 0);
    size = geometry.imageSize;
    if (!ParseHeader(geometry, image)) {
        return kParseFailed;
    }

    for (;;) {
        std::uint8_t key = 0;
        if (Next(&key) == TokenKind::EndOfFile) {
            return 0;
        }
        if (kind_ == TokenKind::TooLarge) {
            Fail("key number " + tokens_.tokenDigits() + " is above 255");
            return kParseFailed;
        }
        if (kind_ != TokenKind::Number) {
            Fail("expected a key number, found " + Found());
            return kParseFailed;
        }
        // Key numbers are 1-based; a 0 would address the slot in front of the image.
        if (key == 0) {
            Fail("key number 0 is outside 1..112");
            return kParseFailed;
        }
        const std::string keyName = "key " + std::to_string(key);
        if (!ExpectSeparator("the key number")) {
            return kParseFailed;
        }
        if (key <= geometry.keyCount) {
            std::uint8_t* slot =
                image.data() + static_cast<std::size_t>(key - 1) * geometry.slotSize;
            // A 112-key 7/3scan line carries 7 codes like every 7/3scan line; only the first 3
            // fit the key's 4-byte slot, and its flags follow the seventh code.
            for (int i = 0; i < geometry.codesPerLine; ++i) {
                std::uint8_t code = 0;
                const std::string label = "code " + std::to_string(i + 1) + " of " + keyName;
                if (!ExpectNumber(code, "code", label) || !ExpectSeparator(label)) {
                    return kParseFailed;
                }
                if (i < geometry.codesKept) {
                    slot[geometry.leadingBytes + i] = code;
                }
            }
            static const char* const kLeading[2] = {"flag number", "group number"};
            for (int i = 0; i < geometry.leadingBytes; ++i) {
                const std::string label = std::string("the ") + kLeading[i] + " of " + keyName;
                if (!ExpectNumber(slot[i], kLeading[i], label) || !ExpectSeparator(label)) {
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

int ParseLayoutFile(ByteSource& source, TransferImage& image, int& size, std::uint8_t& layoutCode,
                    ParseFailure* failure) {
    LayoutParser parser(source);
    int parsed = parser.Parse(image, size, layoutCode);
    // A failed read looks like the end of the file to the grammar, which may then accept a
    // cut-down layout; it is an error of its own whatever the grammar said.
    if (source.Failed()) {
        parser.Fail("the file could not be read to its end");
        parsed = kLayoutReadFailed;
    }
    if (failure) {
        *failure = parsed == 0 ? ParseFailure{} : parser.failure();
    }
    return parsed;
}

int ParseLayoutFile(std::FILE* stream, TransferImage& image, int& size, std::uint8_t& layoutCode,
                    ParseFailure* failure) {
    FileByteSource source(stream);
    return ParseLayoutFile(source, image, size, layoutCode, failure);
}

int ParseLayoutFile(std::string_view bytes, TransferImage& image, int& size,
                    std::uint8_t& layoutCode, ParseFailure* failure) {
    MemoryByteSource source(bytes);
    return ParseLayoutFile(source, image, size, layoutCode, failure);
}

} // namespace zr4700
