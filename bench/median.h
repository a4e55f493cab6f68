#pragma once
// The middle figure of a benchmark's runs.

#include <algorithm>
#include <vector>

namespace bench {

// The upper middle of an even count; 0 for none.
inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace bench
