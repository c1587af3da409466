// What assistive tools call the keys of the grid: the same names in both front ends.
#include "core/LayoutTestSupport.h"
#include "core/document/Views.h"

#include <gtest/gtest.h>

#include <map>

namespace zr4700 {
namespace {

using testing::Program;

class Texts final : public TextSource {
  public:
    std::string Text(std::string_view key) const override {
        static const std::map<std::string, std::string, std::less<>> texts = {
            {"a11y.key", "Key %1, %2"}, {"a11y.blankKey", "Key %1, not programmed"}};
        const auto found = texts.find(key);
        return found == texts.end() ? std::string() : found->second;
    }
};

TEST(KeyAccessibleName, NamesKeysByNumberAndName) {
    Layout layout;
    layout.keyCount = 112;
    Program(layout, 10, {0x14}, "Cash drawer");
    Program(layout, 60, {0x1C}, "Caf\xE9"); // a Latin-1 name from an older file
    struct Case {
        int key;
        std::string name;
    };
    const Case cases[] = {
        {10, "Key 10, Cash drawer"},
        {60, "Key 60, Caf\xC3\xA9"},
        {11, "Key 11, not programmed"},
        {112, "Key 112, not programmed"},
        {0, ""},
        {113, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyAccessibleName(layout, c.key, Texts()), c.name) << c.key;
}

TEST(ShownKeyName, KeepsUtf8AndReadsOtherBytesAsLatin1) {
    const std::pair<std::string, std::string> cases[] = {
        {"Total", "Total"},
        {"Stra\xC3\x9F"
         "e",
         "Stra\xC3\x9F"
         "e"},
        {"\xC4nde", "\xC3\x84nde"},
        {"", ""},
    };
    for (const auto& [bytes, shown] : cases)
        EXPECT_EQ(ShownKeyName(bytes), shown) << bytes;
}

} // namespace
} // namespace zr4700
