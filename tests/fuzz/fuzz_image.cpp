// The image decoder on fuzzed file bytes: the header check, then libpng or
// stb_image. A picture that decodes must have the size its header gave,
// within the limit, and every one of its pixels must be readable.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "image/image_bytes.h"
#include "image/image_header.h"

namespace {

// Smaller than the library's limit so that each input decodes quickly; the
// path is the same.
constexpr long long kFuzzMaxPixels = 1 << 20;
// Where the decoded bytes' sum goes, so that reading them is not optimised away.
volatile unsigned g_decodedSum;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodedImage image;
    std::string why;
    const ImageHeader header = readImageHeader(data, size);
    if (!decodeImageBytes(data, size, kFuzzMaxPixels, &image, &why)) {
        FUZZ_CHECK(!why.empty());
        FUZZ_CHECK(image.rgba == nullptr);
        return 0;
    }
    FUZZ_CHECK(header.format != ImageFormat::Unknown);
    FUZZ_CHECK(image.width == header.width && image.height == header.height);
    FUZZ_CHECK(image.width > 0 && image.height > 0);
    FUZZ_CHECK(static_cast<long long>(image.width) * image.height <= kFuzzMaxPixels);
    // Every decoded byte is read, so that the sanitizers see the whole
    // buffer; the sum goes where the optimiser cannot drop it.
    unsigned sum = 0;
    const size_t bytes = static_cast<size_t>(image.width) * image.height * 4;
    for (size_t i = 0; i < bytes; ++i)
        sum += image.rgba.get()[i];
    g_decodedSum = sum;
    return 0;
}
