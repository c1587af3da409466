// Fuzzes the editor's forgiving layout reader with arbitrary bytes.
//
// Whatever the bytes, reading must leave a layout the editor can work with: 56 or 112 keys, codes
// that fit a byte, names of at most 102 characters without a line break or separator, settings
// inside their ranges, and the unused records 0 and 113..119 as they were.
//
// The layout read is then treated as the window treats a loaded file (cells and group numbers
// rebuilt) and written in one of the file variants. Each written file must be one the programming
// engine accepts, and the engine and the editor must read the same values from it: the engine's
// transfer image, the image the writer's layout stands for and the image of the editor's own
// reading of the file are byte for byte the same.

#include "FuzzChecks.h"

#include "core/files/LayoutFileEditor.h"
#include "core/model/Layout.h"
#include "engine/LayoutParser.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zr4700;
using fuzz::Check;

bool SameRecord(const KeyRecord& a, const KeyRecord& b) {
    return a.number == b.number && a.codes == b.codes && a.flags == b.flags && a.name == b.name &&
           a.groupNumber == b.groupNumber;
}

bool IsUnusedRecord(int index) {
    return index == 0 || index > kMaxKeys;
}

void CheckReadLayout(const Layout& layout, const Layout& before) {
    Check(layout.keyCount == 56 || layout.keyCount == 112, "keyCount is 56 or 112");
    Check(layout.fileIsScan16 == (layout.scan16Mode ? 1 : 0), "the two scan flags agree");

    const KeyboardSettings& s = layout.settings;
    Check(s.keysType >= 0 && s.keysType <= 1, "keysType is 0 or 1");
    Check(s.keyBeep >= 0 && s.keyBeep <= 1, "keyBeep is 0 or 1");
    Check(s.keyDelay >= 0 && s.keyDelay <= 3, "keyDelay is 0..3");
    Check(s.typematicRate >= 0 && s.typematicRate <= 31, "typematicRate is 0..31");
    Check(s.keysPause >= 1 && s.keysPause <= 255, "keysPause is 1..255");
    const RfidSettings& r = layout.rfid;
    Check(r.digitsCount <= 13, "digitsCount is at most 13");
    Check(r.digitsNum == 0 || r.digitsNum == 1, "digitsNum is 0 or 1");
    Check(r.prefixExtended == 0 || r.prefixExtended == 1, "prefixExtended is 0 or 1");
    Check(r.suffixExtended == 0 || r.suffixExtended == 1, "suffixExtended is 0 or 1");

    for (int k = 1; k <= kMaxKeys; ++k) {
        const KeyRecord& record = layout.key(k);
        Check(record.number == k, "a record keeps its number", k);
        for (const int32_t code : record.codes)
            Check(code >= 0 && code <= 255, "codes are 0..255", k);
        Check(record.name.size() <= kMaxKeyNameLength, "names are at most 102 characters", k);
        Check(record.name.find_first_of(std::string_view("\0\r\n;,", 5)) == std::string::npos,
              "a name holds no NUL, line break or separator", k);
        // The file carries only the low four bits of a flag byte.
        Check((record.flags & 0xF0) == (before.key(k).flags & 0xF0),
              "the high flag bits stay as they were", k);
    }
    for (int index = 0; index < kKeyTableSize; ++index) {
        if (IsUnusedRecord(index))
            Check(SameRecord(layout.keyTable[static_cast<std::size_t>(index)],
                             before.keyTable[static_cast<std::size_t>(index)]),
                  "records 0 and 113..119 are untouched", index);
    }
}

// ---- Writing, and reading back by the engine and the editor ---------------------------------

struct Shape {
    int layoutCode;
    int imageSize;
    int keys; // key lines read: 56 or 112
    int slotSize;
    int leadingBytes; // flags, then the group number in 16scan
    int codesPerLine;
    int codesKept;
    int firstKey; // the record that line 1 of the file carries, less one
};

Shape ShapeOf(FileVariant variant, int keyCount) {
    switch (variant) {
    case FileVariant::Scan7:
        return keyCount == 112 ? Shape{112, 450, 112, 4, 1, 7, 3, 0}
                               : Shape{56, 450, 56, 8, 1, 7, 7, 0};
    case FileVariant::LeftSide:
        return {57, 1014, 56, 18, 2, 16, 16, 0};
    case FileVariant::RightSide:
        return {57, 1014, 56, 18, 2, 16, 16, kBlockKeys};
    default:
        return keyCount == 112 ? Shape{113, 2022, 112, 18, 2, 16, 16, 0}
                               : Shape{57, 1014, 56, 18, 2, 16, 16, 0};
    }
}

