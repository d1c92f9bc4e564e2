// A module as interface version 1 built it: its gr calls name the C++
// functions that interface had, which the runtime no longer exports.
#include <cstdint>

void grSetColor(int index);

namespace {

struct Version1Display {
    int32_t interfaceVersion;
    const char* name;
    int32_t width;
    int32_t height;
    const void* tables;
    void (*updateDisplayModel)();
    void (*drawDisplay)();
};

void nothing() {}
void draw() { grSetColor(0); }

const Version1Display kDisplay = {1, "version 1", 320, 200, nullptr, nothing, draw};

}  // namespace

extern "C" __attribute__((visibility("default"))) const Version1Display* grDisplayDescriptor()
{
    return &kDisplay;
}
