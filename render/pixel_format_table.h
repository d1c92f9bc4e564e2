// The usable pixel formats: one plain format and at most one multisampled
// format per sample count, sorted by sample count. Filled once by Probe.
#pragma once

#include <vector>

struct PixelFormatEntry {
    int samples;  // 0 for the plain format
    int format;   // the platform's configuration id
};

// What a platform's configuration query must answer for Probe.
class PixelFormatProbe {
public:
    virtual ~PixelFormatProbe() = default;
    // The platform's best choice for the attribute set without multisampling,
    // after checking that a context can be made current on it.
    virtual bool ChoosePlainFormat(int* format) = 0;
    // Whether the platform offers multisampled configurations at all.
    virtual bool HasMultisampleExtension() = 0;
    // The multisampled configurations matching the attribute set, the
    // platform's preferred first; swapExchange selects the swap method
    // (exchange first, copy as the fallback) where the platform has one.
    virtual bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) = 0;
    // The sample count of one configuration.
    virtual bool QuerySamples(int format, int* samples) = 0;
};

constexpr int kMaxMultisampleFormats = 100;

// Whether name occurs anywhere in extensions (plain substring search, as
// extension strings have always been searched).
bool extensionListed(const char* extensions, const char* name);

class PixelFormatTable {
public:
    bool Probe(PixelFormatProbe& probe);
    bool IsSupported(int samples) const;
    int IndexOf(int samples) const;
    // The format at position, or -1 when there is no such position.
    int FormatAt(int position) const;
    // The format for a sample count, or -1 when the table has none.
    int FormatFor(int samples) const { return FormatAt(IndexOf(samples)); }
    const std::vector<PixelFormatEntry>& Entries() const { return entries_; }

    // The sample count a view starts with: 8, else 4, else 2, else 0.
    int DefaultSampleCount() const;

private:
    bool EnumerateMultisampleFormats(PixelFormatProbe& probe);

    std::vector<PixelFormatEntry> entries_;
};
