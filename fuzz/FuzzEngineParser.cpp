// Fuzzes the programming engine's strict layout parser with arbitrary bytes. Besides running
// without a memory fault or undefined behaviour, every parse must leave a consistent result: an
// image exactly as large as the reported size, the size of the header's layout code when the file
// was accepted, nothing allocated for an unknown code, and the same outcome whether the bytes come
// from memory or from a C stream.

#include "FuzzChecks.h"

#include "engine/LayoutParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

using zr4700::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zr4700;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    TransferImage image;
    int imageSize = -1;
    std::uint8_t layoutCode = 0;
    const int result = ParseLayoutFile(bytes, image, imageSize, layoutCode);

    Check(imageSize >= 0 && image.size() == static_cast<std::size_t>(imageSize),
          "the image is as large as its reported size");
    const auto geometry = GeometryOfLayoutCode(layoutCode);
    if (!geometry) {
        Check(result < 0, "a file with an unknown layout code is rejected");
        Check(image.empty(), "an unknown layout code allocates no image");
    } else if (!image.empty()) {
        Check(imageSize == geometry->imageSize, "the image has the size of its layout code");
    }
    if (result == 0) {
        Check(geometry.has_value(), "an accepted file has a known layout code");
        Check(imageSize == geometry->imageSize, "an accepted file fills a whole image");
        const std::size_t trailer = static_cast<std::size_t>(geometry->trailerOffset);
        // Delay 0..3 and rate 0..31 pack into 7 bits; keys type and beep into 2.
        Check(image[trailer] < 128, "the delay and rate byte is in range");
        Check(image[trailer + 1] < 4, "the keys type and beep byte is in range");
    } else {
        Check(result < 0, "a failed parse returns a negative value");
    }

    // The C stream entry point reads the same bytes the same way.
    if (size > 0) {
        std::FILE* stream = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
        Check(stream != nullptr, "fmemopen works");
        TransferImage streamImage;
        int streamSize = -1;
        std::uint8_t streamCode = 0;
        const int streamResult = ParseLayoutFile(stream, streamImage, streamSize, streamCode);
        std::fclose(stream);
        Check(streamResult == result && streamImage == image && streamSize == imageSize &&
                  streamCode == layoutCode,
              "stream and memory parses agree");
    }
    return 0;
}
