// The display-module loader on fuzzed input: descriptors with fuzzed
// versions, names, areas, entry points and table counts must be refused with
// a reason or accepted only when every field is usable; files with fuzzed
// contents must be refused with a message that names the file. The files'
// first byte is never an ELF object's: a module is code the user chose to
// run, and the dynamic loader's own parsing of object files is not ours.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "display_module.h"
#include "fuzz_input.h"
#include "gr.h"
#include "gr_display.h"

namespace {

void updateNothing() {}
void drawNothing() {}

// A count as a module might declare it: mostly small, sometimes an edge.
int tableCount(FuzzInput& in) { return in.below(4) == 0 ? in.integer() : in.below(GR_MAX_FONTS + 4); }

void checkDescriptor(FuzzInput& in)
{
    // Arrays as long as any accepted count may be, so an accepted table is
    // readable whatever count it claims.
    static const GrColor colors[GR_MAX_IMAGES + 8] = {};
    static const float widths[GR_MAX_IMAGES + 8] = {};
    static LinePattern patterns[GR_MAX_PATTERNS + 8] = {};
    static ImageSpec images[GR_MAX_IMAGES + 8] = {};
    static FontSpec fonts[GR_MAX_FONTS + 8] = {};
    for (LinePattern& p : patterns)
        p.repeat = -1;

    static GrTables tables;
    tables = {colors, tableCount(in), colors, tableCount(in), widths, tableCount(in), widths,
                       tableCount(in), patterns, tableCount(in), images, tableCount(in), fonts, tableCount(in)};
    const uint8_t flags = in.byte();
    const GrDisplay descriptor = {
        (flags & 1) ? in.integer() : GR_DISPLAY_INTERFACE_VERSION,
        (flags & 2) ? nullptr : "fuzzed",
        in.integer(),
        in.integer(),
        (flags & 4) ? nullptr : &tables,
        (flags & 8) ? nullptr : updateNothing,
        (flags & 16) ? nullptr : drawNothing,
        nullptr,
        0,
        nullptr,
        nullptr,
        0,
    };
    const std::string problem = descriptorProblem(&descriptor);
    const bool usable = descriptor.interfaceVersion >= kOldestShownVersion &&
                        descriptor.interfaceVersion <= GR_DISPLAY_INTERFACE_VERSION && descriptor.name &&
                        descriptor.width >= 1 && descriptor.height >= 1 && descriptor.width <= kMaxDisplaySide &&
                        descriptor.height <= kMaxDisplaySide && descriptor.tables && descriptor.updateDisplayModel &&
                        descriptor.drawDisplay;
    if (!problem.empty())
        return;
    FUZZ_CHECK(usable);
    FUZZ_CHECK(tables.colorCount >= 0 && tables.borderColorCount >= 0 && tables.lineWidthCount >= 0 &&
               tables.borderWidthCount >= 0 && tables.patternCount >= 0 && tables.imageCount >= 0 &&
               tables.fontCount >= 0);
    FUZZ_CHECK(tables.patternCount <= GR_MAX_PATTERNS && tables.imageCount <= GR_MAX_IMAGES &&
               tables.fontCount <= GR_MAX_FONTS);
}

void checkFile(FuzzInput& in)
{
    std::vector<uint8_t> bytes;
    while (!in.empty() && bytes.size() < 4096)
        bytes.push_back(in.byte());
    if (!bytes.empty() && bytes[0] == 0x7F)
        bytes[0] = 0x7E;
    char path[] = "/tmp/fuzz-module-XXXXXX";
    const int fd = mkstemp(path);
    FUZZ_CHECK(fd >= 0);
    const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(fd);
    HostedDisplay display = {nullptr, std::string()};
    std::string error;
    const bool loaded = written && loadDisplayModule(path, &display, &error);
    unlink(path);
    FUZZ_CHECK(written);
    FUZZ_CHECK(!loaded);
    FUZZ_CHECK(error.rfind(path, 0) == 0);
    FUZZ_CHECK(display.descriptor == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    if (in.byte() & 1)
        checkFile(in);
    else
        checkDescriptor(in);
    return 0;
}
