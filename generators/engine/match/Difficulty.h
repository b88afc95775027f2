#pragma once

#include <string>

namespace tarwick::engine {

// A duration as the status line shows it, in the largest unit it exceeds (s, min, h, d, y)
// with one decimal: "42.0s", "3.2min", "3901.0y"; beyond a million of that unit in exponent
// form, "3.996106e+08y". "inf" when it never ends.
std::string formatDuration(double seconds);

// The key-rate group's text: "950.00 key/s", "12.34 Kkey/s", "12.34 Mkey/s", "1.23 Gkey/s",
// the unit changing above 1000 of the smaller one.
std::string formatRate(double keysPerSecond);

// "[Prob 12.3%]", or "" once the chance exceeds 99.9% (the group then disappears) or when
// there is no difficulty to speak of.
std::string formatProbabilityGroup(double keysDone, double difficulty);

// "[50% in 3.2min]": the time to the next of 50%, 75%, 80%, 90% and 95% not yet reached, as
// vanitygen counts it. "" past 95%, when the rate is zero, or without a difficulty.
std::string formatEtaGroup(double keysDone, double difficulty, double keysPerSecond);

} // namespace tarwick::engine
