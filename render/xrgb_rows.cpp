#include "xrgb_rows.h"

#include <cstddef>
#include <cstring>

namespace {

// The unused byte is opaque: some compositors read it after all.
constexpr uint32_t kOpaque = 0xff000000u;

inline uint32_t xrgb(const uint8_t* rgba)
{
    return kOpaque | static_cast<uint32_t>(rgba[0]) << 16 | static_cast<uint32_t>(rgba[1]) << 8 | rgba[2];
}

}  // namespace

// Each pair of rows is swapped and converted in one pass, so the frame is
// read and written once, without a second buffer.
void flipRgbaIntoXrgb(uint8_t* data, int width, int height, int stride)
{
    for (int top = 0, bottom = height - 1; top <= bottom; ++top, --bottom) {
        uint8_t* upper = data + static_cast<size_t>(top) * stride;
        uint8_t* lower = data + static_cast<size_t>(bottom) * stride;
        for (int x = 0; x < width; ++x) {
            const uint32_t fromLower = xrgb(lower + 4 * x);
            const uint32_t fromUpper = xrgb(upper + 4 * x);
            std::memcpy(upper + 4 * x, &fromLower, 4);
            std::memcpy(lower + 4 * x, &fromUpper, 4);
        }
    }
}
