# Turns the kernel sources into a C++ header of raw string literals, in the order given, so
# that the program carries its kernels and builds them for the device at run time.
#   cmake -DOUTPUT=<header> -DSOURCES=<a.cl;b.cl;...> -P EmbedKernels.cmake
set(text "// Generated from generators/opencl_device/kernels/*.cl at build time; do not edit.\n")
string(APPEND text "#pragma once\n\nnamespace tarwick::opencl_device::kernel_text {\n\n")
string(APPEND text "// One literal per file keeps each below the compilers' literal size limits.\n")
string(APPEND text "inline constexpr const char* kParts[] = {\n")
foreach(source IN LISTS SOURCES)
    file(READ ${source} body)
    if(body MATCHES "\\)tarwick_cl\"")
        message(FATAL_ERROR "${source} contains the raw string delimiter")
    endif()
    get_filename_component(name ${source} NAME)
    string(APPEND text "    R\"tarwick_cl(// ---- ${name}\n${body})tarwick_cl\",\n")
endforeach()
string(APPEND text "};\n\n} // namespace tarwick::opencl_device::kernel_text\n")
# Rewrite only on change, so that dependants are not rebuilt needlessly.
if(EXISTS ${OUTPUT})
    file(READ ${OUTPUT} old)
    if(old STREQUAL text)
        return()
    endif()
endif()
file(WRITE ${OUTPUT} "${text}")
