#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace zr4700 {

// A readable byte stream for the layout tokenizer: a C stream or a buffer in memory.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // The next byte (0..255), or EOF at the end of the stream; stays at EOF once there.
    virtual int Get() = 0;
};

class FileByteSource final : public ByteSource {
  public:
    explicit FileByteSource(std::FILE* stream) : stream_(stream) {}
    int Get() override { return stream_ ? std::fgetc(stream_) : EOF; }

  private:
    std::FILE* stream_;
};

class MemoryByteSource final : public ByteSource {
  public:
    explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
    int Get() override {
        if (position_ >= bytes_.size()) {
            return EOF;
        }
        return static_cast<unsigned char>(bytes_[position_++]);
    }

  private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

enum class TokenKind : int {
    EndOfFile = 1,
    EndOfLine = 2,
    Character = 3,
    Number = 4,
    Separator = 5,
    TooLarge = 6,
};

// The engine's character-level tokenizer. All of its state (the lookahead character and the
// kind of the last token) lives in the object, so every parse has its own and several parses
// may run at once.
class LayoutTokenizer {
  public:
    // Reads the first character of the stream as the lookahead.
    explicit LayoutTokenizer(ByteSource& source);

    // The next token. For Number, *value receives the number; for Character, the character.
    // value may be null.
    TokenKind NextToken(std::uint8_t* value = nullptr);

  private:
    void Advance() { lookahead_ = source_.Get(); }

    ByteSource& source_;
    int lookahead_;
    // Starts as no kind at all (0): a digit at the very start of a stream begins a number.
    TokenKind lastKind_ = TokenKind{0};
};

} // namespace zr4700
