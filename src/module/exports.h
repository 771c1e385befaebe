#pragma once

#include "platform/host_abi.h"

// On Windows the .def file names the exports; elsewhere they are the only visible symbols.
#if defined(_WIN32)
#define MHW_EXPORT
#else
#define MHW_EXPORT __attribute__((visibility("default")))
#endif
