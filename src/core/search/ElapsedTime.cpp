#include "core/search/ElapsedTime.h"

#include <cstdio>

namespace tarwick {

std::string formatElapsed(std::chrono::seconds elapsed) {
    const long long total = elapsed.count() < 0 ? 0 : elapsed.count();
    const long long hours = total / 3600 % 24;
    const long long minutes = total / 60 % 60;
    const long long seconds = total % 60;
    char text[16];
    std::snprintf(text, sizeof text, "%02lldh:%02lldm:%02llds", hours, minutes, seconds);
    return text;
}

} // namespace tarwick
