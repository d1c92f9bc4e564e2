#include "pe_file_check.h"

#include <algorithm>

namespace {

// Offsets and sizes from the PE format's definition.
constexpr size_t kPeOffsetField = 0x3C;            // in the MS-DOS header: where "PE\0\0" is
constexpr size_t kSignatureBytes = 4;              // "PE\0\0"
constexpr size_t kCoffHeaderBytes = 20;
constexpr size_t kSectionCountField = 2;           // in the COFF header
constexpr size_t kOptionalHeaderSizeField = 16;    // in the COFF header
constexpr size_t kSizeOfHeadersField = 60;         // in the optional header, PE32 and PE32+
constexpr size_t kSectionEntryBytes = 40;
constexpr size_t kSectionNameBytes = 8;
constexpr size_t kRawSizeField = 16;               // in a section entry
constexpr size_t kRawOffsetField = 20;

uint64_t read16(const unsigned char* p) { return static_cast<uint64_t>(p[0]) | static_cast<uint64_t>(p[1]) << 8; }
uint64_t read32(const unsigned char* p) { return read16(p) | read16(p + 2) << 16; }

bool isMsDosExecutable(const unsigned char* head, size_t headSize)
{
    return headSize >= 2 && head[0] == 'M' && head[1] == 'Z';
}

std::string bytes(uint64_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }

// Where the tables start and end, as far as head gives them.
struct PeLayout {
    uint64_t coffHeader = 0;      // the COFF header's offset
    uint64_t optionalHeader = 0;  // the optional header's offset
    uint64_t optionalBytes = 0;
    uint64_t sectionTable = 0;
    uint64_t sectionCount = 0;
    uint64_t End() const { return sectionTable + sectionCount * kSectionEntryBytes; }
};

// The layout, when head holds the MS-DOS header and the COFF header.
bool readLayout(const unsigned char* head, size_t headSize, PeLayout* layout)
{
    if (headSize < kPeDosHeaderBytes)
        return false;
    const uint64_t signature = read32(head + kPeOffsetField);
    layout->coffHeader = signature + kSignatureBytes;
    if (layout->coffHeader + kCoffHeaderBytes > headSize)
        return false;
    const unsigned char* coff = head + layout->coffHeader;
    layout->optionalHeader = layout->coffHeader + kCoffHeaderBytes;
    layout->optionalBytes = read16(coff + kOptionalHeaderSizeField);
    layout->sectionTable = layout->optionalHeader + layout->optionalBytes;
    layout->sectionCount = read16(coff + kSectionCountField);
    return true;
}

std::string sectionName(const unsigned char* entry)
{
    const unsigned char* end = std::find(entry, entry + kSectionNameBytes, 0);
    std::string name(entry, end);
    for (char& c : name)
        if (c < 0x20 || c > 0x7E)
            c = '?';
    return name;
}

}  // namespace

uint64_t peBytesNeeded(const unsigned char* head, size_t headSize)
{
    PeLayout layout;
    if (!isMsDosExecutable(head, headSize))
        return kPeDosHeaderBytes;
    if (headSize < kPeDosHeaderBytes)
        return kPeDosHeaderBytes;
    if (!readLayout(head, headSize, &layout))
        return std::max<uint64_t>(kPeDosHeaderBytes, read32(head + kPeOffsetField) + kSignatureBytes + kCoffHeaderBytes);
    return std::max<uint64_t>(kPeDosHeaderBytes, layout.End());
}

std::string peLayoutProblem(const unsigned char* head, size_t headSize, uint64_t fileSize)
{
    const size_t seen = static_cast<size_t>(std::min<uint64_t>(headSize, fileSize));
    if (!isMsDosExecutable(head, seen))
        return std::string();
    const std::string has = "truncated: the file has " + bytes(fileSize) + ", ";
    if (seen < kPeDosHeaderBytes)
        return has + "its MS-DOS header alone needs " + bytes(kPeDosHeaderBytes);
    const uint64_t coffEnd = read32(head + kPeOffsetField) + kSignatureBytes + kCoffHeaderBytes;
    if (coffEnd > fileSize)
        return has + "its PE header ends at byte " + std::to_string(coffEnd);
    PeLayout layout;
    if (!readLayout(head, seen, &layout))
        return "its PE header was not read whole";
    if (head[layout.coffHeader - kSignatureBytes] != 'P' || head[layout.coffHeader - kSignatureBytes + 1] != 'E')
        return std::string();  // an MS-DOS program, not a DLL: the loader says so
    if (layout.End() > fileSize)
        return has + "its section table ends at byte " + std::to_string(layout.End());
    if (layout.End() > seen)
        return "its section table was not read whole";
    if (layout.optionalBytes >= kSizeOfHeadersField + 4) {
        const uint64_t headers = read32(head + layout.optionalHeader + kSizeOfHeadersField);
        if (headers > fileSize)
            return has + "its headers end at byte " + std::to_string(headers);
    }
    for (uint64_t i = 0; i < layout.sectionCount; ++i) {
        const unsigned char* entry = head + layout.sectionTable + i * kSectionEntryBytes;
        const uint64_t size = read32(entry + kRawSizeField);
        const uint64_t offset = read32(entry + kRawOffsetField);
        if (size > 0 && offset + size > fileSize)
            return has + "its section " + sectionName(entry) + " needs bytes " + std::to_string(offset) + " to " +
                   std::to_string(offset + size);
    }
    return std::string();
}
