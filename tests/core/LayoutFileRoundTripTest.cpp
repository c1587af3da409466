// Layouts written by the editor and read back, by the editor and by the programming engine's
// parser, in every variant; and the example files kept for manual use and as fuzzing seeds.

#include "core/files/LayoutFileEditor.h"
#include "engine/LayoutParser.h"

#include "core/LayoutFileTestSupport.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace zr4700 {
namespace {

using testing::RandomLayout;

struct VariantCase {
    FileVariant variant;
    int keyCount;
};

const VariantCase kVariantCases[] = {
    {FileVariant::Save, 56},     {FileVariant::Save, 112},     {FileVariant::Scan7, 56},
    {FileVariant::Scan7, 112},   {FileVariant::Scan16, 56},    {FileVariant::Scan16, 112},
    {FileVariant::LeftSide, 56}, {FileVariant::LeftSide, 112}, {FileVariant::RightSide, 112},
};

// The record that line k (1..56 for the single sides) of a variant carries.
int SourceKey(FileVariant variant, int k) {
    return variant == FileVariant::RightSide ? k + kBlockKeys : k;
}

bool IsSingleSide(FileVariant variant) {
    return variant == FileVariant::LeftSide || variant == FileVariant::RightSide;
}

TEST(LayoutFileRoundTrip, RandomLayoutsComeBackAsTheVariantKeepsThem) {
    std::mt19937 random(4700);
    for (int round = 0; round < 30; ++round) {
        for (const VariantCase& c : kVariantCases) {
            SCOPED_TRACE(::testing::Message() << "round " << round << ", variant " << c.variant
                                              << ", " << c.keyCount << " keys");
            const auto source = RandomLayout(random, c.keyCount);
            // The target starts from other random contents, so that every field the file does
            // not carry shows up as the target's old value.
            const auto target = RandomLayout(random, c.keyCount == 56 ? 112 : 56);
            const auto before = std::make_unique<Layout>(*target);

            ReadLayoutText(*target, LayoutFileText(*source, c.variant));

            const bool scan16 = c.variant != FileVariant::Scan7;
            const int keyCount = IsSingleSide(c.variant) ? kBlockKeys : c.keyCount;
            ASSERT_EQ(target->keyCount, keyCount);
            EXPECT_EQ(target->scan16Mode, scan16);
            EXPECT_EQ(target->fileIsScan16, scan16 ? 1 : 0);

            const KeyboardSettings& got = target->settings;
            const KeyboardSettings& want = source->settings;
            EXPECT_EQ(got.keysType, want.keysType);
            EXPECT_EQ(got.keyBeep, want.keyBeep);
            EXPECT_EQ(got.keyDelay, want.keyDelay);
            EXPECT_EQ(got.typematicRate, want.typematicRate);
            // 7/3scan carries no pause and no RFID values: the old ones stay.
            const KeyboardSettings& pauseFrom = scan16 ? want : before->settings;
            const RfidSettings& rfidFrom = scan16 ? source->rfid : before->rfid;
            EXPECT_EQ(got.keysPause, pauseFrom.keysPause);
            EXPECT_EQ(target->rfid.prefix, rfidFrom.prefix);
            EXPECT_EQ(target->rfid.suffix, rfidFrom.suffix);
            EXPECT_EQ(target->rfid.prefixExtended, rfidFrom.prefixExtended);
            EXPECT_EQ(target->rfid.suffixExtended, rfidFrom.suffixExtended);
            EXPECT_EQ(target->rfid.digitsNum, rfidFrom.digitsNum);
            EXPECT_EQ(target->rfid.digitsCount, rfidFrom.digitsCount);

            for (int k = 1; k <= kMaxKeys; ++k) {
                const KeyRecord& read = target->key(k);
                const KeyRecord& old = before->key(k);
                if (k > keyCount) {
                    // Lines beyond the key count are never read.
                    EXPECT_EQ(read.codes, old.codes) << "key " << k;
                    EXPECT_EQ(read.flags, old.flags) << "key " << k;
                    EXPECT_EQ(read.groupNumber, old.groupNumber) << "key " << k;
                    EXPECT_EQ(read.name, old.name) << "key " << k;
                    continue;
                }
                const KeyRecord& written = source->key(SourceKey(c.variant, k));
                for (int i = 0; i < kCodeSlots; ++i) {
                    const auto slot = static_cast<std::size_t>(i);
                    const int expected = scan16 || i < 7 ? written.codes[slot] : old.codes[slot];
                    ASSERT_EQ(read.codes[slot], expected) << "key " << k << " slot " << i;
                }
                EXPECT_EQ(read.flags, (old.flags & 0xF0) | (written.flags & 0x0F)) << "key " << k;
                EXPECT_EQ(read.groupNumber, scan16 ? written.groupNumber : old.groupNumber)
                    << "key " << k;
                EXPECT_EQ(read.name, written.name) << "key " << k;
                EXPECT_EQ(read.number, k);
            }
            if (HasFailure())
                return;
        }
    }
}

TEST(LayoutFileRoundTrip, WrittenFilesReadBackThroughTheFileSystem) {
    testing::TemporaryDirectory directory;
    std::mt19937 random(47);
    for (const VariantCase& c : kVariantCases) {
        auto source = RandomLayout(random, c.keyCount);
        source->key(1).codes[0] = 0x1C; // at least one programmed key
        source->fileName = directory.File("round.txt");
        testing::ScriptedPrompts prompts;
        ASSERT_EQ(WriteLayoutFile(*source, c.variant, prompts), WriteResult::Stored);
        auto fromFile = std::make_unique<Layout>();
        fromFile->fileName = source->fileName;
        ReadLayoutFile(*fromFile, prompts);
        auto fromText = std::make_unique<Layout>();
        ReadLayoutText(*fromText, LayoutFileText(*source, c.variant));
        EXPECT_EQ(LayoutFileText(*fromFile, FileVariant::Scan16),
                  LayoutFileText(*fromText, FileVariant::Scan16));
        EXPECT_EQ(fromFile->keyCount, fromText->keyCount);
    }
}

// ---- Agreement with the engine's parser -----------------------------------------------------

struct ImageShape {
    int layoutCode;
    int size;
    int keys;
    int slotSize;
    int leadingBytes;
    int codesKept;
};

ImageShape ShapeFor(FileVariant variant, int keyCount) {
    if (variant == FileVariant::Scan7)
        return keyCount == 112 ? ImageShape{112, 450, 112, 4, 1, 3}
                               : ImageShape{56, 450, 56, 8, 1, 7};
    if (IsSingleSide(variant) || keyCount == 56)
        return {57, 1014, 56, 18, 2, 16};
    return {113, 2022, 112, 18, 2, 16};
}

void ExpectEngineImage(const Layout& layout, FileVariant variant) {
    const std::string text = LayoutFileText(layout, variant);
    TransferImage image;
    int size = -1;
    uint8_t layoutCode = 0;
    ASSERT_EQ(ParseLayoutFile(text, image, size, layoutCode), 0) << text.substr(0, 200);

    const ImageShape shape = ShapeFor(variant, layout.keyCount);
    ASSERT_EQ(layoutCode, shape.layoutCode);
    ASSERT_EQ(size, shape.size);
    ASSERT_EQ(image.size(), static_cast<std::size_t>(shape.size));

    for (int k = 1; k <= shape.keys; ++k) {
        const KeyRecord& record = layout.key(SourceKey(variant, k));
        const std::size_t slot = static_cast<std::size_t>((k - 1) * shape.slotSize);
        ASSERT_EQ(image[slot], record.flags & 0x0F) << "key " << k;
        if (shape.leadingBytes == 2) {
            ASSERT_EQ(image[slot + 1], record.groupNumber) << "key " << k;
        }
        for (int i = 0; i < shape.codesKept; ++i) {
            ASSERT_EQ(image[slot + static_cast<std::size_t>(shape.leadingBytes + i)],
                      record.codes[static_cast<std::size_t>(i)])
                << "key " << k << " code " << i;
        }
    }
    const std::size_t slotsEnd = static_cast<std::size_t>(shape.keys * shape.slotSize);
    const KeyboardSettings& s = layout.settings;
    const std::size_t trailer = shape.size == 450 ? 448 : static_cast<std::size_t>(size - 6);
    for (std::size_t i = slotsEnd; i < trailer; ++i)
        ASSERT_EQ(image[i], 0) << "byte " << i;
    EXPECT_EQ(image[trailer], s.keyDelay * 32 + s.typematicRate);
    EXPECT_EQ(image[trailer + 1], s.keysType * 2 + s.keyBeep);
    if (shape.size != 450) {
        const RfidSettings& r = layout.rfid;
        const int rfidFlags = (r.prefixExtended ? 1 : 0) | (r.suffixExtended ? 2 : 0) |
                              (r.digitsNum ? 0 : 4) | (r.digitsCount & 0x0F) << 4;
        EXPECT_EQ(image[trailer + 2], rfidFlags);
        EXPECT_EQ(image[trailer + 3], r.prefix);
        EXPECT_EQ(image[trailer + 4], r.suffix);
        EXPECT_EQ(image[trailer + 5], s.keysPause);
    }
}

TEST(LayoutFileEngineAgreement, EngineParsesEveryWrittenFileIntoTheLayoutsBytes) {
    std::mt19937 random(33000);
    for (int round = 0; round < 25; ++round) {
        for (const VariantCase& c : kVariantCases) {
            SCOPED_TRACE(::testing::Message() << "round " << round << ", variant " << c.variant
                                              << ", " << c.keyCount << " keys");
            const auto layout = RandomLayout(random, c.keyCount);
            ExpectEngineImage(*layout, c.variant);
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(LayoutFileEngineAgreement, NamesWithSeparatorsAndDigitsDoNotDisturbTheEngine) {
    for (const VariantCase& c : kVariantCases) {
        auto layout = std::make_unique<Layout>();
        layout->keyCount = c.keyCount;
        const char* names[] = {"12", "a;b,c", "1, 2, 3; 4", "", " ", "KEY12", "-1", "256"};
        for (int k = 1; k <= kMaxKeys; ++k) {
            layout->key(k).name = names[k % 8];
            layout->key(k).codes[0] = k;
        }
        ExpectEngineImage(*layout, c.variant);
    }
}

// ---- Example files -------------------------------------------------------------------------

struct ExampleFile {
    const char* name;
    int keyCount;
    FileVariant variant;
};

const ExampleFile kExamples[] = {
    {"sample-56-16scan.txt", 56, FileVariant::Scan16},
    {"sample-56-7scan.txt", 56, FileVariant::Scan7},
    {"sample-112-16scan.txt", 112, FileVariant::Scan16},
    {"sample-112-7scan.txt", 112, FileVariant::Scan7},
    {"sample-112-left.txt", 112, FileVariant::LeftSide},
    {"sample-112-right.txt", 112, FileVariant::RightSide},
    {"new-56-16scan.txt", 0, FileVariant::Scan16},
};

std::unique_ptr<Layout> ExampleLayout(const ExampleFile& example) {
    return example.keyCount == 0 ? std::make_unique<Layout>()
                                 : testing::SampleLayout(example.keyCount);
}

// The committed examples are exactly what the writer makes of the sample layouts. Setting
// ZR4700_WRITE_EXAMPLES rewrites them with the writer.
TEST(LayoutFileExamples, CommittedFilesAreTheWritersOutput) {
    const std::filesystem::path folder = std::filesystem::path(ZR4700_TEST_DATA) / "editor";
    const bool rewrite = std::getenv("ZR4700_WRITE_EXAMPLES") != nullptr;
    for (const ExampleFile& example : kExamples) {
        auto layout = ExampleLayout(example);
        layout->fileName = (folder / example.name).string();
        if (rewrite) {
            testing::ScriptedPrompts prompts;
            if (example.keyCount == 0)
                prompts.ExpectError(kStrNoProgrammedKey);
            std::filesystem::create_directories(folder);
            WriteLayoutFile(*layout, example.variant, prompts);
        }
        EXPECT_EQ(testing::ReadBytes(layout->fileName), LayoutFileText(*layout, example.variant))
            << example.name;
        TransferImage image;
        int size = 0;
        uint8_t layoutCode = 0;
        EXPECT_EQ(ParseLayoutFile(testing::ReadBytes(layout->fileName), image, size, layoutCode), 0)
            << example.name;
    }
}

} // namespace
} // namespace zr4700
