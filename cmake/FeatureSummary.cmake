# What this configuration builds, printed at its end.
include(FeatureSummary)
add_feature_info("Front-end" TARWICK_BUILD_GUI "the Qt program tarwick (TARWICK_BUILD_GUI)")
add_feature_info("Generators" TARWICK_BUILD_GENERATORS
    "vanitygen64, oclvanitygen and oclvanityminer64 (TARWICK_BUILD_GENERATORS)")
add_feature_info("Tests" TARWICK_BUILD_TESTS "GoogleTest and QtTest suites (TARWICK_BUILD_TESTS)")
add_feature_info("Benchmarks" TARWICK_BUILD_BENCH "bench/ (TARWICK_BUILD_BENCH)")
add_feature_info("Sanitizers" TARWICK_SANITIZE
    "AddressSanitizer and UndefinedBehaviorSanitizer (TARWICK_SANITIZE)")
add_feature_info("Fuzzers" TARWICK_BUILD_FUZZERS "libFuzzer targets of fuzz/ (TARWICK_BUILD_FUZZERS)")
feature_summary(WHAT ENABLED_FEATURES DISABLED_FEATURES
    DESCRIPTION "Tarwick ${PROJECT_VERSION}, ${CMAKE_BUILD_TYPE} build with ${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION}:")
