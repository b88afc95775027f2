option(TARWICK_WERROR "Treat compiler warnings as errors (on in scripts/test and CI)" OFF)
option(TARWICK_ENGINE_CHECKS
    "Check the key search engine's internal invariants at run time (slow; on with TARWICK_SANITIZE)"
    OFF)

# One place for the compiler flags of every target of ours.
add_library(tarwick_options INTERFACE)
target_compile_options(tarwick_options INTERFACE
    -Wall -Wextra -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)
# Warnings fail our own test builds; users and packagers build with whatever compiler they have.
if(TARWICK_WERROR)
    target_compile_options(tarwick_options INTERFACE -Werror)
endif()
target_compile_definitions(tarwick_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

if(TARWICK_SANITIZE)
    target_compile_options(tarwick_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(tarwick_options INTERFACE -fsanitize=address,undefined)
endif()

# Adds a GoogleTest executable whose tests ctest discovers.
function(tarwick_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main tarwick_options)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
