#include "engine/ImageDigest.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zr4700 {
namespace {

TEST(ImageDigest, KnownDigests) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [bytes, digest] : table) {
        EXPECT_EQ(Sha256Hex(bytes), digest) << bytes.size() << " bytes";
        EXPECT_TRUE(IsSha256Hex(digest));
    }
    EXPECT_EQ(Sha256Hex(nullptr, 0), table[0].second);
}

TEST(ImageDigest, OnlyItsOwnSpellingIsADigest) {
    const std::string good(64, 'a');
    for (const std::string& text :
         {std::string(), std::string(63, 'a'), std::string(65, 'a'), std::string(64, 'A'),
          std::string(64, 'g'), good.substr(0, 63) + " "}) {
        EXPECT_FALSE(IsSha256Hex(text)) << text;
    }
}

} // namespace
} // namespace zr4700
