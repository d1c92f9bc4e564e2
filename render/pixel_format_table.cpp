#include "pixel_format_table.h"

#include <algorithm>
#include <cstring>

bool extensionListed(const char* extensions, const char* name)
{
    return extensions && name && *name && std::strstr(extensions, name) != nullptr;
}

bool PixelFormatTable::Probe(PixelFormatProbe& probe)
{
    entries_.clear();
    int plain = 0;
    if (!probe.ChoosePlainFormat(&plain))
        return false;
    entries_.push_back({0, plain});
    if (probe.HasMultisampleExtension()) {
        EnumerateMultisampleFormats(probe);
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const PixelFormatEntry& a, const PixelFormatEntry& b) {
                             return a.samples < b.samples;
                         });
    }
    return true;
}

bool PixelFormatTable::EnumerateMultisampleFormats(PixelFormatProbe& probe)
{
    std::vector<int> formats;
    if (!probe.ChooseMultisampleFormats(true, &formats) || formats.empty()) {
        formats.clear();
        if (!probe.ChooseMultisampleFormats(false, &formats) || formats.empty())
            return false;
    }
    if (formats.size() > kMaxMultisampleFormats)
        formats.resize(kMaxMultisampleFormats);
    for (int format : formats) {
        int samples = 0;
        if (!probe.QuerySamples(format, &samples))
            continue;
        if (!IsSupported(samples))
            entries_.push_back({samples, format});
    }
    return true;
}

bool PixelFormatTable::IsSupported(int samples) const { return IndexOf(samples) >= 0; }

int PixelFormatTable::IndexOf(int samples) const
{
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].samples == samples)
            return static_cast<int>(i);
    return -1;
}

int PixelFormatTable::FormatAt(int position) const
{
    if (position < 0 || position >= static_cast<int>(entries_.size()))
        return -1;
    return entries_[position].format;
}

int PixelFormatTable::DefaultSampleCount() const
{
    for (int samples : {8, 4, 2})
        if (IsSupported(samples))
            return samples;
    return 0;
}
