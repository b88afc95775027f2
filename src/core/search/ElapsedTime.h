#pragma once

#include <chrono>
#include <string>

namespace tarwick {

// "%Hh:%Mm:%Ss": hours within the day, minutes and seconds, two digits each; whole days are
// not shown. A negative time shows as zero.
std::string formatElapsed(std::chrono::seconds elapsed);

} // namespace tarwick
