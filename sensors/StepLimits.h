#pragma once
// The step limit N and progress factor k of every sensor page's machines. The page tables must
// agree with this list; a machine a page does not have is {0, 0}. A page with several streams
// sends enter, leave and the data-rate read or write once per stream, hence its longer machines.

#include <string_view>

namespace sensor_steps {

struct MachineLimit {
    int steps;
    double factor;
};

struct PageLimits {
    std::string_view page;
    MachineLimit read, write, defaults;
};

inline constexpr PageLimits kPageLimits[] = {
    {"air speed", {11, 12}, {16, 8}, {8, 17}},
    {"150 A current", {11, 12}, {16, 8}, {8, 17}},
    {"LiPo", {11, 12}, {16, 8}, {8, 17}},
    {"servo", {11, 12}, {16, 8}, {0, 0}},
    {"40 A current", {18, 7}, {24, 5}, {12, 11}},
    {"variometer", {18, 7.5}, {24, 5.5}, {12, 11}},
    {"Q.Wire-to-UART converter", {18, 7.5}, {24, 5.5}, {8, 17}},
    {"ESC", {25, 5.6}, {32, 4.3}, {16, 8.7}},
    {"RPM", {28, 5}, {36, 3.5}, {16, 8.5}},
    {"GPS", {32, 4}, {40, 3}, {20, 7}},
    {"redundancy bus", {32, 4}, {40, 3}, {20, 7}},
    {"FuelKit", {27, 5.3}, {40, 3.5}, {3, 46.5}},
    {"video transmitter", {5, 28}, {30, 3}, {0, 0}},
};

constexpr const PageLimits* FindPageLimits(std::string_view page) {
    for (const PageLimits& p : kPageLimits)
        if (p.page == page) return &p;
    return nullptr;
}

}  // namespace sensor_steps
