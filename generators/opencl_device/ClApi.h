#pragma once

// The Khronos C++ bindings, set up once for every file that drives an OpenCL device: OpenCL 1.2
// is what PoCL and every GPU vendor's driver offer, and errors arrive as cl::Error.
// The definitions come from CMake (tarwick_opencl_device); these guards catch a stray include.
#ifndef CL_HPP_TARGET_OPENCL_VERSION
#error "build with tarwick_opencl_device's compile definitions"
#endif

#include <CL/opencl.hpp>
