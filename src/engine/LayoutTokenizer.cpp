#include "engine/LayoutTokenizer.h"

namespace zr4700 {

namespace {

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

} // namespace

LayoutTokenizer::LayoutTokenizer(ByteSource& source) : source_(source), lookahead_(source.Get()) {
    if (lookahead_ != 0xEF) {
        return;
    }
    const int second = source_.Get();
    if (second != 0xBB) {
        pending_[pendingCount_++] = second;
        return;
    }
    const int third = source_.Get();
    if (third == 0xBF) {
        lookahead_ = source_.Get();
        return;
    }
    // Not a mark after all: the bytes stay in the stream as they were.
    pending_[pendingCount_++] = second;
    pending_[pendingCount_++] = third;
}

TokenKind LayoutTokenizer::NextToken(std::uint8_t* value) {
    // Blanks, TABs and CRs only separate; they are never returned. They still count as a
    // separator for the rule below, so digits after a blank form a number again.
    // The CRs in front of an LF are the line break's: the end of a line is told at the first
    // of them, just behind the line's last character, where an editor puts the end of the line.
    int crColumn = 0;
    while (lookahead_ == ' ' || lookahead_ == '\t' || lookahead_ == '\r') {
        if (lookahead_ != '\r')
            crColumn = 0;
        else if (crColumn == 0)
            crColumn = column_;
        lastKind_ = TokenKind::Separator;
        Advance();
    }

    tokenLine_ = line_;
    tokenColumn_ = lookahead_ == '\n' && crColumn != 0 ? crColumn : column_;

    // Digits glued to a character (as in the name KEY12) belong to that word, not a number.
    if (lastKind_ != TokenKind::Character && IsDigit(lookahead_)) {
        int number = 0;
        digits_.clear();
        while (IsDigit(lookahead_)) {
            number = number * 10 + (lookahead_ - '0');
            digits_ += static_cast<char>(lookahead_);
            Advance();
            if (number > 255) {
                // Stop at once so an endless run of digits cannot overflow the value.
                lastKind_ = TokenKind::TooLarge;
                return TokenKind::TooLarge;
            }
        }
        if (value) {
            *value = static_cast<std::uint8_t>(number);
        }
        lastKind_ = TokenKind::Number;
        return TokenKind::Number;
    }

    TokenKind kind;
    if (lookahead_ == EOF) {
        lastKind_ = TokenKind::EndOfFile;
        return TokenKind::EndOfFile;
    }
    if (lookahead_ == ',' || lookahead_ == ';') {
        kind = TokenKind::Separator;
    } else if (lookahead_ == '\n') {
        kind = TokenKind::EndOfLine;
    } else {
        kind = TokenKind::Character;
        if (value) {
            *value = static_cast<std::uint8_t>(lookahead_);
        }
    }
    Advance();
    lastKind_ = kind;
    return kind;
}

} // namespace zr4700
