#pragma once

// The engine's internal invariants (values fully reduced, points on the curve), checked at run
// time when the engine is built with TARWICK_ENGINE_CHECKS (the sanitizer build) and compiled
// to nothing otherwise. The condition is still compiled in every build, so a check cannot go
// stale, but only the checked build ever evaluates it: the hot loops pay nothing in release.

#include <cstdio>
#include <cstdlib>

namespace tarwick::engine::detail {

#if defined(TARWICK_ENGINE_CHECKS)
inline constexpr bool kEngineChecks = true;
#else
inline constexpr bool kEngineChecks = false;
#endif

[[noreturn]] inline void engineCheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: engine invariant broken: %s\n", file, line, condition);
    std::abort();
}

} // namespace tarwick::engine::detail

#define TARWICK_ENGINE_CHECK(condition)                                                            \
    do {                                                                                           \
        if constexpr (::tarwick::engine::detail::kEngineChecks) {                                  \
            if (!(condition)) {                                                                    \
                ::tarwick::engine::detail::engineCheckFailed(#condition, __FILE__, __LINE__);      \
            }                                                                                      \
        }                                                                                          \
    } while (false)