// The transfer image a layout stands for when written in a shape: worked out from the document,
// without the file text.
TransferImage ImageOf(const Layout& layout, const Shape& shape, int firstKey) {
    TransferImage image(static_cast<std::size_t>(shape.imageSize), 0);
    for (int k = 1; k <= shape.keys; ++k) {
        const KeyRecord& record = layout.key(k + firstKey);
        const auto slot = static_cast<std::size_t>((k - 1) * shape.slotSize);
        image[slot] = static_cast<std::uint8_t>(record.flags & 0x0F);
        if (shape.leadingBytes == 2)
            image[slot + 1] = static_cast<std::uint8_t>(record.groupNumber);
        for (int i = 0; i < shape.codesKept; ++i)
            image[slot + static_cast<std::size_t>(shape.leadingBytes + i)] =
                static_cast<std::uint8_t>(record.codes[static_cast<std::size_t>(i)]);
    }
    const KeyboardSettings& s = layout.settings;
    const std::size_t trailer =
        static_cast<std::size_t>(shape.imageSize == 450 ? 448 : shape.imageSize - 6);
    image[trailer] = static_cast<std::uint8_t>(s.keyDelay * 32 + s.typematicRate);
    image[trailer + 1] = static_cast<std::uint8_t>(s.keysType * 2 + s.keyBeep);
    if (shape.imageSize != 450) {
        const RfidSettings& r = layout.rfid;
        image[trailer + 2] = static_cast<std::uint8_t>(
            (r.prefixExtended ? 0x01 : 0) | (r.suffixExtended ? 0x02 : 0) |
            (r.digitsNum ? 0 : 0x04) | (r.digitsCount & 0x0F) << 4);
        image[trailer + 3] = r.prefix;
        image[trailer + 4] = r.suffix;
        image[trailer + 5] = static_cast<std::uint8_t>(s.keysPause);
    }
    return image;
}

void CheckLineLengths(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        Check(end != std::string_view::npos, "every written line ends in CR LF");
        Check(end + 2 - start <= kLayoutLineBufferSize, "a written line fits the reader's buffer");
        Check(text.substr(start, end - start).find_first_of("\r\n") == std::string_view::npos,
              "no stray line break inside a written line");
        start = end + 2;
    }
}

void CheckWrittenVariant(const Layout& layout, FileVariant variant) {
    const std::string text = LayoutFileText(layout, variant);
    CheckLineLengths(text);
    const Shape shape = ShapeOf(variant, layout.keyCount);
    const TransferImage expected = ImageOf(layout, shape, shape.firstKey);

    // The engine accepts the file and sends what the document holds.
    TransferImage image;
    int size = -1;
    std::uint8_t layoutCode = 0;
    Check(ParseLayoutFile(text, image, size, layoutCode) == 0, "the engine accepts a written file");
    Check(layoutCode == shape.layoutCode && size == shape.imageSize,
          "the written header has the variant's layout code");
    Check(image == expected, "the engine's image is the document's");

    // The editor reads the same values back.
    auto reread = std::make_unique<Layout>();
    ReadLayoutText(*reread, text);
    Check(reread->keyCount == shape.keys, "the editor reads the written key count");
    Check(reread->scan16Mode == (variant != FileVariant::Scan7),
          "the editor reads the written family");
    Check(ImageOf(*reread, shape, 0) == image, "the editor and the engine read the same values");
    for (int k = 1; k <= shape.keys; ++k) {
        const KeyRecord& got = reread->key(k);
        const KeyRecord& written = layout.key(k + shape.firstKey);
        Check(got.name == written.name, "a written name reads back unchanged", k);
        for (int i = 0; i < shape.codesPerLine; ++i)
            Check(got.codes[static_cast<std::size_t>(i)] ==
                      written.codes[static_cast<std::size_t>(i)],
                  "every written code reads back unchanged", k);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    auto layout = std::make_unique<Layout>();
    const auto before = std::make_unique<Layout>(*layout);
    ReadLayoutText(*layout, bytes);
    CheckReadLayout(*layout, *before);

    // What the window does after loading a file: cells and group numbers afresh.
    fuzz::SilentPrompts prompts;
    layout->RebuildCellGroups(prompts);
    for (int k = 1; k <= kMaxKeys; ++k)
        Check(layout->key(k).groupNumber >= 0 && layout->key(k).groupNumber <= 255,
              "rebuilt group numbers fit a byte", k);

    // One variant per input keeps the run fast; the input's length picks it, so a saved input
    // reproduces its run exactly and every variant gets its share of the inputs.
    constexpr FileVariant kVariants[] = {FileVariant::Save, FileVariant::Scan7, FileVariant::Scan16,
                                         FileVariant::LeftSide, FileVariant::RightSide};
    CheckWrittenVariant(*layout, kVariants[size % std::size(kVariants)]);
    return 0;
}
