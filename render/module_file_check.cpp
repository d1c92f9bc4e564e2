#include "module_file_check.h"

#include <algorithm>

namespace {

// Offsets and sizes of the fields read, from the ELF format's definition,
// for 32-bit (index 0) and 64-bit (index 1) files.
constexpr unsigned char kElfMagic[4] = {0x7F, 'E', 'L', 'F'};
constexpr size_t kClassByte = 4;
constexpr size_t kDataByte = 5;
constexpr unsigned char kClass32 = 1;
constexpr unsigned char kClass64 = 2;
constexpr unsigned char kLittleEndian = 1;
constexpr unsigned char kBigEndian = 2;

struct ElfClassLayout {
    size_t headerBytes;
    size_t phoff, phoffBytes;
    size_t phentsize, phnum;  // two bytes each
    size_t entryBytes;        // a program header entry at least
    size_t pOffset, pFilesz, pWordBytes;
};

constexpr ElfClassLayout kLayouts[2] = {
    {52, 28, 4, 42, 44, 32, 4, 16, 4},
    {64, 32, 8, 54, 56, 56, 8, 32, 8},
};

constexpr uint32_t kSegmentNull = 0;

struct Reader {
    const unsigned char* bytes;
    bool bigEndian;

    uint64_t read(size_t at, size_t count) const
    {
        uint64_t value = 0;
        for (size_t i = 0; i < count; ++i) {
            const size_t byte = bigEndian ? at + i : at + count - 1 - i;
            value = (value << 8) | bytes[byte];
        }
        return value;
    }
};

bool isElf(const unsigned char* head, size_t headSize)
{
    return headSize >= sizeof kElfMagic && std::equal(kElfMagic, kElfMagic + sizeof kElfMagic, head);
}

// The layout of head's class, or null for a file this check leaves to the
// loader (not ELF, an unknown class or byte order, a header cut short).
const ElfClassLayout* layoutOf(const unsigned char* head, size_t headSize)
{
    if (!isElf(head, headSize) || headSize <= kDataByte)
        return nullptr;
    const unsigned char elfClass = head[kClassByte];
    const unsigned char data = head[kDataByte];
    if ((elfClass != kClass32 && elfClass != kClass64) || (data != kLittleEndian && data != kBigEndian))
        return nullptr;
    return &kLayouts[elfClass == kClass64 ? 1 : 0];
}

// The end of the program header table; the values are at most 2^64 - 1 and
// 65535 * 65535, so the sum saturates instead of wrapping.
uint64_t tableEnd(uint64_t offset, uint64_t entrySize, uint64_t count)
{
    const uint64_t size = entrySize * count;
    return offset > UINT64_MAX - size ? UINT64_MAX : offset + size;
}

std::string bytes(uint64_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }

}  // namespace

uint64_t elfBytesNeeded(const unsigned char* head, size_t headSize)
{
    const ElfClassLayout* layout = layoutOf(head, headSize);
    if (!layout || headSize < layout->headerBytes)
        return kElfHeaderBytes;
    const Reader r{head, head[kDataByte] == kBigEndian};
    return std::max<uint64_t>(kElfHeaderBytes, tableEnd(r.read(layout->phoff, layout->phoffBytes),
                                                        r.read(layout->phentsize, 2), r.read(layout->phnum, 2)));
}

std::string elfLayoutProblem(const unsigned char* head, size_t headSize, uint64_t fileSize)
{
    const size_t readable = static_cast<size_t>(std::min<uint64_t>(headSize, fileSize));
    const std::string has = "truncated: the file has " + bytes(fileSize) + ", ";
    if (isElf(head, readable) && readable <= kDataByte)
        return has + "its ELF header alone needs " + bytes(kLayouts[0].headerBytes);
    const ElfClassLayout* layout = layoutOf(head, readable);
    if (!layout)
        return std::string();
    if (fileSize < layout->headerBytes || headSize < layout->headerBytes)
        return has + "its ELF header alone needs " + bytes(layout->headerBytes);
    const Reader r{head, head[kDataByte] == kBigEndian};
    const uint64_t phoff = r.read(layout->phoff, layout->phoffBytes);
    const uint64_t entrySize = r.read(layout->phentsize, 2);
    const uint64_t count = r.read(layout->phnum, 2);
    if (count > 0 && entrySize < layout->entryBytes)
        return "its program header entries have " + bytes(entrySize) + ", fewer than the " +
               bytes(layout->entryBytes) + " of the format";
    const uint64_t end = tableEnd(phoff, entrySize, count);
    if (end > fileSize)
        return has + "its program header table ends at byte " + std::to_string(end);
    if (end > headSize)
        return "its program header table was not read whole";
    for (uint64_t i = 0; i < count; ++i) {
        const size_t entry = static_cast<size_t>(phoff + i * entrySize);
        if (r.read(entry, 4) == kSegmentNull)
            continue;
        const uint64_t offset = r.read(entry + layout->pOffset, layout->pWordBytes);
        const uint64_t size = r.read(entry + layout->pFilesz, layout->pWordBytes);
        if (size > 0 && (offset > fileSize || size > fileSize - offset))
            return has + "its segment " + std::to_string(i) + " needs bytes " + std::to_string(offset) + " to " +
                   (offset > UINT64_MAX - size ? std::string("beyond 2^64") : std::to_string(offset + size));
    }
    return std::string();
}
