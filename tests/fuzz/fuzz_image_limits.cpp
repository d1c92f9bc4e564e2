// The limits decided from an image file's bytes before any decoder sees
// them (what the Windows decoder relies on, GDI+ keeping none of them): the
// scan count of a JPEG and the first picture of a GIF. Cutting a GIF after
// its first picture must not change what the portable decoder makes of it,
// and the scan walk must agree with itself whatever its limit.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "image/image_bytes.h"
#include "image/image_limits.h"

namespace {

constexpr long long kFuzzMaxPixels = 1 << 20;
constexpr int kSmallScanLimit = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ImageHeader header = readImageHeader(data, size);
    const std::string problem = imageHeaderProblem(header, kFuzzMaxPixels);

    const int scans = jpegScanCount(data, size, kMaxJpegScans);
    FUZZ_CHECK(scans >= 0 && scans <= kMaxJpegScans + 1);
    FUZZ_CHECK(jpegScanCount(data, size, kSmallScanLimit) == std::min(scans, kSmallScanLimit + 1));

    const size_t first = gifFirstPictureBytes(data, size);
    FUZZ_CHECK(first <= size);
    // Only a first picture that ends inside the file is cut after.
    if (header.format != ImageFormat::Gif || !problem.empty() || first >= size)
        return 0;
    std::vector<uint8_t> cut(data, data + first);
    cut.push_back(kGifTrailer);
    DecodedImage whole, firstOnly;
    std::string why;
    if (!decodeImageBytes(data, size, kFuzzMaxPixels, &whole, &why))
        return 0;
    FUZZ_CHECK(decodeImageBytes(cut.data(), cut.size(), kFuzzMaxPixels, &firstOnly, &why));
    FUZZ_CHECK(firstOnly.width == whole.width && firstOnly.height == whole.height);
    FUZZ_CHECK(std::memcmp(firstOnly.rgba.get(), whole.rgba.get(), static_cast<size_t>(whole.width) * whole.height * 4) == 0);
    return 0;
}
