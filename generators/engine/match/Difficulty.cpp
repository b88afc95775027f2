#include "engine/match/Difficulty.h"

#include <cmath>
#include <cstdio>
#include <iterator>

namespace tarwick::engine {

namespace {

std::string printf1(const char* format, double a, const char* b) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

// Chance that some pattern has matched after `keys` tries when one is expected every
// `difficulty` keys: 1 - e^(-keys/difficulty).
double probabilityAfter(double keys, double difficulty) {
    return -std::expm1(-keys / difficulty);
}

} // namespace

std::string formatDuration(double seconds) {
    if (!std::isfinite(seconds)) {
        return "inf";
    }
    struct Unit {
        const char* name;
        double next; // how many of this unit make the next one
    };
    static constexpr Unit kUnits[] = {{"s", 60}, {"min", 60}, {"h", 24}, {"d", 365}, {"y", 0}};
    double value = seconds;
    std::size_t unit = 0;
    while (kUnits[unit].next != 0 && value > kUnits[unit].next) {
        value /= kUnits[unit].next;
        ++unit;
    }
    return printf1(value > 1e6 ? "%e%s" : "%.1f%s", value, kUnits[unit].name);
}

std::string formatRate(double keysPerSecond) {
    static constexpr const char* kUnits[] = {"key/s", "Kkey/s", "Mkey/s", "Gkey/s"};
    double value = keysPerSecond;
    std::size_t unit = 0;
    while (unit + 1 < std::size(kUnits) && value > 1000) {
        value /= 1000;
        ++unit;
    }
    return printf1("%.2f %s", value, kUnits[unit]);
}

std::string formatProbabilityGroup(double keysDone, double difficulty) {
    if (difficulty < 1) {
        return {};
    }
    const double probability = probabilityAfter(keysDone, difficulty);
    if (probability > 0.999) {
        return {};
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "[Prob %.1f%%]", probability * 100);
    return buffer;
}

std::string formatEtaGroup(double keysDone, double difficulty, double keysPerSecond) {
    if (difficulty < 1 || !(keysPerSecond > 0)) {
        return {};
    }
    const double probability = probabilityAfter(keysDone, difficulty);
    static constexpr double kTargets[] = {0.5, 0.75, 0.8, 0.9, 0.95};
    for (double target : kTargets) {
        if (probability > target) {
            continue;
        }
        const double seconds = (-difficulty * std::log1p(-target) - keysDone) / keysPerSecond;
        char head[16];
        std::snprintf(head, sizeof head, "[%d%% in ", static_cast<int>(100 * target + 0.5));
        return head + formatDuration(seconds) + "]";
    }
    return {};
}

} // namespace tarwick::engine
