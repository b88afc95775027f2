#include "engine/ec/FieldBackend.h"

#include <cstdlib>

#if defined(TARWICK_HAVE_MULX_ADX)
#include <cpuid.h>
#endif

namespace tarwick::engine {

namespace {

bool cpuHasMulxAdx() {
#if defined(TARWICK_HAVE_MULX_ADX)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid_count(7, 0, &a, &b, &c, &d) == 0) {
        return false;
    }
    constexpr unsigned kBmi2 = 1u << 8;
    constexpr unsigned kAdx = 1u << 19;
    return (b & kBmi2) != 0 && (b & kAdx) != 0;
#else
    return false;
#endif
}

// __builtin_cpu_supports also checks that the operating system saves the wide registers.
bool cpuHasIfma() {
#if defined(TARWICK_HAVE_MULX_ADX)
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512ifma");
#else
    return false;
#endif
}

FieldBackend chooseBackend() {
    if (const char* forced = std::getenv("TARWICK_FIELD_BACKEND")) {
        const auto named = fieldBackendFromName(forced);
        if (named && fieldBackendSupported(*named)) {
            return *named;
        }
    }
    for (FieldBackend fastest : {FieldBackend::Ifma, FieldBackend::MulxAdx}) {
        if (fieldBackendSupported(fastest)) {
            return fastest;
        }
    }
    return FieldBackend::Portable;
}

} // namespace

bool fieldBackendSupported(FieldBackend backend) {
    switch (backend) {
    case FieldBackend::Portable:
        return true;
    case FieldBackend::MulxAdx:
        return cpuHasMulxAdx();
    case FieldBackend::Ifma:
        return cpuHasMulxAdx() && cpuHasIfma();
    }
    return false;
}

const char* fieldBackendName(FieldBackend backend) {
    switch (backend) {
    case FieldBackend::Portable:
        return "portable";
    case FieldBackend::MulxAdx:
        return "mulx-adx";
    case FieldBackend::Ifma:
        return "ifma";
    }
    return "unknown";
}

std::optional<FieldBackend> fieldBackendFromName(std::string_view name) {
    for (FieldBackend backend : kAllFieldBackends) {
        if (name == fieldBackendName(backend)) {
            return backend;
        }
    }
    return std::nullopt;
}

FieldBackend fieldBackendInUse() {
    static const FieldBackend backend = chooseBackend();
    return backend;
}

} // namespace tarwick::engine
