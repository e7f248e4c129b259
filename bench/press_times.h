// The presses an Enter-latency probe measured, and the line that sums them up: the same record
// and the same figures for the Win32 and the Qt probe, so that their outputs compare.
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

namespace zembra::bench {

// Each probe presses Enter this often: the first presses warm up and are not counted.
constexpr int kWarmUpPresses = 10;
constexpr int kMeasuredPresses = 200;

struct Press {
    bool submit = false;
    double arrived = 0;  // ms: the key reached the window
    double drawn = 0;    // ms: the painting that shows its result was done
    int paints = 0;
};

// One line for the presses that `filter` takes: median, 99th percentile and maximum of the time
// from arrival to drawn, and the median count of paints.
template <typename Filter>
void PrintPressLine(const char* name, const std::vector<Press>& presses, Filter filter) {
    std::vector<double> times;
    std::vector<int> paints;
    for (const Press& press : presses) {
        if (!filter(press)) continue;
        times.push_back(press.drawn - press.arrived);
        paints.push_back(press.paints);
    }
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    std::sort(paints.begin(), paints.end());
    const auto at = [&times](double share) {
        return times[std::min(times.size() - 1, static_cast<std::size_t>(share * static_cast<double>(times.size())))];
    };
    std::printf("%-7s presses %3zu  median %6.2f ms  p99 %6.2f ms  max %6.2f ms  paints %d\n", name, times.size(),
                (times[(times.size() - 1) / 2] + times[times.size() / 2]) / 2, at(0.99), times.back(),
                paints[paints.size() / 2]);
}

// The three lines a probe prints: all presses, the submitting ones, the ones asking the next row.
inline void PrintPressLines(const std::vector<Press>& presses) {
    PrintPressLine("all", presses, [](const Press&) { return true; });
    PrintPressLine("submit", presses, [](const Press& p) { return p.submit; });
    PrintPressLine("next", presses, [](const Press& p) { return !p.submit; });
}

// The probe's end: the measured presses summed up, 0; or 1 with the reason when a press was
// missed or not seen to its painting (a press must have painted when `paintExpected` says so).
inline int ReportPresses(const std::vector<Press>& presses, bool paintExpected) {
    const auto warmUp = std::min<std::size_t>(kWarmUpPresses, presses.size());
    const std::vector<Press> measured(presses.begin() + static_cast<std::ptrdiff_t>(warmUp), presses.end());
    if (static_cast<int>(measured.size()) != kMeasuredPresses) {
        std::fprintf(stderr, "only %zu presses measured\n", measured.size());
        return 1;
    }
    for (const Press& press : measured) {
        if (press.drawn == 0 || (paintExpected && press.paints == 0)) {
            std::fprintf(stderr, "a press was not seen to its painting\n");
            return 1;
        }
    }
    PrintPressLines(measured);
    return 0;
}

}  // namespace zembra::bench
