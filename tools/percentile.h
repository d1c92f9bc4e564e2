// The p-th percentile (0..1) of timing samples, nearest rank; 0 for none.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t i = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(i, values.size() - 1)];
}
