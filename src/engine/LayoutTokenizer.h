#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zr4700 {

// A readable byte stream for the layout tokenizer: a C stream or a buffer in memory.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // The next byte (0..255), or EOF at the end of the stream; stays at EOF once there.
    virtual int Get() = 0;
    // True when the EOF came from a failed read rather than the end of the stream: what was
    // read is then only part of the file and must not be taken for all of it.
    virtual bool Failed() const { return false; }
};

class FileByteSource final : public ByteSource {
  public:
    explicit FileByteSource(std::FILE* stream) : stream_(stream) {}
    int Get() override {
        // A C stream may try again after a failed read; once one failed, the rest is not read.
        if (!stream_ || ended_) {
            return EOF;
        }
        const int c = std::fgetc(stream_);
        ended_ = c == EOF;
        return c;
    }
    bool Failed() const override { return stream_ && std::ferror(stream_) != 0; }

  private:
    std::FILE* stream_;
    bool ended_ = false;
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
    // Reads the first character of the stream as the lookahead, after a UTF-8 byte-order mark
    // (text editors on Windows put one in front of the files they save).
    explicit LayoutTokenizer(ByteSource& source);

    // The next token. For Number, *value receives the number; for Character, the character.
    // value may be null.
    TokenKind NextToken(std::uint8_t* value = nullptr);

    // Where the last token began: line and byte column, both from 1 (after a byte-order mark),
    // as editors and compilers count them.
    int tokenLine() const { return tokenLine_; }
    int tokenColumn() const { return tokenColumn_; }
    // The digits of the last Number or TooLarge token, as far as they were read.
    const std::string& tokenDigits() const { return digits_; }

  private:
    void Advance() {
        if (lookahead_ == '\n') {
            ++line_;
            column_ = 1;
        } else if (lookahead_ != EOF) {
            ++column_;
        }
        lookahead_ = pendingNext_ < pendingCount_ ? pending_[pendingNext_++] : source_.Get();
    }

    ByteSource& source_;
    int lookahead_;
    // The bytes read behind the first one while looking for a byte-order mark that was not one.
    int pending_[2] = {};
    int pendingCount_ = 0;
    int pendingNext_ = 0;
    // Starts as no kind at all (0): a digit at the very start of a stream begins a number.
    TokenKind lastKind_ = TokenKind{0};
    int line_ = 1; // of the lookahead
    int column_ = 1;
    int tokenLine_ = 1;
    int tokenColumn_ = 1;
    std::string digits_;
};

} // namespace zr4700
