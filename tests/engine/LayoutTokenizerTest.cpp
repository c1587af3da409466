#include "engine/LayoutTokenizer.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <string>
#include <vector>

namespace zr4700 {
namespace {

constexpr TokenKind kEof = TokenKind::EndOfFile;
constexpr TokenKind kEol = TokenKind::EndOfLine;
constexpr TokenKind kChar = TokenKind::Character;
constexpr TokenKind kNum = TokenKind::Number;
constexpr TokenKind kSep = TokenKind::Separator;
constexpr TokenKind kBig = TokenKind::TooLarge;

struct Token {
    TokenKind kind;
    int value = -1; // Number and Character only
    bool operator==(const Token&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Token& token) {
    return out << "{" << static_cast<int>(token.kind) << ", " << token.value << "}";
}

// Tokens up to and including the first end of file.
std::vector<Token> Tokenize(const std::string& input) {
    MemoryByteSource source(input);
    LayoutTokenizer tokenizer(source);
    std::vector<Token> tokens;
    for (int guard = 0; guard < 1000; ++guard) {
        std::uint8_t value = 0;
        const TokenKind kind = tokenizer.NextToken(&value);
        const bool hasValue = kind == kNum || kind == kChar;
        tokens.push_back({kind, hasValue ? value : -1});
        if (kind == kEof) {
            break;
        }
    }
    return tokens;
}

struct TokenCase {
    const char* name;
    std::string input;
    std::vector<Token> expected;
};

class TokenizerCases : public testing::TestWithParam<TokenCase> {};

TEST_P(TokenizerCases, YieldsTheTokens) {
    EXPECT_EQ(Tokenize(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, TokenizerCases,
    testing::Values(
        TokenCase{"HeaderStart", "57; 0", {{kNum, 57}, {kSep}, {kNum, 0}, {kEof}}},
        TokenCase{"BlanksTabsAndCrOnlySeparate", " \t\r12\r\n", {{kNum, 12}, {kEol}, {kEof}}},
        TokenCase{"CommaAndSemicolon", ",;", {{kSep}, {kSep}, {kEof}}},
        TokenCase{"NameWithDigitsIsCharacters",
                  ";KEY12\r\n",
                  {{kSep},
                   {kChar, 'K'},
                   {kChar, 'E'},
                   {kChar, 'Y'},
                   {kChar, '1'},
                   {kChar, '2'},
                   {kEol},
                   {kEof}}},
        TokenCase{
            "DigitsAfterSeparatorAreANumber", ";123\r\n", {{kSep}, {kNum, 123}, {kEol}, {kEof}}},
        TokenCase{"BlankBreaksAWord", "a 12", {{kChar, 'a'}, {kNum, 12}, {kEof}}},
        TokenCase{"NumberThenLetters", "12ab", {{kNum, 12}, {kChar, 'a'}, {kChar, 'b'}, {kEof}}},
        TokenCase{"LeadingZeros", "007", {{kNum, 7}, {kEof}}},
        TokenCase{"LargestByte", "255", {{kNum, 255}, {kEof}}},
        TokenCase{"OneAboveAByte", "256", {{kBig}, {kEof}}},
        TokenCase{"TooLargeStopsAtTheDigitThatOverflows", "2560", {{kBig}, {kNum, 0}, {kEof}}},
        TokenCase{"MinusSignIsACharacter", "-1", {{kChar, '-'}, {kChar, '1'}, {kEof}}},
        TokenCase{"EmptyInput", "", {{kEof}}},
        TokenCase{"BareLineFeed", "\n\n", {{kEol}, {kEol}, {kEof}}},
        TokenCase{"ByteOrderMarkIsSkipped",
                  "\xEF\xBB\xBF"
                  "57;",
                  {{kNum, 57}, {kSep}, {kEof}}},
        TokenCase{"ByteOrderMarkAlone", "\xEF\xBB\xBF", {{kEof}}},
        TokenCase{"ByteOrderMarkOnlyAtTheStart",
                  "1\xEF\xBB\xBF",
                  {{kNum, 1}, {kChar, 0xEF}, {kChar, 0xBB}, {kChar, 0xBF}, {kEof}}},
        TokenCase{"HalfAMarkStaysInTheStream",
                  "\xEF\xBB"
                  "7",
                  {{kChar, 0xEF}, {kChar, 0xBB}, {kChar, '7'}, {kEof}}},
        TokenCase{"FirstByteOfAMarkAlone", "\xEF", {{kChar, 0xEF}, {kEof}}}),
    [](const testing::TestParamInfo<TokenCase>& caseInfo) { return caseInfo.param.name; });

// A C stream whose reads fail after some bytes, as a failing disk does.
TEST(LayoutTokenizer, CStreamTellsAFailedReadFromTheEnd) {
    std::FILE* end = std::tmpfile();
    ASSERT_NE(end, nullptr);
    std::fputs("12", end);
    std::rewind(end);
    FileByteSource complete(end);
    while (complete.Get() != EOF) {
    }
    EXPECT_FALSE(complete.Failed());
    std::fclose(end);

    // Reading a directory fails with EISDIR: the stream's error is set, not its end.
    const int fd = ::open("/", O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    std::FILE* directory = ::fdopen(fd, "r");
    ASSERT_NE(directory, nullptr);
    FileByteSource failing(directory);
    EXPECT_EQ(failing.Get(), EOF);
    EXPECT_TRUE(failing.Failed());
    EXPECT_EQ(failing.Get(), EOF) << "nothing more is read after a failure";
    std::fclose(directory);
}

TEST(LayoutTokenizer, EndOfFileRepeats) {
    MemoryByteSource source("7");
    LayoutTokenizer tokenizer(source);
    EXPECT_EQ(tokenizer.NextToken(), kNum);
    EXPECT_EQ(tokenizer.NextToken(), kEof);
    EXPECT_EQ(tokenizer.NextToken(), kEof);
}

TEST(LayoutTokenizer, EndlessDigitsNeverOverflow) {
    const std::vector<Token> tokens = Tokenize(std::string(600, '9'));
    ASSERT_FALSE(tokens.empty());
    EXPECT_EQ(tokens.front().kind, kBig);
    EXPECT_EQ(tokens.back().kind, kEof);
}

TEST(LayoutTokenizer, EachTokenizerKeepsItsOwnState) {
    // After a character token, digits belong to the word; a second tokenizer must not see that.
    MemoryByteSource wordSource("K12");
    MemoryByteSource numberSource("34");
    LayoutTokenizer word(wordSource);
    LayoutTokenizer number(numberSource);
    std::uint8_t value = 0;
    EXPECT_EQ(word.NextToken(&value), kChar);
    EXPECT_EQ(number.NextToken(&value), kNum);
    EXPECT_EQ(value, 34);
    EXPECT_EQ(word.NextToken(&value), kChar);
    EXPECT_EQ(value, '1');
}

TEST(LayoutTokenizer, ReadsACStreamLikeMemory) {
    const std::string text = "57; 0; 0; 2; 11; 144; 0; 0; 3\r\n5; 28, 50; 2;0;KEY5\r\n";
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fputs(text.c_str(), file);
    std::rewind(file);
    FileByteSource source(file);
    LayoutTokenizer tokenizer(source);
    std::vector<Token> fromFile;
    for (;;) {
        std::uint8_t value = 0;
        const TokenKind kind = tokenizer.NextToken(&value);
        fromFile.push_back({kind, kind == kNum || kind == kChar ? value : -1});
        if (kind == kEof) {
            break;
        }
    }
    std::fclose(file);
    EXPECT_EQ(fromFile, Tokenize(text));
}

} // namespace
} // namespace zr4700
