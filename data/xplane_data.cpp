// X-Plane's "DATA" output: fixed records of a group index and eight floats.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "wire_formats.h"

namespace {

uint32_t littleEndian32(const char* bytes)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[i]);
    return value;
}

}  // namespace

void parseXPlaneData(std::string_view bytes, const FieldSink& sink, ParseCounts* counts)
{
    ++counts->units;
    if (bytes.size() < kXPlaneHeaderSize || bytes.substr(0, 4) != "DATA" ||
        (bytes.size() - kXPlaneHeaderSize) % kXPlaneRecordSize != 0) {
        ++counts->malformed;
        return;
    }
    constexpr int kSlots = 8;
    char key[24];
    for (size_t at = kXPlaneHeaderSize; at < bytes.size(); at += kXPlaneRecordSize) {
        const int32_t group = static_cast<int32_t>(littleEndian32(bytes.data() + at));
        for (int slot = 0; slot < kSlots; ++slot) {
            // memcpy, not std::bit_cast, which Emscripten's libc++ lacks.
            const uint32_t bits = littleEndian32(bytes.data() + at + 4 + 4 * slot);
            float value = 0.0f;
            std::memcpy(&value, &bits, sizeof value);
            if (value == kXPlaneUnused)
                continue;
            const int length = std::snprintf(key, sizeof key, "%d.%d", group, slot + 1);
            sink(std::string_view(key, static_cast<size_t>(length)), value);
        }
    }
}
